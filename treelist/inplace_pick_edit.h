#pragma once
// TqlInplacePickEdit: a drop-down editor whose popup offers a fixed list of texts (the pick
// list). The text stays freely editable; the popup selects the item equal to the text (letter
// case ignored), typing while it shows searches it (two-second pause rule of the pick list
// box), and a click, Enter, Alt+Up or F4 puts the selected item into the text. The wheel and,
// with the popup closed, nothing else steps through the items.
#include <memory>
#include <string>
#include <vector>

#include "treelist/inplace_drop_down_edit.h"

class TCustomqlPopupPickListBox;

class TqlInplacePickEdit : public TqlInplaceDropDownEdit {
 public:
  explicit TqlInplacePickEdit(TComponent* AOwner);
  ~TqlInplacePickEdit() override;

  const std::vector<std::string>& Items() const { return items_; }
  void SetItems(std::vector<std::string> value) { items_ = std::move(value); }
  // The index of the item equal to the text, letter case ignored; -1 when none is.
  int ItemIndex() const;
  TCustomqlPopupPickListBox& PopupList() const { return *list_; }

  void DropDown() override;
  void CloseUp(bool accept) override;
  void StepValue(int delta) override;
  void SearchPopup(const std::string& text) override;

 private:
  std::vector<std::string> items_;
  std::unique_ptr<TCustomqlPopupPickListBox> list_;
};
