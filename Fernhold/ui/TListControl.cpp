// List controls of the panels.
#include "ui/TListControl.h"

#include <Keelwork/TobjectBase.h>

namespace {
// Report view, single selection, selection always shown, label editing, no sorting
// header; a hidden child that clips its siblings and children.
constexpr DWORD LIST_STYLE = 0x4600820D;
// Full-row selection and flat scroll bars.
constexpr DWORD LIST_EX_STYLE = LVS_EX_FULLROWSELECT | LVS_EX_FLATSB;

COLORREF PerChannel(COLORREF colour, int (*channel)(int))
{
    return RGB(channel(GetRValue(colour)), channel(GetGValue(colour)), channel(GetBValue(colour)));
}
} // namespace

ListColours WorkspaceListColours(COLORREF workspace)
{
    return ListColours{PerChannel(workspace, [](int c) { return (c + 170) / 2; }),
                       PerChannel(workspace, [](int c) { return (c * 192 + 10880) / 256; })};
}

int TListControl::Create(HWND parent, int id, const RECT& rect, const ListColumn* columns,
                         int count)
{
    HINSTANCE module = TobjectBase::m_hInst ? TobjectBase::m_hInst : GetModuleHandleA(nullptr);
    m_List = CreateWindowExA(0, WC_LISTVIEWA, "", LIST_STYLE, rect.left, rect.top,
                             rect.right - rect.left, rect.bottom - rect.top, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module, nullptr);
    if (!m_List) return 0;
    SendMessageA(m_List, LVM_SETEXTENDEDLISTVIEWSTYLE, LIST_EX_STYLE, LIST_EX_STYLE);
    m_Columns = count < MAX_COLUMNS ? count : MAX_COLUMNS;
    for (int i = 0; i < m_Columns; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<char*>(columns[i].text);
        column.cx = columns[i].width;
        SendMessageA(m_List, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    ApplyWorkspaceColours();
    return 1;
}

void TListControl::ApplyWorkspaceColours()
{
    ListColours colours = WorkspaceListColours(GetSysColor(COLOR_APPWORKSPACE));
    SendMessageA(m_List, LVM_SETBKCOLOR, 0, colours.background);
    SendMessageA(m_List, LVM_SETTEXTBKCOLOR, 0, colours.textBackground);
    InvalidateRect(m_List, nullptr, TRUE);
}

void TListControl::SetIcons(HIMAGELIST icons)
{
    SendMessageA(m_List, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(icons));
}

int TListControl::GetRowCount() const
{
    return static_cast<int>(SendMessageA(m_List, LVM_GETITEMCOUNT, 0, 0));
}

void TListControl::KeepRows(int count)
{
    for (int row = GetRowCount() - 1; row >= count; --row)
        SendMessageA(m_List, LVM_DELETEITEM, row, 0);
}

void TListControl::SetRow(int row, const char* const* texts, int icon)
{
    LVITEMA item{};
    item.mask = LVIF_TEXT | (icon >= 0 ? LVIF_IMAGE : 0);
    item.iItem = row;
    item.pszText = const_cast<char*>(texts[0]);
    item.iImage = icon;
    UINT first = row < GetRowCount() ? LVM_SETITEMA : LVM_INSERTITEMA;
    SendMessageA(m_List, first, 0, reinterpret_cast<LPARAM>(&item));
    for (int column = 1; column < m_Columns; ++column) {
        LVITEMA sub{};
        sub.iSubItem = column;
        sub.pszText = const_cast<char*>(texts[column]);
        SendMessageA(m_List, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&sub));
    }
}

int TListControl::GetSelectedRow() const
{
    return static_cast<int>(
        SendMessageA(m_List, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}
