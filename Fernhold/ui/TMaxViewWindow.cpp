// Left panel: the destination list with its buttons and label editing, the reduced pane
// with the clip outline, clip following and clip dragging.
#include "ui/TMaxViewWindow.h"

#include "net/MainWindowMessages.h"
#include "net/TClientCore.h"
#include "ui/AddressText.h"
#include "ui/MenuItems.h"
#include "ui/ProgramResources.h"
#include "ui/RightsCheck.h"
#include "ui/TAppShell.h"

#include <Keelwork/TobjectBase.h>

#include <windowsx.h>

namespace {

const ListColumn DESTINATION_COLUMNS[] = {
    {"ComputerName", 123}, {"IP Address", 100}, {"Port Number", 80}};

const ViewPanelLayout LEFT_PANEL{"MaxView Window",
                                 RECT{0, 24, 360, 304},
                                 300,
                                 SIZE{REDUCED_WIDTH, REDUCED_HEIGHT},
                                 "View Window",
                                 320,
                                 310,
                                 204,
                                 DESTINATION_COLUMNS,
                                 3,
                                 1,
                                 REPAINT_LEFT_PANEL};

// Add, edit and delete in the button bar (panel rows 240 to 259), their columns in
// 302.bmp and their hover help.
constexpr int LIST_BUTTON_X[3] = {170, 220, 270};
constexpr int LIST_BUTTON_SOURCE_X[3] = {0, 50, 100};
constexpr int LIST_BUTTON_WIDTH = 50;
constexpr int LIST_BUTTON_ROWS = 20;
constexpr int LIST_BUTTON_TOP = 240;
const char* const LIST_BUTTON_TEXTS[3] = {
    "接続先を追加できます。( コンピュータネーム又は IPアドレスで指定できます。)",
    "現在選択している接続先情報を編集します。",
    "現在選択している接続先情報を削除します。( 削除した場合復元できません。)"};
const char EMPTY_TEXT[] = "";
constexpr int LIST_BUTTON_GROUP = 1;

constexpr int STATE_ICON_SIZE = 16;

// The list button under a panel point, 0 for none.
int ListButtonAt(POINT point)
{
    if (point.y < LIST_BUTTON_TOP || point.y >= LIST_BUTTON_TOP + LIST_BUTTON_ROWS) return 0;
    for (int i = 0; i < 3; ++i)
        if (point.x >= LIST_BUTTON_X[i] && point.x < LIST_BUTTON_X[i] + LIST_BUTTON_WIDTH)
            return i + 1;
    return 0;
}

// Five 16 x 16 icons cut from the program's bitmap, black transparent; null when the
// module has no such bitmap.
HIMAGELIST LoadStateIcons()
{
    HINSTANCE module = TobjectBase::m_hInst ? TobjectBase::m_hInst : GetModuleHandleA(nullptr);
    return ImageList_LoadImageA(module, MAKEINTRESOURCEA(IDB_STATE_ICONS), STATE_ICON_SIZE, 0,
                                RGB(0, 0, 0), IMAGE_BITMAP, 0);
}

} // namespace

TMaxViewWindow::TMaxViewWindow(TUiContext& context)
    : TViewPanel(context, CANVAS_MAXVIEW, LEFT_PANEL), m_Editor(context), m_ListButtons(1)
{
    context.selection = this;
}

int TMaxViewWindow::Create(HWND parent)
{
    if (!TViewPanel::Create(parent)) return 0;
    if (HIMAGELIST icons = LoadStateIcons()) m_List.SetIcons(icons);
    return 1;
}

// ---- Destination list ----------------------------------------------------------------

