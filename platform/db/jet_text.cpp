#include "platform/db/jet_text.h"

#include "platform/core/utf8.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

inline bool isHighSurrogate(uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
inline bool isLowSurrogate(uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Code units in, UTF-8 out; holds a high surrogate until the next unit says what it is.
class TUtf16ToUtf8 {
 public:
  explicit TUtf16ToUtf8(std::string& out) : out_(out) {}

  void Unit(uint32_t unit) {
    if (high_) {
      if (isLowSurrogate(unit)) {
        put(0x10000 + ((high_ - 0xD800) << 10) + (unit - 0xDC00));
        high_ = 0;
        return;
      }
      put(kReplacement);  // the high surrogate had no partner
      high_ = 0;
    }
    if (isHighSurrogate(unit)) {
      high_ = unit;
    } else {
      put(isLowSurrogate(unit) ? kReplacement : char32_t(unit));
    }
  }
  // A byte that is not a whole code unit.
  void Broken() {
    Finish();
    put(kReplacement);
  }
  void Finish() {
    if (high_) put(kReplacement);
    high_ = 0;
  }

 private:
  // Lone surrogates never get here (they become U+FFFD above), so no escape is written.
  void put(char32_t c) { AppendUtf8(c, out_); }

  std::string& out_;
  uint32_t high_ = 0;  // a high surrogate waiting for its low one; 0 = none
};

}  // namespace

void AppendJet4Text(std::span<const uint8_t> stored, std::string& out) {
  const size_t size = stored.size();
  TUtf16ToUtf8 sink(out);
  size_t at = 0;
  if (size >= 2 && stored[0] == 0xFF && stored[1] == 0xFE) {
    bool oneByte = true;
    for (at = 2; at < size;) {
      const uint8_t b = stored[at];
      if (b == 0) {
        oneByte = !oneByte;
        ++at;
      } else if (oneByte) {
        sink.Unit(b);
        ++at;
      } else if (at + 1 < size) {
        sink.Unit(uint32_t(b) | uint32_t(stored[at + 1]) << 8);
        at += 2;
      } else {
        sink.Broken();
        ++at;
      }
    }
  } else {
    for (; at + 1 < size; at += 2) sink.Unit(uint32_t(stored[at]) | uint32_t(stored[at + 1]) << 8);
    if (at < size) sink.Broken();
  }
  sink.Finish();
}
