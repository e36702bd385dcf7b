#pragma once
// TqlInplaceImageEdit: a drop-down editor whose value is one of ValueList, shown as the
// description of the same index (DescriptionList) with an image (ImageIndexList, or the index
// itself with DefaultImages). The editor paints the image and the description itself: its
// text window stays hidden and holds the value.
//
// Choosing: the popup lists the descriptions with their images; a click, Enter or F4 takes
// the selected one. Typing a character selects the next description that starts with it
// (wrapping to the top); with Incremental the arrow and paging keys step through the values
// without opening the list; the wheel steps too.
#include <memory>
#include <string>
#include <vector>

#include "treelist/inplace_drop_down_edit.h"

class TImageList;
class TqlPopupImageListBox;

// The image index of item i: i itself with default images; otherwise entry i of the index
// list as an integer (-1 when it is not one, i when the list has no entry i).
int ImageEditImageIndex(int item, bool defaultImages, const std::vector<std::string>& imageIndexes);

class TqlInplaceImageEdit : public TqlInplaceDropDownEdit {
 public:
  explicit TqlInplaceImageEdit(TComponent* AOwner);
  ~TqlInplaceImageEdit() override;

  // Three lists, parallel by index.
  const std::vector<std::string>& ValueList() const { return values_; }
  void SetValueList(std::vector<std::string> value);
  const std::vector<std::string>& DescriptionList() const { return descriptions_; }
  void SetDescriptionList(std::vector<std::string> value);
  const std::vector<std::string>& ImageIndexList() const { return imageIndexes_; }
  void SetImageIndexList(std::vector<std::string> value);
  // Non-owning; the owner of the lists keeps them alive while the editor uses them.
  const TImageList* SmallImageList() const { return smallImages_; }
  void SetSmallImageList(const TImageList* value);
  const TImageList* LargeImageList() const { return largeImages_; }
  void SetLargeImageList(const TImageList* value);
  bool DefaultImages() const { return defaultImages_; }
  void SetDefaultImages(bool value);
  bool ShowDescription() const { return showDescription_; }
  void SetShowDescription(bool value);
  bool MultiLineText() const { return multiLineText_; }
  void SetMultiLineText(bool value) { multiLineText_ = value; }
  bool Incremental() const { return incremental_; }
  void SetIncremental(bool value) { incremental_ = value; }

  // The index of the current value in ValueList (-1 when it is not there), its description
  // (empty without one) and its image index.
  int ItemIndex() const;
  std::string Description() const;
  int ImageIndex() const;
  // The popup list the editor owns.
  TqlPopupImageListBox& PopupList() const { return *list_; }

  void DropDown() override;
  void CloseUp(bool accept) override;
  void StepValue(int delta) override;
  void SearchPopup(const std::string& text) override;

 protected:
  void Paint() override;
  void InsertTyped(char32_t ch) override;
  void WMKeyDown(TWMKey& msg) override;
  void SetValue(int item);

 private:
  std::string descriptionOf(int item) const;
  // The description of every value, in ValueList order (empty where there is none).
  std::vector<std::string> descriptions() const;

  std::vector<std::string> values_;
  std::vector<std::string> descriptions_;
  std::vector<std::string> imageIndexes_;
  const TImageList* smallImages_ = nullptr;  // non-owning
  const TImageList* largeImages_ = nullptr;  // non-owning
  bool defaultImages_ = true;
  bool showDescription_ = true;
  bool multiLineText_ = false;
  bool incremental_ = false;
  std::unique_ptr<TqlPopupImageListBox> list_;
};
