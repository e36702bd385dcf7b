#pragma once
// The parsed form of a filter expression or a query's WHERE condition.
//
// Grammar (keywords and field names ignore case):
//   expr       := term { OR term }
//   term       := factor { AND factor }
//   factor     := NOT factor | '(' expr ')' | predicate
//   predicate  := operand ( cmp operand | [NOT] LIKE operand | IS [NOT] NULL )
//   cmp        := = | <> | != | < | > | <= | >=
//   operand    := field | 'text' | number | #date# | TRUE | FALSE | NULL | :parameter
//   field      := identifier | [any text but ]]
// A quote inside a text literal is written twice ('O''Brien'). Parameters (":SID1") are only
// accepted in query conditions.
//
// Depth: a chain of ANDs or ORs is one node with all its operands, so its length costs no
// depth; parentheses and NOTs nest, at most kMaxFilterNesting deep (the parser refuses deeper
// text with an error, so nothing that walks the tree can run out of stack).
#include <memory>
#include <string>
#include <vector>

#include "platform/core/variant.h"

enum class TExprKind { And, Or, Not, Compare, Like, IsNull };
enum class TCompareOp { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual };
enum class TOperandKind { Field, Literal, Parameter };

struct TExprOperand {
  TOperandKind Kind = TOperandKind::Literal;
  std::string Name;  // field or parameter name as written (brackets removed)
  Variant Value;     // literal value (string, number, date, boolean or null)
  size_t Position = 0;  // character offset in the text, for messages
};

// Parentheses and NOTs inside each other, at most.
constexpr int kMaxFilterNesting = 256;
// Tree levels that nesting can make: each nesting level adds at most an OR, an AND and a NOT
// (or a parenthesis) node, and a predicate ends the path.
constexpr int kMaxFilterTreeDepth = 3 * kMaxFilterNesting + 4;

struct TExprNode {
  TExprKind Kind = TExprKind::Compare;
  std::vector<std::unique_ptr<TExprNode>> Operands;  // And, Or: two or more; Not: one
  TCompareOp Op = TCompareOp::Equal;       // Compare
  bool Negated = false;                    // Like: NOT LIKE; IsNull: IS NOT NULL
  TExprOperand A, B;                       // Compare, Like: A op B; IsNull: A
};

using TExprPtr = std::unique_ptr<TExprNode>;
