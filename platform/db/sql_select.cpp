#include "platform/db/sql_select.h"

#include <cctype>

#include "platform/core/utf8.h"
#include "platform/db/db_error.h"
#include "platform/db/filter_parser.h"

namespace {

void skipBlanks(std::string_view s, size_t& pos) {
  while (pos < s.size() && std::isspace(static_cast<unsigned char>(s[pos]))) ++pos;
}

// Reads the keyword kw (any case) followed by a blank or the end.
bool readKeyword(std::string_view s, size_t& pos, std::string_view kw) {
  skipBlanks(s, pos);
  if (s.size() - pos < kw.size() || AnsiUpperCase(s.substr(pos, kw.size())) != kw) return false;
  size_t end = pos + kw.size();
  if (end < s.size() && !std::isspace(static_cast<unsigned char>(s[end])) && s[end] != '[' &&
      s[end] != '*')
    return false;
  pos = end;
  return true;
}

[[noreturn]] void unsupported(std::string_view sql, const std::string& why) {
  throw EDatabaseError("Unsupported query \"" + std::string(sql) + "\": " + why);
}

}  // namespace

TSelectStatement ParseSelect(std::string_view sql) {
  std::string_view s = sql;
  while (!s.empty() && (std::isspace(static_cast<unsigned char>(s.back())) || s.back() == ';'))
    s.remove_suffix(1);
  size_t pos = 0;
  if (!readKeyword(s, pos, "SELECT")) unsupported(sql, "only SELECT statements are supported");
  skipBlanks(s, pos);
  if (pos >= s.size() || s[pos] != '*') unsupported(sql, "only SELECT * is supported");
  ++pos;
  if (!readKeyword(s, pos, "FROM")) unsupported(sql, "FROM expected");
  skipBlanks(s, pos);
  TSelectStatement st;
  if (pos < s.size() && s[pos] == '[') {
    size_t close = s.find(']', pos);
    if (close == std::string_view::npos) unsupported(sql, "missing ] after the table name");
    st.TableName = std::string(s.substr(pos + 1, close - pos - 1));
    pos = close + 1;
  } else {
    size_t start = pos;
    while (pos < s.size() && !std::isspace(static_cast<unsigned char>(s[pos]))) ++pos;
    st.TableName = std::string(s.substr(start, pos - start));
  }
  if (st.TableName.empty()) unsupported(sql, "table name expected");
  skipBlanks(s, pos);
  if (pos == s.size()) return st;
  if (!readKeyword(s, pos, "WHERE")) unsupported(sql, "WHERE expected after the table name");
  st.Where = ParseFilterExpression(s.substr(pos), TExprParseOptions{.AllowParameters = true});
  for (const TExprOperand* p : CollectParameters(*st.Where)) st.Parameters.push_back(p->Name);
  return st;
}

std::vector<std::string> ScanParameterMarkers(std::string_view sql) {
  std::vector<std::string> names;
  char quote = 0;
  for (size_t i = 0; i < sql.size(); ++i) {
    char c = sql[i];
    if (quote) {
      if (c == quote) quote = 0;  // a doubled quote reopens at once: same result
      continue;
    }
    if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == '[') {
      size_t close = sql.find(']', i);
      if (close == std::string_view::npos) break;
      i = close;
    } else if (c == ':' && i + 1 < sql.size()) {
      size_t j = i + 1;
      auto identChar = [](unsigned char ch) { return std::isalnum(ch) || ch == '_' || ch >= 0x80; };
      if (std::isdigit(static_cast<unsigned char>(sql[j])) || !identChar(sql[j])) continue;
      while (j < sql.size() && identChar(static_cast<unsigned char>(sql[j]))) ++j;
      names.emplace_back(sql.substr(i + 1, j - i - 1));
      i = j - 1;
    }
  }
  return names;
}
