// A file of length-prefixed records kept in the bit-spread form with a check trailer,
// and the three texts every such file carries.
#pragma once

#include <Keelwork/TMemoryBase.h>
#include <Keelwork/TString.h>
#include <Ledgerkit/TFile.h>
#include <Ledgerkit/TFileName.h>

#include <cstdint>

// Main thread only. After a successful Load the file stays open without sharing, so no
// other process replaces it while the program runs, until Save or CloseRecordFile.
class TRecordFile {
public:
    TRecordFile();
    TRecordFile(const TRecordFile&) = delete;
    TRecordFile& operator=(const TRecordFile&) = delete;
    virtual ~TRecordFile();

    // Writes the whole file (through a temporary file that then replaces the old one) and
    // reads it back; 1 when written, 0 when it could not be.
    int Save(const TFileName& name);
    // 1 when the file exists, is well formed and passes its check; 0 otherwise, with the
    // fields unchanged.
    int Load(const TFileName& name);
    void CloseRecordFile();

    TString m_Name;
    TString m_Password;
    TString m_Reserved;

protected:
    // Rebuilds the records from the fields: the three texts, each with its zero.
    virtual void Pack();
    // Sets the fields from the records; the index of the next record, or -1 when the
    // records are too few or too short.
    virtual int Unpack();

    void FreeRecords();
    void AppendRecord(const void* data, unsigned long size);
    unsigned long GetRecordCount() const;
    const TMemoryBase& GetRecord(unsigned long index) const;

private:
    // TMemoryBase* entries.
    TMemoryBase m_Records;
    TFile m_File;
};

// The plain value CPUID leaf 1 reports in EAX; 0 where the instruction is missing.
uint32_t ProcessorWord();
