#pragma once
// Sort keys that put UTF-8 text in GBK byte order.
//
// Chinese names sort by pinyin (GB2312 level 1) or by radical and stroke (level 2) only when
// their GBK codes are compared; UTF-8 byte order is Unicode order, which is neither. Making a
// key once and comparing keys byte by byte (std::string::compare, memcmp) gives that order
// without converting text on every comparison.
//
// Key layout, one entry per character of the text (invalid bytes as utf8.h decodes them):
//   ASCII (below 0x80)              the byte itself
//   a character with a GBK code     its two GBK bytes (lead 0x81..0xFE)
//   any other character             0xFF and the code point in three bytes, big-endian
//                                   (invalid bytes are their escapes U+DC80..U+DCFF)
// Every entry's first byte tells its length, so two keys compare as their texts compare
// character by character: ASCII first, then GBK codes in code order, then the rest in code
// point order; a text that is a prefix of another comes first. Equal keys mean equal texts.
//
// The code table is built once, on first use, from the system's character conversion (glibc
// iconv, "GBK", else "GB18030" limited to its two-byte codes). Without either, every
// non-ASCII character falls in the last group, in code point order.
#include <string>
#include <string_view>

// The key of a UTF-8 text.
std::string GbkSortKey(std::string_view utf8);
// Appends the key of utf8 to out.
void AppendGbkSortKey(std::string_view utf8, std::string& out);
// The two-byte GBK code of a code point (lead byte high), or 0 when it has none (ASCII
// included: it stays one byte).
unsigned GbkCodeOf(char32_t codePoint);
