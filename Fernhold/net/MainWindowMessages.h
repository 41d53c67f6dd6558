// The contract between the engines and the windows: main-window message numbers, the
// connection-event steps, the UI stages and the program's title.
#pragma once

#include <windows.h>

// Messages of the main window, the hub that worker threads and child windows post to.
constexpr UINT UM_REPAINT = WM_USER + 0x01;
constexpr UINT UM_STATUS_TEXT = WM_USER + 0x02;
constexpr UINT UM_UI_STATE = WM_USER + 0x03;
constexpr UINT UM_ENTRY_CHANGED = WM_USER + 0x04;
constexpr UINT UM_CONNECT_EVENT = WM_USER + 0x05;
constexpr UINT UM_IMAGE_READY = WM_USER + 0x06;
constexpr UINT UM_WAKE_DESTINATION = WM_USER + 0x07;
constexpr UINT UM_SHOW_ABOUT = WM_USER + 0x08;
constexpr UINT UM_SHOW_OPTIONS = WM_USER + 0x09;
constexpr UINT UM_TRAY_NOTIFY = WM_USER + 0x0A;
constexpr UINT UM_SHOW_WIZARD = WM_USER + 0x0B;
constexpr UINT UM_UPDATE_REQUESTED = WM_USER + 0x0C;
constexpr UINT UM_UPDATE_RECEIVED = WM_USER + 0x0D;
constexpr UINT UM_SEND_UPDATE_REQUEST = WM_USER + 0x0E;
constexpr UINT UM_PASSWORD_DIALOG = WM_USER + 0x0F;
constexpr UINT UM_AUTHENTICATE = WM_USER + 0x10;
constexpr UINT UM_RESET_SEARCH = WM_USER + 0x11;
constexpr UINT UM_QUIT_REQUEST = WM_USER + 0x100;
// Broadcast by the shell when the notification area was rebuilt; compared as a fixed
// number (no message is registered for it).
constexpr UINT WM_TASKBAR_REBUILT = 0xC08C;

// UM_REPAINT wParam: which child composes its canvas again (lParam non-zero: and is
// invalidated).
constexpr WPARAM REPAINT_ALL = 0;
constexpr WPARAM REPAINT_TITLEBAR = 1;
constexpr WPARAM REPAINT_MENU = 2;
constexpr WPARAM REPAINT_MAXVIEW = 3;
constexpr WPARAM REPAINT_MINVIEW = 4;
constexpr WPARAM REPAINT_CONTROL = 5;
constexpr WPARAM REPAINT_STATE = 6;
constexpr WPARAM REPAINT_FULLVIEW = 7;
constexpr WPARAM REPAINT_STRIP = 8;

// UM_ENTRY_CHANGED wParam: 0 a destination changed (lParam its record id, -1 all);
// 1 this computer's listeners changed.
constexpr WPARAM ENTRY_CHANGED_DESTINATION = 0;
constexpr WPARAM ENTRY_CHANGED_LISTENERS = 1;
constexpr LPARAM ENTRY_CHANGED_ALL = -1;

// UM_CONNECT_EVENT wParam: the session's steps, sent by the client engine (0, 2, 4)
// and by the controls (1, 3, 4).
constexpr WPARAM CONNECT_EVENT_IDLE = 0;
constexpr WPARAM CONNECT_EVENT_CONNECT = 1;
constexpr WPARAM CONNECT_EVENT_CONNECTED = 2;
constexpr WPARAM CONNECT_EVENT_PAUSE = 3;
constexpr WPARAM CONNECT_EVENT_DISCONNECT = 4;

// UM_UI_STATE stages of the controls; 0 repaints with the stage unchanged.
constexpr WPARAM UI_STATE_UNCHANGED = 0;
constexpr WPARAM UI_STATE_IDLE = 1;
constexpr WPARAM UI_STATE_CONNECTING = 2;
constexpr WPARAM UI_STATE_CONNECTED = 3;
constexpr WPARAM UI_STATE_DISCONNECTED = 4;

// UM_STATUS_TEXT lParam: a priority, read as 32 bits; STATUS_PRIORITY_RESET (0xFFFFFFFF)
// shows the text whatever was shown before and lets any later priority in.
constexpr LPARAM STATUS_PRIORITY_RESET = -1;

// Title of the main window and caption of the program's message boxes.
constexpr char PROGRAM_TITLE[] = "Fernhold ver1.13";
