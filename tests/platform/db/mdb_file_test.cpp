// The Access-file side: what libmdb reads back from files the Jet writer made, how bad files
// are refused, a short fuzz run over damaged copies, and that reading leaves the file alone.
//
// The fuzz run takes QUILLON_DB_FUZZ_CASES cases (default 400, well under a second); run it longer by hand with e.g.
//   QUILLON_DB_FUZZ_CASES=5000 platform_db_file_test --gtest_filter='*Fuzz*'
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <iostream>
#include <map>
#include <random>

#include "platform/db/ado_connection.h"
#include "platform/db/ado_query.h"
#include "platform/db/db_error.h"
#include "platform/db/mdb_table_source.h"
#include "platform/db/memory_table.h"
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

// Names with characters beyond U+FFFF (CJK Extension B, emoji) are stored as surrogate pairs,
// plain or, where the pair's bytes allow it, in compressed form; they come back as the same
// UTF-8, and a prefix search finds them.
TEST_F(MdbFileTest, CharactersBeyondTheBasicPlaneComeBackAndAreFound) {
  const std::vector<std::string> names = {
      "𠀀",                         // U+20000: D840 DC00, plain (DC00 has a zero low byte)
      "𠀀𠀁病",                     // two Extension B characters before a BMP one
      "😀 SMILE",                   // U+1F600: D83D DE00 before ASCII
      "ABCDEFGHIJ 𠀁 KLMNOPQRST",  // U+20001: D840 DC01, compressed between one-byte runs
      "𪚥",                         // U+2A6A5
      "皮疹",                       // the basic plane, for comparison
  };
  std::vector<TMdbRow> rows;
  for (size_t i = 0; i < names.size(); ++i)
    rows.push_back({"P" + std::to_string(i), names[i], "E", "000" + std::to_string(i), "0100", std::nullopt, std::nullopt});
  const auto path = dir / "beyond.mdb";
  WriteMdbFile(path, {{kWhoartTableName, WhoartColumns(), rows, {}}, {kLjxtTableName, LjxtColumns(), {}, {}}});
  // The fourth name really is stored compressed, its pair in two-byte mode between switches.
  const std::string compressed("\xFF\xFE" "ABCDEFGHIJ " "\0" "\x40\xD8\x01\xDC" "\0" " KLMNOPQRST", 30);
  ASSERT_NE(dbtest::ReadBytes(path).find(compressed), std::string::npos);

  TSnapshotPtr table = TMdbTableSource(path.string()).LoadTable("WHOART");
  ASSERT_EQ(table->RowCount(), names.size());
  const int name = table->FindColumn("NAME");
  for (uint32_t r = 0; r < table->RowCount(); ++r) EXPECT_EQ(table->Column(name).Text(r), names[r]);

  TComponent owner(nullptr);
  TADOConnection connection(&owner);
  connection.SetConnectionString("Data Source=" + path.string());
  TADOQuery query(&owner);
  query.SetConnection(&connection);
  query.SetSQL({"SELECT * FROM WHOART"});
  query.SetFiltered(true);
  query.Open();
  const std::vector<std::pair<std::string, Strings>> searches = {
      {"NAME LIKE '𠀀*'", {"𠀀", "𠀀𠀁病"}},
      {"NAME LIKE '𠀀𠀁*'", {"𠀀𠀁病"}},
      {"NAME LIKE '😀*'", {"😀 SMILE"}},
      {"NAME LIKE 'ABCDEFGHIJ 𠀁*'", {"ABCDEFGHIJ 𠀁 KLMNOPQRST"}},
      {"NAME = '𪚥'", {"𪚥"}},
  };
  for (const auto& [filter, found] : searches) {
    query.SetFilter(filter);
    EXPECT_EQ(dbtest::Column(query, "NAME"), found) << filter;
  }
}

