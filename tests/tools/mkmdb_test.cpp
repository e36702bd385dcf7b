// quillon_mkmdb: the sample database from tab-separated sources, and its refusals.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/tools/mdbtools_reader.h"

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
  for (const char* column : {"[PY]", "[NAME]", "[ENAME]", "[TID]", "[SID1]", "[SID2]", "[SID3]"})
    EXPECT_NE(TableSchema(dir / "ADR.mdb", "WHOART").find(column), std::string::npos) << column;
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
