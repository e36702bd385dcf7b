#pragma once
// TBoundExpression: a parsed filter or query condition resolved against one snapshot, ready
// to select rows.
//
// Semantics:
//   - Field names match columns without regard to case; an unknown name raises.
//   - A literal that meets a field takes the field's kind ('0100' stays text for a text
//     column; '2020-01-02' becomes a date for a date column); one that cannot raises. A
//     number meeting a numeric field keeps its value (NUM <= 1.5 on integers is not <= 2).
//   - Comparisons of text are byte-wise (code point order) and case-sensitive; LIKE ignores
//     case (like_pattern.h).
//   - Logic is three-valued: a comparison with null is unknown, NOT unknown is unknown, and
//     only rows for which the whole expression is true pass. So a null never equals, differs
//     from, or is LIKE anything.
//   - IS NULL holds for null and for empty text (both show as blank).
//   - A tree deeper than kMaxFilterTreeDepth (only a tree built in code can be) raises.
//
// Selection plan: equality with a text literal and prefix LIKE ('X*') on text columns are
// answered from the column's sorted index (binary search, then only the matching rows), AND
// filters the indexed side's rows by the other side, OR unites two indexed sides; anything
// else scans the base rows.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/db/filter_ast.h"
#include "platform/db/table_snapshot.h"

class TLikePattern;

class TBoundExpression {
 public:
  // parameterValues: one value per parameter operand, in order of appearance.
  TBoundExpression(const TExprNode& root, TSnapshotPtr snapshot,
                   const std::vector<Variant>& parameterValues = {});
  ~TBoundExpression();

  // The rows of baseRows (ascending rowIndexes) for which the expression is true, ascending.
  std::vector<uint32_t> Select(const std::vector<uint32_t>& baseRows) const;
  // The same over every row of the snapshot, without listing them first: an indexed
  // condition costs in proportion to its result, not to the table.
  std::vector<uint32_t> SelectAll() const;
  // Whether the expression is true for one row.
  bool Test(uint32_t rowIndex) const;

 private:
  enum Tri : uint8_t { kFalse = 0, kTrue = 1, kUnknown = 2 };
  struct Operand {
    int column = -1;      // snapshot column, or -1 for a value
    bool text = false;    // compare as text (a text column, or a value meeting one)
    Variant value;        // value operand (already coerced)
    std::string textValue;  // value operand as text when text is set
  };
  struct Node {
    TExprKind kind = TExprKind::Compare;
    TCompareOp op = TCompareOp::Equal;
    bool negated = false;
    std::vector<int> operands;  // And, Or: the operands' node indexes; Not: one
    Operand a, b;
    std::unique_ptr<TLikePattern> like;
  };

  int bind(const TExprNode& n, const std::vector<Variant>& params, size_t& nextParam, int depth);
  Operand bindOperand(const TExprOperand& o, const std::vector<Variant>& params,
                      size_t& nextParam);
  void coerce(Operand& value, const Operand& other);
  Tri eval(int node, uint32_t rowIndex) const;
  Tri compare(const Node& n, uint32_t rowIndex) const;
  std::optional<std::vector<uint32_t>> plan(int node) const;

  TSnapshotPtr snapshot_;
  std::vector<Node> nodes_;  // nodes_[root_] is the root
  int root_ = -1;
};

// Ascending rowIndexes 0..rowCount-1.
std::vector<uint32_t> AllRows(uint32_t rowCount);
