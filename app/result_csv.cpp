#include "app/result_csv.h"

#include <span>

#include "app/result_table.h"
#include "platform/io/file_replacement.h"

namespace {

void appendField(std::string& out, const std::string& field) {
  if (field.find_first_of(",\"\r\n") == std::string::npos) {
    out += field;
    return;
  }
  out += '"';
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

void appendRecord(std::string& out, std::span<const std::string> fields) {
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out += ',';
    appendField(out, fields[i]);
  }
  out += "\r\n";
}

}  // namespace

std::string CsvText(const TResultTable& table) {
  std::string out = "\xEF\xBB\xBF";
  // Most fields need no quotes: the texts, a separator each and a line end per record.
  size_t size = out.size();
  for (const std::string& cell : table.Cells) size += cell.size() + 1;
  out.reserve(size + table.RowCount() + 64);
  appendRecord(out, table.Captions);
  for (size_t row = 0; row < table.RowCount(); ++row) appendRecord(out, table.Row(row));
  return out;
}

void WriteCsvFile(const std::filesystem::path& path, const TResultTable& table) {
  TFileReplacement file(path);
  file.Write(CsvText(table));
  file.Commit();
}
