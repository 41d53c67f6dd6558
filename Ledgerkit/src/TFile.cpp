// TFile: the four hooks that tie the memory image to the file.
#include <Ledgerkit/TFile.h>

namespace {
constexpr unsigned long ClassFile = 0x01000021;
} // namespace

TFile::TFile() { m_ClassType = ClassFile; }

// TFileBase's destructor would only see its own hooks: close while the image exists.
TFile::~TFile() { CloseFile(); }

void TFile::_firopen() { Free(); }

void TFile::_endopen()
{
    DWORD size = GetFileSize(m_hFile, nullptr);
    if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) size = 0;
    m_Pos = 0;
    void* data = Alloc(size);
    if (data) {
        const unsigned long read = TFileBase::_Read(data, size);
        if (read < size) JustMemory(read);
    } else {
        Free();
    }
    TFileBase::SetFilePointer(0, nullptr);
}

void TFile::_firclose()
{
    if (!(m_Access & GENERIC_WRITE)) return;
    TFileBase::SetFilePointer(0, nullptr);
    void* data = m_lpData;
    TFileBase::_Write(data, m_Size);
}

void TFile::_endclose()
{
    Free();
    m_Pos = 0;
}