void TMaxViewWindow::UpdateDestination(LPARAM recordId)
{
    TClientCore& client = m_Context.client;
    HWND list = m_List.GetHandle();
    client.LockList();
    unsigned long count = client.GetDestinationCount();
    m_List.KeepRows(static_cast<int>(count));
    if (recordId == ENTRY_CHANGED_ALL) {
        // One redraw for the whole list, not one per row.
        SendMessageA(list, WM_SETREDRAW, FALSE, 0);
        for (unsigned long i = 0; i < count; ++i)
            SetDestinationRow(i);
        SendMessageA(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
    } else {
        long index = client.FindDestination(static_cast<uint32_t>(recordId));
        // Rows arrive in list order; any row still missing before this one is made now,
        // so every row stands for the destination at its index.
        for (long row = m_List.GetRowCount(); index >= 0 && row < index; ++row)
            SetDestinationRow(static_cast<unsigned long>(row));
        if (index >= 0) SetDestinationRow(static_cast<unsigned long>(index));
    }
    client.UnlockList();
}

void TMaxViewWindow::UpdateDestinations(const std::vector<LPARAM>& recordIds)
{
    HWND list = m_List.GetHandle();
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (LPARAM id : recordIds)
        UpdateDestination(id);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void TMaxViewWindow::SetDestinationRow(unsigned long index)
{
    const TDestination* destination = m_Context.client.GetDestination(index);
    if (!destination) return;
    const char* name = destination->displayName;
    AddressTexts address = FormatAddress(destination->liveAddress);
    const char* texts[3] = {name ? name : "", address.address, address.port};
    m_List.SetRow(static_cast<int>(index), texts, destination->searchState);
}

long TMaxViewWindow::GetSelectedRow() const { return m_List.GetSelectedRow(); }

int TMaxViewWindow::GetSelectedSearchState() const
{
    long row = GetSelectedRow();
    if (row < 0) return -1;
    TClientCore& client = m_Context.client;
    client.LockList();
    const TDestination* destination = client.GetDestination(static_cast<unsigned long>(row));
    int state = destination ? destination->searchState : -1;
    client.UnlockList();
    return state;
}

int TMaxViewWindow::OnListNotify(const NMHDR& header, LRESULT* result)
{
    switch (header.code) {
    case LVN_BEGINLABELEDITA:
        *result = BeginLabelEdit();
        return 1;
    case LVN_ENDLABELEDITA:
        *result = EndLabelEdit(reinterpret_cast<const NMLVDISPINFOA&>(header));
        return 1;
    default:
        return 0;
    }
}

LRESULT TMaxViewWindow::BeginLabelEdit()
{
    HWND main = m_Context.mainWindow;
    if (!IsOperationAllowed(main, main, m_Context.shell.GetRights(), RIGHT_EDIT_DESTINATION))
        return TRUE; // refused: the edit does not start
    if (!m_EditHoldsLock) {
        m_Context.client.LockList();
        m_EditHoldsLock = true;
    }
    return FALSE;
}

LRESULT TMaxViewWindow::EndLabelEdit(const NMLVDISPINFOA& info)
{
    LRESULT accepted = FALSE;
    if (info.item.pszText && m_EditHoldsLock) {
        TDestination* destination =
            m_Context.client.GetDestination(static_cast<unsigned long>(info.item.iItem));
        if (destination) {
            // The computer name too: it is the name the list file keeps, so the new
            // name outlives the program (as the settings dialog's OK does).
            destination->displayName = TString(info.item.pszText);
            destination->computerName = destination->displayName;
            accepted = TRUE;
        }
    }
    ReleaseEditLock();
    return accepted;
}

void TMaxViewWindow::ReleaseEditLock()
{
    if (!m_EditHoldsLock) return;
    m_EditHoldsLock = false;
    m_Context.client.UnlockList();
}

// ---- Panel: the list buttons -----------------------------------------------------------

void TMaxViewWindow::ComposeAtRest(TMemDC& canvas)
{
    RECT bar{20, LIST_BUTTON_TOP, 340, LIST_BUTTON_TOP + LIST_BUTTON_ROWS};
    FillRect(canvas, &bar, GetSysColorBrush(COLOR_BTNFACE));
    canvas.BitAlphaBlt(20, LIST_BUTTON_TOP, 320, LIST_BUTTON_ROWS,
                       m_Skin.GetBitmap(CANVAS_MAXVIEW, 1), 0, 0, 256);
    TDIBitmap* buttons = m_Skin.GetBitmap(CANVAS_MAXVIEW, 2);
    for (int i = 0; i < 3; ++i) {
        ButtonLook look = m_ListButtons.GetLook(LIST_BUTTON_GROUP, i + 1);
        int row = look == ButtonLook::Pressed ? 2 * LIST_BUTTON_ROWS
                  : look == ButtonLook::Hover ? LIST_BUTTON_ROWS
                                              : 0;
        canvas.BitAlphaBlt(LIST_BUTTON_X[i], LIST_BUTTON_TOP, LIST_BUTTON_WIDTH, LIST_BUTTON_ROWS,
                           buttons, LIST_BUTTON_SOURCE_X[i], row, 256);
    }
}

int TMaxViewWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        if (m_Context.uiState == UI_STATE_IDLE || m_ListButtons.GetActiveGroup())
            OnListButtonMouse(message, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_MOUSELEAVE:
        m_TrackingLeave = false;
        if (!m_ListButtons.GetActiveGroup()) OnListButtonMouse(WM_MOUSEMOVE, POINT{-1, -1});
        return 0;
    case WM_DESTROY:
        ReleaseEditLock(); // an edit cut short by the window's end sends no end notice
        break;
    default:
        break;
    }
    return TViewPanel::OnMessage(message, wParam, lParam, result);
}

void TMaxViewWindow::OnListButtonMouse(UINT message, POINT point)
{
    int button = ListButtonAt(point);
    if (message == WM_MOUSEMOVE) {
        if (!m_TrackingLeave) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, GetHandle(), 0};
            m_TrackingLeave = TrackMouseEvent(&track) != 0;
        }
        if (button != m_HoverButton)
            ShowStatusText(button ? LIST_BUTTON_TEXTS[button - 1] : EMPTY_TEXT);
        m_HoverButton = button;
    }
    int run = 0;
    if (!m_ListButtons.Handle(LIST_BUTTON_GROUP, message, button, &run)) return;
    if (m_ListButtons.GetState(LIST_BUTTON_GROUP))
        SetCapture(GetHandle());
    else if (GetCapture() == GetHandle())
        ReleaseCapture();
    PostToMain(UM_REPAINT, REPAINT_LEFT_PANEL, 1);
    if (run) RunListButton(run);
}

