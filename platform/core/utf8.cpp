#include "platform/core/utf8.h"

namespace {
size_t sequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead >> 5) == 0x6) return 2;
  if ((lead >> 4) == 0xE) return 3;
  if ((lead >> 3) == 0x1E) return 4;
  return 1;  // stray continuation or invalid lead byte: one character
}
}  // namespace

size_t Utf8Offset(std::string_view s, size_t index) {
  size_t pos = 0;
  while (index > 0 && pos < s.size()) {
    pos += sequenceLength(static_cast<unsigned char>(s[pos]));
    --index;
  }
  return pos < s.size() ? pos : s.size();
}

size_t Utf8Length(std::string_view s) {
  size_t count = 0;
  for (size_t pos = 0; pos < s.size(); ++count)
    pos += sequenceLength(static_cast<unsigned char>(s[pos]));
  return count;
}

std::string Utf8Left(std::string_view s, size_t count) { return std::string(s.substr(0, Utf8Offset(s, count))); }

std::u32string Utf8ToUtf32(std::string_view s) {
  std::u32string out;
  for (size_t pos = 0; pos < s.size();) {
    unsigned char lead = static_cast<unsigned char>(s[pos]);
    size_t len = sequenceLength(lead);
    if (pos + len > s.size()) len = 1;
    char32_t cp = len == 1 ? lead : lead & (0x7F >> len);
    for (size_t i = 1; i < len; ++i) cp = (cp << 6) | (static_cast<unsigned char>(s[pos + i]) & 0x3F);
    out.push_back(cp);
    pos += len;
  }
  return out;
}

std::string Utf32ToUtf8(std::u32string_view s) {
  std::string out;
  for (char32_t cp : s) {
    if (cp < 0x80) {
      out += char(cp);
    } else if (cp < 0x800) {
      out += char(0xC0 | (cp >> 6));
      out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += char(0xE0 | (cp >> 12));
      out += char(0x80 | ((cp >> 6) & 0x3F));
      out += char(0x80 | (cp & 0x3F));
    } else {
      out += char(0xF0 | (cp >> 18));
      out += char(0x80 | ((cp >> 12) & 0x3F));
      out += char(0x80 | ((cp >> 6) & 0x3F));
      out += char(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

std::string AnsiUpperCase(std::string_view s) {
  std::string out(s);
  for (char& c : out) if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return out;
}

std::string AnsiLowerCase(std::string_view s) {
  std::string out(s);
  for (char& c : out) if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return out;
}
