// The password dialog that sets the administrator, the authentication dialog every
// guarded operation shows, and the placement the program's dialogs share.
#pragma once

#include "ui/TAppShell.h"

#include <windows.h>

// The dialogs' messages, shown with PROGRAM_TITLE.
extern const char NO_NAME_MESSAGE[];
extern const char NO_PASSWORD_MESSAGE[];
extern const char PASSWORD_MISMATCH_MESSAGE[];
extern const char AUTHENTICATION_FAILED_MESSAGE[];

// Why the password dialog refuses these entries, or null when they are accepted. The
// confirmation is compared byte for byte.
const char* PasswordEntryProblem(const char* name, const char* password, const char* confirm);

// Centres a dialog on its owner (on the screen without one). With keepBelowOne a centred
// position below 1 in both coordinates leaves the dialog where the platform put it.
void CentreOnOwner(HWND dialog, bool keepBelowOne = false);

// Dialog 149 over the working copy's name and password: 1 when they were accepted and
// stored there, 0 when cancelled. Main thread.
int RunPasswordDialog(HWND owner, TUserCredentials& working);
// Dialog 150: 1 when the entered name and password are the administrator's, 0 when
// cancelled; a wrong entry is told and the dialog stays for another try. Main thread.
int RunAuthenticationDialog(HWND owner, const TAppShell& shell);
