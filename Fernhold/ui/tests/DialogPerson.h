// A person at the program's modal dialogs: finds them by caption, reads and fills their
// controls and presses their buttons from a thread of its own while the test thread
// runs the modal loop.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

// A shown dialog (or message box) of this process with exactly this caption (in the
// program's code page) that is enabled (the topmost of a modal chain); null when none
// appears within the time.
HWND WaitForDialog(const char* caption, DWORD timeoutMs = 5000);
// true once the window is gone.
bool WaitUntilGone(HWND window, DWORD timeoutMs = 5000);
std::string ControlText(HWND dialog, int id);
// The text of a message box (its static control).
std::string MessageBoxText(HWND box);
void SetControlText(HWND dialog, int id, const char* text);
void SetCheck(HWND dialog, int id, bool checked);
bool IsChecked(HWND dialog, int id);
// A click on the dialog's button, as its owner hears it.
void PressButton(HWND dialog, int id);

// Runs script on its own thread. Finish (called once the modal call has returned, and by
// the destructor) waits for it. A script that gives up (returns false), or leaves a
// dialog up, is followed by cancelling every dialog of this process until the test
// thread returns, so a fault fails the test instead of hanging it.
class DialogPerson {
public:
    explicit DialogPerson(std::function<bool()> script);
    ~DialogPerson();
    DialogPerson(const DialogPerson&) = delete;
    DialogPerson& operator=(const DialogPerson&) = delete;

    // true when the script went through and no dialog had to be cancelled.
    bool Finish();

private:
    std::atomic<bool> m_Returned{false};
    std::atomic<bool> m_Succeeded{false};
    std::thread m_Thread;
};
