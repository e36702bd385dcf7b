#include "treelist/editor_buttons.h"

#include <algorithm>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"
#include "platform/ui/services.h"

namespace {

bool isFlatOrSimple(TqlEditButtonViewStyle style) {
  return style == btsFlat || style == btsSimple;
}

void fill(TCanvas& canvas, const TRect& rect, TColor color) {
  if (rect.IsEmpty()) return;
  canvas.Brush.SetStyle(bsSolid);
  canvas.Brush.SetColor(color);
  canvas.FillRect(rect);
}

// What the frame step leaves for the symbol, and the colours the symbol step needs.
struct FaceResult {
  TRect inner;
  TColor symbolColor = clBtnText;
};

// Draws the frame of one button and fills its middle; returns the rectangle left inside.
FaceResult drawFace(TCanvas& canvas, TRect r, const TqlEditButtonPaint& p,
                    TqlEditButtonViewStyle style) {
  const TColor face = p.Transparent ? p.Background : TColor(clBtnFace);
  TColor middle = face;
  FaceResult result;
  switch (style) {
    case btsFlat:
      if (!p.Transparent) {
        fill(canvas, {r.Left, r.Top, r.Left + 1, r.Bottom}, clBtnFace);
        r.Left += 1;
      }
      canvas.DrawEdge(r, p.Pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
      break;
    case btsSimple:
      if (p.Transparent) {
        r = r.Inflate(-1, -1);
      } else {
        canvas.Brush.SetStyle(bsSolid);
        canvas.Brush.SetColor(p.Background);
        canvas.FrameRect(r);
        r = r.Inflate(-1, -1);
        fill(canvas, {r.Left, r.Top, r.Left + 1, r.Bottom}, p.Background);
        r.Left += 1;
      }
      break;
    case btsHotFlat: {
      canvas.Brush.SetStyle(bsSolid);
      canvas.Brush.SetColor(clBtnShadow);
      canvas.FrameRect(r);
      r = r.Inflate(-1, -1);
      if (!p.Transparent) {
        if (!p.Enabled) middle = clBtnFace;
        else if (p.Pressed) middle = clBtnText;
        else if (p.Hot) middle = clBtnShadow;
        else middle = clBtnFace;
      }
      if (!p.Transparent && (p.Hot || p.Pressed))
        result.symbolColor = clWindow;
      else if (p.Transparent && p.Hot && !p.Pressed)
        result.symbolColor = clBtnShadow;
      break;
    }
    case bts3D:
    default:
      if (p.Pressed) {
        canvas.DrawEdge(r, BDR_SUNKENOUTER, BF_LEFT | BF_TOP | BF_ADJUST);
        canvas.DrawEdge(r, BDR_RAISEDINNER, BF_RIGHT | BF_BOTTOM | BF_ADJUST);
      } else {
        canvas.DrawEdge(r, EDGE_RAISED, BF_RECT | BF_ADJUST);
      }
      break;
  }
  // A glyph button fills its middle with the glyph step; a transparent one keeps what the
  // editor painted under it.
  if (p.Kind != ebkGlyph && !p.Transparent) fill(canvas, r, middle);
  result.inner = r;
  return result;
}

void drawEllipsis(TCanvas& canvas, const TRect& r, int dot, TColor color) {
  // Three dots with one dot size between them: 5 dot sizes in all.
  const int left = r.Left + (r.Width() - 5 * dot) / 2;
  const int top = r.Top + (r.Height() - dot) / 2;
  for (int i = 0; i < 3; ++i) {
    int x = left + i * 2 * dot;
    fill(canvas, {x, top, x + dot, top + dot}, color);
  }
}

void drawDownArrow(TCanvas& canvas, const TRect& r, int width, TColor color) {
  // Rows narrowing by one pixel per side down to the one-pixel apex width / 2 rows below.
  const int rows = width / 2 + 1;
  const int left = r.Left + (r.Width() - width) / 2;
  const int top = r.Top + (r.Height() - rows) / 2;
  for (int i = 0; i < rows; ++i) fill(canvas, {left + i, top + i, left + width - i, top + i + 1}, color);
}

}  // namespace

bool EditButtonsHidden(TqlEditButtonTransparence transparence, bool selected) {
  return transparence == ebtHideInactive && !selected;
}

int EditButtonWidth(TqlEditButtonViewStyle style, const TqlEditButton& button) {
  if (button.Kind == ebkGlyph && button.Glyph) {
    int width = button.Glyph->Width() + 2;
    if (isFlatOrSimple(style)) width += 1;
    else if (style == bts3D) width += 2;
    return width;
  }
  int width = GetSystemMetrics(SM_CXVSCROLL);
  if (isFlatOrSimple(style)) width -= 1;
  return width;
}

void ComputeEditButtons(TqlDropDownEditViewData& data) {
  data.Buttons.clear();
  if (data.HideButtons) return;
  TqlEditButton button;
  if (data.ButtonGlyph && !data.ButtonGlyph->Empty()) {
    button.Kind = ebkGlyph;
    button.Glyph = data.ButtonGlyph;
  } else {
    button.Kind = ebkDown;
  }
  button.Width = EditButtonWidth(data.ButtonStyle, button);
  data.Buttons.push_back(button);
}

TqlEditButtonLayout LayoutEditButtons(const std::vector<TqlEditButton>& buttons,
                                      const TRect& inner) {
  TqlEditButtonLayout layout;
  layout.Buttons.resize(buttons.size());
  TRect rest = inner;
  for (size_t i = buttons.size(); i-- > 0;) {
    int width = std::clamp(buttons[i].Width, 0, std::max(0, rest.Width()));
    if (buttons[i].LeftSide) {
      layout.Buttons[i] = {rest.Left, rest.Top, rest.Left + width, rest.Bottom};
      rest.Left += width;
    } else {
      layout.Buttons[i] = {rest.Right - width, rest.Top, rest.Right, rest.Bottom};
      rest.Right -= width;
    }
  }
  layout.TextArea = rest;
  return layout;
}

void DrawEditButton(TCanvas& canvas, const TRect& rect, const TqlEditButtonPaint& paint) {
  if (rect.IsEmpty()) return;
  TCanvasStateGuard guard(canvas);
  canvas.IntersectClipRect(rect);
  TqlEditButtonViewStyle style = paint.Style == btsDefault ? bts3D : paint.Style;
  if (style == btsSimple && (paint.Hot || paint.Pressed)) style = btsFlat;

  FaceResult face = drawFace(canvas, rect, paint, style);
  TRect r = face.inner;
  if (paint.Pressed && style != btsHotFlat) {
    int offset = (paint.Kind == ebkGlyph && style == bts3D) ? 2 : 1;
    r = r.Offset(offset, offset);
  }

  if (paint.Kind == ebkGlyph) {
    if (!paint.Glyph || paint.Glyph->Empty()) return;
    const TBitmap& glyph = *paint.Glyph;
    // The glyph's transparent pixels show the face; a transparent button keeps what the
    // editor painted under it.
    if (!paint.Transparent) fill(canvas, face.inner, clBtnFace);
    int free = r.Width() - glyph.Width();
    int x = r.Left + free / 2;
    if ((paint.Pressed || isFlatOrSimple(style)) && (free & 1)) x += 1;
    int y = r.Top + (r.Height() - glyph.Height()) / 2;
    TBitmap transparent(glyph);
    transparent.SetTransparent(true);
    canvas.Draw(x, y, transparent);
    return;
  }

  auto drawSymbol = [&](const TRect& at, TColor color) {
    if (paint.Kind == ebkEllipsis) {
      // The flat and simple buttons are one pixel narrower than the others: counted back in.
      int width = rect.Width() + (isFlatOrSimple(style) ? 1 : 0);
      drawEllipsis(canvas, at, width <= 15 ? 1 : 2, color);
    } else {
      int width = rect.Width() / 2;
      if ((width & 1) == 0) width += 1;
      drawDownArrow(canvas, at, width, color);
    }
  };
  if (paint.Enabled) {
    drawSymbol(r, face.symbolColor);
  } else {
    drawSymbol(r.Offset(1, 1), clBtnHighlight);
    drawSymbol(r, clBtnShadow);
  }
}

TqlEditButtonState EditButtonDrawState(int index, int hotButton, int pressedButton) {
  TqlEditButtonState state;
  state.Hot = index == hotButton;
  state.Pressed = state.Hot && index == pressedButton;
  return state;
}

void DrawEditButtons(TCanvas& canvas, TRect& inner, const TqlDropDownEditViewData& data) {
  TqlEditButtonLayout layout = LayoutEditButtons(data.Buttons, inner);
  for (size_t i = data.Buttons.size(); i-- > 0;) {
    const TqlEditButton& button = data.Buttons[i];
    TqlEditButtonState state =
        EditButtonDrawState(static_cast<int>(i), data.HotButton, data.PressedButton);
    TqlEditButtonPaint paint;
    paint.Kind = button.Kind;
    paint.Glyph = button.Glyph;
    paint.Style = data.ButtonStyle;
    paint.Hot = state.Hot;
    paint.Pressed = state.Pressed;
    paint.Transparent = data.ButtonTransparent;
    paint.Enabled = data.Enabled;
    paint.Background = data.BkColor;
    DrawEditButton(canvas, layout.Buttons[i], paint);
  }
  inner = layout.TextArea;
}

TqlEditButtonHit HitTestEditButtons(const std::vector<TRect>& buttonRects, TPoint point,
                                    int pressedButton, bool mouseCaptured, bool designing) {
  TqlEditButtonHit hit;
  if (designing) return hit;
  if (mouseCaptured && pressedButton == -1) return hit;
  for (size_t i = 0; i < buttonRects.size(); ++i) {
    if (!buttonRects[i].Contains(point)) continue;
    int index = static_cast<int>(i);
    hit.OnFrame = true;
    hit.HotButton = (pressedButton == -1 || pressedButton == index) ? index : -1;
    return hit;
  }
  return hit;
}
