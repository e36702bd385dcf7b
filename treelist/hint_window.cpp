#include "treelist/hint_window.h"

#include <algorithm>

#include "platform/ui/application.h"
#include "platform/ui/services.h"

namespace {
constexpr unsigned kHintTextFlags = DT_WORDBREAK | DT_NOPREFIX;
constexpr int kHintPadding = 3;  // per side: the 1-pixel edge and the text margin
}  // namespace

TPoint HintWindowPosition(TPoint desired, TSize size, const TRect& screen) {
  int left = std::max(screen.Left, std::min(desired.X, screen.Right - size.cx));
  int top = std::max(screen.Top, std::min(desired.Y, screen.Bottom - size.cy));
  return {left, top};
}

TqlContainerHintWindow::TqlContainerHintWindow(TComponent* AOwner) : TCustomForm(AOwner) {
  SetBorderStyle(bsNone);
  SetColor(clInfoBk);
  // Screen hit tests (which control lies under the mouse) look through the hint: it is no
  // form of the application's list, only a picture above it.
  if (Application) Application->UnregisterForm(this);
}

TSize TqlContainerHintWindow::MeasureHint(const std::string& text) const {
  TCanvas measure;
  measure.Font.Assign(Font());
  TRect box{0, 0, ScreenRect().Width(), 0};
  measure.DrawText(text, box, kHintTextFlags | DT_CALCRECT);
  return {box.Width() + 2 * kHintPadding, box.Height() + 2 * kHintPadding};
}

void TqlContainerHintWindow::Show(TPoint screenPos, const std::string& text, const TFont& font) {
  SetText(text);
  TFont hintFont;
  hintFont.SetName(font.Name());
  hintFont.SetCharset(font.Charset());
  hintFont.SetSize(kHintFontSize);
  hintFont.SetColor(clInfoText);
  SetParentFont(false);
  SetFont(hintFont);
  TSize size = MeasureHint(text);
  TPoint topLeft = HintWindowPosition(screenPos, size, ScreenRect());
  SetBounds(topLeft.X, topLeft.Y, size.cx, size.cy);
  ShowPopupAt(topLeft);
  Invalidate();  // the text or font may have changed while the window was up
}

void TqlContainerHintWindow::Paint() {
  TCanvas& canvas = *paintCanvas_;
  TRect client = ClientRect();
  canvas.DrawEdge(client, BDR_RAISEDOUTER, BF_RECT);
  TRect textRect{client.Left + 1 + 2, client.Top + 1 + 2, client.Right - 1, client.Bottom - 1};
  canvas.Font.Assign(Font());
  canvas.Brush.SetStyle(bsClear);  // text without background
  canvas.DrawText(Text(), textRect, kHintTextFlags | DT_NOCLIP);
}

void TqlContainerHintWindow::WMMouse(TWMMouse& msg) {
  TPoint screen = ClientToScreen(msg.Pos);
  TControl* below = FindControlAtScreen(screen, false);
  TCustomForm* form = below ? below->GetParentForm() : nullptr;
  if (form && form != this)
    form->HandleMouse(msg.Kind, msg.Button, form->ScreenToClient(screen), msg.Shift);
}

void TqlContainerHintWindow::WMMouseWheel(TWMMouseWheel& msg) {
  TControl* below = FindControlAtScreen(msg.Pos, false);
  TCustomForm* form = below ? below->GetParentForm() : nullptr;
  if (form && form != this)
    form->HandleWheel(msg.WheelDelta, form->ScreenToClient(msg.Pos), msg.Shift);
  msg.Handled = true;
}
