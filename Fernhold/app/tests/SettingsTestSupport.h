// A temporary folder per test and whole-file helpers for the settings tests.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Made empty on construction, removed with its files on destruction.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    std::string Path(const char* name) const { return m_Path + "\\" + name; }
    const std::string& Path() const { return m_Path; }

private:
    std::string m_Path;
};

std::vector<unsigned char> ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::vector<unsigned char>& bytes);
bool FileExists(const std::string& path);
