#pragma once
// TCanvas: a GDI-style device context drawing exactly into a 32-bit surface.
//
// Map of the implementation:
//   canvas.cpp      state (tools, clip, origins, SaveDC stack) and dispatch to the rules
//   canvas_copy.cpp BitBlt, PatBlt, StretchBlt, Draw, StretchDraw, CopyRect
//   canvas_text.cpp TextOut, ExtTextOut, TextRect, DrawText: cells, colours, clipping
//   gdi_rules.cpp   what Windows draws: half-open edges, pen insets, brush origin, ellipses,
//                   lines, 3-D edge colours (produces spans and pixel lists)
//   raster.cpp      the pixel loops: spans x clip rectangles, ROP tables
//   text_layout.cpp DrawText's lines: prefixes, word breaks, tabs, end ellipsis (no fonts)
//   qt_font_face.cpp the font engine: faces for a TFont, widths, glyphs (Qt, no antialiasing)
//
// Coordinates: drawing calls take logical coordinates; device = logical + viewport origin.
// The device origin is the surface's pixel (0, 0). Clip regions are kept in device
// coordinates (as in GDI): IntersectClipRect / ExcludeClipRect convert their logical rectangle
// when called, SelectClipRgn takes a device region. Brush patterns are aligned to the device
// origin shifted by the brush origin, and do not follow the viewport origin (as on Windows).
//
// Colours for text and monochrome copies (the raw DC state TextColor / BkColor / BkMode):
// text output, Draw / StretchDraw / CopyRect and DrawFocusRect first "realise" a font or brush
// that changed since the last realisation: TextColor := Font.Color; a solid brush gives
// BkColor := Brush.Color and BkMode OPAQUE, any other brush BkMode TRANSPARENT. So the tools
// decide the look: text is opaque in the brush colour unless Brush.Style is bsClear.
// SetTextColor / SetBkColor / SetBkMode realise first and then set the raw state, so a raw
// setting made after choosing the tools holds until the font or brush changes again.
// Shapes and BitBlt do not realise anything:
//   - the gaps of a styled pen take the background the next realisation would give (a
//     solid brush: its colour; otherwise untouched), or the raw state when nothing changed;
//   - BitBlt from a monochrome source uses the raw state as it is: clear (black) source pixels
//     become TextColor, set (white) ones BkColor. A fresh canvas has TextColor black and
//     BkColor white, so a mono mask copies as black and white and ROP_DSPDxax paints the
//     brush where the mask is white. After text output on the same canvas, set them back
//     with SetTextColor(clBlack) / SetBkColor(clWhite) before such a copy.
//   - BitBlt from colour onto a monochrome bitmap: pixels equal to the source canvas's
//     BkColor become white, the rest black.
// A monochrome surface (TBitmap with Monochrome() on) snaps every colour to black or white.
//
// Text needs Qt's font database: if no QGuiApplication exists at the first text call, one
// is created (offscreen when there is no display). The windowing layer must therefore create
// its application object before any text is measured or drawn.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/types.h"
#include "platform/gfx/gdi_consts.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/region.h"

class TBitmap;
namespace raster { struct Surface; struct Brush; struct Source; }
namespace gdi { struct Shape; }

struct TTextMetric {
  int tmHeight = 0;           // ascent + descent, pixels
  int tmAscent = 0;
  int tmDescent = 0;
  int tmInternalLeading = 0;  // tmHeight - em height
  int tmExternalLeading = 0;
  int tmAveCharWidth = 0;     // the font's average advance (OS/2 xAvgCharWidth)
  int tmMaxCharWidth = 0;
};

// Everything SaveDC keeps, as one value: the tools and the raw device state. A save copies it
// onto the canvas's stack and a restore assigns it back, so adding a field here is all it
// takes to save and restore it too.
class TCanvasState {
 public:
  TPen Pen;
  TBrush Brush;
  TFont Font;
  uint32_t CopyMode = SRCCOPY;  // used by CopyRect and Draw

