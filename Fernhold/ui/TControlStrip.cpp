// Control strip: background and buttons.
#include "ui/TControlStrip.h"

#include "net/MainWindowMessages.h"
#include "ui/TFullViewWindow.h"

int TControlStrip::Create(HWND fullView)
{
    return CreateChild(fullView, "Control Window", RECT{0, 0, 300, 18}, 501);
}

void TControlStrip::Compose(TMemDC& canvas)
{
    RECT all{0, 0, 300, 20};
    FillRect(canvas, &all, GetSysColorBrush(COLOR_BTNFACE));
    canvas.BitAlphaBlt(0, 0, 300, 20, m_Skin.GetBitmap(CANVAS_STRIP, 1), 0, 0, 256);
    ComposeButtons(canvas);
}

void TControlStrip::OnButtonsChanged() { PostToMain(UM_REPAINT, REPAINT_STRIP, 1); }

void TControlStrip::OnFitChanged()
{
    // The parent's object is bound to its window's user data by the window library.
    HWND parent = ::GetParent(GetHandle());
    auto* view = reinterpret_cast<TFullViewWindow*>(GetWindowLongPtrA(parent, GWLP_USERDATA));
    if (view) view->FitChanged();
}
