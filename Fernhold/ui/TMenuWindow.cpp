// Menu window: the titles, tracking their pop-ups, switching between them, the owner-drawn
// items and their commands.
#include "ui/TMenuWindow.h"

#include "ui/TDestinationSelection.h"

#include "net/MainWindowMessages.h"
#include "net/TClientCore.h"
#include "ui/HelpFile.h"
#include "ui/TAppShell.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr int TITLE_GROUP = 1;
constexpr int TITLE_LEFT = 2;
constexpr int TITLE_TOP = 2;
constexpr int TITLE_WIDTH = 64;
constexpr int TITLE_HEIGHT = 14;
// A menu loop that ends with the mouse on the titles' strip keeps its title open: the
// click that ended the loop arrives next and closes instead of opening again.
constexpr RECT TITLE_STRIP{2, 2, 259, 16};
// TPM_VERTICAL: the pop-up keeps below the title rather than covering it.
constexpr UINT POPUP_FLAGS = 0x40;

constexpr int ITEM_CANVAS_WIDTH = 100;
constexpr int ITEM_CANVAS_HEIGHT = 16;
constexpr int ITEM_MIN_HEIGHT = 18;
constexpr int ITEM_LABEL_X = 20;
constexpr int ITEM_EXTRA_WIDTH = 22;
constexpr int SEPARATOR_HEIGHT = 4;
constexpr int ICON_WIDTH = 18;
constexpr int ICON_HEIGHT = 16;
constexpr int ICON_COLUMN = 19;
// Mask row of an icon sheet look; its image row lies 16 rows below.
constexpr int ICON_NORMAL = 0;
constexpr int ICON_CHECKED = 32;
constexpr int ICON_GREYED = 64;

// Skin group of canvas 2.
constexpr int BACKGROUND_BITMAP = 1;
constexpr int TITLES_BITMAP = 2;
constexpr int ITEM_BITMAP = 3;
constexpr int ICONS_BITMAP = 4;

int TitleAt(POINT point)
{
    if (point.y < TITLE_TOP || point.y >= TITLE_TOP + TITLE_HEIGHT) return 0;
    if (point.x < TITLE_LEFT || point.x >= TITLE_LEFT + MENU_TITLE_COUNT * TITLE_WIDTH) return 0;
    return (point.x - TITLE_LEFT) / TITLE_WIDTH + 1;
}

// The label's extent in the font the items are measured and drawn in.
SIZE LabelExtent(HWND window, const char* label)
{
    SIZE size{0, 0};
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    GetTextExtentPoint32A(dc, label, static_cast<int>(std::strlen(label)), &size);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return size;
}

// One icon of the sheet: the mask row cleared into the destination, then the image row.
void DrawIcon(HDC dc, int y, HDC sheet, int column, int maskRow)
{
    BitBlt(dc, 0, y, ICON_WIDTH, ICON_HEIGHT, sheet, column, maskRow, SRCAND);
    BitBlt(dc, 0, y, ICON_WIDTH, ICON_HEIGHT, sheet, column, maskRow + ICON_HEIGHT, SRCPAINT);
}

// A memory context compatible with another, with a bitmap selected for its lifetime; it
// deletes the bitmap too when it owns it.
class ScopedMemoryDc {
public:
    ScopedMemoryDc(HDC compatible, HBITMAP bitmap, bool ownsBitmap)
        : m_Dc(CreateCompatibleDC(compatible)), m_Bitmap(bitmap), m_Owns(ownsBitmap),
          m_Old(SelectObject(m_Dc, bitmap))
    {
    }
    ~ScopedMemoryDc()
    {
        SelectObject(m_Dc, m_Old);
        if (m_Owns && m_Bitmap) DeleteObject(m_Bitmap);
        DeleteDC(m_Dc);
    }
    ScopedMemoryDc(const ScopedMemoryDc&) = delete;
    ScopedMemoryDc& operator=(const ScopedMemoryDc&) = delete;
    HDC Get() const { return m_Dc; }
    bool IsUsable() const { return m_Dc && m_Bitmap; }

private:
    HDC m_Dc;
    HBITMAP m_Bitmap;
    bool m_Owns;
    HGDIOBJ m_Old;
};

} // namespace

TMenuWindow::TMenuWindow(TUiContext& context) : TSkinWindow(context, CANVAS_MENU)
{
    for (int title = 1; title <= MENU_TITLE_COUNT; ++title) {
        HMENU popup = CreatePopupMenu();
        MenuItemList items = GetMenuItems(title);
        for (int i = 0; i < items.count; ++i) {
            UINT flags = MF_OWNERDRAW | (items.items[i].id == MENU_SEPARATOR ? MF_SEPARATOR : 0);
            AppendMenuA(popup, flags, items.items[i].id, nullptr);
        }
        m_Popups[title - 1] = popup;
    }
    m_ItemCanvas.CreateDCA(ITEM_CANVAS_WIDTH, ITEM_CANVAS_HEIGHT, 32);
}

