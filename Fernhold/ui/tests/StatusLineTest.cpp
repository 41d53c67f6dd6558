// The status line: which texts replace the one shown, the highlight after a change, and
// the state window showing it on the screen while the person hovers other controls.
#include "ui/TStatusLine.h"

#include "net/MainWindowMessages.h"
#include "net/tests/NetTestSupport.h"
#include "ui/tests/WindowHarness.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr uint32_t RESET = 0xFFFFFFFF;

TEST(StatusLineTest, ATextBelowTheCurrentPriorityWaitsForAReset)
{
    struct Step {
        const char* text;
        uint32_t priority;
        int changed;
        const char* shown;
        uint32_t priorityAfter;
    };
    const Step steps[] = {
        {"hover", 0, 1, "hover", 0},
        {"engine", 5, 1, "engine", 5},
        {"hover again", 0, 0, "engine", 5}, // lower: refused
        {"engine 2", 5, 1, "engine 2", 5},  // equal: shown
        {"engine 2", 7, 0, "engine 2", 7},  // same text: the priority still rises
        {"engine 3", 6, 0, "engine 2", 7},
        {"", RESET, 1, "", 0}, // a reset is always shown
        {"hover", 0, 1, "hover", 0},
        {nullptr, 0, 1, "", 0}, // no text is the empty text
        {nullptr, 0, 0, "", 0},
        {"late", RESET, 1, "late", 0},
    };
    TStatusLine line;
    for (const Step& step : steps) {
        SCOPED_TRACE(::testing::Message()
                     << (step.text ? step.text : "(null)") << " / " << step.priority);
        EXPECT_EQ(line.SetText(step.text, step.priority), step.changed);
        EXPECT_STREQ(static_cast<const char*>(line.GetText()), step.shown);
        EXPECT_EQ(line.GetPriority(), step.priorityAfter);
    }
}

TEST(StatusLineTest, TheHighlightEndsFiveTicksAfterTheLineWasEmptied)
{
    TStatusLine line;
    EXPECT_FALSE(line.IsHighlighted());
    EXPECT_EQ(line.Tick(), 0);
    line.SetText("shown", 0);
    for (int tick = 0; tick < 10; ++tick)
        EXPECT_EQ(line.Tick(), 0);
    EXPECT_TRUE(line.IsHighlighted()); // a text stays highlighted while it is shown
    line.SetText("", 0);
    for (int tick = 0; tick < 4; ++tick) {
        EXPECT_EQ(line.Tick(), 0);
        EXPECT_TRUE(line.IsHighlighted());
    }
    EXPECT_EQ(line.Tick(), 1);
    EXPECT_FALSE(line.IsHighlighted());
    EXPECT_EQ(line.Tick(), 0);
}

// The line's text region and the highlight's corner, as the screen shows them.
const RECT TEXT_REGION{24, 2, 360, 22};
const POINT HIGHLIGHT_CORNER{630, 2};

TEST_F(WindowTest, StateWindowKeepsAHigherTextOverHoverTextsUntilAReset)
{
    HWND state = harness->State();
    auto region = [&] {
        RECT r = TEXT_REGION;
        MapWindowPoints(state, nullptr, reinterpret_cast<POINT*>(&r), 2);
        return TScreenShot(r);
    };
    auto corner = [&] { return TScreenShot(ClientOnScreen(state)).At(HIGHLIGHT_CORNER); };
    ASSERT_TRUE(region().IsAll(fixture::STATE_PLAIN));

    static const char engineText[] = "接続しています・・・";
    PostMessageA(harness->Main(), UM_STATUS_TEXT, reinterpret_cast<WPARAM>(engineText), 5);
    ASSERT_TRUE(PumpUntil(
        [&] {
            return corner() == fixture::STATE_HIGHLIGHT &&
                   !region().IsAll(fixture::STATE_HIGHLIGHT);
        },
        5000));
    const TScreenShot engine = region();

    // The person hovers the minimise button: its text comes with priority 0.
    bool hovered = false;
    EXPECT_TRUE(RunAsPerson(
        [&] {
            person.MoveTo(TWindowHarness::OnScreen(harness->Titlebar(), fixture::MINIMISE_BUTTON));
            hovered = WaitFor(
                [&] { return harness->LastStatusText().find("最小化") != std::string::npos; },
                5000);
        },
        20000));
    ASSERT_TRUE(hovered);
    PumpUntil([] { return false; }, 300); // the text had its chance to show
    EXPECT_TRUE(region() == engine);
    EXPECT_STREQ(static_cast<const char*>(harness->StateWindow().GetStatusLine().GetText()),
                 engineText);

    // A reset empties the line; the highlight goes some seconds later, on the screen too.
    PostMessageA(harness->Main(), UM_STATUS_TEXT, reinterpret_cast<WPARAM>(""),
                 STATUS_PRIORITY_RESET);
    EXPECT_TRUE(PumpUntil([&] { return region().IsAll(fixture::STATE_HIGHLIGHT); }, 5000));
    EXPECT_TRUE(PumpUntil([&] { return region().IsAll(fixture::STATE_PLAIN); }, 8000));

    // Now the hover text shows.
    EXPECT_TRUE(RunAsPerson(
        [&] {
            person.MoveTo(TWindowHarness::OnScreen(harness->Titlebar(), fixture::DRAG_AREA));
            person.MoveTo(TWindowHarness::OnScreen(harness->Titlebar(), fixture::CLOSE_BUTTON));
        },
        20000));
    EXPECT_TRUE(PumpUntil(
        [&] {
            TScreenShot now = region();
            return !now.IsAll(fixture::STATE_HIGHLIGHT) && now != engine;
        },
        5000));
}

} // namespace
