#pragma once
// TLikePattern: the LIKE comparison of filters and queries, ignoring letter case.
//   *  or  %   any run of characters (also none)
//   ?  or  _   exactly one character
//   [c]        the character c itself (to match a literal *, %, ?, _ or [)
// Everything else matches itself after upper-casing (utf8_case.h). Characters are Unicode
// code points, so one CJK character is one "?".
#include <string>
#include <string_view>

class TLikePattern {
 public:
  explicit TLikePattern(std::string_view pattern);

  bool Matches(std::string_view value) const;
  // The pattern is a literal followed by exactly one any-run wildcard ('FT*'), so the matches
  // are exactly the values whose LikeKey starts with FoldedPrefix().
  bool IsPrefixOnly() const { return prefixOnly_; }
  // The literal before the first wildcard, in the form of LikeKey.
  const std::string& FoldedPrefix() const { return foldedPrefix_; }

 private:
  static constexpr char32_t kAnyRun = 0xFFFFFFFF;
  static constexpr char32_t kAnyOne = 0xFFFFFFFE;

  std::u32string tokens_;  // folded code points and the two wildcard markers
  std::string foldedPrefix_;
  bool prefixOnly_ = false;
};

// The form in which LIKE sees a text, as bytes: each character (utf8.h's decoding, so an
// invalid byte is one character of its own) upper-cased and written as UTF-8, an invalid
// byte as the three bytes of its escape code point. Keys keep the characters' order, and one
// key starts with another exactly when the folded characters do, so an index sorted by keys
// selects for 'X*' exactly the rows Matches accepts. A valid text that has no lower-case
// letters is its own key.
void AppendLikeKey(std::string_view text, std::string& out);
std::string LikeKey(std::string_view text);
