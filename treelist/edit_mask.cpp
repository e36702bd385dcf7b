// Edit masks. Order of work:
//   parsing: the field separator first (it decides where the mask's text part ends), then the
//            S and B fields, then one walk over the text part giving each mask character its
//            class and each text position its mask index and case conversion;
//   values:  Format / Pad / RawValue work on code points and convert once at each end;
//   editing: every operation copies the state, changes the copy and returns it.
#include "treelist/edit_mask.h"

#include "platform/core/utf8.h"

namespace {

bool isAsciiDigit(char32_t c) { return c >= U'0' && c <= U'9'; }
bool isAsciiLetter(char32_t c) { return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z'); }
// Stands where a byte-counted text would have a double-byte character (see the header).
bool isWideChar(char32_t c) { return c >= 0x80; }
bool isControl(char32_t c) { return c < 0x20 || c == 0x7F; }

int clampPos(int p, int size) { return std::clamp(p, 0, size); }

// The selection clamped to the text.
void clampedSelection(const TqlMaskEditState& state, int size, int& s, int& e) {
  s = clampPos(state.Sel.Start(), size);
  e = clampPos(state.Sel.End(), size);
}

// text with [from, to) blanked: input positions get the blank, literal positions their literal.
void blankRange(const TqlEditMask& mask, std::u32string& text, int from, int to) {
  to = std::min({to, static_cast<int>(text.size()), mask.TextLength()});
  for (int p = std::max(from, 0); p < to; ++p)
    text[p] = mask.IsLiteral(p) ? mask.LiteralChar(p) : mask.BlankChar();
}

}  // namespace

char32_t MaskIntlLiteralToChar(char32_t maskChar) {
  if (maskChar == U'/') return kMaskDateSeparator;
  if (maskChar == U':') return kMaskTimeSeparator;
  return maskChar;
}

// ---- parsing ----

TqlEditMask::TqlEditMask(std::string_view mask) : mask_(mask) {
  const std::u32string m = Utf8ToUtf32(mask);
  const int n = static_cast<int>(m.size());
  types_.assign(n, mctLiteral);

  // The first field separator not escaped by "\" within the last four characters ends the
  // text part; a ";" before them is a literal.
  int textEnd = n;
  for (int i = 0; i < n; ++i) {
    if (m[i] == U'\\') {
      ++i;
    } else if (m[i] == U';' && i >= n - 4) {
      textEnd = i;
      break;
    }
  }
  if (textEnd < n) {
    for (int i = textEnd; i < n; ++i) types_[i] = m[i] == U';' ? mctSeparator : mctField;
    const bool hasSaveField = textEnd + 1 < n && m[textEnd + 1] != U';';
    saveLiterals_ = !(hasSaveField && m[textEnd + 1] == U'0');
    // B: the last character, after a separator, with the first separator one or two before.
    if (n >= 2 && m[n - 2] == U';' && n - 2 > textEnd) blankChar_ = m[n - 1];
  }
  if (n <= 3) saveLiterals_ = true;

  CaseConversion conversion = ccNone;
  for (int i = 0; i < textEnd; ++i) {
    const char32_t c = m[i];
    TqlMaskCharType type = mctLiteral;
    switch (c) {
      case U'\\':
        types_[i] = mctDirective;
        if (++i >= textEnd) continue;
        positions_.push_back({i, m[i], mctLiteral, conversion});  // types_[i] stays literal
        continue;
      case U'!':
        types_[i] = mctDirective;
        rightAligned_ = true;
        continue;
      case U'>':
        types_[i] = mctDirective;
        conversion = ccUpper;
        continue;
      case U'<':
        types_[i] = mctDirective;
        conversion = ccLower;
        if (i + 1 < textEnd && m[i + 1] == U'>') {  // "<>": no conversion
          types_[++i] = mctDirective;
          conversion = ccNone;
        }
        continue;
      case U'L': case U'A': case U'C': case U'0': type = mctRequired; break;
      case U'l': case U'a': case U'c': case U'9': case U'#': type = mctOptional; break;
      case U'/': case U':': type = mctIntlLiteral; break;
      default: break;
    }
    types_[i] = type;
    positions_.push_back({i, c, type, conversion});
  }
}

int TqlEditMask::MaskIndexOf(int textPos) const {
  return textPos >= 0 && textPos < TextLength() ? positions_[textPos].MaskIndex : -1;
}

int TqlEditMask::TextPosOf(int maskIndex) const {
  int textPos = 0;
  while (textPos < TextLength() && positions_[textPos].MaskIndex < maskIndex) ++textPos;
  return textPos;
}

bool TqlEditMask::IsLiteral(int textPos) const {
  if (textPos < 0 || textPos >= TextLength()) return true;
  const TqlMaskCharType type = positions_[textPos].Type;
  return type == mctLiteral || type == mctIntlLiteral;
}

bool TqlEditMask::IsRequired(int textPos) const {
  return textPos >= 0 && textPos < TextLength() && positions_[textPos].Type == mctRequired;
}

char32_t TqlEditMask::LiteralChar(int textPos) const {
  if (textPos < 0 || textPos >= TextLength()) return 0;
  const Position& pos = positions_[textPos];
  if (pos.Type == mctIntlLiteral) return MaskIntlLiteralToChar(pos.MaskChar);
  return pos.Type == mctLiteral ? pos.MaskChar : 0;
}

int TqlEditMask::NextInputPos(int textPos) const {
  while (textPos < TextLength() && IsLiteral(textPos)) ++textPos;
  return textPos;
}

int TqlEditMask::PrevInputPos(int textPos) const {
  while (textPos >= 0 && IsLiteral(textPos)) --textPos;
  return textPos < 0 ? NextInputPos(textPos) : textPos;
}

TqlMaskCharCheck TqlEditMask::CheckChar(int textPos, char32_t c) const {
  if (textPos < 0 || textPos >= TextLength()) return {};
  if (IsLiteral(textPos)) return {mcvAccepted, LiteralChar(textPos)};
  const Position& pos = positions_[textPos];
  bool accepted = false;
  if (!isControl(c)) {
    switch (pos.MaskChar) {
      case U'#': accepted = isAsciiDigit(c) || c == U' ' || c == U'+' || c == U'-'; break;
      case U'0': case U'9': accepted = isAsciiDigit(c); break;
      case U'L': case U'l': accepted = isAsciiLetter(c) || isWideChar(c); break;
      case U'A': case U'a': accepted = isAsciiLetter(c) || isAsciiDigit(c) || isWideChar(c); break;
      default: accepted = true; break;  // C, c
    }
  }
  if (accepted) {
    if (pos.Case == ccUpper && c >= U'a' && c <= U'z') c -= 0x20;
    if (pos.Case == ccLower && c >= U'A' && c <= U'Z') c += 0x20;
    return {mcvAccepted, c};
  }
  for (int p = textPos + 1; p < TextLength(); ++p) {
    if (!IsLiteral(p)) continue;
    if (LiteralChar(p) == c) return {mcvJumpToLiteral, 0, p};
    break;
  }
  return {};
}

// ---- values ----

std::u32string TqlEditMask::FormatChars(std::u32string value, char32_t blank) const {
  const int length = TextLength();
  if (!rightAligned_) {
    size_t at = 0;  // where the character for text position p is
    for (int p = 0; p < length; ++p, ++at) {
      if (IsLiteral(p)) value.insert(at, 1, LiteralChar(p));
      else if (at >= value.size()) value.push_back(blank);
    }
    value.resize(length);
  } else {
    size_t at = value.size();  // value[at..] is laid out; value[..at) is still to place
    for (int p = length - 1; p >= 0; --p) {
      if (IsLiteral(p)) value.insert(at, 1, LiteralChar(p));
      else if (at > 0) --at;
      else value.insert(0, 1, blank);
    }
    value.erase(0, at);
  }
  return value;
}

std::string TqlEditMask::Format(std::string_view rawValue, char32_t blank) const {
  return Utf32ToUtf8(FormatChars(Utf8ToUtf32(rawValue), blank));
}

std::string TqlEditMask::Pad(std::string_view value, char32_t blank) const {
  std::u32string v = Utf8ToUtf32(value);
  size_t at = 0;       // start of the current field in v
  int fieldStart = 0;  // its first text position
  auto fitField = [&](size_t end, int wanted) {
    std::u32string field = v.substr(at, end - at);
    const size_t size = static_cast<size_t>(wanted);
    if (field.size() < size)
      field.insert(rightAligned_ ? 0 : field.size(), size - field.size(), blank);
    if (field.size() > size) field.erase(rightAligned_ ? 0 : size, field.size() - size);
    v.replace(at, end - at, field);
    at += size;
  };
  for (int p = 0; p < TextLength(); ++p) {
    if (!IsLiteral(p)) continue;
    size_t found = v.find(LiteralChar(p), at);
    if (found == std::u32string::npos) {
      v.push_back(LiteralChar(p));
      found = v.size() - 1;
    }
    fitField(found, p - fieldStart);
    ++at;  // past the literal
    fieldStart = p + 1;
  }
  fitField(v.size(), TextLength() - fieldStart);
  for (int p = 0; p < TextLength(); ++p)
    if (!IsLiteral(p) && v[p] == U' ') v[p] = blank;
  return Utf32ToUtf8(v);
}

std::string TqlEditMask::EmptyTemplate() const { return Format({}, blankChar_); }

std::u32string TqlEditMask::RawChars(const std::u32string& text) const {
  std::u32string raw;
  for (int p = 0; p < static_cast<int>(text.size()); ++p)
    if (!IsLiteral(p)) raw.push_back(text[p]);
  if (rightAligned_) raw.erase(0, std::min(raw.find_first_not_of(blankChar_), raw.size()));
  else raw.erase(raw.find_last_not_of(blankChar_) + 1);  // npos + 1 == 0: all blanks go
  if (blankChar_ != U' ') std::replace(raw.begin(), raw.end(), blankChar_, U' ');
  return raw;
}

std::string TqlEditMask::RawValue(std::string_view text) const {
  if (!IsMasked()) return std::string(text);
  return Utf32ToUtf8(RawChars(Utf8ToUtf32(text)));
}

std::string TqlEditMask::ValueText(std::string_view text) const {
  if (!IsMasked()) return std::string(text);
  std::u32string raw = RawChars(Utf8ToUtf32(text));
  return Utf32ToUtf8(saveLiterals_ ? FormatChars(std::move(raw), U' ') : raw);
}

std::string TqlEditMask::EditingText(std::string_view text, bool ignoreMaskBlank) const {
  if (ignoreMaskBlank) return std::string(text);
  if (IsMasked() && text == EmptyTemplate()) return {};
  return ValueText(text);
}

std::string TqlEditMask::TextFromValue(std::string_view value) const {
  if (!IsMasked()) return std::string(value);
  return saveLiterals_ ? Pad(value, blankChar_) : Format(value, blankChar_);
}

int TqlEditMask::FirstInvalidPos(std::string_view text, bool ignoreMaskBlank) const {
  const std::u32string t = Utf8ToUtf32(text);
  for (int p = 0; p < TextLength(); ++p) {
    if (!IsRequired(p)) continue;
    const char32_t c = p < static_cast<int>(t.size()) ? t[p] : blankChar_;
    if (c == U' ' && positions_[p].MaskChar != U'C') return p;
    if (c == blankChar_ && !ignoreMaskBlank) return p;
  }
  return -1;
}

// ---- cursor ----

TqlMaskEditState MaskSetCursor(const TqlEditMask& mask, TqlMaskEditState state, int textPos) {
  if (!mask.IsMasked()) {
    const int p = clampPos(textPos, static_cast<int>(Utf8Length(state.Text)));
    state.Sel = {p, p};
    return state;
  }
  int p = std::max(textPos, 0);
  int e = p + 1;
  if (p >= mask.TextLength()) p = e = mask.TextLength();
  state.Sel = {e, p};
  state.CaretPos = p;
  return state;
}

TqlMaskEditState MaskCheckCursor(const TqlEditMask& mask, TqlMaskEditState state) {
  if (!mask.IsMasked() || state.Sel.Anchor != state.Sel.Active) return state;
  const int start = state.Sel.Start();
  return MaskSetCursor(mask, std::move(state), start);
}

TqlMaskEditState MaskMoveForward(const TqlEditMask& mask, TqlMaskEditState state, int textPos,
                                 int count) {
  const int next = mask.NextInputPos(textPos + count);
  return MaskSetCursor(mask, std::move(state), mask.IsLiteral(next) ? textPos : next);
}

TqlMaskEditState MaskMoveBack(const TqlEditMask& mask, TqlMaskEditState state, int textPos) {
  return MaskSetCursor(mask, std::move(state), mask.PrevInputPos(textPos - 1));
}

// ---- editing ----

namespace {

// Blanks [s, e) and puts the cursor on the first input position from s (a wide selection).
void blankSelection(const TqlEditMask& mask, TqlMaskEditState& state, std::u32string& text,
                    int s, int e) {
  blankRange(mask, text, s, e);
  state.Text = Utf32ToUtf8(text);
  state = MaskSetCursor(mask, std::move(state), mask.NextInputPos(s));
}

TqlMaskEditResult deleteKey(const TqlEditMask& mask, TqlMaskEditState state, bool backspace) {
  std::u32string text = Utf8ToUtf32(state.Text);
  const int size = static_cast<int>(text.size());
  int s, e;
  clampedSelection(state, size, s, e);
  if (backspace && e - s <= 1) {
    state = MaskMoveBack(mask, std::move(state), s);
    if (state.Sel.Start() == s) return {state};
    clampedSelection(state, size, s, e);
  }
  if (s == e) return {state};
  if (e - s > 1) {
    blankSelection(mask, state, text, s, e);
    return {state};
  }
  blankRange(mask, text, s, e);
  state.Text = Utf32ToUtf8(text);
  return {MaskSetCursor(mask, std::move(state), s)};
}

TqlMaskEditResult arrowKey(const TqlEditMask& mask, TqlMaskEditState state, bool right,
                           bool shift) {
  const int size = static_cast<int>(Utf8Length(state.Text));
  const int s = state.Sel.Start(), e = state.Sel.End();
  if (shift) {
    // Re-anchor the selection so that the window's own one-character step (the last line of
    // each branch) grows or shrinks it from the caret's side.
    if (right) {
      ++state.CaretPos;
      if (e == s + 1) {
        state.Sel = {s, e};
        ++state.CaretPos;
      }
      state.CaretPos = std::min(state.CaretPos, mask.TextLength());
      state.Sel.Active = std::min(state.Sel.Active + 1, size);
    } else {
      const int oldCaret = state.CaretPos--;
      if (e == s + 2 && s < oldCaret - 1) {
        state.Sel = {s + 1, s + 1};
        --state.CaretPos;
      }
      state.CaretPos = std::max(state.CaretPos, 0);
      state.Sel.Active = std::max(state.Sel.Active - 1, 0);
    }
    return {state};
  }
  if (e - s < 2) {
    if (!right) return {MaskMoveBack(mask, std::move(state), s)};
    if (s == e) return {MaskSetCursor(mask, std::move(state), s)};
    return {MaskMoveForward(mask, std::move(state), s, 1)};
  }
  const int caret = e == state.CaretPos ? state.CaretPos - 1 : state.CaretPos;
  return {MaskSetCursor(mask, std::move(state), caret)};
}

TqlMaskEditResult homeEndKey(const TqlEditMask& mask, TqlMaskEditState state, bool end,
                             bool shift) {
  const int length = mask.TextLength();
  int s = state.Sel.Start(), e = state.Sel.End();
  if (shift) {
    if (!end) {
      if (s != state.CaretPos && s + 1 != e) e = s + 1;
      state.Sel = {0, e};
    } else {
      if (e != state.CaretPos && s + 1 != e) s = e - 1;
      state.Sel = {s, length};
    }
    state = MaskCheckCursor(mask, std::move(state));
  } else {
    state = MaskSetCursor(mask, std::move(state), end ? length : 0);
  }
  state.CaretPos = end ? length : 0;
  return {state};
}

}  // namespace

TqlMaskEditResult MaskTypeChar(const TqlEditMask& mask, const TqlMaskEditState& state,
                               char32_t c) {
  TqlMaskEditResult result{state};
  if (!mask.IsMasked()) {
    result.Consumed = false;
    return result;
  }
  TqlMaskEditState& st = result.State;
  std::u32string text = Utf8ToUtf32(st.Text);
  int s, e;
  clampedSelection(st, static_cast<int>(text.size()), s, e);
  if (e - s > 1) blankSelection(mask, st, text, s, e);

  const int p = st.Sel.Start();
  const TqlMaskCharCheck check = mask.CheckChar(p, c);
  if (check.Verdict == mcvAccepted && p < static_cast<int>(text.size())) {
    text[p] = check.Char;
    st.Text = Utf32ToUtf8(text);
    st = MaskMoveForward(mask, std::move(st), p + 1, 0);
  } else if (check.Verdict == mcvJumpToLiteral) {
    st = MaskSetCursor(mask, std::move(st), check.LiteralPos);
  } else {
    result.Beep = true;
  }
  return result;
}

TqlMaskEditResult MaskKeyDown(const TqlEditMask& mask, const TqlMaskEditState& state,
                              TqlMaskKey key, bool shift, bool ctrl, bool mayModify) {
  if (!mask.IsMasked()) return {state, false, false};
  switch (key) {
    case mkLeft:
    case mkRight:
      if (ctrl) return {state, false, false};
      return arrowKey(mask, state, key == mkRight, shift);
    case mkUp:
    case mkDown:
      return {state};
    case mkHome:
    case mkEnd:
      return homeEndKey(mask, state, key == mkEnd, shift);
    case mkDelete:
    case mkBackspace:
      if (key == mkDelete && (shift || ctrl)) break;
      if (!mayModify) return {state};
      return deleteKey(mask, state, key == mkBackspace);
    case mkOther:
      break;
  }
  return {MaskCheckCursor(mask, state), false, false};
}

TqlMaskEditResult MaskPaste(const TqlEditMask& mask, const TqlMaskEditState& state,
                            std::string_view clip) {
  TqlMaskEditResult result{state};
  if (!mask.IsMasked()) {
    result.Consumed = false;
    return result;
  }
  std::u32string text = Utf8ToUtf32(state.Text);
  const int size = static_cast<int>(text.size());
  int s, e;
  clampedSelection(state, size, s, e);
  blankRange(mask, text, s, e);

  std::u32string piece;
  int p = s;
  for (char32_t c : Utf8ToUtf32(clip)) {
    if (c == U'\r' || c == U'\n') break;  // a single-line editor takes the first line
    while (p < mask.TextLength() && mask.IsLiteral(p) && mask.LiteralChar(p) != c) {
      piece.push_back(mask.LiteralChar(p));
      ++p;
    }
    if (p >= mask.TextLength()) break;
    const TqlMaskCharCheck check = mask.CheckChar(p, c);
    piece.push_back(check.Verdict == mcvAccepted ? check.Char : mask.BlankChar());
    ++p;
  }
  const int replaced = std::min(static_cast<int>(piece.size()), size - s);
  text.replace(s, replaced, piece.substr(0, replaced));
  result.State.Text = Utf32ToUtf8(text);
  result.State = MaskSetCursor(mask, std::move(result.State), s + replaced);
  return result;
}

TqlMaskEditResult MaskClear(const TqlEditMask& mask, const TqlMaskEditState& state) {
  TqlMaskEditResult result{state};
  if (!mask.IsMasked()) {
    result.Consumed = false;
    return result;
  }
  result.State.Text = mask.EmptyTemplate();
  result.State.Sel = {0, 0};
  result.State = MaskCheckCursor(mask, std::move(result.State));
  return result;
}
