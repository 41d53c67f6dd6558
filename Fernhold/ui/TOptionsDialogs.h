// The main window's options sheet with its general and user-rights pages, and the
// password dialog over the sheet's working copy.
#pragma once

#include "ui/OptionsSheet.h"
#include "ui/TUiContext.h"

// Owned by the main window; main thread. The working copy lives here from the sheet's
// opening to its end, so the password dialog (UM_PASSWORD_DIALOG) edits the same copy.
class TOptionsDialogs : private TOptionsSheetSteps {
public:
    explicit TOptionsDialogs(TUiContext& context) : m_Context(context) {}

    // UM_SHOW_OPTIONS: 1 when OK was chosen and applied.
    int ShowOptions();
    // UM_PASSWORD_DIALOG for the owner: 1 when a name and password were set.
    int RunPasswordDialog(HWND owner);

private:
    static INT_PTR CALLBACK GeneralPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK RightsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
    void OpenGeneralPage(HWND page);
    void CloseGeneralPage(HWND page);
    // PSN_APPLY of the general page: 1 when its port text is acceptable; otherwise says
    // so, shows the page with the focus in the port field and returns 0.
    int AcceptGeneralPage(HWND page);
    void OpenRightsPage(HWND page);
    void CloseRightsPage(HWND page);
    void ChangeAdministrator(HWND page);

    int Authenticate() override;
    int RunSheet() override;
    int AskYesNo(const char* question) override;
    int RunPasswordDialog() override;
    void PostToServer(UINT message) override;
    void PostToMainWindow(UINT message, WPARAM wParam, LPARAM lParam) override;

    TUiContext& m_Context;
    TOptionsWorkingCopy m_Working;
    // Set when OK passed the general page's check during the running sheet.
    int m_Accepted = 0;
};
