// A file or directory name that keeps itself normalised and splits into drive, directory
// and short (final) name, for plain, UNC (\\srv\share), extended (\\?\C:) and
// extended-UNC (\\?\UNC\srv\share) names.
#pragma once

#include <Keelwork/TString.h>
#include <Ledgerkit/LedgerkitApi.h>

// Invariant after every constructor and modifier: ANSI text, backslashes as the only
// separator, no doubled backslash outside the leading prefix. Separators are found
// character by character in the system code page, so the second byte of a double-byte
// character (which may be 0x5C) is never taken for a backslash.
class LEDGERKIT_API TFileName : public TString {
public:
    TFileName();
    TFileName(const TString& text);
    TFileName(const char* text);
    // Copies without normalising again.
    TFileName(const TFileName& name);

    // Copies text and kind; the type word stays this object's own.
    TFileName& operator=(const TFileName& name);
    TFileName& operator&=(const TFileName& name);

    // "C:\" of C:\dir\f.txt, "C:" of C:f.txt, "\\srv\" of \\srv\share\f and of
    // \\?\UNC\srv\share\f; empty when the name has no drive.
    TString GetDriveName() const;
    // Up to and including the last backslash (extended prefixes removed, see the source);
    // empty without a backslash.
    TString GetDirectoryName() const;
    // After the last backslash; the whole text without one.
    TString GetShortFileName() const;
    // The drive replaced; the directory below the drive and the short name are kept.
    void SetDriveName(const TString& drive);
    // The directory (given with its trailing backslash) followed by the short name.
    void SetDirectoryName(const TString& directory);
    // The text up to its last backslash, prefix included, followed by the given name.
    void SetShortFileName(const TString& name);
    // The directory one level above GetDirectoryName; empty at a root.
    TFileName GetUpDirName() const;

    // The process's current directory, of any length.
    static TFileName GetCurrentDirectoryA();
    // Makes name the current directory; returns the one current before the call.
    static TFileName SetCurrentDirectoryA(const TFileName& name);

protected:
    void Refresh();
};

LEDGERKIT_API TFileName operator&(const TFileName& a, const TFileName& b);
