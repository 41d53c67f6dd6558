// Button groups: hover, press, release and which group holds the mouse.
#include "ui/TButtonBoard.h"

int TButtonBoard::Handle(int group, UINT message, int button, int* run)
{
    *run = 0;
    if (group < 1 || group > m_Groups) return 0;
    if (m_Active != 0 && m_Active != group) return 0;
    uint16_t& state = m_State[group - 1];
    uint16_t before = state;
    switch (message) {
    case WM_MOUSEMOVE:
        state &= 0xAAAA;
        if (button) state |= ButtonHoverBit(button);
        break;
    case WM_LBUTTONDOWN:
        if (button) state |= ButtonPressedBit(button);
        break;
    case WM_LBUTTONUP:
        if (button && (state & ButtonPressedBit(button))) *run = button;
        state = 0;
        break;
    default:
        return 0;
    }
    if (state == before) return 0;
    m_Active = state ? group : 0;
    return 1;
}

ButtonLook TButtonBoard::GetLook(int group, int button) const
{
    uint16_t state = GetState(group);
    bool hover = (state & ButtonHoverBit(button)) != 0;
    bool pressed = (state & ButtonPressedBit(button)) != 0;
    if (hover && pressed) return ButtonLook::Pressed;
    return hover ? ButtonLook::Hover : ButtonLook::Normal;
}
