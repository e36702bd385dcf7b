// quillon_mkmdb: the sample database from tab-separated sources, and its refusals.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/tools/mdbtools_reader.h"
#include "tools/terminology_schema.h"

namespace {

const std::string kWhoartHeader = "PY\tNAME\tENAME\tTID\tSID1\tSID2\tSID3\n";
const std::string kLjxtHeader = "SID\tNAME\tENAME\n";

const std::string kLjxt = kLjxtHeader +
                          "0100\t皮肤及其附件损害\tSKIN AND APPENDAGES DISORDERS\n"
                          "0600\t胃肠系统损害\tGASTRO-INTESTINAL SYSTEM DISORDERS\n"
                          "1810\t全身性损害\tBODY AS A WHOLE, GENERAL DISORDERS\n";

void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

TCommandResult RunMkmdb(const std::filesystem::path& whoart, const std::filesystem::path& ljxt,
                        const std::filesystem::path& output) {
  return RunCommand(ShellQuote(QUILLON_MKMDB) + " " + ShellQuote(whoart.string()) + " " + ShellQuote(ljxt.string()) +
                        " " + ShellQuote(output.string()),
                    true);
}

// Rows of a source the plain way: lines, tabs, empty cell = NULL.
std::vector<TMdbRow> SourceRows(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<TMdbRow> rows;
  std::string line;
  for (bool header = true; std::getline(in, line); header = false) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (header || line.empty()) continue;
    TMdbRow row;
    std::stringstream cells(line + "\t");
    for (std::string cell; std::getline(cells, cell, '\t');) row.push_back(cell.empty() ? std::nullopt : std::optional(cell));
    rows.push_back(row);
  }
  return rows;
}

// "NAME size, ..." of a table's text columns, as mdb-schema reports them.
std::string TextSizes(const std::filesystem::path& file, const std::string& table) {
  std::istringstream schema(TableSchema(file, table));
  std::string out;
  for (std::string line; std::getline(schema, line);) {
    const size_t open = line.find('['), close = line.find(']'), text = line.find("Text (");
    if (open == std::string::npos || close == std::string::npos || text == std::string::npos) continue;
    if (!out.empty()) out += ", ";
    out += line.substr(open + 1, close - open - 1) + " " + line.substr(text + 6, line.find(')', text) - text - 6);
  }
  return out;
}

TEST(Mkmdb, WritesBothTablesWithEverySourceValue) {
  TScratchDir dir;
  // A byte-order mark and CR-LF line ends, as an editor on Windows leaves them.
  WriteText(dir / "whoart.tsv",
            "\xEF\xBB\xBF" + kWhoartHeader +
                "FBZD\t腹部胀大\tABDOMEN ENLARGED\t0001\t0600\t\t\r\n"
                "KLEB\t克罗恩病\tCROHN'S DISEASE\t0002\t0600\t1810\t\r\n"
                "GXY\t高血压，肺性\tHYPERTENSION, PULMONARY\t0003\t1810\t0100\t0600\r\n"
                "\t\t\"QUOTED\" NAME\t0004\t0100\t\t\r\n");
  WriteText(dir / "ljxt.tsv", kLjxt);
  const TCommandResult run = RunMkmdb(dir / "whoart.tsv", dir / "ljxt.tsv", dir / "ADR.mdb");
  ASSERT_EQ(run.ExitCode, 0) << run.Output;

  EXPECT_EQ(ListTables(dir / "ADR.mdb"), (std::vector<std::string>{"WHOART", "LJXT"}));
  const TExportedTable whoart = ExportTable(dir / "ADR.mdb", "WHOART");
  EXPECT_EQ(whoart.ColumnNames, (std::vector<std::string>{"PY", "NAME", "ENAME", "TID", "SID1", "SID2", "SID3"}));
  const std::vector<TMdbRow> expected = {
      {"FBZD", "腹部胀大", "ABDOMEN ENLARGED", "0001", "0600", {}, {}},
      {"KLEB", "克罗恩病", "CROHN'S DISEASE", "0002", "0600", "1810", {}},
      {"GXY", "高血压，肺性", "HYPERTENSION, PULMONARY", "0003", "1810", "0100", "0600"},
      {{}, {}, "\"QUOTED\" NAME", "0004", "0100", {}, {}},
  };
  EXPECT_TRUE(whoart.Rows == expected);
  EXPECT_TRUE(ExportTable(dir / "ADR.mdb", "LJXT").Rows == SourceRows(dir / "ljxt.tsv"));
  // Each column sized to its longest value, rounded up to tens of characters.
  EXPECT_EQ(TextSizes(dir / "ADR.mdb", "WHOART"),
            "PY 10, NAME 10, ENAME 30, TID 10, SID1 10, SID2 10, SID3 10");
  EXPECT_EQ(TextSizes(dir / "ADR.mdb", "LJXT"), "SID 10, NAME 10, ENAME 40");
}

// A database designer's sizes: the longest value in characters rounded up to the next ten, at
// least 10, never wider than the column allows.
TEST(Mkmdb, SizedToRowsRoundsTheLongestValueUpToTens) {
  struct Case {
    std::vector<std::optional<std::string>> values;
    int maxLength;
    int expected;
  };
  const Case cases[] = {
      {{}, 50, 10},                                      // no rows
      {{std::nullopt, std::nullopt}, 50, 10},            // only nulls
      {{"FBZD", "GXY"}, 50, 10},
      {{std::string(10, 'x')}, 50, 10},
      {{std::string(11, 'x')}, 50, 20},
      {{"头痛", std::string(19, 'x')}, 50, 20},
      {{"高血压，肺性高血压，肺性高血压，肺性高血压"}, 100, 30},  // 21 characters, 63 bytes
      {{std::string(38, 'x')}, 255, 40},
      {{"𠀀𠀀𠀀𠀀𠀀病"}, 50, 20},  // five characters beyond U+FFFF take two units each
      {{std::string(251, 'x')}, 255, 255},
      {{std::string(9, 'x')}, 5, 5},
  };
  for (const Case& c : cases) {
    std::vector<TMdbRow> rows;
    for (const auto& value : c.values) rows.push_back({value});
    const std::vector<TMdbColumn> sized = SizedToRows({{"C", TMdbColumnType::Text, c.maxLength}}, rows);
    EXPECT_EQ(sized[0].MaxLength, c.expected) << (c.values.empty() ? "" : c.values[0].value_or("null"));
  }
}

