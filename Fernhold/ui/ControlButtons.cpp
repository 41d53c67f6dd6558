// Control buttons: the table and their composition from the button and overlay sheets.
#include "ui/ControlButtons.h"

#include "ui/ConnectionState.h"
#include "ui/ControlActions.h"

namespace {
constexpr int LOOK_ROWS = 17; // normal, hover and pressed lie one under the other

bool IsOn(const ControlButton& b, uint32_t flags)
{
    uint32_t state = GetConnectionState(flags);
    switch (b.group) {
    case GROUP_VIEW:
        return (flags & VIEW_MASK) == (VIEW_REDUCED << (b.button - 1));
    case GROUP_SESSION:
        if (b.button == 1) return state == CONNECTION_CONNECTED || state == CONNECTION_PAUSED;
        if (b.button == 2) return state == CONNECTION_CONNECTED;
        return state == CONNECTION_IDLE || state == CONNECTION_PAUSED;
    case GROUP_EVENTS:
        return (flags & (b.button == 1 ? DISPLAY_SEND_MOUSE : DISPLAY_SEND_KEYBOARD)) != 0;
    default:
        return (flags & DISPLAY_FIT_TO_WINDOW) != 0;
    }
}
} // namespace

const ControlButton CONTROL_BUTTONS[CONTROL_BUTTON_COUNT] = {
    {GROUP_VIEW,
     1,
     {8, 3, 28, 14},
     {110, 4, 130, 15},
     0,
     0,
     RGB(100, 0, 0),
     "縮小全体画面表示ウィンドウで作業をします。"},
    {GROUP_VIEW,
     2,
     {30, 3, 50, 14},
     {132, 4, 152, 15},
     20,
     20,
     RGB(0, 100, 0),
     "原寸範囲画面表示ウィンドウで作業をします。"},
    {GROUP_VIEW,
     3,
     {55, 3, 78, 14},
     {157, 4, 180, 15},
     40,
     40,
     RGB(0, 0, 100),
     "原寸全体画面表示ウィンドウで作業します。( 別ウィンドウが開きます。 )"},
    {GROUP_SESSION,
     1,
     {89, 3, 109, 14},
     {196, 4, 216, 15},
     63,
     63,
     RGB(255, 0, 0),
     "接続中の場合、接続を終了します。"},
    {GROUP_SESSION,
     2,
     {112, 3, 134, 14},
     {218, 4, 240, 15},
     83,
     83,
     RGB(0, 255, 0),
     "接続中の場合、接続を維持しつつ全ての通信を一時停止します。"},
    {GROUP_SESSION,
     3,
     {112, 3, 184, 14},
     {218, 4, 290, 15},
     105,
     105,
     RGB(0, 0, 255),
     "選択しているコンピュータに接続します。"},
    {GROUP_EVENTS,
     1,
     {8, 20, 85, 37},
     {59, 1, 76, 18},
     177,
     331,
     RGB(200, 0, 0),
     "マウスイベントを送信するか否かを設定します。( ON で送信します。 )"},
    {GROUP_EVENTS,
     2,
     {8, 37, 85, 54},
     {77, 1, 94, 18},
     254,
     348,
     RGB(0, 200, 0),
     "キーボードイベントを送信するか否かを設定します。( ON で送信します。)"},
    {GROUP_FIT,
     1,
     {0, 0, 0, 0},
     {12, 1, 43, 18},
     365,
     365,
     RGB(50, 0, 0),
     "表示画面をｳｨﾝﾄﾞｳｻｲｽﾞに合わせるか、または原寸表示にするかを変更します( ON "
     "でｳｨﾝﾄﾞｳｻｲｽﾞに合わせます。)"},
};

int ControlButtonAt(int group, COLORREF colour)
{
    for (const ControlButton& b : CONTROL_BUTTONS)
        if (b.group == group && b.hit == colour) return b.button;
    return 0;
}

int ControlButtonIndex(COLORREF colour, int groups)
{
    for (int i = 0; i < CONTROL_BUTTON_COUNT; ++i)
        if (CONTROL_BUTTONS[i].group <= groups && CONTROL_BUTTONS[i].hit == colour) return i;
    return -1;
}

void ComposeControlButtons(SkinStore& skin, TMemDC& canvas, ControlSurface surface,
                           const TButtonBoard& board, uint32_t displayFlags)
{
    TDIBitmap* sheet = skin.GetBitmap(CANVAS_CONTROL, 1);
    TDIBitmap* overlays = skin.GetBitmap(CANVAS_CONTROL, 2);
    bool strip = surface == ControlSurface::Strip;
    for (int pass = 0; pass < 2; ++pass) {
        for (const ControlButton& b : CONTROL_BUTTONS) {
            if (b.group > board.GetGroupCount()) continue;
            const RECT& at = strip ? b.inStrip : b.inWindow;
            int sx = strip ? b.stripSourceX : b.sourceX;
            int width = at.right - at.left, height = at.bottom - at.top;
            if (pass == 0) {
                ButtonLook look = board.GetLook(b.group, b.button);
                int row = look == ButtonLook::Pressed ? 2 * LOOK_ROWS
                          : look == ButtonLook::Hover ? LOOK_ROWS
                                                      : 0;
                canvas.BitBlt(at.left, at.top, width, height, sheet, sx, row, 2);
            } else if (IsOn(b, displayFlags)) {
                canvas.BitAlphaBlt(at.left, at.top, width, height, overlays, sx, 0, 256);
            }
        }
    }
}
