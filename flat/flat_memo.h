#pragma once
// TFlatMemo: a multi-line flat edit (see flat_edit_control.h for the frame and its looks).
// Keeps its given size. With ScrollBars ssBoth the frame step also fills the 16 x 16 corner
// square inside the innermost ring with the look's background.
#include <string>
#include <vector>

#include "flat/flat_edit_control.h"
#include "platform/core/alignment.h"
#include "platform/ui/control_types.h"


class TFlatMemo;

// The memo's text as lines (the framework's Lines), read from and written to the editor.
class TMemoLines {
 public:
  explicit TMemoLines(TFlatMemo& memo) : memo_(memo) {}
  int Count() const;
  std::string Strings(int index) const;
  void Add(const std::string& line);
  void Clear();
  // All lines joined with line breaks; SetText accepts CR LF or LF breaks.
  std::string Text() const;
  void SetText(const std::string& text);

 private:
  std::vector<std::string> split() const;
  TFlatMemo& memo_;
};

class TFlatMemo : public TFlatEditControl {
 public:
  explicit TFlatMemo(TComponent* AOwner);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle value);
  bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool value);
  bool WantTabs() const { return wantTabs_; }
  void SetWantTabs(bool value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  TMemoLines& Lines() { return lines_; }

 protected:
  bool IsSameFlatClass(const TControl* control) const override;
  void PaintFrameExtras(TCanvas& canvas, const TRect& inner, TColor background) override;
  int WMGetDlgCode() override;

 private:
  TAlignment alignment_ = taLeftJustify;
  TScrollStyle scrollBars_ = ssNone;
  bool wantReturns_ = true;
  bool wantTabs_ = false;
  bool wordWrap_ = true;
  TMemoLines lines_{*this};
};
