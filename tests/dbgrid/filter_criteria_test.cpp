// The grid filter's core without a grid: the criteria tree (operators, removing a column's
// conditions, column state, evaluation), its two renderings, its byte form, the drop-down
// value list, and the agreement of the rendered expression with the record-set layer's filter.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <vector>

#include "dbgrid/criteria_render.h"
#include "dbgrid/criteria_stream.h"
#include "dbgrid/db_grid_column.h"
#include "dbgrid/filter_criteria.h"
#include "dbgrid/filter_values.h"
#include "platform/db/filter_eval.h"
#include "platform/db/filter_parser.h"
#include "platform/db/table_snapshot.h"

namespace {

// --- building trees from a short description ---------------------------------------------

struct Node {
  bool list = false;
  TqlBoolOperator op = qboAnd;
  bool isNot = false;
  std::string name;
  uint8_t code = 0;
  Variant value;
  std::string text;
  std::vector<Node> children;
};

Node item(std::string name, uint8_t code, Variant value = Variant::Null(), std::string text = "") {
  Node n;
  n.name = std::move(name);
  n.code = code;
  n.value = std::move(value);
  n.text = std::move(text);
  return n;
}
Node Not(Node n) {
  n.isNot = true;
  return n;
}
Node And(std::vector<Node> children) {
  Node n;
  n.list = true;
  n.children = std::move(children);
  return n;
}
Node Or(std::vector<Node> children) {
  Node n = And(std::move(children));
  n.op = qboOr;
  return n;
}

void build(TqlCriteriaItemList& list, const std::vector<Node>& nodes) {
  for (const Node& n : nodes) {
    if (n.list)
      build(*list.AddList(n.op, n.isNot), n.children);
    else
      list.AddItem(n.name, n.code, n.value, n.text, n.isNot);
  }
}

void build(TqlCriteria& criteria, const std::vector<Node>& root) {
  criteria.Clear();
  build(criteria.Root(), root);
  criteria.CheckInvariants();
}

// Field name and caption of each column name the tests use.
const std::map<std::string, std::pair<std::string, std::string>> kColumns = {
    {"colPY", {"PY", "拼音"}},           {"colTID", {"TID", "代码"}},
    {"colName", {"中文名", "中文名称"}},   {"colDate", {"Order Date", "日期"}},
    {"colAnd", {"And", "和"}},           {"colE", {"ENAME", "英文名"}},
};
std::string fieldOf(const TqlCriteriaItem& it) { return kColumns.at(it.Name()).first; }
std::string captionOf(const TqlCriteriaItem& it) { return kColumns.at(it.Name()).second; }
// Trees described by their display text with the bare names (the tidy tests read well so).
std::string shape(const TqlCriteria& c) {
  return CriteriaDisplayText(c, [](const TqlCriteriaItem& it) { return it.Name(); });
}

TDateTime date(int y, int m, int d) { return *TryEncodeDate(y, m, d); }
TDateTime dateTime(int y, int m, int d, int h, int n, int s, int ms) {
  return date(y, m, d) + *TryEncodeTime(h, n, s, ms);
}

// --- operators ---------------------------------------------------------------------------

TEST(FilterCriteriaTest, OperatorsByCodeTheirTextsAndThreeValuedResults) {
  const char* texts[] = {"Is Null", "=", ">", "<", ">=", "<="};
  for (int code = 0; code < 6; ++code) {
    const TqlAbstractOperator* op = TqlAbstractOperator::ByCode(code);
    ASSERT_NE(op, nullptr);
    EXPECT_EQ(op->Code(), code);
    EXPECT_STREQ(op->Text(), texts[code]);
    EXPECT_EQ(op, TqlAbstractOperator::ByCode(code)) << "one shared instance";
  }
  EXPECT_EQ(TqlAbstractOperator::ByCode(6), nullptr);
  EXPECT_EQ(TqlAbstractOperator::ByCode(-1), nullptr);
  EXPECT_THROW(TqlCriteriaItem("x", 6, Variant(), ""), EInvalidOperation);

  const auto T = TqlTruth::True, F = TqlTruth::False, U = TqlTruth::Unknown;
  struct Case {
    int code;
    Variant value, operand;
    TqlTruth expected;
    const char* why;
  };
  const std::vector<Case> cases = {
      {0, Variant::Null(), Variant(1), T, "null is blank"},
      {0, Variant(), Variant(), T, "empty is blank"},
      {0, Variant(""), Variant(), T, "the empty string is blank"},
      {0, Variant(" "), Variant(), F, "a blank character is a value"},
      {0, Variant(0), Variant(), F, "zero is a value"},
      {1, Variant(3), Variant(3.0), T, "integer equals double"},
      {1, Variant("a"), Variant("A"), F, "case counts"},
      {2, Variant(4), Variant(3), T, ">"},
      {2, Variant(3), Variant(3), F, "> is strict"},
      {3, Variant("abc"), Variant("abd"), T, "<"},
      {4, Variant(3), Variant(3), T, ">= holds on equal"},
      {5, Variant(4), Variant(3), F, "<="},
      {1, Variant::Null(), Variant(3), U, "a null row value is unknown"},
      {3, Variant::Null(), Variant(3), U, "null is not less than a value"},
      {1, Variant(3), Variant::Null(), U, "a null operand is unknown"},
      {1, Variant("x"), Variant(3), U, "values that cannot be compared"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TqlAbstractOperator::ByCode(c.code)->Evaluate(c.value, c.operand), c.expected) << c.why;
}

// --- rendering ---------------------------------------------------------------------------

TEST(FilterCriteriaTest, RendersTheExpressionAndTheDisplayText) {
  struct Case {
    std::vector<Node> tree;
    const char* expression;
    const char* display;
  };
  const std::vector<Case> cases = {
      {{}, "", ""},
      // An integer and a string column: the integer as it is, the string in quotes.
      {{item("colTID", 1, Variant(3), "0003"), item("colPY", 1, Variant("FR"), "FR")},
       "(TID = 3) AND (PY = 'FR')",
       "(代码 = 0003) AND (拼音 = FR)"},
      // Every operator; Is Null has no value.
      {{item("colTID", 0), item("colTID", 2, Variant(1), "1"), item("colTID", 3, Variant(-2), "-2"),
        item("colTID", 4, Variant(3), "3"), item("colTID", 5, Variant(4), "4")},
       "(TID Is Null) AND (TID > 1) AND (TID < -2) AND (TID >= 3) AND (TID <= 4)",
       "(代码 Is Null) AND (代码 > 1) AND (代码 < -2) AND (代码 >= 3) AND (代码 <= 4)"},
      // NOT on items (not equal, non-blanks) and on lists; nested lists.
      {{Not(item("colTID", 1, Variant(3), "3")), Not(item("colPY", 0))},
       "(NOT (TID = 3)) AND (NOT (PY Is Null))",
       "(NOT (代码 = 3)) AND (NOT (拼音 Is Null))"},
      {{item("colPY", 1, Variant("A"), "A"),
        Or({item("colTID", 2, Variant(1), "1"), Not(And({item("colTID", 3, Variant(9), "9"), item("colE", 0)}))})},
       "(PY = 'A') AND ((TID > 1) OR (NOT ((TID < 9) AND (ENAME Is Null))))",
       "(拼音 = A) AND ((代码 > 1) OR (NOT ((代码 < 9) AND (英文名 Is Null))))"},
      // Quotes are doubled in the expression and shown as they are; %, * and _ stay.
      {{item("colE", 1, Variant("O'Brien 50%_*"), "O'Brien 50%_*")},
       "(ENAME = 'O''Brien 50%_*')",
       "(英文名 = O'Brien 50%_*)"},
      // Names that are not identifiers are bracketed: CJK, a blank, a keyword.
      {{item("colName", 1, Variant::OleStr("发热"), "发热"), item("colDate", 0), item("colAnd", 1, Variant(true), "是")},
       "([中文名] = '发热') AND ([Order Date] Is Null) AND ([And] = True)",
       "(中文名称 = 发热) AND (日期 Is Null) AND (和 = 是)"},
      // A null operand becomes NULL; an empty sub-list is left out.
      {{item("colTID", 1, Variant::Null(), ""), Or({}), item("colPY", 1, Variant(""), "")},
       "(TID = NULL) AND (PY = '')",
       "(代码 = ) AND (拼音 = )"},
      // Literals: dates (with milliseconds, time only, finer than a millisecond), doubles
      // that need 17 digits, large and small ones, currency, booleans.
      {{item("colDate", 1, Variant::Date(date(2020, 1, 2)), "d1"),
        item("colDate", 2, Variant::Date(dateTime(2020, 1, 2, 10, 30, 0, 250)), "d2"),
        item("colDate", 3, Variant::Date(0.75), "d3"),
        item("colDate", 4, Variant::Date(43832.1 + 1e-9), "d4")},
       "([Order Date] = '2020-01-02') AND ([Order Date] > '2020-01-02 10:30:00.250') AND "
       "([Order Date] < '18:00:00') AND ([Order Date] >= 43832.100000000995)",
       "(日期 = d1) AND (日期 > d2) AND (日期 < d3) AND (日期 >= d4)"},
      {{item("colTID", 1, Variant(0.1 + 0.2), "x"), item("colTID", 2, Variant(1e20), "x"),
        item("colTID", 3, Variant(-1.5e-7), "x"), item("colTID", 4, Variant::CurrencyScaled(-12345), "x"),
        item("colTID", 5, Variant::Single(0.1f), "x"), item("colTID", 1, Variant(false), "x")},
       "(TID = 0.30000000000000004) AND (TID > 1e+20) AND (TID < -1.5e-07) AND (TID >= -1.2345) AND "
       "(TID <= 0.10000000149011612) AND (TID = False)",
       nullptr},
  };
  for (const Case& c : cases) {
    TqlCriteria criteria;
    build(criteria, c.tree);
    EXPECT_EQ(CriteriaExpressionText(criteria, fieldOf), c.expression);
    if (c.display) {
      EXPECT_EQ(CriteriaDisplayText(criteria, captionOf), c.display);
    }
  }
  // A negated root (only possible in code) negates the whole text.
  TqlCriteria negated;
  build(negated, {item("colTID", 1, Variant(1), "1"), item("colTID", 1, Variant(2), "2")});
  negated.Root().SetIsNot(true);
  EXPECT_EQ(CriteriaExpressionText(negated, fieldOf), "NOT ((TID = 1) AND (TID = 2))");
}

TEST(FilterCriteriaTest, ExpressionNamesComeFromOriginFieldOrLookupKey) {
  struct Case {
    TqlFilterFieldNames names;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {{"", "PY", false, ""}, "PY"},
      {{"WHOART_PY", "PY", false, ""}, "WHOART_PY"},
      {{"", "OrganName", true, "SID"}, "SID"},
      {{"LJXT_SID", "OrganName", true, "SID"}, "LJXT_SID"},
  };
  for (const Case& c : cases) EXPECT_EQ(FilterExpressionName(c.names), c.expected);
}

// --- removing a column's conditions, column state ----------------------------------------

TEST(FilterCriteriaTest, RemovingAColumnTidiesTheLists) {
  auto A = [](int v) { return item("A", 1, Variant(v), "a" + std::to_string(v)); };
  auto B = [](int v) { return item("B", 1, Variant(v), "b" + std::to_string(v)); };
  struct Case {
    std::vector<Node> tree;
    const char* before;
    const char* after;  // after removing every condition of A
  };
  const std::vector<Case> cases = {
      {{A(1), B(1)}, "(A = a1) AND (B = b1)", "(B = b1)"},
      {{B(1)}, "(B = b1)", "(B = b1)"},
      // A list left with one child is replaced by it, at the end of the parent's children.
      {{Or({A(1), B(1)}), B(2)}, "((A = a1) OR (B = b1)) AND (B = b2)", "(B = b2) AND (B = b1)"},
      {{B(3), And({Or({B(1), A(1)}), B(2)})},
       "(B = b3) AND (((B = b1) OR (A = a1)) AND (B = b2))",
       "(B = b3) AND ((B = b2) AND (B = b1))"},
      // Several conditions of the column, in different lists.
      {{Or({A(1), A(2)}), B(1), Or({B(2), A(3)})},
       "((A = a1) OR (A = a2)) AND (B = b1) AND ((B = b2) OR (A = a3))",
       "(B = b1) AND (B = b2)"},
      // A negated list passes its NOT to the child that replaces it.
      {{Not(Or({A(1), B(1)}))}, "(NOT ((A = a1) OR (B = b1)))", "(NOT (B = b1))"},
      {{Not(Or({A(1), Not(B(1))}))}, "(NOT ((A = a1) OR (NOT (B = b1))))", "(B = b1)"},
      // Lists that become empty go, up to (not including) the root.
      {{Or({And({A(1)})}), B(1)}, "(((A = a1))) AND (B = b1)", "(B = b1)"},
      {{A(1)}, "(A = a1)", ""},
  };
  for (const Case& c : cases) {
    TqlCriteria criteria;
    build(criteria, c.tree);
    EXPECT_EQ(shape(criteria), c.before);
    criteria.RemoveItems("A");
    criteria.CheckInvariants();
    EXPECT_EQ(shape(criteria), c.after) << c.before;
    EXPECT_FALSE(criteria.HasItems("A"));
  }
}

TEST(FilterCriteriaTest, ColumnStateTellsValueBlanksNonBlanksOrCustom) {
  struct Case {
    std::vector<Node> tree;
    TqlFilterColumnState expected;
    Variant value;
  };
  const std::vector<Case> cases = {
      {{}, fcsNone, Variant()},
      {{item("B", 1, Variant(1), "1")}, fcsNone, Variant()},
      {{item("B", 0), item("A", 1, Variant("x"), "x")}, fcsValue, Variant("x")},
      {{item("A", 0)}, fcsBlanks, Variant()},
      {{Not(item("A", 0))}, fcsNonBlanks, Variant()},
      {{Not(item("A", 1, Variant(1), "1"))}, fcsCustom, Variant()},
      {{item("A", 2, Variant(1), "1")}, fcsCustom, Variant()},
      {{item("A", 1, Variant(1), "1"), item("A", 1, Variant(2), "2")}, fcsCustom, Variant()},
      {{Or({item("A", 1, Variant(1), "1"), item("B", 0)})}, fcsCustom, Variant()},
  };
  for (const Case& c : cases) {
    TqlCriteria criteria;
    build(criteria, c.tree);
    Variant value(99);
    EXPECT_EQ(criteria.ColumnState("A", value), c.expected) << shape(criteria);
    EXPECT_EQ(value.VarType(), c.value.VarType()) << shape(criteria);
    EXPECT_TRUE(value == c.value || value.IsEmpty()) << shape(criteria);
  }

  // The drop-down's choices: a value, then blanks for the same column, then "(All)".
  TqlCriteria criteria;
  criteria.SetValueItem("A", Variant(5), "5");
  criteria.SetValueItem("B", Variant("b"), "b");
  criteria.SetBlanksItem("A", true);
  EXPECT_EQ(shape(criteria), "(B = b) AND (NOT (A Is Null))");
  Variant value;
  EXPECT_EQ(criteria.ColumnState("A", value), fcsNonBlanks);
  criteria.RemoveItems("A");
  criteria.RemoveItems("B");
  EXPECT_TRUE(criteria.IsEmpty());
}

// --- evaluation --------------------------------------------------------------------------

TEST(FilterCriteriaTest, EvaluatesWithTheCaseFlagAndCurrencyAsDouble) {
  struct Case {
    std::vector<Node> tree;
    bool caseInsensitive;
    std::map<std::string, Variant> row;
    bool passes;
    const char* why;
  };
  const std::vector<Case> cases = {
      {{item("S", 1, Variant("abc"))}, false, {{"S", Variant("ABC")}}, false, "case counts"},
      {{item("S", 1, Variant("abc"))}, true, {{"S", Variant("ABC")}}, true, "case ignored"},
      {{item("S", 1, Variant("ÉTÉ"))}, true, {{"S", Variant::OleStr("été")}}, true, "beyond ASCII"},
      {{item("S", 3, Variant("b"))}, true, {{"S", Variant("C")}}, false, "order of upper-cased text"},
      {{item("S", 3, Variant("b"))}, false, {{"S", Variant("C")}}, true, "order of the text as it is"},
      {{item("C", 1, Variant(1.5))}, false, {{"C", Variant::CurrencyScaled(15000)}}, true, "currency meets double"},
      {{Or({}), item("S", 0)}, false, {{"S", Variant("")}}, true, "an empty list adds nothing"},
      {{Or({})}, false, {{"S", Variant("")}}, true, "no items: every row passes"},
      // The first child as it is, the others combined by the list's operator.
      {{Or({item("S", 1, Variant("x")), item("N", 2, Variant(1))})}, false,
       {{"S", Variant("y")}, {"N", Variant(2)}}, true, "OR of false and true"},
      {{Not(Or({item("S", 1, Variant("x")), item("N", 2, Variant(1))}))}, false,
       {{"S", Variant("y")}, {"N", Variant(2)}}, false, "negated list"},
      {{Or({item("S", 1, Variant("x")), item("N", 2, Variant(1))})}, false,
       {{"S", Variant::Null()}, {"N", Variant(2)}}, true, "unknown OR true is true"},
      {{Not(item("S", 1, Variant("x")))}, false, {{"S", Variant::Null()}}, false,
       "NOT unknown is not true"},
  };
  for (const Case& c : cases) {
    TqlDBGridCriteria criteria;
    criteria.SetCaseInsensitive(c.caseInsensitive);
    build(criteria, c.tree);
    EXPECT_EQ(criteria.Evaluate([&](const TqlCriteriaItem& it) { return c.row.at(it.Name()); }), c.passes)
        << c.why;
  }
}

// The rendered expression, parsed and bound by the record-set layer, keeps exactly the rows
// the tree keeps, for every field kind of the terminology and the literals that need care.
TEST(FilterCriteriaTest, TheExpressionSelectsTheRowsTheTreeSelects) {
  const double tiny = dateTime(2020, 1, 2, 0, 0, 0, 0) + 1e-9;  // finer than a millisecond
  auto table = std::make_shared<TTableSnapshot>(
      "T", std::vector<TSnapshotColumnDef>{{"TXT", ftWideString, 50},
                                           {"NUM", ftInteger, 0},
                                           {"DBL", ftFloat, 0},
                                           {"DT", ftDateTime, 0},
                                           {"FLAG", ftBoolean, 0},
                                           {"AMT", ftCurrency, 0},
                                           {"名 称", ftString, 20},
                                           {"BIG", ftLargeint, 0}});
  const Variant N = Variant::Null();
  const std::vector<std::vector<Variant>> rows = {
      {Variant("O'Brien"), Variant(1), Variant(0.1), Variant::Date(date(2020, 1, 2)), Variant(true),
       Variant::CurrencyScaled(12345), Variant("发热"), Variant(int64_t(1234567890123456789))},
      {Variant("50%_*"), Variant(2), Variant(0.1 + 0.2), Variant::Date(dateTime(2020, 1, 2, 10, 30, 0, 250)),
       Variant(false), Variant::CurrencyScaled(0), Variant("头痛"), Variant(int64_t(1234567890123456788))},
      {Variant("a\tb\n"), Variant(-5), Variant(2.5), Variant::Date(-1.25), Variant(true),
       Variant::CurrencyScaled(-35000), Variant(""), Variant(int64_t(-7))},
      {N, N, N, N, N, N, N, N},
      {Variant("FR"), Variant(1000000), Variant(1e20), Variant::Date(tiny), Variant(false),
       Variant::CurrencyScaled(1000000), Variant("fr"), Variant(int64_t(0))},
      {Variant(""), Variant(0), Variant(-0.0), Variant::Date(0.75), Variant(true),
       Variant::CurrencyScaled(1), Variant("X Y"), Variant(int64_t(1))},
  };
  for (const auto& row : rows) table->AppendRow(row);
  TSnapshotPtr snapshot = table;
  auto valueOf = [&](const TqlCriteriaItem& it, uint32_t row) {
    return snapshot->Column(snapshot->FindColumn(it.Name())).Value(row);
  };

  struct Case {
    std::vector<Node> tree;
    const char* passing;  // one character per row: 1 passes
  };
  const auto I = [](const char* field, uint8_t code, Variant v) { return item(field, code, std::move(v)); };
  const std::vector<Case> cases = {
      {{I("TXT", 1, Variant("O'Brien"))}, "100000"},
      {{I("TXT", 1, Variant("50%_*"))}, "010000"},
      {{I("TXT", 1, Variant("a\tb\n"))}, "001000"},
      {{I("TXT", 0, N)}, "000101"},
      {{Not(I("TXT", 0, N))}, "111010"},
      {{Not(I("TXT", 1, Variant("FR")))}, "111001"},
      {{I("TXT", 3, Variant("a"))}, "110011"},
      {{I("NUM", 2, Variant(1))}, "010010"},
      {{I("NUM", 5, Variant(1.5))}, "101001"},
      {{Or({I("NUM", 4, Variant(2)), I("NUM", 3, Variant(0))})}, "011010"},
      {{Not(Or({I("NUM", 1, Variant(1)), I("NUM", 1, Variant(2))}))}, "001011"},
      {{I("NUM", 1, N)}, "000000"},
      {{Not(I("NUM", 1, N))}, "000000"},
      {{I("DBL", 1, Variant(0.1 + 0.2))}, "010000"},
      {{I("DBL", 2, Variant(1e19))}, "000010"},
      {{I("DBL", 1, Variant(0.0))}, "000001"},
      {{I("DT", 1, Variant::Date(dateTime(2020, 1, 2, 10, 30, 0, 250)))}, "010000"},
      {{I("DT", 1, Variant::Date(tiny))}, "000010"},
      {{I("DT", 3, Variant::Date(date(1900, 1, 1)))}, "001001"},
      {{I("DT", 4, Variant::Date(date(2020, 1, 2)))}, "110010"},
      {{I("FLAG", 1, Variant(true))}, "101001"},
      {{Not(I("FLAG", 1, Variant(true)))}, "010010"},
      {{I("AMT", 1, Variant::CurrencyScaled(12345))}, "100000"},
      {{I("AMT", 3, Variant::CurrencyScaled(1))}, "011000"},
      {{I("名 称", 1, Variant("发热"))}, "100000"},
      {{I("名 称", 0, N)}, "001100"},
      {{I("BIG", 1, Variant(int64_t(1234567890123456789)))}, "100000"},
      {{I("BIG", 5, Variant(int64_t(-7)))}, "001000"},
      {{I("NUM", 2, Variant(0)), Or({I("TXT", 1, Variant("FR")), Not(I("FLAG", 1, Variant(false)))}),
        Not(And({I("DBL", 1, Variant(2.5)), I("AMT", 3, Variant::CurrencyScaled(0))}))},
       "100010"},
  };
  for (const Case& c : cases) {
    TqlCriteria criteria;
    build(criteria, c.tree);
    const std::string expression =
        CriteriaExpressionText(criteria, [](const TqlCriteriaItem& it) { return it.Name(); });
    TExprPtr parsed;
    ASSERT_NO_THROW(parsed = ParseFilterExpression(expression)) << expression;
    std::unique_ptr<TBoundExpression> bound;
    ASSERT_NO_THROW(bound = std::make_unique<TBoundExpression>(*parsed, snapshot)) << expression;
    std::string byTree, byFilter, bySelection(rows.size(), '0');
    for (uint32_t row = 0; row < rows.size(); ++row) {
      byTree += criteria.Evaluate([&](const TqlCriteriaItem& it) { return valueOf(it, row); }) ? '1' : '0';
      byFilter += bound->Test(row) ? '1' : '0';
    }
    for (uint32_t row : bound->SelectAll()) bySelection[row] = '1';  // the indexed plan too
    EXPECT_EQ(byTree, c.passing) << expression;
    EXPECT_EQ(byFilter, c.passing) << expression;
    EXPECT_EQ(bySelection, c.passing) << expression;
  }
}

// --- the byte form -----------------------------------------------------------------------

std::string bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(char(uint8_t(v)));
  return out;
}

TEST(FilterCriteriaTest, StreamWritesTheDocumentedBytes) {
  TqlCriteria criteria;
  build(criteria, {Not(item("N", 1, Variant(5), "a")), Or({item("M", 0)})});
  EXPECT_EQ(WriteCriteriaStream(criteria),
            bytes({2, 0, 0, 0,                           // the root's children
                   0, 1,                                 // item, NOT
                   1, 0, 0, 0, 'a', 1, 0, 0, 0, 'N',     // display text, name
                   1, 2, 5,                              // "=", int8 5
                   1, 0, 1, 1, 0, 0, 0,                  // list, no NOT, OR, one child
                   0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 'M', 0, 0}));  // "M Is Null", null

  // Each value kind: its tag and bytes, and what reading gives back.
  const std::string longText(300, 'x');
  struct Case {
    Variant value;
    std::string written;
    TVarType readType;
  };
  const std::vector<Case> cases = {
      {Variant::Null(), bytes({0}), varNull},
      {Variant(), bytes({13}), varEmpty},
      {Variant(false), bytes({8}), varBoolean},
      {Variant(true), bytes({9}), varBoolean},
      {Variant::Byte(200), bytes({3, 200, 0}), varInteger},
      {Variant::Smallint(-100), bytes({2, 0x9C}), varInteger},
      {Variant(-200), bytes({3, 0x38, 0xFF}), varInteger},
      {Variant(70000), bytes({4, 0x70, 0x11, 0x01, 0x00}), varInteger},
      {Variant(int64_t(1) << 40), bytes({6, 13}) + "1099511627776", varString},
      {Variant::Single(1.5f), bytes({15, 0, 0, 0xC0, 0x3F}), varSingle},
      {Variant(1.0), bytes({5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}), varDouble},
      {Variant(-2.5), bytes({5, 0, 0, 0, 0, 0, 0, 0, 0xA0, 0x00, 0xC0}), varDouble},
      {Variant::CurrencyScaled(15000), bytes({16, 0x98, 0x3A, 0, 0, 0, 0, 0, 0}), varCurrency},
      {Variant::Date(2.0), bytes({17, 0, 0, 0, 0, 0, 0, 0, 0x40}), varDate},
      {Variant::OleStr("é\xF0\x9D\x84\x9E"), bytes({18, 3, 0, 0, 0, 0xE9, 0, 0x34, 0xD8, 0x1E, 0xDD}), varOleStr},
      {Variant("ab"), bytes({6, 2, 'a', 'b'}), varString},
      {Variant(longText), bytes({12, 0x2C, 0x01, 0, 0}) + longText, varString},
  };
  for (const Case& c : cases) {
    std::string out;
    WriteStreamVariant(out, c.value);
    EXPECT_EQ(out, c.written) << VarTypeName(c.value.VarType());
    size_t pos = 0;
    Variant back = ReadStreamVariant(out, pos);
    EXPECT_EQ(pos, out.size());
    EXPECT_EQ(back.VarType(), c.readType) << VarTypeName(c.value.VarType());
    EXPECT_TRUE(back == c.value || c.value.IsEmpty() || c.value.IsNull()) << VarTypeName(c.value.VarType());
  }
}

TEST(FilterCriteriaTest, ExtendedFloatsConvertBothWays) {
  const double values[] = {0.0, -0.0, 0.1, -3.141592653589793, 1e300, -1e-300,
                           std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::max(),
                           std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
  for (double v : values) {
    uint8_t ext[10];
    DoubleToExtended(v, ext);
    const double back = ExtendedToDouble(ext);
    EXPECT_EQ(std::signbit(back), std::signbit(v)) << v;
    EXPECT_EQ(back, v);
  }
  uint8_t nan[10];
  DoubleToExtended(std::nan(""), nan);
  EXPECT_TRUE(std::isnan(ExtendedToDouble(nan)));
  // Extended values a double cannot hold: rounded, overflowing to infinity, underflowing to 0.
  struct Case {
    std::string ext;
    double expected;
  };
  const std::vector<Case> cases = {
      {bytes({0x01, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}), 1.0},  // 1 + 2^-63 rounds to 1
      {bytes({0x00, 0x06, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}), 1.0 + 0x1p-52},  // above half: up
      {bytes({0x00, 0x04, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}), 1.0},            // a tie to even: down
      {bytes({0x00, 0x0C, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}), 1.0 + 0x1p-51},  // a tie to even: up
      {bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x7F}), std::numeric_limits<double>::infinity()},
      {bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0x01, 0x00}), 0.0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExtendedToDouble(reinterpret_cast<const uint8_t*>(c.ext.data())), c.expected);
  }
}

