// Reference-counted GDI objects that stay selected in every device context
// they were selected into, even when their handle is re-created.
#pragma once

#include <Inkwell/InkwellApi.h>
#include <Inkwell/InkwellCodes.h>
#include <Keelwork/TArrayLine.h>
#include <Keelwork/TReference.h>

#include <windows.h>

class TDC;

// The creator holds one reference and every context the object is selected
// into holds one more. Copies are refused: the handle has one owner. Used by
// the thread that owns the windows.
class INKWELL_API TGdiObject : public TReference {
    friend class TDC;

public:
    TGdiObject();
    TGdiObject(const TGdiObject&) = delete;
    TGdiObject& operator=(const TGdiObject&) = delete;
    // Deletes the handle; a context still linked (an object destroyed by its
    // owner while selected) is put back on its initial object first.
    virtual ~TGdiObject();

    HGDIOBJ GetHandle() const { return m_hObject; }
    // The class value with the flag byte masked out.
    unsigned long GetKind() const { return GetClassWord() & TClassTypeSt::KindMask; }

protected:
    // Selects the handle into the context (nothing if either handle is null).
    virtual void _SetObject(TDC* dc);
    // Selects back the context's initial object of this kind (palettes as palettes).
    virtual void _UnsetObject(TDC* dc);

    // Adds the context to the list (once) and selects the handle; 0 for null.
    int _Link(TDC* dc);
    // Puts the context back on its initial object and drops it from the list.
    void _Unlink(TDC* dc);
    // After the handle changed: select it into every linked context.
    void _Refresh();
    // Before the handle is deleted: put every linked context back on its initial object.
    void _UnSelectObject();
    // The deletion step shared by all kinds: unselect everywhere, delete, null.
    void _DeleteObject();
    // Takes a new handle (creation result, may be null) and selects it everywhere.
    int _SetHandle(HGDIOBJ handle);

    HGDIOBJ m_hObject;
    TArrayLine<TDC*> m_DCList;
};

class INKWELL_API TBrush : public TGdiObject {
public:
    TBrush();
    // Replaces the handle by a solid brush; 1, or 0 if creation fails (no handle then).
    int CreateSolidBrush(COLORREF colour);
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

class INKWELL_API TPen : public TGdiObject {
public:
    TPen();
    // Replaces the handle by a PS_SOLID pen; 1 / 0.
    int CreateSolidPen(int width, COLORREF colour);
    // Unselects the pen everywhere and deletes its handle.
    void DeletePen();
    int GetStyle() const { return m_Style; }
    int GetWidth() const { return m_Width; }
    COLORREF GetColor() const { return m_Color; }
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }

private:
    int m_Style;
    int m_Width;
    COLORREF m_Color;
};

// Palettes are made outside the library; the object takes ownership of one.
class INKWELL_API TPalette : public TGdiObject {
public:
    TPalette();
    // Owns the given palette (deleting the previous one) and selects it
    // wherever this object is selected; 1, or 0 for a null palette.
    int Attach(HPALETTE palette);
    operator HPALETTE() const { return static_cast<HPALETTE>(m_hObject); }

protected:
    // Palettes are selected in background mode and realised (the context puts
    // its initial palette back the same way).
    void _SetObject(TDC* dc) override;
};
