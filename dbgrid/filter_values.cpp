#include "dbgrid/filter_values.h"

#include <optional>

#include "platform/core/utf8_case.h"

namespace {

// Comparison classes: two values of one class (but clsOther) compare inline exactly as
// VarCompare would; any other pair goes through CompareValues.
enum : uint8_t { clsEmpty, clsNull, clsInteger, clsCurrency, clsFloat, clsDate, clsString, clsOther };

template <typename T> int cmp3(T a, T b) { return a < b ? -1 : a > b ? 1 : 0; }

}  // namespace

struct TqlDBGridFilterValues::Probe {
  const Variant& value;           // as given
  Key key;
  std::string_view text;          // string classes: the (upper-cased) text compared
  bool upperCased = false;        // text is not value's own string
  mutable std::optional<Variant> upperValue;  // made only when a mixed comparison needs it

  const Variant& comparable() const {
    if (!upperCased) return value;
    if (!upperValue) upperValue = Variant(std::string(text));
    return *upperValue;
  }
};

int TqlDBGridFilterValues::CompareValues(const Variant& A, const Variant& B) {
  if (A.IsEmpty()) return B.IsEmpty() ? 0 : -1;
  if (B.IsEmpty()) return 1;
  return VarCompareOrLess(A, B);
}

void TqlDBGridFilterValues::Clear() {
  sorted_.clear();
  entries_.clear();
  knownTexts_.clear();
  aliases_.clear();
  uniformClass_ = kMixedClasses;
  blanksExist_ = false;
}

void TqlDBGridFilterValues::AddValue(const Variant& AValue, std::string_view AText) {
  if (AValue.IsClear() || (AValue.IsString() && AValue.StringRef().empty())) {
    blanksExist_ = true;
    return;
  }
  Add(AValue, AText);
}

TqlDBGridFilterValues::Probe TqlDBGridFilterValues::probe(const Variant& AValue) const {
  Probe p{AValue, {}, {}, false, std::nullopt};
  switch (AValue.VarType()) {
    case varEmpty: p.key.cls = clsEmpty; break;
    case varNull: p.key.cls = clsNull; break;
    case varShortInt: case varSmallint: case varInteger: case varInt64: case varByte:
    case varWord: case varLongWord: case varBoolean:
      p.key.cls = clsInteger;
      p.key.i = AValue.AsInt64();
      break;
    case varCurrency:
      p.key.cls = clsCurrency;
      p.key.i = AValue.AsCurrencyScaled();
      break;
    case varSingle: case varDouble:
      p.key.cls = clsFloat;
      p.key.d = AValue.AsDouble();
      break;
    case varDate:
      p.key.cls = clsDate;
      p.key.d = AValue.AsDouble();
      break;
    case varString: case varOleStr:
      p.key.cls = clsString;
      p.text = AValue.StringRef();
      if (caseInsensitive_ && !IsUtf8UpperCaseInvariant(p.text)) {
        upper_.clear();
        AppendUtf8UpperCase(p.text, upper_);
        p.text = upper_;
        p.upperCased = true;
      }
      break;
    default: p.key.cls = clsOther; break;
  }
  return p;
}

namespace {

// The binary search, hand-written so that it stays in bounds even when the comparison is
// inconsistent (values of kinds that cannot be compared each count as less than the other).
// compare(slot) is the probe's value against the slot's: -1, 0 or 1.
template <typename Slots, typename Compare>
int binarySearch(const Slots& slots, Compare compare, bool& found) {
  size_t lo = 0, hi = slots.size();
  found = false;
  while (lo < hi) {
    const size_t mid = lo + (hi - lo) / 2;
    const int c = compare(slots[mid]);
    if (c == 0) {
      found = true;
      return int(mid);
    }
    if (c < 0)
      hi = mid;
    else
      lo = mid + 1;
  }
  return int(lo);
}

}  // namespace

int TqlDBGridFilterValues::search(const Probe& AProbe, bool& found) const {
  const Key& key = AProbe.key;
  // A column's values are mostly of one class: then one loop without a class test.
  if (key.cls == uniformClass_) {
    switch (key.cls) {
      case clsInteger: case clsCurrency:
        return binarySearch(sorted_, [&](const Slot& s) { return cmp3(key.i, s.key.i); }, found);
      case clsFloat:
        return binarySearch(sorted_, [&](const Slot& s) { return cmp3(key.d, s.key.d); }, found);
      case clsString:
        return binarySearch(sorted_, [&](const Slot& s) {
          const int r = AProbe.text.compare(s.entry->value.StringRef());
          return r < 0 ? -1 : r > 0 ? 1 : 0;
        }, found);
      default: break;
    }
  }
  return binarySearch(sorted_, [&](const Slot& s) {
    if (s.key.cls != key.cls || key.cls == clsOther) return CompareValues(AProbe.comparable(), s.entry->value);
    switch (key.cls) {
      case clsInteger: case clsCurrency: return cmp3(key.i, s.key.i);
      case clsFloat: return cmp3(key.d, s.key.d);
      case clsDate: {
        const double diff = key.d - s.key.d;  // as VarCompare: the sign of the difference
        return diff < 0 ? -1 : diff > 0 ? 1 : 0;
      }
      case clsString: {
        const int r = AProbe.text.compare(s.entry->value.StringRef());
        return r < 0 ? -1 : r > 0 ? 1 : 0;
      }
      default: return 0;  // two empties or two nulls
    }
  }, found);
}

bool TqlDBGridFilterValues::Add(const Variant& AValue, std::string_view AText) {
  if (maxDropDownCount_ > 0 && Count() >= maxDropDownCount_) return false;
  // A text held already is the same value, found without searching. The held texts are
  // upper-cased in a case-insensitive list, and upper-casing a held text gives it back, so
  // the text as given is tried first, then (when it changes) its upper-cased form.
  if (AValue.IsString() && knownTexts_.contains(AValue.StringRef())) return false;
  const Probe p = probe(AValue);
  // Remembers a text whose upper-cased form is held, so that it is found at once next time.
  auto noteAlias = [&] {
    if (!p.upperCased) return;
    knownTexts_.insert(aliases_.emplace_back(AValue.StringRef()));
  };
  if (p.upperCased && knownTexts_.contains(p.text)) {
    noteAlias();
    return false;
  }
  bool found;
  const int position = search(p, found);
  if (found) {
    noteAlias();
    return false;
  }
  Entry entry;
  if (p.key.cls == clsString && caseInsensitive_) {
    entry.value = AValue.VarType() == varOleStr ? Variant::OleStr(std::string(p.text)) : Variant(p.text);
    entry.text = Utf8UpperCase(AText);
  } else {
    entry.value = AValue;
    entry.text = AText;
  }
  entries_.push_back(std::move(entry));
  if (p.key.cls == clsString) knownTexts_.insert(entries_.back().value.StringRef());
  noteAlias();
  if (sorted_.empty())
    uniformClass_ = p.key.cls;
  else if (uniformClass_ != p.key.cls)
    uniformClass_ = kMixedClasses;
  sorted_.insert(sorted_.begin() + position, Slot{&entries_.back(), p.key});
  return true;
}

int TqlDBGridFilterValues::IndexOfValue(const Variant& AValue) const {
  bool found;
  const int position = search(probe(AValue), found);
  return found ? position : -1;
}
