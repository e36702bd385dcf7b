#pragma once
// TXlsxSheetWriter: a workbook of one worksheet of text cells, written with libxlsxwriter.
//
// Rows are appended top to bottom; the library keeps only the current row in memory and
// streams the sheet into a temporary file, so a large sheet costs little memory. Close
// packs the workbook into the file at `path` (which it creates or truncates); give it a
// temporary name and rename it afterwards (TFileReplacement) when the old file must survive
// a failure.
//
// Cell texts are UTF-8 as everywhere above the platform. What the file format cannot hold is
// made to fit: a CR LF or a lone CR becomes LF (a cell's line break), a byte that is not
// UTF-8 becomes U+FFFD, and a text longer than 32,767 characters (the most a cell holds) is
// cut there. Other control characters are kept; the library writes them in the format's
// escape form.
//
// Every failure throws EFileWriteError naming `path`.
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

class TXlsxSheetWriter {
 public:
  TXlsxSheetWriter(std::filesystem::path path, const std::string& sheetName);
  ~TXlsxSheetWriter();  // without Close nothing more is written
  TXlsxSheetWriter(const TXlsxSheetWriter&) = delete;
  TXlsxSheetWriter& operator=(const TXlsxSheetWriter&) = delete;

  // Width of a column in characters of the default font (Excel's column width unit).
  void SetColumnWidth(int column, double characters);
  // The top rowCount rows stay in view while the rest scrolls.
  void FreezeTopRows(int rowCount);
  // The next row; with bold its texts are bold (a header row).
  void AppendRow(std::span<const std::string> cells, bool bold = false);
  int RowCount() const { return nextRow_; }
  // Writes the workbook; the writer is finished afterwards, also when this throws.
  void Close();

 private:
  [[noreturn]] void fail(int libraryError, int errorNumber) const;

  std::filesystem::path path_;
  std::string tempDir_;                 // the library's scratch files go here: path_'s folder
  lxw_workbook* workbook_ = nullptr;   // owned until Close; null after it
  lxw_worksheet* worksheet_ = nullptr;  // owned by workbook_
  lxw_format* bold_ = nullptr;          // owned by workbook_
  int nextRow_ = 0;                     // 0-based number of the next row; < 1,048,576
  std::string scratch_;                 // a cell's text made to fit; reused across cells
};

// The text a cell holds for `text` (see the header comment); exposed for tests.
std::string XlsxCellText(std::string_view text);