 protected:
  std::optional<TRegion> clip_;  // device coordinates; nullopt = no clip region
  TPoint viewportOrg_;
  TPoint brushOrg_;
  TPoint penPos_;  // logical
  TColor textColor_ = clBlack;  // RGB
  TColor bkColor_ = clWhite;    // RGB
  int bkMode_ = OPAQUE;
  unsigned textAlign_ = TA_LEFT | TA_TOP;
  int polyFillMode_ = ALTERNATE;
  // What text output last realised; a font or brush differing from these is "changed".
  TColor realisedFontColor_ = 0xFFFFFFFFu;
  TColor realisedBrushColor_ = 0xFFFFFFFFu;
  TBrushStyle realisedBrushStyle_ = bsSolid;
};

class TCanvas : public TObject, private TCanvasState {
 public:
  TCanvas();  // unbound: draws nothing, measures text
  TCanvas(uint32_t* bits, int width, int height, int strideInPixels);
  ~TCanvas() override;
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  // Binds the canvas to a 0x00RRGGBB surface (e.g. a window's back buffer). Resets clip,
  // viewport and brush origin and the SaveDC stack; keeps the tools.
  void Bind(uint32_t* bits, int width, int height, int strideInPixels);
  bool IsBound() const { return bits_ != nullptr; }
  int SurfaceWidth() const { return width_; }
  int SurfaceHeight() const { return height_; }
  // A monochrome surface snaps every colour drawn into it to the nearer of black and white.
  bool MonochromeSurface() const;

  // --- tools ---------------------------------------------------------------------------
  using TCanvasState::Pen;
  using TCanvasState::Brush;
  using TCanvasState::Font;
  using TCanvasState::CopyMode;
  TPoint PenPos() const { return penPos_; }
  void SetPenPos(TPoint p) { penPos_ = p; }
  // Raised after every drawing operation (sender = this canvas).
  TNotifyEvent OnChange;

  // --- raw DC state ----------------------------------------------------------------------
  TColor SetTextColor(TColor color);  // returns the previous colour (RGB)
  TColor GetTextColor() const { return textColor_; }
  TColor SetBkColor(TColor color);
  TColor GetBkColor() const { return bkColor_; }
  int SetBkMode(int mode);  // TRANSPARENT or OPAQUE; returns the previous mode
  int GetBkMode() const { return bkMode_; }
  unsigned SetTextAlign(unsigned align);  // TA_*; returns the previous alignment
  unsigned GetTextAlign() const { return textAlign_; }
  int SetPolyFillMode(int mode);  // ALTERNATE (default) or WINDING
  int GetPolyFillMode() const { return polyFillMode_; }

  // --- lines and shapes --------------------------------------------------------------------
  void MoveTo(int x, int y);
  void LineTo(int x, int y);                    // the end point is not drawn
  void Polyline(const std::vector<TPoint>& points);  // the last point is not drawn
  // Several polylines in one call: counts[i] points each, taken from points in order; each
  // leaves out its own last point. Counts below 2 draw nothing; points beyond the counts'
  // total are ignored. The pen position does not move.
  void PolyPolyline(const std::vector<TPoint>& points, const std::vector<int>& counts);
  void Polygon(const std::vector<TPoint>& points);   // closed; brush fill, pen outline
  // Outline with the pen along the rectangle's inside edge (Left..Right-1, Top..Bottom-1),
  // interior filled with the brush.
  void Rectangle(const TRect& rect);
  void Rectangle(int left, int top, int right, int bottom) { Rectangle(TRect{left, top, right, bottom}); }
  void Ellipse(const TRect& rect);  // within the half-open rectangle; see gdi_rules.h
  void Ellipse(int left, int top, int right, int bottom) { Ellipse(TRect{left, top, right, bottom}); }
  void FillRect(const TRect& rect);   // half-open, brush, no pen
  void FrameRect(const TRect& rect);  // 1-pixel frame inside the rectangle, brush
  void FillRgn(const TRegion& region);  // region in logical coordinates, brush
  void InvertRect(const TRect& rect);   // DSTINVERT
  // XOR dotted 1-pixel frame (its own inverse): pixels with odd (x + y) in device
  // coordinates are XORed with BkColor, even ones with TextColor (a 0x55AA pattern brush).
  void DrawFocusRect(const TRect& rect);
  // Windows' DrawEdge; edge = BDR_* / EDGE_*, flags = BF_*. With BF_ADJUST the rectangle is
  // shrunk by the drawn edge width on the drawn sides.
  bool DrawEdge(TRect& rect, unsigned edge, unsigned flags);
  bool DrawEdge(const TRect& rect, unsigned edge, unsigned flags) {
    TRect r = rect;
    return DrawEdge(r, edge, flags);
  }

