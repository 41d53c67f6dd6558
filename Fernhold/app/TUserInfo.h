// The administrator's credentials and the rights word, kept in a record file, and
// where the system copy of that file lives.
#pragma once

#include "app/TRecordFile.h"
#include "ui/RightsCheck.h"

// Main thread only; the application object owns the local copy and the system copy.
class TUserInfo : public TRecordFile {
public:
    // Texts and rights of the other copy.
    void CopyFrom(const TUserInfo& other);
    // 1 when texts and rights equal the other copy's, byte for byte.
    int SameAs(const TUserInfo& other) const;
    // 1 when name and password equal the stored ones, byte for byte and case-sensitive.
    int Authenticates(const char* name, const char* password) const;

    uint32_t m_Rights = RIGHTS_NOT_IN_USE;

protected:
    // The texts, then the rights word as a fourth record of 4 bytes.
    void Pack() override;
    int Unpack() override;
};

// Byte-for-byte equality of a text and a plain string (null counts as empty).
int SameText(const TString& text, const char* other);

// The system directory that holds the system copy of the user information; tests point
// it at a folder of their own (null restores the real one).
void SetSystemDirectoryOverride(const char* directory);
// The system directory followed by "\frnsystem.dll".
void GetSystemCopyPath(char* path, unsigned long size);
