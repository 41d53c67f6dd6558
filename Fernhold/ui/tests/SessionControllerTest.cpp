// The session controller without a window: every connection step in every state, the
// rights check before a connect, the hook and frame timer a connection runs, the timers'
// meaning and quitting.
#include "ui/TSessionController.h"

#include "net/NetMessages.h"
#include "ui/RightsCheck.h"
#include "ui/TAppShell.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// What the controller did: told the window a stage, or posted to an engine thread.
struct Posted {
    bool toWindow;
    UINT message;
    WPARAM wParam;
    bool operator==(const Posted& other) const
    {
        return toWindow == other.toWindow && message == other.message && wParam == other.wParam;
    }
};

std::ostream& operator<<(std::ostream& out, const Posted& posted)
{
    return out << (posted.toWindow ? "window " : "thread ") << std::hex << posted.message << "/"
               << posted.wParam;
}

const Posted UI_IDLE{true, UM_UI_STATE, UI_STATE_IDLE};
const Posted UI_CONNECTING{true, UM_UI_STATE, UI_STATE_CONNECTING};
const Posted UI_CONNECTED{true, UM_UI_STATE, UI_STATE_CONNECTED};
const Posted UI_DISCONNECTED{true, UM_UI_STATE, UI_STATE_DISCONNECTED};
const Posted DISCONNECT{false, TM_DISCONNECT, 0};
Posted ConnectTo(WPARAM index) { return Posted{false, TM_CONNECT, index}; }

// Window, engines and shell in one recorder.
class Recorder : public TSessionWindow, public TSessionEngines, public TAppShell {
public:
    void TellUiStage(WPARAM stage) override { posted.push_back({true, UM_UI_STATE, stage}); }
    int AskAdministrator() override
    {
        ++administratorAsked;
        if (duringAdministrator) {
            auto once = duringAdministrator;
            duringAdministrator = nullptr;
            once();
        }
        return administratorAnswer;
    }
    void StartFrameTimer(UINT intervalMs) override { frameTimer = intervalMs; }
    void StopFrameTimer() override { frameTimer = 0; }
    void TakeFocus() override { ++focusTaken; }
    int ConfirmQuit() override { return quitAnswer; }
    void PostToClient(UINT message, WPARAM wParam) override
    {
        posted.push_back({false, message, wParam});
    }
    void PostToServer(UINT message) override { serverPosts.push_back(message); }
    TEventLink* GetEventLink() const override { return nullptr; }
    const TClientLink* GetImageLink() const override { return nullptr; }
    uint32_t GetRights() const override { return rights; }
    void SetScreenSize(int, int) override {}
    void ShutDown() override { ++shutDowns; }
    void SetUpdatePending(int) override {}

    std::vector<Posted> Take()
    {
        std::vector<Posted> taken;
        taken.swap(posted);
        return taken;
    }

    std::vector<Posted> posted;
    std::vector<UINT> serverPosts;
    uint32_t rights = RIGHTS_NOT_IN_USE;
    int administratorAsked = 0;
    int administratorAnswer = 0;
    std::function<void()> duringAdministrator;
    UINT frameTimer = 0;
    int focusTaken = 0;
    int quitAnswer = 1;
    int shutDowns = 0;
};

class SessionControllerTest : public ::testing::Test {
protected:
    void SetState(uint32_t state)
    {
        m_Settings.displayFlags = WithConnectionState(m_Settings.displayFlags.load(), state);
    }
    void Event(WPARAM event, LPARAM lParam = 0) { m_Controller.OnConnectEvent(event, lParam); }
    bool HookInstalled() const { return m_Controller.GetKeyboardHook().IsInstalled() != 0; }
    // Takes the controller from idle to state through the real steps, so the hook and
    // the frame timer are what those steps left; forgets what they posted.
    void Reach(uint32_t state)
    {
        // As the engine ends a session: the disconnect step, then step 0.
        Event(4);
        Event(0);
        if (state != CONNECTION_IDLE) Event(1, 0);
        if (state == CONNECTION_CONNECTED || state == CONNECTION_PAUSED) Event(2);
        if (state == CONNECTION_PAUSED) Event(3);
        if (state == CONNECTION_DISCONNECTING) Event(4);
        ASSERT_EQ(m_Controller.GetConnectionState(), state);
        m_Fake.Take();
    }

