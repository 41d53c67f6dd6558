// What the state window shows: the one status text, which texts may replace it, and how
// long the line stays highlighted after it changed. No window involved.
#pragma once

#include <Keelwork/TString.h>

#include <cstdint>

// A text comes with a priority: one below the current priority is refused, any other
// becomes the current one; STATUS_PRIORITY_RESET (0xFFFFFFFF) lets the text in and drops
// the current priority back to 0. Hover texts come with 0, so a higher text stays until
// a reset. Main thread.
class TStatusLine {
public:
    // Returns 1 when the text shown changed (the line is highlighted again).
    int SetText(const char* text, uint32_t priority);
    // One tick of the state window's second timer; 1 when the highlight just ended.
    // The highlight ends only once the line is empty, four to five ticks after it changed.
    int Tick();

    const TString& GetText() const { return m_Text; }
    int IsHighlighted() const { return m_Countdown > 0; }
    uint32_t GetPriority() const { return m_Priority; }

private:
    TString m_Text{""};
    int m_Countdown = 0;
    uint32_t m_Priority = 0;
};
