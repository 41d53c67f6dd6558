// Rights check.
#include "ui/RightsCheck.h"

#include "net/MainWindowMessages.h"

int IsOperationAllowed(HWND mainWindow, HWND owner, uint32_t rights, uint32_t bit)
{
    if (rights & bit) return 1;
    return SendMessageA(mainWindow, UM_AUTHENTICATE, reinterpret_cast<WPARAM>(owner), 0) == 1;
}
