// Skinned window base: creation, repaint, the one-blit paint, hit-map reading.
#include "ui/TSkinWindow.h"

#include "net/MainWindowMessages.h"
#include "ui/TFernWndClass.h"

#include <Panekind/TWindow.h>

namespace {
// WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN.
constexpr unsigned long CHILD_STYLE = 0x56000000;
} // namespace

TSkinWindow::TSkinWindow(TUiContext& context, SkinCanvas canvas)
    : m_Context(context), m_Skin(context.skin), m_Canvas(canvas)
{
}

int CreateChildWindow(TWndCore& core, HWND parent, const char* text, const RECT& rect, LONG_PTR id,
                      unsigned long style, TWndUserProc proc)
{
    TWindow window(core);
    window.SetStyle(style);
    window.SetWindowTextA(TString(text));
    window.SetMother(parent);
    window.SetWindowRect(rect);
    window.SetID(id);
    window.SetWindowProc(proc);
    return window.CreateWindowExA(*g_lpWndClass) != nullptr;
}

int TSkinWindow::CreateChild(HWND parent, const char* text, const RECT& rect, LONG_PTR id)
{
    return CreateChildWindow(*this, parent, text, rect, id, CHILD_STYLE, UserProc);
}

void TSkinWindow::Repaint(int invalidate)
{
    if (m_Skin.Lock()) {
        Compose(m_Skin.GetCanvas(m_Canvas));
        m_Skin.Unlock();
    }
    if (invalidate && GetHandle()) InvalidateRect(GetHandle(), nullptr, FALSE);
}

int TSkinWindow::OnMessage(UINT, WPARAM, LPARAM, LRESULT*) { return 0; }

void TSkinWindow::PostToMain(UINT message, WPARAM wParam, LPARAM lParam) const
{
    if (m_Context.mainWindow) PostMessageA(m_Context.mainWindow, message, wParam, lParam);
}

void TSkinWindow::ShowStatusText(const char* text) const
{
    PostToMain(UM_STATUS_TEXT, reinterpret_cast<WPARAM>(text), 0);
}

COLORREF TSkinWindow::HitColour(TDIBitmap* hitMap, int x, int y)
{
    if (!hitMap) return 0;
    tagRGBQUAD pixel = hitMap->GetPixel(x, y);
    return RGB(pixel.rgbRed, pixel.rgbGreen, pixel.rgbBlue);
}

void TSkinWindow::PaintCanvas(HDC screen, TMemDC& canvas, const RECT& client)
{
    ::BitBlt(screen, 0, 0, client.right, client.bottom, canvas, 0, 0, SRCCOPY);
}

void TSkinWindow::Paint()
{
    PAINTSTRUCT paint;
    HDC screen = BeginPaint(GetHandle(), &paint);
    if (m_Skin.Lock()) {
        RECT client;
        ::GetClientRect(GetHandle(), &client);
        PaintCanvas(screen, m_Skin.GetCanvas(m_Canvas), client);
        m_Skin.Unlock();
    }
    EndPaint(GetHandle(), &paint);
}

LRESULT TSkinWindow::UserProc(TWndCore* core, UINT message, WPARAM wParam, LPARAM lParam)
{
    TSkinWindow* window = static_cast<TSkinWindow*>(core);
    LRESULT result = 0;
    if (window->OnMessage(message, wParam, lParam, &result)) return result;
    switch (message) {
    case WM_PAINT:
        window->Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // the canvas covers the whole window
    default:
        return core->DefMessageProc(message, wParam, lParam);
    }
}
