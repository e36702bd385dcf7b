// Exporting the upper grid's rows through the 导出结果… item: the CSV's exact bytes, the XLSX
// read back by the distribution's openpyxl, the grid's current order and columns, failures
// that leave the target as it was, and the hourglass over a large result.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/result_export.h"
#include "app/result_menu.h"
#include "dbgrid/db_grid.h"
#include "dbgrid/db_grid_column.h"
#include "platform/core/scope_exit.h"
#include "platform/db/dataset.h"
#include "results_fixture.h"
#include "tools/synth_terms.h"

namespace fs = std::filesystem;

namespace {

using Strings = std::vector<std::string>;

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Names in a folder other than the ones given: what an export left behind.
Strings leftovers(const fs::path& folder, const Strings& expected) {
  Strings out;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (std::find(expected.begin(), expected.end(), name) == expected.end()) out.push_back(name);
  }
  return out;
}

// An XLSX file as openpyxl (python3-openpyxl, the distribution's) reads it: the sheet's
// title, its frozen cell, whether each header cell is bold, each column's width, then the
// cells row by row ("" for an empty cell).
struct XlsxContent {
  std::string Title, FreezePanes;
  std::vector<bool> HeaderBold;
  std::vector<double> Widths;
  std::vector<Strings> Rows;
};

XlsxContent readXlsx(const fs::path& file) {
  const fs::path script = file.parent_path() / "read_xlsx.py";
  std::ofstream(script) << R"(import sys, openpyxl
from openpyxl.utils import get_column_letter
ws = openpyxl.load_workbook(sys.argv[1]).active
out = [ws.title, str(ws.freeze_panes)]
out.append("\x1f".join("1" if c.font.b else "0" for c in ws[1]))
out.append("\x1f".join(str(ws.column_dimensions[get_column_letter(i)].width)
                       for i in range(1, ws.max_column + 1)))
for row in ws.iter_rows(values_only=True):
    out.append("\x1f".join("" if v is None else str(v) for v in row))
sys.stdout.buffer.write("\x1e".join(out).encode("utf-8"))
)";
  const fs::path output = file.parent_path() / "read_xlsx.out";
  const std::string command = std::string(QUILLON_DIST_PYTHON) + " " + script.string() + " " +
                              file.string() + " > " + output.string();
  EXPECT_EQ(std::system(command.c_str()), 0) << command << " (python3-openpyxl: scripts/deps)";
  auto split = [](const std::string& text, char separator) {
    Strings parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) parts.push_back(part);
    if (!text.empty() && text.back() == separator) parts.push_back("");
    return parts;
  };
  const Strings records = split(readFile(output), '\x1e');
  XlsxContent content;
  if (records.size() < 4) return content;
  content.Title = records[0];
  content.FreezePanes = records[1];
  for (const std::string& flag : split(records[2], '\x1f')) content.HeaderBold.push_back(flag == "1");
  for (const std::string& width : split(records[3], '\x1f')) content.Widths.push_back(std::stod(width));
  for (size_t i = 4; i < records.size(); ++i) content.Rows.push_back(split(records[i], '\x1f'));
  return content;
}

class ResultExportTest : public ResultsFixture {
 protected:
  // Chooses 导出结果… in the menu of the given grid; the save dialog answers with path and the
  // file type (0 XLSX, 1 CSV).
  void exportThroughMenu(TqlDBGrid* grid, const fs::path& path, int filterIndex) {
    answerMenusWith(rmiExport);
    answerSaveDialogWith(TSaveFileAnswer{path.string(), filterIndex});
    grid->SetFocus();
    w->HandleKeyDown(VK_APPS, {});
  }

  const std::string bom = "\xEF\xBB\xBF";
  const std::string termCaptions =
      "拼音缩写,中文,英文,ADR代码,系统-器官代码,系统-器官代码,系统-器官代码\r\n";
};

