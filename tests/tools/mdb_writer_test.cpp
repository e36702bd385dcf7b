// The writer's files as mdbtools reads them: tables, columns and every value, and what a
// failed write leaves behind.
#include "tools/mdb_writer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>

#include "tests/tools/mdbtools_reader.h"

namespace {

using TColumnType = TMdbColumnType;

std::string Repeat(const std::string& piece, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += piece;
  return text;
}

// A table that exercises the row layout and the text encoding; each row says what it covers.
TMdbTable TermsTable() {
  TMdbTable table{"TERMS",
                  {{"CODE", TColumnType::Text, 10},
                   {"NAME", TColumnType::Text, 100},
                   {"ENAME", TColumnType::Text, 255},
                   {"N", TColumnType::LongInteger},
                   {"K", TColumnType::Integer}},
                  {},
                  {}};
  table.Rows = {
      // CJK stays plain UCS-2, ASCII is stored compressed.
      {"0100", "皮肤及其附件损害", "SKIN AND APPENDAGES DISORDERS", "1", "1"},
      // NULLs between values; an apostrophe.
      {"0711", std::nullopt, "CROHN'S DISEASE", std::nullopt, std::nullopt},
      // A comma; the integer extremes.
      {"1810", "全身性损害", "HYPERTENSION, PULMONARY", "-2147483648", "-32768"},
      // Mixed CJK and ASCII, long enough to compress: switches compression mode; double quotes.
      {"0002", "维生素B12缺乏症 (VITAMIN B12 DEFICIENCY)", "VITAMIN B12 DEFICIENCY \"SEVERE\"", "2147483647", "32767"},
      // U+4E00 has a zero low byte: a value with it cannot be compressed, however long.
      {"0003", "一过性 ALANINE AMINOTRANSFERASE INCREASED", "ONE-OFF", "0", "0"},
      // Latin-1 letters compress like ASCII; a semicolon and a tab-free backslash.
      {"0004", "café crème", "SJÖGREN'S SYNDROME; C:\\PATH", "-1", "-1"},
      // Full widths: 100 CJK characters, 255 ASCII characters.
      {"0005", Repeat("肝", 100), Repeat("X", 255), "42", "7"},
      // One and two characters: compression would not be shorter.
      {"6", "A", "AB", "5", "5"},
      // Every column NULL.
      {std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
  };
  return table;
}

// Only fixed-length columns: rows without a variable-length part; more rows than one page
// may hold (255), so several pages.
TMdbTable CountersTable() {
  TMdbTable table{"COUNTERS", {{"ID", TColumnType::LongInteger}, {"SMALL", TColumnType::Integer}}, {}, {}};
  for (int i = 0; i < 2000; ++i)
    table.Rows.push_back({std::to_string(i * 1000), i % 7 == 0 ? std::nullopt : std::optional(std::to_string(i % 300))});
  return table;
}

TMdbTable EmptyTable() { return {"EMPTY", {{"X", TColumnType::Text, 5}}, {}, {}}; }

// Many rows over many pages, streamed from a row source.
TMdbTable StreamedTable(int rowCount) {
  auto next = std::make_shared<int>(0);
  return {"STREAMED",
          {{"NO", TColumnType::Text, 20}, {"NAME", TColumnType::Text, 50}},
          {},
          [next, rowCount](TMdbRow& row) {
            if (*next == rowCount) return false;
            const int i = (*next)++;
            row = {std::to_string(i), i % 3 ? std::optional("名称" + std::to_string(i)) : std::nullopt};
            return true;
          }};
}

std::vector<TMdbRow> StreamedRows(int rowCount) {
  std::vector<TMdbRow> rows;
  TMdbTable table = StreamedTable(rowCount);
  TMdbRow row;
  while (table.RowSource(row)) rows.push_back(row);
  return rows;
}

// What mdb-export shows of a row: libmdb reports an empty text like NULL.
std::vector<TMdbRow> AsExported(std::vector<TMdbRow> rows) {
  for (TMdbRow& row : rows)
    for (auto& value : row)
      if (value && value->empty()) value.reset();
  return rows;
}

std::string FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(MdbWriter, MdbtoolsReadsTablesColumnsAndEveryValue) {
  TScratchDir dir;
  const auto file = dir / "fixture.mdb";
  const std::vector<TMdbTable> tables = {TermsTable(), CountersTable(), EmptyTable(), StreamedTable(5000)};
  WriteMdbFile(file, tables);

  EXPECT_EQ(RunCommand("mdb-ver " + ShellQuote(file.string())).Output, "JET4\n");
  EXPECT_EQ(ListTables(file), (std::vector<std::string>{"TERMS", "COUNTERS", "EMPTY", "STREAMED"}));
  EXPECT_EQ(ListTables(file, true), (std::vector<std::string>{"MSysObjects", "TERMS", "COUNTERS", "EMPTY", "STREAMED"}));

  const std::string schema = TableSchema(file, "TERMS");
  const struct { const char* column; const char* type; } columns[] = {
      {"CODE", "Text \\(10\\)"}, {"NAME", "Text \\(100\\)"}, {"ENAME", "Text \\(255\\)"},
      {"N", "Long Integer"},     {"K", "Integer"},
  };
  for (const auto& c : columns)
    EXPECT_TRUE(std::regex_search(schema, std::regex(std::string("\\[") + c.column + "\\]\\s+" + c.type)))
        << c.column << " missing or mistyped in:\n" << schema;

  const std::vector<TMdbRow> expectedStreamed = StreamedRows(5000);
  const struct { const char* table; std::vector<TMdbRow> rows; } contents[] = {
      {"TERMS", AsExported(tables[0].Rows)},
      {"COUNTERS", tables[1].Rows},
      {"EMPTY", {}},
      {"STREAMED", expectedStreamed},
  };
  for (const auto& c : contents) {
    const TExportedTable exported = ExportTable(file, c.table);
    EXPECT_EQ(exported.Rows.size(), c.rows.size()) << c.table;
    EXPECT_TRUE(exported.Rows == c.rows) << c.table << ": exported rows differ";
  }
  EXPECT_EQ(ExportTable(file, "TERMS").ColumnNames, (std::vector<std::string>{"CODE", "NAME", "ENAME", "N", "K"}));
}

// The test-only layouts as libmdb reads them: a deleted column leaves a gap in the column
// numbers and the variable-column slots, which libmdb follows; replication IDs are stored with
// their first three groups little-endian, which libmdb 1.0 prints without the fourth hyphen.
TEST(MdbWriter, DeletedColumnsAndReplicationIdsAsMdbtoolsReadsThem) {
  TScratchDir dir;
  const auto file = dir / "history.mdb";
  const std::nullopt_t N = std::nullopt;
  TMdbTable table{"HISTORY",
                  {{"A", TColumnType::Text, 10},
                   {"OLD", TColumnType::Text, 10, true},
                   {"GONE", TColumnType::LongInteger, 0, true},
                   {"B", TColumnType::Text, 10},
                   {"G", TColumnType::ReplicationId},
                   {"N", TColumnType::LongInteger}},
                  {{"a1", "old", "7", "b1", "{8E39276A-BCA8-4AC4-891E-49911D8438DD}", "1"},
                   {N, "old", N, "b2", N, "2"},
                   {"a3", N, "9", N, "{00112233-4455-6677-8899-AABBCCDDEEFF}", N}},
                  {}};
  WriteMdbFile(file, {table});
  const TExportedTable exported = ExportTable(file, "HISTORY");
  EXPECT_EQ(exported.ColumnNames, (std::vector<std::string>{"A", "B", "G", "N"}));
  const std::vector<TMdbRow> expected = {
      {"a1", "b1", "{8E39276A-BCA8-4AC4-891E49911D8438DD}", "1"},
      {N, "b2", N, "2"},
      {"a3", N, "{00112233-4455-6677-8899AABBCCDDEEFF}", N},
  };
  EXPECT_TRUE(exported.Rows == expected) << "exported rows differ";
}

TEST(MdbWriter, RefusesInvalidDescriptionsAndValuesWithoutLeavingAFile) {
  auto withRow = [](TMdbRow row) {
    TMdbTable table = TermsTable();
    table.Rows.push_back(std::move(row));
    return std::vector<TMdbTable>{table};
  };
  auto withColumns = [](std::vector<TMdbColumn> columns) {
    return std::vector<TMdbTable>{{"T", std::move(columns), {}, {}}};
  };
  auto named = [](std::string name) { return std::vector<TMdbTable>{{std::move(name), {{"X"}}, {}, {}}}; };
  std::vector<TMdbColumn> wideRow;
  for (int i = 0; i < 9; ++i) wideRow.push_back({"C" + std::to_string(i), TColumnType::Text, 255});
  std::vector<TMdbRow> wideValues{TMdbRow(9, Repeat("肝", 255))};
  TMdbTable streamedWithStorage = StreamedTable(3);
  streamedWithStorage.RowStorage = {TMdbRowStorage::Overflow};

  const struct {
    const char* why;
    std::vector<TMdbTable> tables;
    const char* message;
  } cases[] = {
      {"same table name twice, any case", {EmptyTable(), {"empty", {{"Y"}}, {}, {}}}, "two tables named empty"},
      {"the catalog's own name", named("MSysObjects"), "two tables named MSysObjects"},
      {"empty table name", named(""), "1 to 64 characters"},
      {"65-character table name", named(std::string(65, 'T')), "1 to 64 characters"},
      {"a dot in a table name", named("A.B"), "character Access does not allow"},
      {"no columns", withColumns({}), "1 to 255 columns"},
      {"same column name twice", withColumns({{"A"}, {"a"}}), "two columns named a"},
      {"text length 0", withColumns({{"A", TColumnType::Text, 0}}), "1 to 255 characters"},
      {"text length 256", withColumns({{"A", TColumnType::Text, 256}}), "1 to 255 characters"},
      {"value count", withRow({"1", "2"}), "Row 10 of table TERMS has 2 values for 5 columns"},
      {"text longer than the column", withRow({"0", Repeat("肝", 101), {}, {}, {}}),
       "column NAME of row 10 of table TERMS is longer than 100 characters"},
      {"invalid UTF-8", withRow({"\xC3(", {}, {}, {}, {}}), "Invalid UTF-8 text in column CODE of row 10"},
      {"not a number", withRow({{}, {}, {}, "12x", {}}), "\"12x\" is not a valid Long Integer in column N"},
      {"Long Integer overflow", withRow({{}, {}, {}, "2147483648", {}}), "not a valid Long Integer"},
      {"Integer overflow", withRow({{}, {}, {}, {}, "32768"}), "not a valid Integer in column K"},
      {"OLE value", {{"T", {{"O", TColumnType::LongBinary}}, {{"x"}}, {}}}, "OLE values cannot be stored"},
      {"row longer than a page", {{"T", wideRow, wideValues, {}}}, "longer than a page can hold"},
      {"replication ID without braces", {{"T", {{"G", TColumnType::ReplicationId}}, {{"8E39276A-BCA8-4AC4-891E-49911D8438DD"}}, {}}},
       "not a valid replication ID in column G of row 1"},
      {"replication ID with a bad digit", {{"T", {{"G", TColumnType::ReplicationId}}, {{"{8E39276A-BCA8-4AC4-891E-49911D8438DX}"}}, {}}},
       "not a valid replication ID"},
      {"row storage with a row source", {streamedWithStorage}, "row storage applies to Rows"},
      {"only deleted columns", withColumns({{"A", TColumnType::Text, 5, true}}), "1 to 255 columns"},
  };
  for (const auto& c : cases) {
    TScratchDir dir;
    try {
      WriteMdbFile(dir / "bad.mdb", c.tables);
      ADD_FAILURE() << c.why << ": no error";
    } catch (const EMdbWriteError& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << c.why << ": " << error.what();
    }
    EXPECT_TRUE(dir.Entries().empty()) << c.why << ": left a file behind";
  }
}

TEST(MdbWriter, UnwritableTargetFailsWithTheReasonAndLeavesNoFile) {
  TScratchDir dir;
  std::ofstream(dir / "plain-file") << "not a directory";
  const struct { const char* why; std::filesystem::path target; } cases[] = {
      {"missing directory", dir / "missing" / "ADR.mdb"},
      {"parent is a file", dir / "plain-file" / "ADR.mdb"},
      {"directory nobody may write, not even root", "/sys/ADR.mdb"},
  };
  for (const auto& c : cases) {
    try {
      WriteMdbFile(c.target, {EmptyTable()});
      ADD_FAILURE() << c.why << ": no error";
    } catch (const EMdbWriteError& error) {
      EXPECT_NE(std::string(error.what()).find("Cannot create " + c.target.string() + ": "), std::string::npos)
          << c.why << ": " << error.what();
    }
    EXPECT_FALSE(std::filesystem::exists(c.target)) << c.why;
  }
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"plain-file"});
}

TEST(MdbWriter, AFailedRewriteKeepsThePreviousFileAndASuccessfulOneReplacesIt) {
  TScratchDir dir;
  const auto file = dir / "ADR.mdb";
  WriteMdbFile(file, {EmptyTable()});
  const std::string before = FileBytes(file);

  // Fails after thousands of rows have gone to disk.
  TMdbTable failing = StreamedTable(3000);
  auto source = failing.RowSource;
  int produced = 0;
  failing.RowSource = [source, &produced](TMdbRow& row) {
    if (!source(row)) return false;
    if (++produced == 3000) row[0] = std::string(21, '9');
    return true;
  };
  EXPECT_THROW(WriteMdbFile(file, {failing}), EMdbWriteError);
  EXPECT_EQ(FileBytes(file), before);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"ADR.mdb"});

  WriteMdbFile(file, {StreamedTable(10)});
  EXPECT_EQ(ListTables(file), std::vector<std::string>{"STREAMED"});
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"ADR.mdb"});
}

}  // namespace
