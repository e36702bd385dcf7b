#pragma once
// What a pick-list column and an image column hand their editors, kept in one place so the
// plain and the data-aware columns of each kind share it.
//
//   TqlPickListSettings   the texts the pick-list editor offers
//   TqlImageListSettings  values, their descriptions and images; also what a cell shows for
//                         a stored value (its description and image)
#include <string>
#include <vector>

class TImageList;
class TqlInplaceEdit;
struct TqlCellImage;

struct TqlPickListSettings {
  std::vector<std::string> Items;
  int DropDownRows = 7;
  // Gives a pick-list editor the items and rows (other editors are left alone).
  void ApplyTo(TqlInplaceEdit& editor) const;
};

struct TqlImageListSettings {
  std::vector<std::string> Values;
  std::vector<std::string> Descriptions;
  std::vector<std::string> ImageIndexes;  // with DefaultImages off: the image of each value
  const TImageList* Images = nullptr;       // non-owning; small images, in cells and editor
  const TImageList* LargeImages = nullptr;  // non-owning; in the popup when set
  bool DefaultImages = true;                // value i shows image i
  bool ShowDescription = true;
  int DropDownRows = 7;
  // Gives an image editor the lists and settings (other editors are left alone).
  void ApplyTo(TqlInplaceEdit& editor) const;
  // The description (when shown) and image of a stored value; false for a value that is not
  // in Values (the cell then shows the text as it is).
  bool Display(std::string& text, TqlCellImage& image) const;
};
