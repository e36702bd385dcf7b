#pragma once
// Text encoding of Jet 4 files.
//
// Jet 4 stores text as UTF-16LE code units: a character beyond U+FFFF (CJK Extension B,
// emoji) is a surrogate pair, two units, and takes two of a Text column's characters. A text
// column flagged "Unicode compression" may hold a value in compressed form instead:
//
//   | bytes   | meaning                                                                 |
//   |---------|-------------------------------------------------------------------------|
//   | FF FE   | marker: the value is compressed                                         |
//   | ...     | starts in compressed mode: one byte per character, high byte 0          |
//   | 00      | switches between compressed mode and uncompressed mode                  |
//   | ...     | uncompressed mode: two bytes per character, as UCS-2                    |
//
// Because 00 switches mode, a value can only be compressed when no character is U+0000 and no
// character stored in uncompressed mode has a zero low byte (U+4E00 "一", for example). A
// value is stored compressed only when that makes it shorter, as Access does.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mdb {

// UTF-16 code units of a UTF-8 text into out (replacing its content), surrogate pairs for
// characters beyond U+FFFF; false when the text is not valid UTF-8. Callers build their own
// message: this runs once per stored value.
bool Utf8ToUcs2(std::string_view utf8, std::u16string& out);

// Appends plain UCS-2LE bytes of text to out.
void AppendUcs2(std::u16string_view text, std::vector<uint8_t>& out);

// Appends the stored bytes of a text value in a column with Unicode compression to out:
// compressed when possible and shorter, plain UCS-2LE otherwise.
void AppendCompressibleText(std::u16string_view text, std::vector<uint8_t>& out);

}  // namespace mdb