TEST(FilterCriteriaTest, StreamRoundTripKeepsTheTreeAndItsItemClass) {
  TqlCriteria source;
  build(source, {item("a", 1, Variant::Null(), "空"), Not(item("b", 0, Variant())),
                 Or({item("c", 2, Variant(7), "7"), Not(And({item("d", 3, Variant(-70000), "x"),
                                                           item("e", 4, Variant::Single(0.25f), "x")})),
                     item("f", 5, Variant(2.75), "x")}),
                 item("g", 1, Variant::CurrencyScaled(-1), "x"), item("h", 1, Variant::Date(1.5), "x"),
                 item("i", 1, Variant(true), "x"), item("j", 1, Variant(false), "x"),
                 item("k", 1, Variant::OleStr("中文 \xFF"), "中"), item("l", 1, Variant(std::string(256, 'z')), "x"),
                 item("m", 1, Variant("短"), std::string(1000, 't'))});
  const std::string written = WriteCriteriaStream(source);
  TqlDBGridCriteria target;
  build(target, {item("old", 1, Variant(1), "1")});
  ReadCriteriaStream(target, written);
  target.CheckInvariants();
  EXPECT_EQ(WriteCriteriaStream(target), written);
  EXPECT_EQ(shape(target), shape(source));
  EXPECT_FALSE(target.HasItems("old")) << "reading clears first";
  target.ForEachItem([](TqlCriteriaItem& it) { EXPECT_NE(dynamic_cast<TqlDBGridCriteriaItem*>(&it), nullptr); });
  EXPECT_EQ(target.FindItem("k")->Value().StringRef(), "中文 \xFF") << "an invalid byte survives the wide form";

  // An empty tree is four zero bytes and reads back empty.
  TqlCriteria empty;
  EXPECT_EQ(WriteCriteriaStream(empty), bytes({0, 0, 0, 0}));
  ReadCriteriaStream(target, bytes({0, 0, 0, 0}));
  EXPECT_TRUE(target.IsEmpty());

  // A tree the reader would refuse is not written.
  TqlCriteria deep;
  TqlCriteriaItemList* list = &deep.Root();
  for (int i = 0; i <= kMaxCriteriaStreamDepth; ++i) list = list->AddList(qboAnd);
  list->AddItem("x", 0, Variant(), "");
  try {
    WriteCriteriaStream(deep);
    ADD_FAILURE() << "a too deep tree was written";
  } catch (const EStreamError& e) {
    EXPECT_STREQ(e.what(), "Stream write error");
  }
}

