// MDI child core: a window core made inside a frame's MDI client.
#pragma once

#include <Panekind/PanekindApi.h>
#include <Panekind/TWndCore.h>

class PANEKIND_API TMdiChildCore : public TWndCore {
public:
    // Pending style WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_OVERLAPPEDWINDOW, WS_EX_MDICHILD.
    TMdiChildCore();
    TMdiChildCore(const TMdiChildCore& other);
    TMdiChildCore& operator=(const TMdiChildCore& other) = default;

    // DefMDIChildProcA: the child's user procedure passes unhandled messages here.
    LRESULT DefMessageProc(UINT message, WPARAM wParam, LPARAM lParam);
};
