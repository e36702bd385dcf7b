#include "tools/mdb_row.h"

#include <charconv>
#include <limits>
#include <span>

#include "tools/mdb_text.h"

namespace mdb {

namespace {
std::string Where(const TTableLayout& layout, const TColumnLayout& col, uint64_t rowNumber) {
  return "column " + col.Name + " of row " + std::to_string(rowNumber) + " of table " + layout.Name;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// "{8E39276A-BCA8-4AC4-891E-49911D8438DD}" -> 16 bytes: the first three groups little-endian
// (6A 27 39 8E, A8 BC, C4 4A), the last two byte by byte (89 1E, 49 91 1D 84 38 DD).
void PutGuid(const TTableLayout& layout, const TColumnLayout& col, uint64_t rowNumber, const std::string& text,
             uint8_t* at) {
  static constexpr int kGroupDigits[] = {8, 4, 4, 4, 12};
  static constexpr bool kLittleEndian[] = {true, true, true, false, false};
  size_t pos = 1;
  bool valid = text.size() == 38 && text.front() == '{' && text.back() == '}';
  for (int group = 0; group < 5 && valid; ++group) {
    const int bytes = kGroupDigits[group] / 2;
    for (int i = 0; i < bytes && valid; ++i) {
      const int high = HexDigit(text[pos + 2 * i]), low = HexDigit(text[pos + 2 * i + 1]);
      valid = high >= 0 && low >= 0;
      at[kLittleEndian[group] ? bytes - 1 - i : i] = uint8_t(high << 4 | low);
    }
    at += bytes;
    pos += kGroupDigits[group];
    valid = valid && text[pos] == (group < 4 ? '-' : '}');
    ++pos;
  }
  if (!valid) throw EMdbWriteError("\"" + text + "\" is not a valid replication ID in " + Where(layout, col, rowNumber));
}

void PutFixedValue(const TTableLayout& layout, const TColumnLayout& col, uint64_t rowNumber,
                   const std::string& text, uint8_t* at) {
  if (col.Type == TMdbColumnType::ReplicationId) return PutGuid(layout, col, rowNumber, text, at);
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
               std::vector<uint8_t>& out, TRowScratch& scratch, bool shortAllowed) {
  const size_t columnCount = row.size();  // columns stored in this row: a prefix of the table's
  if (columnCount != layout.Columns.size() && !(shortAllowed && columnCount > 0 && columnCount < layout.Columns.size()))
    throw EMdbWriteError("Row " + std::to_string(rowNumber) + " of table " + layout.Name + " has " +
                         std::to_string(row.size()) + " values for " + std::to_string(layout.Columns.size()) +
                         " columns");
  const std::span<const TColumnLayout> stored(layout.Columns.data(), columnCount);
  size_t fixedSize = 0;
  uint16_t varCount = 0;
  for (const TColumnLayout& col : stored) {
    if (col.Fixed) fixedSize = col.FixedOffset + col.Length;
    else ++varCount;
  }
  out.clear();
  AppendU16(out, uint16_t(columnCount));
  out.resize(2 + fixedSize, 0);
  for (const TColumnLayout& col : stored) {
    if (col.Fixed && row[col.Number]) PutFixedValue(layout, col, rowNumber, *row[col.Number], &out[2 + col.FixedOffset]);
  }

  if (layout.VarCount > 0) {
    scratch.varOffsets.clear();
    for (const TColumnLayout& col : stored) {
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
    AppendU16(out, varCount);
  }

  const size_t maskStart = out.size();
  out.resize(maskStart + (columnCount + 7) / 8, 0);
  for (const TColumnLayout& col : stored) {
    if (row[col.Number]) out[maskStart + col.Number / 8] |= uint8_t(1u << (col.Number % 8));
  }
  if (out.size() > kMaxRowSize)
    throw EMdbWriteError("Row " + std::to_string(rowNumber) + " of table " + layout.Name + " is longer than a page can hold");
}

}  // namespace mdb
