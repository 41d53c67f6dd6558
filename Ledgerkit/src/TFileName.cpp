// TFileName: normalisation and the drive / directory / short-name rules on the ANSI text.
#include <Ledgerkit/TFileName.h>

#include <string>
#include <string_view>

namespace {

constexpr unsigned long ClassFileName = 0x01000000;

// The leading forms a name may take, by prefix: "\\?\UNC\", "\\?\", "\\", none.
enum class NameKind { Plain, Unc, Extended, ExtendedUnc };

struct Prefix {
    NameKind kind;
    size_t length;
};

Prefix PrefixOf(std::string_view text)
{
    if (text.substr(0, 4) == "\\\\?\\") {
        const std::string_view unc = text.substr(4, 4);
        const bool isUnc = unc.size() == 4 && (unc[0] | 0x20) == 'u' && (unc[1] | 0x20) == 'n' &&
                           (unc[2] | 0x20) == 'c' && unc[3] == '\\';
        return isUnc ? Prefix{NameKind::ExtendedUnc, 8} : Prefix{NameKind::Extended, 4};
    }
    if (text.substr(0, 2) == "\\\\") return {NameKind::Unc, 2};
    return {NameKind::Plain, 0};
}

// Width of the character at i: 2 for a lead byte with its second byte present.
size_t CharWidth(std::string_view text, size_t i)
{
    return IsDBCSLeadByte(static_cast<BYTE>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

// Index of the first / last backslash in [from, to) that is a character of its own
// (from must start a character); npos when there is none.
size_t FirstSeparator(std::string_view text, size_t from, size_t to)
{
    for (size_t i = from; i < to; i += CharWidth(text, i))
        if (text[i] == '\\') return i;
    return std::string_view::npos;
}

size_t LastSeparator(std::string_view text, size_t from, size_t to)
{
    size_t last = std::string_view::npos;
    for (size_t i = from; i < to; i += CharWidth(text, i))
        if (text[i] == '\\') last = i;
    return last;
}

// The text up to and including the backslash at index sep; empty for npos.
std::string ThroughSeparator(std::string_view text, size_t sep)
{
    return sep == std::string_view::npos ? std::string() : std::string(text.substr(0, sep + 1));
}

// Slashes become backslashes, and after the prefix a run of backslashes becomes one.
std::string Normalised(std::string_view text)
{
    std::string slashed(text);
    for (char& c : slashed)
        if (c == '/') c = '\\'; // 0x2F is never the second byte of a double-byte character
    const size_t start = PrefixOf(slashed).length;
    std::string out = slashed.substr(0, start);
    out.reserve(slashed.size());
    bool afterSeparator = start > 0; // every prefix ends with a backslash
    for (size_t i = start; i < slashed.size();) {
        const size_t width = CharWidth(slashed, i);
        const bool separator = width == 1 && slashed[i] == '\\';
        if (!(separator && afterSeparator)) out.append(slashed, i, width);
        afterSeparator = separator;
        i += width;
    }
    return out;
}

// A server name between backslashes ("\\srv\") from the text after a UNC prefix.
std::string ServerName(std::string_view rest)
{
    const size_t sep = FirstSeparator(rest, 0, rest.size());
    return sep == std::string_view::npos ? std::string() : "\\\\" + ThroughSeparator(rest, sep);
}

std::string DriveOf(std::string_view text)
{
    const Prefix prefix = PrefixOf(text);
    const std::string_view rest = text.substr(prefix.length);
    if (prefix.kind == NameKind::Unc || prefix.kind == NameKind::ExtendedUnc)
        return ServerName(rest);
    // A letter and a colon, with the backslash of the root when one follows.
    if (rest.size() < 2 || rest[1] != ':' || CharWidth(rest, 0) != 1) return std::string();
    return std::string(rest.substr(0, rest.size() > 2 && rest[2] == '\\' ? 3 : 2));
}

// Extended names lose their prefix (an extended UNC name becomes a UNC name), then the
// text is cut after its last backslash.
std::string DirectoryOf(std::string_view text)
{
    const Prefix prefix = PrefixOf(text);
    std::string plain;
    if (prefix.kind == NameKind::ExtendedUnc)
        plain = "\\\\" + std::string(text.substr(8));
    else if (prefix.kind == NameKind::Extended)
        plain = std::string(text.substr(4));
    else
        plain = std::string(text);
    return ThroughSeparator(plain, LastSeparator(plain, 0, plain.size()));
}

} // namespace

TFileName::TFileName() { m_ClassType = ClassFileName; }

TFileName::TFileName(const TString& text) : TString(text)
{
    m_ClassType = ClassFileName;
    Refresh();
}

TFileName::TFileName(const char* text) : TString(text)
{
    m_ClassType = ClassFileName;
    Refresh();
}

TFileName::TFileName(const TFileName& name) : TobjectBase(), TString(name)
{
    m_ClassType = ClassFileName;
}

TFileName& TFileName::operator=(const TFileName& name)
{
    TString::operator=(name);
    return *this;
}

TFileName& TFileName::operator&=(const TFileName& name)
{
    TString::operator&=(name);
    Refresh();
    return *this;
}

TFileName operator&(const TFileName& a, const TFileName& b)
{
    TFileName joined(a);
    joined &= b;
    return joined;
}

void TFileName::Refresh()
{
    if (!ChangeStringType(TypeAnsi)) return;
    const std::string text = Normalised(std::string_view(*this, Len()));
    TString::operator=(TString(text.c_str()));
}

TString TFileName::GetDriveName() const
{
    return TString(DriveOf(std::string_view(*this, Len())).c_str());
}

TString TFileName::GetDirectoryName() const
{
    return TString(DirectoryOf(std::string_view(*this, Len())).c_str());
}

TString TFileName::GetShortFileName() const
{
    const std::string_view text(*this, Len());
    const size_t sep = LastSeparator(text, 0, text.size());
    return TString(
        std::string(sep == std::string_view::npos ? text : text.substr(sep + 1)).c_str());
}

void TFileName::SetDriveName(const TString& drive)
{
    const std::string directory = DirectoryOf(std::string_view(*this, Len()));
    const std::string below = directory.substr(DriveOf(directory).size());
    const TFileName newDrive(drive);
    const TString shortName = GetShortFileName();
    const std::string text = std::string(std::string_view(newDrive, newDrive.Len())) + "\\" +
                             below + std::string(std::string_view(shortName, shortName.Len()));
    TString::operator=(TString(text.c_str()));
    Refresh();
}

void TFileName::SetDirectoryName(const TString& directory)
{
    TString text(directory);
    text &= GetShortFileName();
    TString::operator=(text);
    Refresh();
}

void TFileName::SetShortFileName(const TString& name)
{
    const std::string_view text(*this, Len());
    TString joined(ThroughSeparator(text, LastSeparator(text, 0, text.size())).c_str());
    joined &= name;
    TString::operator=(joined);
    Refresh();
}

TFileName TFileName::GetUpDirName() const
{
    const std::string directory = DirectoryOf(std::string_view(*this, Len()));
    // The last backslash before the directory's own final one (a one-character
    // directory has none: the result is empty).
    const size_t end = directory.size() >= 2 ? directory.size() - 2 : 0;
    return TFileName(ThroughSeparator(directory, LastSeparator(directory, 0, end)).c_str());
}

TFileName TFileName::GetCurrentDirectoryA()
{
    std::string buffer(MAX_PATH, '\0');
    for (;;) {
        const DWORD got = ::GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), &buffer[0]);
        if (got < buffer.size()) {
            buffer.resize(got);
            break;
        }
        buffer.assign(got + 1, '\0'); // too long for the buffer: got is the size it needs
    }
    return TFileName(buffer.c_str());
}

TFileName TFileName::SetCurrentDirectoryA(const TFileName& name)
{
    TFileName previous = GetCurrentDirectoryA();
    const char* text = name;
    if (text) ::SetCurrentDirectoryA(text);
    return previous;
}
