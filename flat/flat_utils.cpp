#include "flat/flat_utils.h"

#include "platform/core/utf8.h"
#include "platform/ui/application.h"
#include "platform/ui/services.h"
#include "platform/ui/timer.h"
#include "platform/ui/win_control.h"

// --- frames and backgrounds -----------------------------------------------------------------

void PaintBevelFrame(TCanvas& canvas, const TRect& rect, TColor topColor, TColor bottomColor,
                     int width) {
  // Inclusive corners: the polylines run along the last column and row of the rectangle.
  int left = rect.Left, top = rect.Top, right = rect.Right - 1, bottom = rect.Bottom - 1;
  canvas.Pen.SetWidth(1);
  canvas.Pen.SetStyle(psSolid);
  for (int ring = 0; ring < width; ++ring) {
    canvas.Pen.SetColor(topColor);
    canvas.Polyline({{left, bottom}, {left, top}, {right, top}});
    canvas.Pen.SetColor(bottomColor);
    // Starts on the top-right pixel and ends left of the bottom-left one, so both corners
    // take the bottom colour.
    canvas.Polyline({{right, top}, {right, bottom}, {left - 1, bottom}});
    ++left;
    ++top;
    --right;
    --bottom;
  }
}

void PaintParentBackground(TControl& control, TCanvas& canvas) {
  TWinControl* parent = control.Parent();
  if (!parent) return;
  TCanvasStateGuard guard(canvas);
  // The parent's client coordinates land on the control: shift by the control's position
  // (and its own non-client frame, for framed controls).
  TPoint origin = control.ClientOrigin();
  canvas.OffsetViewportOrg(-(control.Left() + origin.X), -(control.Top() + origin.Y));
  canvas.IntersectClipRect(0, 0, parent->ClientWidth(), parent->ClientHeight());
  parent->DispatchEraseBkgnd(canvas);
  parent->PaintTo(canvas);
}

// --- glyphs -----------------------------------------------------------------------------------

std::unique_ptr<TBitmap> MakeEmbossedGlyph(const TBitmap& source, TColor keyColor,
                                           TColor faceColor, bool drawHighlight,
                                           TColor shadowColor, TColor highlightColor) {
  const int width = source.Width(), height = source.Height();
  TBitmap mask(source);
  if (mask.Monochrome()) {
    // A monochrome source becomes colour with text and background colour both white (clear
    // bits take the text colour, set bits the background), and white is the key.
    TBitmap colour(width, height);
    colour.Canvas().SetTextColor(clWhite);
    colour.Canvas().SetBkColor(clWhite);
    colour.Canvas().BitBlt(0, 0, width, height, mask, 0, 0, SRCCOPY);
    mask = std::move(colour);
    keyColor = clWhite;
  }
  // Pixels of the key (the canvas's brush colour) become set, everything else clear.
  mask.Canvas().Brush.SetColor(keyColor);
  mask.SetMonochrome(true);

  auto result = std::make_unique<TBitmap>(width, height);
  TCanvas& canvas = result->Canvas();
  canvas.Brush.SetColor(faceColor);
  canvas.FillRect({0, 0, width, height});
  // DSPDxax with a monochrome source: set bits take the brush, clear bits keep the
  // destination (clear -> text colour black, set -> background colour white).
  canvas.SetTextColor(clBlack);
  canvas.SetBkColor(clWhite);
  if (drawHighlight) {
    canvas.Brush.SetColor(highlightColor);
    canvas.BitBlt(1, 1, width, height, mask, 0, 0, ROP_DSPDxax);
  }
  canvas.Brush.SetColor(shadowColor);
  canvas.BitBlt(0, 0, width, height, mask, 0, 0, ROP_DSPDxax);
  return result;
}

TGlyphCaptionLayout LayoutGlyphAndCaption(TCanvas& canvas, const TRect& client,
                                          TPoint pressOffset, TButtonLayout layout,
                                          int spacing, int margin, const TBitmap* glyph,
                                          int numGlyphs, const std::string& caption) {
  const TPoint clientSize{client.Width(), client.Height()};
  TPoint glyphSize{0, 0};
  if (glyph && !glyph->Empty() && numGlyphs > 0)
    glyphSize = {glyph->Width() / numGlyphs, glyph->Height()};

  TRect textBounds{0, 0, 0, 0};
  TPoint textSize{0, 0};
  if (!caption.empty()) {
    textBounds = {0, 0, clientSize.X, 0};
    canvas.DrawText(caption, textBounds, DT_CALCRECT | DT_SINGLELINE);
    textSize = {textBounds.Width(), textBounds.Height()};
  }

  TButtonPlacement place = PlaceGlyphAndCaption({clientSize.X, clientSize.Y}, {glyphSize.X, glyphSize.Y},
                                                {textSize.X, textSize.Y}, layout, spacing, margin);
  const TPoint glyphPos = place.GlyphPos, textPos = place.TextPos;

  TGlyphCaptionLayout out;
  out.GlyphPos = {glyphPos.X + client.Left + pressOffset.X, glyphPos.Y + client.Top + pressOffset.Y};
  out.TextBounds = textBounds.Offset(textPos.X + client.Left + pressOffset.X,
                                     textPos.Y + client.Top + pressOffset.Y);
  return out;
}

// --- hover tracking ---------------------------------------------------------------------------

HoverTracker::~HoverTracker() = default;

void HoverTracker::AddInstance() {
  if (instances_++ > 0) return;
  timer_ = std::make_unique<TTimer>(nullptr);
  timer_->SetEnabled(false);
  timer_->SetInterval(Interval);
  timer_->OnTimer = [this](TObject*) { Check(); };
}

void HoverTracker::RemoveInstance(TControl* control) {
  StopTracking(control);
  if (--instances_ == 0) timer_.reset();
}

void HoverTracker::Track(TControl* control, TPoint screenPos, std::function<void()> enterStep,
                         std::function<void()> leaveStep) {
  if (control == tracked_) return;
  if (FindControlAtScreen(screenPos, true) != control) return;
  if (tracked_) {
    auto previousLeave = trackedLeave_;  // the step may stop tracking and reset the slot
    previousLeave();
  }
  if (!Application || !Application->Active()) return;
  if (timer_) timer_->SetEnabled(false);
  tracked_ = control;
  trackedLeave_ = std::move(leaveStep);
  if (timer_) timer_->SetEnabled(true);
  enterStep();
}

void HoverTracker::StopTracking(TControl* control) {
  if (!control || control != tracked_) return;
  if (timer_) timer_->SetEnabled(false);
  tracked_ = nullptr;
  trackedLeave_ = nullptr;
}

void HoverTracker::Check() {
  if (!tracked_) return;
  if (FindControlAtScreen(GetCursorPos(), true) == tracked_) return;
  auto leave = trackedLeave_;  // the step may stop tracking and reset the slot
  leave();
}
