#pragma once
// A result table as a CSV file that spreadsheets open as they should:
//   - UTF-8 with a byte-order mark (without it a spreadsheet reads the Chinese as the
//     system's code page);
//   - the captions as the first record, then one record per row;
//   - records end with CR LF; fields are separated by commas;
//   - a field holding a comma, a double quote, a CR or an LF is enclosed in double quotes,
//     with each of its double quotes doubled; other fields are written as they are.
#include <filesystem>
#include <string>

struct TResultTable;

std::string CsvText(const TResultTable& table);
// Writes CsvText to path, replacing the file only once the new one is complete; throws
// EFileWriteError.
void WriteCsvFile(const std::filesystem::path& path, const TResultTable& table);
