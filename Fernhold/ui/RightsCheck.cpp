// Rights check and the replaceable authentication answer.
#include "ui/RightsCheck.h"

#include "net/MainWindowMessages.h"

namespace {
LRESULT RefuseWithoutDialog(HWND) { return 0; }

AuthenticateHandler g_Authenticate = RefuseWithoutDialog;
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
