#pragma once
// TImageList: equally sized images drawn with a mask (common-controls image list).
//
// Each image is kept as a colour bitmap and a mask (white = transparent, black = drawn), as
// ILC_COLOR | ILC_MASK lists do.
#include <vector>

#include "platform/core/types.h"
#include "platform/gfx/bitmap.h"

class TCanvas;

class TImageList {
 public:
  TImageList() = default;
  TImageList(int width, int height) : width_(width), height_(height) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Changing the size clears the list: the stored images have the old size.
  void SetWidth(int value);
  void SetHeight(int value);
  int Count() const { return int(images_.size()); }

  // Splits image into Width-wide pieces (left to right, as many as fit) and adds them with
  // the matching pieces of mask (white = transparent; nullptr = fully opaque). Returns the
  // index of the first added image, -1 when nothing was added.
  int Add(const TBitmap& image, const TBitmap* mask);
  // As Add, with the mask made from the pixels equal to transparentColor (clDefault: the
  // bottom-left pixel of image).
  int AddMasked(const TBitmap& image, TColor transparentColor);
  void Delete(int index);
  void Clear() { images_.clear(); }

  // Draws image index with its top-left at (x, y). Disabled: the image's opaque non-white
  // pixels are drawn embossed, clBtnHighlight moved by (1, 1) under clBtnShadow, the
  // engraved look of disabled buttons.
  void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;
  // The image on its own: transparent pixels come out in the image's stored colour.
  void GetBitmap(int index, TBitmap& bitmap) const;
  // The mask: white where transparent, black where drawn.
  void GetMask(int index, TBitmap& mask) const;

 private:
  struct Entry {
    TBitmap image;
    TBitmap mask;  // monochrome; white = transparent
  };
  int width_ = 16;
  int height_ = 16;
  std::vector<Entry> images_;
};
