// TFileBase: the one open sequence shared by the three dispositions.
#include <Ledgerkit/TFileBase.h>

namespace {
constexpr unsigned long ClassFileBase = 0x01000020;
// Random access and sequential scan together, as every file of the system is opened.
constexpr DWORD OpenFlags =
    FILE_FLAG_RANDOM_ACCESS | FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL;
} // namespace

TFileBase::TFileBase() : m_hFile(nullptr), m_Access(0) { m_ClassType = ClassFileBase; }

TFileBase::TFileBase(const TFileBase& file)
    : TobjectBase(file), m_hFile(nullptr), m_Access(file.m_Access)
{
    m_ClassType = ClassFileBase;
    HANDLE copy;
    if (file.m_hFile && DuplicateHandle(GetCurrentProcess(), file.m_hFile, GetCurrentProcess(),
                                        &copy, 0, FALSE, DUPLICATE_SAME_ACCESS))
        m_hFile = copy;
}

// The hooks of a derived class are gone by now: it closes its file in its own destructor.
TFileBase::~TFileBase() { CloseFile(); }

TFileBase& TFileBase::operator=(const TFileBase&) { return *this; }

int TFileBase::Open(const char* name, unsigned long access, unsigned long share,
                    unsigned long disposition)
{
    CloseFile();
    _firopen();
    HANDLE handle =
        name ? ::CreateFileA(name, access, share, nullptr, disposition, OpenFlags, nullptr)
             : INVALID_HANDLE_VALUE;
    if (handle == INVALID_HANDLE_VALUE) {
        m_hFile = nullptr;
        return 0;
    }
    m_hFile = handle;
    m_Access = access;
    _endopen();
    return 1;
}

int TFileBase::CreateFileA(const char* name, unsigned long access, unsigned long share)
{
    return Open(name, access, share, CREATE_ALWAYS);
}

int TFileBase::OpenFile(const char* name, unsigned long access, unsigned long share)
{
    return Open(name, access, share, OPEN_ALWAYS);
}

int TFileBase::OpenReadFile(const char* name, unsigned long access, unsigned long share)
{
    return Open(name, access, share, OPEN_EXISTING);
}

void TFileBase::CloseFile()
{
    if (!m_hFile) return;
    _firclose();
    CloseHandle(m_hFile);
    m_hFile = nullptr;
    _endclose();
}

unsigned long TFileBase::_Read(void* const& buffer, unsigned long count)
{
    DWORD done = 0;
    if (!m_hFile || !ReadFile(m_hFile, buffer, count, &done, nullptr)) return 0;
    return done;
}

unsigned long TFileBase::_Write(void* const& buffer, const unsigned long& count)
{
    DWORD done = 0;
    if (!m_hFile || !WriteFile(m_hFile, buffer, count, &done, nullptr)) return 0;
    return done;
}

unsigned long TFileBase::MovePointer(long distance, long* high, unsigned long method)
{
    if (!m_hFile) return 0;
    return ::SetFilePointer(m_hFile, distance, high, method);
}

unsigned long TFileBase::GetFilePointer(long* high)
{
    if (high) *high = 0;
    return MovePointer(0, high, FILE_CURRENT);
}

unsigned long TFileBase::SetFilePointer(long distance, long* high)
{
    return MovePointer(distance, high, FILE_BEGIN);
}

unsigned long TFileBase::MoveFilePointer(long distance, long* high)
{
    return MovePointer(distance, high, FILE_CURRENT);
}

TFileBase::operator void*() const { return m_hFile; }

void TFileBase::_firopen() {}
void TFileBase::_endopen() {}
void TFileBase::_firclose() {}
void TFileBase::_endclose() {}
