// The main window's title bar: the caption art with its gradient, minimise and close, the system
// menu, dragging.
#pragma once

#include "ui/TButtonBoard.h"
#include "ui/TSkinWindow.h"

// What the hit map names at a point of the title bar.
enum class TitlebarHit { Nothing, Minimise, Close, SystemMenu, Drag };

// The menu window is its child. Where the hit map is pure blue the title bar lets the
// mouse through to the main window, which drags. Main thread.
class TTitlebarWindow : public TSkinWindow {
public:
    explicit TTitlebarWindow(TUiContext& context) : TSkinWindow(context, CANVAS_TITLEBAR) {}

    int Create(HWND parent);

protected:
    void Compose(TMemDC& canvas) override;
    int OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    // Nothing outside the hit map, without one, and while the skin is suspended.
    TitlebarHit HitAt(POINT client);
    void OnMouse(UINT message, POINT client);
    void RunButton(int button);
    // The main window's system menu below the spot, only minimise and close usable; the
    // command chosen goes to the main window as WM_SYSCOMMAND.
    void ShowSystemMenu();

    // Button 1 minimise, button 2 close.
    TButtonBoard m_Buttons{1};
};
