// The keyboard hook that forwards the operator's key strokes to the remote computer.
#pragma once

#include "net/TFernSettings.h"

#include <windows.h>

class TEventLink;

// Owned by the main window and installed by its connection steps while a connection
// is up. The hook procedure runs on the main thread (the thread whose window takes the
// key); it only reads displayFlags and puts requests on the event link's own queue.
// One hook is installed at a time in the process.
class TKeyboardHook {
public:
    // Finds the client's event link at the moment a key arrives (null when none).
    using LinkSource = TEventLink* (*)(void* context);

    TKeyboardHook(const TFernSettings& settings, LinkSource source, void* context);
    // Removes the hook: the procedure must never run after its owner is gone.
    ~TKeyboardHook();
    TKeyboardHook(const TKeyboardHook&) = delete;
    TKeyboardHook& operator=(const TKeyboardHook&) = delete;

    // Installs the hook for all threads with the program's module unless it is
    // installed already. Returns 1 when it is installed.
    int Install();
    void Remove();
    int IsInstalled() const { return m_Hook != nullptr; }

    // Queues a key request for one key message when the keyboard switch is on, the
    // state is connected and the event link exists; otherwise nothing.
    void Forward(WPARAM virtualKey, LPARAM keyData) const;

    // The hook procedure: a negative code is passed on at once; only a key that is
    // taken from the queue (HC_ACTION) is forwarded; every key is passed on, so the
    // local window receives it as well.
    static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam);

private:
    const TFernSettings& m_Settings;
    LinkSource m_Source;
    void* m_Context;
    HHOOK m_Hook = nullptr;
};
