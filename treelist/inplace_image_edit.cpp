// TqlInplaceImageEdit (inplace_image_edit.h): the value as a description with an image, the
// popup list of descriptions, typing and stepping through the values.
#include "treelist/inplace_image_edit.h"

#include <algorithm>
#include <charconv>

#include "platform/core/utf8.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/image_list.h"
#include "platform/ui/native_edit.h"
#include "treelist/container.h"
#include "treelist/popup_list_box.h"
#include "treelist/popup_placement.h"

int ImageEditImageIndex(int item, bool defaultImages, const std::vector<std::string>& imageIndexes) {
  if (defaultImages || item < 0) return item;
  if (item >= static_cast<int>(imageIndexes.size())) return item;
  const std::string& text = imageIndexes[item];
  int value = 0;
  const char* first = text.data();
  const char* last = first + text.size();
  while (first < last && *first == ' ') ++first;
  const auto [end, error] = std::from_chars(first, last, value);
  return error == std::errc() && end == last ? value : -1;
}

TqlInplaceImageEdit::TqlInplaceImageEdit(TComponent* AOwner)
    : TqlInplaceDropDownEdit(AOwner), list_(std::make_unique<TqlPopupImageListBox>(nullptr)) {
  SetPopupOnClick(true);
  Host().SetHidden(true);  // the editor paints the description itself
  list_->OnMouseUp = [this](TObject*, TMouseButton button, TShiftState, int x, int y) {
    if (button == mbLeft) CloseUp(list_->ClientRect().Contains({x, y}));
  };
}

TqlInplaceImageEdit::~TqlInplaceImageEdit() {
  ClosePopupQuietly();
  SetPopup(nullptr);
  list_->OnMouseUp = nullptr;
}

void TqlInplaceImageEdit::SetValueList(std::vector<std::string> value) {
  values_ = std::move(value);
  Invalidate();
}
void TqlInplaceImageEdit::SetDescriptionList(std::vector<std::string> value) {
  descriptions_ = std::move(value);
  Invalidate();
}
void TqlInplaceImageEdit::SetImageIndexList(std::vector<std::string> value) {
  imageIndexes_ = std::move(value);
  Invalidate();
}
void TqlInplaceImageEdit::SetSmallImageList(const TImageList* value) {
  smallImages_ = value;
  StyleChanged();
}
void TqlInplaceImageEdit::SetLargeImageList(const TImageList* value) {
  largeImages_ = value;
  StyleChanged();
}
void TqlInplaceImageEdit::SetDefaultImages(bool value) {
  defaultImages_ = value;
  Invalidate();
}
void TqlInplaceImageEdit::SetShowDescription(bool value) {
  showDescription_ = value;
  Invalidate();
}

// ===== value, description, image ===============================================================

int TqlInplaceImageEdit::ItemIndex() const {
  const std::string value = EditText();
  const auto it = std::find(values_.begin(), values_.end(), value);
  return it == values_.end() ? -1 : static_cast<int>(it - values_.begin());
}

std::string TqlInplaceImageEdit::descriptionOf(int item) const {
  return item >= 0 && item < static_cast<int>(descriptions_.size()) ? descriptions_[item]
                                                                   : std::string();
}

std::vector<std::string> TqlInplaceImageEdit::descriptions() const {
  std::vector<std::string> texts;
  texts.reserve(values_.size());
  for (int i = 0; i < static_cast<int>(values_.size()); ++i) texts.push_back(descriptionOf(i));
  return texts;
}

std::string TqlInplaceImageEdit::Description() const { return descriptionOf(ItemIndex()); }

int TqlInplaceImageEdit::ImageIndex() const {
  return ImageEditImageIndex(ItemIndex(), defaultImages_, imageIndexes_);
}

void TqlInplaceImageEdit::SetValue(int item) {
  if (item < 0 || item >= static_cast<int>(values_.size())) return;
  SetValueText(values_[item]);
}

// ===== painting ================================================================================

