// Control window: its canvas at rest (frame, information panel, label, buttons).
#include "ui/TControlWindow.h"

#include "net/MainWindowMessages.h"
#include "net/TClientCore.h"
#include "ui/AddressText.h"
#include "ui/ConnectionState.h"
#include "ui/PanelFrame.h"

#include <cstdio>
#include <cstring>

namespace {
constexpr int WIDTH = 280;
constexpr int HEIGHT = 60;
constexpr int PANEL_ROWS = 34;
const char CREDIT_LINE[] = "LAN Remote Control";
constexpr UINT_PTR TIMER_HIGHLIGHT = 1;

// "IP  :" and "Port:" lines of the destination last connected, read under the list lock.
void RemoteLines(TClientCore& client, char (&address)[32], char (&port)[16])
{
    snprintf(address, sizeof(address), "IP  :");
    snprintf(port, sizeof(port), "Port:");
    client.LockList();
    long index = client.GetSelectedIndex();
    TDestination* destination = index >= 0 ? client.GetDestination(index) : nullptr;
    if (destination) {
        AddressTexts texts = FormatAddress(destination->liveAddress);
        snprintf(address, sizeof(address), "IP  :%s", texts.address);
        snprintf(port, sizeof(port), "Port:%s", texts.port);
    }
    client.UnlockList();
}
} // namespace

int TControlWindow::Create(HWND parent)
{
    return CreateChild(parent, "Control Window", RECT{360, 244, 640, 304}, 500);
}

void TControlWindow::ComposeInformation(TMemDC& canvas)
{
    canvas.BitBlt(90, 20, 171, PANEL_ROWS, m_Skin.GetBitmap(CANVAS_CONTROL, 4), 0,
                  m_Highlight > 0 ? PANEL_ROWS : 0, 1);
    const char* lines[3] = {"", "", ""};
    char address[32], port[16];
    switch (GetConnectionState(m_Context.settings.displayFlags)) {
    case CONNECTION_IDLE:
        lines[0] = "Fernhold!";
        lines[1] = "Version    : 1.13";
        lines[2] = CREDIT_LINE;
        break;
    case CONNECTION_CONNECTING:
        lines[2] = "Connect...";
        break;
    case CONNECTION_CONNECTED:
    case CONNECTION_PAUSED:
        RemoteLines(m_Context.client, address, port);
        lines[0] = "Remote Info: ";
        lines[1] = address;
        lines[2] = port;
        break;
    case CONNECTION_DISCONNECTING:
        lines[2] = "Unconnect...";
        break;
    default:
        break;
    }
    HGDIOBJ previous = SelectObject(canvas, static_cast<HFONT>(m_Skin.GetFont(0)));
    SetBkMode(canvas, TRANSPARENT);
    bool lit = m_Highlight > 0;
    for (int i = 0; i < 3; ++i) {
        int y = 22 + 9 * i;
        int length = static_cast<int>(strlen(lines[i]));
        SetTextColor(canvas, lit ? 0x999900 : 0x555555);
        TextOutA(canvas, 95, y + 1, lines[i], length);
        SetTextColor(canvas, lit ? 0x555522 : 0x777744);
        TextOutA(canvas, 94, y, lines[i], length);
    }
    SelectObject(canvas, previous);
}

void TControlWindow::Compose(TMemDC& canvas)
{
    DrawPanelFrame(canvas, WIDTH, HEIGHT);
    RECT groove{4, 15, 275, 17};
    DrawEdge(canvas, &groove, EDGE_ETCHED, BF_TOP | BF_BOTTOM);
    ComposeInformation(canvas);
    GdiFlush(); // the text must be in the pixels before the blends read them
    if (m_Context.uiState < 1 || m_Context.uiState > 4) return;
    canvas.BitAlphaBlt(186, 3, 90, 11, m_Skin.GetBitmap(CANVAS_CONTROL, 3), 0, 0, 256);
    ComposeButtons(canvas);
}

void TControlWindow::OnButtonsChanged()
{
    m_Highlight = 5;
    PostToMain(UM_REPAINT, REPAINT_CONTROL, 1);
}

int TControlWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (message) {
    case WM_CREATE:
        SetTimer(GetHandle(), TIMER_HIGHLIGHT, 1000, nullptr);
        return 0;
    case WM_DESTROY:
        KillTimer(GetHandle(), TIMER_HIGHLIGHT);
        return 0;
    case WM_TIMER:
        if (m_Highlight == 1) {
            m_Highlight = 0;
            PostToMain(UM_REPAINT, REPAINT_CONTROL, 1);
        } else if (m_Highlight > 1) {
            --m_Highlight;
        }
        *result = 0;
        return 1;
    default:
        return TControlSurface::OnMessage(message, wParam, lParam, result);
    }
}
