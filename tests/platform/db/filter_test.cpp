// Filters: the expression language over a small term table, each case checked through the
// data set and against a plain row-by-row evaluation (so the indexed plan cannot drift from
// the semantics), then the rules for changing Filter and Filtered.
#include <gtest/gtest.h>

#include "platform/db/ado_connection.h"
#include "platform/db/ado_query.h"
#include "platform/db/db_error.h"
#include "platform/db/filter_eval.h"
#include "platform/db/filter_parser.h"
#include "platform/db/like_pattern.h"
#include "tests/platform/db/db_test_util.h"

namespace {

using Strings = std::vector<std::string>;

class FilterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    connection.SetTableSource(dbtest::TerminologySource());
    query.SetConnection(&connection);
    query.SetName("adoqryBLFY");
    query.SetSQL({"SELECT * FROM WHOART"});
    query.Open();
    source.SetDataSet(&query);
    link.SetDataSource(&source);
    link.Clear();
  }

  Strings tids() { return dbtest::Column(query, "TID"); }

  TComponent owner{nullptr};
  TADOConnection connection{&owner};
  TADOQuery query{&owner};
  TDataSource source{&owner};
  dbtest::RecordingLink link;
};

TEST(LikePatternTest, MatchesWildcardsIgnoringCase) {
  struct Case {
    const char* pattern;
    const char* value;
    bool matches;
  };
  const std::vector<Case> cases = {
      {"FT*", "FTX", true},     {"ft*", "FTX", true},     {"FT*", "XFT", false},
      {"*ft", "XFT", true},     {"*T*", "ATB", true},     {"F%", "F", true},
      {"F_X", "FTX", true},     {"F?X", "FX", false},     {"发热*", "发热感", true},
      {"?热", "发热", true},     {"[*]A", "*A", true},     {"[*]A", "BA", false},
      {"é*", "ÉCLAIR", true},   {"", "", true},           {"", "A", false},
      {"*", "", true},          {"A*B*C", "AXXBYYC", true}, {"A*B*C", "AXXBYY", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TLikePattern(c.pattern).Matches(c.value), c.matches) << c.pattern << " ~ " << c.value;
  EXPECT_TRUE(TLikePattern("ft*").IsPrefixOnly());
  EXPECT_EQ(TLikePattern("ft*").FoldedPrefix(), "FT");
  EXPECT_FALSE(TLikePattern("f*t*").IsPrefixOnly());
  EXPECT_FALSE(TLikePattern("f_*").IsPrefixOnly());
}

TEST_F(FilterTest, ExpressionsSelectTheRightRecords) {
  struct Case {
    const char* filter;
    Strings tids;
  };
  const std::vector<Case> cases = {
      // LIKE: wildcards at the end, the start and both; case and CJK text.
      {"PY LIKE 'FR*'", {"0003", "0004"}},
      {"py like 'fr%'", {"0003", "0004"}},
      {"Name LIKE '发热*'", {"0003", "0004"}},
      {"ENAME LIKE '*ache'", {"0005"}},
      {"ENAME LIKE '*VER*'", {"0003", "0004", "0006"}},
      {"ENAME LIKE 'F_VER'", {"0003"}},
      {"ENAME LIKE 'F?VER*'", {"0003", "0004"}},
      {"PY NOT LIKE 'F*'", {"0002", "0005", "0006", "0007"}},
      {"ENAME LIKE '*'", {"0001", "0002", "0003", "0004", "0005", "0006", "0007", "0008"}},
      {"PY LIKE 'Q*'", {}},
      // Quotes, brackets, field names in any case.
      {"ENAME LIKE 'O''BRIEN*'", {"0007"}},
      {"ENAME = \"O'BRIEN SYNDROME\"", {"0007"}},
      {"[ename] = 'RASH'", {"0002"}},
      // Every comparison operator; '=' is case-sensitive.
      {"TID = '0002'", {"0002"}},
      {"TID <> '0002'", {"0001", "0003", "0004", "0005", "0006", "0007", "0008"}},
      {"TID != '0002' AND TID < '0004'", {"0001", "0003"}},
      {"TID < '0003'", {"0001", "0002"}},
      {"TID > '0006'", {"0007", "0008"}},
      {"TID <= '0002'", {"0001", "0002"}},
      {"TID >= '0007'", {"0007", "0008"}},
      {"'0002' = TID", {"0002"}},
      {"PY = 'fr'", {}},
      {"TID = ' '", {}},
      {"TID = 3", {}},  // the number becomes the text "3", as the column is text
      // Nulls: no comparison with null is true, not even under NOT.
      {"SID2 = '0100'", {"0003"}},
      {"SID2 <> '0100'", {"0002", "0006"}},
      {"NOT (SID2 = '0100')", {"0002", "0006"}},
      {"SID2 = NULL", {}},
      {"SID2 IS NULL", {"0001", "0004", "0005", "0007", "0008"}},
      {"SID2 IS NOT NULL", {"0002", "0003", "0006"}},
      {"PY IS NULL", {"0008"}},
      {"ENAME IS NULL", {"0008"}},  // empty text counts as blank
      // Logic and grouping.
      {"SID1 = '0800' AND SID2 = '0100'", {"0003"}},
      {"SID1 = '0600' OR SID1 = '0410'", {"0001", "0005", "0008"}},
      {"(SID1 = '0800' OR SID1 = '0100') AND NOT PY LIKE 'F*'", {"0002", "0006", "0007"}},
      {"PY LIKE 'FR*' AND SID2 IS NULL", {"0004"}},
      {"PY LIKE 'FR*' OR ENAME LIKE 'RA*'", {"0002", "0003", "0004"}},
      {"NOT NOT TID = '0001'", {"0001"}},
      // The grid's criteria text.
      {"((TID = '0001') OR (NOT ((SID2 Is Null))))", {"0001", "0002", "0003", "0006"}},
      {"", {"0001", "0002", "0003", "0004", "0005", "0006", "0007", "0008"}},
  };
  query.SetFiltered(true);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.filter);
    query.SetFilter(c.filter);
    EXPECT_EQ(tids(), c.tids);
    EXPECT_EQ(query.RecordCount(), int(c.tids.size()));
    if (*c.filter) {  // the plan agrees with testing each row
      TBoundExpression bound(*ParseFilterExpression(c.filter), dbtest::Whoart());
      std::vector<uint32_t> all = AllRows(8), byRow;
      for (uint32_t r : all)
        if (bound.Test(r)) byRow.push_back(r);
      EXPECT_EQ(bound.Select(all), byRow);
      EXPECT_EQ(bound.SelectAll(), byRow);
    }
    query.CheckInvariants();
  }
}

