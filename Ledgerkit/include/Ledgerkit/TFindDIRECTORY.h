// A directory node of an in-memory tree: its subdirectories and files, enumeration from
// the disk, searches by path, name and pattern, and moving entries between directories.
#pragma once

#include <Keelwork/TArray.h>
#include <Ledgerkit/TFindFILE.h>

// The text of a root node is the directory's full path; of every other node, its own
// name. Deleting a node deletes its subtree. The tree is a snapshot: it changes only by
// EnumFileAndDirectory, SetNewName and ImportFile. One thread at a time.
class LEDGERKIT_API TFindDIRECTORY : public TFindFILE {
public:
    TFindDIRECTORY();
    explicit TFindDIRECTORY(const TFileName& name);
    TFindDIRECTORY(const TFindDIRECTORY&) = delete;
    TFindDIRECTORY& operator=(const TFindDIRECTORY&) = delete;
    ~TFindDIRECTORY();

    // The parent's full path, the name and a backslash; a root gives its text and a backslash.
    TFileName GetFullPath() const;
    // The find data of the directory itself (all zero when nothing is found).
    WIN32_FIND_DATAA GetFileInfo() const;
    // Renames the directory on disk within its folder (as TFindFILE::SetNewName).
    TFileName SetNewName(const char* newName);

    // Rebuilds this node's contents from the disk. Depth 1 lists this directory only,
    // n >= 2 also n - 1 levels below, 0 the whole tree. Entries whose names begin with a
    // point are left out; links to other directories (reparse points) are listed but
    // not entered, so a link to an ancestor cannot recurse forever.
    void EnumFileAndDirectory(unsigned long depth);

    // The file with that path (a bare name is looked for in this directory), ignoring case.
    TFindFILE* FindFile(const TFileName& name);
    // Empties the list, then adds every file in the pattern's directory and below whose
    // name matches the pattern's short name: "*.*" every name, "*x.ext" names ending in
    // "ext", "ab*" names beginning with "ab", otherwise the same name; case ignored.
    void FindFile(const TFileName& pattern, TArrayLine<TFindFILE*>& list);
    // The node at or below this one with that full path (with or without the final
    // backslash), ignoring case; null when there is none.
    TFindDIRECTORY* FindDirectory(const TFileName& path);
    // Appends every node at or below this one whose name equals name, ignoring case.
    void FindDirectory(const TFileName& name, TArrayLine<TFindDIRECTORY*>& list);

    // Moves the entry on disk into this directory; on success the node leaves its old
    // parent's list (without being deleted) and joins this one. A directory is never
    // moved into itself or below itself. 1 on success, 0 on failure (tree unchanged).
    int ImportFile(TFindFILE* file);
    int ImportFile(TFindDIRECTORY* directory);

    TArray<TFindDIRECTORY>& GetDirectories();
    TArray<TFindFILE>& GetFiles();

protected:
    // Path search below a node whose full path is a prefix of path.
    TFindDIRECTORY* _FindDirectory(const TFileName& path);
    // Appends the matching files of this node and of every node below it.
    void _FindFile(const TString& pattern, TArrayLine<TFindFILE*>& list);

    TArray<TFindDIRECTORY> m_Directories;
    TArray<TFindFILE> m_Files;

private:
    // The directory node a name or pattern refers to: its directory part, or this node.
    TFindDIRECTORY* DirectoryOfName(const TFileName& name);
    template <class Node> int Import(Node* node, TArray<Node> TFindDIRECTORY::*list);
};
