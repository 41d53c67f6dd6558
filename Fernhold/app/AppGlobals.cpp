// Storage of the process-wide objects.
#include "app/AppGlobals.h"

TMainApp* g_lpMainApp = nullptr;
char g_StartupDirectory[1024] = {};