  // --- pixels ------------------------------------------------------------------------------
  // Read: CLR_INVALID outside the surface. Write: honours the clip region.
  TColor Pixels(int x, int y) const;
  void SetPixels(int x, int y, TColor color);

  // --- text --------------------------------------------------------------------------------
  // Windows' DrawText on a UTF-8 string, the lines laid out by LayoutText (text_layout.h).
  // Returns the offset of the text's bottom from rect's top (its height unless centred or
  // bottom-aligned vertically); with DT_CALCRECT only measures: Right and Bottom of rect are updated (single line: the
  // width of the line; several lines: the widest line, word breaks taken at rect's width).
  // With DT_END_ELLIPSIS and DT_MODIFYSTRING the shortened text goes to *modifiedText.
  int DrawText(std::string_view text, TRect& rect, unsigned flags,
               std::string* modifiedText = nullptr);
  int DrawText(std::string_view text, const TRect& rect, unsigned flags) {
    TRect r = rect;
    return DrawText(text, r, flags);
  }
  // Draws at (x, y) per the text alignment; moves PenPos with TA_UPDATECP.
  void TextOut(int x, int y, std::string_view text);
  // ExtTextOut at (x, y) clipped to rect; a brush other than bsClear fills rect first.
  void TextRect(const TRect& rect, int x, int y, std::string_view text);
  // ETO_OPAQUE fills *rect with BkColor first; ETO_CLIPPED clips the characters to *rect.
  // dx: optional advance per character (in code points), as lpDx.
  void ExtTextOut(int x, int y, unsigned options, const TRect* rect, std::string_view text,
                  const int* dx = nullptr);
  TSize TextExtent(std::string_view text);  // one line, no prefix handling
  int TextWidth(std::string_view text) { return TextExtent(text).cx; }
  int TextHeight(std::string_view text) { return TextExtent(text).cy; }
  bool GetTextMetrics(TTextMetric& tm);
  TTextMetric TextMetrics() { TTextMetric tm; GetTextMetrics(tm); return tm; }

  // --- clipping ----------------------------------------------------------------------------
  // Returns NULLREGION / SIMPLEREGION / COMPLEXREGION; box in logical coordinates (the
  // surface when there is no clip region).
  int GetClipBox(TRect& box) const;
  TRect ClipRect() const { TRect r; GetClipBox(r); return r; }
  int IntersectClipRect(const TRect& rect);
  int IntersectClipRect(int l, int t, int r, int b) { return IntersectClipRect(TRect{l, t, r, b}); }
  int ExcludeClipRect(const TRect& rect);
  int ExcludeClipRect(int l, int t, int r, int b) { return ExcludeClipRect(TRect{l, t, r, b}); }
  int IntersectClipRgn(const TRegion& deviceRegion);
  // Device coordinates; nullptr removes the clip region.
  int SelectClipRgn(const TRegion* deviceRegion);
  // False (and region untouched) when there is no clip region; else its device pixels.
  bool GetClipRgn(TRegion& deviceRegion) const;
  bool HasClipRgn() const { return clip_.has_value(); }
  // True when any pixel of the logical rectangle may be drawn.
  bool RectVisible(const TRect& rect) const;

  // --- state -------------------------------------------------------------------------------
  // Saves clip, viewport and brush origins, pen/brush/font values, raw DC state and pen
  // position. Returns the new depth (1 for the first save).
  int SaveDC();
  // Positive: back to the state saved at that depth; negative: relative (-1 = last save).
  bool RestoreDC(int savedDC);
  TPoint SetViewportOrg(int x, int y);  // returns the previous origin
  TPoint OffsetViewportOrg(int dx, int dy);
  TPoint GetViewportOrg() const { return viewportOrg_; }
  TPoint SetBrushOrg(int x, int y);  // device coordinates; returns the previous origin
  TPoint GetBrushOrg() const { return brushOrg_; }
  TPoint LogicalToDevice(TPoint p) const { return {p.X + viewportOrg_.X, p.Y + viewportOrg_.Y}; }
  TRect LogicalToDevice(const TRect& r) const { return r.Offset(viewportOrg_.X, viewportOrg_.Y); }

