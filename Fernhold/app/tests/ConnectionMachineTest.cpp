// The connection steps: every event in every state, the rights check before a connect,
// and the frame timer that a connection runs.
#include "app/TConnectionMachine.h"

#include "app/TUserInfo.h"
#include "app/UserRights.h"
#include "net/MainWindowMessages.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// What the steps posted: to the main window (UM_UI_STATE) or to the client thread.
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

// The administrator check as the main window answers it.
int g_AuthenticateCalls = 0;
LRESULT g_AuthenticateAnswer = 0;
std::function<void()> g_DuringAuthentication;

LRESULT AnswerAuthenticate(HWND)
{
    ++g_AuthenticateCalls;
    if (g_DuringAuthentication) g_DuringAuthentication();
    return g_AuthenticateAnswer;
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == UM_AUTHENTICATE) return RunAuthenticateHandler(reinterpret_cast<HWND>(wParam));
    return DefWindowProcA(window, message, wParam, lParam);
}

TEventLink* NoLink(void*) { return nullptr; }

class ConnectionMachineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = MainProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "FernMachineTestWnd";
        RegisterClassA(&windowClass);
        m_Window = CreateWindowExA(0, "FernMachineTestWnd", "main", WS_POPUP, 0, 0, 10, 10, nullptr,
                                   nullptr, windowClass.hInstance, nullptr);
        ASSERT_NE(m_Window, nullptr);
        m_Previous = SetAuthenticateHandler(AnswerAuthenticate);
        g_AuthenticateCalls = 0;
        g_AuthenticateAnswer = 0;
        g_DuringAuthentication = nullptr;
        TakePosted();
    }
    void TearDown() override
    {
        SetAuthenticateHandler(m_Previous);
        g_DuringAuthentication = nullptr;
        DestroyWindow(m_Window);
        UnregisterClassA("FernMachineTestWnd", GetModuleHandleA(nullptr));
    }

    void SetState(uint32_t state)
    {
        m_Settings.displayFlags = WithConnectionState(m_Settings.displayFlags.load(), state);
    }
    void Event(WPARAM event, LPARAM lParam = 0, uint32_t rights = RIGHTS_NOT_IN_USE)
    {
        m_Machine.OnEvent(m_Window, GetCurrentThreadId(), rights, event, lParam);
    }
    // Everything the steps posted so far, in order; timer ticks are left out.
    std::vector<Posted> TakePosted()
    {
        std::vector<Posted> posted;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == UM_UI_STATE || message.message == TM_CONNECT ||
                message.message == TM_DISCONNECT)
                posted.push_back(Posted{message.hwnd != nullptr, message.message, message.wParam});
        }
        return posted;
    }
    // True when the frame timer was running; it is stopped afterwards.
    bool TakeFrameTimer() { return KillTimer(m_Window, TIMER_FRAME) != 0; }

    HWND m_Window = nullptr;
    AuthenticateHandler m_Previous = nullptr;
    TFernSettings m_Settings;
    TKeyboardHook m_Hook{m_Settings, NoLink, nullptr};
    TConnectionMachine m_Machine{m_Settings, m_Hook};
};

TEST_F(ConnectionMachineTest, EveryEventInEveryState)
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
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "state " << c.state << " event " << c.event);
        SetState(c.state);
        // A connection that is up runs the hook and the frame timer, as event 2 left them.
        bool up = c.state == CONNECTED || c.state == PAUSED;
        if (up) {
            ASSERT_EQ(m_Hook.Install(), 1);
            SetTimer(m_Window, TIMER_FRAME, 60000, nullptr);
        }
        Event(c.event, c.lParam);

        EXPECT_EQ(m_Machine.GetState(), c.after);
        EXPECT_EQ(m_Settings.displayFlags.load() & ~CONNECTION_STATE_MASK, 0x13u);
        EXPECT_EQ(TakePosted(), c.posted);
        bool upAfter = c.after == CONNECTED || c.after == PAUSED;
        EXPECT_EQ(m_Hook.IsInstalled(), upAfter ? 1 : 0);
        EXPECT_EQ(TakeFrameTimer(), upAfter);
        m_Hook.Remove();
        EXPECT_EQ(g_AuthenticateCalls, 0);
    }
}

TEST_F(ConnectionMachineTest, ConnectNeedsTheConnectRightOrTheAdministrator)
{
    struct Case {
        uint32_t rights;
        LRESULT answer;
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
        SetState(CONNECTION_IDLE);
        g_AuthenticateCalls = 0;
        g_AuthenticateAnswer = c.answer;
        Event(CONNECT_EVENT_CONNECT, 4, c.rights);
        EXPECT_EQ(g_AuthenticateCalls, c.asked);
        EXPECT_EQ(m_Machine.GetState(), c.connects ? CONNECTION_CONNECTING : CONNECTION_IDLE);
        std::vector<Posted> expected;
        if (c.connects) expected = {ConnectTo(4), UI_CONNECTING};
        EXPECT_EQ(TakePosted(), expected);
    }
    // A paused connection resumes without asking.
    SetState(CONNECTION_PAUSED);
    g_AuthenticateCalls = 0;
    Event(CONNECT_EVENT_CONNECT, 4, 0);
    EXPECT_EQ(g_AuthenticateCalls, 0);
    EXPECT_EQ(m_Machine.GetState(), CONNECTION_CONNECTED);
}

TEST_F(ConnectionMachineTest, AConnectDuringTheAdministratorDialogConnectsOnce)
{
    // The dialog's own message loop lets a second connect in before the first goes on.
    g_AuthenticateAnswer = 1;
    g_DuringAuthentication = [this] {
        g_DuringAuthentication = nullptr;
        Event(CONNECT_EVENT_CONNECT, 7, 0x3FD);
    };
    SetState(CONNECTION_IDLE);
    Event(CONNECT_EVENT_CONNECT, 3, 0x3FD);
    EXPECT_EQ(m_Machine.GetState(), CONNECTION_CONNECTING);
    std::vector<Posted> expected = {ConnectTo(7), UI_CONNECTING};
    EXPECT_EQ(TakePosted(), expected);
}

TEST_F(ConnectionMachineTest, AConnectionRunsTheFrameTimerAtTheViewInterval)
{
    m_Settings.viewTimerInterval = 40;
    SetState(CONNECTION_IDLE);
    Event(CONNECT_EVENT_CONNECT, 0);
    Event(CONNECT_EVENT_CONNECTED);
    Event(CONNECT_EVENT_CONNECTED); // a second one changes nothing
    EXPECT_EQ(m_Hook.IsInstalled(), 1);

    auto ticks = [this](DWORD milliseconds) {
        int count = 0;
        DWORD start = GetTickCount();
        while (GetTickCount() - start < milliseconds) {
            MSG message;
            while (PeekMessageA(&message, m_Window, WM_TIMER, WM_TIMER, PM_REMOVE))
                count += message.wParam == TIMER_FRAME;
            Sleep(5);
        }
        return count;
    };
    EXPECT_GE(ticks(1000), 5); // about 25 at 40 ms
    Event(CONNECT_EVENT_DISCONNECT);
    EXPECT_EQ(m_Hook.IsInstalled(), 0);
    EXPECT_EQ(ticks(300), 0);
    Event(CONNECT_EVENT_IDLE);
    std::vector<Posted> expected = {ConnectTo(0), UI_CONNECTING,   UI_CONNECTED,
                                    DISCONNECT,   UI_DISCONNECTED, UI_IDLE};
    EXPECT_EQ(TakePosted(), expected);
}

} // namespace
