// The rights bits and the check of every guarded operation.
#pragma once

#include <windows.h>

#include <cstdint>

// Rights bits; an operation whose bit is clear needs the administrator.
constexpr uint32_t RIGHT_SHOW_MAIN_WINDOW = 0x1;
constexpr uint32_t RIGHT_CONNECT = 0x2;
constexpr uint32_t RIGHT_MOUSE = 0x4;
constexpr uint32_t RIGHT_KEYBOARD = 0x8;
constexpr uint32_t RIGHT_ADD_DESTINATION = 0x10;
constexpr uint32_t RIGHT_EDIT_DESTINATION = 0x20;
constexpr uint32_t RIGHT_DELETE_DESTINATION = 0x40;
constexpr uint32_t RIGHT_WAKE_ON_LAN = 0x80;
constexpr uint32_t RIGHT_PUSH_UPDATE = 0x100;
constexpr uint32_t RIGHT_CHANGE_OPTIONS = 0x200;
// Rights not in use: everything allowed, no administrator.
constexpr uint32_t RIGHTS_NOT_IN_USE = 0xFFFFFFFF;

// 1 when the operation may go on this once: the rights word holds its bit, or the main
// window's UM_AUTHENTICATE answered 1. 0 means abandon it without a further message.
int IsOperationAllowed(HWND mainWindow, HWND owner, uint32_t rights, uint32_t bit);
