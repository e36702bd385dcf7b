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
#include <memory>
#include <string>

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

struct TExprNode {
  TExprKind Kind = TExprKind::Compare;
  std::unique_ptr<TExprNode> Left, Right;  // And, Or: both; Not: Left
  TCompareOp Op = TCompareOp::Equal;       // Compare
  bool Negated = false;                    // Like: NOT LIKE; IsNull: IS NOT NULL
  TExprOperand A, B;                       // Compare, Like: A op B; IsNull: A
};

using TExprPtr = std::unique_ptr<TExprNode>;
