#include "platform/ui/image.h"

#include <algorithm>
#include <cctype>

#include "platform/gfx/canvas.h"
#include "platform/gfx/jpeg.h"

void TPicture::Assign(const TBitmap& bitmap) {
  bitmap_ = bitmap;
  changed();
}

void TPicture::LoadFromFile(const std::string& path) {
  std::string ext = path.substr(path.find_last_of('.') == std::string::npos ? path.size()
                                                                            : path.find_last_of('.'));
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  if (ext == ".jpg" || ext == ".jpeg")
    bitmap_ = LoadJpeg(path);
  else
    bitmap_.LoadFromBmpFile(path);
  changed();
}

void TPicture::LoadJpegBytes(const uint8_t* data, size_t size) {
  bitmap_ = LoadJpeg(data, size);
  changed();
}

void TPicture::Clear() {
  bitmap_ = TBitmap();
  changed();
}

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 105, 105);
  picture_.OnChange = [this](TObject*) { pictureChanged(); };
}

void TImage::SetStretch(bool value) { SetAndInvalidate(stretch_, value); }

void TImage::SetCenter(bool value) { SetAndInvalidate(center_, value); }

void TImage::SetTransparent(bool value) { SetAndInvalidate(transparent_, value); }

void TImage::SetAutoSize(bool value) {
  if (StoreChanged(autoSize_, value) && value) pictureChanged();
}

void TImage::pictureChanged() {
  if (autoSize_ && !picture_.Empty()) SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
  Invalidate();
}

TRect TImage::DestRect() const {
  int w = picture_.Width(), h = picture_.Height();
  const int cw = ClientWidth(), ch = ClientHeight();
  if (stretch_) {
    w = cw;
    h = ch;
  }
  TRect r{0, 0, w, h};
  if (center_) r = r.Offset((cw - w) / 2, (ch - h) / 2);
  return r;
}

void TImage::Paint() {
  if (picture_.Empty()) return;
  TCanvas& canvas = Canvas();
  const TBitmap& picture = picture_.Bitmap();
  TRect dest = DestRect();
  if (!transparent_) {
    canvas.StretchDraw(dest, picture);
    return;
  }
  // A transparent picture: stretch it first, then draw leaving its transparent colour out.
  TBitmap scaled;
  const TBitmap* source = &picture;
  if (dest.Width() != picture.Width() || dest.Height() != picture.Height()) {
    scaled.SetSize(dest.Width(), dest.Height());
    scaled.Canvas().StretchBlt(0, 0, dest.Width(), dest.Height(), picture, 0, 0, picture.Width(),
                               picture.Height(), SRCCOPY);
    scaled.SetTransparentColor(picture.TransparentColor());
    source = &scaled;
  }
  TBitmap drawn = *source;
  drawn.SetTransparent(true);
  canvas.Draw(dest.Left, dest.Top, drawn);
}