TEST_F(FilterTest, InvalidExpressionsRaiseAndKeepTheOldFilter) {
  const std::vector<const char*> invalid = {
      "PY LIKE 'FR*",          // unbalanced quote
      "FOO = 'x'",             // unknown field
      "PY = 'FR' garbage",     // trailing garbage
      "PY =",                  // incomplete
      "(PY = 'FR'",            // missing parenthesis
      "PY LIKE 5",             // pattern is not text
      "= 'x'",                 // no operand
      "PY == 'x'",
      "PY 'x'",
      "AND",
      "[PY = 'x'",
      "D = #2020-13-01#",
  };
  query.SetFiltered(true);
  query.SetFilter("PY LIKE 'FR*'");
  query.Last();
  link.Clear();
  for (const char* text : invalid) {
    SCOPED_TRACE(text);
    try {
      query.SetFilter(text);
      ADD_FAILURE() << "no error";
    } catch (const EDatabaseError& e) {
      EXPECT_FALSE(e.Message.empty());
    }
    EXPECT_EQ(query.Filter(), "PY LIKE 'FR*'");
    EXPECT_EQ(query.RecordCount(), 2);
    EXPECT_EQ(query.RecNo(), 2);  // not even moved
  }
  EXPECT_TRUE(link.Log.empty());
  // The message says what is wrong and where.
  try {
    query.SetFilter("PY LIKE 'FR*");
  } catch (const EDatabaseError& e) {
    EXPECT_NE(e.Message.find("unterminated string"), std::string::npos) << e.Message;
    EXPECT_NE(e.Message.find("position 9"), std::string::npos) << e.Message;
  }
  try {
    query.SetFilter("FOO = 'x'");
  } catch (const EDatabaseError& e) {
    EXPECT_NE(e.Message.find("Field 'FOO' not found"), std::string::npos) << e.Message;
  }
}

