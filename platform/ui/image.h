#pragma once
// TImage: a picture painted on its parent (a graphic control).
//
// Where the picture goes (the framework's DestRect): its own size at the top-left; with
// Stretch the whole client area; with Center the result centred in the client area. Drawing
// is a nearest-neighbour stretch; with Transparent the picture's transparent colour (its
// bottom-left pixel) leaves the parent's pixels untouched. AutoSize makes the control the
// picture's size whenever the picture changes.
#include <string>

#include "platform/gfx/bitmap.h"
#include "platform/ui/control.h"

// The picture of an image: one bitmap, loaded from a .bmp or a JPEG, telling its owner when it
// changes.
class TPicture {
 public:
  const TBitmap& Bitmap() const { return bitmap_; }
  int Width() const { return bitmap_.Width(); }
  int Height() const { return bitmap_.Height(); }
  bool Empty() const { return bitmap_.Empty(); }
  void Assign(const TBitmap& bitmap);
  // By extension: .jpg / .jpeg through libjpeg, anything else as a Windows bitmap.
  void LoadFromFile(const std::string& path);
  void LoadJpegBytes(const uint8_t* data, size_t size);
  void Clear();

  TNotifyEvent OnChange;

 private:
  void changed() { if (OnChange) OnChange(nullptr); }
  TBitmap bitmap_;
};

class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* AOwner);

  TPicture& Picture() { return picture_; }
  const TPicture& Picture() const { return picture_; }
  bool Stretch() const { return stretch_; }
  void SetStretch(bool value);
  bool Center() const { return center_; }
  void SetCenter(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);

  // Where Paint puts the picture, in client coordinates.
  TRect DestRect() const;

 protected:
  void Paint() override;

 private:
  void pictureChanged();

  TPicture picture_;
  bool stretch_ = false;
  bool center_ = false;
  bool transparent_ = false;
  bool autoSize_ = false;
};
