// Title bar window: caption art, the two buttons, the system menu and the drag area.
#include "ui/TTitlebarWindow.h"

#include "net/MainWindowMessages.h"
#include "ui/MenuItems.h"

#include <windowsx.h>

namespace {

// UM_REPAINT: this window.
constexpr WPARAM REPAINT_TITLEBAR = 1;

constexpr int BUTTON_GROUP = 1;
constexpr int BUTTON_MINIMISE = 1;
constexpr int BUTTON_CLOSE = 2;
constexpr int BUTTON_SIZE = 9;
constexpr int BUTTON_TOP = 3;

// Skin group of canvas 1.
constexpr int ART_BITMAP = 0;
constexpr int HIT_MAP_BITMAP = 1;
constexpr int CAPTION_BITMAP = 2;
constexpr int BUTTONS_BITMAP = 3;

// The caption gradient band: 191 x 8 pixels, active from row 8 of its bitmap.
constexpr int CAPTION_X = 142;
constexpr int CAPTION_Y = 13;
constexpr int CAPTION_WIDTH = 191;
constexpr int CAPTION_HEIGHT = 8;

// Client point of the title bar under which the system menu opens.
constexpr POINT SYSTEM_MENU_AT{15, 21};
// TPM_RIGHTBUTTON | TPM_VERTICAL | TPM_RETURNCMD: the command comes back to the caller.
constexpr UINT SYSTEM_MENU_FLAGS = 0x142;

const char STATUS_TEXT_MINIMISE[] = "ウィンドウを最小化します。( タスクトレイに入れます )";

struct ButtonPlace {
    int x;
    int sourceX;
    const char* statusText;
};
const ButtonPlace BUTTONS[] = {
    {338, 0, STATUS_TEXT_MINIMISE},
    {347, 9, STATUS_TEXT_CLOSE_WINDOW},
};

int LookRow(ButtonLook look)
{
    switch (look) {
    case ButtonLook::Pressed:
        return 2 * BUTTON_SIZE;
    case ButtonLook::Hover:
        return BUTTON_SIZE;
    default:
        return 0;
    }
}

TitlebarHit HitOfColour(COLORREF colour)
{
    switch (colour) {
    case HitRgb(255, 255, 0):
        return TitlebarHit::Minimise;
    case HitRgb(255, 0, 0):
        return TitlebarHit::Close;
    case HitRgb(0, 0, 0):
        return TitlebarHit::SystemMenu;
    case HitRgb(0, 0, 255):
        return TitlebarHit::Drag;
    default:
        return TitlebarHit::Nothing;
    }
}

int ButtonOf(TitlebarHit hit)
{
    switch (hit) {
    case TitlebarHit::Minimise:
        return BUTTON_MINIMISE;
    case TitlebarHit::Close:
        return BUTTON_CLOSE;
    default:
        return 0;
    }
}

} // namespace

int TTitlebarWindow::Create(HWND parent)
{
    return CreateChild(parent, "Titlebar Window", RECT{0, 0, 640, 24}, 100);
}

void TTitlebarWindow::Compose(TMemDC& canvas)
{
    RECT all{0, 0, 640, 24};
    FillRect(canvas, &all, GetSysColorBrush(COLOR_BTNFACE));
    canvas.BitBlt(CAPTION_X, CAPTION_Y, CAPTION_WIDTH, CAPTION_HEIGHT,
                  m_Skin.GetBitmap(CANVAS_TITLEBAR, CAPTION_BITMAP), 0,
                  m_Context.appActive ? CAPTION_HEIGHT : 0, 1);
    canvas.BitAlphaBlt(0, 0, 640, 24, m_Skin.GetBitmap(CANVAS_TITLEBAR, ART_BITMAP), 0, 0, 256);
    TDIBitmap* sheet = m_Skin.GetBitmap(CANVAS_TITLEBAR, BUTTONS_BITMAP);
    for (int button = BUTTON_MINIMISE; button <= BUTTON_CLOSE; ++button) {
        const ButtonPlace& place = BUTTONS[button - 1];
        canvas.BitBlt(place.x, BUTTON_TOP, BUTTON_SIZE, BUTTON_SIZE, sheet, place.sourceX,
                      LookRow(m_Buttons.GetLook(BUTTON_GROUP, button)), 2);
    }
}

