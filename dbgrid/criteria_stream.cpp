#include "dbgrid/criteria_stream.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

#include "dbgrid/filter_criteria.h"
#include "platform/core/utf8.h"

namespace {

enum Tag : uint8_t {
  tagNull = 0, tagInt8 = 2, tagInt16 = 3, tagInt32 = 4, tagExtended = 5, tagString = 6,
  tagFalse = 8, tagTrue = 9, tagLString = 12, tagEmpty = 13, tagSingle = 15, tagCurrency = 16,
  tagDate = 17, tagWString = 18,
};

enum NodeKind : uint8_t { kindItem = 0, kindList = 1 };

[[noreturn]] void writeError() { throw EStreamError(SWriteError); }
[[noreturn]] void readError() { throw EStreamError(SReadError); }

// --- writing ---

template <typename T>
void putLE(std::string& out, T value) {
  using U = std::make_unsigned_t<T>;
  U u = static_cast<U>(value);
  for (size_t i = 0; i < sizeof(T); ++i) out.push_back(char(uint8_t(u >> (8 * i))));
}

void putInt32(std::string& out, size_t value) {
  if (value > size_t(std::numeric_limits<int32_t>::max())) writeError();
  putLE(out, int32_t(value));
}

void putBytes(std::string& out, std::string_view bytes) {
  putInt32(out, bytes.size());
  out.append(bytes);
}

void putString(std::string& out, std::string_view s) {
  if (s.size() <= 255) {
    out.push_back(char(tagString));
    out.push_back(char(uint8_t(s.size())));
    out.append(s);
  } else {
    out.push_back(char(tagLString));
    putBytes(out, s);
  }
}

void putWideString(std::string& out, std::string_view utf8) {
  std::u16string units;
  for (char32_t c : Utf8ToUtf32(utf8)) {
    if (c > 0xFFFF) {
      c -= 0x10000;
      units.push_back(char16_t(0xD800 + (c >> 10)));
      units.push_back(char16_t(0xDC00 + (c & 0x3FF)));
    } else {
      units.push_back(char16_t(c));  // an invalid byte's escape stays a lone low surrogate
    }
  }
  out.push_back(char(tagWString));
  putInt32(out, units.size());
  for (char16_t u : units) putLE(out, uint16_t(u));
}

void writeChildren(std::string& out, const TqlCriteriaItemList& list, int depth) {
  putInt32(out, size_t(list.Count()));
  for (int i = 0; i < list.Count(); ++i) {
    const TqlCustomCriteriaItem* child = list.Items(i);
    out.push_back(char(child->IsList() ? kindList : kindItem));
    out.push_back(char(child->IsNot() ? 1 : 0));
    if (child->IsList()) {
      if (depth + 1 > kMaxCriteriaStreamDepth) writeError();  // the reader would refuse it
      const auto& sub = static_cast<const TqlCriteriaItemList&>(*child);
      out.push_back(char(sub.BoolOperator()));
      writeChildren(out, sub, depth + 1);
    } else {
      const auto& item = static_cast<const TqlCriteriaItem&>(*child);
      putBytes(out, item.DisplayText());
      putBytes(out, item.Name());
      out.push_back(char(item.OperatorCode()));
      WriteStreamVariant(out, item.Value());
    }
  }
}

// --- reading ---

class Reader {
 public:
  Reader(std::string_view data, size_t pos) : data_(data), pos_(pos) {
    if (pos_ > data_.size()) readError();
  }

  size_t Pos() const { return pos_; }
  size_t Left() const { return data_.size() - pos_; }

  std::string_view Take(size_t n) {
    if (n > Left()) readError();
    std::string_view bytes = data_.substr(pos_, n);
    pos_ += n;
    return bytes;
  }
  template <typename T>
  T Get() {
    std::string_view b = Take(sizeof(T));
    std::make_unsigned_t<T> u = 0;
    for (size_t i = 0; i < sizeof(T); ++i) u |= std::make_unsigned_t<T>(uint8_t(b[i])) << (8 * i);
    return static_cast<T>(u);
  }
  uint8_t Byte() { return Get<uint8_t>(); }
  // 0 or 1; anything else is damage.
  bool Flag() {
    uint8_t b = Byte();
    if (b > 1) readError();
    return b == 1;
  }
  // A 32-bit count of units of unitSize bytes that must all still be there.
  size_t Count(size_t unitSize) {
    int32_t n = Get<int32_t>();
    if (n < 0 || size_t(n) > Left() / unitSize) readError();
    return size_t(n);
  }
  std::string Bytes() { return std::string(Take(Count(1))); }

