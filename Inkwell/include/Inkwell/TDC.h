// Device contexts that remember their initial objects and restore them before release.
#pragma once

#include <Inkwell/InkwellApi.h>
#include <Inkwell/InkwellCodes.h>
#include <Keelwork/TobjectBase.h>

#include <windows.h>

class TGdiObject;

// Slots of the objects a context holds, in restore order.
enum TDC_SLOT { TDC_BRUSH, TDC_PEN, TDC_FONT, TDC_PALETTE, TDC_BITMAP, TDC_SLOTS };

// Each selected object is held with one reference until another object of its
// kind is selected or the context is released. Copies are refused: the handle
// and the references have one owner. Used by the thread that owns the windows.
class INKWELL_API TDC : public virtual TobjectBase {
    friend class TGdiObject;

public:
    TDC();
    explicit TDC(HWND window);
    TDC(const TDC&) = delete;
    TDC& operator=(const TDC&) = delete;
    virtual ~TDC();

    // Releases the current context, then takes the window's (null window: null).
    HDC GetDC(HWND window);
    // Restores the initial objects, releases the context and clears the fields.
    void RelDC();

    // Releases the object of the same kind and selects this one, holding a
    // reference; 0 for null or for an object of no known kind.
    int SelectObject(TGdiObject* object);
    // The object selected for a kind value, without a reference (null if none).
    TGdiObject* LockObject(unsigned long kind) const;
    // The same with one reference added; the caller releases it.
    TGdiObject* GetObjectA(unsigned long kind) const;

    HWND GetWindow() const { return m_hWnd; }
    // The object the context held for a slot when it was obtained.
    HGDIOBJ GetInitialObject(TDC_SLOT slot) const { return m_hInitial[slot]; }
    operator HDC() const { return m_hDC; }

    // Slot of a kind value, or TDC_SLOTS for a kind that is not a GDI object.
    static TDC_SLOT SlotOf(unsigned long kind);

protected:
    // Takes a new handle and records its five initial objects.
    void _Attach(HDC dc, HWND window);
    // Unlinks and releases every selected object (selecting the initial ones
    // back) or selects the recorded initial object where none is held.
    void _RestoreObjects();
    // Selects the recorded initial object of a slot (a palette in background
    // mode, realised); nothing without a handle.
    void _SelectInitial(TDC_SLOT slot);
    // Clears handle, window and initial objects.
    void _Clear();

    HDC m_hDC;
    HWND m_hWnd;
    HGDIOBJ m_hInitial[TDC_SLOTS];
    TGdiObject* m_Object[TDC_SLOTS];

private:
    // An object destroyed while still selected: drop it without a reference.
    void _Forget(TGdiObject* object);
};

// The context of BeginPaint/EndPaint, for use while handling WM_PAINT.
class INKWELL_API TWndDC : public TDC {
public:
    TWndDC();
    ~TWndDC() override;
    HDC GetDC(HWND window);
    void RelDC();
    const PAINTSTRUCT& GetPaintStruct() const { return m_Paint; }

private:
    PAINTSTRUCT m_Paint;
};

// The context of the whole window (GetWindowDC); releasing it validates the window.
class INKWELL_API TWindowDC : public TDC {
public:
    TWindowDC();
    ~TWindowDC() override;
    HDC GetDC(HWND window);
    void RelDC();
};
