#include "tools/mdb_text.h"

#include "platform/core/utf8.h"

namespace mdb {

bool Utf8ToUcs2(std::string_view utf8, std::u16string& out) {
  out.clear();
  bool ascii = true;
  for (char c : utf8) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) {  // most stored values: codes, pinyin, English names
    out.assign(utf8.begin(), utf8.end());
    return true;
  }
  std::u32string codePoints = Utf8ToUtf32(utf8);
  // The shared decoder turns each malformed byte into one character; re-encoding tells the
  // two apart: only well-formed input comes back byte for byte.
  if (Utf32ToUtf8(codePoints) != utf8) return false;
  for (char32_t cp : codePoints) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    if (cp < 0x10000) {
      out.push_back(char16_t(cp));
    } else {
      cp -= 0x10000;
      out.push_back(char16_t(0xD800 + (cp >> 10)));
      out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
    }
  }
  return true;
}

void AppendUcs2(std::u16string_view text, std::vector<uint8_t>& out) {
  for (char16_t unit : text) {
    out.push_back(uint8_t(unit));
    out.push_back(uint8_t(unit >> 8));
  }
}

void AppendCompressibleText(std::u16string_view text, std::vector<uint8_t>& out) {
  const size_t start = out.size();
  const size_t plainSize = text.size() * 2;
  auto plain = [&] {
    out.resize(start);
    AppendUcs2(text, out);
  };
  if (text.empty()) return;
  out.push_back(0xFF);
  out.push_back(0xFE);
  bool compressedMode = true;
  for (char16_t unit : text) {
    const bool fitsOneByte = unit >= 0x01 && unit <= 0xFF;
    if (unit == 0 || (!fitsOneByte && (unit & 0xFF) == 0)) return plain();
    if (fitsOneByte != compressedMode) {
      out.push_back(0x00);
      compressedMode = fitsOneByte;
    }
    out.push_back(uint8_t(unit));
    if (!compressedMode) out.push_back(uint8_t(unit >> 8));
    if (out.size() - start >= plainSize) return plain();
  }
}

}  // namespace mdb
