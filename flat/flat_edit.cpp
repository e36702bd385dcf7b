#include "flat/flat_edit.h"

TCustomFlatEdit::TCustomFlatEdit(TComponent* AOwner) : TFlatEditControl(AOwner, nekSingleLine) {
  SetBounds(0, 0, 121, 19);
}

bool TCustomFlatEdit::IsSameFlatClass(const TControl* control) const {
  return dynamic_cast<const TFlatEdit*>(control) != nullptr;
}

void TCustomFlatEdit::SetCharCase(TEditCharCase value) {
  charCase_ = value;
  Host().SetCharCase(value == ecUpperCase   ? nccUpperCase
                     : value == ecLowerCase ? nccLowerCase
                                            : nccNormal);
}

void TCustomFlatEdit::SetPasswordChar(char32_t value) {
  passwordChar_ = value;
  Host().SetPasswordChar(value);
}

void TCustomFlatEdit::adjustHeight() {
  TCanvas measure;  // unbound: measures only
  measure.Font = Font();
  TTextMetric metric;
  measure.GetTextMetrics(metric);
  SetHeight(metric.tmHeight + 6);
}

void TCustomFlatEdit::Loaded() {
  TFlatEditControl::Loaded();
  if (!IsDesigning()) adjustHeight();
}

void TCustomFlatEdit::CMFontChanged() {
  TFlatEditControl::CMFontChanged();
  if (!(IsDesigning() && IsLoading())) adjustHeight();
}
