// Code pages of drawing files. Texts are UTF-8 in memory; files hold them in
// CP932 (the Shift_JIS of Japanese Windows, so that drawings made there load
// with their texts intact), or in UTF-8 when CP932 cannot hold them unchanged.
#pragma once

#include <string>
#include <string_view>

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above
// U+10FFFF, no cut-off sequence.
bool IsValidUtf8(std::string_view text);
// True when every byte is below 0x80.
bool IsAscii(std::string_view text);
// CP932 to UTF-8. A byte that starts no valid CP932 character becomes
// U+FFFD and reading goes on with the next byte.
std::string Cp932ToUtf8(std::string_view text);
// UTF-8 to CP932; false (out unspecified) when some character has no CP932
// form or the input is not UTF-8.
bool Utf8ToCp932(std::string_view text, std::string& out);

// A file's bytes as UTF-8: a file that is valid UTF-8 is taken as it is,
// any other as CP932.
std::string FileBytesToUtf8(std::string_view bytes);
// The bytes to write for a UTF-8 file text: CP932 when that reads back as
// exactly the same text, otherwise the UTF-8 itself. "Reads back" covers
// the characters CP932 holds only as a look-alike (several Unicode
// characters share one CP932 code) and CP932 bytes that happen to form
// valid UTF-8, which the reader would take for UTF-8. The few characters
// that Linux input methods type where Windows types a look-alike (U+301C
// WAVE DASH for U+FF5E, and the like) are written as the look-alike, so
// that such a text keeps the file in CP932; they read back as it.
std::string Utf8ToFileBytes(std::string_view text);
