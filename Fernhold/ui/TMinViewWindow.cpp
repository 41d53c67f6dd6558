// Right panel: the listener list and the clip pane.
#include "ui/TMinViewWindow.h"

#include "net/MainWindowMessages.h"
#include "net/TClientCore.h"
#include "net/TServerCore.h"
#include "ui/AddressText.h"

#include <Keelwork/TMemoryBase.h>

namespace {

const ListColumn LISTENER_COLUMNS[] = {{"IP Address", 120}, {"Port Number", 100}};

const ViewPanelLayout RIGHT_PANEL{"MinView Window",
                                  RECT{360, 24, 640, 244},
                                  400,
                                  SIZE{280, 220},
                                  RECT{17, 17, 263, 203},
                                  240,
                                  RECT{20, 20, 20 + CLIP_WIDTH, 20 + CLIP_HEIGHT},
                                  "Clip View Window",
                                  420,
                                  410,
                                  RECT{20, 35, 260, 200},
                                  LISTENER_COLUMNS,
                                  2,
                                  3,
                                  80,
                                  3,
                                  REPAINT_RIGHT_PANEL};

} // namespace

TMinViewWindow::TMinViewWindow(TUiContext& context)
    : TViewPanel(context, CANVAS_MINVIEW, RIGHT_PANEL)
{
}

void TMinViewWindow::UpdateListeners()
{
    TMemoryBase addresses;
    unsigned long count = m_Context.server.GetListenerAddresses(addresses);
    if (addresses.GetSize() < count * sizeof(sockaddr_in)) count = 0; // no memory for the copy
    const sockaddr_in* listeners =
        reinterpret_cast<const sockaddr_in*>(static_cast<unsigned char*>(addresses));
    m_List.KeepRows(static_cast<int>(count));
    for (unsigned long i = 0; i < count; ++i) {
        AddressTexts texts = FormatAddress(listeners[i]);
        const char* row[2] = {texts.address, texts.port};
        m_List.SetRow(static_cast<int>(i), row, -1);
    }
}

int TMinViewWindow::OnListNotify(const NMHDR& header, LRESULT* result)
{
    if (header.code != LVN_BEGINLABELEDITA) return 0;
    *result = TRUE; // the addresses are not the operator's to rename
    return 1;
}

int TMinViewWindow::OnPaneMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (message) {
    case WM_ERASEBKGND:
        *result = 1; // the paint covers the whole pane
        return 1;
    case WM_PAINT:
        PaintPane();
        return 1;
    case WM_MOUSEMOVE:
    case WM_MOUSEWHEEL:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: {
        if (GetWorkingView(m_Context.settings.displayFlags) != WorkingView::Clip) return 0;
        PaneGeometry geometry{PaneKind::Clip, m_Context.client.GetImage().GetView(),
                              SIZE{CLIP_WIDTH, CLIP_HEIGHT}, POINT{0, 0}};
        if (m_Pane->ForwardMouse(m_Context, geometry, message, wParam, lParam) &&
            message == WM_MOUSEMOVE)
            PostToMain(UM_REPAINT, REPAINT_RIGHT_PANEL, 1);
        return 0; // and on to the default procedure
    }
    default:
        return 0;
    }
}

void TMinViewWindow::PaintPane()
{
    HWND pane = m_Pane->GetHandle();
    PAINTSTRUCT paint;
    HDC screen = BeginPaint(pane, &paint);
    TClientImage& image = m_Context.client.GetImage();
    image.LockImage();
    ImageWindow shown = ClipPaneWindow(image.GetDrawableView());
    const RECT& part = shown.target;
    ::BitBlt(screen, 0, 0, part.right, part.bottom, image.GetContext(), shown.source.x,
             shown.source.y, SRCCOPY);
    image.UnlockImage();
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    RECT right{part.right, 0, CLIP_WIDTH, CLIP_HEIGHT};
    RECT below{0, part.bottom, part.right, CLIP_HEIGHT};
    FillRect(screen, &right, black);
    FillRect(screen, &below, black);
    EndPaint(pane, &paint);
}
