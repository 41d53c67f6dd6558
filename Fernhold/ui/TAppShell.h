// What the windows ask of the application shell: the operator's rights, the screen size,
// and the program's shutdown.
#pragma once

#include <cstdint>

// Implemented by the application object; windows and the session controller reach the
// shell only through this, so they never include the application object. Main thread.
class TAppShell {
public:
    // The operator's rights word (RIGHTS_NOT_IN_USE when no administrator is set).
    virtual uint32_t GetRights() const = 0;
    // The local screen changed size (WM_DISPLAYCHANGE).
    virtual void SetScreenSize(int width, int height) = 0;
    // Saves what must be kept, stops the engines and destroys the main window, which
    // ends the message loop. The caller's window is gone when it returns.
    virtual void ShutDown() = 0;
    // A complete update has arrived: the updater is started when the program ends.
    virtual void SetUpdatePending(int pending) = 0;

protected:
    ~TAppShell() = default;
};
