#include "platform/ui/bit_btn.h"

#include <algorithm>

#include "platform/gfx/canvas.h"

namespace {

struct KindDefaults {
  const char* caption;
  TModalResult modalResult;
};

// Captions and modal results of the stock kinds, as the framework has them.
KindDefaults kindDefaults(TBitBtnKind kind) {
  switch (kind) {
    case bkOK: return {"OK", mrOk};
    case bkCancel: return {"Cancel", mrCancel};
    case bkHelp: return {"&Help", mrNone};
    case bkYes: return {"&Yes", mrYes};
    case bkNo: return {"&No", mrNo};
    case bkClose: return {"&Close", mrNone};
    case bkAbort: return {"Abort", mrAbort};
    case bkRetry: return {"&Retry", mrRetry};
    case bkIgnore: return {"&Ignore", mrIgnore};
    case bkAll: return {"&All", 8};
    default: return {"", mrNone};
  }
}

// An open door in its frame: the doorway dark, the leaf swung out to the left, a knob.
TBitmap closeGlyph() {
  TBitmap bmp(18, 18);
  TCanvas& c = bmp.Canvas();
  c.Brush.SetColor(clOlive);  // the transparent colour (bottom-left pixel)
  c.FillRect({0, 0, 18, 18});
  c.Pen.SetColor(clBlack);
  c.Brush.SetColor(clGray);
  c.Rectangle(7, 1, 16, 17);  // frame and dark doorway
  c.Brush.SetColor(clBlack);
  c.FillRect({9, 3, 14, 16});
  c.Pen.SetColor(clBlack);
  c.Brush.SetColor(clYellow);
  c.Polygon({{7, 1}, {2, 3}, {2, 16}, {7, 16}});  // the leaf, hinged at the frame's left post
  c.Pen.SetColor(clMaroon);
  c.MoveTo(3, 9);
  c.LineTo(5, 9);  // knob
  return bmp;
}

}  // namespace

TBitmap StockBitBtnGlyph(TBitBtnKind kind) {
  if (kind == bkClose) return closeGlyph();
  return TBitmap();
}

TBitBtn::TBitBtn(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle({csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks});
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
  SetColor(clBtnFace);
}

void TBitBtn::SetKind(TBitBtnKind value) {
  if (kind_ == value) return;
  if (value != bkCustom) {
    KindDefaults d = kindDefaults(value);
    default_ = value == bkOK || value == bkYes;
    cancel_ = value == bkCancel || value == bkNo;
    if (!IsLoading() || Caption().empty()) SetCaption(d.caption);
    modalResult_ = d.modalResult;
  }
  kind_ = value;
  stockGlyph_ = StockBitBtnGlyph(value);
  imagesValid_ = false;
  Invalidate();
}

void TBitBtn::SetGlyph(const TBitmap& value) {
  glyph_ = value;
  if (!glyph_.Empty() && glyph_.Width() % glyph_.Height() == 0) {
    int n = glyph_.Width() / glyph_.Height();
    numGlyphs_ = n > 4 ? 1 : n;
  }
  imagesValid_ = false;
  Invalidate();
}

void TBitBtn::SetNumGlyphs(int value) {
  if (SetAndInvalidate(numGlyphs_, std::clamp(value, 1, 4))) imagesValid_ = false;
}

void TBitBtn::SetLayout(TButtonLayout value) { SetAndInvalidate(layout_, value); }

void TBitBtn::SetMargin(int value) {
  if (value >= -1) SetAndInvalidate(margin_, value);
}

void TBitBtn::SetSpacing(int value) { SetAndInvalidate(spacing_, value); }

void TBitBtn::SetDefault(bool value) { SetAndInvalidate(default_, value); }

const TBitmap& TBitBtn::currentGlyph() const { return glyph_.Empty() ? stockGlyph_ : glyph_; }

void TBitBtn::rebuildImages() {
  if (imagesValid_) return;
  imagesValid_ = true;
  images_.Clear();
  const TBitmap& glyph = currentGlyph();
  if (glyph.Empty()) return;
  // A stock glyph is one image; a user glyph holds NumGlyphs side by side.
  int count = glyph_.Empty() ? 1 : numGlyphs_;
  images_.SetWidth(std::max(1, glyph.Width() / count));
  images_.SetHeight(glyph.Height());
  images_.AddMasked(glyph, glyph.TransparentColor());
}

bool TBitBtn::isActive() const {
  if (Focused()) return true;
  if (!default_) return false;
  // A default button looks active while the focus is not on another push button.
  TCustomForm* form = GetParentForm();
  TWinControl* focus = form ? form->ActiveControl() : nullptr;
  return !dynamic_cast<TBitBtn*>(focus);
}

void TBitBtn::setDown(bool value) { SetAndInvalidate(down_, value); }

