// TCanvas state and dispatch: tools and DC state, clipping, origins, SaveDC, and the shape
// primitives (the GDI rules decide the pixels, raster paints them). Copies live in
// canvas_copy.cpp, text in canvas_text.cpp.
#include <algorithm>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/gdi_rules.h"
#include "platform/gfx/raster.h"

TCanvas::TCanvas() = default;

TCanvas::TCanvas(uint32_t* bits, int width, int height, int strideInPixels) {
  Bind(bits, width, height, strideInPixels);
}

TCanvas::~TCanvas() = default;

void TCanvas::Bind(uint32_t* bits, int width, int height, int strideInPixels) {
  bits_ = (width > 0 && height > 0) ? bits : nullptr;
  width_ = bits_ ? width : 0;
  height_ = bits_ ? height : 0;
  stride_ = bits_ ? std::max(strideInPixels, width) : 0;
  clip_.reset();
  viewportOrg_ = {};
  brushOrg_ = {};
  saved_.clear();
  invalidateClipCache();
}

bool TCanvas::MonochromeSurface() const { return ownerBitmap_ && ownerBitmap_->Monochrome(); }

// --- raw DC state ----------------------------------------------------------------------------

// A raw setter realises the tools first: otherwise the next text output would realise a
// font or brush chosen earlier and overwrite the raw value just set. So a raw setting holds
// until the font or brush changes again.
void TCanvas::realiseTools() {
  realiseFont();
  realiseBrush();
}

TColor TCanvas::SetTextColor(TColor color) {
  realiseTools();
  TColor old = textColor_;
  textColor_ = ColorToRGB(color);
  return old;
}

TColor TCanvas::SetBkColor(TColor color) {
  realiseTools();
  TColor old = bkColor_;
  bkColor_ = ColorToRGB(color);
  return old;
}

int TCanvas::SetBkMode(int mode) {
  realiseTools();
  int old = bkMode_;
  if (mode == TRANSPARENT || mode == OPAQUE) bkMode_ = mode;
  return old;
}

unsigned TCanvas::SetTextAlign(unsigned align) {
  unsigned old = textAlign_;
  textAlign_ = align;
  return old;
}

int TCanvas::SetPolyFillMode(int mode) {
  int old = polyFillMode_;
  if (mode == ALTERNATE || mode == WINDING) polyFillMode_ = mode;
  return old;
}

void TCanvas::realiseFont() {
  // A font changed since the last realisation sets the text colour from its own.
  TColor c = ColorToRGB(Font.Color());
  if (c != realisedFontColor_) {
    realisedFontColor_ = c;
    textColor_ = c;
  }
}

void TCanvas::realiseBrush() {
  // A brush changed since the last realisation sets the background: a solid brush an opaque
  // one in its colour; any other brush a transparent one.
  TColor c = ColorToRGB(Brush.Color());
  if (c != realisedBrushColor_ || Brush.Style() != realisedBrushStyle_) {
    realisedBrushColor_ = c;
    realisedBrushStyle_ = Brush.Style();
    if (Brush.Style() == bsSolid) {
      bkColor_ = c;
      bkMode_ = OPAQUE;
    } else {
      bkColor_ = ~c & 0xFFFFFF;  // never the hatch's own colour, so the hatch cannot vanish
      bkMode_ = TRANSPARENT;
    }
  }
}

void TCanvas::effectiveBackground(TColor& color, int& mode) const {
  TColor c = ColorToRGB(Brush.Color());
  if (c != realisedBrushColor_ || Brush.Style() != realisedBrushStyle_) {
    mode = Brush.Style() == bsSolid ? OPAQUE : TRANSPARENT;
    color = c;
  } else {
    mode = bkMode_;
    color = bkColor_;
  }
}

// --- raster inputs ---------------------------------------------------------------------------

raster::Surface TCanvas::surface() const {
  return {bits_, width_, height_, stride_, MonochromeSurface()};
}

uint32_t TCanvas::devicePixel(TColor color) const {
  uint32_t p = ColorToPixel(ColorToRGB(color));
  return MonochromeSurface() ? raster::SnapMono(p) : p;
}

