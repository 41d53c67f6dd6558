// The process-wide objects of the program, created and deleted by the entry point.
#pragma once

class TMainApp;

// Each set by the entry point (tests set them themselves) and used on the main thread.
extern TMainApp* g_lpMainApp;
// The program's folder as the current directory stood after start-up; shutdown
// returns to it before saving files.
extern char g_StartupDirectory[1024];
