#include "platform/io/xlsx_sheet_writer.h"

#include <xlsxwriter.h>

#include <cerrno>

#include "platform/core/utf8.h"
#include "platform/io/file_replacement.h"

namespace {

constexpr size_t kMaxCellCharacters = 32767;
constexpr int kMaxRows = 1048576;

// True when text needs no change: no CR, well-formed UTF-8, short enough in bytes.
bool fitsAsIs(std::string_view text) {
  if (text.size() > kMaxCellCharacters) return false;
  for (size_t pos = 0; pos < text.size();) {
    const unsigned char b = static_cast<unsigned char>(text[pos]);
    if (b == '\r') return false;
    if (b < 0x80) {
      ++pos;
      continue;
    }
    if (IsUtf8Escape(DecodeUtf8(text, pos))) return false;
  }
  return true;
}

}  // namespace

std::string XlsxCellText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t characters = 0;
  for (size_t pos = 0; pos < text.size() && characters < kMaxCellCharacters; ++characters) {
    char32_t c = DecodeUtf8(text, pos);
    if (c == U'\r') {
      if (pos < text.size() && text[pos] == '\n') ++pos;
      c = U'\n';
    } else if (IsUtf8Escape(c)) {
      c = 0xFFFD;
    }
    AppendUtf8(c, out);
  }
  return out;
}

TXlsxSheetWriter::TXlsxSheetWriter(std::filesystem::path path, const std::string& sheetName)
    : path_(std::move(path)) {
  // Constant memory: rows stream into a temporary file as they are written. The library
  // does not check its writes to that file, so it goes beside the workbook: a disk that
  // fills up then fails the packing too, which is checked.
  lxw_workbook_options options = {};
  options.constant_memory = LXW_TRUE;
  tempDir_ = path_.has_parent_path() ? path_.parent_path().string() : std::string(".");
  options.tmpdir = tempDir_.data();
  errno = 0;
  workbook_ = workbook_new_opt(path_.c_str(), &options);
  if (!workbook_) fail(LXW_ERROR_MEMORY_MALLOC_FAILED, errno);
  worksheet_ = workbook_add_worksheet(workbook_, sheetName.empty() ? nullptr : sheetName.c_str());
  if (!worksheet_) {
    const int error = errno;
    lxw_workbook_free(workbook_);  // no destructor runs for a constructor that throws
    workbook_ = nullptr;
    fail(LXW_ERROR_CREATING_TMPFILE, error);
  }
  bold_ = workbook_add_format(workbook_);
  format_set_bold(bold_);
}

TXlsxSheetWriter::~TXlsxSheetWriter() {
  if (workbook_) lxw_workbook_free(workbook_);
}

void TXlsxSheetWriter::fail(int libraryError, int errorNumber) const {
  // The library's own words unless the system said what went wrong.
  if (errorNumber) throw EFileWriteError(path_, errorNumber);
  throw EFileWriteError(path_, 0, lxw_strerror(static_cast<lxw_error>(libraryError)));
}

void TXlsxSheetWriter::SetColumnWidth(int column, double characters) {
  const lxw_error error = worksheet_set_column(worksheet_, column, column, characters, nullptr);
  if (error != LXW_NO_ERROR) fail(error, 0);
}

void TXlsxSheetWriter::FreezeTopRows(int rowCount) { worksheet_freeze_panes(worksheet_, rowCount, 0); }

void TXlsxSheetWriter::AppendRow(std::span<const std::string> cells, bool bold) {
  if (nextRow_ >= kMaxRows) fail(LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE, 0);
  lxw_format* format = bold ? bold_ : nullptr;
  for (size_t column = 0; column < cells.size(); ++column) {
    const std::string& text = cells[column];
    if (text.empty() && !bold) continue;  // an empty cell is no cell
    const char* value = text.c_str();
    if (!fitsAsIs(text)) {
      scratch_ = XlsxCellText(text);
      value = scratch_.c_str();
    }
    errno = 0;
    const lxw_error error = worksheet_write_string(worksheet_, nextRow_,
                                                   static_cast<lxw_col_t>(column), value, format);
    if (error != LXW_NO_ERROR) fail(error, errno);
  }
  ++nextRow_;
}

void TXlsxSheetWriter::Close() {
  lxw_workbook* workbook = workbook_;
  workbook_ = nullptr;  // workbook_close frees it, whatever it returns
  errno = 0;
  const lxw_error error = workbook_close(workbook);
  if (error != LXW_NO_ERROR) fail(error, errno);
}
