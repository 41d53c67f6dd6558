// TFindFILE: full paths, find data and renaming of one entry.
#include <Ledgerkit/TFindDIRECTORY.h>

namespace {
constexpr unsigned long ClassFindFile = 0x01000010;
} // namespace

TFindFILE::TFindFILE() : m_lpParent(nullptr) { m_ClassType = ClassFindFile; }

TFindFILE::TFindFILE(const TFileName& name) : TFileName(name), m_lpParent(nullptr)
{
    m_ClassType = ClassFindFile;
}

TFindFILE::TFindFILE(const TFindFILE& file) : TobjectBase(), TFileName(file), m_lpParent(nullptr)
{
    m_ClassType = ClassFindFile;
}

TFindDIRECTORY* TFindFILE::GetParent() const { return m_lpParent; }

TFileName TFindFILE::GetFullPath() const
{
    return m_lpParent ? m_lpParent->GetFullPath() & *this : TFileName(*this);
}

WIN32_FIND_DATAA TFindFILE::GetFileInfo() const { return _FindData(GetFullPath()); }

TFileName TFindFILE::SetNewName(const char* newName) { return _Rename(GetFullPath(), newName); }

TFileName TFindFILE::_EntryPath(const TFileName& fullPath)
{
    if (fullPath.Len() < 2 || fullPath.GetShortFileName().Len() > 0) return fullPath;
    TFileName path(fullPath);
    path.CutString(path.Len() - 1, 1);
    const TString last = path.GetShortFileName();
    if (last.Len() == 0 || static_cast<const char*>(last)[last.Len() - 1] == ':') return fullPath;
    return path;
}

WIN32_FIND_DATAA TFindFILE::_FindData(const TFileName& fullPath)
{
    WIN32_FIND_DATAA data = {};
    const TFileName path = _EntryPath(fullPath);
    HANDLE find = FindFirstFileA(path, &data);
    if (find == INVALID_HANDLE_VALUE)
        data = WIN32_FIND_DATAA{};
    else
        FindClose(find);
    return data;
}

TFileName TFindFILE::_Rename(const TFileName& fullPath, const char* newName)
{
    const TFileName name(newName);
    if (!newName || name.Len() == 0 || name.GetShortFileName().Len() != name.Len()) return *this;
    const TFileName oldPath = _EntryPath(fullPath);
    // Parentless nodes live in the folder their own text names.
    const TFileName folder =
        m_lpParent ? m_lpParent->GetFullPath() : TFileName(oldPath.GetDirectoryName());
    const TFileName newPath = folder & name;
    if (MoveFileA(oldPath, newPath)) TFileName::operator=(m_lpParent ? name : newPath);
    return *this;
}
