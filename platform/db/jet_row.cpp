#include "platform/db/jet_row.h"

#include <string>

namespace {

constexpr uint16_t kDeletedFlag = 0x8000;
constexpr uint16_t kOverflowFlag = 0x4000;
constexpr uint16_t kOffsetMask = 0x1FFF;
constexpr uint8_t kDataPage = 0x01;

unsigned readCount(std::span<const uint8_t> bytes, size_t at, int size) {
  return size == 1 ? bytes[at] : unsigned(bytes[at] | bytes[at + 1] << 8);
}

uint16_t u16(std::span<const uint8_t> bytes, size_t at) { return uint16_t(bytes[at] | bytes[at + 1] << 8); }

}  // namespace

int JetSlotCount(std::span<const uint8_t> page, const TJetFormat& format) {
  if (page.size() != size_t(format.PageSize) || page[0] != kDataPage) return 0;
  const int count = u16(page, size_t(format.RowCountOffset));
  // The slot table must end before the page does.
  return format.RowCountOffset + 2 + 2 * count <= format.PageSize ? count : 0;
}

TJetSlot JetReadSlot(std::span<const uint8_t> page, int slot, const TJetFormat& format, bool overflowTarget) {
  TJetSlot result;
  if (slot < 0 || slot >= JetSlotCount(page, format)) return result;
  uint16_t raw = u16(page, size_t(format.RowCountOffset + 2 + 2 * slot));
  if (overflowTarget) {
    if (raw & kOverflowFlag) return result;  // a pointer to a pointer: no such thing
    raw &= uint16_t(~kDeletedFlag);
  }
  if (raw & kDeletedFlag) {
    result.Kind = TJetSlotKind::Deleted;
    return result;
  }
  const int start = raw & kOffsetMask;
  const int end = slot == 0 ? format.PageSize : u16(page, size_t(format.RowCountOffset + 2 * slot)) & kOffsetMask;
  const int slotsEnd = format.RowCountOffset + 2 + 2 * JetSlotCount(page, format);
  if (start < slotsEnd || start >= end || end > format.PageSize) return result;
  if (raw & kOverflowFlag) {
    if (end - start < 4) return result;
    const uint32_t pointer = uint32_t(page[start]) | uint32_t(page[start + 1]) << 8 |
                             uint32_t(page[start + 2]) << 16 | uint32_t(page[start + 3]) << 24;
    result.Kind = TJetSlotKind::Overflow;
    result.TargetPage = pointer >> 8;
    result.TargetSlot = int(pointer & 0xFF);
    return result;
  }
  result.Kind = TJetSlotKind::Row;
  result.Start = start;
  result.End = end;
  return result;
}

bool JetIsDataPageOf(std::span<const uint8_t> page, uint32_t definitionPage, const TJetFormat& format) {
  if (page.size() != size_t(format.PageSize) || page[0] != kDataPage) return false;
  const uint32_t owner = uint32_t(page[4]) | uint32_t(page[5]) << 8 | uint32_t(page[6]) << 16 | uint32_t(page[7]) << 24;
  return owner == definitionPage;
}

bool JetCrackRow(std::span<const uint8_t> row, const TJetFormat& format, bool tableHasVarColumns,
                 std::span<const TJetColumnPlace> columns, std::vector<TJetCell>& cells) {
  cells.assign(columns.size(), TJetCell{});
  const size_t size = row.size();
  const int countSize = format.CountSize;
  if (size < size_t(countSize)) return false;
  const unsigned columnCount = readCount(row, 0, countSize);
  const size_t maskSize = (columnCount + 7) / 8;
  if (size < countSize + maskSize) return false;
  const size_t maskStart = size - maskSize;
  // The row's fixed part ends before the variable count (and whatever precedes it); that
  // bound keeps a fixed column of a short or damaged row inside the row.
  size_t fixedEnd = maskStart;
  unsigned varCount = 0;
  if (tableHasVarColumns) {
    if (maskStart < size_t(countSize) + countSize) return false;
    varCount = readCount(row, maskStart - countSize, countSize);
    fixedEnd = maskStart - countSize;
  }
  // Jet 4 variable table: off(i) at varTableEnd - 2 (i + 1), i = 0..v; the variable data
  // lies between the column count and the table.
  const bool varOffsets = tableHasVarColumns && countSize == 2;
  const size_t varTableEnd = fixedEnd;
  const size_t varTableSize = 2 * (size_t(varCount) + 1);
  // Checked when a variable column with a value asks for its bytes.
  const bool varTableFits = varOffsets && varTableEnd >= size_t(countSize) + varTableSize;
  const size_t varDataEnd = varTableFits ? varTableEnd - varTableSize : 0;
  auto varOffset = [&](unsigned i) { return size_t(readCount(row, varTableEnd - 2 * (i + 1), 2)); };
  for (size_t i = 0; i < columns.size(); ++i) {
    const TJetColumnPlace& col = columns[i];
    TJetCell& cell = cells[i];
    if (col.Number < 0 || unsigned(col.Number) >= columnCount) continue;  // not stored: null
    cell.NotNullBit = (row[maskStart + size_t(col.Number) / 8] >> (col.Number % 8)) & 1;
    cell.Null = !cell.NotNullBit;
    if (cell.Null) continue;
    if (col.Fixed) {
      const size_t begin = size_t(countSize) + size_t(col.FixedOffset);
      if (col.FixedOffset < 0 || col.FixedSize < 0 || begin + size_t(col.FixedSize) > fixedEnd) {
        cell.Null = true;
        continue;
      }
      cell.Bytes = row.subspan(begin, size_t(col.FixedSize));
    } else if (col.VarIndex < 0 || unsigned(col.VarIndex) >= varCount) {
      cell.Null = true;
    } else if (varOffsets) {
      if (!varTableFits) return false;
      const size_t begin = varOffset(unsigned(col.VarIndex)), end = varOffset(unsigned(col.VarIndex) + 1);
      if (begin < size_t(countSize) || begin > end || end > varDataEnd) return false;
      cell.Bytes = row.subspan(begin, end - begin);
    }
  }
  return true;
}

std::string JetGuidText(std::span<const uint8_t> bytes16) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  // Byte order of the text: the first three groups reversed, the rest as stored.
  static constexpr int kOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
  if (bytes16.size() != 16) return {};
  std::string text = "{";
  for (int i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
    const uint8_t b = bytes16[size_t(kOrder[i])];
    text += kHex[b >> 4];
    text += kHex[b & 15];
  }
  return text + "}";
}
