#pragma once
// The two texts of a criteria tree, made by one walk:
//   - the expression form, for the data set's Filter and OnFilterChanged: names of fields,
//     values as literals that the record-set layer's filter parser reads back to the same
//     value (filter_ast.h);
//   - the display form, for the filter status panel: column captions and the items' display
//     texts, as they are.
//
// The walk:
//   list   its children's texts joined by " AND " / " OR "; a child list is "(" text ")",
//          a negated list "NOT (" text ")" inside that; a list without items below it adds
//          nothing (it is left out, as evaluation leaves it out);
//   item   "name op" and, for every operator but "Is Null", " value"; a negated item is
//          "NOT (" … ")"; the item is then wrapped in "(" … ")".
// Example: (PY = 'FR') AND ((NOT (TID = 3)) OR (ENAME Is Null))
//
// Literals of the expression form:
//   string   in single quotes, a quote inside written twice ('O''Brien'), every other
//            character as it is (so '%', '*', '_' and control characters stay literal for =)
//   date     in single quotes, "yyyy-mm-dd", "yyyy-mm-dd hh:nn:ss[.zzz]" or "hh:nn:ss[.zzz]";
//            a value that text cannot give back exactly (a fraction finer than a millisecond,
//            a year beyond 1..9999) is written as its number of days, which the filter also
//            compares as a date
//   number   the shortest decimal form that reads back to the same double ("0.1", "1e+20");
//            integers and currency exactly; never a locale's decimal comma
//   boolean  True / False;   null or empty: NULL
// A name that is not an identifier (letters, digits, '_', not starting with a digit, not a
// keyword of the filter language) is put in brackets: [ENAME], [中文名], [Order Date].
#include <functional>
#include <string>
#include <string_view>

#include "platform/core/variant.h"

class TField;
class TqlCriteria;
class TqlCriteriaItem;

// What decides a bound field's name in a filter expression.
struct TqlFilterFieldNames {
  std::string Origin;     // empty when not set
  std::string FieldName;
  bool Lookup = false;    // a lookup field filters by its key field
  std::string KeyFields;
};
TqlFilterFieldNames FilterFieldNamesOf(const TField& AField);
// Origin when set, else the key field of a lookup field, else the field name.
std::string FilterExpressionName(const TqlFilterFieldNames& ANames);

// AName as the filter language reads it: as it is, or in brackets.
std::string FilterFieldReference(std::string_view AName);
// AValue as a literal of the filter language (see above).
std::string FilterLiteral(const Variant& AValue);

// A text for each item: its field's expression name, or its column's caption.
using TqlCriteriaItemText = std::function<std::string(const TqlCriteriaItem& AItem)>;

std::string CriteriaExpressionText(const TqlCriteria& ACriteria, const TqlCriteriaItemText& AFieldNameOf);
std::string CriteriaDisplayText(const TqlCriteria& ACriteria, const TqlCriteriaItemText& ACaptionOf);