TEST(FilterCriteriaTest, DamagedStreamsFailToReadAndLeaveTheCriteriaEmpty) {
  TqlCriteria sample;
  build(sample, {item("a", 1, Variant("x"), "t"), Or({item("b", 2, Variant(1.5), ""), Not(item("c", 0))}),
                 item("d", 1, Variant::OleStr("w"), "")});
  const std::string good = WriteCriteriaStream(sample);
  // One item "" "" = with the value to follow, and a whole stream of it with a null value.
  const std::string oneItem = bytes({1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1});
  const std::string itemStream = oneItem + bytes({0});
  const std::string listStream = bytes({1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0});  // one empty AND list
  ASSERT_NO_THROW({ TqlCriteria c; ReadCriteriaStream(c, itemStream); ReadCriteriaStream(c, listStream); });
  auto with = [](std::string data, size_t offset, std::initializer_list<int> values) {
    for (int v : values) data[offset++] = char(uint8_t(v));
    return data;
  };

  std::vector<std::pair<std::string, std::string>> damaged;  // bytes, what is wrong
  for (size_t n = 0; n < good.size(); ++n) damaged.push_back({good.substr(0, n), "cut at " + std::to_string(n)});
  damaged.push_back({good + '\0', "a byte left over"});
  for (int tag : {1, 7, 10, 11, 14, 19, 20, 255})
    damaged.push_back({with(itemStream, 15, {tag}), "unknown tag " + std::to_string(tag)});
  damaged.push_back({with(itemStream, 0, {0xFF, 0xFF, 0xFF, 0xFF}), "negative count"});
  damaged.push_back({with(itemStream, 0, {0xFF, 0xFF, 0xFF, 0x7F}), "count beyond the bytes"});
  damaged.push_back({with(itemStream, 4, {2}), "node kind 2"});
  damaged.push_back({with(itemStream, 5, {2}), "NOT flag 2"});
  damaged.push_back({with(itemStream, 14, {6}), "operator code 6"});
  damaged.push_back({with(listStream, 6, {2}), "boolean operator 2"});
  damaged.push_back({with(listStream, 7, {0xFF, 0xFF, 0xFF, 0xFF}), "negative child count"});
  damaged.push_back({with(itemStream, 6, {0xF0, 0xFF, 0xFF, 0xFF}), "negative length"});
  damaged.push_back({with(itemStream, 10, {0xFF, 0xFF, 0xFF, 0x7F}), "length beyond the bytes"});
  damaged.push_back({oneItem + bytes({6, 9, 'a'}), "short string beyond the bytes"});
  damaged.push_back({oneItem + bytes({12, 0xFF, 0xFF, 0xFF, 0xFF}), "negative long string length"});
  damaged.push_back({oneItem + bytes({18, 0xFF, 0xFF, 0xFF, 0x3F, 'a', 0}), "wide string beyond the bytes"});
  damaged.push_back({oneItem + bytes({5, 0, 0, 0}), "extended cut short"});
  std::string deep;
  for (int i = 0; i <= kMaxCriteriaStreamDepth; ++i) deep += bytes({1, 0, 0, 0, 1, 0, 0});
  damaged.push_back({deep + bytes({0, 0, 0, 0}), "lists nested too deep"});

  for (const auto& [data, why] : damaged) {
    TqlDBGridCriteria criteria;
    build(criteria, {item("old", 1, Variant(1), "1")});
    try {
      ReadCriteriaStream(criteria, data);
      ADD_FAILURE() << why << ": read without an error";
    } catch (const EStreamError& e) {
      EXPECT_STREQ(e.what(), "Stream read error") << why;
    }
    EXPECT_TRUE(criteria.IsEmpty()) << why;
    criteria.CheckInvariants();
  }
  // Nesting right at the limit still reads.
  std::string limit;
  for (int i = 0; i < kMaxCriteriaStreamDepth; ++i) limit += bytes({1, 0, 0, 0, 1, 0, 0});
  TqlCriteria criteria;
  EXPECT_NO_THROW(ReadCriteriaStream(criteria, limit + bytes({0, 0, 0, 0})));
}