bool TCanvas::brushForFill(raster::Brush& out) const {
  out = raster::Brush{};
  out.orgX = brushOrg_.X;
  out.orgY = brushOrg_.Y;
  if (const TBitmap* pattern = Brush.Bitmap(); pattern && !pattern->Empty()) {
    // A pattern bitmap repeats its top-left 8 x 8 pixels; a monochrome one takes the text
    // colour for black and the background colour for white, as Windows GDI paints a 1-bit
    // pattern brush.
    const uint32_t fg = devicePixel(textColor_), bg = devicePixel(bkColor_);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) {
        uint32_t p = pattern->ScanLine(y % pattern->Height())[x % pattern->Width()] & 0xFFFFFF;
        if (pattern->Monochrome()) p = p ? bg : fg;
        else if (MonochromeSurface()) p = raster::SnapMono(p);
        out.cells[y * 8 + x] = p;
      }
    out.solid = false;
    return true;
  }
  switch (Brush.Style()) {
    case bsClear:
      return false;
    case bsSolid:
      out = raster::Brush::Solid(devicePixel(Brush.Color()));
      out.orgX = brushOrg_.X;
      out.orgY = brushOrg_.Y;
      return true;
    default: {
      // Hatch brushes realise a transparent background, so only the hatch lines are
      // painted, in the brush colour.
      const uint8_t* rows = gdi::HatchRows(Brush.Style());
      const uint32_t c = devicePixel(Brush.Color());
      out.paintMask = 0;
      for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
          out.cells[y * 8 + x] = c;
          if ((rows[y] >> (7 - x)) & 1) out.paintMask |= 1ull << (y * 8 + x);
        }
      out.solid = false;
      return true;
    }
  }
}

raster::Brush TCanvas::brushForRop() const {
  raster::Brush b;
  if (!brushForFill(b)) {
    // A null brush as a pattern reads as its colour.
    b = raster::Brush::Solid(devicePixel(Brush.Color()));
    b.orgX = brushOrg_.X;
    b.orgY = brushOrg_.Y;
  }
  return b;
}

const std::vector<TRect>& TCanvas::clipRects() const {
  if (!clipCacheValid_) {
    clipCache_.clear();
    const TRect surf{0, 0, width_, height_};
    if (!clip_) {
      if (!surf.IsEmpty()) clipCache_.push_back(surf);
    } else {
      for (const TRect& r : clip_->Rects()) {
        TRect x = IntersectRect(r, surf);
        if (!x.IsEmpty()) clipCache_.push_back(x);
      }
    }
    clipCacheValid_ = true;
  }
  return clipCache_;
}

void TCanvas::paintDevice(const std::vector<TRect>& deviceRects, const raster::Brush& brush, uint8_t rop3) {
  if (!bits_ || deviceRects.empty()) return;
  std::vector<TRect> clipped;
  raster::ClipRects(deviceRects, clipRects(), clipped);
  if (clipped.empty()) return;
  raster::FillRects(surface(), clipped, brush, rop3);
}

void TCanvas::fillDeviceWithBrush(const std::vector<TRect>& deviceRects, uint8_t rop3) {
  raster::Brush b;
  if (brushForFill(b)) paintDevice(deviceRects, b, rop3);
}

void TCanvas::strokeDevice(const std::vector<TRect>& on, const std::vector<TRect>& gaps) {
  const uint8_t rop3 = raster::Rop2ToRop3(gdi::PenModeToRop2(Pen.Mode()));
  raster::Brush pen = raster::Brush::Solid(devicePixel(Pen.Color()));
  paintDevice(on, pen, rop3);
  if (gaps.empty()) return;
  // Gaps of a styled pen take the background colour when the background is opaque.
  TColor bk;
  int mode;
  effectiveBackground(bk, mode);
  if (mode == OPAQUE) paintDevice(gaps, raster::Brush::Solid(devicePixel(bk)), rop3);
}

std::vector<TPoint> TCanvas::toDevice(const std::vector<TPoint>& points) const {
  std::vector<TPoint> d;
  d.reserve(points.size());
  for (TPoint p : points) d.push_back(LogicalToDevice(p));
  return d;
}

void TCanvas::drawShape(const gdi::Shape& shape) {
  // Shapes apply the pen mode to the brush fill as well (GDI's ROP2 covers both).
  const uint8_t rop3 = raster::Rop2ToRop3(gdi::PenModeToRop2(Pen.Mode()));
  fillDeviceWithBrush(shape.interior, rop3);
  strokeDevice(shape.outline, shape.outlineGaps);
  changed();
}

// --- lines and shapes ------------------------------------------------------------------------

void TCanvas::MoveTo(int x, int y) { penPos_ = {x, y}; }

