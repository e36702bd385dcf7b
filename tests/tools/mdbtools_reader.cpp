#include "tests/tools/mdbtools_reader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <sstream>
#include <sys/wait.h>

TCommandResult RunCommand(const std::string& commandLine, bool withStderr) {
  TCommandResult result;
  std::FILE* pipe = ::popen((commandLine + (withStderr ? " 2>&1" : "")).c_str(), "r");
  if (!pipe) return result;
  std::array<char, 65536> buffer;
  size_t got;
  while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) result.Output.append(buffer.data(), got);
  const int status = ::pclose(pipe);
  result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::vector<std::string> ListTables(const std::filesystem::path& file, bool withSystem) {
  const TCommandResult listed = RunCommand(std::string("mdb-tables -1 ") + (withSystem ? "-S " : "") + ShellQuote(file.string()));
  EXPECT_EQ(listed.ExitCode, 0) << "mdb-tables failed on " << file;
  std::vector<std::string> names;
  std::istringstream lines(listed.Output);
  for (std::string line; std::getline(lines, line);)
    if (!line.empty()) names.push_back(line);
  return names;
}

std::string TableSchema(const std::filesystem::path& file, const std::string& table) {
  const TCommandResult schema = RunCommand("mdb-schema -T " + ShellQuote(table) + " " + ShellQuote(file.string()) + " access");
  EXPECT_EQ(schema.ExitCode, 0) << "mdb-schema failed on " << file;
  return schema.Output;
}

namespace {
// Splits mdb-export's CSV into records of optional fields: "" quoted = text, unquoted empty
// = NULL, unquoted text (numbers) as is.
std::vector<TMdbRow> ParseCsv(const std::string& csv) {
  std::vector<TMdbRow> records;
  TMdbRow record;
  std::string field;
  bool quoted = false;   // the current field was quoted
  bool inQuotes = false;
  for (size_t i = 0; i < csv.size(); ++i) {
    const char c = csv[i];
    if (inQuotes) {
      if (c != '"') {
        field += c;
      } else if (i + 1 < csv.size() && csv[i + 1] == '"') {
        field += '"';
        ++i;
      } else {
        inQuotes = false;
      }
    } else if (c == '"') {
      if (!field.empty() || quoted) ADD_FAILURE() << "stray quote in CSV at byte " << i;
      inQuotes = quoted = true;
    } else if (c == ',' || c == '\n') {
      record.push_back(quoted || !field.empty() ? std::optional<std::string>(field) : std::nullopt);
      field.clear();
      quoted = false;
      if (c == '\n') records.push_back(std::move(record)), record.clear();
    } else {
      field += c;
    }
  }
  if (inQuotes || !field.empty() || !record.empty()) ADD_FAILURE() << "CSV does not end with a complete line";
  return records;
}
}  // namespace

TExportedTable ExportTable(const std::filesystem::path& file, const std::string& table) {
  TExportedTable exported;
  const TCommandResult csv = RunCommand("mdb-export " + ShellQuote(file.string()) + " " + ShellQuote(table));
  EXPECT_EQ(csv.ExitCode, 0) << "mdb-export failed on " << file << " table " << table;
  std::vector<TMdbRow> records = ParseCsv(csv.Output);
  if (records.empty()) {
    ADD_FAILURE() << "mdb-export printed no header for " << table;
    return exported;
  }
  for (const auto& name : records.front()) exported.ColumnNames.push_back(name.value_or(""));
  records.erase(records.begin());
  exported.Rows = std::move(records);
  return exported;
}

TScratchDir::TScratchDir() {
  static std::atomic<int> counter{0};
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = test ? test->name() : "test";
  std::replace(name.begin(), name.end(), '/', '_');  // parameterised tests: "Case/0"
  path_ = std::filesystem::temp_directory_path() /
          ("quillon-tools-" + name + "-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

TScratchDir::~TScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> TScratchDir::Entries() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path_)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}
