#include "platform/core/utf8.h"

char32_t DecodeUtf8Sequence(std::string_view s, size_t& pos) {
  const unsigned char lead = static_cast<unsigned char>(s[pos]);
  // Length and the smallest code point that needs it (anything below is an overlong form).
  size_t len = 0;
  char32_t cp = 0, least = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    len = 2, cp = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    len = 3, cp = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    len = 4, cp = lead & 0x07, least = 0x10000;
  }
  bool valid = len != 0 && pos + len <= s.size();
  for (size_t i = 1; valid && i < len; ++i) {
    const unsigned char b = static_cast<unsigned char>(s[pos + i]);
    valid = (b & 0xC0) == 0x80;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (!valid || cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return 0xDC00 + lead;
  }
  pos += len;
  return cp;
}

void AppendUtf8(char32_t cp, std::string& out) {
  if (IsUtf8Escape(cp)) {
    out += char(cp - 0xDC00);
    return;
  }
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
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

size_t Utf8Offset(std::string_view s, size_t index) {
  size_t pos = 0;
  for (; index > 0 && pos < s.size(); --index) DecodeUtf8(s, pos);
  return pos;
}

size_t Utf8Length(std::string_view s) {
  size_t count = 0;
  for (size_t pos = 0; pos < s.size(); ++count) DecodeUtf8(s, pos);
  return count;
}

std::string Utf8Left(std::string_view s, size_t count) { return std::string(s.substr(0, Utf8Offset(s, count))); }

std::u32string Utf8ToUtf32(std::string_view s) {
  std::u32string out;
  out.reserve(s.size());
  for (size_t pos = 0; pos < s.size();) out.push_back(DecodeUtf8(s, pos));
  return out;
}

std::string Utf32ToUtf8(std::u32string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char32_t cp : s) AppendUtf8(cp, out);
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
