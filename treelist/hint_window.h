#pragma once
// TqlContainerHintWindow: the small tooltip window of the grid family (the data-aware grid
// shows it over its filter status bar). A top-level pop-up in clInfoBk that never takes the
// activation and lets the mouse through to whatever lies below it.
#include <string>

#include "platform/ui/form.h"

class TqlContainerHintWindow : public TCustomForm {
 public:
  explicit TqlContainerHintWindow(TComponent* AOwner);

  // Shows text at a screen point in the face and character set of font (its size is not used:
  // hints use the status-bar size), moved into the screen when needed; topmost, inactive.
  void Show(TPoint screenPos, const std::string& text, const TFont& font);

  // The window's outer size for text in its current font: the word-wrapped text measured in a
  // box as wide as the screen, plus 3 pixels of frame and margin on each side.
  TSize MeasureHint(const std::string& text) const;

 protected:
  void Paint() override;
  // Mouse-transparent: the messages go to the window under the hint.
  void WMMouse(TWMMouse& msg) override;
  void WMMouseWheel(TWMMouseWheel& msg) override;
};

// The point size of hint text (the platform reports no status-bar font).
inline constexpr int kHintFontSize = 8;

// Top-left of a hint window of the given size that wants its top-left at desired: moved left
// and up so that it ends inside screen, but never left of or above the screen's origin.
TPoint HintWindowPosition(TPoint desired, TSize size, const TRect& screen);