    TFernSettings m_Settings;
    Recorder m_Fake;
    TSessionController m_Controller{m_Settings, m_Fake, m_Fake, m_Fake};
};

TEST_F(SessionControllerTest, EveryEventInEveryState)
{
    struct Case {
        uint32_t state;
        WPARAM event;
        LPARAM lParam;
        uint32_t after;
        std::vector<Posted> posted;
    };
    const uint32_t IDLE = CONNECTION_IDLE, CONNECTING = CONNECTION_CONNECTING,
                   CONNECTED = CONNECTION_CONNECTED, PAUSED = CONNECTION_PAUSED,
                   DISCONNECTING = CONNECTION_DISCONNECTING;
    const Case cases[] = {
        {IDLE, 0, 0, IDLE, {UI_IDLE}},
        {IDLE, 1, 3, CONNECTING, {ConnectTo(3), UI_CONNECTING}},
        {IDLE, 1, -1, IDLE, {}},
        {IDLE, 2, 0, IDLE, {}},
        {IDLE, 3, 0, IDLE, {}},
        {IDLE, 4, 0, IDLE, {}},
        {IDLE, 5, 0, IDLE, {}},
        {CONNECTING, 0, 0, IDLE, {UI_IDLE}},
        {CONNECTING, 1, 2, CONNECTING, {}},
        {CONNECTING, 2, 0, CONNECTED, {UI_CONNECTED}},
        {CONNECTING, 3, 0, CONNECTING, {}},
        {CONNECTING, 4, 0, DISCONNECTING, {DISCONNECT, UI_DISCONNECTED}},
        {CONNECTED, 1, 2, CONNECTED, {}},
        {CONNECTED, 2, 0, CONNECTED, {}},
        {CONNECTED, 3, 0, PAUSED, {}},
        {CONNECTED, 4, 0, DISCONNECTING, {DISCONNECT, UI_DISCONNECTED}},
        {PAUSED, 1, 5, CONNECTED, {}},
        {PAUSED, 1, -1, CONNECTED, {}},
        {PAUSED, 2, 0, PAUSED, {}},
        {PAUSED, 3, 0, PAUSED, {}},
        {PAUSED, 4, 0, DISCONNECTING, {DISCONNECT, UI_DISCONNECTED}},
        {DISCONNECTING, 1, 0, DISCONNECTING, {}},
        {DISCONNECTING, 2, 0, DISCONNECTING, {}},
        {DISCONNECTING, 3, 0, DISCONNECTING, {}},
        {DISCONNECTING, 4, 0, DISCONNECTING, {}},
        {DISCONNECTING, 0, 0, IDLE, {UI_IDLE}},
    };
    m_Settings.viewTimerInterval = 120;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "state " << c.state << " event " << c.event);
        Reach(c.state);
        Event(c.event, c.lParam);

        EXPECT_EQ(m_Controller.GetConnectionState(), c.after);
        EXPECT_EQ(m_Settings.displayFlags.load() & ~CONNECTION_STATE_MASK, 0x13u);
        EXPECT_EQ(m_Fake.Take(), c.posted);
        // The hook and the frame timer run exactly while a connection is up.
        bool up = c.after == CONNECTED || c.after == PAUSED;
        EXPECT_EQ(HookInstalled(), up);
        EXPECT_EQ(m_Fake.frameTimer, up ? 120u : 0u);
        EXPECT_EQ(m_Fake.administratorAsked, 0);
    }
    // Connecting took the keyboard focus each time it came up, never twice for one.
    EXPECT_EQ(m_Fake.focusTaken, 10);
}

