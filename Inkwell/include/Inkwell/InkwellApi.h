// Export/import switch for the classes and functions of Inkwell.dll.
#pragma once

#ifdef INKWELL_BUILD
#define INKWELL_API __declspec(dllexport)
#else
#define INKWELL_API __declspec(dllimport)
#endif
