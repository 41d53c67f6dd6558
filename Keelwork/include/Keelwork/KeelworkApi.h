// Export/import switch for the classes and functions of Keelwork.dll.
#pragma once

#ifdef KEELWORK_BUILD
#define KEELWORK_API __declspec(dllexport)
#else
#define KEELWORK_API __declspec(dllimport)
#endif
