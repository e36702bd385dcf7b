#include "platform/core/variant.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

enum class Kind { clear, integer, currency, floating, date, boolean, string };

Kind kindOf(TVarType t) {
  switch (t) {
    case varEmpty: case varNull: return Kind::clear;
    case varShortInt: case varSmallint: case varInteger: case varInt64:
    case varByte: case varWord: case varLongWord: return Kind::integer;
    case varCurrency: return Kind::currency;
    case varSingle: case varDouble: return Kind::floating;
    case varDate: return Kind::date;
    case varBoolean: return Kind::boolean;
    case varString: case varOleStr: return Kind::string;
  }
  return Kind::clear;
}

[[noreturn]] void cannotConvert(TVarType from, TVarType to) {
  throw EVariantError(std::string("Could not convert variant of type (") + VarTypeName(from) +
                      ") into type (" + VarTypeName(to) + ")");
}

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

int sign(double d) { return d < 0 ? -1 : d > 0 ? 1 : 0; }
template <typename T> int cmp3(T a, T b) { return a < b ? -1 : a > b ? 1 : 0; }

}  // namespace

const char* VarTypeName(TVarType t) {
  switch (t) {
    case varEmpty: return "Empty";
    case varNull: return "Null";
    case varSmallint: return "Smallint";
    case varInteger: return "Integer";
    case varSingle: return "Single";
    case varDouble: return "Double";
    case varCurrency: return "Currency";
    case varDate: return "Date";
    case varOleStr: return "OleStr";
    case varBoolean: return "Boolean";
    case varShortInt: return "ShortInt";
    case varByte: return "Byte";
    case varWord: return "Word";
    case varLongWord: return "LongWord";
    case varInt64: return "Int64";
    case varString: return "String";
  }
  return "Unknown";
}

std::string FloatToStr(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15G", value);
  // "1.5E+20" -> "1.5E20", "1E-05" -> "1E-5": the exponent without padding or plus sign.
  std::string s(buf);
  size_t e = s.find('E');
  if (e != std::string::npos) {
    std::string mant = s.substr(0, e);
    int exp = std::atoi(s.c_str() + e + 1);
    s = mant + "E" + std::to_string(exp);
  }
  return s;
}