// With the description: the image area (the small images' width) at the left, the description
// after it, centred vertically and shown selected while the editor has the focus. Without it:
// the image alone, centred.
void TqlInplaceImageEdit::Paint() {
  TCanvas& canvas = Canvas();
  TRect rect = ClientRect();
  canvas.Brush.SetStyle(bsSolid);
  canvas.Brush.SetColor(Color());
  canvas.FillRect(rect);
  const int image = ImageIndex();
  const bool validImage = smallImages_ && image >= 0 && image < smallImages_->Count();
  if (!showDescription_) {
    if (validImage)
      smallImages_->Draw(canvas, rect.Left + (rect.Width() - smallImages_->Width()) / 2,
                         rect.Top + (rect.Height() - smallImages_->Height()) / 2, image, Enabled());
    return;
  }
  if (smallImages_) {
    if (validImage)
      smallImages_->Draw(canvas, rect.Left, rect.Top + (rect.Height() - smallImages_->Height()) / 2,
                         image, Enabled());
    rect.Left += smallImages_->Width();
  }
  const std::string text = Description();
  canvas.Font.Assign(Font());
  const TSize extent = canvas.TextExtent(text);
  const int x = rect.Left + 2;
  const int y = rect.Top + (rect.Height() - extent.cy) / 2;
  if (Focused() && !text.empty()) {
    canvas.Brush.SetColor(clHighlight);
    canvas.FillRect(IntersectRect({x - 1, y, x + extent.cx + 1, y + extent.cy}, rect));
    canvas.Font.SetColor(clHighlightText);
  } else if (!Enabled()) {
    canvas.Font.SetColor(clGrayText);
  }
  canvas.Brush.SetStyle(bsClear);
  canvas.TextRect(rect, x, y, text);
}

// ===== the popup ===============================================================================

void TqlInplaceImageEdit::DropDown() {
  if (!CanModifyText()) return;
  if (!Focused()) {
    SetFocus();
    if (!Focused()) return;
  }
  DoButtonAndDropDownEvents();
  if (values_.empty()) return;
  TqlPopupImageListBox& list = *list_;
  PreparePopupList(list);
  list.SetImages(largeImages_ ? largeImages_ : smallImages_);
  list.SetMultiLine(multiLineText_);
  list.Clear();
  const std::vector<std::string> texts = descriptions();
  for (int i = 0; i < static_cast<int>(texts.size()); ++i) {
    int image = i < static_cast<int>(imageIndexes_.size()) || defaultImages_
                    ? ImageEditImageIndex(i, defaultImages_, imageIndexes_)
                    : -1;
    list.AddItem(texts[i], image < 0 ? -2 : image);
  }
  const TImageList* images = largeImages_ ? largeImages_ : list.Images();
  const int imageWidth = images ? images->Width() : list.RealItemHeight();
  list.SetItemIndex(ItemIndex());
  OpenPopupList(list, PopupListClientWidth(DropDownWidth(), WidestText(texts), imageWidth));
}

void TqlInplaceImageEdit::CloseUp(bool accept) {
  if (!PopupVisible()) return;
  HidePopupList();
  const int item = list_->ItemIndex();
  if (item >= 0 && item < static_cast<int>(values_.size())) TakeChosenValue(values_[item], accept);
}

void TqlInplaceImageEdit::StepValue(int delta) {
  if (ReadOnly() || values_.empty()) return;
  const int from = std::max(ItemIndex(), 0);
  SetValue(std::clamp(from + delta, 0, static_cast<int>(values_.size()) - 1));
}

void TqlInplaceImageEdit::SearchPopup(const std::string& text) {
  const int found = FindItemStartingWith(descriptions(), text);
  if (found >= 0) list_->SetItemIndex(found);
}

// ===== keys ====================================================================================

// A typed character picks the next description that starts with it, after the current value
// and wrapping to the top.
void TqlInplaceImageEdit::InsertTyped(char32_t ch) {
  if (values_.empty()) return;
  std::string typed;
  AppendUtf8(ch, typed);
  const int current = ItemIndex();
  const int found = FindItemStartingWith(descriptions(), typed, current);
  if (found >= 0 && found != current) SetValue(found);
}

void TqlInplaceImageEdit::WMKeyDown(TWMKey& msg) {
  uint16_t& key = msg.CharCode;
  const bool plain = !msg.Shift.contains(ssAlt);
  if (incremental_ && plain && !PopupVisible()) {
    const int rows = DropDownRows();
    const int last = static_cast<int>(values_.size()) - 1;
    switch (key) {
      case VK_PRIOR: StepValue(1 - rows); key = 0; return;
      case VK_NEXT: StepValue(rows - 1); key = 0; return;
      case VK_HOME: if (!ReadOnly()) SetValue(0); key = 0; return;
      case VK_END: if (!ReadOnly()) SetValue(last); key = 0; return;
      case VK_RIGHT: case VK_DOWN: StepValue(1); key = 0; return;
      case VK_LEFT: case VK_UP: StepValue(-1); key = 0; return;
      default: break;
    }
  }
  TqlInplaceDropDownEdit::WMKeyDown(msg);
  if ((key == VK_LEFT || key == VK_RIGHT) && Container()) {
    const bool left = key == VK_LEFT;
    key = 0;
    Container()->MoveToNeighbourColumn(left);
  }
}
