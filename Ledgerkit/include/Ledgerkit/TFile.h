// A file held whole in memory: read at open, edited through the TMemory cursor, written
// back whole at close when it was opened for writing.
#pragma once

#include <Keelwork/TMemory.h>
#include <Ledgerkit/TFileBase.h>

// Nothing reaches the disk before CloseFile (or the destructor). The file is not
// shortened at close: bytes beyond a shorter image stay. Used by one thread at a time.
class LEDGERKIT_API TFile : public TFileBase, public TMemory {
public:
    TFile();
    // A second owner of the image would write it back a second time.
    TFile(const TFile&) = delete;
    TFile& operator=(const TFile&) = delete;
    ~TFile();

    // Reads and writes go to the memory image at its cursor.
    using TMemory::_Read;
    using TMemory::_Write;

protected:
    // Empties the image.
    void _firopen() override;
    // Loads the whole file and rewinds both the cursor and the file position. An image
    // that cannot be held stays empty; a short read keeps only the bytes read, so that
    // writing back never stores bytes the file did not have.
    void _endopen() override;
    // Writes the whole image at the start of the file when opened with GENERIC_WRITE.
    void _firclose() override;
    // Empties the image and rewinds the cursor.
    void _endclose() override;
};