TEST_F(SessionControllerTest, ConnectNeedsTheConnectRightOrTheAdministrator)
{
    struct Case {
        uint32_t rights;
        int answer;
        int asked;
        bool connects;
    };
    const Case cases[] = {
        {RIGHTS_NOT_IN_USE, 0, 0, true},
        {RIGHT_CONNECT, 0, 0, true},
        {0x3FD, 0, 1, false}, // every right but connecting; the administrator refuses
        {0x3FD, 1, 1, true},
        {0, 2, 1, false}, // only an answer of 1 counts
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << c.rights << " answer " << c.answer);
        Reach(CONNECTION_IDLE);
        m_Fake.rights = c.rights;
        m_Fake.administratorAsked = 0;
        m_Fake.administratorAnswer = c.answer;
        Event(CONNECT_EVENT_CONNECT, 4);
        EXPECT_EQ(m_Fake.administratorAsked, c.asked);
        EXPECT_EQ(m_Controller.GetConnectionState(),
                  c.connects ? CONNECTION_CONNECTING : CONNECTION_IDLE);
        std::vector<Posted> expected;
        if (c.connects) expected = {ConnectTo(4), UI_CONNECTING};
        EXPECT_EQ(m_Fake.Take(), expected);
    }
    // A paused connection resumes without asking.
    m_Fake.rights = RIGHTS_NOT_IN_USE;
    Reach(CONNECTION_PAUSED);
    m_Fake.rights = 0;
    m_Fake.administratorAsked = 0;
    Event(CONNECT_EVENT_CONNECT, 4);
    EXPECT_EQ(m_Fake.administratorAsked, 0);
    EXPECT_EQ(m_Controller.GetConnectionState(), CONNECTION_CONNECTED);
}

TEST_F(SessionControllerTest, AConnectDuringTheAdministratorDialogConnectsOnce)
{
    // The dialog's own message loop lets a second connect in before the first goes on.
    m_Fake.rights = 0x3FD;
    m_Fake.administratorAnswer = 1;
    m_Fake.duringAdministrator = [this] { Event(CONNECT_EVENT_CONNECT, 7); };
    Event(CONNECT_EVENT_CONNECT, 3);
    EXPECT_EQ(m_Controller.GetConnectionState(), CONNECTION_CONNECTING);
    std::vector<Posted> expected = {ConnectTo(7), UI_CONNECTING};
    EXPECT_EQ(m_Fake.Take(), expected);
}

TEST_F(SessionControllerTest, TimersQuittingAndTheWindowsEnd)
{
    // Timer 1: listener refresh to the server, search tick to the client; the frame
    // timer without an image link asks nothing.
    m_Controller.OnTimer(TIMER_REFRESH);
    m_Controller.OnTimer(TIMER_FRAME);
    EXPECT_EQ(m_Fake.serverPosts, std::vector<UINT>{TM_REFRESH_LISTENERS});
    EXPECT_EQ(m_Fake.Take(), (std::vector<Posted>{{false, TM_SEARCH_TICK, 0}}));
    m_Controller.OnResetSearch();
    EXPECT_EQ(m_Fake.Take(), (std::vector<Posted>{{false, TM_RESET_SEARCH, 0}}));

    // Quitting asks; No keeps the program, anything else shuts it down.
    m_Fake.quitAnswer = 0;
    m_Controller.OnQuitRequest();
    EXPECT_EQ(m_Fake.shutDowns, 0);
    m_Fake.quitAnswer = 1;
    m_Controller.OnQuitRequest();
    EXPECT_EQ(m_Fake.shutDowns, 1);
    m_Controller.OnEndSession();
    EXPECT_EQ(m_Fake.shutDowns, 2);

    // A window destroyed while connected leaves no hook and no frame timer behind.
    Reach(CONNECTION_CONNECTED);
    ASSERT_TRUE(HookInstalled());
    m_Controller.OnWindowDestroyed();
    EXPECT_FALSE(HookInstalled());
    EXPECT_EQ(m_Fake.frameTimer, 0u);
}

} // namespace
