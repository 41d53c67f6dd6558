// Title bar window: caption art, the two buttons, the system menu and the drag area.
#include "ui/TTitlebarWindow.h"

#include "net/MainWindowMessages.h"
#include "ui/MenuItems.h"

#include <windowsx.h>

namespace {

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
        // Normal, hover and pressed looks lie one under the other; black lets the art show.
        int row = static_cast<int>(m_Buttons.GetLook(BUTTON_GROUP, button)) * BUTTON_SIZE;
        canvas.BitBlt(place.x, BUTTON_TOP, BUTTON_SIZE, BUTTON_SIZE, sheet, place.sourceX, row, 2);
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
    if (client.x >= 0 && client.y >= 0 && client.x < map->GetWidth() && client.y < map->GetHeight())
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
    HMENU system = main ? GetSystemMenu(main, FALSE) : nullptr;
    if (!system) return;
    // Shown as a pop-up of the system menu's own items: tracking the system menu itself
    // lets the platform set its items from the owner's style, which leaves Move usable.
    // Only minimising and closing are: the main window has no frame to size, is never
    // maximised and drags by its surface. Items a platform adds are greyed as well.
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    for (int i = 0; i < GetMenuItemCount(system); ++i) {
        char text[128] = "";
        MENUITEMINFOA item{};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_BITMAP;
        item.dwTypeData = text;
        item.cch = sizeof(text);
        if (!GetMenuItemInfoA(system, i, TRUE, &item)) continue;
        bool usable = item.wID == SC_MINIMIZE || item.wID == SC_CLOSE;
        item.fMask |= MIIM_STATE;
        item.fState = usable ? MFS_ENABLED : MFS_GRAYED;
        if (item.wID == SC_CLOSE) item.fState |= MFS_DEFAULT;
        item.dwTypeData = text;
        InsertMenuItemA(menu, i, TRUE, &item);
    }
    POINT at = SYSTEM_MENU_AT;
    ClientToScreen(GetHandle(), &at);
    UINT command = static_cast<UINT>(
        TrackPopupMenuEx(menu, SYSTEM_MENU_FLAGS, at.x, at.y, GetHandle(), nullptr));
    DestroyMenu(menu);
    if (command) SendMessageA(main, WM_SYSCOMMAND, command, 0);
}
