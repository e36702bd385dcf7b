#pragma once
// TLabel: static text painted on its parent (a graphic control).
//
// Painting, as the framework's label does it:
//   not Transparent  fill the client area with Color, then the text
//   Transparent      the parent's picture (already painted underneath) shows through
//   text             DrawText with DT_EXPANDTABS, DT_WORDBREAK when WordWrap, the Alignment
//                    flag, DT_NOPREFIX unless ShowAccelChar; Layout moves the text block
//                    down inside the client area (tlCenter / tlBottom)
//   disabled         embossed: clBtnHighlight moved by (1, 1), then clBtnShadow in place
// AutoSize (on by default) sizes the label to its text measured with DT_CALCRECT: one line
// or CR LF separated lines take their natural width; with WordWrap the current width stays
// the break width, the height follows and the width becomes the widest broken line (as
// DT_CALCRECT reports it). A right-justified label keeps its right edge.
#include <string>

#include "platform/core/alignment.h"
#include "platform/ui/control.h"
#include "platform/ui/control_types.h"


class TCustomLabel : public TGraphicControl {
 public:
  explicit TCustomLabel(TComponent* AOwner);

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout value);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool value);

  // The DrawText flags Paint uses (without DT_CALCRECT).
  unsigned TextFlags() const;

 protected:
  void Paint() override;
  void Loaded() override;
  void CMTextChanged() override;
  void CMFontChanged() override;
  // Draws (or, with DT_CALCRECT, measures) the caption in rect on canvas.
  void DoDrawText(TCanvas& canvas, TRect& rect, unsigned flags);
  // Resizes to the text when AutoSize is on (not while loading).
  void AdjustBounds();

 private:
  bool autoSize_ = true;
  bool transparent_ = false;
  bool wordWrap_ = false;
  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  bool showAccelChar_ = true;
};

class TLabel : public TCustomLabel {
 public:
  using TCustomLabel::TCustomLabel;
};
