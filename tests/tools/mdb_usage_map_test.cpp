// Usage maps name exactly a table's pages, in both forms, including ranges that cross from
// one bitmap page to the next (tables past 128 MB), which the synthetic files do not reach.
#include "tools/mdb_usage_map.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

uint32_t ReadU32(const uint8_t* at) { return at[0] | at[1] << 8 | at[2] << 16 | uint32_t(at[3]) << 24; }

// The pages a map row names, read the way the format describes (and libmdb reads it).
std::set<uint32_t> PagesNamedBy(const std::vector<uint8_t>& row, const std::map<uint32_t, mdb::TPage>& bitmapPages) {
  std::set<uint32_t> pages;
  if (row[0] == 0x00) {
    const uint32_t first = ReadU32(&row[1]);
    for (size_t bit = 0; bit < (row.size() - 5) * 8; ++bit)
      if (row[5 + bit / 8] & (1 << bit % 8)) pages.insert(first + uint32_t(bit));
  } else {
    for (size_t slot = 0; slot < (row.size() - 1) / 4; ++slot) {
      const uint32_t pageNumber = ReadU32(&row[1 + 4 * slot]);
      if (!pageNumber) continue;
      const mdb::TPage& bitmap = bitmapPages.at(pageNumber);
      EXPECT_EQ(bitmap[0], mdb::kPageUsageBitmap);
      for (uint32_t bit = 0; bit < mdb::kPagesPerBitmapPage; ++bit)
        if (bitmap[4 + bit / 8] & (1 << bit % 8)) pages.insert(uint32_t(slot) * mdb::kPagesPerBitmapPage + bit);
    }
  }
  return pages;
}

TEST(MdbUsageMap, NamesExactlyTheOwnedPagesInlineOrByReference) {
  const struct {
    const char* why;
    mdb::TPageRange owned;
    uint8_t expectedType;
    size_t expectedBitmapPages;
  } cases[] = {
      {"no pages", {0, 0}, 0x00, 0},
      {"one page", {40, 1}, 0x00, 0},
      {"largest inline map", {40, 472}, 0x00, 0},
      {"one page more needs a reference map", {40, 473}, 0x01, 1},
      {"ends on the last page of the first bitmap", {30000, 2736}, 0x01, 1},
      {"crosses into the second bitmap", {32000, 1000}, 0x01, 2},
      {"spans three bitmaps", {10, 70000}, 0x01, 3},
      {"far from page 0: an inline map starts anywhere", {200000, 5}, 0x00, 0},
      {"a large table far from page 0", {200000, 1000}, 0x01, 1},
  };
  for (const auto& c : cases) {
    std::map<uint32_t, mdb::TPage> bitmapPages;
    const std::vector<uint8_t> row = mdb::UsageMapRow(c.owned, [&](const mdb::TPage& page) {
      const uint32_t number = 900000 + uint32_t(bitmapPages.size());
      bitmapPages[number] = page;
      return number;
    });
    EXPECT_EQ(row.size(), mdb::kUsageMapRowSize) << c.why;
    EXPECT_EQ(row[0], c.expectedType) << c.why;
    EXPECT_EQ(bitmapPages.size(), c.expectedBitmapPages) << c.why;
    std::set<uint32_t> expected;
    for (uint32_t page = c.owned.First; page < c.owned.First + c.owned.Count; ++page) expected.insert(page);
    EXPECT_TRUE(PagesNamedBy(row, bitmapPages) == expected) << c.why;
  }
}

}  // namespace
