// One file entry of an in-memory directory tree: its own name and its parent directory.
#pragma once

#include <Ledgerkit/TFileName.h>

class TFindDIRECTORY;

// The text is the entry's own name (no path). Nodes in a tree are owned by their parent
// directory; one thread at a time.
class LEDGERKIT_API TFindFILE : public TFileName {
public:
    TFindFILE();
    explicit TFindFILE(const TFileName& name);
    // The copy is a name outside any tree: its parent is null.
    TFindFILE(const TFindFILE& file);
    TFindFILE& operator=(const TFindFILE&) = delete;

    // The parent's full path followed by the name; the name alone without a parent.
    TFileName GetFullPath() const;
    // What FindFirstFileA reports for the full path; all zero when nothing is found.
    WIN32_FIND_DATAA GetFileInfo() const;
    // Renames the file on disk within its folder; on success the node takes the new
    // name. A null or empty name, or one with a separator, is refused. Returns the
    // node's name afterwards.
    TFileName SetNewName(const char* newName);

    TFindDIRECTORY* GetParent() const;

protected:
    friend class TFindDIRECTORY;

    // The path an entry is found or moved by: the full path without a trailing
    // backslash, except where that would leave a bare drive or nothing.
    static TFileName _EntryPath(const TFileName& fullPath);
    static WIN32_FIND_DATAA _FindData(const TFileName& fullPath);
    // Moves fullPath to the folder this node lives in, under newName.
    TFileName _Rename(const TFileName& fullPath, const char* newName);

    TFindDIRECTORY* m_lpParent;
};
