#include "dbgrid/criteria_render.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

#include "dbgrid/filter_criteria.h"
#include "platform/core/utf8.h"
#include "platform/db/field.h"

TqlFilterFieldNames FilterFieldNamesOf(const TField& AField) {
  return {AField.Origin(), AField.FieldName(), AField.Lookup(), AField.KeyFields()};
}

std::string FilterExpressionName(const TqlFilterFieldNames& ANames) {
  if (!ANames.Origin.empty()) return ANames.Origin;
  if (ANames.Lookup && !ANames.KeyFields.empty()) return ANames.KeyFields;
  return ANames.FieldName;
}

namespace {

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }

bool isKeyword(std::string_view name) {
  static const char* const keywords[] = {"AND", "OR", "NOT", "LIKE", "IS", "NULL", "TRUE", "FALSE"};
  const std::string upper = AnsiUpperCase(name);
  for (const char* k : keywords)
    if (upper == k) return true;
  return false;
}

bool isIdentifier(std::string_view name) {
  if (name.empty() || !(isAsciiLetter(name[0]) || name[0] == '_')) return false;
  for (char c : name)
    if (!(isAsciiLetter(c) || isAsciiDigit(c) || c == '_')) return false;
  return !isKeyword(name);
}

// The shortest text that reads back to exactly this double.
std::string shortestDouble(double value) {
  if (!std::isfinite(value)) return FloatToStr(value);  // no literal for these
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, end);
}

std::string quoted(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out.push_back('\'');
  for (char c : text) {
    if (c == '\'') out.push_back('\'');
    out.push_back(c);
  }
  out.push_back('\'');
  return out;
}

std::string dateLiteral(TDateTime value) {
  const TDateParts p = DecodeDateTime(value);
  const bool hasTime = p.Hour || p.Minute || p.Second || p.MilliSecond;
  const bool hasDate = std::trunc(value) != 0 || !hasTime;
  char date[24] = "", time[24] = "";
  if (hasDate) std::snprintf(date, sizeof date, "%04d-%02d-%02d", p.Year, p.Month, p.Day);
  if (hasTime) {
    if (p.MilliSecond)
      std::snprintf(time, sizeof time, "%02d:%02d:%02d.%03d", p.Hour, p.Minute, p.Second, p.MilliSecond);
    else
      std::snprintf(time, sizeof time, "%02d:%02d:%02d", p.Hour, p.Minute, p.Second);
  }
  std::string text = hasDate && hasTime ? std::string(date) + " " + time : hasDate ? date : time;
  std::optional<TDateTime> back = TryStrToDateTime(text);
  if (back && *back == value) return quoted(text);
  return shortestDouble(value);  // compared with a date field, a number is a day count
}

struct TextStyle {
  const TqlCriteriaItemText& nameOf;
  bool expression;  // values as literals; else the display texts

  std::string item(const TqlCriteriaItem& it) const {
    std::string s = expression ? FilterFieldReference(nameOf(it)) : nameOf(it);
    s += ' ';
    s += it.Operator().Text();
    if (it.OperatorCode() != kOperatorIsNull) {
      s += ' ';
      s += expression ? FilterLiteral(it.Value()) : it.DisplayText();
    }
    if (it.IsNot()) s = "NOT (" + s + ")";
    return "(" + s + ")";
  }

  // The children joined; empty when no item lies below the list.
  std::string children(const TqlCriteriaItemList& list) const {
    const char* joint = list.BoolOperator() == qboOr ? " OR " : " AND ";
    std::string out;
    for (int i = 0; i < list.Count(); ++i) {
      const TqlCustomCriteriaItem* child = list.Items(i);
      std::string text;
      if (child->IsList()) {
        text = children(static_cast<const TqlCriteriaItemList&>(*child));
        if (text.empty()) continue;
        if (child->IsNot()) text = "NOT (" + text + ")";
        text = "(" + text + ")";
      } else {
        text = item(static_cast<const TqlCriteriaItem&>(*child));
      }
      if (!out.empty()) out += joint;
      out += text;
    }
    return out;
  }

  std::string root(const TqlCriteriaItemList& list) const {
    std::string text = children(list);
    return list.IsNot() && !text.empty() ? "NOT (" + text + ")" : text;
  }
};

}  // namespace

std::string FilterFieldReference(std::string_view AName) {
  if (isIdentifier(AName)) return std::string(AName);
  return "[" + std::string(AName) + "]";
}

std::string FilterLiteral(const Variant& AValue) {
  switch (AValue.VarType()) {
    case varEmpty: case varNull: return "NULL";
    case varString: case varOleStr: return quoted(AValue.StringRef());
    case varDate: return dateLiteral(AValue.AsDouble());
    case varBoolean: return AValue.AsBoolean() ? "True" : "False";
    case varSingle: case varDouble: return shortestDouble(AValue.AsDouble());
    default: return AValue.AsString();  // integer kinds and currency are exact
  }
}

std::string CriteriaExpressionText(const TqlCriteria& ACriteria, const TqlCriteriaItemText& AFieldNameOf) {
  return TextStyle{AFieldNameOf, true}.root(ACriteria.Root());
}

std::string CriteriaDisplayText(const TqlCriteria& ACriteria, const TqlCriteriaItemText& ACaptionOf) {
  return TextStyle{ACaptionOf, false}.root(ACriteria.Root());
}
