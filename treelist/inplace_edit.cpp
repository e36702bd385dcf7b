// TqlInplaceEdit (inplace_edit.h): activation, validation and the routing of keys between the
// editor and its container.
//
// Key down, in order:
//   0. while the container says the editor is stale (its column is no longer focused), keys
//      and characters are dropped
//   1. Escape restores the text and modified flag of the activation
//   2. Tab, Enter, Escape, Page Up, Page Down, Up, Down and Insert validate (a refusal throws
//      and the key goes no further)
//   3. with the validation lock held: Tab (without Alt), Enter, Escape, Page Up, Page Down, Up
//      and Down go to the grid's key handling, which ends the edit and moves; Insert without
//      modifiers too; F2 goes to OnKeyDown and then puts the caret at the end; Shift+Insert
//      and Delete are swallowed when the text may not change
//   4. the grid's OnKeyDown; the editing keys Ctrl+V, Ctrl+X, Backspace, Delete and
//      Shift+Insert are swallowed when the text may not change; the editor's own OnKeyDown
// Characters: the grid's OnKeyPress first; a character the container refuses beeps; Tab and
// Escape are dropped; nothing is typed into text that may not change.
#include "treelist/inplace_edit.h"

#include "platform/core/utf8.h"
#include "platform/gfx/canvas.h"
#include "platform/ui/form.h"
#include "platform/ui/services.h"
#include "treelist/container.h"
#include "treelist/edit_view_data.h"

namespace {

constexpr char32_t kTab = 9, kEscape = 27, kCtrlV = 0x16, kCtrlX = 0x18, kBackspace = 8;

}  // namespace

TqlInplaceEdit::TqlInplaceEdit(TComponent* AOwner)
    : TCustomControl(AOwner), container_(dynamic_cast<TCustomqlContainer*>(AOwner)) {
  SetTabStop(false);
  style_ = container_ ? container_->CreateEditStyle(this) : std::make_unique<TqlEditStyle>(this);
}

TqlInplaceEdit::~TqlInplaceEdit() = default;

void TqlInplaceEdit::SetEditText(const std::string& value) {
  const bool was = assigningText_;
  assigningText_ = true;
  text_ = value;
  assigningText_ = was;
}

bool TqlInplaceEdit::CanModifyText() const {
  return !readOnly_ && container_ && container_->CanEditorModify();
}

bool IsEditNavigationKey(uint16_t key) {
  switch (key) {
    case VK_TAB: case VK_RETURN: case VK_ESCAPE: case VK_PRIOR: case VK_NEXT: case VK_UP:
    case VK_DOWN:
      return true;
    default:
      return false;
  }
}

// ===== activation, validation ================================================================

void TqlInplaceEdit::Activate() {
  active_ = true;
  previousText_ = EditText();
  previousModified_ = Modified();
}

void TqlInplaceEdit::Restore() {
  SetEditText(previousText_);
  SetModified(previousModified_);
}

void TqlInplaceEdit::Validate() {
  if (!Modified() || validationLock_ > 0) return;
  std::string errorText = kqlInvalidInputText;
  bool accept = true;
  if (ValidateHook) ValidateHook(errorText, accept);
  if (accept) return;
  MessageBeep();
  if (Visible() && !Focused()) SetFocus();
  throw EqlEditInvalidInput(errorText);
}

void TqlInplaceEdit::ShowAt(const TRect& bounds) {
  const bool wasVisible = Visible();
  SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
  SetVisible(true);
  if (!Focused()) SetFocus();
  SelectAll();
  if (!wasVisible && activationLock_ == 0) ActivationHook();
}

void TqlInplaceEdit::HideWindow() { SetVisible(false); }

// ===== the frame =============================================================================

namespace {

// The editor's look as the edit painter reads it.
TqlEditViewData frameData(const TqlInplaceEdit& editor, const TRect& bounds) {
  TqlEditViewData data;
  const TqlEditStyle& style = editor.Style();
  data.Enabled = editor.Enabled();
  data.Focused = editor.Focused();
  data.Hot = editor.Focused();
  data.BorderColor = style.BorderColor();
  data.BorderStyle = style.BorderStyle();
  data.Edges = style.Edges();
  data.Shadow = style.Shadow();
  data.Bounds = bounds;
  data.BkColor = ColorToRGB(editor.Color());
  return data;
}

}  // namespace

int TqlInplaceEdit::BorderWidth() const {
  switch (style_->BorderStyle()) {
    case xbsNone: return 0;
    case xbsSingle: return 1;
    default: return 2;
  }
}

// The text window takes the content rectangle of the edit painter's geometry: the editor's
// bounds less the content margin (and the shadow), which holds the border.
void TqlInplaceEdit::StyleChanged() {
  const TRect probe{0, 0, 100, 100};
  const TqlEditViewGeometry g = TqlEditPainter().ComputeGeometry(frameData(*this, probe), false);
  const TRect inner = InnerInsets();
  SetNonClientInsets({g.ContentRect.Left - probe.Left + inner.Left,
                      g.ContentRect.Top - probe.Top + inner.Top,
                      probe.Right - g.ContentRect.Right + inner.Right,
                      probe.Bottom - g.ContentRect.Bottom + inner.Bottom});
  Invalidate();
}

TRect TqlInplaceEdit::FrameContentRect() const {
  return TqlEditPainter().ComputeGeometry(frameData(*this, {0, 0, Width(), Height()}), false)
      .ContentRect;
}