bool TryStrToFloat(std::string_view text, double& out) {
  text = trimBlanks(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && ptr == text.data() + text.size();
}

Variant Variant::Currency(double value) {
  return CurrencyScaled(std::llround(value * 10000.0));
}

bool Variant::IsOrdinal() const {
  Kind k = kindOf(type_);
  return k == Kind::integer || k == Kind::boolean;
}

bool Variant::IsNumeric() const {
  Kind k = kindOf(type_);
  return k == Kind::integer || k == Kind::floating || k == Kind::currency;
}

std::string Variant::AsString() const {
  switch (kindOf(type_)) {
    case Kind::clear: return std::string();
    case Kind::integer: return std::to_string(int_);
    case Kind::boolean: return int_ ? "True" : "False";
    case Kind::floating: return FloatToStr(double_);
    case Kind::date: return DateTimeToStr(double_);
    case Kind::string: return string_;
    case Kind::currency: {
      int64_t whole = int_ / 10000, frac = std::llabs(int_ % 10000);
      std::string s = (int_ < 0 && whole == 0 ? "-" : "") + std::to_string(whole);
      if (frac) {
        char buf[8];
        std::snprintf(buf, sizeof buf, ".%04lld", (long long)frac);
        std::string f(buf);
        while (f.back() == '0') f.pop_back();
        s += f;
      }
      return s;
    }
  }
  return std::string();
}

double Variant::AsDouble() const {
  switch (kindOf(type_)) {
    case Kind::integer: case Kind::boolean: return double(int_);
    case Kind::currency: return double(int_) / 10000.0;
    case Kind::floating: case Kind::date: return double_;
    case Kind::string: {
      double d;
      if (TryStrToFloat(string_, d)) return d;
      throw EVariantError("'" + string_ + "' is not a valid floating point value");
    }
    case Kind::clear: break;
  }
  cannotConvert(type_, varDouble);
}

int64_t Variant::AsInt64() const {
  switch (kindOf(type_)) {
    case Kind::integer: case Kind::boolean: return int_;
    case Kind::currency: case Kind::floating: case Kind::date: {
      double d = AsDouble();
      if (!(d > -9.2e18 && d < 9.2e18)) cannotConvert(type_, varInt64);
      return (int64_t)std::nearbyint(d);  // round half to even, as the automation variant does
    }
    case Kind::string: {
      std::string_view t = trimBlanks(string_);
      if (!t.empty() && t.front() == '+') t.remove_prefix(1);
      int64_t v;
      auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
      if (!t.empty() && ec == std::errc() && ptr == t.data() + t.size()) return v;
      throw EVariantError("'" + string_ + "' is not a valid integer value");
    }
    case Kind::clear: break;
  }
  cannotConvert(type_, varInt64);
}

int Variant::AsInteger() const {
  int64_t v = AsInt64();
  if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
    cannotConvert(type_, varInteger);
  return int(v);
}

bool Variant::AsBoolean() const {
  switch (kindOf(type_)) {
    case Kind::integer: case Kind::boolean: case Kind::currency: return int_ != 0;
    case Kind::floating: case Kind::date: return double_ != 0;
    case Kind::string: {
      std::string_view t = trimBlanks(string_);
      if (t.size() == 4 && (t[0] | 0x20) == 't' && (t[1] | 0x20) == 'r' && (t[2] | 0x20) == 'u' &&
          (t[3] | 0x20) == 'e')
        return true;
      if (t.size() == 5 && (t[0] | 0x20) == 'f' && (t[1] | 0x20) == 'a' && (t[2] | 0x20) == 'l' &&
          (t[3] | 0x20) == 's' && (t[4] | 0x20) == 'e')
        return false;
      double d;
      if (TryStrToFloat(t, d)) return d != 0;
      throw EVariantError("'" + string_ + "' is not a valid boolean value");
    }
    case Kind::clear: break;
  }
  cannotConvert(type_, varBoolean);
}

TDateTime Variant::AsDate() const {
  if (kindOf(type_) == Kind::string) {
    if (auto d = TryStrToDateTime(string_)) return *d;
    throw EVariantError("'" + string_ + "' is not a valid date");
  }
  if (kindOf(type_) == Kind::boolean) cannotConvert(type_, varDate);
  return AsDouble();
}

int64_t Variant::AsCurrencyScaled() const {
  if (type_ == varCurrency) return int_;
  if (kindOf(type_) == Kind::integer) return int_ * 10000;
  return std::llround(AsDouble() * 10000.0);
}

Variant Variant::ChangeType(TVarType to) const {
  if (to == type_) return *this;
  if (to == varEmpty) return Variant();
  if (to == varNull) return Null();
  if (IsClear()) cannotConvert(type_, to);
  switch (to) {
    case varString: return Variant(AsString());
    case varOleStr: return OleStr(AsString());
    case varBoolean: return Variant(AsBoolean());
    case varDouble: return Variant(AsDouble());
    case varSingle: return Single(float(AsDouble()));
    case varCurrency: return CurrencyScaled(AsCurrencyScaled());
    case varDate: return Date(AsDate());
    case varInt64: return Variant(AsInt64());
    case varInteger: return Variant(AsInteger());
    case varSmallint: case varShortInt: case varByte: case varWord: case varLongWord: {
      int64_t v = AsInt64();
      bool fits = (to == varSmallint && v >= INT16_MIN && v <= INT16_MAX) ||
                  (to == varShortInt && v >= INT8_MIN && v <= INT8_MAX) ||
                  (to == varByte && v >= 0 && v <= UINT8_MAX) ||
                  (to == varWord && v >= 0 && v <= UINT16_MAX) ||
                  (to == varLongWord && v >= 0 && v <= UINT32_MAX);
      if (!fits) cannotConvert(type_, to);
      return ofInt(to, v);
    }
    default: break;
  }
  cannotConvert(type_, to);
}

int VarCompare(const Variant& a, const Variant& b) {
  Kind ka = kindOf(a.VarType()), kb = kindOf(b.VarType());
  // Empty first, then null, then values.
  if (ka == Kind::clear || kb == Kind::clear) {
    int ra = ka != Kind::clear ? 2 : a.IsNull() ? 1 : 0;
    int rb = kb != Kind::clear ? 2 : b.IsNull() ? 1 : 0;
    return cmp3(ra, rb);
  }
  if (ka == Kind::string && kb == Kind::string) {
    int c = a.StringRef().compare(b.StringRef());  // char_traits<char> compares as unsigned
    return c < 0 ? -1 : c > 0 ? 1 : 0;
  }
  // A date meets a string or a number: compare as dates (days).
  if (ka == Kind::date || kb == Kind::date) return sign(a.AsDate() - b.AsDate());
  bool aInt = ka == Kind::integer || ka == Kind::boolean;
  bool bInt = kb == Kind::integer || kb == Kind::boolean;
  if (aInt && bInt) return cmp3(a.AsInt64(), b.AsInt64());
  if ((ka == Kind::currency || aInt) && (kb == Kind::currency || bInt))
    return cmp3(a.AsCurrencyScaled(), b.AsCurrencyScaled());
  double da = a.AsDouble(), db = b.AsDouble();  // a string side converts here (or raises)
  return cmp3(da, db);
}

int VarCompareOrLess(const Variant& a, const Variant& b) {
  try {
    return VarCompare(a, b);
  } catch (const EVariantError&) {
    return -1;
  }
}

bool operator==(const Variant& a, const Variant& b) {
  try {
    return VarCompare(a, b) == 0;
  } catch (const EVariantError&) {
    return false;
  }
}

bool operator<(const Variant& a, const Variant& b) { return VarCompare(a, b) < 0; }
