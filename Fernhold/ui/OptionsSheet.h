// What the options sheet does around its pages: the working copy it edits, the
// administrator check before it opens, and the rules by which OK applies the copy.
#pragma once

#include "net/TFernSettings.h"
#include "ui/TAppShell.h"

#include <windows.h>

#include <cstdint>

// Held by the main window while the sheet is open; the pages write their controls into
// it when they are destroyed (on OK and on cancel alike), and only OK applies it.
struct TOptionsWorkingCopy {
    uint16_t port = 0; // network byte order
    uint32_t serverFlags = 0;
    uint32_t searchFlags = 0;
    TString listFile;
    // The administrator's texts and the rights word. Bit 31 still set after the sheet
    // means rights were not in use when it opened.
    TUserCredentials user;
};

// The window side of a sheet run: what the run asks of the main window and the
// platform. Main thread.
class TOptionsSheetSteps {
public:
    // UM_AUTHENTICATE to the main window; 1 when the administrator was recognised.
    virtual int Authenticate() = 0;
    // Runs the modal sheet over the working copy; 1 when it was closed with OK.
    virtual int RunSheet() = 0;
    // A Yes/No question with the exclamation icon; 1 for Yes.
    virtual int AskYesNo(const char* question) = 0;
    // UM_PASSWORD_DIALOG to the main window; 1 when a name and password were set.
    virtual int RunPasswordDialog() = 0;
    virtual void PostToServer(UINT message) = 0;
    virtual void PostToMainWindow(UINT message, WPARAM wParam, LPARAM lParam) = 0;

protected:
    ~TOptionsSheetSteps() = default;
};

// The questions OK may ask about the rights.
extern const char RIGHTS_SET_QUESTION[];
extern const char RIGHTS_ALL_ENABLED_QUESTION[];

// The whole sheet: fills the working copy, asks for the administrator without the
// options right, runs the sheet and on OK applies the copy. 1 when OK was chosen and
// applied, 0 when nothing was applied.
int ShowOptionsSheet(TOptionsWorkingCopy& working, TFernSettings& settings, TAppShell& shell,
                     TOptionsSheetSteps& steps);
// Stores the working texts with the working rights (now in use) and writes both user
// files: OK after the rights were first set, and the rights page's change button.
void SaveAdministrator(const TOptionsWorkingCopy& working, TAppShell& shell);
