// Shows the destination settings dialog with a destination of two MAC addresses, the first
// row marked, for tools/screenshot.sh to photograph; runs until it is closed.
#include "net/TClientCore.h"
#include "net/TServerCore.h"
#include "ui/ProgramResources.h"
#include "ui/SkinStore.h"
#include "ui/TDestinationEditor.h"
#include "ui/tests/RecordingShell.h"

#include <windows.h>

#include <commctrl.h>

#include <thread>

namespace {
// Marks the first MAC row once the dialog is there, as an operator about to edit it.
void MarkFirstRow()
{
    HWND dialog = nullptr;
    for (int tries = 0; tries < 300 && !dialog; ++tries) {
        dialog = FindWindowA("#32770", "接続先コンピュータの設定");
        if (!dialog) Sleep(100);
    }
    if (!dialog) return;
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendDlgItemMessageA(dialog, IDC_DEST_MAC_LIST, LVM_SETITEMSTATE, 0,
                        reinterpret_cast<LPARAM>(&item));
}
} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_INTERNET_CLASSES};
    InitCommonControlsEx(&controls);
    TFernSettings settings;
    TClientCore client(settings);
    TServerCore server(settings);
    SkinStore skin;
    RecordingShell shell; // every right
    TUiContext context{settings, client, server, skin, shell};
    TDestinationEditor editor(context);
    TDestination& copy = editor.GetEditingCopy();
    copy.displayName = TString("営業部-PC01");
    copy.liveAddress.sin_addr.s_addr = inet_addr("192.168.10.21");
    const unsigned char first[6] = {0x00, 0x1B, 0x21, 0x3A, 0x4C, 0x5D};
    const unsigned char second[6] = {0x00, 0x24, 0x81, 0xF0, 0x12, 0x9E};
    copy.AddMac(first);
    copy.AddMac(second);
    std::thread marker(MarkFirstRow);
    editor.RunDestinationDialog();
    marker.join();
    return 0;
}
