#include "flat/flat_button.h"

#include <algorithm>
#include <optional>

#include "platform/gfx/image_list.h"
#include "platform/ui/application.h"
#include "platform/ui/services.h"

HoverTracker& TFlatButton::ClassHoverTracker() {
  static HoverTracker tracker;
  return tracker;
}

TFlatButton::TFlatButton(TComponent* AOwner) : TCustomControl(AOwner) {
  ClassHoverTracker().AddInstance();
  // No csClickEvents: the button decides itself when a release is a click.
  SetControlStyle({csCaptureMouse, csOpaque, csDoubleClicks});
  SetBounds(0, 0, 25, 25);
  SetParentColor(true);
}

TFlatButton::~TFlatButton() { ClassHoverTracker().RemoveInstance(this); }

// --- properties -------------------------------------------------------------------------------

void TFlatButton::setShift(TAdvColors& shift, TAdvColors value) {
  if (colors_.SetShift(shift, value, Color())) Invalidate();
}

void TFlatButton::SetUseAdvColors(bool value) {
  if (!StoreChanged(colors_.UseAdv, value)) return;
  SetParentColor(value);
  colors_.Derive(Color());
  Invalidate();
}

void TFlatButton::SetTransparentMode(TTransparentMode value) {
  SetAndInvalidate(transparentMode_, value);
}

void TFlatButton::SetDefault(bool value) {
  // The form's focus-changed notification changes nothing else for this control: the
  // border width is all that Default affects.
  SetAndInvalidate(default_, value);
}

void TFlatButton::SetAllowAllUp(bool value) {
  if (StoreChanged(allowAllUp_, value)) updateExclusive();
}

void TFlatButton::SetGroupIndex(int value) {
  if (StoreChanged(groupIndex_, value)) updateExclusive();
}

void TFlatButton::SetDown(bool value) {
  if (groupIndex_ == 0) value = false;
  if (value == down_) return;
  if (down_ && !allowAllUp_) return;  // a down button of a group is released by another one
  down_ = value;
  if (value) {
    if (state_ == bsUp) Invalidate();
    state_ = bsExclusive;
    updateExclusive();
  } else {
    state_ = bsUp;
    Repaint();
  }
}

void TFlatButton::updateExclusive() {
  if (groupIndex_ == 0 || !Parent()) return;
  TMessage msg{CM_BUTTONPRESSED, groupIndex_,
               reinterpret_cast<intptr_t>(static_cast<TControl*>(this)), 0};
  Parent()->Broadcast(msg);
}

void TFlatButton::WndProc(TMessage& msg) {
  if (msg.Msg == CM_BUTTONPRESSED && msg.WParam == groupIndex_) {
    auto* sender = dynamic_cast<TFlatButton*>(reinterpret_cast<TControl*>(msg.LParam));
    if (sender && sender != this) {
      if (sender->Down() && down_) {
        down_ = false;
        state_ = bsUp;
        Invalidate();
      }
      allowAllUp_ = sender->AllowAllUp();
    }
  }
  TCustomControl::WndProc(msg);
}

void TFlatButton::SetGlyph(const TBitmap& value) {
  glyph_ = value;
  // A strip of square images tells its own image count (more than four counts as one).
  if (!glyph_.Empty() && glyph_.Width() % glyph_.Height() == 0) {
    int count = glyph_.Width() / glyph_.Height();
    numGlyphs_ = count > 4 ? 1 : count;
  }
  Invalidate();
}

void TFlatButton::SetLayout(TButtonLayout value) { SetAndInvalidate(layout_, value); }

void TFlatButton::SetMargin(int value) {
  if (value >= -1) SetAndInvalidate(margin_, value);
}

void TFlatButton::SetNumGlyphs(TNumGlyphs value) {
  SetAndInvalidate(numGlyphs_, std::clamp(value, 1, 4));
}

void TFlatButton::SetSpacing(int value) { SetAndInvalidate(spacing_, value); }

// --- mouse ------------------------------------------------------------------------------------

bool TFlatButton::inside(int X, int Y) const {
  // The right-hand column x = width is outside, the bottom row y = height inside.
  return X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight();
}

void TFlatButton::WMMouse(TWMMouse& msg) {
  TCustomControl::WMMouse(msg);  // a double click arrives here as a press with ssDouble
  if (msg.Kind == mmDblClick && msg.Button == mbLeft && down_) DblClick();
}

void TFlatButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  if (!down_) {
    state_ = bsDown;
    Invalidate();
  }
  dragging_ = true;
  if (CanFocus()) SetFocus();
}

void TFlatButton::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  ClassHoverTracker().Track(this, ClientToScreen({X, Y}), [this] { mouseEnterStep(); },
                            [this] { mouseLeaveStep(); });
  if (!dragging_) return;
  TButtonState newState = down_ ? bsExclusive : (inside(X, Y) ? bsDown : bsUp);
  if (newState != state_) {
    state_ = newState;
    Invalidate();
  }
}

void TFlatButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (!dragging_) return;
  dragging_ = false;
  bool isInside = inside(X, Y);
  if (groupIndex_ == 0) {
    state_ = bsUp;
    hot_ = false;
    if (isInside) Invalidate();
  } else if (isInside) {
    SetDown(!down_);  // may be refused: a down button without AllowAllUp stays down
    if (down_) Repaint();
  } else {
    if (down_) state_ = bsExclusive;
    Repaint();
  }
  if (isInside)
    Click();
  else
    mouseLeaveStep();
  syncHover();
}

void TFlatButton::Click() {
  if (Parent())
    if (TCustomForm* form = GetParentForm()) form->SetModalResult(modalResult_);
  TCustomControl::Click();
}

void TFlatButton::mouseEnterStep() {
  if (!Enabled() || hot_) return;
  hot_ = true;
  Invalidate();
}

void TFlatButton::mouseLeaveStep() {
  if (!Enabled() || !hot_ || dragging_) return;
  hot_ = false;
  ClassHoverTracker().StopTracking(this);
  Invalidate();
}

void TFlatButton::syncHover() {
  if (!Enabled()) return;
  // Setting hot to the opposite first makes exactly one of the steps run, which leaves hot
  // matching the cursor and repaints.
  hot_ = FindControlAtScreen(GetCursorPos(), true) != this;
  if (hot_)
    mouseLeaveStep();
  else
    mouseEnterStep();
}

void TFlatButton::CMMouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TFlatButton::CMMouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}

// --- keyboard, focus, enabling ----------------------------------------------------------------

void TFlatButton::KeyDown(uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key != VK_SPACE) return;
  if (groupIndex_ != 0)
    SetDown(true);
  else
    state_ = bsDown;
  Invalidate();
}

void TFlatButton::KeyUp(uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyUp(Key, Shift);
  if (Key != VK_SPACE) return;
  if (groupIndex_ != 0)
    SetDown(false);  // refused unless AllowAllUp
  else
    state_ = bsUp;
  Click();
  Invalidate();
}

bool TFlatButton::CMDialogChar(char32_t ch) {
  if (Enabled() && IsAccel(ch, Caption())) {
    if (groupIndex_ != 0) SetDown(true);
    Click();
    return true;
  }
  return TCustomControl::CMDialogChar(ch);
}

void TFlatButton::WMSetFocus() {
  TCustomControl::WMSetFocus();
  if (!Enabled()) return;
  hot_ = true;
  Invalidate();
}

void TFlatButton::WMKillFocus() {
  TCustomControl::WMKillFocus();
  mouseLeaveStep();
}

void TFlatButton::CMEnabledChanged() {
  TCustomControl::CMEnabledChanged();
  if (!Enabled()) {
    hot_ = false;
    state_ = bsDisabled;
    ClassHoverTracker().StopTracking(this);
  }
  syncHover();
  Invalidate();
}

void TFlatButton::CMParentColorChanged() {
  TCustomControl::CMParentColorChanged();
  colors_.FollowColorChange(*this);
}

void TFlatButton::CMSysColorChange() {
  TCustomControl::CMSysColorChange();
  colors_.FollowColorChange(*this);
}

void TFlatButton::WMSize() {
  TCustomControl::WMSize();
  if (transparentMode_ != tmNone) Invalidate();
}

void TFlatButton::WMMove() {
  TCustomControl::WMMove();
  if (transparentMode_ != tmNone) Invalidate();
}

void TFlatButton::Loaded() {
  TCustomControl::Loaded();
  Invalidate();
}

// --- painting ---------------------------------------------------------------------------------

