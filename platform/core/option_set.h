#pragma once
// A small set over an enumeration whose values are 0..63, as the option sets of the
// components are (TqlDBGridOptions opts{edgoAutoSort, edgoTabThrough}; opts.contains(x)).
#include <cstdint>
#include <initializer_list>

template <typename Enum>
class TOptionSet {
 public:
  constexpr TOptionSet() = default;
  constexpr TOptionSet(std::initializer_list<Enum> values) {
    for (Enum v : values) bits_ |= bit(v);
  }
  constexpr bool contains(Enum v) const { return (bits_ & bit(v)) != 0; }
  constexpr bool empty() const { return bits_ == 0; }
  constexpr TOptionSet& include(Enum v) { bits_ |= bit(v); return *this; }
  constexpr TOptionSet& exclude(Enum v) { bits_ &= ~bit(v); return *this; }
  constexpr TOptionSet operator+(TOptionSet o) const { return fromBits(bits_ | o.bits_); }
  constexpr TOptionSet operator-(TOptionSet o) const { return fromBits(bits_ & ~o.bits_); }
  constexpr TOptionSet operator*(TOptionSet o) const { return fromBits(bits_ & o.bits_); }
  constexpr uint64_t bits() const { return bits_; }
  static constexpr TOptionSet fromBits(uint64_t b) { TOptionSet s; s.bits_ = b; return s; }
  friend constexpr bool operator==(TOptionSet, TOptionSet) = default;

 private:
  static constexpr uint64_t bit(Enum v) { return uint64_t(1) << static_cast<unsigned>(v); }
  uint64_t bits_ = 0;
};
