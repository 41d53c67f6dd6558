// The skinned push buttons' logic: groups of up to three two-bit buttons, which group
// holds the mouse, and which action a release runs. No window involved.
#pragma once

#include <windows.h>

#include <cstdint>

enum class ButtonLook { Normal, Hover, Pressed };

constexpr int MAX_BUTTON_GROUPS = 4;

// Groups are numbered from 1; within a group, button i (1 to 3) keeps its hover state in
// bit 2i - 2 and its pressed state in bit 2i - 1. A group holds the mouse from the first
// change of its state word until the word is 0 again, so a press that wanders off its
// button and is released elsewhere runs nothing. Main thread.
class TButtonBoard {
public:
    explicit TButtonBoard(int groups) : m_Groups(groups) {}

    // One mouse message (WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP) for group with the
    // group's button under the mouse (0 for none). Returns 1 when the group's state word
    // changed; *run is set to the button whose action must run now, else 0.
    int Handle(int group, UINT message, int button, int* run);

    // 0 when no group holds the mouse.
    int GetActiveGroup() const { return m_Active; }
    uint16_t GetState(int group) const { return m_State[group - 1]; }
    ButtonLook GetLook(int group, int button) const;
    int GetGroupCount() const { return m_Groups; }

private:
    int m_Groups;
    int m_Active = 0;
    uint16_t m_State[MAX_BUTTON_GROUPS] = {};
};

// Bits of button (1 to 3) in a state word.
constexpr uint16_t ButtonHoverBit(int button)
{
    return static_cast<uint16_t>(1u << (2 * button - 2));
}
constexpr uint16_t ButtonPressedBit(int button)
{
    return static_cast<uint16_t>(1u << (2 * button - 1));
}
