// Message-only stand-in for the main window.
#include "MainWindowStub.h"

#include "NetTestSupport.h"

#include "net/MainWindowMessages.h"
#include "net/TDestination.h"

#include <mmsystem.h>

namespace {
const char STUB_CLASS[] = "FernholdClientTestMain";
}

MainWindowStub::MainWindowStub()
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = STUB_CLASS;
    RegisterClassA(&windowClass);
    m_Window = CreateWindowA(STUB_CLASS, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             windowClass.hInstance, nullptr);
    SetWindowLongPtrA(m_Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

MainWindowStub::~MainWindowStub() { DestroyWindow(m_Window); }

LRESULT CALLBACK MainWindowStub::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* stub = reinterpret_cast<MainWindowStub*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (stub && message >= UM_REPAINT && message <= UM_RESET_SEARCH) {
        HeardMessage heard{message, wParam, lParam, std::string(), timeGetTime()};
        if (message == UM_STATUS_TEXT && wParam) heard.text = reinterpret_cast<const char*>(wParam);
        stub->heard.push_back(heard);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool MainWindowStub::WaitForConnectEvent(WPARAM event, DWORD timeoutMs, DWORD* time)
{
    return ::PumpUntil(
        [&] {
            for (const HeardMessage& message : heard)
                if (message.message == UM_CONNECT_EVENT && message.wParam == event) {
                    if (time) *time = message.time;
                    return true;
                }
            return false;
        },
        timeoutMs);
}

std::vector<std::string> MainWindowStub::Script() const
{
    std::vector<std::string> script;
    for (const HeardMessage& message : heard) {
        if (message.message == UM_STATUS_TEXT)
            script.push_back(message.text + "|" +
                             std::to_string(static_cast<long>(message.lParam)));
        else if (message.message == UM_CONNECT_EVENT)
            script.push_back("event " + std::to_string(message.wParam));
    }
    return script;
}

int MainWindowStub::EntryChanges(const TDestination* record) const
{
    int count = 0;
    for (const HeardMessage& message : heard)
        if (message.message == UM_ENTRY_CHANGED && message.wParam == ENTRY_CHANGED_DESTINATION &&
            message.lParam == static_cast<LPARAM>(record->id))
            ++count;
    return count;
}
