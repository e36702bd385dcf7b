#include "platform/ui/label.h"

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 65, 17);
  // A label takes its colour from its parent until given one of its own.
  SetParentColor(true);
}

void TCustomLabel::SetAutoSize(bool value) {
  if (StoreChanged(autoSize_, value)) AdjustBounds();
}

void TCustomLabel::SetTransparent(bool value) { SetAndInvalidate(transparent_, value); }

void TCustomLabel::SetWordWrap(bool value) {
  if (!StoreChanged(wordWrap_, value)) return;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetAlignment(TAlignment value) { SetAndInvalidate(alignment_, value); }

void TCustomLabel::SetLayout(TTextLayout value) { SetAndInvalidate(layout_, value); }

void TCustomLabel::SetShowAccelChar(bool value) {
  if (!StoreChanged(showAccelChar_, value)) return;
  AdjustBounds();
  Invalidate();
}

unsigned TCustomLabel::TextFlags() const {
  unsigned flags = DT_EXPANDTABS;
  if (wordWrap_) flags |= DT_WORDBREAK;
  if (alignment_ == taRightJustify) flags |= DT_RIGHT;
  if (alignment_ == taCenter) flags |= DT_CENTER;
  return flags;
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TCustomLabel::CMTextChanged() {
  Invalidate();
  AdjustBounds();
}

void TCustomLabel::CMFontChanged() {
  Invalidate();
  AdjustBounds();
}

void TCustomLabel::DoDrawText(TCanvas& canvas, TRect& rect, unsigned flags) {
  std::string text = Caption();
  // An empty caption (or a lone accelerator mark) still measures one line high.
  if ((flags & DT_CALCRECT) && (text.empty() || (showAccelChar_ && text == "&"))) text += ' ';
  if (!showAccelChar_) flags |= DT_NOPREFIX;
  canvas.Font = Font();
  if (!Enabled()) {
    TRect shifted = rect.Offset(1, 1);
    canvas.Font.SetColor(clBtnHighlight);
    canvas.DrawText(text, shifted, flags);
    canvas.Font.SetColor(clBtnShadow);
    canvas.DrawText(text, rect, flags);
  } else {
    canvas.DrawText(text, rect, flags);
  }
}

void TCustomLabel::AdjustBounds() {
  if (IsLoading() || !autoSize_) return;
  // Measured on a canvas of no surface, as the framework measures on the screen's DC.
  TCanvas measure;
  TRect rect = ClientRect();
  DoDrawText(measure, rect, DT_EXPANDTABS | DT_CALCRECT | (wordWrap_ ? DT_WORDBREAK : 0u));
  int left = Left();
  if (alignment_ == taRightJustify) left += Width() - rect.Right;
  SetBounds(left, Top(), rect.Right, rect.Bottom);
}

void TCustomLabel::Paint() {
  TCanvas& canvas = Canvas();
  if (!transparent_) {
    canvas.Brush.SetColor(Color());
    canvas.Brush.SetStyle(bsSolid);
    canvas.FillRect(ClientRect());
  }
  canvas.Brush.SetStyle(bsClear);
  TRect rect = ClientRect();
  unsigned flags = TextFlags();
  if (layout_ != tlTop) {
    TRect calc = rect;
    DoDrawText(canvas, calc, flags | DT_CALCRECT);
    int dy = layout_ == tlBottom ? Height() - calc.Bottom : (Height() - calc.Bottom) / 2;
    rect = rect.Offset(0, dy);
  }
  DoDrawText(canvas, rect, flags);
}
