#pragma once
// Access files for the reader tests, made with the project's Jet 4 writer in a scratch folder
// that is removed afterwards.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#include "tests/platform/db/db_test_util.h"
#include "tools/mdb_writer.h"
#include "tools/terminology_schema.h"

namespace dbtest {

// The rows of an in-memory table, as the writer takes them.
inline std::vector<TMdbRow> RowsOf(const TTableSnapshot& t) {
  std::vector<TMdbRow> rows;
  for (uint32_t r = 0; r < t.RowCount(); ++r) {
    TMdbRow row;
    for (int c = 0; c < t.ColumnCount(); ++c)
      row.push_back(t.Column(c).IsNull(r) ? std::nullopt
                                          : std::optional<std::string>(std::string(t.Column(c).Text(r))));
    rows.push_back(std::move(row));
  }
  return rows;
}

// The small terminology (db_test_util.h) as a Jet 4 file; withTerms false leaves out WHOART.
inline void WriteTerminologyFile(const std::filesystem::path& path, bool withTerms = true) {
  std::vector<TMdbTable> tables;
  if (withTerms) tables.push_back({kWhoartTableName, WhoartColumns(), RowsOf(*Whoart()), {}});
  tables.push_back({kLjxtTableName, LjxtColumns(), RowsOf(*Ljxt()), {}});
  WriteMdbFile(path, tables);
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
}

// A fresh folder under the system's temporary folder, removed with the object.
class ScratchDir {
 public:
  ScratchDir() {
    static int counter = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("quillon_db_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Makes dir the working directory for the scope (the connection resolves "ADR.mdb" there).
class WorkingDir {
 public:
  explicit WorkingDir(const std::filesystem::path& dir) : old_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
  }
  ~WorkingDir() { std::filesystem::current_path(old_); }

 private:
  std::filesystem::path old_;
};

}  // namespace dbtest
