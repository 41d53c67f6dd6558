// Owner of one operating-system file handle: open, read, write, seek, close, with hooks
// around opening and closing for derived classes.
#pragma once

#include <Keelwork/TobjectBase.h>
#include <Ledgerkit/LedgerkitApi.h>

// Used by one thread at a time. Every operation on a closed file does nothing and
// returns 0. A failed open leaves the handle null, never INVALID_HANDLE_VALUE.
class LEDGERKIT_API TFileBase : public virtual TobjectBase {
public:
    TFileBase();
    // Duplicates the other's handle, so each object closes its own; copies the access mode.
    TFileBase(const TFileBase& file);
    virtual ~TFileBase();

    // Each open first closes the current file. Dispositions: CreateFileA creates or
    // truncates, OpenFile opens or creates, OpenReadFile opens an existing file only.
    // 1 on success, 0 on failure (GetLastError tells why).
    int CreateFileA(const char* name, unsigned long access, unsigned long share);
    int OpenFile(const char* name, unsigned long access, unsigned long share);
    int OpenReadFile(const char* name, unsigned long access, unsigned long share);
    void CloseFile();

    // Bytes read or written at the file position.
    unsigned long _Read(void* const& buffer, unsigned long count);
    unsigned long _Write(void* const& buffer, const unsigned long& count);

    // Positions: low 32 bits returned, high 32 bits through high when it is not null.
    unsigned long GetFilePointer(long* high);
    // From the start of the file.
    unsigned long SetFilePointer(long distance, long* high);
    // From the current position.
    unsigned long MoveFilePointer(long distance, long* high);

    operator void*() const;

protected:
    // Copies nothing: a file is not assigned.
    TFileBase& operator=(const TFileBase& file);

    // _firopen runs before every open, _endopen after a successful one; _firclose runs
    // before the handle is closed, _endclose after.
    virtual void _firopen();
    virtual void _endopen();
    virtual void _firclose();
    virtual void _endclose();

    HANDLE m_hFile;
    // GENERIC_READ / GENERIC_WRITE bits of the last successful open.
    unsigned long m_Access;

private:
    int Open(const char* name, unsigned long access, unsigned long share,
             unsigned long disposition);
    unsigned long MovePointer(long distance, long* high, unsigned long method);
};
