// The two update services: service 6 serves this copy's description and the files it
// lists, service 7 takes a request to fetch an update from the requester.
#pragma once

#include "net/TServerConn.h"

class TUpdateInbox;

// Serves ./Update.ini and the files its "DESFILE" entries name, relative to the current
// directory (the program folder), and nothing else: a requested path that the
// description does not list, or that breaks its rules, gets the failure reply, as does
// a file above MAX_UPDATE_FILE_BYTES or a description above MAX_DESCRIPTION_BYTES.
class FernUpdateServ : public TServerConn {
public:
    FernUpdateServ();
    ~FernUpdateServ() override;
    void Handle(const PacketHeader& header) override;

private:
    void AnswerVersion(uint32_t requesterVersion);
    void ServeFile(const char* path, uint32_t maxBytes);

    // A file goes out piece by piece; only the description and the file's size are
    // bounded, not the memory a transfer takes.
    static constexpr unsigned long SEND_PIECE_BYTES = 64 * 1024;
    unsigned char m_Piece[SEND_PIECE_BYTES];
};

// Stores the requester's address in the inbox, which tells the main window. A payload
// that is not a 16-byte IPv4 socket address gets the failure reply.
class FernUpdateRequestServ : public TServerConn {
public:
    // inbox may be null (requests are answered and dropped).
    explicit FernUpdateRequestServ(TUpdateInbox* inbox);
    ~FernUpdateRequestServ() override;
    void Handle(const PacketHeader& header) override;

private:
    TUpdateInbox* m_Inbox;
};