// A table as Access leaves it after design changes and edits: a deleted column (a gap in
// the column numbers, its old values still in the rows), rows written before the last two
// columns were added (short rows), rows moved to another page (overflow pointers), a deleted
// row, and a replication-ID column. Nulls and texts come back as stored, in table order.
TEST_F(MdbFileTest, NullsAndTextsComeBackAsStoredAfterDesignChangesAndEdits) {
  using T = TMdbColumnType;
  using S = TMdbRowStorage;
  const std::nullopt_t N = std::nullopt;
  const std::string guid1 = "{8E39276A-BCA8-4AC4-891E-49911D8438DD}";
  const std::string guid2 = "{00000001-0002-0003-0405-060708090A0B}";
  TMdbTable table{"HISTORY",
                  {{"ID", T::LongInteger},
                   {"OLD", T::Text, 60, true},  // deleted: number 1 is a gap
                   {"A", T::Text, 20},
                   {"B", T::Text, 20},
                   {"G", T::ReplicationId},
                   {"K", T::Integer},
                   {"C", T::Text, 20},  // C and later: added after the short rows were written
                   {"D", T::Text, 20},
                   {"E", T::Text, 20},  // numbers 8 and up are past a short row's null mask
                   {"F", T::Text, 20},
                   {"H", T::Text, 20},
                   {"L", T::ReplicationId}},
                  {},
                  {}};
  table.ShortRowsAllowed = true;
  struct Row {
    S storage;
    TMdbRow stored;                 // as written, the deleted column's value included
    std::vector<dbtest::Cell> got;  // ID, A, B, G, K, C, D, E, F, H, L as read; empty: not a row
  };
  const std::string longOld(60, 'z');  // a long value in a short row: its bytes could pass for L's
  const std::vector<Row> rows = {
      {S::Plain, {"1", "gone", "a1", N, guid1, "5", "c1", N, "e1", "f1", N, guid2},
       {"1", "a1", N, guid1, "5", "c1", N, "e1", "f1", N, guid2}},
      {S::Plain, {"2", "old", N, "b2", N, "6"}, {"2", N, "b2", N, "6", N, N, N, N, N, N}},
      {S::Overflow, {"3", N, N, "", guid2, N, "c3", "d3", N, "f3", "h3", N},
       {"3", N, "", guid2, N, "c3", "d3", N, "f3", "h3", N}},
      {S::Overflow, {"4", "x", "a4", N}, {"4", "a4", N, N, N, N, N, N, N, N, N}},
      {S::Deleted, {"99", "dead", "dead", "dead", guid1, "9", "dead", "dead", "dead", "dead", "dead", guid1}, {}},
      {S::Plain, {"6", N, N, N, N, N, N, N, N, N, N, N}, {"6", N, N, N, N, N, N, N, N, N, N}},
      // Stored right after a full row: the bytes past its end are that row's column count.
      {S::Plain, {"8", longOld}, {"8", N, N, N, N, N, N, N, N, N, N}},
      {S::Overflow, {"7", "y", "", "b7", guid1, "-7", "", "d7", "e7", "", "h7", guid1},
       {"7", "", "b7", guid1, "-7", "", "d7", "e7", "", "h7", guid1}},
      {S::Plain, {"9", "w", "a9", "b9", guid2, "9", "c9", "d9", "e9", "f9", "h9", guid2},
       {"9", "a9", "b9", guid2, "9", "c9", "d9", "e9", "f9", "h9", guid2}},
  };
  std::vector<std::vector<dbtest::Cell>> expected;
  for (const Row& row : rows) {
    table.Rows.push_back(row.stored);
    table.RowStorage.push_back(row.storage);
    if (!row.got.empty()) expected.push_back(row.got);
  }
  WriteMdbFile(dir / "history.mdb", {table});

  TSnapshotPtr got = TMdbTableSource((dir / "history.mdb").string()).LoadTable("HISTORY");
  const std::vector<std::string> names = {"ID", "A", "B", "G", "K", "C", "D", "E", "F", "H", "L"};
  ASSERT_EQ(got->ColumnCount(), int(names.size()));
  for (int c = 0; c < got->ColumnCount(); ++c) EXPECT_EQ(got->Column(c).Def().Name, names[size_t(c)]);
  EXPECT_EQ(got->Column(3).Def().DataType, ftGuid);
  ASSERT_EQ(got->RowCount(), expected.size());
  for (uint32_t r = 0; r < got->RowCount(); ++r) {
    for (int c = 0; c < got->ColumnCount(); ++c) {
      const dbtest::Cell& want = expected[r][size_t(c)];
      const Variant value = got->Column(c).Value(r);
      EXPECT_EQ(value.IsClear(), !want) << "row " << r << " column " << names[size_t(c)];
      if (want) {
        EXPECT_EQ(value.AsString(), *want) << "row " << r << " column " << names[size_t(c)];
      }
    }
  }
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

// The error of opening the file at path and then a query on table, or "" when both work.
std::string OpeningError(const std::filesystem::path& path, const std::string& table) {
  TComponent owner(nullptr);
  TADOConnection connection(&owner);
  connection.SetConnectionString("Data Source=" + path.string());
  TADOQuery query(&owner);
  query.SetConnection(&connection);
  query.SetSQL({"SELECT * FROM " + table});
  try {
    connection.Open();
    query.Open();
  } catch (const EDatabaseError& e) {
    return e.Message;
  }
  return "";
}

// The system catalog gets the same plausibility checks as a user table: whatever breaks its
// pages, the file is called damaged, never a file without the table asked for.
TEST_F(MdbFileTest, ADamagedCatalogIsReportedAsDamageNotAsAMissingTable) {
  const std::string good = dbtest::ReadBytes(dir / "ADR.mdb");
  constexpr size_t kPage = 4096;
  auto page = [&](size_t n) { return n * kPage; };
  auto u16 = [](const std::string& b, size_t at) { return unsigned(uint8_t(b[at])) | unsigned(uint8_t(b[at + 1])) << 8; };
  // The catalog's definition is on page 2; its rows are on the data page that names page 2
  // as its owner, the usage maps (every table's list of pages) on page 1.
  size_t catalogData = 0;
  for (size_t n = 3; n < good.size() / kPage && !catalogData; ++n)
    if (good[page(n)] == 1 && good[page(n) + 4] == 2 && good[page(n) + 5] == 0) catalogData = n;
  ASSERT_EQ(catalogData, 5u);  // header, maps, three definitions, then the catalog's rows
  const size_t rowCountAt = page(catalogData) + 12;
  const unsigned catalogRows = u16(good, rowCountAt);
  ASSERT_EQ(catalogRows, 5u);  // two containers, MSysObjects, WHOART, LJXT
  std::mt19937 random(17);
  auto garbage = [&](std::string& b, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i) b[i] = char(random());
  };
  auto setU16 = [](std::string& b, size_t at, unsigned v) {
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8);
  };
  auto slotAt = [&](size_t slot) { return rowCountAt + 2 + 2 * slot; };
  struct Damage {
    const char* what;
    std::function<void(std::string&)> apply;
  };
  const std::vector<Damage> damages = {
      {"page 1 (usage maps) zeroed", [&](auto& b) { std::fill_n(b.begin() + long(page(1)), kPage, '\0'); }},
      {"the catalog's data page zeroed", [&](auto& b) { std::fill_n(b.begin() + long(page(catalogData)), kPage, '\0'); }},
      {"garbage over the catalog's data page", [&](auto& b) { garbage(b, page(catalogData), page(catalogData + 1)); }},
      {"garbage over the catalog's rows, page header kept",
       [&](auto& b) { garbage(b, slotAt(catalogRows), page(catalogData + 1)); }},
      {"the catalog's data page owned by another table", [&](auto& b) { b[page(catalogData) + 4] = 3; }},
      {"the catalog's data page of another page kind", [&](auto& b) { b[page(catalogData)] = 2; }},
      {"the catalog's last row marked deleted",
       [&](auto& b) { setU16(b, slotAt(catalogRows - 1), u16(b, slotAt(catalogRows - 1)) | 0x8000); }},
      {"the catalog's last row pointing off the page",
       [&](auto& b) { setU16(b, slotAt(catalogRows - 1), 0x1FFF); }},
      {"the catalog's row count cut by one", [&](auto& b) { setU16(b, rowCountAt, catalogRows - 1); }},
      {"the catalog's row count run past its slots", [&](auto& b) { setU16(b, rowCountAt, 0x7FF); }},
      {"the catalog definition counts a row more", [&](auto& b) { b[page(2) + 16] = char(b[page(2) + 16] + 1); }},
      {"the catalog definition's page map pointing at nothing",
       [&](auto& b) { std::fill_n(b.begin() + long(page(2) + 55), 4, '\0'); }},
      {"the catalog's usage map row zeroed",  // the first map row on page 1
       [&](auto& b) { std::fill_n(b.begin() + long(page(1) + u16(b, page(1) + 14)), 64, '\0'); }},
  };
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.what);
    std::string bytes = good;
    damage.apply(bytes);
    ASSERT_NE(bytes, good);
    const auto path = dir / "copy.mdb";
    dbtest::WriteBytes(path, bytes);
    const std::string error = OpeningError(path, "LJXT");
    EXPECT_NE(error.find("the file is damaged"), std::string::npos) << error;
    EXPECT_NE(error.find(path.string()), std::string::npos) << error;
  }
  EXPECT_EQ(OpeningError(dir / "ADR.mdb", "LJXT"), "");
  const std::string missing = OpeningError(dir / "ADR.mdb", "NOSUCH");
  EXPECT_NE(missing.find("table 'NOSUCH' not found"), std::string::npos) << missing;
}

