// The destination list's selected row, as the menus and the controls read it.
#pragma once

// Implemented by the left panel, which shows the list; reached through TUiContext, so
// readers need not know the panel. Main thread.
class TDestinationSelection {
public:
    // The selected row (the destination's index in the client's list), -1 when none.
    virtual long GetSelectedRow() const = 0;
    // The selected destination's search state (SEARCH_IDLE to SEARCH_WAKING), read under
    // the destination-list lock; -1 when no row is selected or its destination has gone.
    virtual int GetSelectedSearchState() const = 0;

protected:
    ~TDestinationSelection() = default;
};
