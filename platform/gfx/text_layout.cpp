// DrawText's line layout (rules in text_layout.h). The text goes through three forms:
// paragraphs (hard breaks split, tabs and prefixes resolved), lines (word breaks, lines
// below the rectangle dropped or joined, end ellipsis) and the result (UTF-8 per line with
// positions). Every character keeps the byte range it came from in the input, so a line can
// say which part of the input it shows.
#include "platform/gfx/text_layout.h"

#include <algorithm>

#include "platform/core/utf8.h"
#include "platform/gfx/gdi_consts.h"

namespace {

struct Char {
  char32_t code;
  uint32_t sourceBegin;  // bytes of the input this character came from
  uint32_t sourceEnd;
};

// A paragraph or a line: characters, with the one to underline.
struct Run {
  std::vector<Char> chars;
  int prefix = -1;           // index into chars; -1: none
  uint32_t sourceStart = 0;  // where an empty run stands in the input
};

bool isCjk(char32_t c) {
  return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x20000 && c <= 0x2FFFF);
}
// Closing punctuation never starts a line: it stays with the character before it.
bool isClosingPunct(char32_t c) {
  static const std::u32string_view closers = U"，。、；：？！）》」』】〕〉”’,.;:?!)]}%";
  return closers.find(c) != std::u32string_view::npos;
}

// Half of v rounded down, so a centred line sits the same wherever the rectangle is.
int halfDown(int v) { return v >= 0 ? v / 2 : -((1 - v) / 2); }

std::string utf8Of(const std::vector<Char>& chars, size_t begin, size_t end) {
  std::string out;
  for (size_t i = begin; i < end; ++i) AppendUtf8(chars[i].code, out);
  return out;
}

// Splits the input at hard line breaks (or drops them for a single line) and drops tabs
// unless they are expanded.
std::vector<Run> paragraphsOf(std::string_view text, unsigned flags) {
  std::vector<Run> paragraphs(1);
  const bool single = flags & DT_SINGLELINE;
  for (size_t pos = 0; pos < text.size();) {
    const uint32_t begin = uint32_t(pos);
    const char32_t c = DecodeUtf8(text, pos);
    if (c == U'\t' && !(flags & DT_EXPANDTABS)) continue;
    if (c == U'\r' || c == U'\n') {
      if (single) continue;
      if (c == U'\r' && pos < text.size() && text[pos] == '\n') ++pos;
      paragraphs.push_back(Run{{}, -1, uint32_t(pos)});
      continue;
    }
    paragraphs.back().chars.push_back({c, begin, uint32_t(pos)});
  }
  return paragraphs;
}

// Resolves "&" prefixes: "&&" -> "&", "&x" -> x (the first one is underlined), a last "&"
// shows nothing.
void resolvePrefixes(Run& run) {
  std::vector<Char> out;
  out.reserve(run.chars.size());
  const std::vector<Char>& in = run.chars;
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i].code != U'&') {
      out.push_back(in[i]);
      continue;
    }
    if (i + 1 >= in.size()) break;
    ++i;  // the character after the "&" is shown as it is
    if (in[i].code != U'&' && run.prefix < 0) run.prefix = int(out.size());
    out.push_back(in[i]);
  }
  run.chars = std::move(out);
}

class Layouter {
 public:
  Layouter(unsigned flags, const TTextMeasure& measure) : flags_(flags), measure_(measure) {}

  int width(const std::vector<Char>& chars, size_t begin, size_t end) const {
    return TextLineWidth(utf8Of(chars, begin, end), flags_, measure_);
  }

  // Greedy word wrap of one paragraph into lines no wider than maxWidth.
  void wrap(const Run& para, int maxWidth, std::vector<Run>& out) const {
    const std::vector<Char>& s = para.chars;
    const size_t n = s.size();
    auto isSpace = [&](size_t i) { return i < n && s[i].code == U' '; };
    // The end of the word starting at i: one CJK character or a run of other non-spaces,
    // with the closing punctuation after it.
    auto wordEnd = [&](size_t i) {
      if (i < n && isCjk(s[i].code)) ++i;
      else while (i < n && s[i].code != U' ' && !isCjk(s[i].code)) ++i;
      while (i < n && isClosingPunct(s[i].code)) ++i;
      return i;
    };
    size_t start = 0;
    while (true) {
      if (start > 0) while (isSpace(start)) ++start;  // the spaces at a break are dropped
      if (start >= n) {
        if (start == 0) out.push_back(Run{{}, -1, para.sourceStart});
        return;
      }
      size_t end = start;  // the longest run of whole words that fits
      for (size_t pos = start; pos < n;) {
        const size_t next = wordEnd(pos);
        if (width(s, start, next) > maxWidth) break;
        end = next;
        pos = next;
        while (isSpace(pos)) ++pos;
      }
      if (end == start) {
        // Nothing fits: the first word stands alone, with the spaces before it (a text of
        // spaces only is one line of spaces).
        while (isSpace(end)) ++end;
        end = wordEnd(end);
      }
      Run line;
      line.chars.assign(s.begin() + std::ptrdiff_t(start), s.begin() + std::ptrdiff_t(end));
      line.sourceStart = s[start].sourceBegin;
      if (para.prefix >= int(start) && para.prefix < int(end)) line.prefix = para.prefix - int(start);
      out.push_back(std::move(line));
      if (end >= n) return;
      start = end;
    }
  }

