// The administrator's credentials and the rights word, kept in a record file.
#pragma once

#include "app/TRecordFile.h"

// Rights bits; an operation whose bit is clear needs the administrator.
constexpr uint32_t RIGHT_SHOW_MAIN_WINDOW = 0x1;
constexpr uint32_t RIGHT_CONNECT = 0x2;
constexpr uint32_t RIGHT_MOUSE = 0x4;
constexpr uint32_t RIGHT_KEYBOARD = 0x8;
constexpr uint32_t RIGHT_ADD_DESTINATION = 0x10;
constexpr uint32_t RIGHT_EDIT_DESTINATION = 0x20;
constexpr uint32_t RIGHT_DELETE_DESTINATION = 0x40;
constexpr uint32_t RIGHT_WAKE_ON_LAN = 0x80;
constexpr uint32_t RIGHT_PUSH_UPDATE = 0x100;
constexpr uint32_t RIGHT_CHANGE_OPTIONS = 0x200;
// Rights not in use: everything allowed, no administrator.
constexpr uint32_t RIGHTS_NOT_IN_USE = 0xFFFFFFFF;

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