// Filter and query text set in code can be anything: nesting deeper than the limit is refused
// with an error (the old filter stays), long flat chains of AND/OR are fine at any length.
TEST_F(FilterTest, NestingIsLimitedAndLongChainsAreRead) {
  auto repeat = [](const std::string& piece, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += piece;
    return text;
  };
  auto nested = [&](int levels) { return repeat("(", levels) + "PY LIKE 'FR*'" + repeat(")", levels); };
  auto chain = [&](const char* keyword, int operands) {
    std::string text = "TID <> 'x'";
    for (int i = 1; i < operands; ++i) text += std::string(" ") + keyword + " TID <> 'x" + std::to_string(i) + "'";
    return text;
  };
  const int limit = kMaxFilterNesting;
  struct Case {
    std::string why;
    std::string filter;
    int records;  // -1: refused
  };
  const std::vector<Case> cases = {
      {"parentheses at the limit", nested(limit), 2},
      {"one parenthesis more", nested(limit + 1), -1},
      {"12,000 parentheses", nested(12000), -1},
      {"NOTs at the limit", repeat("NOT ", limit) + "PY LIKE 'FR*'", 2},
      {"one NOT more", repeat("NOT ", limit + 1) + "PY LIKE 'FR*'", -1},
      {"20,000 NOTs", repeat("NOT ", 20000) + "PY LIKE 'FR*'", -1},
      {"parentheses and NOTs together count", repeat("NOT (", limit / 2 + 1) + "TID = '0001'" + repeat(")", limit / 2 + 1), -1},
      {"20,000 ANDs", chain("AND", 20001), 8},
      {"20,000 ORs", chain("OR", 20001), 8},
      {"a long chain inside deep parentheses", repeat("(", limit - 1) + chain("AND", 5000) + repeat(")", limit - 1), 8},
      {"a literal of 100,000 characters", "ENAME = '" + std::string(100000, 'X') + "'", 0},
  };
  query.SetFiltered(true);
  query.SetFilter("PY LIKE 'FR*'");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    try {
      query.SetFilter(c.filter);
      EXPECT_EQ(query.RecordCount(), c.records);
    } catch (const EDatabaseError& e) {
      EXPECT_EQ(c.records, -1) << e.Message.substr(0, 300);
      EXPECT_NE(e.Message.find("nested more than 256 levels deep"), std::string::npos) << e.Message.substr(0, 300);
      EXPECT_LT(e.Message.size(), 400u);  // quotes the start of the text, not all of it
      EXPECT_EQ(query.Filter(), "PY LIKE 'FR*'");
      EXPECT_EQ(query.RecordCount(), 2);
    }
    query.SetFilter("PY LIKE 'FR*'");
  }

  // The same limit holds for a query's condition.
  TADOQuery deep(&owner);
  deep.SetConnection(&connection);
  deep.SetSQL({"SELECT * FROM WHOART WHERE " + nested(12000)});
  EXPECT_THROW(deep.Open(), EDatabaseError);
  EXPECT_FALSE(deep.Active());

  // A tree built in code has no parser to refuse it: binding does.
  TExprPtr root = ParseFilterExpression("PY LIKE 'FR*'");
  for (int i = 0; i < kMaxFilterTreeDepth; ++i) {
    auto parent = std::make_unique<TExprNode>();
    parent->Kind = TExprKind::Not;
    parent->Operands.push_back(std::move(root));
    root = std::move(parent);
  }
  EXPECT_THROW(TBoundExpression(*root, dbtest::Whoart()), EDatabaseError);
}

// The sorted index and the row-by-row test fold text the same way, invalid UTF-8 included (an
// invalid byte is a character of its own, equal to no real character): for every pattern and
// value both select the same rows.
TEST(LikeIndexTest, IndexAndRowTestAgreeOnInvalidUtf8) {
  const std::vector<std::string> values = {
      "\xff", "\xff" "A", "ÿ", "Ÿ", "\xC3", "\xC3\xA9", "é", "É", "\xE4\xB8", "中", "中X", "\xE4\xB8\xAD",
      "a\xff", "A\xfe", "\xED\xB3\xBF", "", "*", "[x]"};
  std::vector<std::vector<dbtest::Cell>> rows;
  for (const std::string& v : values) rows.push_back({v});
  const TSnapshotPtr table = dbtest::MakeTable("T", {"PY"}, rows);
  struct Case {
    std::string pattern;
    std::vector<uint32_t> rows;  // row indexes into values
  };
  const std::vector<Case> cases = {
      {"\xff*", {0, 1}},          // the invalid byte, not ÿ (a real character)
      {"ÿ*", {2, 3}},              // ÿ and Ÿ fold together
      {"\xC3*", {4}},             // a lead byte alone is not the start of é
      {"É*", {5, 6, 7}},
      {"\xE4\xB8*", {8}},         // a cut-off character is not the start of 中
      {"中*", {9, 10, 11}},
      {"A\xff*", {12}},
      {"\xED\xB3\xBF*", {14}},     // the bytes an escape would be written as, as bytes
      {"*", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}},
      {"[*]*", {16}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    TBoundExpression bound(*ParseFilterExpression("PY LIKE '" + c.pattern + "'"), table);
    std::vector<uint32_t> byRow;
    for (uint32_t r = 0; r < table->RowCount(); ++r)
      if (bound.Test(r)) byRow.push_back(r);
    EXPECT_EQ(byRow, c.rows);
    EXPECT_EQ(bound.SelectAll(), c.rows);  // through the index
    TBoundExpression equal(*ParseFilterExpression("PY = '" + c.pattern + "'"), table);
    std::vector<uint32_t> equalByRow;
    for (uint32_t r = 0; r < table->RowCount(); ++r)
      if (equal.Test(r)) equalByRow.push_back(r);
    EXPECT_EQ(equal.SelectAll(), equalByRow);
  }
}

