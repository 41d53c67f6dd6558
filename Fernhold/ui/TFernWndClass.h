// The one registered window class that every window of the program is created with.
#pragma once

#include <Panekind/Panekind.h>

// Created by the entry point before the application object, registered once, and
// deleted after it. Windows get their own user procedure through SetWindowProc.
// The program's icon (resource 110) joins the class with the skin resources.
class TFernWndClass : public Panekind {
public:
    // Class "FernholdWnd", light grey background, DefWindowProcA as default procedure.
    TFernWndClass();
};

// The one instance, set by the entry point (tests set it themselves); main thread.
extern TFernWndClass* g_lpWndClass;
