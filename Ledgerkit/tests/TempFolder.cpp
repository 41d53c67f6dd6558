// TempFolder: creation under GetTempPathA and recursive removal.
#include "TempFolder.h"

#include <windows.h>

namespace {

void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path + "\\");
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

} // namespace

TempFolder::TempFolder()
{
    char base[MAX_PATH + 1] = {};
    GetTempPathA(sizeof base, base);
    for (unsigned attempt = 0;; ++attempt) {
        const std::string path = std::string(base) + "ledgerkit-" +
                                 std::to_string(GetCurrentProcessId()) + "-" +
                                 std::to_string(GetTickCount()) + "-" + std::to_string(attempt);
        if (CreateDirectoryA(path.c_str(), nullptr)) {
            m_Path = path + "\\";
            return;
        }
    }
}

TempFolder::~TempFolder() { RemoveTree(m_Path); }

std::string TempFolder::Write(const std::string& relative, const std::string& content) const
{
    const std::string path = m_Path + relative;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    return path;
}

std::string TempFolder::MakeFolder(const std::string& relative) const
{
    const std::string path = m_Path + relative;
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

std::string TempFolder::Read(const std::string& relative) const
{
    HANDLE file = CreateFileA((m_Path + relative).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string content(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    if (!content.empty())
        ReadFile(file, &content[0], static_cast<DWORD>(content.size()), &read, nullptr);
    CloseHandle(file);
    return content;
}

bool TempFolder::Exists(const std::string& relative) const
{
    return GetFileAttributesA((m_Path + relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}
