// Full-size view window: creation and its frame art.
#include "ui/TFullViewWindow.h"

#include "net/TFernSettings.h"
#include "ui/TFernWndClass.h"

#include <Panekind/TWindow.h>

namespace {
// WS_POPUP | WS_CLIPCHILDREN | WS_MAXIMIZEBOX, hidden; WS_EX_TOOLWINDOW.
constexpr unsigned long FULLVIEW_STYLE = 0x82010000;
constexpr unsigned long FULLVIEW_EX_STYLE = 0x80;
constexpr int CAPTION_ROWS = 24;
constexpr int BAR_ROWS = 20;
constexpr int ART_WIDTH = 376;
} // namespace

int TFullViewWindow::Create(HWND owner)
{
    TWindow window(*this);
    window.SetStyle(FULLVIEW_STYLE);
    window.SetExStyle(FULLVIEW_EX_STYLE);
    window.SetWindowTextA(TString("FullView Window"));
    window.SetParent(owner);
    window.SetWindowRect(RECT{0, 0, 640, 480});
    window.SetPosToCenter();
    window.SetWindowProc(UserProc);
    if (!window.CreateWindowExA(*g_lpWndClass)) return 0;
    const RECT& saved = m_Context.settings.viewWindowRect;
    if (saved.left || saved.top || saved.right || saved.bottom)
        SetWindowPos(GetHandle(), nullptr, saved.left, saved.top, saved.right - saved.left,
                     saved.bottom - saved.top, SWP_NOZORDER | SWP_NOACTIVATE);
    return 1;
}

void TFullViewWindow::Compose(TMemDC& canvas)
{
    RECT all{0, 0, ART_WIDTH, CAPTION_ROWS + BAR_ROWS};
    FillRect(canvas, &all, GetSysColorBrush(COLOR_BTNFACE));
    canvas.BitBlt(142, 13, 191, 8, m_Skin.GetBitmap(CANVAS_TITLEBAR, 2), 0,
                  m_Context.appActive ? 8 : 0, 1);
    canvas.BitAlphaBlt(0, 0, ART_WIDTH, CAPTION_ROWS, m_Skin.GetBitmap(CANVAS_FULLVIEW, 0), 0, 0,
                       256);
    canvas.BitAlphaBlt(0, CAPTION_ROWS, 300, BAR_ROWS, m_Skin.GetBitmap(CANVAS_FULLVIEW, 1), 0, 0,
                       256);
}

void TFullViewWindow::PaintCanvas(HDC screen, TMemDC& canvas, const RECT& client)
{
    int w = client.right, h = client.bottom;
    int stretched = 191 + (w >= ART_WIDTH + 1 ? w - ART_WIDTH : 0);
    ::BitBlt(screen, 0, 0, 142, CAPTION_ROWS, canvas, 0, 0, SRCCOPY);
    ::StretchBlt(screen, 142, 0, stretched, CAPTION_ROWS, canvas, 142, 0, 191, CAPTION_ROWS,
                 SRCCOPY);
    ::BitBlt(screen, w - 43, 0, 43, CAPTION_ROWS, canvas, ART_WIDTH - 43, 0, SRCCOPY);
    int bar = h - BAR_ROWS;
    ::BitBlt(screen, 0, bar, 15, BAR_ROWS, canvas, 0, CAPTION_ROWS, SRCCOPY);
    ::StretchBlt(screen, 15, bar, w - 30, BAR_ROWS, canvas, 15, CAPTION_ROWS, 270, BAR_ROWS,
                 SRCCOPY);
    ::BitBlt(screen, w - 15, bar, 15, BAR_ROWS, canvas, 285, CAPTION_ROWS, SRCCOPY);
    RECT band{0, CAPTION_ROWS, w, bar};
    DrawEdge(screen, &band, EDGE_RAISED, BF_RECT);
}

int TFullViewWindow::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT* result)
{
    if (message != WM_ERASEBKGND) return 0;
    RECT client;
    ::GetClientRect(GetHandle(), &client);
    client.top = CAPTION_ROWS;
    FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
    *result = 1;
    return 1;
}
