#include "platform/db/like_pattern.h"

#include <vector>

#include "platform/core/utf8.h"
#include "platform/core/utf8_case.h"

namespace {

// The character of value at pos as LIKE compares it (moving pos past it). The row-by-row
// test and the index keys both read text through this one function.
inline char32_t foldedCharacterAt(std::string_view value, size_t& pos) {
  return UpperCaseCodePoint(DecodeUtf8(value, pos));
}

// Decodes and folds value into a reused buffer (no allocation once warm).
const std::u32string& foldedCodePoints(std::string_view value) {
  thread_local std::u32string buffer;
  buffer.clear();
  for (size_t pos = 0; pos < value.size();) buffer.push_back(foldedCharacterAt(value, pos));
  return buffer;
}

// Writes one folded character of a key: as UTF-8, except an invalid byte's escape, which is
// written as the three bytes of its own code point (ED B2 80..ED B3 BF) and so can never be
// read as part of a neighbouring character, as the byte itself could.
void appendKeyCharacter(char32_t c, std::string& out) {
  if (!IsUtf8Escape(c)) return AppendUtf8(c, out);
  out += char(0xE0 | (c >> 12));
  out += char(0x80 | ((c >> 6) & 0x3F));
  out += char(0x80 | (c & 0x3F));
}

}  // namespace

void AppendLikeKey(std::string_view text, std::string& out) {
  for (size_t pos = 0; pos < text.size();) appendKeyCharacter(foldedCharacterAt(text, pos), out);
}

std::string LikeKey(std::string_view text) {
  std::string key;
  key.reserve(text.size());
  AppendLikeKey(text, key);
  return key;
}

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
  for (size_t i = 0; i < literalEnd; ++i) appendKeyCharacter(tokens_[i], foldedPrefix_);
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