  // --- copies ------------------------------------------------------------------------------
  // Ternary raster operation from (sx, sy) of the source (its logical coordinates) to the
  // w x h rectangle at (x, y). Source pixels outside the source surface are not copied.
  void BitBlt(int x, int y, int w, int h, const TCanvas& src, int sx, int sy, uint32_t rop);
  void BitBlt(int x, int y, int w, int h, const TBitmap& src, int sx, int sy, uint32_t rop);
  // Raster operations without a source (PATCOPY, PATINVERT, DSTINVERT, BLACKNESS...).
  void PatBlt(int x, int y, int w, int h, uint32_t rop);
  // Nearest-neighbour stretch (COLORONCOLOR).
  void StretchBlt(int x, int y, int w, int h, const TBitmap& src, int sx, int sy, int sw,
                  int sh, uint32_t rop);
  void StretchDraw(const TRect& rect, const TBitmap& bitmap);
  // Copies the whole bitmap with CopyMode; a Transparent bitmap leaves its TransparentColor
  // pixels out.
  void Draw(int x, int y, const TBitmap& bitmap);
  void CopyRect(const TRect& dest, const TCanvas& src, const TRect& srcRect);

  // --- surface access for the layers above (back buffers) ----------------------------------
  uint32_t* SurfaceBits() const { return bits_; }
  int SurfaceStride() const { return stride_; }

 private:
  friend class TBitmap;
  void changed() { if (OnChange) OnChange(this); }
  // Before text, pictures and focus rectangles: a font or brush that changed since the last
  // realisation sets TextColor, or BkColor and BkMode.
  void realiseFont();
  void realiseBrush();
  void realiseTools();  // both; the raw DC setters call it first
  // The background a styled pen's gaps would get: as realiseBrush would set it, without
  // changing the raw state.
  void effectiveBackground(TColor& color, int& mode) const;
  raster::Surface surface() const;
  uint32_t devicePixel(TColor color) const;  // resolved, snapped on a mono surface
  bool brushForFill(raster::Brush& out) const;  // false for a clear brush
  raster::Brush brushForRop() const;
  raster::Source sourceFor(const TBitmap* bitmap, const TCanvas* canvas) const;
  void paintDevice(const std::vector<TRect>& deviceRects, const raster::Brush& brush, uint8_t rop3);
  void fillDeviceWithBrush(const std::vector<TRect>& deviceRects, uint8_t rop3);
  void strokeDevice(const std::vector<TRect>& on, const std::vector<TRect>& gaps);
  void drawShape(const gdi::Shape& shape);
  std::vector<TPoint> toDevice(const std::vector<TPoint>& points) const;
  void blitDevice(const raster::Source& src, TRect dstBox, TRect srcBox, uint32_t rop);
  // Effective clip in device coordinates: clip region ∩ surface, banded.
  const std::vector<TRect>& clipRects() const;
  void invalidateClipCache() { clipCacheValid_ = false; }

  uint32_t* bits_ = nullptr;  // 0x00RRGGBB surface, not owned
  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;                   // pixels per row, >= width_
  const TBitmap* ownerBitmap_ = nullptr;  // set when the canvas belongs to a TBitmap

  mutable std::vector<TRect> clipCache_;  // clipRects(): derived from clip_, not saved
  mutable bool clipCacheValid_ = false;
  std::vector<TCanvasState> saved_;  // the SaveDC stack, depth 1 first
};

// Holds the canvas state for one operation: SaveDC on construction, RestoreDC on destruction
// (also when an exception leaves the scope).
class TCanvasStateGuard {
 public:
  explicit TCanvasStateGuard(TCanvas& canvas) : canvas_(canvas), level_(canvas.SaveDC()) {}
  ~TCanvasStateGuard() { canvas_.RestoreDC(level_); }
  TCanvasStateGuard(const TCanvasStateGuard&) = delete;
  TCanvasStateGuard& operator=(const TCanvasStateGuard&) = delete;

 private:
  TCanvas& canvas_;
  int level_;
};
