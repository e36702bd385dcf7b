#pragma once
// A result table as an XLSX workbook: one sheet, the captions as a bold first row that stays
// in view while scrolling, then one row per result row, every cell a text (so codes keep
// their leading zeros), each column as wide as its longest text.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

struct TResultTable;

// Width of a text in character cells: East Asian wide and full-width characters take two,
// others one; of a text with line breaks, its widest line.
int TextCellWidth(std::string_view text);
// The width of each column in Excel's unit (characters of the default font): the widest of
// its caption and texts plus a margin, at least kMinColumnWidth and at most kMaxColumnWidth.
constexpr double kMinColumnWidth = 6, kMaxColumnWidth = 80;
std::vector<double> XlsxColumnWidths(const TResultTable& table);

// Writes the workbook to path, replacing the file only once the new one is complete; throws
// EFileWriteError.
void WriteXlsxFile(const std::filesystem::path& path, const TResultTable& table,
                   const std::string& sheetName);
