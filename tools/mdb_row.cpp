#include "tools/mdb_row.h"

#include <charconv>
#include <limits>

#include "tools/mdb_text.h"

namespace mdb {

namespace {
std::string Where(const TTableLayout& layout, const TColumnLayout& col, uint64_t rowNumber) {
  return "column " + col.Name + " of row " + std::to_string(rowNumber) + " of table " + layout.Name;
}

void PutFixedValue(const TTableLayout& layout, const TColumnLayout& col, uint64_t rowNumber,
                   const std::string& text, uint8_t* at) {
  long long value = 0;
  const char* end = text.data() + text.size();
  auto [stop, ec] = std::from_chars(text.data(), end, value);
  const bool isLong = col.Type == TMdbColumnType::LongInteger;
  const long long low = isLong ? std::numeric_limits<int32_t>::min() : std::numeric_limits<int16_t>::min();
  const long long high = isLong ? std::numeric_limits<int32_t>::max() : std::numeric_limits<int16_t>::max();
  if (ec != std::errc() || stop != end || value < low || value > high)
    throw EMdbWriteError("\"" + text + "\" is not a valid " + (isLong ? "Long Integer" : "Integer") + " in " +
                         Where(layout, col, rowNumber));
  if (isLong)
    PutU32(at, uint32_t(int32_t(value)));
  else
    PutU16(at, uint16_t(int16_t(value)));
}

void AppendText(const TTableLayout& layout, const TColumnLayout& col, uint64_t rowNumber,
                const std::string& text, std::vector<uint8_t>& out, TRowScratch& scratch) {
  if (!Utf8ToUcs2(text, scratch.text))
    throw EMdbWriteError("Invalid UTF-8 text in " + Where(layout, col, rowNumber));
  if (scratch.text.size() > size_t(col.MaxLength))
    throw EMdbWriteError("The text in " + Where(layout, col, rowNumber) + " is longer than " +
                         std::to_string(col.MaxLength) + " characters");
  if (col.Compressed)
    AppendCompressibleText(scratch.text, out);
  else
    AppendUcs2(scratch.text, out);
}
}  // namespace

void EncodeRow(const TTableLayout& layout, const TMdbRow& row, uint64_t rowNumber,
               std::vector<uint8_t>& out, TRowScratch& scratch) {
  const size_t columnCount = layout.Columns.size();
  if (row.size() != columnCount)
    throw EMdbWriteError("Row " + std::to_string(rowNumber) + " of table " + layout.Name + " has " +
                         std::to_string(row.size()) + " values for " + std::to_string(columnCount) + " columns");
  out.clear();
  AppendU16(out, uint16_t(columnCount));
  out.resize(2 + layout.FixedSize, 0);
  for (const TColumnLayout& col : layout.Columns) {
    if (col.Fixed && row[col.Number]) PutFixedValue(layout, col, rowNumber, *row[col.Number], &out[2 + col.FixedOffset]);
  }

  if (layout.VarCount > 0) {
    scratch.varOffsets.clear();
    for (const TColumnLayout& col : layout.Columns) {
      if (col.Fixed) continue;
      scratch.varOffsets.push_back(uint16_t(out.size()));
      const std::optional<std::string>& value = row[col.Number];
      if (!value) continue;
      if (col.Type == TMdbColumnType::LongBinary)
        throw EMdbWriteError("OLE values cannot be stored (only NULL): " + Where(layout, col, rowNumber));
      AppendText(layout, col, rowNumber, *value, out, scratch);
      if (out.size() > kMaxRowSize) break;  // reported below; keeps 16-bit offsets meaningful
    }
    AppendU16(out, uint16_t(out.size()));  // end of variable data
    for (auto it = scratch.varOffsets.rbegin(); it != scratch.varOffsets.rend(); ++it) AppendU16(out, *it);
    AppendU16(out, layout.VarCount);
  }

  const size_t maskStart = out.size();
  out.resize(maskStart + (columnCount + 7) / 8, 0);
  for (const TColumnLayout& col : layout.Columns) {
    if (row[col.Number]) out[maskStart + col.Number / 8] |= uint8_t(1u << (col.Number % 8));
  }
  if (out.size() > kMaxRowSize)
    throw EMdbWriteError("Row " + std::to_string(rowNumber) + " of table " + layout.Name + " is longer than a page can hold");
}

}  // namespace mdb