TEST_F(ResultExportTest, CsvHoldsTheUpperGridsRowsInItsOrderAndColumns) {
  struct Case {
    const char* what;
    bool organs;
    bool sortByCodeDescending;  // two clicks on the code column's header
    bool hideLastColumn;
    bool fromLowerGrid;         // the menu of the lower grid exports the upper one too
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"terms in record order; quotes, commas and line breaks quoted", false, false, false, false,
       bom + termCaptions +
           "QA,\"引号\"\"测试\"\"\",\"SAY \"\"HELLO\"\", WORLD\",0001,0100,,\r\n"
           "QB,\"多行\r\n文本\",\"LINE ONE\nLINE TWO\",0002,0100,0200,\r\n"
           "QC,头痛,HEADACHE,0003,0200,,\r\n"},
      {"terms sorted by code descending, last column hidden", false, true, true, false,
       bom + "拼音缩写,中文,英文,ADR代码,系统-器官代码,系统-器官代码\r\n"
           "QC,头痛,HEADACHE,0003,0200,\r\n"
           "QB,\"多行\r\n文本\",\"LINE ONE\nLINE TWO\",0002,0100,0200\r\n"
           "QA,\"引号\"\"测试\"\"\",\"SAY \"\"HELLO\"\", WORLD\",0001,0100,\r\n"},
      {"organ systems, from the lower grid's menu", true, false, false, true,
       bom + "系统-器官代码,中文,英文\r\n"
           "0100,皮肤及其附件损害,SKIN AND APPENDAGES DISORDERS\r\n"
           "0200,\"神经系统,\"\"中枢\"\"\",\"CENTRAL, \"\"NERVOUS\"\"\"\r\n"
           "0300,无术语系统,NO TERMS\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.organs ? searchOrganSystems() : searchTerms();
    TqlDBGrid* upper = c.organs ? w->qlGridLJQG : w->qlGridBLFY;
    TqlDBGrid* lower = c.organs ? w->qlGridBLFY : w->qlGridLJQG;
    TqlTreeListColumn* code = upper->Columns(3);
    if (c.sortByCodeDescending) {
      upper->HeaderClick(code, {});
      upper->HeaderClick(code, {});
    }
    if (c.hideLastColumn) upper->Columns(upper->GetColumnCount() - 1)->SetVisible(false);
    const fs::path file = dir.Path() / "结果.csv";
    exportThroughMenu(c.fromLowerGrid ? lower : upper, file, /*CSV*/ 1);
    EXPECT_EQ(readFile(file), c.expected);
    EXPECT_EQ(leftovers(dir.Path(), {"ADR.mdb", "结果.csv"}), Strings{});
    fs::remove(file);
    if (c.hideLastColumn) upper->Columns(upper->GetColumnCount() - 1)->SetVisible(true);
    if (c.sortByCodeDescending) upper->HeaderClick(code, {});
  }
  EXPECT_TRUE(boxes.Boxes.empty());
  // The dialog proposed the upper list's name as an XLSX file at first, then what was chosen.
  ASSERT_EQ(saveRequests.size(), cases.size());
  EXPECT_EQ(saveRequests[0].Title, "导出结果");
  EXPECT_EQ(saveRequests[0].FileName, "不良反应列表.xlsx");
  EXPECT_EQ(saveRequests[0].Folder, "");
  EXPECT_EQ(saveRequests[2].FileName, "累及系统和器官列表.csv");
  EXPECT_EQ(saveRequests[2].Folder, dir.Path().string());
}

TEST_F(ResultExportTest, XlsxReadBackByAnIndependentReader) {
  searchTerms();
  const fs::path file = dir.Path() / "结果.xlsx";
  exportThroughMenu(w->qlGridBLFY, file, /*XLSX*/ 0);
  EXPECT_TRUE(boxes.Boxes.empty());
  const XlsxContent xlsx = readXlsx(file);
  EXPECT_EQ(xlsx.Title, "不良反应列表");
  EXPECT_EQ(xlsx.FreezePanes, "A2");
  EXPECT_EQ(xlsx.HeaderBold, std::vector<bool>(7, true));
  const std::vector<Strings> rows = {
      {"拼音缩写", "中文", "英文", "ADR代码", "系统-器官代码", "系统-器官代码", "系统-器官代码"},
      {"QA", "引号\"测试\"", "SAY \"HELLO\", WORLD", "0001", "0100", "", ""},
      {"QB", "多行\n文本", "LINE ONE\nLINE TWO", "0002", "0100", "0200", ""},
      {"QC", "头痛", "HEADACHE", "0003", "0200", "", ""},
  };
  EXPECT_EQ(xlsx.Rows, rows);
  // Widths from the texts: the widest text of each column in character cells (a Chinese
  // character takes two) plus a margin of two. The file stores a width with the font's cell
  // padding added (a fraction of a character), so the whole characters are compared.
  struct Width {
    size_t column;
    double characters;
    const char* why;
  };
  ASSERT_EQ(xlsx.Widths.size(), 7u);
  for (const Width& expected : {Width{0, 10, "拼音缩写: 8 cells"},
                                Width{1, 12, "引号\"测试\": 10 cells, wider than 中文"},
                                Width{2, 20, "SAY \"HELLO\", WORLD: 18"},
                                Width{3, 9, "ADR代码: 7"},
                                Width{4, 15, "系统-器官代码: 13"}})
    EXPECT_EQ(std::floor(xlsx.Widths[expected.column]), expected.characters) << expected.why;
  EXPECT_EQ(leftovers(dir.Path(), {"ADR.mdb", "结果.xlsx", "read_xlsx.py", "read_xlsx.out"}),
            Strings{});
}

