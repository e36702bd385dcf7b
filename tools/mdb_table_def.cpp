#include "tools/mdb_table_def.h"

#include <cstring>
#include <set>

#include "platform/core/utf8.h"
#include "tools/mdb_text.h"

namespace mdb {

namespace {
constexpr size_t kMaxNameLength = 64;
constexpr size_t kMaxColumns = 255;
constexpr size_t kColumnsStart = 63;
constexpr size_t kColumnEntrySize = 25;

uint8_t TypeCodeOf(TMdbColumnType type) {
  switch (type) {
    case TMdbColumnType::Text: return kColText;
    case TMdbColumnType::LongInteger: return kColLongInteger;
    case TMdbColumnType::Integer: return kColInteger;
    case TMdbColumnType::LongBinary: return kColOle;
    case TMdbColumnType::ReplicationId: return kColReplicationId;
  }
  return kColText;
}

uint16_t FixedLengthOf(TMdbColumnType type) {
  switch (type) {
    case TMdbColumnType::LongInteger: return 4;
    case TMdbColumnType::Integer: return 2;
    case TMdbColumnType::ReplicationId: return 16;
    default: return 0;
  }
}
}  // namespace

uint16_t ListedColumnCount(const TTableLayout& layout) {
  uint16_t count = 0;
  for (const TColumnLayout& col : layout.Columns) count += !col.Deleted;
  return count;
}

std::u16string CheckObjectName(const std::string& name, const std::string& what) {
  std::u16string ucs2;
  if (!Utf8ToUcs2(name, ucs2)) throw EMdbWriteError("The name of " + what + " is not valid UTF-8");
  if (ucs2.empty() || ucs2.size() > kMaxNameLength)
    throw EMdbWriteError("The name of " + what + " must have 1 to 64 characters");
  if (ucs2.front() == u' ') throw EMdbWriteError("The name of " + what + " starts with a space");
  for (char16_t c : ucs2) {
    if (c < 0x20 || c == u'.' || c == u'!' || c == u'`' || c == u'[' || c == u']')
      throw EMdbWriteError("The name of " + what + " contains a character Access does not allow");
  }
  return ucs2;
}

TTableLayout LayoutTable(const TMdbTable& table, bool system) {
  TTableLayout layout;
  layout.Name = table.Name;
  layout.System = system;
  CheckObjectName(table.Name, "table \"" + table.Name + "\"");
  if (table.Columns.empty() || table.Columns.size() > kMaxColumns)
    throw EMdbWriteError("Table " + table.Name + " must have 1 to 255 columns");

  std::set<std::string> seen;
  uint16_t fixedOffset = 0;
  for (size_t i = 0; i < table.Columns.size(); ++i) {
    const TMdbColumn& column = table.Columns[i];
    const std::string what = "column \"" + column.Name + "\" of table " + table.Name;
    TColumnLayout col;
    col.Name = column.Name;
    col.Ucs2Name = CheckObjectName(column.Name, what);
    if (!seen.insert(AnsiUpperCase(column.Name)).second)
      throw EMdbWriteError("Table " + table.Name + " has two columns named " + column.Name);
    col.Type = column.Type;
    col.TypeCode = TypeCodeOf(column.Type);
    col.Number = uint16_t(i);
    col.Deleted = column.Deleted;
    switch (column.Type) {
      case TMdbColumnType::Text:
        if (column.MaxLength < 1 || column.MaxLength > 255)
          throw EMdbWriteError("The length of " + what + " must be 1 to 255 characters");
        col.MaxLength = column.MaxLength;
        col.Length = uint16_t(2 * column.MaxLength);
        col.Compressed = true;
        col.VarIndex = layout.VarCount++;
        break;
      case TMdbColumnType::LongBinary:
        col.VarIndex = layout.VarCount++;
        break;
      case TMdbColumnType::LongInteger:
      case TMdbColumnType::Integer:
      case TMdbColumnType::ReplicationId:
        col.Fixed = true;
        col.Length = FixedLengthOf(column.Type);
        col.FixedOffset = fixedOffset;
        fixedOffset = uint16_t(fixedOffset + col.Length);
        break;
    }
    layout.Columns.push_back(std::move(col));
  }
  layout.FixedSize = fixedOffset;
  if (ListedColumnCount(layout) == 0) throw EMdbWriteError("Table " + table.Name + " must have 1 to 255 columns");

  size_t size = kColumnsStart + kColumnEntrySize * ListedColumnCount(layout) + 2;
  for (const TColumnLayout& col : layout.Columns)
    if (!col.Deleted) size += 2 + 2 * col.Ucs2Name.size();
  if (size > kPageSize) throw EMdbWriteError("The definition of table " + table.Name + " does not fit in one page");
  return layout;
}

TPage BuildTableDefPage(const TTableLayout& layout, const TTableDefInfo& info) {
  TPage page{};
  PutU8(&page[0], kPageTableDef);
  PutU8(&page[1], 0x01);
  PutU32(&page[4], 0);
  PutU32(&page[16], info.RowCount);
  PutU8(&page[40], layout.System ? 0x53 : 0x4E);
  uint16_t listedVarCount = 0;
  for (const TColumnLayout& col : layout.Columns) listedVarCount += !col.Deleted && !col.Fixed;
  PutU16(&page[41], uint16_t(layout.Columns.size()));
  PutU16(&page[43], listedVarCount);
  PutU16(&page[45], ListedColumnCount(layout));
  PutU32(&page[47], 0);
  PutU32(&page[51], 0);
  PutU32(&page[55], info.UsedMapPageRow);
  PutU32(&page[59], info.FreeMapPageRow);

  size_t pos = kColumnsStart;
  for (const TColumnLayout& col : layout.Columns) {
    if (col.Deleted) continue;
    uint8_t* entry = &page[pos];
    PutU8(entry + 0, col.TypeCode);
    PutU16(entry + 5, col.Number);
    PutU16(entry + 7, col.VarIndex);
    PutU16(entry + 9, col.Number);
    if (col.Type == TMdbColumnType::Text) PutU16(entry + 11, kSortGeneral);
    PutU8(entry + 15, uint8_t((col.Fixed ? 0x01 : 0x00) | 0x02));
    PutU8(entry + 16, col.Compressed ? 0x01 : 0x00);
    PutU16(entry + 21, col.FixedOffset);
    PutU16(entry + 23, col.Length);
    pos += kColumnEntrySize;
  }
  for (const TColumnLayout& col : layout.Columns) {
    if (col.Deleted) continue;
    std::vector<uint8_t> name;
    AppendUcs2(col.Ucs2Name, name);
    PutU16(&page[pos], uint16_t(name.size()));
    std::memcpy(&page[pos + 2], name.data(), name.size());
    pos += 2 + name.size();
  }
  PutU16(&page[pos], 0xFFFF);
  pos += 2;

  PutU32(&page[8], uint32_t(pos));
  PutU16(&page[2], uint16_t(kPageSize - pos - 8));
  return page;
}

}  // namespace mdb
