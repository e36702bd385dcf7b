#pragma once
// The byte form of a criteria tree (stored with the form and in a saved grid layout) and of
// a tagged variant value. Little-endian throughout.
//
//   stream   := int32 count, count x node          (the root's children; its own operator
//                                                    and NOT flag are not stored)
//   node     := uint8 kind (1 list, 0 item), uint8 NOT (0 / 1), then
//     list   := uint8 operator (0 AND, 1 OR), int32 count, count x node
//     item   := int32 length + bytes display text, int32 length + bytes name,
//               uint8 operator code (0..5), value
//   value    := uint8 tag, then
//      0 null | 13 empty | 8 false | 9 true
//      2 int8 | 3 int16 | 4 int32         the smallest that holds an integer kind's value
//      15 float32 | 5 80-bit x87 extended (double values) | 16 currency as int64 (1/10000)
//      17 date as float64 (days since 1899-12-30)
//      18 wide string: int32 UTF-16 unit count, 2 bytes per unit (varOleStr)
//      6 string: uint8 byte count, bytes (up to 255) | 12 string: int32 byte count, bytes
//   Any other value (an integer beyond 32 bits) is written as its string form.
//
// Reading is strict and bounded: a length or count that is negative or larger than the bytes
// left, lists nested deeper than kMaxCriteriaStreamDepth, a kind, flag, operator or tag out
// of range, and bytes left over after the tree all fail with "Stream read error" — nothing is
// read past the end. Texts are taken as UTF-8 bytes (wide strings are converted).
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/core/exception.h"
#include "platform/core/variant.h"

class TqlCriteria;

// "Stream read error", "Stream write error".
class EStreamError : public Exception {
 public:
  using Exception::Exception;
};

inline constexpr const char* SReadError = "Stream read error";
inline constexpr const char* SWriteError = "Stream write error";

// Lists inside lists below the root, at most (keeps the rendered expression well inside the
// record-set parser's nesting limit).
constexpr int kMaxCriteriaStreamDepth = 64;

// The criteria's tree in the byte form.
std::string WriteCriteriaStream(const TqlCriteria& ACriteria);
// Clears the criteria, then reads the tree. On failure (EStreamError) the criteria stay empty.
void ReadCriteriaStream(TqlCriteria& ACriteria, std::string_view AData);

// One tagged value appended to AOut / read at APos (which moves past it).
void WriteStreamVariant(std::string& AOut, const Variant& AValue);
Variant ReadStreamVariant(std::string_view AData, size_t& APos);

// The 80-bit x87 extended form of a double (little-endian: 64-bit significand with its
// integer bit, then sign and 15-bit exponent) and back (rounded to nearest; out of range
// becomes an infinity or zero).
void DoubleToExtended(double AValue, uint8_t AOut[10]);
double ExtendedToDouble(const uint8_t AIn[10]);
