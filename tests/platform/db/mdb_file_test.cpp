// The Access-file side: what libmdb reads back from files the Jet writer made, how bad files
// are refused, a short fuzz run over damaged copies, and that reading leaves the file alone.
//
// The fuzz run takes QUILLON_DB_FUZZ_CASES cases (default 400, well under a second); run it longer by hand with e.g.
//   QUILLON_DB_FUZZ_CASES=5000 platform_db_file_test --gtest_filter='*Fuzz*'
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <map>
#include <random>

#include "platform/db/ado_connection.h"
#include "platform/db/ado_query.h"
#include "platform/db/db_error.h"
#include "platform/db/mdb_table_source.h"
#include "tests/platform/db/mdb_fixture.h"

namespace {

using Strings = std::vector<std::string>;

class MdbFileTest : public ::testing::Test {
 protected:
  void SetUp() override { dbtest::WriteTerminologyFile(dir / "ADR.mdb"); }
  dbtest::ScratchDir dir;
};

TEST_F(MdbFileTest, ReadsEveryCellAsWritten) {
  TMdbTableSource source((dir / "ADR.mdb").string());
  EXPECT_EQ(source.TableNames(), (Strings{"WHOART", "LJXT"}));
  EXPECT_EQ(source.JetVersion(), 1);
  for (const TSnapshotPtr& expected : {dbtest::Whoart(), dbtest::Ljxt()}) {
    SCOPED_TRACE(expected->TableName());
    TSnapshotPtr table = source.LoadTable(expected->TableName() == "WHOART" ? "whoart" : "LJXT");
    EXPECT_EQ(table->TableName(), expected->TableName());
    ASSERT_EQ(table->ColumnCount(), expected->ColumnCount());
    ASSERT_EQ(table->RowCount(), expected->RowCount());
    for (int c = 0; c < table->ColumnCount(); ++c) {
      const TSnapshotColumn& got = table->Column(c);
      EXPECT_EQ(got.Def().Name, expected->Column(c).Def().Name);
      EXPECT_EQ(got.Def().DataType, ftWideString);  // Jet 4 text
      for (uint32_t r = 0; r < table->RowCount(); ++r) {
        EXPECT_EQ(got.IsNull(r), expected->Column(c).IsNull(r)) << got.Def().Name << " row " << r;
        EXPECT_EQ(got.Text(r), expected->Column(c).Text(r)) << got.Def().Name << " row " << r;
      }
    }
  }
  EXPECT_EQ(source.LoadTable("WHOART")->Column(0).Def().Size, 50);  // characters
}

TEST_F(MdbFileTest, BadFilesRaiseClearErrors) {
  const std::string good = dbtest::ReadBytes(dir / "ADR.mdb");
  std::mt19937 random(7);
  std::string noise(4096 * 4, '\0');
  for (char& ch : noise) ch = char(random());
  std::string noCatalog = good;
  std::fill(noCatalog.begin() + 2 * 4096, noCatalog.begin() + 3 * 4096, '\0');
  std::string jet3Signature = good.substr(0, 2048 * 3);  // claims Jet 3 by its version byte
  jet3Signature[0x14] = 0;
  struct Case {
    const char* name;
    std::function<void(const std::filesystem::path&)> make;
    const char* cause;
  };
  const std::vector<Case> cases = {
      {"missing.mdb", [](auto&) {}, "the file does not exist"},
      {"empty.mdb", [](auto& p) { dbtest::WriteBytes(p, ""); }, "the file is empty"},
      {"noise.mdb", [&](auto& p) { dbtest::WriteBytes(p, noise); }, "not an Access database"},
      {"text.mdb", [](auto& p) { dbtest::WriteBytes(p, "Standard Jet DB"); }, "not an Access database"},
      {"cut.mdb", [&](auto& p) { dbtest::WriteBytes(p, good.substr(0, 4096 * 3 + 100)); }, "truncated"},
      {"short.mdb", [&](auto& p) { dbtest::WriteBytes(p, good.substr(0, 4096)); }, "too short"},
      {"nocatalog.mdb", [&](auto& p) { dbtest::WriteBytes(p, noCatalog); }, "catalog"},
      {"folder.mdb", [](auto& p) { std::filesystem::create_directory(p); }, "not a regular file"},
      {"jet3.mdb", [&](auto& p) { dbtest::WriteBytes(p, jet3Signature); }, "damaged"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto path = dir / c.name;
    c.make(path);
    TComponent owner(nullptr);
    TADOConnection connection(&owner);
    connection.SetConnectionString(std::string("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") +
                                   path.string());
    try {
      connection.Open();
      ADD_FAILURE() << "opened";
    } catch (const EDatabaseError& e) {
      EXPECT_NE(e.Message.find(path.string()), std::string::npos) << e.Message;  // names the file
      EXPECT_NE(e.Message.find(c.cause), std::string::npos) << e.Message;
    }
    EXPECT_FALSE(connection.Connected());
  }

  // Cut at a page boundary the header looks fine; the table whose pages are gone must not
  // come back shorter without a word.
  dbtest::WriteBytes(dir / "lastpagegone.mdb", good.substr(0, good.size() - 4096));
  TMdbTableSource cutSource((dir / "lastpagegone.mdb").string());
  int shortTables = 0;
  for (const char* table : {"WHOART", "LJXT"}) {
    try {
      cutSource.LoadTable(table);
    } catch (const EDatabaseError& e) {
      EXPECT_NE(e.Message.find("could be read"), std::string::npos) << e.Message;
      ++shortTables;
    }
  }
  EXPECT_EQ(shortTables, 1);

  // A good file without the table the query needs: the connection opens, the query fails.
  dbtest::WriteTerminologyFile(dir / "nowhoart.mdb", false);
  TComponent owner(nullptr);
  TADOConnection connection(&owner);
  connection.SetConnectionString("Data Source=" + (dir / "nowhoart.mdb").string());
  TADOQuery query(&owner);
  query.SetConnection(&connection);
  query.SetSQL({"SELECT * FROM WHOART"});
  try {
    query.Open();
    FAIL() << "opened";
  } catch (const EDatabaseError& e) {
    EXPECT_NE(e.Message.find("table 'WHOART' not found"), std::string::npos) << e.Message;
    EXPECT_NE(e.Message.find("nowhoart.mdb"), std::string::npos) << e.Message;
  }
  EXPECT_TRUE(connection.Connected());
  EXPECT_FALSE(query.Active());
}

TEST_F(MdbFileTest, DataSourceIsResolvedInTheWorkingDirectory) {
  dbtest::WorkingDir cwd(dir.Path());
  TComponent owner(nullptr);
  TADOConnection connection(&owner);
  connection.SetConnectionString(
      "Provider=Microsoft.Jet.OLEDB.4.0;Password=\"\";User ID=Admin;Data Source=ADR.mdb;"
      "Mode=Share Deny None;Jet OLEDB:Engine Type=5");
  connection.Open();
  EXPECT_EQ(connection.DatabasePath(), (std::filesystem::current_path() / "ADR.mdb").string());
}

TEST_F(MdbFileTest, ReadingLeavesTheFileUntouched) {
  const auto path = dir / "ADR.mdb";
  const std::string before = dbtest::ReadBytes(path);
  struct stat st0;
  ASSERT_EQ(::stat(path.c_str(), &st0), 0);
  {
    dbtest::WorkingDir cwd(dir.Path());
    TComponent owner(nullptr);
    TADOConnection connection(&owner);
    connection.SetConnectionString("Data Source=ADR.mdb;Mode=Share Deny None");
    TADOQuery query(&owner);
    query.SetConnection(&connection);
    query.SetSQL({"SELECT * FROM WHOART"});
    query.SetFiltered(true);
    query.Open();
    query.SetFilter("PY LIKE 'FR*'");
    EXPECT_EQ(query.RecordCount(), 2);
    // Someone else may read (or write) the file meanwhile: nothing is locked.
    EXPECT_EQ(dbtest::ReadBytes(path), before);
    query.Close();
    connection.Close();
  }
  struct stat st1;
  ASSERT_EQ(::stat(path.c_str(), &st1), 0);
  EXPECT_EQ(dbtest::ReadBytes(path), before);
  EXPECT_EQ(st1.st_mtim.tv_sec, st0.st_mtim.tv_sec);
  EXPECT_EQ(st1.st_mtim.tv_nsec, st0.st_mtim.tv_nsec);
  EXPECT_EQ(st1.st_size, st0.st_size);
}

// Damaged copies of a small valid file: whatever libmdb does with them (warn, crash, loop),
// the application sees a database error or a readable table, never a crash.
TEST_F(MdbFileTest, FuzzedCopiesNeverCrashTheReader) {
  const char* env = std::getenv("QUILLON_DB_FUZZ_CASES");
  const int caseCount = env ? std::atoi(env) : 400;
  const std::string good = dbtest::ReadBytes(dir / "ADR.mdb");
  const auto path = dir / "fuzz.mdb";
  std::mt19937_64 random(20240601);
  std::map<std::string, int> outcomes;  // kind of outcome -> count
  std::map<std::string, std::string> examples;
  for (int i = 0; i < caseCount; ++i) {
    std::string bytes = good;
    switch (random() % 3) {
      case 0:  // a few random bytes anywhere past the header's signature
        for (int n = 1 + int(random() % 8); n > 0; --n)
          bytes[0x20 + random() % (bytes.size() - 0x20)] = char(random());
        break;
      case 1: {  // a zeroed run
        size_t at = 0x20 + random() % (bytes.size() - 0x60);
        std::fill(bytes.begin() + long(at), bytes.begin() + long(at + 64), '\0');
        break;
      }
      default: {  // one page copied over another (not the header)
        size_t pages = bytes.size() / 4096;
        size_t from = random() % pages, to = 1 + random() % (pages - 1);
        std::copy_n(good.begin() + long(from * 4096), 4096, bytes.begin() + long(to * 4096));
      }
    }
    dbtest::WriteBytes(path, bytes);
    std::string outcome = "read both tables";
    try {
      TMdbTableSource source(path.string(), 2000);
      for (const char* table : {"WHOART", "LJXT"}) source.LoadTable(table)->SortedIndex(0);
    } catch (const EDatabaseError& e) {
      const std::string& m = e.Message;
      outcome = m.find("crashed") != std::string::npos       ? "libmdb crashed (contained)"
                : m.find("did not finish") != std::string::npos ? "libmdb hung (killed)"
                : m.find("stopped early") != std::string::npos  ? "reader stopped early"
                : m.find("not found") != std::string::npos      ? "table missing"
                                                                : "refused as damaged";
      examples.emplace(outcome, m);
    }
    ++outcomes[outcome];
  }
  std::cout << "[ fuzz     ] " << caseCount << " damaged copies:";
  for (const auto& [kind, count] : outcomes) std::cout << " " << kind << " " << count << ";";
  std::cout << "\n";
  for (const auto& [kind, message] : examples) std::cout << "[ fuzz     ]   " << kind << ": " << message << "\n";
  int total = 0;
  for (const auto& [kind, count] : outcomes) total += count;
  EXPECT_EQ(total, caseCount);  // every case came back here, whatever happened inside
}

}  // namespace
