// Fuzz run of the filter language: random token soups, generated expressions (comparisons,
// LIKE patterns, IS NULL, AND/OR/NOT chains, parentheses), deep nesting around the limit, long
// chains, long literals and invalid UTF-8, each parsed, bound against a small table and, when
// valid, answered three ways that must agree: the indexed plan (SelectAll), the plan over an
// explicit row list (Select) and the row-by-row test (Test). An error is a fine outcome for
// bad text; a crash or a disagreement is a finding.
//
// The suite runs QUILLON_FILTER_FUZZ_CASES cases (default 3000, about a second); by hand:
//   QUILLON_FILTER_FUZZ_CASES=1000000 platform_db_filter_fuzz
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <map>
#include <random>

#include "platform/db/db_error.h"
#include "platform/db/filter_eval.h"
#include "platform/db/filter_parser.h"
#include "platform/db/sql_select.h"

namespace {

using Random = std::mt19937_64;

// Pieces of text values and patterns: ASCII in both cases, Latin-1 letters that fold (é/É,
// ÿ/Ÿ), CJK, wildcard and quote characters, and invalid UTF-8 (a stray byte, a lead byte
// without its continuation, a cut-off CJK character, a byte that is a valid character's
// first byte).
const std::vector<std::string> kPieces = {
    "a", "A", "b", "B", "fr", "FR", "0", "1", "é", "É", "ÿ", "Ÿ", "ß", "中", "发热", " ",
    "*", "%", "?", "_", "[", "]", "'", "\"", "\xff", "\xfe", "\xC3", "\xE4\xB8", "\x80", "\xED\xB3\xBF",
};

std::string randomText(Random& random, int maxPieces) {
  std::string text;
  for (int n = int(random() % uint64_t(maxPieces + 1)); n > 0; --n) text += kPieces[random() % kPieces.size()];
  return text;
}

// The table every case runs against: three text columns and an integer one, with nulls,
// empty texts and the pieces above in many combinations.
TSnapshotPtr fuzzTable() {
  Random random(7);
  auto table = std::make_shared<TTableSnapshot>(
      "FUZZ", std::vector<TSnapshotColumnDef>{{"PY", ftWideString, 50}, {"NAME", ftWideString, 50},
                                              {"TID", ftWideString, 10}, {"N", ftInteger, 0}});
  for (int r = 0; r < 60; ++r) {
    std::vector<Variant> row;
    for (int c = 0; c < 3; ++c)
      row.push_back(random() % 7 == 0 ? Variant::Null() : Variant(randomText(random, 4)));
    row.push_back(random() % 5 == 0 ? Variant::Null() : Variant(int64_t(random() % 21) - 10));
    table->AppendRow(row);
  }
  return table;
}

std::string sqlQuoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("''") : std::string(1, c);
  return out + "'";
}

class ExpressionMaker {
 public:
  explicit ExpressionMaker(Random& random) : random_(random) {}

  std::string predicate() {
    static const char* fields[] = {"PY", "name", "[TID]", "N", "py"};
    static const char* ops[] = {"=", "<>", "!=", "<", ">", "<=", ">="};
    const std::string field = fields[random_() % 5];
    switch (random_() % 6) {
      case 0: return field + (random_() % 2 ? " IS NULL" : " IS NOT NULL");
      case 1: case 2: {
        std::string pattern = randomText(random_, 3);
        if (random_() % 2) pattern += "*";  // often a prefix pattern, answered by the index
        return field + (random_() % 4 ? " LIKE " : " NOT LIKE ") + sqlQuoted(pattern);
      }
      case 3: return field + " " + ops[random_() % 7] + " " + std::to_string(int(random_() % 21) - 10);
      default: return field + " " + ops[random_() % 7] + " " + sqlQuoted(randomText(random_, 3));
    }
  }

  // A valid expression of at most depth levels of NOT and parentheses.
  std::string expression(int depth) {
    if (depth <= 0 || random_() % 3 == 0) return predicate();
    switch (random_() % 4) {
      case 0: return "NOT " + expression(depth - 1);
      case 1: return "(" + expression(depth - 1) + ")";
      default: {
        std::string text = expression(depth - 1);
        const char* keyword = random_() % 2 ? " AND " : " OR ";
        for (int n = 1 + int(random_() % 3); n > 0; --n) text += keyword + expression(depth - 1);
        return text;
      }
    }
  }

