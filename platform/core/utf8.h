#pragma once
// Text above the platform layer is UTF-8; lengths, caret positions and "first characters"
// count Unicode characters (code points), never bytes. These are the only helpers for that,
// and DecodeUtf8 is the only UTF-8 decoder: everything that reads code points goes through it.
//
// Invalid input. A byte that does not start a well-formed sequence (RFC 3629: a lead byte
// followed by the right number of 10xxxxxx bytes, no overlong form, no encoded surrogate,
// nothing above U+10FFFF, not cut off by the end of the text) decodes as ONE character, the
// escape U+DC00 + byte (U+DC80..U+DCFF), and decoding resumes at the very next byte. So
// "\xE4\xB8" (a cut-off 中) is two characters, U+DCE4 U+DCB8, and "\xFF" is U+DCFF.
// The escapes are lone low surrogates, which well-formed UTF-8 never yields, so:
//   - an invalid byte never equals a real character (and has no letter case);
//   - two different invalid bytes stay different;
//   - Utf32ToUtf8 writes an escape back as its original byte, so decoding and encoding give
//     back any byte string unchanged.
#include <string>
#include <string_view>

// First and last escape code point of an invalid byte (U+DC00 + byte, bytes 0x80..0xFF).
constexpr char32_t kUtf8EscapeFirst = 0xDC80;
constexpr char32_t kUtf8EscapeLast = 0xDCFF;
constexpr bool IsUtf8Escape(char32_t c) { return c >= kUtf8EscapeFirst && c <= kUtf8EscapeLast; }

char32_t DecodeUtf8Sequence(std::string_view s, size_t& pos);  // the non-ASCII part of DecodeUtf8

// Decodes the character starting at s[pos] (pos < s.size()) and moves pos past it: by the
// sequence's length when it is well-formed, by one byte when it is not (see above).
inline char32_t DecodeUtf8(std::string_view s, size_t& pos) {
  const unsigned char b = static_cast<unsigned char>(s[pos]);
  if (b < 0x80) {
    ++pos;
    return b;
  }
  return DecodeUtf8Sequence(s, pos);
}

// Appends the UTF-8 form of c: an escape becomes its original byte; any other surrogate and
// anything above U+10FFFF becomes U+FFFD.
void AppendUtf8(char32_t c, std::string& out);

// Number of code points in s (an invalid byte counts as one character).
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
