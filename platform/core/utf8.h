#pragma once
// Text above the platform layer is UTF-8; lengths, caret positions and "first characters"
// count Unicode characters (code points), never bytes. These are the only helpers for that.
#include <string>
#include <string_view>

// Number of code points in s (a malformed byte counts as one character).
size_t Utf8Length(std::string_view s);
// The first count code points of s (all of s when it is shorter).
std::string Utf8Left(std::string_view s, size_t count);
// Byte offset of code point number index (s.size() when index is past the end).
size_t Utf8Offset(std::string_view s, size_t index);
std::u32string Utf8ToUtf32(std::string_view s);
std::string Utf32ToUtf8(std::u32string_view s);
// ASCII upper/lower case; other characters are left as they are.
std::string AnsiUpperCase(std::string_view s);
std::string AnsiLowerCase(std::string_view s);
