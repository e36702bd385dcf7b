// A row's cells from its bytes: the variable columns' data as their offsets place it, and rows
// whose offsets cannot be right refused.
#include "platform/db/jet_row.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A Jet 4 row of three columns: number 0 fixed (2 bytes), numbers 1 and 2 variable (indexes
// 0 and 1) holding "AB" and "CDE", every column not null. Offsets count from the row start.
//
//   03 00 (columns) | 07 00 | 'A' 'B' 'C' 'D' 'E' | 09 00 (end) | 06 00 (CDE) | 04 00 (AB) |
//   02 00 (variable columns) | 07 (null mask)
std::vector<uint8_t> Row() {
  return {0x03, 0x00, 0x07, 0x00, 'A', 'B', 'C', 'D', 'E', 0x09, 0x00, 0x06, 0x00, 0x04, 0x00, 0x02, 0x00, 0x07};
}
constexpr size_t kEndAt = 9, kSecondAt = 11, kFirstAt = 13, kCountAt = 15, kMaskAt = 17;

const std::vector<TJetColumnPlace> kColumns = {
    {0, true, 0, 0, 2},   // fixed
    {1, false, 0, 0, 0},  // variable 0
    {2, false, 1, 0, 0},  // variable 1
};

std::string Text(std::span<const uint8_t> bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(JetRowTest, VariableColumnsGetTheBytesTheirOffsetsName) {
  std::vector<TJetCell> cells;
  const std::vector<uint8_t> row = Row();
  ASSERT_TRUE(JetCrackRow(row, TJetFormat::Jet4(), true, kColumns, cells));
  ASSERT_EQ(cells.size(), 3u);
  EXPECT_EQ(cells[0].Bytes.size(), 2u);
  EXPECT_EQ(cells[0].Bytes[0], 0x07);
  EXPECT_EQ(Text(cells[1].Bytes), "AB");
  EXPECT_EQ(Text(cells[2].Bytes), "CDE");

  struct Case {
    const char* what;
    size_t at;
    uint8_t value;
    bool readable;
    const char* first;  // variable 0 when readable; nullptr: null
    const char* second;
  };
  const std::vector<Case> cases = {
      {"an empty value: two equal offsets", kEndAt, 0x06, true, "AB", ""},
      {"a null value", kMaskAt, 0x03, true, "AB", nullptr},
      {"a short row stores only the first variable column", kCountAt, 0x01, true, "AB", nullptr},
      {"offsets running backwards", kSecondAt, 0x03, false, nullptr, nullptr},
      {"a value reaching into the offsets", kEndAt, 0x0A, false, nullptr, nullptr},
      {"a value starting inside the column count", kFirstAt, 0x01, false, nullptr, nullptr},
      {"more variable columns than the row has room for", kCountAt, 0x09, false, nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> changed = Row();
    changed[c.at] = c.value;
    ASSERT_EQ(JetCrackRow(changed, TJetFormat::Jet4(), true, kColumns, cells), c.readable);
    if (!c.readable) continue;
    EXPECT_EQ(Text(cells[1].Bytes), c.first);
    EXPECT_EQ(cells[2].Null, c.second == nullptr);
    if (c.second) {
      EXPECT_EQ(Text(cells[2].Bytes), c.second);
    }
  }

  // Only a variable column with a value reads the offsets: a row whose variable columns are
  // all null does not need them.
  std::vector<uint8_t> allNull = Row();
  allNull[kCountAt] = 0x09;
  allNull[kMaskAt] = 0x01;
  EXPECT_TRUE(JetCrackRow(allNull, TJetFormat::Jet4(), true, kColumns, cells));
  EXPECT_TRUE(cells[1].Null && cells[2].Null);
}

}  // namespace
