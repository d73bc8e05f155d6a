// Conversions between the game's CP932 (Shift-JIS) strings and UTF-8, over iconv.
// Source files are UTF-8; Japanese literals pass through ToCP932 where they enter the game,
// and text goes back to UTF-8 only at the platform edge (window title, message box, file names).
#pragma once
#include <string>
#include <string_view>

// UTF-8 to CP932. Characters CP932 cannot hold become '?'; invalid UTF-8 bytes become '?'.
std::string ToCP932(std::string_view Utf8);

// CP932 to UTF-8. Bytes that do not form a CP932 character become U+FFFD.
std::string ToUTF8(std::string_view Cp932);

// CP932 to UTF-8 for text that must be valid: false at the first byte that starts no CP932 character
// (or a character cut off at the end), whose offset goes to BadOffset.
bool StrictCP932ToUTF8(std::string_view Cp932, std::string& Utf8, size_t& BadOffset);

// A UTF-8 string literal converted to CP932 once and kept for the life of the program.
// Use for fixed Japanese texts: Jp("エラー").
const std::string& Jp(const char* Utf8Literal);