// Literals against typed columns keep their value: a fraction against integers is not rounded,
// a 64-bit integer is not read as a double, and a date text may carry milliseconds.
TEST(TypedFilterTest, LiteralsMeetTypedColumnsByValue) {
  auto table = std::make_shared<TTableSnapshot>(
      "T", std::vector<TSnapshotColumnDef>{{"NUM", ftInteger, 0}, {"BIG", ftLargeint, 0}, {"DT", ftDateTime, 0}});
  const TDateTime day = *TryEncodeDate(2020, 1, 2);
  table->AppendRow({Variant(1), Variant(int64_t(1234567890123456789)), Variant::Date(day)});
  table->AppendRow({Variant(2), Variant(int64_t(1234567890123456788)), Variant::Date(day + *TryEncodeTime(10, 30, 0, 250))});
  table->AppendRow({Variant(3), Variant(int64_t(-1)), Variant::Date(day + *TryEncodeTime(10, 30, 0, 0))});
  struct Case {
    const char* filter;
    std::vector<uint32_t> rows;
  };
  const std::vector<Case> cases = {
      {"NUM <= 1.5", {0}},
      {"NUM = 2.0", {1}},
      {"NUM > 2.5", {2}},
      {"BIG = 1234567890123456789", {0}},
      {"BIG < -0.5", {2}},
      {"DT = '2020-01-02 10:30:00.250'", {1}},
      {"DT = '2020-01-02 10:30:00.25'", {1}},
      {"DT < '2020-01-02 10:30:00.001'", {0, 2}},
  };
  for (const Case& c : cases) {
    TBoundExpression bound(*ParseFilterExpression(c.filter), table);
    EXPECT_EQ(bound.SelectAll(), c.rows) << c.filter;
  }
}

TEST_F(FilterTest, SettingFilterAndFiltered) {
  query.SetFiltered(true);
  EXPECT_EQ(link.Log, Strings{"changed"});  // turning it on applies the (empty) text

  query.Last();
  link.Clear();
  query.SetFilter("PY LIKE 'FR*'");  // new text while filtered: at once, first record
  EXPECT_EQ(link.Log, Strings{"changed"});
  EXPECT_EQ(query.RecNo(), 1);
  EXPECT_TRUE(query.Bof());
  EXPECT_EQ(query.FieldByName("TID")->AsString(), "0003");

  query.Next();
  link.Clear();
  query.SetFilter("PY LIKE 'FR*'");  // the same text: nothing at all
  EXPECT_TRUE(link.Log.empty());
  EXPECT_EQ(query.RecNo(), 2);

  query.SetFiltered(false);
  EXPECT_EQ(query.RecordCount(), 8);
  link.Clear();
  query.SetFilter("TID = '0005'");  // not filtered: stored, nothing moves
  EXPECT_TRUE(link.Log.empty());
  EXPECT_EQ(query.RecordCount(), 8);
  query.SetFiltered(true);  // turning it on applies the stored text
  EXPECT_EQ(link.Log, Strings{"changed"});
  EXPECT_EQ(tids(), Strings{"0005"});

  // A filter stored while closed applies when the query opens.
  query.Close();
  query.SetFilter("SID1 = '0800'");
  query.Open();
  EXPECT_EQ(tids(), (Strings{"0003", "0004", "0006"}));

  // No match: empty, both ends, no current record.
  query.SetFilter("PY LIKE 'Q*'");
  EXPECT_TRUE(query.IsEmpty());
  EXPECT_TRUE(query.Bof() && query.Eof());
  EXPECT_EQ(query.RecNo(), 0);
  EXPECT_TRUE(query.FieldByName("TID")->IsNull());
  query.CheckInvariants();
}

TEST_F(FilterTest, FilterOptionsAreNotSupported) {
  try {
    query.SetFilterOptions({foCaseInsensitive});
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message, "FilterOptions are not supported");
  }
  EXPECT_THROW(query.SetFilterOptions({foNoPartialCompare}), EDatabaseError);
  EXPECT_TRUE(query.FilterOptions().empty());
  EXPECT_NO_THROW(query.SetFilterOptions({}));
}

}  // namespace
