#pragma once
// Constants and little-endian byte helpers shared by the Jet 4 page builders.
// Every multi-byte number in a Jet 4 file is little-endian.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mdb {

constexpr size_t kPageSize = 4096;
using TPage = std::array<uint8_t, kPageSize>;

// Page types (first byte of every page).
constexpr uint8_t kPageHeader = 0x00;
constexpr uint8_t kPageData = 0x01;
constexpr uint8_t kPageTableDef = 0x02;
constexpr uint8_t kPageUsageBitmap = 0x05;

// Column type codes of the table definition.
constexpr uint8_t kColInteger = 0x03;
constexpr uint8_t kColLongInteger = 0x04;
constexpr uint8_t kColText = 0x0A;
constexpr uint8_t kColOle = 0x0B;
constexpr uint8_t kColReplicationId = 0x0F;

// Flags in the upper bits of a data page's row offset; the low 13 bits are the offset.
constexpr uint16_t kRowDeleted = 0x8000;   // the slot is no row of the table (deleted, or the
                                           // stored copy of an overflow row)
constexpr uint16_t kRowOverflow = 0x4000;  // the slot holds page << 8 | row of the row's data
constexpr uint16_t kRowOffsetMask = 0x1FFF;

// "General" sort order (locale 1033), the Access 2000 default; version 0 is the original
// ("General - Legacy" in later Access versions).
constexpr uint16_t kSortGeneral = 0x0409;
constexpr uint16_t kCodePageWestern = 1252;

// The page holding a table definition is named in catalog entries and data pages; a row of a
// data page is named by page << 8 | row (rows 0..255).
constexpr uint32_t kMaxRowsPerPage = 255;

inline void PutU8(uint8_t* at, uint8_t v) { at[0] = v; }
inline void PutU16(uint8_t* at, uint16_t v) {
  at[0] = uint8_t(v);
  at[1] = uint8_t(v >> 8);
}
inline void PutU32(uint8_t* at, uint32_t v) {
  for (int i = 0; i < 4; ++i) at[i] = uint8_t(v >> (8 * i));
}

// Appends to a growing byte buffer (rows, definition blocks).
inline void AppendU16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
inline void AppendU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

}  // namespace mdb
