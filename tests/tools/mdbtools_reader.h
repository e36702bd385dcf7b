#pragma once
// Reads Access files back through mdbtools' own command-line tools (mdb-tables, mdb-schema,
// mdb-export), the same library the record-set layer uses, so a test sees a file as the
// program will.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tools/mdb_writer.h"

struct TCommandResult {
  int ExitCode = -1;
  std::string Output;  // standard output (and standard error when asked for)
};

// Runs a shell command line; withStderr adds standard error to Output.
TCommandResult RunCommand(const std::string& commandLine, bool withStderr = false);
std::string ShellQuote(const std::string& text);

// User tables as mdb-tables lists them, in catalog order; withSystem adds system tables.
std::vector<std::string> ListTables(const std::filesystem::path& file, bool withSystem = false);
// mdb-schema's output (Access dialect) for one table.
std::string TableSchema(const std::filesystem::path& file, const std::string& table);

struct TExportedTable {
  std::vector<std::string> ColumnNames;
  std::vector<TMdbRow> Rows;  // NULL (and, as libmdb reports it, an empty text) = nullopt
};

// The table as mdb-export prints it: CSV with quoted texts, doubled quotes, and nothing at all
// for NULL. Fails the calling test (ADD_FAILURE) when the tool fails or the CSV is malformed.
TExportedTable ExportTable(const std::filesystem::path& file, const std::string& table);

// A fresh directory under the system's temporary directory, removed with everything in it.
class TScratchDir {
 public:
  TScratchDir();
  ~TScratchDir();
  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  // Names of the entries in the directory, sorted.
  std::vector<std::string> Entries() const;

 private:
  std::filesystem::path path_;
};
