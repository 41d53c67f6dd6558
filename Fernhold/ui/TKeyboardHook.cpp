// Keyboard hook: installation and the forwarding of key messages as key requests.
#include "ui/TKeyboardHook.h"

#include "ui/ConnectionState.h"
#include "net/EventRequests.h"
#include "net/TEventLink.h"

#include <Keelwork/TobjectBase.h>

namespace {
// The hook procedure has no context of its own: it reaches the installed hook here.
// Main thread only.
TKeyboardHook* g_lpInstalledHook = nullptr;
} // namespace

TKeyboardHook::TKeyboardHook(const TFernSettings& settings, LinkSource source, void* context)
    : m_Settings(settings), m_Source(source), m_Context(context)
{
}

TKeyboardHook::~TKeyboardHook() { Remove(); }

int TKeyboardHook::Install()
{
    if (m_Hook) return 1;
    // The procedure lives in the program's own image; a process started without the
    // entry point (a test) has no program instance stored, so its image stands in.
    HINSTANCE module = TobjectBase::m_hInst ? TobjectBase::m_hInst : GetModuleHandleA(nullptr);
    m_Hook = SetWindowsHookExA(WH_KEYBOARD, Proc, module, 0);
    if (m_Hook) g_lpInstalledHook = this;
    return m_Hook != nullptr;
}

void TKeyboardHook::Remove()
{
    if (!m_Hook) return;
    UnhookWindowsHookEx(m_Hook);
    m_Hook = nullptr;
    if (g_lpInstalledHook == this) g_lpInstalledHook = nullptr;
}

void TKeyboardHook::Forward(WPARAM virtualKey, LPARAM keyData) const
{
    uint32_t flags = m_Settings.displayFlags.load();
    if (!(flags & DISPLAY_SEND_KEYBOARD) || GetConnectionState(flags) != CONNECTION_CONNECTED)
        return;
    TEventLink* link = m_Source(m_Context);
    if (link) link->Post(MakeKeyRequest(static_cast<uint32_t>(virtualKey), keyData));
}

LRESULT CALLBACK TKeyboardHook::Proc(int code, WPARAM wParam, LPARAM lParam)
{
    TKeyboardHook* hook = g_lpInstalledHook;
    // HC_NOREMOVE reports a key that is only looked at: the same key comes again as
    // HC_ACTION when it is taken, and must reach the remote computer once.
    if (code == HC_ACTION && hook) hook->Forward(wParam, lParam);
    return CallNextHookEx(hook ? hook->m_Hook : nullptr, code, wParam, lParam);
}
