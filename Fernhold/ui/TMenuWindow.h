// The main window's menu bar: four menu titles and their owner-drawn pop-up menus.
#pragma once

#include "ui/MenuItems.h"
#include "ui/TButtonBoard.h"
#include "ui/TSkinWindow.h"

// A child of the title bar. Its pop-ups are tracked with this window as owner, so their
// measuring, drawing, idle time and chosen commands arrive here. Main thread.
class TMenuWindow : public TSkinWindow, private TMenuCommandTarget {
public:
    explicit TMenuWindow(TUiContext& context);
    ~TMenuWindow() override;

    int Create(HWND parent);

protected:
    void Compose(TMemDC& canvas) override;
    int OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    void OnMouse(UINT message, LPARAM lParam);
    void ReleasedOnTitle(int title);
    void OpenPopup(int title);
    // WM_ENTERIDLE of an open pop-up: the cursor on another title switches to its pop-up.
    void SwitchToTitleUnderCursor();
    void OnExitMenuLoop();
    void MeasureItem(MEASUREITEMSTRUCT& item) const;
    void DrawItem(const DRAWITEMSTRUCT& item);
    // Composes an item's background, icon and label at 0, 0 of dc (item-sized).
    void ComposeItem(HDC dc, const DRAWITEMSTRUCT& item, int width, int height);
    // The destination list's selected row and its search state (none while no list).
    MenuSelection GetSelection() const;

    void PostToMain(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostToClient(UINT message) override;
    void ShowHelp() override;

    TButtonBoard m_Titles{1};
    // The title whose pop-up is open, 0 for none.
    int m_OpenMenu = 0;
    HMENU m_Popups[MENU_TITLE_COUNT] = {};
    // Item backgrounds are composed at this size and stretched over the item.
    TMemDC m_ItemCanvas;
};
