// Drives the add-destination wizard the way its pages are used, for the tests and the
// benchmark: a main window of its own, clicks on the pages' buttons, waits on page changes.
#pragma once

#include "ui/TAddWizard.h"
#include "ui/TUiContext.h"
#include "ui/tests/MainWindowHarness.h"

#include <functional>
#include <string>

class WizardDriver {
public:
    WizardDriver();
    ~WizardDriver();
    WizardDriver(const WizardDriver&) = delete;
    WizardDriver& operator=(const WizardDriver&) = delete;

    // Opens a wizard through TAddWizard::Open; true when one was made.
    bool Open(const TWizardServices& services);
    TAddWizard* Wizard() const { return TAddWizard::Current(); }
    HWND Page(int dialog) const { return Wizard() ? Wizard()->GetPage(dialog) : nullptr; }
    HWND Control(int dialog, int control) const { return GetDlgItem(Page(dialog), control); }
    // The button's click as its page hears it (the page may end the wizard).
    void Click(int dialog, int control);
    // Pumps this thread's messages until done answers true or timeoutMs passed.
    bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);
    // Waits until the page is the one shown.
    bool WaitForPage(int dialog);
    std::string Text(int dialog, int control) const;
    void CheckRow(HWND list, int row);
    // Clicks "次へ" on 140, selects exactly the given rows of 141 and goes on to 142.
    bool ToComputers(std::initializer_list<int> workgroupRows);
    // Checks every row of 142 and goes on to 143.
    bool ToSettingsWithAllChecked();

    MainWindowHarness harness;
    TUiContext context;
};

// Closes the next message box captioned with the program's title that appears (from a
// thread of its own, since the box's loop runs in the thread that shows it) and keeps
// its text.
class MessageBoxCloser {
public:
    MessageBoxCloser();
    ~MessageBoxCloser();
    // The closed box's text; empty when none appeared within timeoutMs.
    std::string Wait(DWORD timeoutMs = 10000);

private:
    static DWORD WINAPI Watch(void* self);
    HANDLE m_Thread;
    HANDLE m_Stop;
    std::string m_Text;
};
