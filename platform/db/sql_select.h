#pragma once
// The query text the record sets understand: SELECT * FROM table [WHERE condition], with the
// condition in the filter grammar (filter_ast.h) plus positional ":name" parameters. Keywords
// ignore case; lines are joined with blanks; a trailing ";" is allowed.
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/filter_ast.h"

struct TSelectStatement {
  std::string TableName;
  TExprPtr Where;                       // null without WHERE
  std::vector<std::string> Parameters;  // parameter names in marker order (names may repeat)
};

// Raises EDatabaseError for any other statement.
TSelectStatement ParseSelect(std::string_view sql);

// Names of the ":name" markers outside quotes, in order, without parsing the statement (a
// query lists its parameters as soon as its text is set).
std::vector<std::string> ScanParameterMarkers(std::string_view sql);
