#pragma once
// Page usage maps: which pages belong to a table. Readers walk a table's data pages through
// its owned-pages map; the free-space map lists pages with room for inserts.
//
// A map is a 64-byte row on a usage-map data page, in one of two forms.
//
// Inline map (type 0): enough for tables of up to 472 pages (about 1.9 MB).
//
//   | offset | size | value                                                               |
//   |--------|------|---------------------------------------------------------------------|
//   | 0      | 1    | 0x00                                                                |
//   | 1      | 4    | first page the bitmap describes                                     |
//   | 5      | 59   | bitmap, low bit first: bit k set = page (first + k) belongs         |
//
// Reference map (type 1): for larger tables.
//
//   | offset | size | value                                                               |
//   |--------|------|---------------------------------------------------------------------|
//   | 0      | 1    | 0x01                                                                |
//   | 1 + 4j | 4    | page number of bitmap page j (0 = none), j = 0..14                  |
//   | 61     | 3    | 0                                                                   |
//
// Bitmap page j describes the absolute pages j * 32736 ... (j + 1) * 32736 - 1:
//
//   | offset | size | value                                                               |
//   |--------|------|---------------------------------------------------------------------|
//   | 0      | 1    | 0x05 page type                                                      |
//   | 1      | 1    | 0x01                                                                |
//   | 2      | 2    | 0                                                                   |
//   | 4      | 4092 | bitmap, low bit first: bit k set = page (j * 32736 + k) belongs     |
//
// Fifteen bitmap pages cover 491040 pages, 2 GB: the whole of what a Jet 4 file may hold.
#include <cstdint>
#include <functional>
#include <vector>

#include "tools/mdb_format.h"

namespace mdb {

constexpr size_t kUsageMapRowSize = 64;
constexpr uint32_t kInlineMapPages = (kUsageMapRowSize - 5) * 8;
constexpr uint32_t kPagesPerBitmapPage = (kPageSize - 4) * 8;
constexpr uint32_t kReferenceMapSlots = (kUsageMapRowSize - 1) / 4;

struct TPageRange {
  uint32_t First = 0;
  uint32_t Count = 0;  // 0 = no pages
};

// Stores a bitmap page and returns the page number it got.
using TAddBitmapPage = std::function<uint32_t(const TPage& page)>;

// The map row of a table owning the pages in owned: inline when it fits, a reference map
// otherwise, whose bitmap pages go through addBitmapPage.
std::vector<uint8_t> UsageMapRow(TPageRange owned, const TAddBitmapPage& addBitmapPage);

}  // namespace mdb
