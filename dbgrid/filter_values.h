#pragma once
// TqlDBGridFilterValues: the distinct values offered by a column's filter drop-down, each
// with the text shown for it.
//
// Order and identity: ascending by value, where an empty variant comes before everything and
// other values compare as variants, a comparison that fails counting as "less"; two entries
// never have equal values (the first one added stays, with its text). Case-insensitive
// lists upper-case string values and their texts before anything else, so "abc" and "ABC"
// are one entry shown as "ABC".
// Limit: once MaxDropDownCount entries are held (when it is above 0), further values are
// dropped, so the entries are the first distinct values met.
// Blanks: AddValue takes null, empty and empty-string values only as a note that blanks exist.
//
// Costs: filling the list meets every node's value, mostly values already there. Entries
// live in a deque (their addresses never move); a vector of slots, sorted by value, holds
// each entry's address with its value's comparison class and number, so one add is a binary
// search over that vector that compares two values of the same class inline (integers,
// currency, floats, dates, text) and only mixed classes through VarCompare; a text already
// held (or met before, as it was given, in a case-insensitive list) is found in a hash set
// without upper-casing or searching. A value already present
// costs no allocation (upper-casing goes to a reused buffer); a new one costs one entry and
// one slot insertion.
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "platform/core/variant.h"

class TqlDBGridFilterValues {
 public:
  bool CaseInsensitive() const { return caseInsensitive_; }
  void SetCaseInsensitive(bool AValue) { caseInsensitive_ = AValue; }
  int MaxDropDownCount() const { return maxDropDownCount_; }  // 0 or less: no limit
  void SetMaxDropDownCount(int AValue) { maxDropDownCount_ = AValue; }
  bool BlanksExist() const { return blanksExist_; }

  // Forgets the entries and the blanks note (the settings stay).
  void Clear();
  // One value met while filling the drop-down: a blank notes BlanksExist, others go to Add.
  void AddValue(const Variant& AValue, std::string_view AText);
  // Adds the value unless an equal one is there or the list is full; true when added.
  bool Add(const Variant& AValue, std::string_view AText);

  int Count() const { return int(sorted_.size()); }
  // By position in value order.
  const std::string& Strings(int AIndex) const { return sorted_[AIndex].entry->text; }
  const Variant& Values(int AIndex) const { return sorted_[AIndex].entry->value; }
  // Position of the entry whose value equals AValue (after upper-casing when the list is
  // case-insensitive); -1 when there is none.
  int IndexOfValue(const Variant& AValue) const;

  // The three-way comparison that orders the entries.
  static int CompareValues(const Variant& A, const Variant& B);

 private:
  struct Entry {
    Variant value;
    std::string text;
  };
  // A value reduced for comparing: its class and its number (text is read from the entry).
  struct Key {
    uint8_t cls = 0;
    union {
      int64_t i = 0;  // integer kinds and boolean; currency scaled
      double d;       // floats, dates
    };
  };
  struct Slot {
    const Entry* entry;  // into entries_
    Key key;
  };
  // The value being looked for, upper-cased as the list needs it.
  struct Probe;

  Probe probe(const Variant& AValue) const;
  // Position where the probe's value is or would go; found tells which.
  int search(const Probe& AProbe, bool& found) const;

  std::deque<Entry> entries_;  // in the order they were added; addresses stable
  std::vector<Slot> sorted_;   // ascending by value, no two equal
  // The string values held, and the texts met whose upper-cased form is held (views into
  // entries_ and aliases_): a text found here is a value already held.
  std::unordered_set<std::string_view> knownTexts_;
  std::deque<std::string> aliases_;  // case-insensitive lists: texts met before upper-casing
  mutable std::string upper_;  // scratch for upper-casing a probed string
  static constexpr uint8_t kMixedClasses = 0xFF;
  uint8_t uniformClass_ = kMixedClasses;  // the class of every slot, or kMixedClasses (also when empty)
  bool caseInsensitive_ = false;
  int maxDropDownCount_ = 1000;
  bool blanksExist_ = false;
};
