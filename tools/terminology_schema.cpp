#include "tools/terminology_schema.h"

#include <algorithm>

#include "platform/core/utf8.h"

std::vector<TMdbColumn> WhoartColumns() {
  return {{"PY", TMdbColumnType::Text, 50},   {"NAME", TMdbColumnType::Text, 100},
          {"ENAME", TMdbColumnType::Text, 255}, {"TID", TMdbColumnType::Text, 10},
          {"SID1", TMdbColumnType::Text, 10}, {"SID2", TMdbColumnType::Text, 10},
          {"SID3", TMdbColumnType::Text, 10}};
}

std::vector<TMdbColumn> LjxtColumns() {
  return {{"SID", TMdbColumnType::Text, 10}, {"NAME", TMdbColumnType::Text, 100},
          {"ENAME", TMdbColumnType::Text, 255}};
}

namespace {

// A Text column's size counts UTF-16 code units: a character beyond U+FFFF takes two.
size_t utf16Length(std::string_view text) {
  size_t units = 0;
  for (size_t pos = 0; pos < text.size();) units += DecodeUtf8(text, pos) > 0xFFFF ? 2 : 1;
  return units;
}

}  // namespace

std::vector<TMdbColumn> SizedToRows(std::vector<TMdbColumn> columns, const std::vector<TMdbRow>& rows) {
  for (size_t c = 0; c < columns.size(); ++c) {
    if (columns[c].Type != TMdbColumnType::Text) continue;
    size_t longest = 0;
    for (const TMdbRow& row : rows)
      if (c < row.size() && row[c]) longest = std::max(longest, utf16Length(*row[c]));
    const int rounded = std::max<int>(10, int((longest + 9) / 10 * 10));
    columns[c].MaxLength = std::min(columns[c].MaxLength, rounded);
  }
  return columns;
}
