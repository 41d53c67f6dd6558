"""Drawing code of the Fernhold skin and program resources (see docs/skin.md)."""
