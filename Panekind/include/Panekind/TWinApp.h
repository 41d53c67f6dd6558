// The application's registry of windows: the main window, every other live
// window, the core being created and whether the application is active.
#pragma once

#include <Panekind/PanekindApi.h>
#include <Panekind/TWndCore.h>

#include <Keelwork/TArrayRef.h>

// The registry's container, compiled once into Panekind.dll (TWndCoreArray.cpp)
// and imported by every other module.
#ifndef PANEKIND_BUILD
extern template class PANEKIND_API TArrayRef<TWndCore>;
#endif

// All state is static and belongs to the thread that owns the windows. Each
// registered core (the main window and each entry of the list) holds one counted
// reference, given up when its window sends WM_NCDESTROY.
class PANEKIND_API TWinApp : public virtual TobjectBase {
public:
    // Makes core the main window; a previous main window joins the list.
    static void SetMainWindow(TWndCore* core);
    static TWndCore* GetMainWindow();
    // Records a newly created window (as the main window when there is none and
    // it is neither a child nor owned).
    static void RegisterWndCore(TWndCore* core);
    // Forgets a window, destroying it if it still exists. For the main window this
    // is the orderly shutdown: every other window is destroyed first, then the
    // main window is released and the message loop is told to end. Throws
    // TobjectExpection (code 32) for a core marked main that is not the main window.
    static void UnRegisterWndCore(TWndCore* core);
    // Closes the application: the orderly shutdown of the main window (or of the
    // list alone when there is none); runs the remaining messages and returns the
    // exit code carried by WM_QUIT.
    static int End();
    static TWndCore* GetTAppStock();
    static int IsActiveApp();
    static const TArrayRef<TWndCore>& GetWindowList();

    // The class procedure: binds a new window to the core being created.
    static LRESULT CALLBACK _FirstWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    static void _SetActiveApp(bool active);
    // Dispatches waiting messages until the queue is empty; 1 if WM_QUIT was
    // taken (its exit code in *exitCode), else 0.
    static int _PumpMessages(WPARAM* exitCode);
    // Destroys every window of the list, first to last, until it is empty.
    static void _DestroyList();

    static TWndCore* m_lpMainWndCore;
    static TArrayRef<TWndCore> m_WindowList;
    static TWndCore* m_WinAppStock;
    static unsigned short m_AppFlags;

    friend class TWndCore;
    friend class TWindow;
};
