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
                                  SIZE{CLIP_WIDTH, CLIP_HEIGHT},
                                  "Clip View Window",
                                  420,
                                  410,
                                  165,
                                  LISTENER_COLUMNS,
                                  2,
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

void TMinViewWindow::OnPaneMouse(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (GetWorkingView(m_Context.settings.displayFlags) != WorkingView::Clip) return;
    PaneGeometry geometry{PaneKind::Clip, m_Context.client.GetImage().GetView(),
                          SIZE{CLIP_WIDTH, CLIP_HEIGHT}, POINT{0, 0}};
    if (m_Pane->ForwardMouse(m_Context, geometry, message, wParam, lParam) &&
        message == WM_MOUSEMOVE)
        PostToMain(UM_REPAINT, REPAINT_RIGHT_PANEL, 1);
}

void TMinViewWindow::PaintPane(HDC screen)
{
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
}
