#pragma once
// Edit masks: a parsed mask string and the operations on masked text that the mask editor
// applies to its window. Pure values and functions: text, selection and caret go in, the new
// text, selection and caret come out; nothing here knows a window, a key code or a clipboard.
//
// Mask characters (one class each):
//   L required letter   A required letter or digit   C required any   0 required digit
//   l optional letter   a optional letter or digit   c optional any   9 optional digit
//   # optional digit, space, "+" or "-"
//   / date separator, : time separator (international literals, see MaskIntlLiteralToChar)
//   ! directive: optional characters show as leading blanks, the text is right-aligned
//   > directive: letters after it become upper case; < lower case; the pair <> no conversion
//   \ directive: the next character is a literal
//   ; field separator, only within the last four characters: "mask;S;B"
//   anything else, and any character after \: a literal
// Directives, separators and the fields take no text position; every other mask character
// is one text position (an input position or a literal position).
//
// Fields. S "0": literals are not part of the value; any other S, or none: they are. A mask of
// three characters or fewer always saves literals. B is the blank character ("_" without it),
// taken when the last character follows a separator and one of the two before that is one.
//
// Positions. Text is UTF-8 and every position here (text position, mask index, selection
// ends, caret) counts Unicode characters, so a character is never split. A byte-counted text
// needs two positions and a doubled mask letter for a double-byte character; here every
// character is one position, and a character at U+0080 or above (a Chinese character, any
// other non-ASCII character, the escape of an invalid byte) is accepted where a double-byte
// character is: at L l A a C c, never at 0 9 #. Only ASCII letters are letters and have a
// case; only ASCII digits are digits. Control characters (below U+0020, and U+007F) are
// refused at every input position.
//
// Text length. The editor keeps its masked text exactly TextLength() characters long (a text
// of another length is re-applied through TextFromValue). The editing operations rely on
// that; given another length they stay within the text and never grow it.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

// Date and time separators of the locale (a Chinese Windows locale uses these two).
constexpr char32_t kMaskDateSeparator = U'/';
constexpr char32_t kMaskTimeSeparator = U':';
// The character an international literal stands for: "/" the date separator, ":" the time
// separator; any other character stands for itself.
char32_t MaskIntlLiteralToChar(char32_t maskChar);

// Class of one mask character (by mask index).
enum TqlMaskCharType {
  mctLiteral,      // a literal position
  mctIntlLiteral,  // "/" or ":": a literal position showing the locale's separator
  mctRequired,     // L A C 0: an input position that validation requires
  mctOptional,     // l a c 9 #: an input position
  mctDirective,    // ! > < \ : no text position
  mctSeparator,    // ; starting or between the fields
  mctField,        // the S or B character
};

// Outcome of offering one character at one text position.
enum TqlMaskCharVerdict {
  mcvAccepted,       // Char is what goes into the text (case converted, or the literal)
  mcvRefused,        // the editor beeps
  mcvJumpToLiteral,  // refused, but it equals the next literal: the cursor goes to LiteralPos
};

struct TqlMaskCharCheck {
  TqlMaskCharVerdict Verdict = mcvRefused;
  char32_t Char = 0;    // with mcvAccepted
  int LiteralPos = -1;  // with mcvJumpToLiteral: text position of that literal
};

class TqlEditMask {
 public:
  TqlEditMask() = default;  // the empty mask: unmasked
  explicit TqlEditMask(std::string_view mask);

  const std::string& Mask() const { return mask_; }
  bool IsMasked() const { return !mask_.empty(); }
  int TextLength() const { return static_cast<int>(positions_.size()); }
  bool SaveLiterals() const { return saveLiterals_; }
  char32_t BlankChar() const { return blankChar_; }
  bool RightAligned() const { return rightAligned_; }  // the mask holds "!"

  int MaskLength() const { return static_cast<int>(types_.size()); }  // characters
  TqlMaskCharType CharType(int maskIndex) const { return types_.at(maskIndex); }
  // -1 for a text position outside 0 .. TextLength() - 1.
  int MaskIndexOf(int textPos) const;
  // Text positions before maskIndex: a directive maps to the position that follows it, an
  // index at or past the mask's text part to TextLength().
  int TextPosOf(int maskIndex) const;

  // True for literal positions and for every position outside 0 .. TextLength() - 1.
  bool IsLiteral(int textPos) const;
  bool IsRequired(int textPos) const;
  // The character a literal position shows (international literals converted); 0 elsewhere.
  char32_t LiteralChar(int textPos) const;

  // Input positions: the first one at or after textPos (TextLength() when none), and the
  // last one at or before textPos (the first input position when there is none before).
  int NextInputPos(int textPos) const;
  int PrevInputPos(int textPos) const;

  // Offers c at textPos as typing does.
  TqlMaskCharCheck CheckChar(int textPos, char32_t c) const;