int TTitlebarWindow::OnMessage(UINT message, WPARAM, LPARAM lParam, LRESULT* result)
{
    switch (message) {
    case WM_NCHITTEST: {
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(GetHandle(), &point);
        *result = HitAt(point) == TitlebarHit::Drag ? HTTRANSPARENT : HTCLIENT;
        return 1;
    }
    case WM_LBUTTONDOWN:
        SetFocus(GetHandle());
        [[fallthrough]];
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        OnMouse(message, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 1;
    default:
        return 0;
    }
}

TitlebarHit TTitlebarWindow::HitAt(POINT client)
{
    if (!m_Skin.Lock()) return TitlebarHit::Nothing;
    TDIBitmap* map = m_Skin.GetBitmap(CANVAS_TITLEBAR, HIT_MAP_BITMAP);
    TitlebarHit hit = TitlebarHit::Nothing;
    // Outside the map (or with none) the colour read would be black, the system-menu spot.
    if (client.x >= 0 && client.y >= 0 && client.x < map->GetWidth() &&
        client.y < map->GetHeight())
        hit = HitOfColour(HitColour(map, client.x, client.y));
    m_Skin.Unlock();
    return hit;
}

void TTitlebarWindow::OnMouse(UINT message, POINT client)
{
    TitlebarHit hit = HitAt(client);
    if (message == WM_LBUTTONDOWN && hit == TitlebarHit::SystemMenu &&
        !m_Buttons.GetActiveGroup()) {
        ShowSystemMenu();
        return;
    }
    int button = ButtonOf(hit);
    int released = 0;
    if (!m_Buttons.Handle(BUTTON_GROUP, message, button, &released)) return;
    if (m_Buttons.GetActiveGroup()) {
        if (GetCapture() != GetHandle()) SetCapture(GetHandle());
    } else if (GetCapture() == GetHandle()) {
        ReleaseCapture();
    }
    if (message == WM_MOUSEMOVE) ShowStatusText(button ? BUTTONS[button - 1].statusText : "");
    PostToMain(UM_REPAINT, REPAINT_TITLEBAR, 1);
    if (released) RunButton(released);
}

void TTitlebarWindow::RunButton(int button)
{
    if (!m_Context.mainWindow) return;
    if (button == BUTTON_MINIMISE)
        CloseWindow(m_Context.mainWindow); // the main window then hides in the notification area
    else
        PostToMain(UM_QUIT_REQUEST, 0, 0);
}

void TTitlebarWindow::ShowSystemMenu()
{
    HWND main = m_Context.mainWindow;
    HMENU menu = main ? GetSystemMenu(main, FALSE) : nullptr;
    if (!menu) return;
    // The main window neither sizes, maximises, restores nor moves from its menu: it has
    // no frame, and it drags by its surface.
    const UINT greyed[] = {SC_RESTORE, SC_MOVE, SC_SIZE, SC_MAXIMIZE};
    for (UINT command : greyed)
        EnableMenuItem(menu, command, MF_BYCOMMAND | MF_GRAYED);
    EnableMenuItem(menu, SC_MINIMIZE, MF_BYCOMMAND | MF_ENABLED);
    EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
    SetMenuDefaultItem(menu, SC_CLOSE, FALSE);
    POINT at = SYSTEM_MENU_AT;
    ClientToScreen(GetHandle(), &at);
    UINT command = static_cast<UINT>(
        TrackPopupMenuEx(menu, SYSTEM_MENU_FLAGS, at.x, at.y, GetHandle(), nullptr));
    if (command) SendMessageA(main, WM_SYSCOMMAND, command, 0);
}
