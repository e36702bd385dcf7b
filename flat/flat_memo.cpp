#include "flat/flat_memo.h"

TFlatMemo::TFlatMemo(TComponent* AOwner) : TFlatEditControl(AOwner, nekMultiLine) {
  SetBounds(0, 0, 185, 89);
  Host().SetWordWrap(wordWrap_);
  Host().SetWantReturns(wantReturns_);
  Host().SetWantTabs(wantTabs_);
}

bool TFlatMemo::IsSameFlatClass(const TControl* control) const {
  return dynamic_cast<const TFlatMemo*>(control) != nullptr;
}

void TFlatMemo::SetAlignment(TAlignment value) {
  alignment_ = value;
  Host().SetAlignment(value == taRightJustify ? naRight : value == taCenter ? naCenter : naLeft);
}

void TFlatMemo::SetScrollBars(TScrollStyle value) {
  if (!StoreChanged(scrollBars_, value)) return;
  const TNativeScrollBars native[] = {nsbNone, nsbHorizontal, nsbVertical, nsbBoth};
  Host().SetScrollBars(native[value]);
  RedrawBorder();
}

void TFlatMemo::SetWantReturns(bool value) {
  wantReturns_ = value;
  Host().SetWantReturns(value);
}

void TFlatMemo::SetWantTabs(bool value) {
  wantTabs_ = value;
  Host().SetWantTabs(value);
}

void TFlatMemo::SetWordWrap(bool value) {
  wordWrap_ = value;
  Host().SetWordWrap(value);
}

int TFlatMemo::WMGetDlgCode() {
  int code = DLGC_WANTARROWS | DLGC_WANTCHARS;
  if (wantReturns_) code |= DLGC_WANTALLKEYS;
  if (wantTabs_) code |= DLGC_WANTTAB;
  return code;
}

void TFlatMemo::PaintFrameExtras(TCanvas& canvas, const TRect& inner, TColor background) {
  if (scrollBars_ != ssBoth) return;
  // The square between the two scroll bars. The native editor keeps its scroll bars inside
  // the client area, where this canvas is clipped away; the fill matters only where the
  // corner lies in the frame.
  canvas.Brush.SetStyle(bsSolid);
  canvas.Brush.SetColor(background);
  canvas.FillRect({inner.Right - 17, inner.Bottom - 17, inner.Right - 1, inner.Bottom - 1});
}

// --- lines ----------------------------------------------------------------------------------

std::vector<std::string> TMemoLines::split() const {
  std::vector<std::string> lines;
  std::string text = memo_.Text();
  if (text.empty()) return lines;
  size_t start = 0;
  while (true) {
    size_t end = text.find('\n', start);
    std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

int TMemoLines::Count() const { return static_cast<int>(split().size()); }

std::string TMemoLines::Strings(int index) const {
  std::vector<std::string> lines = split();
  return index >= 0 && index < static_cast<int>(lines.size()) ? lines[index] : std::string();
}

std::string TMemoLines::Text() const { return memo_.Text(); }

void TMemoLines::SetText(const std::string& text) {
  std::string normalised;
  normalised.reserve(text.size());
  for (char c : text)
    if (c != '\r') normalised += c;
  memo_.SetText(normalised);
}

void TMemoLines::Add(const std::string& line) {
  std::string text = memo_.Text();
  memo_.SetText(text.empty() ? line : text + "\n" + line);
}

void TMemoLines::Clear() { memo_.SetText(""); }
