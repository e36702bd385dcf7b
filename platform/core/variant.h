#pragma once
// Variant: the one tagged value of the system (field values, key, group and filter values).
//
// Kinds (VarType codes as the automation variant numbers them):
//   varEmpty     unassigned                      varNull      a database null
//   varShortInt  int8   varSmallint int16        varInteger   int32   varInt64  int64
//   varByte      uint8  varWord     uint16       varLongWord  uint32
//   varSingle    float  varDouble   double       varCurrency  int64 in units of 1/10000
//   varDate      TDateTime (days since 1899-12-30)
//   varBoolean   bool
//   varString, varOleStr  text, both held as UTF-8 (varOleStr only remembers that the value
//                         came as a wide string, for stream forms that care)
//
// Ordering (VarCompare): empty < null < every other value. Numbers compare numerically,
// dates chronologically, booleans as integers (false 0, true 1), strings byte by byte
// (UTF-8, so by code point), case-sensitively, the shorter first when one is a prefix of the
// other. A string meets a number or date by converting the string; when that fails the
// comparison raises EVariantError, which callers that must not fail count as "less".
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/core/date_time.h"
#include "platform/core/exception.h"

enum TVarType : uint16_t {
  varEmpty = 0x0000,
  varNull = 0x0001,
  varSmallint = 0x0002,
  varInteger = 0x0003,
  varSingle = 0x0004,
  varDouble = 0x0005,
  varCurrency = 0x0006,
  varDate = 0x0007,
  varOleStr = 0x0008,
  varBoolean = 0x000B,
  varShortInt = 0x0010,
  varByte = 0x0011,
  varWord = 0x0012,
  varLongWord = 0x0013,
  varInt64 = 0x0014,
  varString = 0x0100,
};

// A conversion or comparison the variant cannot make.
class EVariantError : public Exception {
 public:
  using Exception::Exception;
};

class Variant {
 public:
  Variant() = default;  // empty
  Variant(int v) : type_(varInteger), int_(v) {}
  Variant(int64_t v) : type_(varInt64), int_(v) {}
  Variant(double v) : type_(varDouble), double_(v) {}
  Variant(bool v) : type_(varBoolean), int_(v ? 1 : 0) {}
  Variant(const char* v) : type_(varString), string_(v) {}
  Variant(std::string v) : type_(varString), string_(std::move(v)) {}
  Variant(std::string_view v) : type_(varString), string_(v) {}

  static Variant Null() { Variant v; v.type_ = varNull; return v; }
  static Variant ShortInt(int8_t v) { return ofInt(varShortInt, v); }
  static Variant Smallint(int16_t v) { return ofInt(varSmallint, v); }
  static Variant Byte(uint8_t v) { return ofInt(varByte, v); }
  static Variant Word(uint16_t v) { return ofInt(varWord, v); }
  static Variant LongWord(uint32_t v) { return ofInt(varLongWord, v); }
  static Variant Single(float v) { Variant r{double(v)}; r.type_ = varSingle; return r; }
  // Currency from its scaled form (units of 1/10000).
  static Variant CurrencyScaled(int64_t scaled) { return ofInt(varCurrency, scaled); }
  static Variant Currency(double value);
  static Variant Date(TDateTime v) { Variant r(v); r.type_ = varDate; return r; }
  static Variant OleStr(std::string utf8) { Variant r(std::move(utf8)); r.type_ = varOleStr; return r; }

  TVarType VarType() const { return type_; }
  bool IsEmpty() const { return type_ == varEmpty; }
  bool IsNull() const { return type_ == varNull; }
  // Empty or null: "no value".
  bool IsClear() const { return type_ == varEmpty || type_ == varNull; }
  bool IsString() const { return type_ == varString || type_ == varOleStr; }
  // Integer kinds and boolean.
  bool IsOrdinal() const;
  bool IsFloat() const { return type_ == varSingle || type_ == varDouble; }
  // Integer, float and currency kinds (not date, not boolean).
  bool IsNumeric() const;

  // The text form: "" for empty and null, "True"/"False", numbers in the shortest form that
  // reads back (at most 15 significant digits), currency with up to 4 decimals, dates as
  // DateTimeToStr gives them, strings as they are.
  std::string AsString() const;
  // Raise EVariantError when the value cannot be converted (null, text that is no number).
  int64_t AsInt64() const;
  int AsInteger() const;
  double AsDouble() const;
  bool AsBoolean() const;
  TDateTime AsDate() const;
  int64_t AsCurrencyScaled() const;
  // The string itself without a copy; only for string kinds.
  const std::string& StringRef() const { return string_; }

  // Converts to another kind (varString, varInteger, varDouble, varDate, ...).
  Variant ChangeType(TVarType to) const;

  // Same kind class and equal value; never raises (incomparable values are unequal).
  friend bool operator==(const Variant& a, const Variant& b);
  friend bool operator!=(const Variant& a, const Variant& b) { return !(a == b); }
  // Ordering by VarCompare; raise EVariantError for incomparable values.
  friend bool operator<(const Variant& a, const Variant& b);
  friend bool operator>(const Variant& a, const Variant& b) { return b < a; }
  friend bool operator<=(const Variant& a, const Variant& b) { return !(b < a); }
  friend bool operator>=(const Variant& a, const Variant& b) { return !(a < b); }

 private:
  static Variant ofInt(TVarType t, int64_t v) { Variant r; r.type_ = t; r.int_ = v; return r; }

  TVarType type_ = varEmpty;
  union {
    int64_t int_ = 0;  // integer kinds, boolean (0/1), currency (scaled by 10000)
    double double_;    // single, double, date
  };
  std::string string_;  // string kinds only
};

// Three-way comparison: -1, 0, +1 as described above; raises EVariantError when a string
// cannot be read as the number or date it meets.
int VarCompare(const Variant& a, const Variant& b);
// VarCompare that counts a failed comparison as "less" (the rule of sorted value lists).
int VarCompareOrLess(const Variant& a, const Variant& b);

// Text of a TVarType ("String", "Integer", ...) for messages.
const char* VarTypeName(TVarType t);
// Shortest decimal text of a double that reads back within 15 significant digits.
std::string FloatToStr(double value);
// Reads a decimal number ("12", "-3.5", "1E3"); blanks around it are allowed.
bool TryStrToFloat(std::string_view text, double& out);
