// TMdiWindow and TMdiChildWindow: the MDI handles.
#include <Panekind/TMdiWindow.h>

TMdiWindow::TMdiWindow(TMdiWndCore& core) : TWindow(core) { m_ClassType = 0x03000021ul; }

TMdiWindow::TMdiWindow(const TMdiWindow& other) : TobjectBase(), TWindow(other)
{
    m_ClassType = 0x03000021ul;
}

HWND TMdiWindow::GetClient() const { return static_cast<TMdiWndCore*>(m_lpCore)->GetClient(); }

TMdiWindow::operator TMdiWndCore*() const { return static_cast<TMdiWndCore*>(m_lpCore); }

HMENU TMdiWindow::SetMdiMenu(HMENU menu)
{
    TMdiWndCore* frame = *this;
    HMENU old = frame->m_hMdiMenu;
    frame->m_hMdiMenu = menu;
    return old;
}

void TMdiWindow::SetSpace(const RECT& space)
{
    TMdiWndCore* frame = *this;
    frame->m_Space = space;
    if (frame->IsCreate() && frame->m_hClient) frame->_PlaceClient();
}

TMdiChildWindow::TMdiChildWindow(TMdiChildCore& core) : TWindow(core)
{
    m_ClassType = 0x03000022ul;
}

TMdiChildWindow::TMdiChildWindow(const TMdiChildWindow& other) : TobjectBase(), TWindow(other)
{
    m_ClassType = 0x03000022ul;
}

HWND TMdiChildWindow::CreateWindowExA(const TMdiWndCore& frame, const Panekind& windowClass)
{
    HWND client = frame.GetClient();
    if (!client && !m_lpCore->IsCreate()) return nullptr;
    return _CreateWindow(windowClass, client);
}
