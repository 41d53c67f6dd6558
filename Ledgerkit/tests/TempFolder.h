// A unique folder under the system's temporary path for tests that touch real files;
// it is removed with everything in it when the object goes.
#pragma once

#include <string>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's full path with its trailing backslash.
    const std::string& Path() const { return m_Path; }
    // Creates the file (its folders must exist) holding content; returns its full path.
    std::string Write(const std::string& relative, const std::string& content) const;
    // Creates a folder; returns its full path without a trailing backslash.
    std::string MakeFolder(const std::string& relative) const;
    // The file's bytes, or "<missing>" when it cannot be opened.
    std::string Read(const std::string& relative) const;
    bool Exists(const std::string& relative) const;

private:
    std::string m_Path;
};
