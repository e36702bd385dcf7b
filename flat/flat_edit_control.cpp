#include "flat/flat_edit_control.h"

#include <algorithm>

#include "platform/ui/application.h"

TFlatEditControl::TFlatEditControl(TComponent* AOwner, TNativeEditKind kind)
    : TCustomControl(AOwner), host_(std::make_unique<TNativeEditHost>(*this, kind)) {
  SetNonClientInsets({FrameWidth, FrameWidth, FrameWidth, FrameWidth});
  SetTabStop(true);
  host_->OnChange = [this] {
    // Keep the framework's copy of the text in step, then tell the user.
    TCustomControl::SetText(host_->Text());
    Change();
  };
  host_->SetFont(Font());
  applyLook();
}

TFlatEditControl::~TFlatEditControl() {
  // The editor goes first: it must not report changes into a half-destroyed control.
  host_->OnChange = nullptr;
  host_.reset();
}

// --- colours and looks --------------------------------------------------------------------

void TFlatEditControl::setColor(TColor& slot, TColor value) {
  slot = value;
  RedrawBorder();
}

void TFlatEditControl::SetColorFlat(TColor value) {
  parentColor_ = false;
  setColor(colors_.Flat, value);
}

void TFlatEditControl::setShift(TAdvColors& shift, TAdvColors value) {
  if (colors_.SetShift(shift, value, colors_.Flat) && colors_.UseAdv) RedrawBorder();
}

void TFlatEditControl::SetUseAdvColors(bool value) {
  if (!StoreChanged(colors_.UseAdv, value)) return;
  SetParentColor(value);
  colors_.Derive(colors_.Flat);
  RedrawBorder();
}

void TFlatEditControl::SetParentColor(bool value) {
  if (!StoreChanged(parentColor_, value) || !value) return;
  if (Parent()) colors_.Flat = Parent()->Color();
  RedrawBorder();
}

void TFlatEditControl::SetParent(TWinControl* AParent) {
  TCustomControl::SetParent(AParent);
  // The framework only tells controls with its own parent-colour flag; this class keeps its
  // own flag, so it asks itself.
  if (AParent) CMParentColorChanged();
}

void TFlatEditControl::CMParentColorChanged() {
  if (Parent()) {
    if (colors_.UseAdv) {
      colors_.Flat = Parent()->Color();
      colors_.Derive(colors_.Flat);
    } else if (parentColor_) {
      colors_.Flat = Parent()->Color();
    }
  }
  RedrawBorder();
}

void TFlatEditControl::CMSysColorChange() {
  TCustomControl::CMSysColorChange();
  CMParentColorChanged();
}

bool TFlatEditControl::usesFlatLook() const {
  if (IsDesigning()) return true;
  if (Focused()) return false;
  if (!hot_) return true;
  // Hot: the flat look stays while the focus is on another control of this class.
  TCustomForm* activeForm = Application ? Application->ActiveForm() : nullptr;
  TWinControl* active = activeForm ? activeForm->ActiveControl() : nullptr;
  return active && IsSameFlatClass(active);
}

TColor TFlatEditControl::applyLook() {
  TColor background = usesFlatLook() ? colors_.Flat : colors_.Focused;
  if (Color() != background) SetColor(background);
  if (background != pushedBackground_ || Font().Color() != pushedText_) {
    pushedBackground_ = background;
    pushedText_ = Font().Color();
    host_->SetColors(background, pushedText_);
  }
  return background;
}

void TFlatEditControl::RedrawBorder() {
  applyLook();
  Invalidate();  // the frame is non-client: the paint pass redraws it through WMNCPaint
}

void TFlatEditControl::WMNCPaint(TCanvas& canvas) {
  TCustomControl::WMNCPaint(canvas);
  TColor background = applyLook();
  TRect frame{0, 0, Width(), Height()};
  canvas.Brush.SetStyle(bsSolid);
  canvas.Brush.SetColor(colors_.Border);
  canvas.FrameRect(frame);
  canvas.Brush.SetColor(background);
  frame = frame.Inflate(-1, -1);
  canvas.FrameRect(frame);
  frame = frame.Inflate(-1, -1);
  canvas.FrameRect(frame);
  PaintFrameExtras(canvas, frame, background);
}

void TFlatEditControl::CMMouseEnter() {
  TCustomControl::CMMouseEnter();
  if (!Application || !Application->Active()) return;
  hot_ = true;
  RedrawBorder();
}

void TFlatEditControl::CMMouseLeave() {
  TCustomControl::CMMouseLeave();
  hot_ = false;
  RedrawBorder();
}

void TFlatEditControl::WMSetFocus() {
  TCustomControl::WMSetFocus();
  if (!IsDesigning()) RedrawBorder();
}

void TFlatEditControl::WMKillFocus() {
  TCustomControl::WMKillFocus();
  if (!IsDesigning()) RedrawBorder();
}

void TFlatEditControl::CMEnabledChanged() {
  TCustomControl::CMEnabledChanged();
  RedrawBorder();
}

void TFlatEditControl::CMFontChanged() {
  TCustomControl::CMFontChanged();
  host_->SetFont(Font());
  applyLook();  // the text colour follows the font
}

// --- text ---------------------------------------------------------------------------------

std::string TFlatEditControl::Text() const { return host_->Text(); }

void TFlatEditControl::SetText(const std::string& value) {
  if (value == host_->Text()) return;
  host_->SetText(value);
}

void TFlatEditControl::Change() {
  if (OnChange) OnChange(this);
}

void TFlatEditControl::SetMaxLength(int value) {
  maxLength_ = std::max(0, value);
  host_->SetMaxLength(maxLength_);
}

void TFlatEditControl::SetReadOnly(bool value) {
  readOnly_ = value;
  host_->SetReadOnly(value);
}

int TFlatEditControl::SelStart() const { return host_->SelStart(); }
void TFlatEditControl::SetSelStart(int value) { host_->SetSelStart(value); }
int TFlatEditControl::SelLength() const { return host_->SelLength(); }
void TFlatEditControl::SetSelLength(int value) { host_->SetSelLength(value); }
std::string TFlatEditControl::SelText() const { return host_->SelText(); }
void TFlatEditControl::SelectAll() { host_->SelectAll(); }
bool TFlatEditControl::Modified() const { return host_->Modified(); }
void TFlatEditControl::SetModified(bool value) { host_->SetModified(value); }
