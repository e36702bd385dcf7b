// Jet 4 text values from their stored bytes: plain UTF-16LE, the compressed form with its mode
// switches, characters beyond U+FFFF, and every fault that becomes U+FFFD.
#include "platform/db/jet_text.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::string Decode(const std::vector<uint8_t>& stored, std::string out = {}) {
  AppendJet4Text(stored, out);
  return out;
}

TEST(JetTextTest, DecodesEveryStoredForm) {
  const std::string fffd = "\xEF\xBF\xBD";  // U+FFFD
  struct Case {
    const char* what;
    std::vector<uint8_t> stored;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"nothing stored", {}, ""},
      {"plain ASCII", {'A', 0, 'b', 0}, "Ab"},
      {"plain CJK", {0x2D, 0x4E, 0x87, 0x65}, "中文"},
      {"plain U+0000 stays a character", {0, 0, 'A', 0}, std::string("\0A", 2)},
      {"compressed, nothing after the marker", {0xFF, 0xFE}, ""},
      {"compressed ASCII", {0xFF, 0xFE, 'F', 'R'}, "FR"},
      {"compressed Latin-1", {0xFF, 0xFE, 'c', 'a', 'f', 0xE9}, "café"},
      {"compressed, into two-byte mode and back", {0xFF, 0xFE, 'A', 0, 0x2D, 0x4E, 0, 'B'}, "A中B"},
      {"compressed, ending in two-byte mode", {0xFF, 0xFE, 0, 0x2D, 0x4E, 0x87, 0x65}, "中文"},
      {"compressed, two switches in a row", {0xFF, 0xFE, 'A', 0, 0, 'B'}, "AB"},
      {"plain surrogate pair (U+20000)", {0x40, 0xD8, 0x00, 0xDC}, "𠀀"},
      {"plain surrogate pair (U+1F600) between BMP characters",
       {'A', 0, 0x3D, 0xD8, 0x00, 0xDE, 0x2D, 0x4E}, "A😀中"},
      {"surrogate pair in compressed two-byte mode (U+20001)",
       {0xFF, 0xFE, 'A', 0, 0x40, 0xD8, 0x01, 0xDC, 0, 'B'}, "A𠀁B"},
      {"high surrogate at the end", {'A', 0, 0x40, 0xD8}, "A" + fffd},
      {"high surrogate before a BMP character", {0x40, 0xD8, 'A', 0}, fffd + "A"},
      {"high surrogate before another pair", {0x40, 0xD8, 0x40, 0xD8, 0x00, 0xDC}, fffd + "𠀀"},
      {"low surrogate alone", {0x00, 0xDC, 'A', 0}, fffd + "A"},
      {"pair in the wrong order", {0x00, 0xDC, 0x40, 0xD8}, fffd + fffd},
      {"high surrogate cut off by a switch to one-byte mode",
       {0xFF, 0xFE, 0, 0x40, 0xD8, 0, 'A'}, fffd + "A"},
      {"odd byte count, plain", {'A', 0, 'B'}, "A" + fffd},
      {"a single byte", {0xFF}, fffd},
      {"odd byte count after a high surrogate", {0x40, 0xD8, 'B'}, fffd + fffd},
      {"odd byte count in compressed two-byte mode", {0xFF, 0xFE, 0, 0x2D, 0x4E, 'A'}, "中" + fffd},
  };
  for (const Case& c : cases) EXPECT_EQ(Decode(c.stored), c.text) << c.what;
  EXPECT_EQ(Decode({'B', 0}, "A"), "AB");  // appends to what out holds
}

}  // namespace
