// Handle and id of one engine thread, started and stopped the way every engine thread is.
#pragma once

#include <windows.h>

#include <atomic>

// Owned by the object whose work the thread does; only the owner starts, waits for
// and releases it. The thread itself never touches this record.
class TWorkerThread {
public:
    using Body = void (*)(void* owner);

    TWorkerThread() = default;
    TWorkerThread(const TWorkerThread&) = delete;
    TWorkerThread& operator=(const TWorkerThread&) = delete;
    ~TWorkerThread();

    // Creates the thread suspended, gives it its priority, sleeps pauseMs, resumes it.
    // With withQueue the thread's message queue exists before Start returns, so
    // posting to it at once cannot fail. Returns 1, or 0 when the thread cannot be made.
    int Start(Body body, void* owner, int priority, DWORD pauseMs, bool withQueue);
    // Posts quitMessage and waits waitMs for the end, again and again while the
    // wait times out; then releases the handle.
    void PostQuitAndJoin(UINT quitMessage, DWORD waitMs);
    // Waits for the end up to timeoutMs (INFINITE allowed); 1 when there is no
    // running thread any more.
    int Join(DWORD timeoutMs);
    // Closes the handle of an ended thread and clears handle and id.
    void Release();

    // Takes the next message of the calling thread: first those a TModalLoopGuard
    // kept, then its queue, waiting with WaitMessage while there is none; *idle (when
    // given) is 1 during the wait.
    static void TakeMessage(MSG& message, std::atomic<int>* idle = nullptr);
    // Drops the calling thread's waiting messages in first..last, kept ones included:
    // work that piled up is done once.
    static void RemoveWaiting(UINT first, UINT last);

    // 1 while the thread exists and has not ended.
    int IsRunning() const;
    HANDLE GetHandle() const { return m_Handle; }
    DWORD GetId() const { return m_Id; }

private:
    HANDLE m_Handle = nullptr;
    DWORD m_Id = 0;
};

// Held by an engine thread (one started by TWorkerThread) around a modal loop of its own (a common
// file dialog). Such a loop takes the thread's messages but can only hand those with a window to
// one, so the engine's own thread messages would be lost: a connect, a lost link or
// a quit never done. While the guard exists they are kept instead, and
// TWorkerThread::TakeMessage hands them out afterwards in the order they came.
class TModalLoopGuard {
public:
    TModalLoopGuard();
    ~TModalLoopGuard();
    TModalLoopGuard(const TModalLoopGuard&) = delete;
    TModalLoopGuard& operator=(const TModalLoopGuard&) = delete;

private:
    // The message-filter hook that modal loops call for every message they take.
    static LRESULT CALLBACK KeepThreadMessage(int code, WPARAM wParam, LPARAM lParam);

    HHOOK m_Hook;
};
