// Status line: priorities and the highlight countdown.
#include "ui/TStatusLine.h"

#include <cstring>

namespace {
constexpr uint32_t PRIORITY_RESET = 0xFFFFFFFF;
constexpr int HIGHLIGHT_TICKS = 5;
} // namespace

int TStatusLine::SetText(const char* text, uint32_t priority)
{
    if (priority == PRIORITY_RESET) {
        m_Priority = 0;
    } else if (priority < m_Priority) {
        return 0;
    } else {
        m_Priority = priority;
    }
    if (!text) text = "";
    if (std::strcmp(text, static_cast<const char*>(m_Text)) == 0) return 0;
    m_Text = TString(text);
    m_Countdown = HIGHLIGHT_TICKS;
    return 1;
}

int TStatusLine::Tick()
{
    if (m_Countdown == 1 && m_Text.Len() == 0) {
        m_Countdown = 0;
        return 1;
    }
    if (m_Countdown > 1) --m_Countdown;
    return 0;
}
