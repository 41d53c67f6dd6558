// Export/import switch for the classes and functions of Ledgerkit.dll.
#pragma once

#ifdef LEDGERKIT_BUILD
#define LEDGERKIT_API __declspec(dllexport)
#else
#define LEDGERKIT_API __declspec(dllimport)
#endif
