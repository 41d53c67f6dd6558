// The report-view list controls of the two panels: creation with their columns, the
// workspace-derived colours, and rows of texts with an optional icon.
#pragma once

#include <windows.h>

#include <commctrl.h>

struct ListColumn {
    const char* text;
    int width;
};

// The list's colours derived from the system's application-workspace colour, channel by
// channel: background (c + 170) / 2, text background (c * 192 + 10880) / 256.
struct ListColours {
    COLORREF background;
    COLORREF textBackground;
};
ListColours WorkspaceListColours(COLORREF workspace);

// A "SysListView32" child, created hidden: report view, single selection always shown,
// label editing, no sorting header, full-row selection and flat scroll bars. The control
// belongs to its parent window and goes with it; an image list given to it goes with the
// control. Main thread.
class TListControl {
public:
    static constexpr int MAX_COLUMNS = 3;

    // 1 on success.
    int Create(HWND parent, int id, const RECT& rect, const ListColumn* columns, int count);
    HWND GetHandle() const { return m_List; }

    // Takes the colours from COLOR_APPWORKSPACE again (creation, colour changes).
    void ApplyWorkspaceColours();
    // The small-icon image list, owned by the control from now on.
    void SetIcons(HIMAGELIST icons);

    int GetRowCount() const;
    // Deletes every row from count on.
    void KeepRows(int count);
    // Row row (at most GetRowCount(): one past the end inserts) takes one text per
    // column and, with icon not negative, that icon.
    void SetRow(int row, const char* const* texts, int icon);
    // The selected row, -1 when none.
    int GetSelectedRow() const;

private:
    HWND m_List = nullptr;
    int m_Columns = 0;
};