// --- resolving columns -------------------------------------------------------------------

TEST(FilterCriteriaTest, GridItemsResolveTheirColumnsByName) {
  TqlDBGridColumn py(nullptr), tid(nullptr);
  TqlDBGridCriteria criteria;
  build(criteria, {item("colPY", 1, Variant("a")), Or({item("colTID", 0), item("colGone", 0)})});
  criteria.ResolveColumns([&](const std::string& name) -> TqlDBTreeListColumn* {
    return name == "colPY" ? &py : name == "colTID" ? &tid : nullptr;
  });
  auto columnOf = [&](const char* name) {
    return static_cast<TqlDBGridCriteriaItem*>(criteria.FindItem(name))->Column();
  };
  EXPECT_EQ(columnOf("colPY"), &py);
  EXPECT_EQ(columnOf("colTID"), &tid);
  EXPECT_EQ(columnOf("colGone"), nullptr);
  criteria.ForgetColumn(&tid);
  EXPECT_EQ(columnOf("colTID"), nullptr);
  EXPECT_EQ(columnOf("colPY"), &py);
}

// --- the drop-down value list ------------------------------------------------------------

TEST(FilterCriteriaTest, ValueListIsSortedDistinctLimitedAndMergesCase) {
  struct Add {
    Variant value;
    std::string text;
  };
  struct Case {
    std::vector<Add> adds;
    bool caseInsensitive;
    int maxCount;
    std::vector<std::string> texts;  // in list order
    bool blanks;
    const char* why;
  };
  const std::vector<Case> cases = {
      {{{Variant(3), "three"}, {Variant(1), "one"}, {Variant(2), "two"}, {Variant(1), "uno"}},
       false, 0, {"one", "two", "three"}, false, "by value, the first text of a value stays"},
      {{{Variant(10), "10"}, {Variant(9.5), "9.5"}, {Variant::CurrencyScaled(95000), "cur"}},
       false, 0, {"9.5", "10"}, false, "numbers of different kinds compare by value"},
      {{{Variant("b"), "b"}, {Variant::Null(), ""}, {Variant(""), ""}, {Variant(), ""}, {Variant("a"), "a"}},
       false, 0, {"a", "b"}, true, "blanks only note that they exist"},
      {{{Variant("abc"), "abc"}, {Variant("ABC"), "ABC"}, {Variant("Abd"), "Abd"}, {Variant("aBc"), "aBc"},
        {Variant("abc"), "abc"}, {Variant::OleStr("été"), "été"}, {Variant("ÉTÉ"), "x"}},
       true, 0, {"ABC", "ABD", "ÉTÉ"}, false, "case-insensitive: one upper-case entry"},
      {{{Variant("1"), "one"}, {Variant(1), "1"}, {Variant(1.0), "1.0"}, {Variant::CurrencyScaled(10000), "c"}},
       false, 0, {"one"}, false, "a number equal to a held text is the same value"},
      {{{Variant::Date(2.5), "d2"}, {Variant::Date(1), "d1"}, {Variant::Date(2.5), "again"}, {Variant(1.0), "one"},
        {Variant(2.0), "two"}},
       false, 0, {"d1", "two", "d2"}, false, "dates, and numbers as days"},
      {{{Variant(true), "t"}, {Variant(false), "f"}, {Variant(1), "1"}}, false, 0, {"f", "t"}, false, "booleans"},
      {{{Variant("abc"), "abc"}, {Variant("ABC"), "ABC"}}, false, 0, {"ABC", "abc"}, false, "case counts"},
      {{{Variant(5), "5"}, {Variant(4), "4"}, {Variant(3), "3"}, {Variant(2), "2"}, {Variant(1), "1"}},
       false, 2, {"4", "5"}, false, "only the first distinct values read are kept"},
      {{{Variant(5), "5"}, {Variant(5), "5"}, {Variant(4), "4"}, {Variant(6), "6"}},
       false, 2, {"4", "5"}, false, "a repeated value does not use the room"},
      {{{Variant("x"), "x"}, {Variant(1), "1"}, {Variant("y"), "y"}, {Variant(2), "2"}},
       false, 0, {"1", "2", "x", "y"}, false, "values that cannot be compared count as less"},
  };
  for (const Case& c : cases) {
    TqlDBGridFilterValues list;
    list.SetCaseInsensitive(c.caseInsensitive);
    list.SetMaxDropDownCount(c.maxCount);
    for (const Add& a : c.adds) list.AddValue(a.value, a.text);
    std::vector<std::string> texts;
    for (int i = 0; i < list.Count(); ++i) texts.push_back(list.Strings(i));
    EXPECT_EQ(texts, c.texts) << c.why;
    EXPECT_EQ(list.BlanksExist(), c.blanks) << c.why;
  }

  TqlDBGridFilterValues list;
  list.Add(Variant(), "(empty)");
  list.AddValue(Variant(-1), "-1");
  EXPECT_EQ(list.Strings(0), "(empty)") << "an empty value sorts first";
  EXPECT_EQ(list.IndexOfValue(Variant(-1.0)), 1);
  EXPECT_EQ(list.IndexOfValue(Variant(7)), -1);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  list.SetCaseInsensitive(true);
  list.AddValue(Variant("été"), "été");
  EXPECT_EQ(list.Strings(0), "ÉTÉ");
  EXPECT_EQ(list.IndexOfValue(Variant("Été")), 0);

  // Many values, few distinct: every distinct one once, in order.
  TqlDBGridFilterValues many;
  many.SetMaxDropDownCount(0);
  for (int i = 0; i < 100000; ++i) many.AddValue(Variant((i * 7919) % 1500), "");
  ASSERT_EQ(many.Count(), 1500);
  for (int i = 0; i < many.Count(); ++i) ASSERT_EQ(many.Values(i).AsInteger(), i);
}

}  // namespace