void TMaxViewWindow::RunListButton(int button)
{
    const UINT commands[3] = {MENU_ADD_DESTINATION, MENU_EDIT_DESTINATION, MENU_DELETE_DESTINATION};
    RunDestinationCommand(commands[button - 1]);
}

void TMaxViewWindow::RunDestinationCommand(UINT menuId)
{
    switch (menuId) {
    case MENU_ADD_DESTINATION:
        m_Editor.AddDestinationByDialog();
        break;
    case MENU_EDIT_DESTINATION:
        m_Editor.EditDestinationByDialog(GetSelectedRow());
        break;
    case MENU_DELETE_DESTINATION:
        m_Editor.DeleteSelectedDestination(GetSelectedRow());
        break;
    default:
        break;
    }
}

// ---- Reduced pane ----------------------------------------------------------------------

int TMaxViewWindow::OnPaneMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (message) {
    case WM_SETCURSOR:
        if (LOWORD(lParam) != HTCLIENT || !m_PaneCursor) return 0;
        SetCursor(m_PaneCursor);
        *result = TRUE;
        return 1;
    case WM_CAPTURECHANGED:
        if (m_Dragging && reinterpret_cast<HWND>(lParam) != m_Pane->GetHandle()) EndDrag();
        return 0;
    default:
        return TViewPanel::OnPaneMessage(message, wParam, lParam, result);
    }
}

void TMaxViewWindow::OnPaneMouse(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (GetWorkingView(m_Context.settings.displayFlags)) {
    case WorkingView::Reduced: {
        if (message == WM_MOUSEMOVE) FollowClip(MousePoint(m_Pane->GetHandle(), message, lParam));
        PaneGeometry geometry{PaneKind::Reduced, m_Context.client.GetImage().GetView(),
                              SIZE{REDUCED_WIDTH, REDUCED_HEIGHT}, POINT{0, 0}};
        m_Pane->ForwardMouse(m_Context, geometry, message, wParam, lParam);
        break;
    }
    case WorkingView::Clip:
        DragClip(message, MousePoint(m_Pane->GetHandle(), message, lParam));
        break;
    default:
        break;
    }
}

void TMaxViewWindow::PaintPane(HDC screen)
{
    RemoteView remote = m_Context.client.GetImage().GetView();
    if (m_Skin.Lock()) {
        ::BitBlt(screen, 0, 0, REDUCED_WIDTH, REDUCED_HEIGHT, m_Skin.GetReducedCanvas(), 0, 0,
                 SRCCOPY);
        m_Skin.Unlock();
    }
    RECT outline = ClipOutline(remote);
    if (!IsRectEmpty(&outline)) DrawFocusRect(screen, &outline);
}

void TMaxViewWindow::FollowClip(POINT point)
{
    RemoteView remote = m_Context.client.GetImage().GetView();
    if (remote.width <= 0 || remote.height <= 0) return;
    MoveClipTo(point);
}

void TMaxViewWindow::MoveClipTo(POINT point)
{
    TClientImage& image = m_Context.client.GetImage();
    RemoteView remote = image.GetView();
    image.SetClipOrigin(ClipCentredOn(point, remote.width, remote.height));
    PostToMain(UM_REPAINT, REPAINT_RIGHT_PANEL, 1);
    InvalidateRect(m_Pane->GetHandle(), nullptr, FALSE);
}

void TMaxViewWindow::DragClip(UINT message, POINT point)
{
    RECT outline = ClipOutline(m_Context.client.GetImage().GetView());
    bool inside = PtInRect(&outline, point) != 0;
    switch (message) {
    case WM_MOUSEMOVE:
        if (m_Dragging)
            MoveClipTo(point);
        else
            ShowPaneCursor(inside ? m_Skin.GetHoverCursor() : nullptr);
        break;
    case WM_LBUTTONDOWN:
        if (!inside) break;
        m_Pane->ConfineToPane();
        ShowPaneCursor(m_Skin.GetDragCursor());
        m_Dragging = true;
        break;
    case WM_LBUTTONUP:
        if (m_Dragging) EndDrag();
        break;
    default:
        break;
    }
}

void TMaxViewWindow::EndDrag()
{
    m_Dragging = false;
    m_Pane->Free();
    ShowPaneCursor(m_Skin.GetHoverCursor());
}

void TMaxViewWindow::ShowPaneCursor(HCURSOR cursor)
{
    m_PaneCursor = cursor;
    SetCursor(cursor ? cursor : LoadCursorA(nullptr, IDC_ARROW));
}
