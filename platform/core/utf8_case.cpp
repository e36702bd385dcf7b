#include "platform/core/utf8_case.h"

#include "platform/core/utf8.h"

char32_t UpperCaseCodePoint(char32_t c) {
  if (c < 0x80) return c >= 'a' && c <= 'z' ? c - 0x20 : c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  if (c == 0xFF) return 0x178;
  if (c == 0xB5) return 0x39C;  // micro sign
  if (c >= 0x100 && c <= 0x17F) {
    // Pairs upper/lower on even/odd code points, except the runs that start on odd ones.
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? c : c - 1;
    if (c == 0x131) return 'I';
    if (c == 0x17F) return 'S';
    if (c == 0x130 || c == 0x138 || c == 0x149 || c == 0x178) return c;
    return (c & 1) ? c - 1 : c;
  }
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 0x20;
  if (c == 0x3C2) return 0x3A3;  // final sigma
  if (c >= 0x3AC && c <= 0x3CE) {
    switch (c) {
      case 0x3AC: return 0x386;
      case 0x3AD: return 0x388;
      case 0x3AE: return 0x389;
      case 0x3AF: return 0x38A;
      case 0x3CC: return 0x38C;
      case 0x3CD: return 0x38E;
      case 0x3CE: return 0x38F;
      default: return c;
    }
  }
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  if (c >= 0xFF41 && c <= 0xFF5A) return c - 0x20;  // full-width a..z
  return c;
}

void AppendUtf8UpperCase(std::string_view s, std::string& out) {
  size_t pos = 0;
  while (pos < s.size()) {
    unsigned char b = static_cast<unsigned char>(s[pos]);
    if (b < 0x80) {  // ASCII fast path
      out.push_back(b >= 'a' && b <= 'z' ? char(b - 0x20) : char(b));
      ++pos;
      continue;
    }
    size_t start = pos;
    char32_t cp = DecodeUtf8(s, pos);
    char32_t up = UpperCaseCodePoint(cp);
    if (up != cp) AppendUtf8(up, out);
    else out.append(s.substr(start, pos - start));  // keep the bytes (also invalid ones)
  }
}

std::string Utf8UpperCase(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  AppendUtf8UpperCase(s, out);
  return out;
}

bool IsUtf8UpperCaseInvariant(std::string_view s) {
  size_t pos = 0;
  while (pos < s.size()) {
    unsigned char b = static_cast<unsigned char>(s[pos]);
    if (b < 0x80) {
      if (b >= 'a' && b <= 'z') return false;
      ++pos;
      continue;
    }
    char32_t cp = DecodeUtf8(s, pos);
    if (UpperCaseCodePoint(cp) != cp) return false;
  }
  return true;
}
