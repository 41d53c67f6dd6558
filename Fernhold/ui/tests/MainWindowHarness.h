// A main window of its own for the user-interface tests: real window, real skin store,
// engines that are made but not started, a shell that records what it is asked.
#pragma once

#include "net/TClientCore.h"
#include "net/TServerCore.h"
#include "ui/SkinStore.h"
#include "ui/TMainWindow.h"
#include "ui/tests/RecordingShell.h"
#include "ui/tests/TScreenShot.h"

#include <windows.h>

#include <string>
#include <vector>

// Registers the program's window class (and the common controls the windows use) for
// the test program's life.
void RegisterProgramClass();

// The window class and the skin store as the entry point makes them, for a test that runs
// the whole application object.
class ProgramObjects {
public:
    ProgramObjects();
    ~ProgramObjects();
    ProgramObjects(const ProgramObjects&) = delete;
    ProgramObjects& operator=(const ProgramObjects&) = delete;

private:
    SkinStore m_Skin;
};

// The main window and its collaborators; the window is destroyed with the harness.
class MainWindowHarness {
public:
    explicit MainWindowHarness(const char* skinFolder = "./Resource");
    ~MainWindowHarness();
    MainWindowHarness(const MainWindowHarness&) = delete;
    MainWindowHarness& operator=(const MainWindowHarness&) = delete;

    // Creates the window; true when Create answered 1. The posted repaints are drained.
    bool Create();
    HWND Handle() const { return window->GetHandle(); }
    // Child of the main window (or of the title bar, or of the full view) by its ID.
    HWND Child(int id) const;

    TFernSettings settings;
    TClientCore client{settings};
    TServerCore server{settings};
    SkinStore skin;
    RecordingShell shell;
    TMainWindow* window;
};

// Real mouse input through the system's input queue (SendInput). The drags run on a
// thread of their own while the test thread pumps, since a window's move loop or a
// captured press runs inside the test thread's message dispatch; their pauses pace the
// hand and synchronise nothing.
void MouseAt(POINT screen, DWORD flags);
// Moves from from to to in eight steps.
void MoveInSteps(POINT from, POINT to);
void Drag(POINT from, POINT by);
// Presses at from, moves to to, releases there.
void PressMoveRelease(POINT from, POINT to);
// Client point of a window in screen coordinates.
POINT OnScreen(HWND window, int x, int y);

// Dispatches every message waiting for this thread (posted repaints, then paints) until
// none is left.
void DrainMessages();

// The text of a list view's cell (row, column), as the list shows it.
std::string ListRowText(HWND list, int row, int column);
