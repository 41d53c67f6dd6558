// The one rule for a port typed into a dialog: decimal 1 to 65535, or a refusal.
#pragma once

// Shown (caption PROGRAM_TITLE) when a dialog refuses OK over a port text.
constexpr char PORT_TEXT_MESSAGE[] = "ポート番号は 1 から 65535 の数字で入力してください。";

// true with port set (host order) when text is nothing but decimal digits naming 1 to
// 65535; false otherwise (empty, signs, spaces, other characters, 0, above 65535), port
// untouched. A five-digit edit still admits 65536 to 99999 and a pasted text anything.
bool ParsePortText(const char* text, unsigned short& port);
