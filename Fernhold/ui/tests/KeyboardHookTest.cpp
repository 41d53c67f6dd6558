// The keyboard hook: which key messages become key requests on the event link, and a
// real key stroke on the display going both to the remote queue and the local window.
#include "ui/TKeyboardHook.h"

#include "ui/ConnectionState.h"
#include "net/TEventLink.h"
#include "net/tests/NetTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEventLink* LinkOf(void* context) { return *static_cast<TEventLink**>(context); }

std::vector<EventPacket> TakeQueued(TEventLink& link)
{
    std::vector<EventPacket> packets;
    while (link.GetQueue().HasItems())
        packets.push_back(link.GetQueue().Take());
    return packets;
}

constexpr LPARAM KEY_DOWN_DATA = 0x001E0001;
const LPARAM KEY_UP_DATA = static_cast<LPARAM>(0xC01E0001u);

TEST(KeyboardHookTest, QueuesAKeyOnlyWhileConnectedWithTheKeyboardSwitchOn)
{
    TFernSettings settings;
    TEventLink link(settings);
    TEventLink* current = &link;
    TKeyboardHook hook(settings, LinkOf, &current);
    ASSERT_EQ(hook.Install(), 1);

    const uint32_t ON = 0x13, OFF = 0x11;
    struct Case {
        uint32_t switches;
        uint32_t state;
        bool linked;
        int code;
        LPARAM keyData;
        int queued;
        uint32_t keyFlags;
    };
    const Case cases[] = {
        {ON, CONNECTION_CONNECTED, true, HC_ACTION, KEY_DOWN_DATA, 1, 0},
        {ON, CONNECTION_CONNECTED, true, HC_ACTION, KEY_UP_DATA, 1, 2},
        {ON, CONNECTION_CONNECTED, true, HC_ACTION, 0x401E0001, 1, 0}, // auto-repeat: down
        {ON, CONNECTION_CONNECTED, true, -1, KEY_DOWN_DATA, 0, 0},
        {ON, CONNECTION_CONNECTED, true, HC_NOREMOVE, KEY_DOWN_DATA, 0, 0},
        {OFF, CONNECTION_CONNECTED, true, HC_ACTION, KEY_DOWN_DATA, 0, 0},
        {ON, CONNECTION_PAUSED, true, HC_ACTION, KEY_DOWN_DATA, 0, 0},
        {ON, CONNECTION_CONNECTING, true, HC_ACTION, KEY_DOWN_DATA, 0, 0},
        {ON, CONNECTION_DISCONNECTING, true, HC_ACTION, KEY_DOWN_DATA, 0, 0},
        {ON, CONNECTION_IDLE, true, HC_ACTION, KEY_DOWN_DATA, 0, 0},
        {ON, CONNECTION_CONNECTED, false, HC_ACTION, KEY_DOWN_DATA, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "flags " << std::hex << c.switches << " state " << c.state << " code "
                     << c.code << " data " << c.keyData);
        settings.displayFlags = WithConnectionState(c.switches, c.state);
        current = c.linked ? &link : nullptr;
        TKeyboardHook::Proc(c.code, 'Q', c.keyData);
        std::vector<EventPacket> queued = TakeQueued(link);
        ASSERT_EQ(static_cast<int>(queued.size()), c.queued);
        if (!c.queued) continue;
        EventPacket expected{};
        expected.header.command = 0x00020001;
        expected.header.param1 = 'Q';
        expected.header.param2 = c.keyFlags;
        EXPECT_EQ(memcmp(&queued[0], &expected, sizeof(expected)), 0);
    }

    // Removed, or gone with its owner: the procedure forwards nothing.
    settings.displayFlags = WithConnectionState(ON, CONNECTION_CONNECTED);
    current = &link;
    hook.Remove();
    TKeyboardHook::Proc(HC_ACTION, 'Q', KEY_DOWN_DATA);
    {
        TKeyboardHook owner(settings, LinkOf, &current);
        ASSERT_EQ(owner.Install(), 1);
    }
    TKeyboardHook::Proc(HC_ACTION, 'Q', KEY_DOWN_DATA);
    EXPECT_TRUE(TakeQueued(link).empty());
}

// A focused window that records the keys it receives.
struct KeyWindow {
    KeyWindow()
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "FernHookTestWnd";
        RegisterClassA(&windowClass);
        window = CreateWindowExA(WS_EX_TOPMOST, "FernHookTestWnd", "keys", WS_POPUP | WS_VISIBLE, 0,
                                 0, 200, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
        SetForegroundWindow(window);
        SetFocus(window);
        PumpUntil([] { return false; }, 300);
    }
    ~KeyWindow()
    {
        DestroyWindow(window);
        UnregisterClassA("FernHookTestWnd", GetModuleHandleA(nullptr));
    }
    // Strikes the key on the display and waits until the window saw it go up.
    void Strike(BYTE key)
    {
        keys.clear();
        SetForegroundWindow(window);
        SetFocus(window);
        keybd_event(key, 0, 0, 0);
        keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
        PumpUntil([] { return keys.size() >= 2; }, 5000);
    }
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_KEYDOWN || message == WM_KEYUP)
            keys.push_back({message, static_cast<UINT>(wParam)});
        return DefWindowProcA(window, message, wParam, lParam);
    }

    HWND window;
    static std::vector<std::pair<UINT, UINT>> keys;
};
std::vector<std::pair<UINT, UINT>> KeyWindow::keys;

TEST(KeyboardHookTest, AStrokeOnTheDisplayGoesToTheLinkAndStillReachesTheWindow)
{
    TFernSettings settings;
    settings.displayFlags = WithConnectionState(0x13, CONNECTION_CONNECTED);
    TEventLink link(settings);
    TEventLink* current = &link;
    KeyWindow focused;
    const std::vector<std::pair<UINT, UINT>> local = {{WM_KEYDOWN, 'J'}, {WM_KEYUP, 'J'}};
    {
        TKeyboardHook hook(settings, LinkOf, &current);
        ASSERT_EQ(hook.Install(), 1);
        ASSERT_EQ(hook.Install(), 1); // a second hook would queue every key twice
        focused.Strike('J');
        EXPECT_EQ(KeyWindow::keys, local);
        std::vector<EventPacket> queued = TakeQueued(link);
        ASSERT_EQ(queued.size(), 2u);
        EXPECT_EQ(queued[0].header.command, 0x20001u);
        EXPECT_EQ(queued[0].header.param1, static_cast<uint32_t>('J'));
        EXPECT_EQ(queued[0].header.param2, 0u);
        EXPECT_EQ(queued[1].header.param1, static_cast<uint32_t>('J'));
        EXPECT_EQ(queued[1].header.param2, 2u);
    }
    // Without the hook the window still gets the key and nothing is queued.
    focused.Strike('J');
    EXPECT_EQ(KeyWindow::keys, local);
    EXPECT_TRUE(TakeQueued(link).empty());
}

} // namespace
