// Resource numbers of FRNUpdate.exe, shared by its resource script and its code.
#pragma once

#define IDD_UPDATE_PROGRESS 101
#define IDC_UPDATE_PROGRESS_BAR 1000
#define IDC_UPDATE_PROGRESS_TEXT 1001
