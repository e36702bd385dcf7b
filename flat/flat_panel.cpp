#include "flat/flat_panel.h"

TFlatPanel::TFlatPanel(TComponent* AOwner) : TCustomPanel(AOwner) {
  SetParentColor(true);
  SetParentFont(true);
}

void TFlatPanel::SetTransparent(bool value) { SetAndInvalidate(transparent_, value); }

void TFlatPanel::CMEnabledChanged() {
  TCustomPanel::CMEnabledChanged();
  Invalidate();  // the caption turns embossed or back
}

void TFlatPanel::Paint() {
  const TRect client = ClientRect();
  TBitmap offscreen(client.Width(), client.Height());
  TCanvas& canvas = offscreen.Canvas();

  if (transparent_) {
    PaintParentBackground(*this, canvas);
  } else {
    canvas.Brush.SetStyle(bsSolid);
    canvas.Brush.SetColor(Color());
    canvas.FillRect(client);
  }

  PaintBevelFrame(canvas, client, colorHighLight_, colorShadow_, 1);

  if (!Caption().empty()) {
    unsigned flags = DT_SINGLELINE | DT_VCENTER;
    switch (Alignment()) {
      case taLeftJustify: flags |= DT_LEFT; break;
      case taRightJustify: flags |= DT_RIGHT; break;
      case taCenter: flags |= DT_CENTER; break;
    }
    canvas.Font = Font();
    canvas.Brush.SetStyle(bsClear);
    if (!Enabled()) {
      canvas.Font.SetColor(clBtnHighlight);
      canvas.DrawText(Caption(), client.Offset(1, 1), flags);
      canvas.Font.SetColor(clBtnShadow);
    }
    canvas.DrawText(Caption(), client, flags);
  }

  Canvas().Draw(0, 0, offscreen);
}
