// TFindDIRECTORY: enumeration from the disk, searches, and moves that keep the tree in step.
#include <Ledgerkit/TFindDIRECTORY.h>

namespace {

constexpr unsigned long ClassFindDirectory = 0x01000012;

// Name against a short pattern, ignoring case by the TString rule.
bool Matches(const TString& name, const TString& pattern)
{
    const char* p = pattern;
    const unsigned long length = pattern.Len();
    if (pattern.StringCmp("*.*") || length == 0) return length > 0;
    if (p[0] == '*') {
        // The character after the asterisk (normally a point) is not compared; a
        // pattern longer than the name cannot match.
        const unsigned long tail = length >= 2 ? length - 2 : 0;
        return tail <= name.Len() && name.StringNCmp(p + length - tail, name.Len() - tail, tail);
    }
    if (p[length - 1] == '*') return name.StringNCmp(p, length - 1) != 0;
    return name.StringCmp(p) != 0;
}

} // namespace

TFindDIRECTORY::TFindDIRECTORY() { m_ClassType = ClassFindDirectory; }

TFindDIRECTORY::TFindDIRECTORY(const TFileName& name) : TFindFILE(name)
{
    m_ClassType = ClassFindDirectory;
}

TFindDIRECTORY::~TFindDIRECTORY() {}

TFileName TFindDIRECTORY::GetFullPath() const
{
    const TFileName path = m_lpParent ? m_lpParent->GetFullPath() & *this : TFileName(*this);
    return path & TFileName("\\");
}

WIN32_FIND_DATAA TFindDIRECTORY::GetFileInfo() const { return _FindData(GetFullPath()); }

TFileName TFindDIRECTORY::SetNewName(const char* newName)
{
    return _Rename(GetFullPath(), newName);
}

TArray<TFindDIRECTORY>& TFindDIRECTORY::GetDirectories() { return m_Directories; }

TArray<TFindFILE>& TFindDIRECTORY::GetFiles() { return m_Files; }

void TFindDIRECTORY::EnumFileAndDirectory(unsigned long depth)
{
    m_Directories.AllDelete();
    m_Files.AllDelete();
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(GetFullPath() & TFileName("*.*"), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const TFileName name(data.cFileName);
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            m_Files.ImportItem(new TFindFILE(name))->m_lpParent = this;
            continue;
        }
        if (data.cFileName[0] == '.') continue;
        TFindDIRECTORY* directory = m_Directories.ImportItem(new TFindDIRECTORY(name));
        directory->m_lpParent = this;
        if ((depth == 0 || depth >= 2) && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            directory->EnumFileAndDirectory(depth == 0 ? 0 : depth - 1);
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

TFindDIRECTORY* TFindDIRECTORY::_FindDirectory(const TFileName& path)
{
    const TFileName full = GetFullPath();
    if (path.Len() < full.Len() || !full.StringNCmp(path, full.Len())) return nullptr;
    if (path.Len() == full.Len()) return this;
    for (unsigned long i = 0; i < m_Directories.GetItemCount(); ++i) {
        if (TFindDIRECTORY* found = m_Directories[i]._FindDirectory(path)) return found;
    }
    return nullptr;
}

TFindDIRECTORY* TFindDIRECTORY::FindDirectory(const TFileName& path)
{
    // A directory's full path ends with its backslash; the caller may leave it off.
    return _FindDirectory(path.GetShortFileName().Len() > 0 ? path & TFileName("\\") : path);
}

void TFindDIRECTORY::FindDirectory(const TFileName& name, TArrayLine<TFindDIRECTORY*>& list)
{
    if (StringCmp(name)) list.AddItem() = this;
    for (unsigned long i = 0; i < m_Directories.GetItemCount(); ++i)
        m_Directories[i].FindDirectory(name, list);
}

TFindDIRECTORY* TFindDIRECTORY::DirectoryOfName(const TFileName& name)
{
    const TFileName directory(name.GetDirectoryName());
    return directory.Len() == 0 ? this : _FindDirectory(directory);
}

TFindFILE* TFindDIRECTORY::FindFile(const TFileName& name)
{
    TFindDIRECTORY* directory = DirectoryOfName(name);
    if (!directory) return nullptr;
    const TString shortName = name.GetShortFileName();
    for (unsigned long i = 0; i < directory->m_Files.GetItemCount(); ++i) {
        if (directory->m_Files[i].StringCmp(shortName)) return &directory->m_Files[i];
    }
    return nullptr;
}

void TFindDIRECTORY::FindFile(const TFileName& pattern, TArrayLine<TFindFILE*>& list)
{
    list.AllDelete();
    if (TFindDIRECTORY* directory = DirectoryOfName(pattern))
        directory->_FindFile(pattern.GetShortFileName(), list);
}

void TFindDIRECTORY::_FindFile(const TString& pattern, TArrayLine<TFindFILE*>& list)
{
    for (unsigned long i = 0; i < m_Files.GetItemCount(); ++i) {
        if (Matches(m_Files[i], pattern)) list.AddItem() = &m_Files[i];
    }
    for (unsigned long i = 0; i < m_Directories.GetItemCount(); ++i)
        m_Directories[i]._FindFile(pattern, list);
}

template <class Node> int TFindDIRECTORY::Import(Node* node, TArray<Node> TFindDIRECTORY::*list)
{
    if (!node) return 0;
    for (const TFindFILE* above = this; above; above = above->m_lpParent) {
        if (above == node) return 0; // a directory into itself or below itself
    }
    const TFileName from = _EntryPath(node->GetFullPath());
    const TFileName to = GetFullPath() & *node;
    if (!MoveFileA(from, to)) return 0;
    if (node->m_lpParent) (node->m_lpParent->*list).ExportItem(node);
    (this->*list).ImportItem(node);
    node->m_lpParent = this;
    return 1;
}

int TFindDIRECTORY::ImportFile(TFindFILE* file) { return Import(file, &TFindDIRECTORY::m_Files); }

int TFindDIRECTORY::ImportFile(TFindDIRECTORY* directory)
{
    return Import(directory, &TFindDIRECTORY::m_Directories);
}