TMenuWindow::~TMenuWindow()
{
    for (HMENU popup : m_Popups)
        if (popup) DestroyMenu(popup);
}

int TMenuWindow::Create(HWND parent)
{
    return CreateChild(parent, "Menu Window", RECT{366, 3, 626, 21}, 200);
}

void TMenuWindow::Compose(TMemDC& canvas)
{
    RECT all{0, 0, 260, 18};
    FillRect(canvas, &all, GetSysColorBrush(COLOR_BTNFACE));
    canvas.BitAlphaBlt(0, 0, 260, 18, m_Skin.GetBitmap(CANVAS_MENU, BACKGROUND_BITMAP), 0, 0, 256);
    TDIBitmap* titles = m_Skin.GetBitmap(CANVAS_MENU, TITLES_BITMAP);
    for (int title = 1; title <= MENU_TITLE_COUNT; ++title) {
        int column = (title - 1) * TITLE_WIDTH;
        // Normal, hover and pressed looks lie one under the other.
        int row = static_cast<int>(m_Titles.GetLook(TITLE_GROUP, title)) * TITLE_HEIGHT;
        canvas.BitAlphaBlt(TITLE_LEFT + column, TITLE_TOP, TITLE_WIDTH, TITLE_HEIGHT, titles,
                           column, row, 256);
    }
}

int TMenuWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        OnMouse(message, lParam);
        return 1;
    case WM_ENTERIDLE:
        if (wParam == MSGF_MENU) SwitchToTitleUnderCursor();
        return 1;
    case WM_EXITMENULOOP:
        OnExitMenuLoop();
        return 1;
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_MENU) return 0;
        MeasureItem(*item);
        *result = TRUE;
        return 1;
    }
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_MENU) return 0;
        DrawItem(*item);
        *result = TRUE;
        return 1;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) != 0 || lParam != 0) return 0; // not from a menu
        RunMenuCommand(LOWORD(wParam), m_Context.settings, m_Context.shell.GetRights(),
                       GetSelection(), *this);
        return 1;
    default:
        return 0;
    }
}

MenuSelection TMenuWindow::GetSelection() const
{
    MenuSelection selection;
    if (const TDestinationSelection* list = m_Context.selection) {
        selection.row = list->GetSelectedRow();
        selection.searchState = list->GetSelectedSearchState();
    }
    return selection;
}

