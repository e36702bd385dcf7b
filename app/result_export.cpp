#include "app/result_export.h"

#include <filesystem>

#include "app/result_csv.h"
#include "app/result_table.h"
#include "app/result_xlsx.h"
#include "platform/core/utf8.h"
#include "platform/io/file_replacement.h"
#include "platform/ui/application.h"
#include "platform/ui/messages.h"
#include "platform/ui/services.h"
#include "treelist/treelist_core.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kTitle = "导出结果";

const char* causeText(TFileFailure failure) {
  switch (failure) {
    case ffNoPermission: return "没有写入该位置的权限。";
    case ffDiskFull: return "磁盘空间不足。";
    case ffTooLarge: return "文件超过了系统允许的大小。";
    case ffIsFolder: return "这个名称是一个文件夹。";
    case ffNoFolder: return "文件夹不存在。";
    case ffReadOnly: return "磁盘是只读的。";
    case ffOther: break;
  }
  return nullptr;
}

void showFailure(const EFileWriteError& error) {
  const char* cause = causeText(error.Failure());
  std::string text = "无法导出到文件：\n" + error.Path().string() + "\n\n" +
                     (cause ? cause : "系统错误：" + error.SystemText());
  std::error_code ec;
  if (fs::is_regular_file(error.Path(), ec)) text += "\n原有的文件没有改动。";
  Application->MessageBox(text, kTitle, MB_OK | MB_ICONERROR);
}

}  // namespace

TExportFormat ExportFormatOf(const std::string& path, TExportFormat selected) {
  const std::string extension = AnsiLowerCase(fs::path(path).extension().string());
  if (extension == ".xlsx") return efXlsx;
  if (extension == ".csv") return efCsv;
  return selected;
}

void ExportResults(const TCustomqlTreeList& grid, const std::string& name, TExportMemory& memory) {
  TSaveFileRequest request;
  request.Title = kTitle;
  request.Folder = memory.Folder;
  request.FileName = name + (memory.Format == efXlsx ? ".xlsx" : ".csv");
  request.Filters = {{"Excel 工作簿", "*.xlsx"}, {"CSV 文件（逗号分隔）", "*.csv"}};
  request.FilterIndex = memory.Format;
  const std::optional<TSaveFileAnswer> answer = ShowSaveFileDialog(request);
  if (!answer) return;
  const TExportFormat selected = answer->FilterIndex == efCsv ? efCsv : efXlsx;
  const TExportFormat format = ExportFormatOf(answer->Path, selected);
  memory.Folder = fs::path(answer->Path).parent_path().string();
  memory.Format = format;
  try {
    THourglassScope hourglass(grid.ShownRowCount() > kExportHourglassRows);
    const TResultTable table = ResultTableOf(grid);
    if (format == efXlsx)
      WriteXlsxFile(answer->Path, table, name);
    else
      WriteCsvFile(answer->Path, table);
  } catch (const EFileWriteError& error) {
    showFailure(error);
  }
}