  // A raw value (no literals) laid out on the mask: literals inserted, missing input
  // positions filled with blank (on the right; with "!" on the left, so that the value ends
  // right-aligned); characters beyond the input positions are dropped (on the left with "!").
  std::string Format(std::string_view rawValue, char32_t blank) const;
  // A value that holds literals: every field between two literals cut or padded with blank to
  // its length in the mask (on the left with "!"), a missing literal appended, and every space
  // at an input position turned into blank.
  std::string Pad(std::string_view value, char32_t blank) const;
  // Every input position blank, every literal position its literal.
  std::string EmptyTemplate() const;

  // The text without literal positions, blanks trimmed (leading with "!", trailing
  // otherwise), remaining blanks as spaces. Unmasked: text.
  std::string RawValue(std::string_view text) const;
  // What the editor hands to its data: RawValue, formatted again with spaces as blanks when
  // literals are saved. Unmasked: text.
  std::string ValueText(std::string_view text) const;
  // What the grid reads while editing: text itself with ignoreMaskBlank; "" when text is the
  // empty template; else ValueText.
  std::string EditingText(std::string_view text, bool ignoreMaskBlank) const;
  // The window text for a value: Pad when literals are saved, else Format. Unmasked: value.
  std::string TextFromValue(std::string_view value) const;
  // First required position holding the blank character (unless ignoreMaskBlank) or a space
  // (allowed at C); a position past the end of text counts as blank. -1 when text is valid.
  int FirstInvalidPos(std::string_view text, bool ignoreMaskBlank) const;

 private:
  enum CaseConversion { ccNone, ccUpper, ccLower };
  struct Position {
    int MaskIndex;
    char32_t MaskChar;  // the input class letter, or the literal as written
    TqlMaskCharType Type;
    CaseConversion Case;
  };

  std::string mask_;
  std::vector<TqlMaskCharType> types_;  // one per mask character
  std::vector<Position> positions_;     // one per text position
  bool saveLiterals_ = true;
  char32_t blankChar_ = U'_';
  bool rightAligned_ = false;

  std::u32string FormatChars(std::u32string value, char32_t blank) const;
  std::u32string RawChars(const std::u32string& text) const;
};

// The window's selection: Anchor stays where it was set, Active is the end that Shift+arrows
// move and where the window shows its caret. The block cursor at p is Anchor p + 1, Active p.
struct TqlMaskSelection {
  int Anchor = 0;
  int Active = 0;
  int Start() const { return std::min(Anchor, Active); }
  int End() const { return std::max(Anchor, Active); }
  bool operator==(const TqlMaskSelection&) const = default;
};

struct TqlMaskEditState {
  std::string Text;
  TqlMaskSelection Sel;
  int CaretPos = 0;  // text position of the block cursor (0 .. TextLength())
  bool operator==(const TqlMaskEditState&) const = default;
};

struct TqlMaskEditResult {
  TqlMaskEditState State;
  bool Beep = false;     // a character was refused
  bool Consumed = true;  // false: the window's own handling of the key or command follows
};

// Cursor operations. Unmasked, MaskSetCursor places an empty selection clamped to the text;
// masked, it selects the one character at p (an empty selection at the end when p is at or
// past TextLength()) and makes p the caret position.
TqlMaskEditState MaskSetCursor(const TqlEditMask& mask, TqlMaskEditState state, int textPos);
// An empty selection becomes the block cursor at its start (masked only).
TqlMaskEditState MaskCheckCursor(const TqlEditMask& mask, TqlMaskEditState state);
// To the next input position from textPos + count; stays at textPos when none follows.
TqlMaskEditState MaskMoveForward(const TqlEditMask& mask, TqlMaskEditState state, int textPos,
                                 int count);
// To the input position before textPos.
TqlMaskEditState MaskMoveBack(const TqlEditMask& mask, TqlMaskEditState state, int textPos);

// A typed character (not Backspace, Esc, Enter or a Ctrl+C/V/X), for an editor that may be
// modified: a selection wider than one character is blanked first; the character then
// overwrites the one position at the selection start. Not consumed when unmasked.
TqlMaskEditResult MaskTypeChar(const TqlEditMask& mask, const TqlMaskEditState& state,
                               char32_t c);

enum TqlMaskKey { mkLeft, mkRight, mkUp, mkDown, mkHome, mkEnd, mkDelete, mkBackspace, mkOther };
// A key pressed without Alt in a masked editor. Shift+Left and Shift+Right include the
// window's own one-character extension, so a consumed result is complete. Not consumed:
// Ctrl+arrows (the window moves by words; check the cursor when the key comes up), and every
// key when unmasked. Delete and Backspace change the text only when mayModify.
TqlMaskEditResult MaskKeyDown(const TqlEditMask& mask, const TqlMaskEditState& state,
                              TqlMaskKey key, bool shift, bool ctrl, bool mayModify);

// Paste: the selection blanked, then the first line of clip laid in from the selection start
// (each character checked as typed, a refused one becomes the blank, a differing literal of the
// mask is put in first); the cursor after the last inserted character. Not consumed unmasked.
TqlMaskEditResult MaskPaste(const TqlEditMask& mask, const TqlMaskEditState& state,
                            std::string_view clip);
// Clear: the whole text becomes the empty template, the cursor on position 0. Not consumed
// unmasked.
TqlMaskEditResult MaskClear(const TqlEditMask& mask, const TqlMaskEditState& state);