void TBitBtn::drawGlyphAndCaption(TCanvas& canvas, const TRect& client, bool enabled) {
  rebuildImages();
  const int count = images_.Count();
  TSize glyphSize = count > 0 ? TSize{images_.Width(), images_.Height()} : TSize{};
  canvas.Font = Font();
  TSize textSize{};
  TRect textBounds{0, 0, client.Width(), 0};
  if (!Caption().empty()) {
    canvas.DrawText(Caption(), textBounds, DT_CALCRECT);
    textSize = {textBounds.Width(), textBounds.Height()};
  } else {
    textBounds = {};
  }
  TButtonPlacement place = PlaceGlyphAndCaption({client.Width(), client.Height()}, glyphSize,
                                                textSize, layout_, spacing_, margin_);
  const TPoint glyphPos = place.GlyphPos, textPos = place.TextPos;

  if (count > 0) {
    // Images: up, disabled, down, exclusive; a missing disabled image is drawn embossed.
    int index = 0;
    bool drawEnabled = enabled;
    if (!enabled && count > 1) {
      index = 1;
      drawEnabled = true;
    } else if (enabled && down_ && count > 2) {
      index = 2;
    }
    images_.Draw(canvas, client.Left + glyphPos.X, client.Top + glyphPos.Y, index, drawEnabled);
  }

  if (!Caption().empty()) {
    TRect r = textBounds.Offset(client.Left + textPos.X, client.Top + textPos.Y);
    canvas.Brush.SetStyle(bsClear);
    const unsigned flags = DT_CENTER | DT_VCENTER;
    if (!enabled) {
      TRect shifted = r.Offset(1, 1);
      canvas.Font.SetColor(clBtnHighlight);
      canvas.DrawText(Caption(), shifted, flags);
      canvas.Font.SetColor(clBtnShadow);
    }
    canvas.DrawText(Caption(), r, flags);
  }
}

void TBitBtn::Paint() {
  TCanvas& canvas = Canvas();
  const bool focused = Focused();
  const bool active = isActive();
  TRect r = ClientRect();
  if (active || focused) {
    canvas.Pen.SetColor(clWindowFrame);
    canvas.Pen.SetWidth(1);
    canvas.Brush.SetStyle(bsClear);
    canvas.Rectangle(r);
    r = r.Inflate(-1, -1);
  }
  if (down_) {
    // The pressed face: a flat shadow frame, as the framework draws it.
    canvas.Pen.SetColor(clBtnShadow);
    canvas.Brush.SetColor(clBtnFace);
    canvas.Brush.SetStyle(bsSolid);
    canvas.Rectangle(r);
    r = r.Inflate(-1, -1);
  } else {
    canvas.DrawEdge(r, EDGE_RAISED, BF_RECT | BF_SOFT | BF_MIDDLE);
    r = r.Inflate(-2, -2);
  }
  if (active) r = ClientRect().Inflate(-1, -1);
  if (down_) r = r.Offset(1, 1);
  drawGlyphAndCaption(canvas, r, Enabled());
  if (active && focused) {
    canvas.Pen.SetColor(clWindowFrame);
    canvas.Brush.SetColor(clBtnFace);
    canvas.SetTextColor(clBlack);
    canvas.SetBkColor(clWhite);
    canvas.DrawFocusRect(ClientRect().Inflate(-4, -4));
  }
}

void TBitBtn::Click() {
  TCustomForm* form = GetParentForm();
  if (kind_ == bkClose && form) {
    form->Close();
    return;
  }
  if (form) form->SetModalResult(modalResult_);
  TCustomControl::Click();
}

void TBitBtn::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && Enabled()) {
    if (CanFocus() && !Focused()) SetFocus();
    mouseHeld_ = true;
    setDown(true);
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TBitBtn::MouseMove(TShiftState Shift, int X, int Y) {
  if (mouseHeld_) setDown(ClientRect().Contains({X, Y}));
  TCustomControl::MouseMove(Shift, X, Y);
}

void TBitBtn::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    mouseHeld_ = false;
    setDown(spaceHeld_);
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TBitBtn::KeyDown(uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == VK_SPACE && Shift.empty()) {
    spaceHeld_ = true;
    setDown(true);
    Key = 0;
  } else if (Key == VK_RETURN && Shift.empty()) {
    Key = 0;
    Click();
  } else if (Key == VK_ESCAPE && cancel_) {
    Key = 0;
    Click();
  }
}

bool TBitBtn::CMDialogKey(uint16_t key, TShiftState shift) {
  const bool takes = (key == VK_RETURN && isActive()) || (key == VK_ESCAPE && cancel_);
  if (takes && shift.empty() && CanFocus()) {
    Click();
    return true;
  }
  return TCustomControl::CMDialogKey(key, shift);
}

void TBitBtn::KeyUp(uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyUp(Key, Shift);
  if (Key == VK_SPACE && spaceHeld_) {
    spaceHeld_ = false;
    setDown(mouseHeld_);
    Key = 0;
    Click();
  }
}

void TBitBtn::WMKillFocus() {
  spaceHeld_ = false;
  setDown(mouseHeld_);
  Invalidate();
}

void TBitBtn::WMCancelMode() {
  mouseHeld_ = false;
  spaceHeld_ = false;
  setDown(false);
  TCustomControl::WMCancelMode();
}

void TBitBtn::CMEnabledChanged() {
  mouseHeld_ = spaceHeld_ = false;
  down_ = false;
  TCustomControl::CMEnabledChanged();
}