// The margin in the editor's colour, then the border as the edit painter draws it.
void TqlInplaceEdit::WMNCPaint(TCanvas& canvas) {
  const TqlEditViewData data = frameData(*this, {0, 0, Width(), Height()});
  TqlEditPainter painter;
  const TqlEditViewGeometry geometry = painter.ComputeGeometry(data, false);
  {
    TCanvasStateGuard guard(canvas);
    canvas.Brush.SetColor(data.BkColor);
    canvas.FillRect(data.Bounds);
  }
  painter.DrawFrame(canvas, geometry, data);
}

void TqlInplaceEdit::TextChanged() {
  if (assigningText_) return;
  if (ChangeHook) ChangeHook();
}

void TqlInplaceEdit::InsertTyped(char32_t ch) {
  std::string typed;
  AppendUtf8(ch, typed);
  text_ += typed;
  modified_ = true;
  TextChanged();
}

// ===== keys ==================================================================================

bool TqlInplaceEdit::dropsKeys() const { return container_ && container_->ShouldEditorDropKeys(); }

void TqlInplaceEdit::WMKeyDown(TWMKey& msg) {
  uint16_t& key = msg.CharCode;
  const TShiftState shift = msg.Shift;
  if (dropsKeys()) {
    key = 0;
    return;
  }
  if (key == VK_ESCAPE) Restore();
  if (IsEditNavigationKey(key) || key == VK_INSERT) Validate();
  TqlCounterScope lock(validationLock_);
  const bool mayChange = CanModifyText();
  const bool plain = !shift.contains(ssShift) && !shift.contains(ssCtrl) && !shift.contains(ssAlt);
  if (container_ && ((key == VK_TAB && !shift.contains(ssAlt)) ||
                     (IsEditNavigationKey(key) && key != VK_TAB) || (key == VK_INSERT && plain))) {
    TWMKey passed{key, shift};
    container_->DispatchKeyDown(passed);
    key = 0;
    return;
  }
  if (key == VK_INSERT && shift.contains(ssShift) && !mayChange) {
    key = 0;
    return;
  }
  if (key == VK_F2) {
    if (container_) container_->EditorKeyDown(key, shift);
    if (key == VK_F2) CaretToEnd();
    key = 0;
    return;
  }
  if (key == VK_DELETE && !mayChange) {
    key = 0;
    return;
  }
  if (container_) container_->EditorKeyDown(key, shift);
  if (key == 0) return;
  const bool ctrlOnly = shift.contains(ssCtrl) && !shift.contains(ssShift);
  const bool editingKey = (ctrlOnly && (key == 'V' || key == 'X')) || key == VK_BACK ||
                          key == VK_DELETE || (key == VK_INSERT && shift.contains(ssShift));
  if (editingKey && !mayChange) {
    key = 0;
    return;
  }
  KeyDown(key, shift);  // the editor's own OnKeyDown
}

void TqlInplaceEdit::WMKeyUp(TWMKey& msg) {
  if (dropsKeys()) return;
  if (container_ && container_->OnKeyUp) container_->OnKeyUp(container_, msg.CharCode, msg.Shift);
  TCustomControl::WMKeyUp(msg);
}

void TqlInplaceEdit::WMChar(char32_t& ch) {
  if (dropsKeys()) return;
  if (container_ && container_->OnKeyPress) container_->OnKeyPress(container_, ch);
  if (ch == 0) return;
  if (ch >= 32 && !(container_ && container_->CanEditorAcceptChar(ch))) {
    MessageBeep();
    return;
  }
  if (ch == kTab || ch == kEscape) return;
  if (!CanModifyText() && (ch >= 32 || ch == kCtrlV || ch == kCtrlX || ch == kBackspace)) return;
  KeyPress(ch);  // the editor's own OnKeyPress
  if (ch >= 32) InsertTyped(ch);
}

// Every key and character comes here; Tab only when the grid wants it (to move between its
// columns), else the form moves the focus on.
int TqlInplaceEdit::WMGetDlgCode() {
  int code = DLGC_WANTARROWS | DLGC_WANTALLKEYS | DLGC_WANTCHARS;
  if (container_ && (container_->DispatchGetDlgCode() & DLGC_WANTTAB)) code |= DLGC_WANTTAB;
  return code;
}

// ===== focus and mouse =======================================================================

void TqlInplaceEdit::WMSetFocus() {
  TCustomControl::WMSetFocus();
  if (container_ && !container_->IsDestroying()) container_->EditorFocusChanged();
}

void TqlInplaceEdit::WMKillFocus() {
  TCustomControl::WMKillFocus();
  if (container_ && !container_->IsDestroying()) container_->EditorFocusChanged();
}

void TqlInplaceEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && !Focused()) SetFocus();
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

bool TqlInplaceEdit::NoteTextPress(bool isDouble) {
  const uint32_t gridPress = clickTime_;
  clickTime_ = 0;
  if (isDouble) {
    DblClick();
    return false;
  }
  const bool quick = gridPress != 0 && container_ && container_->EditorDblClickFromQuickClicks() &&
                     GetTickCount() - gridPress <= static_cast<uint32_t>(GetDoubleClickTime());
  if (quick) DblClick();
  return quick;
}

void TqlInplaceEdit::DblClick() {
  if (container_ && container_->OnDblClick) container_->OnDblClick(container_);
  TCustomControl::DblClick();
}

// A wheel turn the editor does not use scrolls the grid, which ends the edit.
void TqlInplaceEdit::WMMouseWheel(TWMMouseWheel& msg) {
  if (!container_) return;
  container_->DispatchCancelMode();
  container_->DispatchMouseWheel(msg);
}
