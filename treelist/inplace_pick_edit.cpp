// TqlInplacePickEdit (inplace_pick_edit.h): the pick list popup of a free text.
#include "treelist/inplace_pick_edit.h"

#include <algorithm>

#include "platform/core/utf8_case.h"
#include "treelist/popup_list_box.h"
#include "treelist/popup_placement.h"

TqlInplacePickEdit::TqlInplacePickEdit(TComponent* AOwner)
    : TqlInplaceDropDownEdit(AOwner), list_(std::make_unique<TCustomqlPopupPickListBox>(nullptr)) {
  list_->OnMouseUp = [this](TObject*, TMouseButton button, TShiftState, int x, int y) {
    if (button == mbLeft) CloseUp(list_->ClientRect().Contains({x, y}));
  };
}

TqlInplacePickEdit::~TqlInplacePickEdit() {
  ClosePopupQuietly();
  SetPopup(nullptr);
  list_->OnMouseUp = nullptr;
}

int TqlInplacePickEdit::ItemIndex() const {
  const std::string text = Utf8UpperCase(ValueText());
  for (int i = 0; i < static_cast<int>(items_.size()); ++i)
    if (Utf8UpperCase(items_[i]) == text) return i;
  return -1;
}

void TqlInplacePickEdit::DropDown() {
  if (!CanModifyText()) return;
  if (!Focused()) {
    SetFocus();
    if (!Focused()) return;
  }
  DoButtonAndDropDownEvents();
  if (items_.empty()) return;
  TCustomqlPopupPickListBox& list = *list_;
  PreparePopupList(list);
  list.Clear();
  for (const std::string& item : items_) list.AddItem(item);
  list.SetItemIndex(ItemIndex());
  OpenPopupList(list, PopupListClientWidth(DropDownWidth(), WidestText(items_), -4));
}

void TqlInplacePickEdit::CloseUp(bool accept) {
  if (!PopupVisible()) return;
  HidePopupList();
  const int item = list_->ItemIndex();
  if (item >= 0 && item < static_cast<int>(items_.size())) TakeChosenValue(items_[item], accept);
}

void TqlInplacePickEdit::StepValue(int delta) {
  if (!CanModifyText() || items_.empty()) return;
  const int current = ItemIndex();
  const int from = current < 0 ? (delta > 0 ? -1 : static_cast<int>(items_.size())) : current;
  SetValueText(items_[std::clamp(from + delta, 0, static_cast<int>(items_.size()) - 1)]);
}

void TqlInplacePickEdit::SearchPopup(const std::string& text) {
  const int found = FindItemStartingWith(items_, text);
  if (found >= 0) list_->SetItemIndex(found);
}
