// TDC, TWndDC and TWindowDC: obtaining, selecting into, restoring and releasing contexts.
#include <Inkwell/TDC.h>
#include <Inkwell/TGdiObject.h>

#include <cstring>

namespace {
const UINT kObjectTypes[TDC_SLOTS] = {OBJ_BRUSH, OBJ_PEN, OBJ_FONT, OBJ_PAL, OBJ_BITMAP};
}

TDC::TDC() : m_hDC(nullptr), m_hWnd(nullptr), m_hInitial{}, m_Object{}
{
    m_ClassType = INKWELL_CLASS_DC;
}

TDC::TDC(HWND window) : TDC() { GetDC(window); }

TDC::~TDC() { RelDC(); }

TDC_SLOT TDC::SlotOf(unsigned long kind)
{
    switch (kind) {
    case INKWELL_CLASS_BRUSH:
        return TDC_BRUSH;
    case INKWELL_CLASS_PEN:
        return TDC_PEN;
    case INKWELL_CLASS_FONT:
        return TDC_FONT;
    case INKWELL_CLASS_PALETTE:
        return TDC_PALETTE;
    case INKWELL_CLASS_DIBITMAP:
        return TDC_BITMAP;
    default:
        return TDC_SLOTS;
    }
}

HDC TDC::GetDC(HWND window)
{
    RelDC();
    m_hWnd = window;
    if (!window) return nullptr;
    HDC dc = ::GetDC(window);
    if (!dc) {
        _Clear();
        return nullptr;
    }
    _Attach(dc, window);
    return dc;
}

void TDC::RelDC()
{
    HDC dc = m_hDC;
    HWND window = m_hWnd;
    _RestoreObjects();
    if (dc) ::ReleaseDC(window, dc);
    _Clear();
}

void TDC::_Attach(HDC dc, HWND window)
{
    m_hDC = dc;
    m_hWnd = window;
    for (int i = 0; i < TDC_SLOTS; ++i)
        m_hInitial[i] = ::GetCurrentObject(dc, kObjectTypes[i]);
}

void TDC::_RestoreObjects()
{
    for (int i = 0; i < TDC_SLOTS; ++i) {
        if (TGdiObject* object = m_Object[i]) {
            // Cleared first: the release may destroy the object, whose destructor
            // must not find itself here.
            m_Object[i] = nullptr;
            object->_Unlink(this);
            object->Release();
        } else {
            _SelectInitial(static_cast<TDC_SLOT>(i));
        }
    }
}

void TDC::_SelectInitial(TDC_SLOT slot)
{
    if (!m_hDC || slot == TDC_SLOTS || !m_hInitial[slot]) return;
    if (slot == TDC_PALETTE) {
        ::SelectPalette(m_hDC, static_cast<HPALETTE>(m_hInitial[slot]), TRUE);
        ::RealizePalette(m_hDC);
    } else {
        ::SelectObject(m_hDC, m_hInitial[slot]);
    }
}

void TDC::_Clear()
{
    m_hDC = nullptr;
    m_hWnd = nullptr;
    std::memset(m_hInitial, 0, sizeof m_hInitial);
}

int TDC::SelectObject(TGdiObject* object)
{
    if (!object) return 0;
    const TDC_SLOT slot = SlotOf(object->GetKind());
    if (slot == TDC_SLOTS) return 0;
    // Selecting the held object again must not release (and maybe destroy) it.
    if (m_Object[slot] == object) return 1;
    if (TGdiObject* old = m_Object[slot]) {
        m_Object[slot] = nullptr;
        old->_Unlink(this);
        old->Release();
    }
    object->_Link(this);
    object->AddRef();
    m_Object[slot] = object;
    return 1;
}

TGdiObject* TDC::LockObject(unsigned long kind) const
{
    const TDC_SLOT slot = SlotOf(kind & TClassTypeSt::KindMask);
    return slot == TDC_SLOTS ? nullptr : m_Object[slot];
}

TGdiObject* TDC::GetObjectA(unsigned long kind) const
{
    TGdiObject* object = LockObject(kind);
    if (object) object->AddRef();
    return object;
}

void TDC::_Forget(TGdiObject* object)
{
    for (int i = 0; i < TDC_SLOTS; ++i)
        if (m_Object[i] == object) {
            m_Object[i] = nullptr;
            _SelectInitial(static_cast<TDC_SLOT>(i));
        }
}

TWndDC::TWndDC() : m_Paint{} { m_ClassType = INKWELL_CLASS_WNDDC; }

TWndDC::~TWndDC() { RelDC(); }

HDC TWndDC::GetDC(HWND window)
{
    RelDC();
    if (!window) return nullptr;
    HDC dc = ::BeginPaint(window, &m_Paint);
    if (!dc) {
        m_Paint = PAINTSTRUCT{};
        return nullptr;
    }
    _Attach(dc, window);
    return dc;
}

void TWndDC::RelDC()
{
    HWND window = m_hWnd;
    bool painting = m_hDC != nullptr;
    _RestoreObjects();
    if (painting) ::EndPaint(window, &m_Paint);
    _Clear();
    m_Paint = PAINTSTRUCT{};
}

TWindowDC::TWindowDC() { m_ClassType = INKWELL_CLASS_WINDOWDC; }

TWindowDC::~TWindowDC() { RelDC(); }

HDC TWindowDC::GetDC(HWND window)
{
    RelDC();
    if (!window) return nullptr;
    HDC dc = ::GetWindowDC(window);
    if (!dc) return nullptr;
    _Attach(dc, window);
    return dc;
}

void TWindowDC::RelDC()
{
    if (m_hDC) ::ValidateRect(m_hWnd, nullptr);
    TDC::RelDC();
}