void TMenuWindow::OnMouse(UINT message, LPARAM lParam)
{
    int title = TitleAt(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    int released = 0;
    if (!m_Titles.Handle(TITLE_GROUP, message, title, &released)) return;
    // The group keeps the mouse while it shows a hover or a press, so leaving the window
    // still clears them.
    if (m_Titles.GetActiveGroup()) {
        if (GetCapture() != GetHandle()) SetCapture(GetHandle());
    } else if (GetCapture() == GetHandle()) {
        ReleaseCapture();
    }
    if (message == WM_MOUSEMOVE) ShowStatusText(title ? GetMenuTitleText(title) : "");
    TSkinWindow::PostToMain(UM_REPAINT, REPAINT_MENU, 1);
    if (released) ReleasedOnTitle(released);
}

void TMenuWindow::ReleasedOnTitle(int title)
{
    // A click on the titles while a pop-up was open ended that pop-up's loop: it closes.
    if (m_OpenMenu) {
        m_OpenMenu = 0;
        return;
    }
    OpenPopup(title);
}

void TMenuWindow::OpenPopup(int title)
{
    HMENU popup = m_Popups[title - 1];
    MenuItemList items = GetMenuItems(title);
    const uint32_t flags = m_Context.settings.displayFlags;
    const MenuSelection selection = GetSelection();
    for (int i = 0; i < items.count; ++i) {
        UINT id = items.items[i].id;
        if (id == MENU_SEPARATOR) continue;
        MenuItemState state = GetMenuItemState(id, flags, selection);
        EnableMenuItem(popup, id, MF_BYCOMMAND | (state.enabled ? MF_ENABLED : MF_GRAYED));
        CheckMenuItem(popup, id, MF_BYCOMMAND | (state.checked ? MF_CHECKED : MF_UNCHECKED));
    }
    m_OpenMenu = title;

    RECT window = GetWindowRect();
    int x = window.left + (title - 1) * TITLE_WIDTH + TITLE_LEFT;
    // Near the right edge of the screen the pop-up is put against it.
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int firstWidth = LabelExtent(GetHandle(), items.items[0].label).cx + ITEM_EXTRA_WIDTH;
    if (x + firstWidth + 6 > screenWidth) x = screenWidth;
    TrackPopupMenuEx(popup, POPUP_FLAGS, x, window.bottom, GetHandle(), nullptr);
}

void TMenuWindow::SwitchToTitleUnderCursor()
{
    if (!m_OpenMenu) return;
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(GetHandle(), &cursor);
    int title = TitleAt(cursor);
    if (!title || title == m_OpenMenu) return;
    m_OpenMenu = 0;
    // The loop of the open pop-up ends first; the click below then reaches this window
    // as an ordinary press and release on the other title, which opens its pop-up. (A
    // mouse message posted into a running menu loop would be read there, in screen
    // coordinates, as a click of its own.)
    EndMenu();
    LPARAM at = MAKELPARAM(cursor.x, cursor.y);
    PostMessageA(GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(GetHandle(), WM_LBUTTONUP, 0, at);
}

void TMenuWindow::OnExitMenuLoop()
{
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(GetHandle(), &cursor);
    if (!PtInRect(&TITLE_STRIP, cursor)) m_OpenMenu = 0;
    ShowStatusText("");
}

void TMenuWindow::MeasureItem(MEASUREITEMSTRUCT& item) const
{
    const MenuItem* entry = FindMenuItem(item.itemID);
    if (!entry) {
        item.itemWidth = 0;
        item.itemHeight = SEPARATOR_HEIGHT;
        return;
    }
    SIZE extent = LabelExtent(GetHandle(), entry->label);
    item.itemWidth = static_cast<UINT>(extent.cx + ITEM_EXTRA_WIDTH);
    item.itemHeight = static_cast<UINT>(std::max<LONG>(extent.cy, ITEM_MIN_HEIGHT));
}

void TMenuWindow::DrawItem(const DRAWITEMSTRUCT& item)
{
    const int width = item.rcItem.right - item.rcItem.left;
    const int height = item.rcItem.bottom - item.rcItem.top;
    if (width <= 0 || height <= 0) return;
    // Composed off the screen and copied once, like every skinned surface.
    ScopedMemoryDc buffer(item.hDC, CreateCompatibleBitmap(item.hDC, width, height), true);
    if (!buffer.IsUsable()) return;
    ComposeItem(buffer.Get(), item, width, height);
    BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, width, height, buffer.Get(), 0, 0, SRCCOPY);
    const MenuItem* entry = FindMenuItem(item.itemID);
    if (entry && (item.itemState & ODS_SELECTED)) ShowStatusText(entry->statusText);
}

void TMenuWindow::ComposeItem(HDC dc, const DRAWITEMSTRUCT& item, int width, int height)
{
    const MenuItem* entry = FindMenuItem(item.itemID);
    RECT all{0, 0, width, height};
    if (!entry) {
        FillRect(dc, &all, GetSysColorBrush(COLOR_MENU));
        RECT line{2, height / 2, width - 2, height};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool greyed = (item.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    const bool checked = (item.itemState & ODS_CHECKED) != 0;

    RECT canvasRect{0, 0, ITEM_CANVAS_WIDTH, ITEM_CANVAS_HEIGHT};
    FillRect(m_ItemCanvas, &canvasRect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    int locked = m_Skin.Lock();
    if (locked)
        m_ItemCanvas.BitAlphaBlt(0, 0, ITEM_CANVAS_WIDTH, ITEM_CANVAS_HEIGHT,
                                 m_Skin.GetBitmap(CANVAS_MENU, ITEM_BITMAP), 0, 0, 256);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 0, 0, width, height, m_ItemCanvas, 0, 0, ITEM_CANVAS_WIDTH, ITEM_CANVAS_HEIGHT,
               SRCCOPY);
    if (locked) {
        TDIBitmap* icons = m_Skin.GetBitmap(CANVAS_MENU, ICONS_BITMAP);
        if (static_cast<HBITMAP>(*icons)) {
            ScopedMemoryDc sheet(dc, *icons, false);
            int y = (height - ICON_HEIGHT) / 2;
            int look = greyed ? ICON_GREYED : checked ? ICON_CHECKED : ICON_NORMAL;
            DrawIcon(dc, y, sheet.Get(), static_cast<int>(item.itemID) * ICON_COLUMN, look);
            if (selected) DrawIcon(dc, y, sheet.Get(), 0, ICON_NORMAL);
        }
        m_Skin.Unlock();
    }

    // The label in the font it was measured in.
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(greyed     ? COLOR_GRAYTEXT
                                 : selected ? COLOR_HIGHLIGHTTEXT
                                            : COLOR_MENUTEXT));
    RECT label{ITEM_LABEL_X, 0, width, height};
    DrawTextA(dc, entry->label, -1, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
}

void TMenuWindow::PostToMain(UINT message, WPARAM wParam, LPARAM lParam)
{
    TSkinWindow::PostToMain(message, wParam, lParam);
}

void TMenuWindow::PostToClient(UINT message)
{
    PostThreadMessageA(m_Context.client.GetThreadId(), message, 0, 0);
}

void TMenuWindow::ShowHelp() { ShowHelpFile(m_Context.mainWindow); }