void TCanvas::LineTo(int x, int y) {
  gdi::PenPixels pp = gdi::PolylinePixels(toDevice({penPos_, {x, y}}), Pen.Width(), Pen.Style(), false);
  strokeDevice(pp.on, pp.off);
  penPos_ = {x, y};
  changed();
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
  if (points.size() < 2) return;
  gdi::PenPixels pp = gdi::PolylinePixels(toDevice(points), Pen.Width(), Pen.Style(), false);
  strokeDevice(pp.on, pp.off);
  changed();
}

// A one-point-wide axis-parallel segment without its end point, as a device rectangle; empty
// when the segment is slanted or has no length.
static TRect axisSegmentRect(TPoint a, TPoint b) {
  if (a.Y == b.Y && a.X != b.X)
    return a.X < b.X ? TRect{a.X, a.Y, b.X, a.Y + 1} : TRect{b.X + 1, a.Y, a.X + 1, a.Y + 1};
  if (a.X == b.X && a.Y != b.Y)
    return a.Y < b.Y ? TRect{a.X, a.Y, a.X + 1, b.Y} : TRect{a.X, b.Y + 1, a.X + 1, a.Y + 1};
  return {};
}

void TCanvas::PolyPolyline(const std::vector<TPoint>& points, const std::vector<int>& counts) {
  // Grids draw thousands of one-pixel horizontal and vertical segments at a time: with a thin
  // solid copying pen those are plain rectangles, filled in one go (overlaps do not matter
  // when the pen copies).
  const bool plainPen = Pen.Width() <= 1 && Pen.Style() == psSolid && Pen.Mode() == pmCopy;
  std::vector<TRect> segments;
  size_t start = 0;
  for (int count : counts) {
    if (count < 0 || start + size_t(count) > points.size()) break;
    if (count == 2 && plainPen) {
      TRect r = axisSegmentRect(LogicalToDevice(points[start]), LogicalToDevice(points[start + 1]));
      if (!r.IsEmpty() || points[start] == points[start + 1]) {
        if (!r.IsEmpty()) segments.push_back(r);
        start += 2;
        continue;
      }
    }
    if (count >= 2) {
      std::vector<TPoint> part(points.begin() + start, points.begin() + start + count);
      // Each polyline on its own, so an XOR pen crossing another polyline cancels there.
      gdi::PenPixels pp = gdi::PolylinePixels(toDevice(part), Pen.Width(), Pen.Style(), false);
      strokeDevice(pp.on, pp.off);
    }
    start += size_t(count);
  }
  if (!segments.empty()) strokeDevice(segments, {});
  changed();
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
  if (points.size() < 2) return;
  std::vector<TPoint> dev = toDevice(points);
  gdi::Shape shape;
  shape.interior = gdi::PolygonInterior(dev, polyFillMode_);
  gdi::PenPixels pp = gdi::PolylinePixels(dev, Pen.Width(), Pen.Style(), true);
  shape.outline = std::move(pp.on);
  shape.outlineGaps = std::move(pp.off);
  drawShape(shape);
}

void TCanvas::Rectangle(const TRect& rect) {
  drawShape(gdi::RectangleShape(LogicalToDevice(rect), Pen.Width(), Pen.Style()));
}

void TCanvas::Ellipse(const TRect& rect) {
  drawShape(gdi::EllipseShape(LogicalToDevice(rect), Pen.Width(), Pen.Style()));
}

void TCanvas::FillRect(const TRect& rect) {
  TRect d = LogicalToDevice(rect);
  if (d.IsEmpty()) return;
  fillDeviceWithBrush({d}, 0xF0);  // PATCOPY: FillRect ignores the pen mode
  changed();
}

void TCanvas::FrameRect(const TRect& rect) {
  TRect d = LogicalToDevice(rect);
  if (d.IsEmpty()) return;
  // Windows paints the four 1-pixel sides with the brush; thin rectangles become solid.
  std::vector<TRect> sides;
  if (d.Width() <= 2 || d.Height() <= 2) {
    sides.push_back(d);
  } else {
    sides = {{d.Left, d.Top, d.Right, d.Top + 1},
             {d.Left, d.Top + 1, d.Left + 1, d.Bottom - 1},
             {d.Right - 1, d.Top + 1, d.Right, d.Bottom - 1},
             {d.Left, d.Bottom - 1, d.Right, d.Bottom}};
  }
  fillDeviceWithBrush(sides, 0xF0);
  changed();
}

