#pragma once
// 导出结果…: asks where to save the rows of a result grid, then writes them there as an XLSX
// workbook or a CSV file (result_xlsx.h, result_csv.h).
//
// Order of work: the save dialog (the folder and file type chosen last time come back) ->
// the format from the name's extension (.xlsx or .csv, any case; another name takes the
// type selected in the dialog) -> under the hourglass when there are more than
// kExportHourglassRows rows: the grid's texts, then the file, written beside the target and
// renamed over it -> on a failure, a message naming the file and the cause; the old file,
// if any, is left as it was.
#include <string>

class TCustomqlTreeList;

enum TExportFormat { efXlsx, efCsv };  // also the order of the dialog's file types

constexpr int kExportHourglassRows = 10000;

// What the next export offers first: where the last one went and as which type.
struct TExportMemory {
  std::string Folder;  // empty: the toolkit's choice (the user's documents)
  TExportFormat Format = efXlsx;
};

// The format of a file name: by its extension, else the type selected in the dialog.
TExportFormat ExportFormatOf(const std::string& path, TExportFormat selected);

// name: the file name proposed, without extension, also the workbook sheet's name.
void ExportResults(const TCustomqlTreeList& grid, const std::string& name, TExportMemory& memory);
