// Opening the help file: HtmlHelpA is looked up in hhctrl.ocx when first needed, so the
// program starts on a machine without HTML Help and shows no help there.
#include "ui/HelpFile.h"

#include <cstring>

namespace {

constexpr UINT HELP_DISPLAY_TOPIC = 0;
constexpr char HELP_FILE_NAME[] = "FernHelp.chm";

HtmlHelpFunction g_Replacement = nullptr;

HtmlHelpFunction SystemHtmlHelp()
{
    // hhctrl.ocx stays loaded: the help window it opens lives on after the call.
    static HtmlHelpFunction function = [] {
        HMODULE module = LoadLibraryA("hhctrl.ocx");
        return module ? reinterpret_cast<HtmlHelpFunction>(
                            reinterpret_cast<void*>(GetProcAddress(module, "HtmlHelpA")))
                      : nullptr;
    }();
    return function;
}

} // namespace

void SetHtmlHelpFunction(HtmlHelpFunction function) { g_Replacement = function; }

bool GetHelpFilePath(char* path, DWORD size)
{
    DWORD length = GetModuleFileNameA(nullptr, path, size);
    if (length == 0 || length >= size) return false;
    char* slash = strrchr(path, '\\');
    size_t folder = slash ? static_cast<size_t>(slash - path + 1) : 0;
    if (folder + sizeof(HELP_FILE_NAME) > size) return false;
    memcpy(path + folder, HELP_FILE_NAME, sizeof(HELP_FILE_NAME));
    return true;
}

void ShowHelpFile(HWND caller)
{
    char path[MAX_PATH];
    if (!GetHelpFilePath(path, sizeof(path))) return;
    HtmlHelpFunction help = g_Replacement ? g_Replacement : SystemHtmlHelp();
    if (help) help(caller, path, HELP_DISPLAY_TOPIC, 0);
}