void TFlatButton::paintFace(TCanvas& canvas, const TRect& client) {
  std::optional<TColor> fill;  // none: the parent's image
  switch (transparentMode_) {
    case tmAlways:
      break;
    case tmNotFocused:
      if (hot_)
        fill = state_ == bsDisabled ? Color() : state_ == bsDown ? colors_.Down : colors_.Focused;
      break;
    case tmNone:
      switch (state_) {
        case bsUp: fill = hot_ ? colors_.Focused : Color(); break;
        case bsDisabled: fill = Color(); break;
        case bsDown: fill = colors_.Down; break;
        case bsExclusive: fill = hot_ ? colors_.Focused : colors_.Down; break;
      }
      break;
  }
  if (!fill) {
    PaintParentBackground(*this, canvas);
    return;
  }
  canvas.Brush.SetColor(*fill);
  canvas.Brush.SetStyle(bsSolid);
  canvas.FillRect(client);
}

void TFlatButton::paintGlyph(TCanvas& canvas, TPoint pos) {
  const int count = numGlyphs_;
  const int width = glyph_.Width() / count, height = glyph_.Height();
  if (width <= 0 || height <= 0) return;
  // Which image (1-based) each state shows, by the number of images.
  int image = 1;
  switch (count) {
    case 2: image = state_ == bsDisabled ? 2 : 1; break;
    case 3: image = state_ == bsUp ? 1 : state_ == bsDisabled ? 2 : 3; break;
    case 4: image = state_ == bsUp ? 1 : state_ == bsDisabled ? 2 : state_ == bsDown ? 3 : 4; break;
    default: break;
  }
  int sourceX = (image - 1) * width;
  // The last image runs to the glyph's right edge (a glyph whose width is not a multiple of
  // the count gives it the extra columns, squeezed into the image's width).
  int sourceWidth = image == count ? glyph_.Width() - sourceX : width;
  TBitmap picture(width, height);
  picture.Canvas().StretchBlt(0, 0, width, height, glyph_, sourceX, 0, sourceWidth, height, SRCCOPY);
  TColor transparent = glyph_.GetPixel(0, height - 1);
  if (count == 1 && state_ == bsDisabled) {
    picture = std::move(*MakeEmbossedGlyph(picture, clBlack, clBtnFace, true, clBtnShadow,
                                           clBtnHighlight));
    transparent = picture.GetPixel(0, height - 1);
  }
  TImageList images(width, height);
  images.AddMasked(picture, transparent);
  images.Draw(canvas, pos.X, pos.Y, 0);
}

void TFlatButton::Paint() {
  const TRect client = ClientRect();
  TBitmap offscreen(client.Width(), client.Height());
  TCanvas& canvas = offscreen.Canvas();
  canvas.Font = Font();
  TPoint pressOffset = state_ == bsDown || state_ == bsExclusive ? TPoint{1, 1} : TPoint{0, 0};
  TGlyphCaptionLayout layout = LayoutGlyphAndCaption(canvas, client, pressOffset, layout_, spacing_,
                                                     margin_, &glyph_, numGlyphs_, Caption());

  // The state follows Enabled here, so enabling shows up (or exclusive) at the next paint.
  if (Enabled()) {
    if (state_ == bsDisabled) state_ = down_ && groupIndex_ != 0 ? bsExclusive : bsUp;
  } else {
    state_ = bsDisabled;
    dragging_ = false;
  }

  paintFace(canvas, client);

  switch (state_) {
    case bsUp:
      if (hot_)
        PaintBevelFrame(canvas, client, colors_.HighLight, colors_.Shadow, 1);  // raised
      else
        PaintBevelFrame(canvas, client, colors_.Border, colors_.Border, default_ ? 2 : 1);
      break;
    case bsDisabled:
      PaintBevelFrame(canvas, client, colors_.Border, colors_.Border, 1);
      break;
    case bsDown:
    case bsExclusive:
      PaintBevelFrame(canvas, client, colors_.Shadow, colors_.HighLight, 1);  // sunken
      break;
  }

  if (!glyph_.Empty()) paintGlyph(canvas, layout.GlyphPos);

  if (!Caption().empty()) {
    const unsigned flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    canvas.Brush.SetStyle(bsClear);
    if (state_ == bsDisabled) {
      canvas.Font.SetColor(clBtnHighlight);
      canvas.DrawText(Caption(), layout.TextBounds.Offset(1, 1), flags);
      canvas.Font.SetColor(clBtnShadow);
    }
    canvas.DrawText(Caption(), layout.TextBounds, flags);
  }

  Canvas().Draw(0, 0, offscreen);
}
