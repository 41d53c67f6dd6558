// User information: the rights record after the record file's three texts; the system
// copy's location.
#include "app/TUserInfo.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {
std::string g_SystemDirectoryOverride;
} // namespace

int SameText(const TString& text, const char* other)
{
    const char* mine = text;
    return strcmp(mine ? mine : "", other ? other : "") == 0;
}

void TUserInfo::CopyFrom(const TUserInfo& other)
{
    m_Name = other.m_Name;
    m_Password = other.m_Password;
    m_Reserved = other.m_Reserved;
    m_Rights = other.m_Rights;
}

int TUserInfo::SameAs(const TUserInfo& other) const
{
    return m_Rights == other.m_Rights && SameText(m_Name, other.m_Name) &&
           SameText(m_Password, other.m_Password) && SameText(m_Reserved, other.m_Reserved);
}

int TUserInfo::Authenticates(const char* name, const char* password) const
{
    return SameText(m_Name, name) && SameText(m_Password, password);
}

void TUserInfo::Pack()
{
    TRecordFile::Pack();
    AppendRecord(&m_Rights, sizeof(m_Rights));
}

int TUserInfo::Unpack()
{
    // Checked first, so that a short file changes no field.
    if (GetRecordCount() < 4 || GetRecord(3).GetSize() < sizeof(m_Rights)) return -1;
    int next = TRecordFile::Unpack();
    memcpy(&m_Rights, static_cast<unsigned char*>(GetRecord(next)), sizeof(m_Rights));
    return next + 1;
}

void SetSystemDirectoryOverride(const char* directory)
{
    g_SystemDirectoryOverride = directory ? directory : "";
}

void GetSystemCopyPath(char* path, unsigned long size)
{
    char directory[256] = {};
    if (!g_SystemDirectoryOverride.empty())
        snprintf(directory, sizeof(directory), "%s", g_SystemDirectoryOverride.c_str());
    else if (GetSystemDirectoryA(directory, sizeof(directory)) >= sizeof(directory))
        directory[0] = '\0';
    snprintf(path, size, "%s\\frnsystem.dll", directory);
}