void TCanvas::FillRgn(const TRegion& region) {
  TRegion d = region;
  d.Offset(viewportOrg_.X, viewportOrg_.Y);
  fillDeviceWithBrush(d.Rects(), 0xF0);
  changed();
}

void TCanvas::InvertRect(const TRect& rect) {
  TRect d = LogicalToDevice(rect);
  if (d.IsEmpty()) return;
  paintDevice({d}, raster::Brush::Solid(0), 0x55);  // DSTINVERT
  changed();
}

void TCanvas::DrawFocusRect(const TRect& rect) {
  TRect d = LogicalToDevice(rect);
  if (d.IsEmpty()) return;
  // Windows XORs a 50 % grey 8 x 8 pattern (rows 0x55, 0xAA) along the frame: set bits in
  // the background colour, clear bits in the text colour. The brush is realised first, so
  // the colours are the ones text output would use.
  realiseBrush();
  raster::Brush b;
  b.orgX = brushOrg_.X;
  b.orgY = brushOrg_.Y;
  b.solid = false;
  const uint32_t fg = devicePixel(textColor_), bg = devicePixel(bkColor_);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) b.cells[y * 8 + x] = ((x + y) & 1) ? bg : fg;
  std::vector<TRect> sides;
  if (d.Width() <= 2 || d.Height() <= 2) {
    sides.push_back(d);
  } else {
    sides = {{d.Left, d.Top, d.Left + 1, d.Bottom},
             {d.Left + 1, d.Top, d.Right, d.Top + 1},
             {d.Right - 1, d.Top + 1, d.Right, d.Bottom},
             {d.Left + 1, d.Bottom - 1, d.Right - 1, d.Bottom}};
  }
  paintDevice(sides, b, 0x5A);  // PATINVERT
  changed();
}

