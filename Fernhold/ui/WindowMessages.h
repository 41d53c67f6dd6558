// Messages of the main window, the hub that worker threads and child windows post to.
#pragma once

#include <windows.h>

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
constexpr UINT UM_QUIT_REQUEST = 0x500;

// UM_ENTRY_CHANGED wParam: 0 a destination changed (lParam the record, -1 all);
// 1 this computer's listeners changed.
constexpr WPARAM ENTRY_CHANGED_DESTINATION = 0;
constexpr WPARAM ENTRY_CHANGED_LISTENERS = 1;

// UM_UI_STATE stages of the controls.
constexpr WPARAM UI_STATE_IDLE = 1;
constexpr WPARAM UI_STATE_CONNECTING = 2;
constexpr WPARAM UI_STATE_CONNECTED = 3;
constexpr WPARAM UI_STATE_DISCONNECTED = 4;
