#pragma once
// TCustomFlatEdit / TFlatEdit: a single-line flat edit (see flat_edit_control.h for the
// frame and its looks). The edit sizes its height to its font: text-metric height + 6, after
// loading and whenever the font changes.
#include "flat/flat_edit_control.h"
#include "platform/ui/control_types.h"


class TCustomFlatEdit : public TFlatEditControl {
 public:
  explicit TCustomFlatEdit(TComponent* AOwner);

  TEditCharCase CharCase() const { return charCase_; }
  void SetCharCase(TEditCharCase value);
  char32_t PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char32_t value);

 protected:
  bool IsSameFlatClass(const TControl* control) const override;
  int WMGetDlgCode() override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
  void Loaded() override;
  void CMFontChanged() override;

 private:
  void adjustHeight();

  TEditCharCase charCase_ = ecNormal;
  char32_t passwordChar_ = 0;  // 0 = shows the text
};

// Publishes the properties; nothing else.
class TFlatEdit : public TCustomFlatEdit {
 public:
  using TCustomFlatEdit::TCustomFlatEdit;
};
