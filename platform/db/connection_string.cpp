#include "platform/db/connection_string.h"

#include "platform/core/utf8.h"
#include "platform/db/db_error.h"

namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

TConnectionElements ParseConnectionString(std::string_view text) {
  TConnectionElements out;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t eq = text.find('=', pos);
    size_t semi = text.find(';', pos);
    if (semi != std::string_view::npos && (eq == std::string_view::npos || semi < eq)) {
      if (!trim(text.substr(pos, semi - pos)).empty())
        throw EDatabaseError("Connection string element \"" +
                             std::string(trim(text.substr(pos, semi - pos))) + "\" has no value");
      pos = semi + 1;  // empty element
      continue;
    }
    if (eq == std::string_view::npos) {
      if (!trim(text.substr(pos)).empty())
        throw EDatabaseError("Connection string element \"" + std::string(trim(text.substr(pos))) +
                             "\" has no value");
      break;
    }
    std::string key(trim(text.substr(pos, eq - pos)));
    pos = eq + 1;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    std::string value;
    if (pos < text.size() && (text[pos] == '"' || text[pos] == '\'')) {
      char quote = text[pos++];
      for (;;) {
        if (pos >= text.size())
          throw EDatabaseError("Connection string value of \"" + key + "\" lacks its closing quote");
        if (text[pos] == quote) {
          if (pos + 1 < text.size() && text[pos + 1] == quote) {
            value.push_back(quote);
            pos += 2;
            continue;
          }
          ++pos;
          break;
        }
        value.push_back(text[pos++]);
      }
      size_t next = text.find(';', pos);
      pos = next == std::string_view::npos ? text.size() : next + 1;
    } else {
      size_t next = text.find(';', pos);
      size_t end = next == std::string_view::npos ? text.size() : next;
      value = std::string(trim(text.substr(pos, end - pos)));
      pos = next == std::string_view::npos ? text.size() : next + 1;
    }
    out.emplace_back(std::move(key), std::move(value));
  }
  return out;
}

std::optional<std::string> ConnectionElement(const TConnectionElements& elements,
                                             std::string_view key) {
  std::string wanted = AnsiUpperCase(key);
  for (const auto& [k, v] : elements)
    if (AnsiUpperCase(k) == wanted) return v;
  return std::nullopt;
}
