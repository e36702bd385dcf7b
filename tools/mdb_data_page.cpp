#include "tools/mdb_data_page.h"

#include <cstring>

namespace mdb {

namespace {
constexpr size_t kOffsetsStart = 14;
}

TDataPageBuilder::TDataPageBuilder(uint32_t ownerPage) : ownerPage_(ownerPage) {}

int TDataPageBuilder::TryAdd(const std::vector<uint8_t>& row, uint16_t flags) {
  const size_t offsetsEnd = kOffsetsStart + 2 * (rowCount_ + 1);
  if (rowCount_ >= int(kMaxRowsPerPage) || row.empty() || offsetsEnd + row.size() > rowsStart_) return -1;
  rowsStart_ -= row.size();
  std::memcpy(&page_[rowsStart_], row.data(), row.size());
  PutU16(&page_[kOffsetsStart + 2 * rowCount_], uint16_t(rowsStart_ | flags));
  return rowCount_++;
}

TPage TDataPageBuilder::Take() {
  PutU8(&page_[0], kPageData);
  PutU8(&page_[1], 0x01);
  PutU16(&page_[2], uint16_t(rowsStart_ - (kOffsetsStart + 2 * rowCount_)));
  PutU32(&page_[4], ownerPage_);
  PutU16(&page_[12], uint16_t(rowCount_));
  TPage done = page_;
  page_ = TPage{};
  rowCount_ = 0;
  rowsStart_ = kPageSize;
  return done;
}

}  // namespace mdb