// A damaged or older file whose table lacks a column the search filters on: the error names
// the column, the table and the file, and the old filter stays.
TEST_F(MdbFileTest, AColumnMissingFromTheFileIsReportedWithTableAndFile) {
  const auto path = dir / "nopy.mdb";
  WriteMdbFile(path, {{"WHOART", {{"NAME"}, {"TID", TMdbColumnType::Text, 10}}, {{"发热", "0003"}}, {}}});
  TComponent owner(nullptr);
  TADOConnection connection(&owner);
  connection.SetConnectionString("Data Source=" + path.string());
  TADOQuery query(&owner);
  query.SetName("adoqryBLFY");
  query.SetConnection(&connection);
  query.SetSQL({"SELECT * FROM WHOART"});
  query.Open();
  query.SetFiltered(true);
  try {
    query.SetFilter("PY LIKE 'FR*'");
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message, "adoqryBLFY: Field 'PY' not found in table WHOART of " + path.string());
  }
  EXPECT_EQ(query.Filter(), "");
  EXPECT_EQ(query.RecordCount(), 1);
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

// Reading, the query's refused edits and a memory copy's edits all leave the file as it was.
TEST_F(MdbFileTest, ReadingAndEditingACopyLeaveTheFileUntouched) {
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

    for (auto change : std::vector<std::function<void()>>{
             [&] { query.Edit(); }, [&] { query.Insert(); }, [&] { query.Append(); },
             [&] { query.Delete(); }}) {
      try {
        change();
        ADD_FAILURE() << "the query took a change";
      } catch (const EDatabaseError& e) {
        EXPECT_NE(e.Message.find("Cannot modify a read-only dataset"), std::string::npos) << e.Message;
      }
    }
    // A memory copy has the query's fields and the records its filter passes, and takes edits.
    TMemoryTable copy(&owner);
    copy.SetName("mtCopy");
    copy.CopyFrom(query);
    ASSERT_EQ(copy.FieldCount(), query.FieldCount());
    for (int i = 0; i < query.FieldCount(); ++i) {
      const TField* from = query.Fields()[i];
      const TField* to = copy.Fields()[i];
      SCOPED_TRACE(from->FieldName());
      EXPECT_EQ(to->FieldName(), from->FieldName());
      EXPECT_EQ(to->DataType(), from->DataType());
      EXPECT_EQ(to->Size(), from->Size());
      EXPECT_EQ(dbtest::Column(copy, to->FieldName()), dbtest::Column(query, from->FieldName()));
    }
    copy.First();
    copy.Delete();
    copy.Edit();
    copy.FieldByName("NAME")->SetText("发热感觉");
    copy.Append();
    copy.FieldByName("TID")->SetText("0099");
    copy.Post();
    EXPECT_EQ(dbtest::Column(copy, "TID"), (Strings{"0004", "0099"}));
    EXPECT_EQ(dbtest::Column(copy, "NAME"), (Strings{"发热感觉", ""}));
    EXPECT_EQ(dbtest::Column(query, "NAME"), (Strings{"发热", "发热感"}));
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
