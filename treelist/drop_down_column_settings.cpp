#include "treelist/drop_down_column_settings.h"

#include <algorithm>

#include "treelist/inplace_image_edit.h"
#include "treelist/inplace_pick_edit.h"
#include "treelist/treelist_model.h"

void TqlPickListSettings::ApplyTo(TqlInplaceEdit& editor) const {
  auto* pick = dynamic_cast<TqlInplacePickEdit*>(&editor);
  if (!pick) return;
  pick->SetItems(Items);
  pick->SetDropDownRows(DropDownRows);
}

void TqlImageListSettings::ApplyTo(TqlInplaceEdit& editor) const {
  auto* image = dynamic_cast<TqlInplaceImageEdit*>(&editor);
  if (!image) return;
  image->SetValueList(Values);
  image->SetDescriptionList(Descriptions);
  image->SetImageIndexList(ImageIndexes);
  image->SetSmallImageList(Images);
  image->SetLargeImageList(LargeImages);
  image->SetDefaultImages(DefaultImages);
  image->SetShowDescription(ShowDescription);
  image->SetDropDownRows(DropDownRows);
}

bool TqlImageListSettings::Display(std::string& text, TqlCellImage& image) const {
  const auto it = std::find(Values.begin(), Values.end(), text);
  if (it == Values.end()) return false;
  const int item = static_cast<int>(it - Values.begin());
  image.Images = Images;
  image.Index = ImageEditImageIndex(item, DefaultImages, ImageIndexes);
  text = ShowDescription && item < static_cast<int>(Descriptions.size()) ? Descriptions[item]
                                                                          : std::string();
  return true;
}