TEST_F(ResultExportTest, TheFileTypeFollowsTheNamesExtensionElseTheDialogsChoice) {
  searchTerms();
  struct Case {
    const char* name;
    int filterIndex;
    bool zip;  // an XLSX file is a zip archive: "PK"
  };
  const std::vector<Case> cases = {
      {"a.csv", 0, false}, {"b.XLSX", 1, true}, {"c.txt", 1, false}, {"d", 0, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    exportThroughMenu(w->qlGridBLFY, dir.Path() / c.name, c.filterIndex);
    EXPECT_EQ(readFile(dir.Path() / c.name).substr(0, 2) == "PK", c.zip);
  }
  EXPECT_TRUE(boxes.Boxes.empty());
}

TEST_F(ResultExportTest, CancellingTheDialogWritesNothing) {
  searchTerms();
  answerMenusWith(rmiExport);
  answerSaveDialogWith(std::nullopt);
  w->qlGridBLFY->SetFocus();
  w->HandleKeyDown(VK_APPS, {});
  EXPECT_EQ(saveRequests.size(), 1u);
  EXPECT_EQ(leftovers(dir.Path(), {"ADR.mdb"}), Strings{});
  EXPECT_TRUE(boxes.Boxes.empty());
}

// The file-size limit stands in for a full disk: writes past it fail with EFBIG as they would
// with ENOSPC, at whatever point the writer has reached.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);  // the failing write returns an error
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit previous_{};
  void (*previousHandler_)(int) = nullptr;
};

TEST_F(ResultExportTest, AFailedExportNamesTheFileAndLeavesTheTargetAsItWas) {
  searchTerms();
  fs::create_directory(dir.Path() / "folder");
  struct Case {
    const char* what;
    fs::path target;
    int filterIndex;
    bool sizeLimited;
    std::string cause;  // the message's line after the file name
  };
  const std::vector<Case> cases = {
      {"CSV onto a folder", dir.Path() / "folder", 1, false, "这个名称是一个文件夹。"},
      {"XLSX onto a folder", dir.Path() / "folder", 0, false, "这个名称是一个文件夹。"},
      {"CSV into a missing folder", dir.Path() / "missing" / "a.csv", 1, false, "文件夹不存在。"},
      {"CSV over a file, the disk filling up", dir.Path() / "old.csv", 1, true,
       "文件超过了系统允许的大小。"},
      {"XLSX over a file, the disk filling up", dir.Path() / "old.xlsx", 0, true,
       "文件超过了系统允许的大小。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const bool oldFile = c.target.extension() == ".csv" || c.target.extension() == ".xlsx";
    if (oldFile && c.sizeLimited) std::ofstream(c.target) << "old content";
    boxes.Boxes.clear();
    {
      std::optional<FileSizeLimit> limit;
      if (c.sizeLimited) limit.emplace(200);
      exportThroughMenu(w->qlGridBLFY, c.target, c.filterIndex);
    }
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    const ShownBox& box = boxes.Boxes[0];
    EXPECT_EQ(box.Caption, "导出结果");
    EXPECT_EQ(box.Flags, MB_OK | MB_ICONERROR);
    std::string expected = "无法导出到文件：\n" + c.target.string() + "\n\n" + c.cause;
    if (c.sizeLimited) expected += "\n原有的文件没有改动。";
    EXPECT_EQ(box.Text, expected);
    if (c.sizeLimited) {
      EXPECT_EQ(readFile(c.target), "old content");
    }
    EXPECT_TRUE(fs::is_empty(dir.Path() / "folder"));
    EXPECT_EQ(leftovers(dir.Path(), {"ADR.mdb", "folder", "old.csv", "old.xlsx"}), Strings{});
  }
}

// Over kExportHourglassRows rows the hourglass shows while the grid's texts are read and the
// file is written; a column's OnGetText sees the screen cursor at that moment.
TEST_F(ResultExportTest, HourglassOverLargeResults) {
  struct Case {
    size_t terms;
    TCursor whileReading;
  };
  for (const Case& c : {Case{kExportHourglassRows, crDefault}, Case{kExportHourglassRows + 1, crHourGlass}}) {
    SCOPED_TRACE(c.terms);
    CloseWindow();
    WriteSynthMdb(dir.Path() / "ADR.mdb", c.terms);
    OpenWindow();
    DataModule1->adoqryBLFY->SetFiltered(false);  // every term
    ASSERT_EQ(w->qlGridBLFY->ShownRowCount(), int(c.terms));
    TCursor seen = crNone;
    static_cast<TqlDBGridColumn*>(w->qlGridBLFY->Columns(0))->OnGetText =
        [&seen](TObject*, TqlTreeListNode*, std::string&) { seen = ScreenCursor(); };
    exportThroughMenu(w->qlGridBLFY, dir.Path() / "all.csv", 1);
    EXPECT_EQ(seen, c.whileReading);
    EXPECT_EQ(ScreenCursor(), crDefault);
    EXPECT_TRUE(boxes.Boxes.empty());
  }
}

}  // namespace
