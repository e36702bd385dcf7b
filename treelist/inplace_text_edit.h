#pragma once
// TqlInplaceTextEdit: the single-line plain-text in-place editor. Its text lives in the
// platform's native line editor (native_edit.h), which brings the system's input methods
// (Chinese input), selection, undo and redo; everything the user types comes back here first
// (OnCharTyped), so the container's character check, read-only text, CharCase and MaxLength
// rule every character, however it was typed.
//
// TqlInplaceTreeListTextEdit is the editor the tree-list uses for plain columns.
#include <memory>
#include <string>

#include "platform/ui/control_types.h"
#include "platform/ui/native_edit.h"
#include "treelist/inplace_edit.h"

// The context menu's items, in order.
enum TqlEditMenuItem {
  emiUndo, emiRedo, emiSeparator1, emiCut, emiCopy, emiPaste, emiDelete, emiSeparator2,
  emiSelectAll
};

class TqlInplaceTextEdit : public TqlInplaceEdit {
 public:
  explicit TqlInplaceTextEdit(TComponent* AOwner);
  ~TqlInplaceTextEdit() override;

  std::string EditText() const override;
  void SetEditText(const std::string& value) override;
  bool Modified() const override;
  void SetModified(bool value) override;
  void SetReadOnly(bool value) override;
  void SetAlignment(TAlignment value) override;

  TEditCharCase CharCase() const { return charCase_; }
  void SetCharCase(TEditCharCase value);
  // Characters; below 0 becomes 0, which means no limit of our own.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int value);
  bool OEMConvert() const { return oemConvert_; }
  void SetOEMConvert(bool value) { oemConvert_ = value; }
  char32_t PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char32_t value);
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool value) { autoSelect_ = value; }

  int SelStart() const;
  int SelLength() const;
  std::string SelText() const;
  void SetSelection(int start, int length);
  void SelectAll() override;
  void CaretToEnd() override;
  int TextLength() const;
  bool CanUndo() const;
  bool CanRedo() const;
  bool CanPaste() const;
  void Undo();
  void Redo();
  void ClearUndo();
  void CutToClipboard();
  void CopyToClipboard();
  virtual void PasteFromClipboard();
  virtual void ClearSelection();

  // Which context menu items are enabled now (an index per TqlEditMenuItem).
  std::vector<bool> ContextMenuEnabling() const;
  // Shows the context menu at a screen point and runs the chosen item.
  void ShowContextMenu(TPoint screenPos);
  static const std::vector<std::string>& ContextMenuCaptions();

  TNotifyEvent OnChange;

  TNativeEditHost* NativeEdit() override { return host_.get(); }

 protected:
  void InsertTyped(char32_t ch) override;
  void ActivationHook() override;
  void CMFontChanged() override;
  void CMColorChanged() override;
  // The case rule applied to a text.
  std::string Cased(const std::string& text) const;
  // The user changed the text (before OnChange); a masked editor re-applies a text whose
  // length no longer fits its template.
  virtual void TextLengthChanged() {}
  TNativeEditHost& Host() { return *host_; }
  const TNativeEditHost& Host() const { return *host_; }

 private:
  void hostChanged();
  void runMenuItem(int item);

  std::unique_ptr<TNativeEditHost> host_;
  TEditCharCase charCase_ = ecNormal;
  int maxLength_ = 0;
  bool oemConvert_ = false;
  char32_t passwordChar_ = 0;
  bool autoSelect_ = true;
};

class TqlInplaceTreeListTextEdit : public TqlInplaceTextEdit {
 public:
  using TqlInplaceTextEdit::TqlInplaceTextEdit;
};
