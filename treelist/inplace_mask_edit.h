#pragma once
// TqlInplaceMaskEdit: the text editor with an edit mask (edit_mask.h). With an empty mask it is
// its base. With a mask the window shows the mask's template, typing overwrites the one
// character under the block cursor when the mask accepts it there, the cursor stays on input
// positions, and validation refuses a text whose required positions are not all filled.
//
// The mask's rules are the pure functions of edit_mask.h; this class only reads the window's
// text, selection and caret into a state, hands it to them, and puts the result back.
#include <string>

#include "treelist/edit_mask.h"
#include "treelist/inplace_text_edit.h"

// The message of an unfilled mask (two spaces after the first full stop).
inline constexpr const char* kqlMaskInvalidInputText =
    "Invalid input value.  Use escape key to abandon changes";

class TqlInplaceMaskEdit : public TqlInplaceTextEdit {
 public:
  using TqlInplaceTextEdit::TqlInplaceTextEdit;

  const std::string& EditMask() const { return mask_.Mask(); }
  // Set by the property: the mask counts as set explicitly from then on.
  void SetEditMask(const std::string& value);
  bool IsMasked() const { return mask_.IsMasked(); }
  bool IgnoreMaskBlank() const { return ignoreMaskBlank_; }
  void SetIgnoreMaskBlank(bool value) { ignoreMaskBlank_ = value; }
  int CaretPos() const { return caret_; }

  // The window text for a value (the template filled in) and the value the window holds.
  void SetEditText(const std::string& value) override;
  std::string ValueText() const override;
  // What the grid reads while editing.
  std::string EditingText() const;

  void Validate() override;
  void PasteFromClipboard() override;
  void ClearSelection() override;

 protected:
  void InsertTyped(char32_t ch) override;
  void WMKeyDown(TWMKey& msg) override;
  void WMSetFocus() override;
  void ActivationHook() override;
  void TextLengthChanged() override;

 private:
  void applyMask(const TqlEditMask& mask);
  TqlMaskEditState state() const;
  void apply(const TqlMaskEditResult& result, bool modifies);
  void checkCursor();

  TqlEditMask mask_;
  bool ignoreMaskBlank_ = false;
  bool maskSetExplicitly_ = false;
  int caret_ = 0;  // text position of the block cursor
};
