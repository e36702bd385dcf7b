#pragma once
// The drawing tools of a canvas: TPen, TBrush, TFont. New tools are a 1-pixel solid black
// pen, a solid white brush and an 8-point "MS Sans Serif" font in clWindowText.
//
// Each is a value with getters and SetX setters; a setter that changes the value raises
// OnChange (sender = the object). Copying or assigning copies the values only, never
// OnChange, so `canvas.Font = control.Font()` keeps the canvas's own notification; Assign is
// the same as assignment.
#include <cstdint>
#include <string>

#include "platform/core/component.h"
#include "platform/core/option_set.h"
#include "platform/core/types.h"

class TBitmap;

// --- pen -------------------------------------------------------------------------------
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// Pen modes; each maps to one of the 16 binary raster operations (R2_*), see
// gdi::PenModeToRop2.
enum TPenMode {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
  pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

class TPen : public TObject {
 public:
  TPen() = default;
  TPen(const TPen& other) { copyValues(other); }
  TPen& operator=(const TPen& other);
  void Assign(const TPen& other) { *this = other; }

  TColor Color() const { return color_; }
  void SetColor(TColor value);
  int Width() const { return width_; }
  void SetWidth(int value);  // values below 1 count as 1, as a cosmetic pen
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle value);
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode value);

  TNotifyEvent OnChange;

 private:
  void copyValues(const TPen& o) { color_ = o.color_; width_ = o.width_; style_ = o.style_; mode_ = o.mode_; }
  void changed() { if (OnChange) OnChange(this); }
  TColor color_ = clBlack;
  int width_ = 1;  // pixels, >= 1
  TPenStyle style_ = psSolid;
  TPenMode mode_ = pmCopy;
};

// --- brush -----------------------------------------------------------------------------
enum TBrushStyle {
  bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross
};

class TBrush : public TObject {
 public:
  TBrush() = default;
  TBrush(const TBrush& other) { copyValues(other); }
  TBrush& operator=(const TBrush& other);
  void Assign(const TBrush& other) { *this = other; }

  // System colours resolve when the brush is used, so a later system-colour change shows.
  TColor Color() const { return color_; }
  void SetColor(TColor value);  // also makes a clear brush solid: asking for a colour means fill
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle value);
  // An 8 x 8 pattern (the top-left 8 x 8 pixels of the bitmap are used; a monochrome pattern
  // paints its black pixels in the canvas's text colour and its white ones in the background
  // colour, as Windows GDI paints a 1-bit pattern brush). Not owned: the bitmap must outlive
  // its use. While set, Style and Color are ignored for filling.
  TBitmap* Bitmap() const { return bitmap_; }
  void SetBitmap(TBitmap* value);

  TNotifyEvent OnChange;

 private:
  void copyValues(const TBrush& o) { color_ = o.color_; style_ = o.style_; bitmap_ = o.bitmap_; }
  void changed() { if (OnChange) OnChange(this); }
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
  TBitmap* bitmap_ = nullptr;  // non-owning
};

// --- font ------------------------------------------------------------------------------
enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TOptionSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };

using TFontCharset = uint8_t;
constexpr TFontCharset ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SYMBOL_CHARSET = 2,
                       SHIFTJIS_CHARSET = 128, HANGEUL_CHARSET = 129, GB2312_CHARSET = 134,
                       CHINESEBIG5_CHARSET = 136, OEM_CHARSET = 255;

// Screen resolution used for point sizes (Size = -Height * 72 / 96).
constexpr int ScreenPixelsPerInch = 96;

class TFont : public TObject {
 public:
  TFont() = default;
  TFont(const TFont& other) { copyValues(other); }
  TFont& operator=(const TFont& other);  // values only; raises OnChange when any differ
  void Assign(const TFont& other) { *this = other; }

  const std::string& Name() const { return name_; }  // UTF-8 face name ("宋体", "Tahoma")
  void SetName(const std::string& value);
  // Negative: character height (em size) in pixels; positive: cell height (ascent +
  // descent) in pixels; 0: a default size. As LOGFONT.lfHeight.
  int Height() const { return height_; }
  void SetHeight(int value);
  // Points at 96 pixels per inch: Size = -Height * 72 / 96 (rounded), SetSize sets
  // Height = -round(Size * 96 / 72).
  int Size() const;
  void SetSize(int points);
  TFontCharset Charset() const { return charset_; }
  void SetCharset(TFontCharset value);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch value);

  TNotifyEvent OnChange;

  friend bool SameFontValues(const TFont& a, const TFont& b) {
    return a.name_ == b.name_ && a.height_ == b.height_ && a.charset_ == b.charset_ &&
           a.style_ == b.style_ && a.color_ == b.color_ && a.pitch_ == b.pitch_;
  }

 private:
  void copyValues(const TFont& o) {
    name_ = o.name_; height_ = o.height_; charset_ = o.charset_; style_ = o.style_;
    color_ = o.color_; pitch_ = o.pitch_;
  }
  void changed() { if (OnChange) OnChange(this); }
  std::string name_ = "MS Sans Serif";
  int height_ = -11;  // 8 points at 96 dpi
  TFontCharset charset_ = DEFAULT_CHARSET;
  TFontStyles style_;
  TColor color_ = clWindowText;
  TFontPitch pitch_ = fpDefault;
};

// A font of a face, height (as TFont::Height) and character set, the rest at its defaults.
TFont MakeFont(const std::string& name, int height, TFontCharset charset);

// The installed family that renders a Windows face name: "宋体" / "SimSun" -> "AR PL UMing CN",
// "楷体_GB2312" / "KaiTi" -> "AR PL UKai CN", "MS Sans Serif" / "Tahoma" / "Arial" and unknown
// names -> "DejaVu Sans"; CJK characters missing from a family fall back to
// "WenQuanYi Zen Hei".
std::string SubstituteFontFamily(const std::string& windowsName);
