// Temporary folders and whole-file helpers for the settings tests.
#include "app/tests/SettingsTestSupport.h"

#include <cstdio>

namespace {
void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}
} // namespace

TempFolder::TempFolder()
{
    static int counter = 0;
    char base[MAX_PATH];
    GetTempPathA(sizeof(base), base);
    char name[MAX_PATH + 64];
    snprintf(name, sizeof(name), "%sfernsettings-%lu-%d", base, GetCurrentProcessId(), ++counter);
    m_Path = name;
    RemoveTree(m_Path);
    CreateDirectoryA(m_Path.c_str(), nullptr);
}

TempFolder::~TempFolder() { RemoveTree(m_Path); }

std::vector<unsigned char> ReadWholeFile(const std::string& path)
{
    std::vector<unsigned char> bytes;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) return bytes;
    int c;
    while ((c = fgetc(file)) != EOF)
        bytes.push_back(static_cast<unsigned char>(c));
    fclose(file);
    return bytes;
}

void WriteWholeFile(const std::string& path, const std::vector<unsigned char>& bytes)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) return;
    if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
