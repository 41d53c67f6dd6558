// The port text of the dialogs: decimal 1 to 65535, and the message that refuses anything else.
#pragma once

// Shown (caption PROGRAM_TITLE) when a port field holds anything else; the field keeps
// the focus.
constexpr char PORT_TEXT_MESSAGE[] = "ポート番号は 1 から 65535 の数字で入力してください。";

// True when text is a decimal number from 1 to 65535 (digits only, nothing around them),
// with that number in port (host byte order); false leaves port unchanged.
bool ParsePortText(const char* text, unsigned short& port);
