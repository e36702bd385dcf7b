#include "platform/gfx/graphics.h"

#include <cmath>

TPen& TPen::operator=(const TPen& other) {
  if (this == &other) return *this;
  bool same = color_ == other.color_ && width_ == other.width_ && style_ == other.style_ &&
              mode_ == other.mode_;
  copyValues(other);
  if (!same) changed();
  return *this;
}
void TPen::SetColor(TColor value) { if (value != color_) { color_ = value; changed(); } }
void TPen::SetWidth(int value) {
  if (value < 1) value = 1;
  if (value != width_) { width_ = value; changed(); }
}
void TPen::SetStyle(TPenStyle value) { if (value != style_) { style_ = value; changed(); } }
void TPen::SetMode(TPenMode value) { if (value != mode_) { mode_ = value; changed(); } }

TBrush& TBrush::operator=(const TBrush& other) {
  if (this == &other) return *this;
  bool same = color_ == other.color_ && style_ == other.style_ && bitmap_ == other.bitmap_;
  copyValues(other);
  if (!same) changed();
  return *this;
}
void TBrush::SetColor(TColor value) {
  // Giving a clear brush a colour makes it solid: whoever sets a colour wants it painted.
  bool styleChange = style_ == bsClear;
  if (value == color_ && !styleChange) return;
  color_ = value;
  if (styleChange) style_ = bsSolid;
  changed();
}
void TBrush::SetStyle(TBrushStyle value) { if (value != style_) { style_ = value; changed(); } }
void TBrush::SetBitmap(TBitmap* value) { if (value != bitmap_) { bitmap_ = value; changed(); } }

TFont& TFont::operator=(const TFont& other) {
  if (this == &other) return *this;
  bool same = SameFontValues(*this, other);
  copyValues(other);
  if (!same) changed();
  return *this;
}
void TFont::SetName(const std::string& value) { if (value != name_) { name_ = value; changed(); } }
void TFont::SetHeight(int value) { if (value != height_) { height_ = value; changed(); } }
int TFont::Size() const {
  return int(std::lround(-height_ * 72.0 / ScreenPixelsPerInch));
}
void TFont::SetSize(int points) {
  SetHeight(-int(std::lround(points * double(ScreenPixelsPerInch) / 72.0)));
}
void TFont::SetCharset(TFontCharset value) { if (value != charset_) { charset_ = value; changed(); } }
void TFont::SetStyle(TFontStyles value) { if (value != style_) { style_ = value; changed(); } }
void TFont::SetColor(TColor value) { if (value != color_) { color_ = value; changed(); } }
void TFont::SetPitch(TFontPitch value) { if (value != pitch_) { pitch_ = value; changed(); } }

TFont MakeFont(const std::string& name, int height, TFontCharset charset) {
  TFont font;
  font.SetName(name);
  font.SetHeight(height);
  font.SetCharset(charset);
  return font;
}
