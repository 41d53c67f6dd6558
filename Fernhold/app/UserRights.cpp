// Rights check, the replaceable authentication answer and the system copy's location.
#include "app/UserRights.h"

#include "net/MainWindowMessages.h"

#include <cstdio>
#include <string>

namespace {
LRESULT RefuseWithoutDialog(HWND) { return 0; }

AuthenticateHandler g_Authenticate = RefuseWithoutDialog;
std::string g_SystemDirectoryOverride;
} // namespace

AuthenticateHandler SetAuthenticateHandler(AuthenticateHandler handler)
{
    AuthenticateHandler previous = g_Authenticate;
    g_Authenticate = handler ? handler : RefuseWithoutDialog;
    return previous;
}

LRESULT RunAuthenticateHandler(HWND owner) { return g_Authenticate(owner); }

int IsOperationAllowed(HWND mainWindow, HWND owner, uint32_t rights, uint32_t bit)
{
    if (rights & bit) return 1;
    return SendMessageA(mainWindow, UM_AUTHENTICATE, reinterpret_cast<WPARAM>(owner), 0) == 1;
}

void SetSystemDirectoryOverride(const char* directory)
{
    g_SystemDirectoryOverride = directory ? directory : "";
}

void GetSystemCopyPath(char* path, unsigned long size)
{
    char directory[256] = {};
    if (!g_SystemDirectoryOverride.empty())
        snprintf(directory, sizeof(directory), "%s", g_SystemDirectoryOverride.c_str());
    else if (GetSystemDirectoryA(directory, sizeof(directory)) >= sizeof(directory))
        directory[0] = '\0';
    snprintf(path, size, "%s\\frnsystem.dll", directory);
}
