#include "app/result_xlsx.h"

#include <algorithm>

#include "app/result_table.h"
#include "platform/core/utf8.h"
#include "platform/io/file_replacement.h"
#include "platform/io/xlsx_sheet_writer.h"

namespace {

// East Asian wide and full-width blocks (Unicode's East_Asian_Width W and F, the ranges that
// matter for Chinese text).
bool isWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
         (c >= 0x3041 && c <= 0x33FF) || (c >= 0x3400 && c <= 0x4DBF) ||
         (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

constexpr double kMargin = 2;  // characters beside the text, as a spreadsheet's best fit leaves

}  // namespace

int TextCellWidth(std::string_view text) {
  int widest = 0, line = 0;
  for (size_t pos = 0; pos < text.size();) {
    const char32_t c = DecodeUtf8(text, pos);
    if (c == U'\n' || c == U'\r') {
      line = 0;
      continue;
    }
    line += isWide(c) ? 2 : 1;
    widest = std::max(widest, line);
  }
  return widest;
}

std::vector<double> XlsxColumnWidths(const TResultTable& table) {
  std::vector<int> widest(table.ColumnCount());
  for (size_t column = 0; column < table.ColumnCount(); ++column)
    widest[column] = TextCellWidth(table.Captions[column]);
  for (size_t row = 0; row < table.RowCount(); ++row) {
    const auto cells = table.Row(row);
    for (size_t column = 0; column < cells.size(); ++column)
      widest[column] = std::max(widest[column], TextCellWidth(cells[column]));
  }
  std::vector<double> widths;
  for (int w : widest) widths.push_back(std::clamp(w + kMargin, kMinColumnWidth, kMaxColumnWidth));
  return widths;
}

void WriteXlsxFile(const std::filesystem::path& path, const TResultTable& table,
                   const std::string& sheetName) {
  TFileReplacement file(path);
  try {
    TXlsxSheetWriter sheet(file.TempPath(), sheetName);
    const std::vector<double> widths = XlsxColumnWidths(table);
    for (size_t column = 0; column < widths.size(); ++column)
      sheet.SetColumnWidth(static_cast<int>(column), widths[column]);
    sheet.FreezeTopRows(1);
    sheet.AppendRow(table.Captions, /*bold=*/true);
    for (size_t row = 0; row < table.RowCount(); ++row) sheet.AppendRow(table.Row(row));
    sheet.Close();
  } catch (const EFileWriteError& error) {
    // The workbook failed under its temporary name; the user knows the file by its own.
    throw EFileWriteError(path, error.ErrorNumber(), error.SystemText());
  }
  file.Commit();
}
