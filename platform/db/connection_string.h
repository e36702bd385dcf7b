#pragma once
// OLE DB connection strings: "Key=Value;Key=Value;...". Keys ignore case and surrounding
// blanks; a value may be quoted with " or ' (a doubled quote stands for one), so Password=""
// is an empty value.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using TConnectionElements = std::vector<std::pair<std::string, std::string>>;

// Raises EDatabaseError for an element without "=" or an unterminated quote.
TConnectionElements ParseConnectionString(std::string_view text);
// The value of the first element named key, or nullopt.
std::optional<std::string> ConnectionElement(const TConnectionElements& elements,
                                             std::string_view key);
