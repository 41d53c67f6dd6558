// Export/import switch for the classes and functions of Panekind.dll.
#pragma once

#ifdef PANEKIND_BUILD
#define PANEKIND_API __declspec(dllexport)
#else
#define PANEKIND_API __declspec(dllimport)
#endif