bool TCanvas::DrawEdge(TRect& rect, unsigned edge, unsigned flags) {
  const gdi::EdgeColors c = gdi::EdgeColorsFor(edge, flags);
  TRect r = LogicalToDevice(rect);
  auto line = [&](int sysIndex, TRect span) {
    if (sysIndex < 0 || span.IsEmpty()) return;
    paintDevice({span}, raster::Brush::Solid(devicePixel(GetSysColor(sysIndex))), 0xF0);
  };
  // Windows draws each ring as four lines: left-top colour for the top then the left side,
  // right-bottom colour for the bottom then the right side, so the top-right and bottom-left
  // corner pixels take the right-bottom colour. The inner ring stops one pixel short at a
  // corner where both adjoining sides are drawn.
  const bool top = flags & BF_TOP, left = flags & BF_LEFT, bottom = flags & BF_BOTTOM,
             right = flags & BF_RIGHT;
  const int ltPlus = (top && left) ? 1 : 0, rtPlus = (top && right) ? 1 : 0,
            lbPlus = (bottom && left) ? 1 : 0, rbPlus = (bottom && right) ? 1 : 0;
  if (top) line(c.ltOuter, {r.Left, r.Top, r.Right, r.Top + 1});
  if (left) line(c.ltOuter, {r.Left, r.Top, r.Left + 1, r.Bottom});
  if (bottom) line(c.rbOuter, {r.Left, r.Bottom - 1, r.Right, r.Bottom});
  if (right) line(c.rbOuter, {r.Right - 1, r.Top, r.Right, r.Bottom});
  if (top) line(c.ltInner, {r.Left + ltPlus, r.Top + 1, r.Right - rtPlus, r.Top + 2});
  if (left) line(c.ltInner, {r.Left + 1, r.Top + ltPlus, r.Left + 2, r.Bottom - lbPlus});
  if (bottom) line(c.rbInner, {r.Left + lbPlus, r.Bottom - 2, r.Right - rbPlus, r.Bottom - 1});
  if (right) line(c.rbInner, {r.Right - 2, r.Top + rtPlus, r.Right - 1, r.Bottom - rbPlus});

  if (flags & (BF_MIDDLE | BF_ADJUST)) {
    TRect inner = r;
    if (left) inner.Left += c.width;
    if (right) inner.Right -= c.width;
    if (top) inner.Top += c.width;
    if (bottom) inner.Bottom -= c.width;
    if ((flags & BF_MIDDLE) && !inner.IsEmpty())
      line((flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE, inner);
    if (flags & BF_ADJUST) rect = inner.Offset(-viewportOrg_.X, -viewportOrg_.Y);
  }
  changed();
  return true;
}

// --- pixels ----------------------------------------------------------------------------------

TColor TCanvas::Pixels(int x, int y) const {
  TPoint d = LogicalToDevice(TPoint{x, y});
  if (!bits_ || d.X < 0 || d.Y < 0 || d.X >= width_ || d.Y >= height_) return CLR_INVALID;
  // Windows: a pixel outside the clip region reads as CLR_INVALID.
  if (clip_ && !clip_->Contains(d)) return CLR_INVALID;
  return PixelToColor(bits_[size_t(d.Y) * stride_ + d.X] & 0xFFFFFF);
}

void TCanvas::SetPixels(int x, int y, TColor color) {
  TPoint d = LogicalToDevice(TPoint{x, y});
  if (!bits_ || d.X < 0 || d.Y < 0 || d.X >= width_ || d.Y >= height_) return;
  if (clip_ && !clip_->Contains(d)) return;
  bits_[size_t(d.Y) * stride_ + d.X] = devicePixel(color);  // SetPixel ignores the pen mode
  changed();
}

// --- clipping --------------------------------------------------------------------------------

namespace {
int complexity(const TRegion& r) {
  return r.IsEmpty() ? NULLREGION : r.IsRectangle() ? SIMPLEREGION : COMPLEXREGION;
}
}  // namespace

int TCanvas::GetClipBox(TRect& box) const {
  TRegion visible = clip_ ? *clip_ : TRegion(TRect{0, 0, width_, height_});
  if (clip_) visible.Intersect(TRect{0, 0, width_, height_});
  box = visible.BoundingBox();
  if (!visible.IsEmpty()) box = box.Offset(-viewportOrg_.X, -viewportOrg_.Y);
  return complexity(visible);
}

int TCanvas::IntersectClipRect(const TRect& rect) {
  TRect d = LogicalToDevice(rect);
  // Without a clip region, Windows starts from the rectangle itself.
  if (!clip_) clip_ = TRegion(d);
  else clip_->Intersect(d);
  invalidateClipCache();
  return complexity(*clip_);
}

int TCanvas::ExcludeClipRect(const TRect& rect) {
  TRect d = LogicalToDevice(rect);
  // Without a clip region, Windows excludes from the whole surface.
  if (!clip_) clip_ = TRegion(TRect{0, 0, width_, height_});
  clip_->Subtract(d);
  invalidateClipCache();
  return complexity(*clip_);
}

int TCanvas::IntersectClipRgn(const TRegion& deviceRegion) {
  if (!clip_) clip_ = deviceRegion;
  else clip_->Intersect(deviceRegion);
  invalidateClipCache();
  return complexity(*clip_);
}

int TCanvas::SelectClipRgn(const TRegion* deviceRegion) {
  if (deviceRegion) clip_ = *deviceRegion;
  else clip_.reset();
  invalidateClipCache();
  if (!clip_) return SIMPLEREGION;
  return complexity(*clip_);
}

bool TCanvas::GetClipRgn(TRegion& deviceRegion) const {
  if (!clip_) return false;
  deviceRegion = *clip_;
  return true;
}

bool TCanvas::RectVisible(const TRect& rect) const {
  TRect d = LogicalToDevice(rect);
  for (const TRect& c : clipRects())
    if (!IntersectRect(c, d).IsEmpty()) return true;
  return false;
}

// --- state -----------------------------------------------------------------------------------

int TCanvas::SaveDC() {
  saved_.push_back(*this);
  return int(saved_.size());
}

bool TCanvas::RestoreDC(int savedDC) {
  const int depth = int(saved_.size());
  const int level = savedDC < 0 ? depth + savedDC + 1 : savedDC;
  if (level < 1 || level > depth) return false;
  TCanvasState::operator=(std::move(saved_[size_t(level - 1)]));
  saved_.resize(size_t(level - 1));
  invalidateClipCache();
  return true;
}

TPoint TCanvas::SetViewportOrg(int x, int y) {
  TPoint old = viewportOrg_;
  viewportOrg_ = {x, y};
  return old;
}

TPoint TCanvas::OffsetViewportOrg(int dx, int dy) {
  TPoint old = viewportOrg_;
  viewportOrg_ = {old.X + dx, old.Y + dy};
  return old;
}

TPoint TCanvas::SetBrushOrg(int x, int y) {
  TPoint old = brushOrg_;
  brushOrg_ = {x, y};
  return old;
}
