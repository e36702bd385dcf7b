#include "tools/mdb_usage_map.h"

#include <algorithm>

#include "tools/mdb_writer.h"

namespace mdb {

namespace {
void SetBit(uint8_t* bitmap, uint32_t bit) { bitmap[bit / 8] |= uint8_t(1u << (bit % 8)); }

std::vector<uint8_t> InlineMapRow(TPageRange owned) {
  std::vector<uint8_t> row(kUsageMapRowSize, 0);
  PutU8(&row[0], 0x00);
  PutU32(&row[1], owned.First);
  for (uint32_t k = 0; k < owned.Count; ++k) SetBit(&row[5], k);
  return row;
}

std::vector<uint8_t> ReferenceMapRow(TPageRange owned, const TAddBitmapPage& addBitmapPage) {
  const uint64_t end = uint64_t(owned.First) + owned.Count;  // one past the last owned page
  if (end > uint64_t(kReferenceMapSlots) * kPagesPerBitmapPage)
    throw EMdbWriteError("The database would be larger than a Jet 4 file can be (2 GB)");
  std::vector<uint8_t> row(kUsageMapRowSize, 0);
  PutU8(&row[0], 0x01);
  for (uint32_t slot = owned.First / kPagesPerBitmapPage; uint64_t(slot) * kPagesPerBitmapPage < end; ++slot) {
    const uint32_t slotFirst = slot * kPagesPerBitmapPage;
    const uint32_t from = std::max(owned.First, slotFirst);
    const uint32_t to = uint32_t(std::min<uint64_t>(end, uint64_t(slotFirst) + kPagesPerBitmapPage));
    TPage bitmap{};
    PutU8(&bitmap[0], kPageUsageBitmap);
    PutU8(&bitmap[1], 0x01);
    for (uint32_t page = from; page < to; ++page) SetBit(&bitmap[4], page - slotFirst);
    PutU32(&row[1 + 4 * slot], addBitmapPage(bitmap));
  }
  return row;
}
}  // namespace

std::vector<uint8_t> UsageMapRow(TPageRange owned, const TAddBitmapPage& addBitmapPage) {
  if (owned.Count <= kInlineMapPages) return InlineMapRow(owned);
  return ReferenceMapRow(owned, addBitmapPage);
}

}  // namespace mdb
