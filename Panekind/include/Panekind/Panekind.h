// The registered window class whose procedure binds every new window to its core.
#pragma once

#include <Panekind/PanekindApi.h>
#include <Panekind/TWinApp.h>

#include <windows.h>

// The program derives from it or edits GetWndClass() (class name, brush, icon)
// and sets the default user procedure before RegisterClassExA.
class PANEKIND_API Panekind : public TWinApp {
public:
    // "TClassWindow": arrow, application icon, white background, the binding procedure.
    Panekind();

    // The class atom, 0 on failure.
    int RegisterClassExA();

    WNDCLASSEXA& GetWndClass() { return m_WndClass; }
    const WNDCLASSEXA& GetWndClass() const { return m_WndClass; }
    const char* GetWndClassName() const { return m_WndClass.lpszClassName; }
    // Given to every core created with this class that has no user procedure.
    TWndUserProc GetDefUserProc() const { return m_lpDefUserProc; }
    void SetDefUserProc(TWndUserProc proc) { m_lpDefUserProc = proc; }

protected:
    void _InitPanekind();

    WNDCLASSEXA m_WndClass;
    TWndUserProc m_lpDefUserProc;
};
