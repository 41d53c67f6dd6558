// The connection steps of the main window: UM_CONNECT_EVENT and the frame timer.
#pragma once

#include "app/ConnectionState.h"
#include "app/KeyboardHook.h"
#include "net/MainWindowMessages.h"
#include "net/TFernSettings.h"

#include <windows.h>

#include <cstdint>

class TClientLink;

// Timer of the main window that paces frame requests while connected.
constexpr UINT_PTR TIMER_FRAME = 257;

// Advances the connection state held in displayFlags on the session events of the
// client engine and the controls. Owned by the main window; main thread only (the
// engines read the state, only this writes it).
class TConnectionMachine {
public:
    TConnectionMachine(TFernSettings& settings, TKeyboardHook& hook);

    // One UM_CONNECT_EVENT. window: the main window (UI stages, frame timer, focus,
    // administrator check); clientThread: where TM_CONNECT and TM_DISCONNECT go;
    // rights: the operator's rights word. Events that do not fit the state are ignored.
    void OnEvent(HWND window, DWORD clientThread, uint32_t rights, WPARAM event, LPARAM lParam);

    uint32_t GetState() const { return GetConnectionState(m_Settings.displayFlags.load()); }

private:
    void Connect(HWND window, DWORD clientThread, uint32_t rights, LPARAM destination);
    void Connected(HWND window);
    void Disconnect(HWND window, DWORD clientThread);
    void SetState(uint32_t state);

    TFernSettings& m_Settings;
    TKeyboardHook& m_Hook;
};

// TIMER_FRAME tick: a frame request goes to the image link only when it exists and
// waits for work; a busy link gets no further request.
void PaceFrame(const TClientLink* imageLink);
