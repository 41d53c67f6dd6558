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
void ClickButton(HWND dialog, int id);

// The program's dialogs by caption.
extern const char SHEET[];
extern const char AUTHENTICATION[];
extern const char PASSWORD[];
// The page the options sheet shows.
HWND CurrentPage(HWND sheet);
// Shows page index of the sheet; its window once it is current and holds that control,
// null when it does not come.
HWND ShowPage(HWND sheet, int index, int control);
// Enters name and password in the authentication dialog and presses 認証; true when the
// dialog then closed or, with expectFailure, told the failure and stayed open.
bool Authenticate(const char* name, const char* password, bool expectFailure = false);

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

// The administrator at the authentication dialog for a whole test: counts each time the
// dialog asks and answers it, from a thread of its own, with the name and password given
// (accepting) or with 取り消し (refusing, while no name is set).
class TestAdministrator {
public:
    TestAdministrator();
    ~TestAdministrator();
    TestAdministrator(const TestAdministrator&) = delete;
    TestAdministrator& operator=(const TestAdministrator&) = delete;

    // Answers from now on with these credentials; null refuses.
    void Accept(const char* name, const char* password);
    void Refuse() { Accept(nullptr, nullptr); }

    std::atomic<int> asks{0};

private:
    std::atomic<bool> m_Stop{false};
    std::atomic<bool> m_Accepting{false};
    std::string m_Name, m_Password; // written only while m_Accepting is false
    std::thread m_Thread;
};
