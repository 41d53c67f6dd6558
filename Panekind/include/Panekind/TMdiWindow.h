// Counted handles on MDI cores: the frame (margins, window menu) and its children (creation).
#pragma once

#include <Panekind/PanekindApi.h>
#include <Panekind/TMdiChildCore.h>
#include <Panekind/TMdiWndCore.h>
#include <Panekind/TWindow.h>

// The frame itself is made with TWindow::CreateWindowExA.
class PANEKIND_API TMdiWindow : public TWindow {
public:
    explicit TMdiWindow(TMdiWndCore& core);
    TMdiWindow(const TMdiWindow& other);
    TMdiWindow& operator=(const TMdiWindow& other) = default;

    HWND GetClient() const;
    operator TMdiWndCore*() const;

    // Returns the previous window menu; used when the client is next made.
    HMENU SetMdiMenu(HMENU menu);
    // Stores the margins (left, top, right, bottom); a live client is placed
    // again at once in the frame's client area less the margins.
    void SetSpace(const RECT& space);
};

class PANEKIND_API TMdiChildWindow : public TWindow {
public:
    explicit TMdiChildWindow(TMdiChildCore& core);
    TMdiChildWindow(const TMdiChildWindow& other);
    TMdiChildWindow& operator=(const TMdiChildWindow& other) = default;

    // Makes the child inside the frame's client (its handle if it exists already);
    // a child never becomes the main window. Null on failure or without a client.
    HWND CreateWindowExA(const TMdiWndCore& frame, const Panekind& windowClass);
};