  std::string tokenSoup() {
    static const char* tokens[] = {"PY", "N", "AND", "OR", "NOT", "LIKE", "IS", "NULL", "(", ")", "=", "<>",
                                   "<", ">=", "-", "'x'", "'", "\"", "[", "]", "#2020-01-02#", "#", "12", "1.5e",
                                   ":p", "TRUE", "?", "*", "\xff", "中", ",", ";"};
    std::string text;
    for (int n = int(random_() % 12); n > 0; --n) text += std::string(tokens[random_() % 32]) + (random_() % 3 ? " " : "");
    return text;
  }

  // Nesting near the limit: parentheses or NOTs around a predicate.
  std::string deep() {
    const int levels = kMaxFilterNesting - 8 + int(random_() % 16);
    std::string inner = predicate();
    if (random_() % 2) return std::string(size_t(levels), '(') + inner + std::string(size_t(levels), ')');
    std::string text;
    for (int i = 0; i < levels; ++i) text += "NOT ";
    return text + inner;
  }

  // A flat chain of many operands: read in a loop, no depth.
  std::string longChain() {
    const char* keyword = random_() % 2 ? " AND " : " OR ";
    std::string text = predicate();
    for (int n = 500 + int(random_() % 3000); n > 0; --n) text += keyword + predicate();
    return text;
  }

  std::string longLiteral() {
    std::string text(size_t(1000 + random_() % 60000), 'A');
    for (size_t i = 0; i < 50; ++i) text[random_() % text.size()] = kPieces[random_() % kPieces.size()][0];
    return std::string(random_() % 2 ? "PY LIKE " : "NAME = ") + sqlQuoted(text) + (random_() % 2 ? "" : " OR N = 1");
  }

  // A valid expression with a few bytes changed, inserted or removed.
  std::string mutated() {
    std::string text = expression(4);
    for (int n = 1 + int(random_() % 3); n > 0 && !text.empty(); --n) {
      const size_t at = random_() % text.size();
      switch (random_() % 3) {
        case 0: text[at] = char(random_()); break;
        case 1: text.insert(at, 1, char(random_())); break;
        default: text.erase(at, 1);
      }
    }
    return text;
  }

 private:
  Random& random_;
};

std::vector<uint32_t> byRowTest(const TBoundExpression& bound, const std::vector<uint32_t>& rows) {
  std::vector<uint32_t> out;
  for (uint32_t r : rows)
    if (bound.Test(r)) out.push_back(r);
  return out;
}

TEST(FilterFuzz, ParserAndEvaluatorNeverCrashAndIndexAgreesWithScan) {
  const char* env = std::getenv("QUILLON_FILTER_FUZZ_CASES");
  const long caseCount = env ? std::atol(env) : 3000;
  const TSnapshotPtr table = fuzzTable();
  const std::vector<uint32_t> allRows = AllRows(table->RowCount());
  Random random(20240917);
  ExpressionMaker maker(random);
  std::map<std::string, long> outcomes;
  long disagreements = 0;
  const auto started = std::chrono::steady_clock::now();
  for (long i = 0; i < caseCount; ++i) {
    std::string text;
    const uint64_t kind = random() % 100;
    if (kind < 30) text = maker.expression(1 + int(random() % 6));
    else if (kind < 55) text = maker.tokenSoup();
    else if (kind < 85) text = maker.mutated();
    else if (kind < 94) text = maker.predicate();
    else if (kind < 97) text = maker.deep();
    else if (kind < 99) text = maker.longLiteral();
    else text = maker.longChain();

    std::string outcome;
    try {
      TExprPtr expr = random() % 4 ? ParseFilterExpression(text)
                                   : std::move(ParseSelect("SELECT * FROM FUZZ WHERE " + text).Where);
      TBoundExpression bound(*expr, table, {Variant("x")});
      const std::vector<uint32_t> expected = byRowTest(bound, allRows);
      std::vector<uint32_t> subset;
      for (uint32_t r : allRows)
        if (random() % 2) subset.push_back(r);
      if (bound.SelectAll() != expected || bound.Select(allRows) != expected ||
          bound.Select(subset) != byRowTest(bound, subset)) {
        if (++disagreements <= 5) ADD_FAILURE() << "index and row test disagree on: " << text.substr(0, 300);
        outcome = "DISAGREEMENT";
      } else {
        outcome = expected.empty() ? "valid, no rows" : "valid, some rows";
      }
    } catch (const EDatabaseError& e) {
      outcome = e.Message.find("levels deep") != std::string::npos ? "refused: nested too deeply" : "refused: invalid";
    }
    ++outcomes[outcome];
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::cout << "[ fuzz     ] " << caseCount << " filter expressions in " << seconds << " s:";
  for (const auto& [kind, count] : outcomes) std::cout << " " << kind << " " << count << ";";
  std::cout << "\n";
  EXPECT_EQ(disagreements, 0);
}

}  // namespace
