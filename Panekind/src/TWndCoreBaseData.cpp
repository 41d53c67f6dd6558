// TWndCoreBaseData: defaults and the snapshot of a live window.
#include <Panekind/TWndCoreBaseData.h>

TWndCoreBaseData::TWndCoreBaseData()
    : m_Version(1), m_Style(WS_VISIBLE | WS_OVERLAPPEDWINDOW), m_ExStyle(0), m_hParent(nullptr),
      m_hMenu(nullptr),
      m_Text("TclassWindow"), m_WindowRect{0, 0, 320, 240}, m_ClientRect{0, 0, 320, 240}
{
}

TWndCoreBaseData::TWndCoreBaseData(HWND hwnd)
    : m_Version(1), m_Style(static_cast<unsigned long>(GetWindowLongA(hwnd, GWL_STYLE))),
      m_ExStyle(static_cast<unsigned long>(GetWindowLongA(hwnd, GWL_EXSTYLE))),
      m_hParent(::GetParent(hwnd)), m_hMenu(nullptr),
      m_Text(ReadWindowText(hwnd)), m_WindowRect{0, 0, 0, 0}, m_ClientRect(ReadClientRect(hwnd))
{
    if (m_Style & WS_CHILD)
        m_hMenu = reinterpret_cast<HMENU>(GetWindowLongPtrA(hwnd, GWLP_ID));
    else
        m_hMenu = ::GetMenu(hwnd);
    ::GetWindowRect(hwnd, &m_WindowRect);
    // A child is made again at its place inside the parent, not at its screen place.
    if ((m_Style & WS_CHILD) && m_hParent) {
        MapWindowPoints(HWND_DESKTOP, m_hParent, reinterpret_cast<POINT*>(&m_WindowRect), 2);
        MapWindowPoints(HWND_DESKTOP, m_hParent, reinterpret_cast<POINT*>(&m_ClientRect), 2);
    }
}

TString TWndCoreBaseData::ReadWindowText(HWND hwnd)
{
    TString text;
    int length = GetWindowTextLengthA(hwnd);
    if (length > 0 && text.SetTextLength(static_cast<unsigned long>(length), ' ', TSTR_POS_LEFT)) {
        // The length asked for may be larger than the text read (double-byte texts).
        int read = ::GetWindowTextA(hwnd, static_cast<char*>(text), length + 1);
        text.SetTextLength(read > 0 ? static_cast<unsigned long>(read) : 0, ' ', TSTR_POS_LEFT);
    }
    return text;
}

RECT TWndCoreBaseData::ReadClientRect(HWND hwnd)
{
    RECT client = {0, 0, 0, 0};
    ::GetClientRect(hwnd, &client);
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    RECT screen = {origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
    return screen;
}
