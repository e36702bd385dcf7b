#include "platform/db/like_pattern.h"

#include <vector>

#include "platform/core/utf8.h"
#include "platform/core/utf8_case.h"

namespace {

// Decodes and folds value into a reused buffer (no allocation once warm).
const std::u32string& foldedCodePoints(std::string_view value) {
  thread_local std::u32string buffer;
  buffer.clear();
  size_t pos = 0;
  while (pos < value.size()) {
    unsigned char b = static_cast<unsigned char>(value[pos]);
    if (b < 0x80) {
      buffer.push_back(b >= 'a' && b <= 'z' ? char32_t(b - 0x20) : char32_t(b));
      ++pos;
      continue;
    }
    size_t len = (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 1;
    if (len == 1 || pos + len > value.size()) {
      buffer.push_back(b);
      ++pos;
      continue;
    }
    char32_t cp = b & (0x7F >> len);
    for (size_t i = 1; i < len; ++i) cp = (cp << 6) | (static_cast<unsigned char>(value[pos + i]) & 0x3F);
    buffer.push_back(UpperCaseCodePoint(cp));
    pos += len;
  }
  return buffer;
}

}  // namespace

TLikePattern::TLikePattern(std::string_view pattern) {
  std::u32string cps = Utf8ToUtf32(pattern);
  for (size_t i = 0; i < cps.size(); ++i) {
    char32_t c = cps[i];
    if (c == '*' || c == '%') {
      if (tokens_.empty() || tokens_.back() != kAnyRun) tokens_.push_back(kAnyRun);
    } else if (c == '?' || c == '_') {
      tokens_.push_back(kAnyOne);
    } else if (c == '[' && i + 2 < cps.size() && cps[i + 2] == ']') {
      tokens_.push_back(UpperCaseCodePoint(cps[i + 1]));
      i += 2;
    } else {
      tokens_.push_back(UpperCaseCodePoint(c));
    }
  }
  size_t literalEnd = 0;
  while (literalEnd < tokens_.size() && tokens_[literalEnd] != kAnyRun &&
         tokens_[literalEnd] != kAnyOne)
    ++literalEnd;
  foldedPrefix_ = Utf32ToUtf8(std::u32string_view(tokens_).substr(0, literalEnd));
  prefixOnly_ = literalEnd + 1 == tokens_.size() && tokens_.back() == kAnyRun;
}

bool TLikePattern::Matches(std::string_view value) const {
  const std::u32string& text = foldedCodePoints(value);
  // Greedy match with one backtrack point: the last any-run seen.
  size_t t = 0, p = 0;
  size_t starP = std::u32string::npos, starT = 0;
  while (t < text.size()) {
    if (p < tokens_.size() && tokens_[p] == kAnyRun) {
      starP = p++;
      starT = t;
    } else if (p < tokens_.size() && (tokens_[p] == kAnyOne || tokens_[p] == text[t])) {
      ++p;
      ++t;
    } else if (starP != std::u32string::npos) {
      p = starP + 1;
      t = ++starT;
    } else {
      return false;
    }
  }
  while (p < tokens_.size() && tokens_[p] == kAnyRun) ++p;
  return p == tokens_.size();
}
