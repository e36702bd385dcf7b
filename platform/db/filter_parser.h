#pragma once
// Parses filter expressions and query conditions (grammar in filter_ast.h). Raises
// EDatabaseError naming the expression and what is wrong at which position.
#include <string_view>
#include <vector>

#include "platform/db/filter_ast.h"

struct TExprParseOptions {
  bool AllowParameters = false;  // query conditions: ":name" operands
};

TExprPtr ParseFilterExpression(std::string_view text, TExprParseOptions options = {});

// Parameter operands in the order they appear in the text (a name may repeat).
std::vector<const TExprOperand*> CollectParameters(const TExprNode& root);