  // Cuts characters off the end until the rest fits with "..." appended. Advances are never
  // negative, so widths grow with every character kept and bisection finds the longest
  // part that fits.
  bool ellipsify(Run& line, int maxWidth) const {
    const size_t n = line.chars.size();
    if (n == 0 || width(line.chars, 0, n) <= maxWidth) return false;
    auto fits = [&](size_t keep) {
      return TextLineWidth(utf8Of(line.chars, 0, keep) + "...", flags_, measure_) <= maxWidth;
    };
    size_t lo = 0, hi = n - 1;  // the answer lies in [lo, hi]; 0 keeps the dots alone
    while (lo < hi) {
      const size_t mid = (lo + hi + 1) / 2;
      if (fits(mid)) lo = mid;
      else hi = mid - 1;
    }
    line.chars.resize(lo);
    if (line.prefix >= int(lo)) line.prefix = -1;
    return true;
  }

 private:
  unsigned flags_;
  const TTextMeasure& measure_;
};

}  // namespace

int TextLineWidth(std::string_view line, unsigned flags, const TTextMeasure& measure) {
  auto runWidth = [&](std::string_view run) { return run.empty() ? 0 : measure.width(run); };
  if (!(flags & DT_EXPANDTABS) || line.find('\t') == std::string_view::npos) return runWidth(line);
  int x = 0;
  size_t start = 0;
  while (true) {
    const size_t tab = line.find('\t', start);
    x += runWidth(line.substr(start, tab - start));
    if (tab == std::string_view::npos) return x;
    if (measure.tabWidth > 0) x = (x / measure.tabWidth + 1) * measure.tabWidth;
    start = tab + 1;
  }
}

TTextBlock LayoutText(std::string_view text, int width, int height, unsigned flags,
                       const TTextMeasure& measure) {
  TTextBlock layout;
  if (text.empty()) return layout;
  const bool single = flags & DT_SINGLELINE;
  const bool calc = flags & DT_CALCRECT;
  const bool ellipsis = flags & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS);
  const Layouter layouter(flags, measure);

  std::vector<Run> lines;
  for (Run& para : paragraphsOf(text, flags)) {
    if (!(flags & DT_NOPREFIX)) resolvePrefixes(para);
    if ((flags & DT_WORDBREAK) && !single) layouter.wrap(para, width, lines);
    else lines.push_back(std::move(para));
  }

  if (!calc && !(flags & DT_NOCLIP) && !single) {
    // Keep the lines that start above the rectangle's bottom (at least one).
    size_t kept = 1;
    while (kept < lines.size() && int(kept) * measure.lineHeight < height) ++kept;
    if (ellipsis)
      for (size_t j = kept; j < lines.size(); ++j) {
        // The joining space stands where the next line starts in the input.
        const uint32_t at = lines[j].sourceStart;
        std::vector<Char>& last = lines[kept - 1].chars;
        last.push_back({U' ', at, at});
        last.insert(last.end(), lines[j].chars.begin(), lines[j].chars.end());
      }
    lines.resize(kept);
  }

  const int textHeight = int(lines.size()) * measure.lineHeight;
  int top = 0;
  if (single && (flags & DT_VCENTER)) top = (height - textHeight) / 2;
  else if (single && (flags & DT_BOTTOM)) top = height - textHeight;

  for (size_t i = 0; i < lines.size(); ++i) {
    Run& run = lines[i];
    TTextLine line;
    // A word wrapped onto a line of its own is cut without dots; only the last line (or
    // every line without word breaks) gets them.
    if (ellipsis && !calc && (!(flags & DT_WORDBREAK) || single || i + 1 == lines.size()))
      line.ellipsis = layouter.ellipsify(run, width);
    line.text = utf8Of(run.chars, 0, run.chars.size());
    if (run.prefix >= 0) {
      const std::string before = utf8Of(run.chars, 0, size_t(run.prefix));
      line.prefix = int(before.size());
      line.prefixLeft = TextLineWidth(before, flags, measure);
      line.prefixRight = layouter.width(run.chars, 0, size_t(run.prefix) + 1);
    }
    if (line.ellipsis) line.text += "...";
    line.sourceBegin = run.chars.empty() ? run.sourceStart : run.chars.front().sourceBegin;
    line.sourceEnd = run.chars.empty() ? run.sourceStart : run.chars.back().sourceEnd;
    line.width = TextLineWidth(line.text, flags, measure);
    if (flags & DT_CENTER) line.x = halfDown(width - line.width);
    else if (flags & DT_RIGHT) line.x = width - line.width;
    line.y = top + int(i) * measure.lineHeight;
    layout.width = std::max(layout.width, line.width);
    layout.lines.push_back(std::move(line));
  }
  layout.height = textHeight;
  layout.bottom = top + textHeight;
  return layout;
}