TEST(Mkmdb, RefusesMalformedSourcesNamingTheLine) {
  const std::string goodTerm = "FBZD\t腹部胀大\tABDOMEN ENLARGED\t0001\t0600\t\t\n";
  const struct {
    const char* why;
    std::string whoart;
    std::string ljxt;
    const char* message;  // after the output directory
  } cases[] = {
      {"header misspelt", "PY\tNAME\tENAME\tTID\tSID1\tSID2\tSID4\n", kLjxt,
       "whoart.tsv:1: the header line must be the tab-separated column names \"PY NAME ENAME TID SID1 SID2 SID3\""},
      {"empty source", "", kLjxt, "whoart.tsv:1: the file is empty"},
      {"a cell missing", kWhoartHeader + goodTerm + "FBZD\t腹部胀大\tX\t0002\t0600\t\n", kLjxt,
       "whoart.tsv:3: expected 7 tab-separated cells, found 6"},
      {"a cell too many", kWhoartHeader + "A\tB\tC\t0001\t0600\t\t\t\n", kLjxt, "whoart.tsv:2: expected 7 tab-separated cells, found 8"},
      {"invalid UTF-8", kWhoartHeader + goodTerm + "FB\t\xE8\x85\tX\t0002\t0600\t\t\n", kLjxt,
       "whoart.tsv:3: the line is not valid UTF-8"},
      {"NAME too long", kWhoartHeader + "FB\t" + std::string(101, 'N') + "\tX\t0002\t0600\t\t\n", kLjxt,
       "whoart.tsv:2: NAME is longer than 100 characters"},
      {"empty line inside", kWhoartHeader + "\n" + goodTerm, kLjxt, "whoart.tsv:2: empty line"},
      {"TID twice", kWhoartHeader + goodTerm + "X\tY\tZ\t0001\t0100\t\t\n", kLjxt,
       "whoart.tsv:3: TID 0001 is already used on line 2"},
      {"TID not four digits", kWhoartHeader + "X\tY\tZ\t001\t0100\t\t\n", kLjxt,
       "whoart.tsv:2: TID must be a code of four decimal digits"},
      {"no SID1", kWhoartHeader + "X\tY\tZ\t0001\t\t0100\t\n", kLjxt, "whoart.tsv:2: SID1 is empty"},
      {"SID2 not an organ system", kWhoartHeader + "X\tY\tZ\t0001\t0100\t0999\t\n", kLjxt,
       "whoart.tsv:2: SID2 0999 is not an SID of ljxt.tsv"},
      {"SID twice in LJXT", kWhoartHeader + goodTerm, kLjxt + "0100\t重复\tDUPLICATE\n",
       "ljxt.tsv:5: SID 0100 is already used on line 2"},
  };
  for (const auto& c : cases) {
    TScratchDir dir;
    WriteText(dir / "whoart.tsv", c.whoart);
    WriteText(dir / "ljxt.tsv", c.ljxt);
    const TCommandResult run = RunMkmdb(dir / "whoart.tsv", dir / "ljxt.tsv", dir / "ADR.mdb");
    EXPECT_EQ(run.ExitCode, 1) << c.why;
    EXPECT_NE(run.Output.find((dir.Path() / c.message).string()), std::string::npos) << c.why << ": " << run.Output;
    EXPECT_FALSE(std::filesystem::exists(dir / "ADR.mdb")) << c.why;
  }

  TScratchDir dir;
  const TCommandResult missing = RunMkmdb(dir / "none.tsv", dir / "none.tsv", dir / "ADR.mdb");
  EXPECT_EQ(missing.ExitCode, 1);
  EXPECT_NE(missing.Output.find("Cannot open " + (dir / "none.tsv").string()), std::string::npos) << missing.Output;
}

// The sample database the build makes from data/*.tsv holds exactly their rows.
TEST(Mkmdb, SampleDatabaseHoldsTheSourceRows) {
  const std::filesystem::path data = QUILLON_DATA_DIR;
  if (!std::filesystem::exists(data / "whoart.tsv") || !std::filesystem::exists(data / "ljxt.tsv"))
    GTEST_SKIP() << "no terminology sources in " << data;
  const std::filesystem::path sample = QUILLON_SAMPLE_MDB;
  ASSERT_TRUE(std::filesystem::exists(sample)) << sample << " was not built";

  EXPECT_EQ(ListTables(sample), (std::vector<std::string>{"WHOART", "LJXT"}));
  const struct { const char* table; const char* source; } tables[] = {{"WHOART", "whoart.tsv"}, {"LJXT", "ljxt.tsv"}};
  for (const auto& t : tables) {
    const std::vector<TMdbRow> expected = SourceRows(data / t.source);
    const TExportedTable exported = ExportTable(sample, t.table);
    EXPECT_EQ(exported.Rows.size(), expected.size()) << t.table;
    EXPECT_TRUE(exported.Rows == expected) << t.table << " rows differ from " << t.source;
  }
}

}  // namespace
