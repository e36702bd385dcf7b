#pragma once
// Case folding of UTF-8 text for comparisons that ignore letter case (LIKE, locate options).
// Covers ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic and full-width Latin letters;
// characters without case (CJK among them) and invalid bytes (see utf8.h) pass unchanged.
#include <string>
#include <string_view>

// The upper-case form of s.
std::string Utf8UpperCase(std::string_view s);
// Appends the upper-case form of s to out (no allocation when out has room).
void AppendUtf8UpperCase(std::string_view s, std::string& out);
// Upper case of one code point.
char32_t UpperCaseCodePoint(char32_t c);
// True when Utf8UpperCase(s) == s (nothing to fold).
bool IsUtf8UpperCaseInvariant(std::string_view s);
