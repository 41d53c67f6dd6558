// Texts of the destination dialogs: MAC address rows, the MAC edits' bytes, the questions
// and the notice shown while a destination's worker thread stops.
#pragma once

#include <Keelwork/TString.h>

class TDestination;

// "%02X : %02X : %02X : %02X : %02X : %02X", the row of one MAC address.
struct MacText {
    char text[28];
};
MacText FormatMacText(const unsigned char* mac);

// The byte of one MAC edit (at most two characters): a first character 0-9 or A-F is the
// high value (anything else counts 0), a valid second one adds its value below it (an
// invalid one adds nothing); one character alone is its own value; empty is 0. Upper
// case only: the edits turn what is typed into upper case.
unsigned char ParseMacByteText(const char* text);

// Question before a MAC address row is removed (Yes/No, caption PROGRAM_TITLE).
constexpr char DELETE_MAC_QUESTION[] = "本当に削除しますか？";
// Caption of the question before a destination is deleted.
constexpr char DELETE_DESTINATION_CAPTION[] = "Fernhold!";
// The destination's display name, live address and live port, each quoted on a line of its
// own, then the question. Caller holds the destination-list lock.
TString DeleteDestinationQuestion(const TDestination& destination);

// Text of the notice shown while a destination's worker thread is being stopped.
constexpr char WAIT_NOTICE_TEXT[] = "\n接続先一覧にアクセスしています。\n少々お待ちください・・・";
