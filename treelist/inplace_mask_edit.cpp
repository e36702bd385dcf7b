// TqlInplaceMaskEdit (inplace_mask_edit.h): the window's state in and out of the mask rules.
#include "treelist/inplace_mask_edit.h"

#include "platform/core/utf8.h"
#include "platform/ui/services.h"
#include "treelist/container.h"

namespace {

// The key of the mask rules for a key code; mkOther for the rest.
TqlMaskKey maskKey(uint16_t key) {
  switch (key) {
    case VK_LEFT: return mkLeft;
    case VK_RIGHT: return mkRight;
    case VK_UP: return mkUp;
    case VK_DOWN: return mkDown;
    case VK_HOME: return mkHome;
    case VK_END: return mkEnd;
    case VK_DELETE: return mkDelete;
    case VK_BACK: return mkBackspace;
    default: return mkOther;
  }
}

}  // namespace

// ===== the mask ==============================================================================

void TqlInplaceMaskEdit::SetEditMask(const std::string& value) {
  maskSetExplicitly_ = true;
  if (value == mask_.Mask()) return;
  applyMask(TqlEditMask(value));
}

// The value under the old mask is laid out again on the new one.
void TqlInplaceMaskEdit::applyMask(const TqlEditMask& mask) {
  const std::string raw = mask_.RawValue(EditText());
  mask_ = mask;
  TqlInplaceTextEdit::SetEditText(mask_.IsMasked() ? mask_.Format(raw, mask_.BlankChar()) : raw);
  if (mask_.IsMasked()) SetMaxLength(mask_.TextLength());
  checkCursor();
}

void TqlInplaceMaskEdit::SetEditText(const std::string& value) {
  TqlInplaceTextEdit::SetEditText(mask_.IsMasked() ? mask_.TextFromValue(value) : value);
  if (mask_.IsMasked()) checkCursor();
}

std::string TqlInplaceMaskEdit::ValueText() const { return mask_.ValueText(EditText()); }

std::string TqlInplaceMaskEdit::EditingText() const {
  return mask_.EditingText(EditText(), ignoreMaskBlank_);
}

// ===== the window's state ====================================================================

TqlMaskEditState TqlInplaceMaskEdit::state() const {
  TqlMaskEditState s;
  s.Text = EditText();
  const int start = SelStart(), end = start + SelLength();
  // The block cursor shows as the one character after the caret selected.
  s.Sel = caret_ == start ? TqlMaskSelection{end, start} : TqlMaskSelection{start, end};
  s.CaretPos = caret_;
  return s;
}

void TqlInplaceMaskEdit::apply(const TqlMaskEditResult& result, bool modifies) {
  if (result.Beep) MessageBeep();
  const TqlMaskEditState& s = result.State;
  if (s.Text != EditText()) {
    const bool was = assigningText_;
    assigningText_ = !modifies;
    Host().SetText(s.Text);
    assigningText_ = was;
    if (modifies) {
      SetModified(true);
      TextChanged();
    }
  }
  SetSelection(s.Sel.Start(), s.Sel.End() - s.Sel.Start());
  caret_ = s.CaretPos;
}

void TqlInplaceMaskEdit::checkCursor() {
  if (!mask_.IsMasked()) return;
  TqlMaskEditState s = state();
  if (s.Sel.Start() != s.Sel.End()) return;
  apply({MaskCheckCursor(mask_, s), false, true}, false);
}

// ===== typing, keys, clipboard ===============================================================

void TqlInplaceMaskEdit::InsertTyped(char32_t ch) {
  if (!mask_.IsMasked()) return TqlInplaceTextEdit::InsertTyped(ch);
  TqlMaskEditResult result = MaskTypeChar(mask_, state(), ch);
  // A typed separator jumps to its literal; the cursor goes on to the input position after
  // it, so the next character typed lands there instead of being taken as the literal.
  const int caret = result.State.CaretPos;
  if (!result.Beep && caret < mask_.TextLength() && mask_.IsLiteral(caret))
    result.State = MaskSetCursor(mask_, result.State, mask_.NextInputPos(caret));
  apply(result, true);
}

void TqlInplaceMaskEdit::WMKeyDown(TWMKey& msg) {
  TqlInplaceTextEdit::WMKeyDown(msg);
  const uint16_t key = msg.CharCode;
  if (!mask_.IsMasked() || key == 0 || msg.Shift.contains(ssAlt)) return;
  const TqlMaskKey which = maskKey(key);
  if (which == mkOther) {
    checkCursor();
    return;
  }
  const TqlMaskEditResult result =
      MaskKeyDown(mask_, state(), which, msg.Shift.contains(ssShift), msg.Shift.contains(ssCtrl),
                  CanModifyText());
  if (!result.Consumed) return;
  apply(result, which == mkDelete || which == mkBackspace);
  msg.CharCode = 0;
}

void TqlInplaceMaskEdit::PasteFromClipboard() {
  if (!mask_.IsMasked() || !CanModifyText()) return TqlInplaceTextEdit::PasteFromClipboard();
  apply(MaskPaste(mask_, state(), ClipboardGetText()), true);
}

void TqlInplaceMaskEdit::ClearSelection() {
  if (!mask_.IsMasked() || !CanModifyText()) return TqlInplaceTextEdit::ClearSelection();
  apply(MaskClear(mask_, state()), true);
}

// A text of another length than the template (a program or an input method put it there)
// is laid out on the mask again.
void TqlInplaceMaskEdit::TextLengthChanged() {
  if (!mask_.IsMasked() || assigningText_) return;
  if (int(Utf8Length(EditText())) == mask_.TextLength()) return;
  TqlInplaceTextEdit::SetEditText(mask_.TextFromValue(EditText()));
  SetModified(true);
  checkCursor();
}

// ===== focus and validation ==================================================================

void TqlInplaceMaskEdit::WMSetFocus() {
  TqlInplaceTextEdit::WMSetFocus();
  checkCursor();
}

void TqlInplaceMaskEdit::ActivationHook() {
  TqlInplaceTextEdit::ActivationHook();
  if (mask_.IsMasked()) apply({MaskSetCursor(mask_, state(), mask_.NextInputPos(0)), false, true}, false);
}

// A required position left blank keeps the editor open with the cursor on it.
void TqlInplaceMaskEdit::Validate() {
  if (!mask_.IsMasked() || ValidationLock() > 0) return TqlInplaceTextEdit::Validate();
  const int invalid = Modified() ? mask_.FirstInvalidPos(EditText(), ignoreMaskBlank_) : -1;
  if (invalid < 0) {
    checkCursor();
    return TqlInplaceTextEdit::Validate();
  }
  if (HiddenByContainer()) {
    Restore();
    return;
  }
  if (Visible() && !Focused()) SetFocus();
  apply({MaskSetCursor(mask_, state(), invalid), false, true}, false);
  MessageBeep();
  throw EqlEditInvalidInput(kqlMaskInvalidInputText);
}
