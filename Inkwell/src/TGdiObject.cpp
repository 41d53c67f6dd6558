// TGdiObject and its plain kinds: links to contexts, re-selection, deletion.
#include <Inkwell/TDC.h>
#include <Inkwell/TGdiObject.h>

TGdiObject::TGdiObject() : m_hObject(nullptr) {}

TGdiObject::~TGdiObject()
{
    _DeleteObject();
    while (m_DCList.GetItemCount() > 0) {
        TDC* dc = m_DCList[m_DCList.GetItemCount() - 1];
        m_DCList.SubItem();
        dc->_Forget(this);
    }
}

void TGdiObject::_SetObject(TDC* dc)
{
    if (m_hObject && static_cast<HDC>(*dc)) ::SelectObject(*dc, m_hObject);
}

void TGdiObject::_UnsetObject(TDC* dc) { dc->_SelectInitial(TDC::SlotOf(GetKind())); }

int TGdiObject::_Link(TDC* dc)
{
    if (!dc) return 0;
    bool listed = false;
    for (unsigned long i = 0; i < m_DCList.GetItemCount() && !listed; ++i)
        listed = m_DCList[i] == dc;
    if (!listed) m_DCList.AddItem() = dc;
    _SetObject(dc);
    return 1;
}

void TGdiObject::_Unlink(TDC* dc)
{
    for (unsigned long i = 0; i < m_DCList.GetItemCount(); ++i)
        if (m_DCList[i] == dc) {
            _UnsetObject(dc);
            m_DCList.CutItem(i);
            return;
        }
}

void TGdiObject::_Refresh()
{
    for (unsigned long i = 0; i < m_DCList.GetItemCount(); ++i)
        _SetObject(m_DCList[i]);
}

void TGdiObject::_UnSelectObject()
{
    for (unsigned long i = 0; i < m_DCList.GetItemCount(); ++i)
        _UnsetObject(m_DCList[i]);
}

void TGdiObject::_DeleteObject()
{
    if (!m_hObject) return;
    _UnSelectObject();
    ::DeleteObject(m_hObject);
    m_hObject = nullptr;
}

int TGdiObject::_SetHandle(HGDIOBJ handle)
{
    _DeleteObject();
    m_hObject = handle;
    if (!handle) return 0;
    _Refresh();
    return 1;
}

TBrush::TBrush() { m_ClassType = INKWELL_CLASS_BRUSH; }

int TBrush::CreateSolidBrush(COLORREF colour) { return _SetHandle(::CreateSolidBrush(colour)); }

TPen::TPen() : m_Style(PS_SOLID), m_Width(1), m_Color(0) { m_ClassType = INKWELL_CLASS_PEN; }

int TPen::CreateSolidPen(int width, COLORREF colour)
{
    m_Width = width;
    m_Color = colour;
    return _SetHandle(::CreatePen(m_Style, width, colour));
}

void TPen::DeletePen() { _DeleteObject(); }

TPalette::TPalette() { m_ClassType = INKWELL_CLASS_PALETTE; }

int TPalette::Attach(HPALETTE palette) { return _SetHandle(palette); }

void TPalette::_SetObject(TDC* dc)
{
    if (!m_hObject || !static_cast<HDC>(*dc)) return;
    ::SelectPalette(*dc, static_cast<HPALETTE>(m_hObject), TRUE);
    ::RealizePalette(*dc);
}
