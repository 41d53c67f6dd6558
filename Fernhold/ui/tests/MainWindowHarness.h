// A main window of its own for the user-interface tests: real window, real skin store,
// engines that are made but not started, a shell that records what it is asked.
#pragma once

#include "net/TClientCore.h"
#include "net/TServerCore.h"
#include "ui/SkinStore.h"
#include "ui/TAppShell.h"
#include "ui/TMainWindow.h"

#include <windows.h>

#include <vector>

class RecordingShell : public TAppShell {
public:
    uint32_t GetRights() const override { return rights; }
    void SetScreenSize(int, int) override {}
    void ShutDown() override { ++shutDowns; }

    uint32_t rights = 0xFFFFFFFF;
    int shutDowns = 0;
};

// Registers the program's window class (and the common controls the windows use) for
// the test program's life.
void RegisterProgramClass();

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

// The screen's pixels inside rect (screen coordinates), as COLORREF values.
class ScreenPixels {
public:
    explicit ScreenPixels(const RECT& rect);
    COLORREF At(int x, int y) const { return m_Pixels[static_cast<size_t>(y) * m_Width + x]; }
    int Width() const { return m_Width; }
    int Height() const { return m_Height; }

private:
    int m_Width;
    int m_Height;
    std::vector<COLORREF> m_Pixels;
};

// Dispatches every message waiting for this thread (posted repaints, then paints) until
// none is left.
void DrainMessages();
