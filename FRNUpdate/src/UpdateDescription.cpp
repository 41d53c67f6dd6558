// Update description: profile reads and the path rules.
#include "FRNUpdate/UpdateDescription.h"

#include <windows.h>

#include <cstring>

namespace {

const char SECTION_INFO[] = "UPDATEINFO";
const char SECTION_TARGETS[] = "DESFILE";
const char SECTION_STAGED[] = "SRCFILE";
const char SECTION_FOLDERS[] = "FOLDER";

uint32_t ReadInfo(const char* description, const char* key)
{
    return GetPrivateProfileIntA(SECTION_INFO, key, 0, description);
}

TString ReadValue(const char* description, const char* section, const char* prefix, uint32_t index)
{
    TString key = TString(prefix) & TString(static_cast<unsigned long>(index));
    char value[DESCRIPTION_VALUE_CHARS] = "";
    GetPrivateProfileStringA(section, static_cast<char*>(key), "", value, sizeof(value),
                             description);
    return TString(value);
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The platform opens these names as devices whatever folder or extension they carry.
bool IsDeviceName(const char* name, size_t length)
{
    size_t stem = 0;
    while (stem < length && name[stem] != '.')
        ++stem;
    while (stem > 0 && name[stem - 1] == ' ')
        --stem;
    char upper[5] = {};
    if (stem < 3 || stem > 4) return false;
    for (size_t i = 0; i < stem; ++i)
        upper[i] = Upper(name[i]);
    static const char* const plain[] = {"CON", "PRN", "AUX", "NUL"};
    for (const char* device : plain)
        if (strcmp(upper, device) == 0) return true;
    return stem == 4 && (strncmp(upper, "COM", 3) == 0 || strncmp(upper, "LPT", 3) == 0) &&
           upper[3] >= '1' && upper[3] <= '9';
}

// Every 0x5C byte counts as a separator here, also the second byte of a double-byte
// character: the platform's components are then unions of these, never finer, so a
// ".." it would see is a ".." seen here.
bool IsSafeComponent(const char* name, size_t length)
{
    if (length == 0) return false; // "a\\\\b" or a trailing separator
    bool dotsAndBlanks = true;
    for (size_t i = 0; i < length; ++i)
        if (name[i] != '.' && name[i] != ' ') dotsAndBlanks = false;
    if (dotsAndBlanks) return length == 1 && name[0] == '.';
    return !IsDeviceName(name, length);
}

} // namespace

uint32_t ReadDescriptionVersion(const char* description)
{
    return ReadInfo(description, "FileVersion");
}

uint32_t ReadFileCount(const char* description) { return ReadInfo(description, "AllFileCount"); }

uint32_t ReadFolderCount(const char* description)
{
    return ReadInfo(description, "AllFolderCount");
}

int IsDescriptionBounded(const char* description)
{
    return ReadFileCount(description) <= MAX_UPDATE_ENTRIES &&
           ReadFolderCount(description) <= MAX_UPDATE_ENTRIES;
}

int ReadFileEntry(const char* description, uint32_t index, TString& target, TString& staged)
{
    target = ReadValue(description, SECTION_TARGETS, "FILE_", index);
    staged = ReadValue(description, SECTION_STAGED, "FILE_", index);
    return IsInsideProgramFolder(target) && IsInsideStagingFolder(staged);
}

int ReadTargetEntry(const char* description, uint32_t index, TString& target)
{
    target = ReadValue(description, SECTION_TARGETS, "FILE_", index);
    return IsInsideProgramFolder(target);
}

int ReadFolderEntry(const char* description, uint32_t index, TString& folder)
{
    folder = ReadValue(description, SECTION_FOLDERS, "FOLDER_", index);
    return IsInsideProgramFolder(folder);
}

int IsInsideProgramFolder(const char* path)
{
    if (!path || !*path || IsSeparator(path[0])) return 0;
    for (const char* c = path; *c; ++c)
        if (*c == ':' || static_cast<unsigned char>(*c) < 0x20) return 0;
    const char* start = path;
    for (const char* c = path;; ++c) {
        if (*c && !IsSeparator(*c)) continue;
        if (!IsSafeComponent(start, static_cast<size_t>(c - start))) return 0;
        if (!*c) return 1;
        start = c + 1;
    }
}

int IsInsideStagingFolder(const char* path)
{
    if (!IsInsideProgramFolder(path)) return 0;
    // Leading "." components name the program folder itself.
    const char* rest = path;
    while (rest[0] == '.' && IsSeparator(rest[1]))
        rest += 2;
    size_t prefix = strlen(STAGING_FOLDER);
    if (_strnicmp(rest, STAGING_FOLDER, prefix) != 0 || !IsSeparator(rest[prefix])) return 0;
    rest += prefix + 1;
    while (rest[0] == '.' && IsSeparator(rest[1]))
        rest += 2;
    // Something must follow, and it must not be the staged description (the platform
    // drops trailing dots and blanks, so "Update.ini." names it too).
    size_t length = strlen(rest);
    while (length > 0 && (rest[length - 1] == '.' || rest[length - 1] == ' '))
        --length;
    const char description[] = "Update.ini";
    return length > 0 &&
           !(length == sizeof(description) - 1 && _strnicmp(rest, description, length) == 0);
}