 private:
  std::string_view data_;
  size_t pos_;
};

Variant readVariant(Reader& r) {
  switch (r.Byte()) {
    case tagNull: return Variant::Null();
    case tagEmpty: return Variant();
    case tagFalse: return Variant(false);
    case tagTrue: return Variant(true);
    case tagInt8: return Variant(int(r.Get<int8_t>()));
    case tagInt16: return Variant(int(r.Get<int16_t>()));
    case tagInt32: return Variant(int(r.Get<int32_t>()));
    case tagSingle: return Variant::Single(std::bit_cast<float>(r.Get<uint32_t>()));
    case tagExtended: {
      uint8_t bytes[10];
      std::memcpy(bytes, r.Take(10).data(), 10);
      return Variant(ExtendedToDouble(bytes));
    }
    case tagCurrency: return Variant::CurrencyScaled(r.Get<int64_t>());
    case tagDate: return Variant::Date(std::bit_cast<double>(r.Get<uint64_t>()));
    case tagString: return Variant(std::string(r.Take(r.Byte())));
    case tagLString: return Variant(r.Bytes());
    case tagWString: {
      const size_t n = r.Count(2);
      std::u16string units(n, u'\0');
      for (char16_t& u : units) u = char16_t(r.Get<uint16_t>());
      std::u32string chars;
      chars.reserve(n);
      for (size_t i = 0; i < n; ++i) {
        char32_t u = units[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < n && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
          chars.push_back(0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00));
          ++i;
        } else {
          chars.push_back(u);  // a lone surrogate: an escape goes back to its byte, others to U+FFFD
        }
      }
      return Variant::OleStr(Utf32ToUtf8(chars));
    }
    default: readError();
  }
}

}  // namespace

void DoubleToExtended(double AValue, uint8_t AOut[10]) {
  uint64_t significand = 0;
  uint16_t exponent = 0;
  if (std::isnan(AValue)) {
    exponent = 0x7FFF;
    significand = 0xC000000000000000ull;  // quiet NaN
  } else if (std::isinf(AValue)) {
    exponent = 0x7FFF;
    significand = 0x8000000000000000ull;
  } else if (AValue != 0) {
    int e;
    double m = std::frexp(std::fabs(AValue), &e);  // |value| = m * 2^e, 0.5 <= m < 1
    significand = uint64_t(std::ldexp(m, 64));     // exact: m has at most 53 bits
    exponent = uint16_t(e - 1 + 16383);
  }
  if (std::signbit(AValue)) exponent |= 0x8000;
  for (int i = 0; i < 8; ++i) AOut[i] = uint8_t(significand >> (8 * i));
  AOut[8] = uint8_t(exponent);
  AOut[9] = uint8_t(exponent >> 8);
}

double ExtendedToDouble(const uint8_t AIn[10]) {
  uint64_t significand = 0;
  for (int i = 0; i < 8; ++i) significand |= uint64_t(AIn[i]) << (8 * i);
  const uint16_t signExponent = uint16_t(AIn[8] | (AIn[9] << 8));
  const bool negative = signExponent & 0x8000;
  const int exponent = signExponent & 0x7FFF;
  double value;
  if (exponent == 0x7FFF) {
    value = (significand << 1) == 0 ? std::numeric_limits<double>::infinity()
                                    : std::numeric_limits<double>::quiet_NaN();
  } else if (significand == 0) {
    value = 0;
  } else {
    // value = significand * 2^(exponent - 16383 - 63); denormals use exponent 1. Converting
    // the significand rounds to 53 bits; ldexp is then exact unless the result is tiny.
    value = std::ldexp(double(significand), (exponent ? exponent : 1) - 16383 - 63);
  }
  return negative ? -value : value;
}

