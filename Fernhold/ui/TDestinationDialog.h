// Dialog 102 "接続先コンピュータの設定": name, IP address, port and MAC addresses of the
// destination list's editing copy.
#pragma once

#include <windows.h>

class TDestinationEditor;

// Main thread, modal. The dialog edits the editor's copy in place: the MAC buttons change
// its list at once, and its name, address and port take the fields' values when the dialog
// closes, OK and cancel alike (a port text that is no port keeps the copy's port).
class TDestinationDialog {
public:
    // 1 for OK, 0 for Cancel or the close box. OK is refused while the port field holds no
    // port from 1 to 65535: a message says so and the field keeps the focus.
    static int Run(HWND owner, TDestinationEditor& editor);

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    static void Open(HWND dialog, TDestinationEditor& editor);
    static void OnCommand(HWND dialog, TDestinationEditor& editor, int id);
    static void AddMac(HWND dialog, TDestinationEditor& editor);
    static void EditMac(HWND dialog, TDestinationEditor& editor);
    static void DeleteMac(HWND dialog, TDestinationEditor& editor);
    // The fields into the copy (on destruction).
    static void TakeFields(HWND dialog, TDestinationEditor& editor);
    static bool AcceptPort(HWND dialog);
};
