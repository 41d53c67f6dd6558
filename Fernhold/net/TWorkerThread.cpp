// Engine thread start and stop.
#include "net/TWorkerThread.h"

#include <algorithm>
#include <deque>

namespace {

// Thread messages a modal loop took while a TModalLoopGuard was held, oldest first.
// Each engine thread keeps its own on its entry frame, reached through a TLS slot
// (no C++ thread_local: its clean-up at thread and process end can deadlock here).
using KeptMessages = std::deque<MSG>;

DWORD KeptSlot()
{
    static const DWORD slot = TlsAlloc();
    return slot;
}

// The calling engine thread's kept messages; null on other threads.
KeptMessages* Kept() { return static_cast<KeptMessages*>(TlsGetValue(KeptSlot())); }

// Lives on the starter's stack until the new thread has copied it and said so.
struct ThreadLaunch {
    TWorkerThread::Body body;
    void* owner;
    bool withQueue;
    HANDLE started;
};

DWORD WINAPI ThreadEntry(LPVOID parameter)
{
    ThreadLaunch* launch = static_cast<ThreadLaunch*>(parameter);
    TWorkerThread::Body body = launch->body;
    void* owner = launch->owner;
    if (launch->withQueue) {
        MSG message;
        PeekMessageA(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    }
    SetEvent(launch->started);
    KeptMessages kept;
    TlsSetValue(KeptSlot(), &kept);
    body(owner);
    TlsSetValue(KeptSlot(), nullptr);
    return 0;
}

} // namespace

TWorkerThread::~TWorkerThread() { Release(); }

int TWorkerThread::Start(Body body, void* owner, int priority, DWORD pauseMs, bool withQueue)
{
    ThreadLaunch launch{body, owner, withQueue, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    if (!launch.started) return 0;
    m_Handle = CreateThread(nullptr, 0, ThreadEntry, &launch, CREATE_SUSPENDED, &m_Id);
    if (!m_Handle) {
        m_Id = 0;
        CloseHandle(launch.started);
        return 0;
    }
    SetThreadPriority(m_Handle, priority);
    if (pauseMs) Sleep(pauseMs);
    ResumeThread(m_Handle);
    WaitForSingleObject(launch.started, INFINITE);
    CloseHandle(launch.started);
    Sleep(0);
    return 1;
}

void TWorkerThread::PostQuitAndJoin(UINT quitMessage, DWORD waitMs)
{
    while (m_Handle) {
        PostThreadMessageA(m_Id, quitMessage, 0, 0);
        if (WaitForSingleObject(m_Handle, waitMs) != WAIT_TIMEOUT) Release();
    }
}

int TWorkerThread::Join(DWORD timeoutMs)
{
    if (!m_Handle) return 1;
    if (WaitForSingleObject(m_Handle, timeoutMs) == WAIT_TIMEOUT) return 0;
    Release();
    return 1;
}

void TWorkerThread::Release()
{
    if (m_Handle) CloseHandle(m_Handle);
    m_Handle = nullptr;
    m_Id = 0;
}

int TWorkerThread::IsRunning() const
{
    return m_Handle && WaitForSingleObject(m_Handle, 0) == WAIT_TIMEOUT;
}

void TWorkerThread::TakeMessage(MSG& message, std::atomic<int>* idle)
{
    KeptMessages* kept = Kept();
    if (kept && !kept->empty()) {
        message = kept->front();
        kept->pop_front();
        return;
    }
    while (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (idle) *idle = 1;
        WaitMessage();
        if (idle) *idle = 0;
    }
}

void TWorkerThread::RemoveWaiting(UINT first, UINT last)
{
    MSG message;
    while (PeekMessageA(&message, nullptr, first, last, PM_REMOVE)) {
    }
    if (KeptMessages* kept = Kept())
        kept->erase(std::remove_if(kept->begin(), kept->end(),
                                   [first, last](const MSG& waiting) {
                                       return waiting.message >= first && waiting.message <= last;
                                   }),
                    kept->end());
}

TModalLoopGuard::TModalLoopGuard()
    : m_Hook(SetWindowsHookExA(WH_MSGFILTER, KeepThreadMessage, nullptr, GetCurrentThreadId()))
{
}

TModalLoopGuard::~TModalLoopGuard()
{
    if (m_Hook) UnhookWindowsHookEx(m_Hook);
}

LRESULT CALLBACK TModalLoopGuard::KeepThreadMessage(int code, WPARAM wParam, LPARAM lParam)
{
    MSG* message = reinterpret_cast<MSG*>(lParam);
    KeptMessages* kept = Kept();
    // Only the engine's own messages; the loop keeps the system's.
    if (code >= 0 && kept && message && !message->hwnd && message->message >= WM_USER) {
        kept->push_back(*message);
        return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