void WriteStreamVariant(std::string& AOut, const Variant& AValue) {
  switch (AValue.VarType()) {
    case varEmpty: AOut.push_back(char(tagEmpty)); return;
    case varNull: AOut.push_back(char(tagNull)); return;
    case varBoolean: AOut.push_back(char(AValue.AsBoolean() ? tagTrue : tagFalse)); return;
    case varShortInt: case varSmallint: case varInteger: case varByte: case varWord:
    case varLongWord: case varInt64: {
      int64_t v = AValue.AsInt64();
      if (v >= INT8_MIN && v <= INT8_MAX) {
        AOut.push_back(char(tagInt8));
        putLE(AOut, int8_t(v));
      } else if (v >= INT16_MIN && v <= INT16_MAX) {
        AOut.push_back(char(tagInt16));
        putLE(AOut, int16_t(v));
      } else if (v >= INT32_MIN && v <= INT32_MAX) {
        AOut.push_back(char(tagInt32));
        putLE(AOut, int32_t(v));
      } else {
        putString(AOut, AValue.AsString());
      }
      return;
    }
    case varSingle:
      AOut.push_back(char(tagSingle));
      putLE(AOut, std::bit_cast<uint32_t>(float(AValue.AsDouble())));
      return;
    case varDouble: {
      AOut.push_back(char(tagExtended));
      uint8_t bytes[10];
      DoubleToExtended(AValue.AsDouble(), bytes);
      AOut.append(reinterpret_cast<const char*>(bytes), 10);
      return;
    }
    case varCurrency:
      AOut.push_back(char(tagCurrency));
      putLE(AOut, AValue.AsCurrencyScaled());
      return;
    case varDate:
      AOut.push_back(char(tagDate));
      putLE(AOut, std::bit_cast<uint64_t>(AValue.AsDouble()));
      return;
    case varOleStr: putWideString(AOut, AValue.StringRef()); return;
    case varString: putString(AOut, AValue.StringRef()); return;
  }
  // Any other kind by its string form, when it has one.
  try {
    putString(AOut, AValue.AsString());
  } catch (const EVariantError&) {
    writeError();
  }
}

Variant ReadStreamVariant(std::string_view AData, size_t& APos) {
  Reader r(AData, APos);
  Variant v = readVariant(r);
  APos = r.Pos();
  return v;
}

std::string WriteCriteriaStream(const TqlCriteria& ACriteria) {
  std::string out;
  writeChildren(out, ACriteria.Root(), 0);
  return out;
}

namespace {

// The smallest node: a list header (kind, NOT, operator) and its count.
constexpr size_t kMinNodeBytes = 7;

void readChildren(Reader& r, const TqlCriteria& criteria, TqlCriteriaItemList& list, int depth) {
  const size_t count = r.Count(kMinNodeBytes);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t kind = r.Byte();
    const bool isNot = r.Flag();
    if (kind == kindList) {
      if (depth + 1 > kMaxCriteriaStreamDepth) readError();
      const uint8_t op = r.Byte();
      if (op > qboOr) readError();
      auto sub = std::make_unique<TqlCriteriaItemList>(TqlBoolOperator(op));
      sub->SetIsNot(isNot);
      readChildren(r, criteria, *sub, depth + 1);
      list.Append(std::move(sub));
    } else if (kind == kindItem) {
      std::string displayText = r.Bytes();
      std::string name = r.Bytes();
      const uint8_t code = r.Byte();
      if (!TqlAbstractOperator::ByCode(code)) readError();
      Variant value = readVariant(r);
      auto item = criteria.CreateItem(std::move(name), code, std::move(value), std::move(displayText));
      item->SetIsNot(isNot);
      list.Append(std::move(item));
    } else {
      readError();
    }
  }
}

}  // namespace

void ReadCriteriaStream(TqlCriteria& ACriteria, std::string_view AData) {
  ACriteria.Clear();
  // Read into a detached list and move the children over only when everything was read.
  TqlCriteriaItemList read;
  Reader r(AData, 0);
  readChildren(r, ACriteria, read, 0);
  if (r.Left() != 0) readError();
  while (read.Count() > 0) ACriteria.Root().Append(read.Extract(read.Items(0)));
}
