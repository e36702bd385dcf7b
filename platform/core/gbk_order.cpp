#include "platform/core/gbk_order.h"

#include <iconv.h>

#include <cstdint>
#include <memory>

#include "platform/core/utf8.h"

namespace {

// GBK code of every Basic Multilingual Plane code point; 0 = none. 128 KB, filled once.
struct GbkTable {
  std::unique_ptr<uint16_t[]> codes = std::make_unique<uint16_t[]>(0x10000);
};

// Converts one code point with an open converter; the two-byte result or 0.
uint16_t convertOne(iconv_t cd, char32_t cp) {
  char in[4] = {char(cp & 0xFF), char((cp >> 8) & 0xFF), 0, 0};  // UTF-32LE of a BMP point
  char out[8];
  char* inPtr = in;
  char* outPtr = out;
  size_t inLeft = sizeof in;
  size_t outLeft = sizeof out;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);  // no state carried from the last point
  if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1)) return 0;
  if (outPtr - out != 2) return 0;  // one byte (ASCII) or a four-byte GB18030 code
  const auto lead = static_cast<unsigned char>(out[0]);
  const auto trail = static_cast<unsigned char>(out[1]);
  if (lead < 0x81 || lead > 0xFE) return 0;
  return uint16_t(lead << 8 | trail);
}

GbkTable buildTable() {
  GbkTable table;
  iconv_t cd = iconv_open("GBK", "UTF-32LE");
  if (cd == iconv_t(-1)) cd = iconv_open("GB18030", "UTF-32LE");
  if (cd == iconv_t(-1)) return table;
  for (char32_t cp = 0x80; cp < 0x10000; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;  // surrogates are no characters
    table.codes[cp] = convertOne(cd, cp);
  }
  iconv_close(cd);
  return table;
}

const uint16_t* codes() {
  static const GbkTable table = buildTable();  // built once, thread-safe
  return table.codes.get();
}

}  // namespace

unsigned GbkCodeOf(char32_t codePoint) {
  if (codePoint < 0x80 || codePoint > 0xFFFF) return 0;
  return codes()[codePoint];
}

void AppendGbkSortKey(std::string_view utf8, std::string& out) {
  const uint16_t* table = codes();
  size_t pos = 0;
  while (pos < utf8.size()) {
    if (static_cast<unsigned char>(utf8[pos]) < 0x80) {  // an ASCII run as it is
      size_t end = pos + 1;
      while (end < utf8.size() && static_cast<unsigned char>(utf8[end]) < 0x80) ++end;
      out.append(utf8.data() + pos, end - pos);
      pos = end;
      continue;
    }
    char32_t cp;
    const auto lead = static_cast<unsigned char>(utf8[pos]);
    if (lead >= 0xE1 && lead <= 0xEC && pos + 2 < utf8.size() &&
        (static_cast<unsigned char>(utf8[pos + 1]) & 0xC0) == 0x80 &&
        (static_cast<unsigned char>(utf8[pos + 2]) & 0xC0) == 0x80) {
      // Three bytes with a lead that allows neither overlong forms nor surrogates: most
      // Chinese text. Anything else goes through the one decoder.
      cp = char32_t(lead & 0x0F) << 12 | char32_t(utf8[pos + 1] & 0x3F) << 6 |
           char32_t(utf8[pos + 2] & 0x3F);
      pos += 3;
    } else {
      cp = DecodeUtf8Sequence(utf8, pos);
    }
    const unsigned code = cp <= 0xFFFF ? table[cp] : 0;
    if (code) {
      out.push_back(char(code >> 8));
      out.push_back(char(code & 0xFF));
    } else {
      const char rest[4] = {char(0xFF), char(cp >> 16), char((cp >> 8) & 0xFF), char(cp & 0xFF)};
      out.append(rest, 4);
    }
  }
}

std::string GbkSortKey(std::string_view utf8) {
  std::string key;
  key.reserve(utf8.size() + 2);
  AppendGbkSortKey(utf8, key);
  return key;
}
