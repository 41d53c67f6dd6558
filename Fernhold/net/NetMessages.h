// Thread messages of the engines, service selectors and command codes of the wire protocol.
#pragma once

#include <cstdint>

// Server thread (TServerCore).
constexpr unsigned TM_SERVER_QUIT = 0x500;
constexpr unsigned TM_REFRESH_LISTENERS = 0x501;
constexpr unsigned TM_SERVICE_ENDED = 0x502;
constexpr unsigned TM_CAPTURE = 0x503;
constexpr unsigned TM_CLOSE_LISTENERS = 0x504;

// Client thread (TClientCore) and link threads (TClientLink); TM_QUIT ends both kinds.
constexpr unsigned TM_QUIT = 0x540;
constexpr unsigned TM_SEND_EVENTS = 0x541;
constexpr unsigned TM_CONNECT = 0x542;
constexpr unsigned TM_DISCONNECT = 0x543;
constexpr unsigned TM_GET_SCREEN_SIZE = 0x544;
constexpr unsigned TM_GET_FRAME = 0x545;
constexpr unsigned TM_FRAME_RECEIVED = 0x546;
constexpr unsigned TM_SEARCH_TICK = 0x547;
constexpr unsigned TM_WAKE = 0x548;
constexpr unsigned TM_LOAD_LIST = 0x549;
constexpr unsigned TM_SAVE_LIST = 0x54A;
constexpr unsigned TM_GET_MACS = 0x54B;
constexpr unsigned TM_UPDATE_START = 0x54C;
constexpr unsigned TM_UPDATE_GET_INI = 0x54D;
constexpr unsigned TM_UPDATE_NEXT_FILE = 0x54E;
constexpr unsigned TM_SEND_UPDATE_REQUEST = 0x54F;
constexpr unsigned TM_RESET_SEARCH = 0x6FE;
constexpr unsigned TM_LINK_LOST = 0x6FF;

// Service selectors: the first four bytes a client sends on a new connection.
constexpr uint32_t SERVICE_EVENTS = 1;
constexpr uint32_t SERVICE_IMAGES = 2;
constexpr uint32_t SERVICE_MACS = 5;
constexpr uint32_t SERVICE_UPDATE = 6;
constexpr uint32_t SERVICE_UPDATE_REQUEST = 7;
// Sent only by a listener to its own address to make its accept thread end.
constexpr uint32_t SERVICE_STOP_LISTENER = 0xFFFF;

// Request commands; each is valid only on the service named beside it.
constexpr uint32_t CMD_CLOSE = 0x1000;            // every service
constexpr uint32_t CMD_MOUSE = 0x10001;           // events
constexpr uint32_t CMD_KEY = 0x20001;             // events
constexpr uint32_t CMD_GET_FRAME = 0x30001;       // images
constexpr uint32_t CMD_GET_SCREEN_SIZE = 0x40001; // images
constexpr uint32_t CMD_GET_MACS = 0x40004;        // MAC addresses
constexpr uint32_t CMD_UPDATE_VERSION = 0x50001;  // update files
constexpr uint32_t CMD_UPDATE_GET_INI = 0x50002;  // update files
constexpr uint32_t CMD_UPDATE_GET_FILE = 0x50003; // update files
constexpr uint32_t CMD_UPDATE_REQUEST = 0x50004;  // update request

// Connection state (bits 8 to 15 of displayFlags) that the link threads read.
constexpr uint32_t DISPLAY_STATE_PAUSED = 0x800;
