#pragma once
// TBitBtn: a push button with a glyph beside its caption, drawn as the classic 3-D button.
//
// Picture (ClientRect R):
//   active (focused, or Default while no other bitmap button has the focus): a clWindowFrame
//   rectangle around R, R shrinks by one
//   up      DrawEdge EDGE_RAISED | BF_SOFT with the face filled (DrawFrameControl's push button)
//   down    a clBtnShadow rectangle filled with clBtnFace; glyph and caption move by (1, 1)
//   glyph and caption   laid out together by Layout / Margin / Spacing (Margin -1 centres the
//           pair); the caption is one line; disabled: glyph embossed, caption embossed in
//           clBtnHighlight at (+1, +1) under clBtnShadow
//   focused and active  a dotted focus rectangle at ClientRect inset by 4
//
// Input: left button down takes the focus and shows the button down while the mouse stays on
// it; releasing on it clicks. Space shows it down and clicks on release; Enter clicks.
// Form-wide (a dialog key the focused control does not want): Enter clicks the active button
// (the focused one, else the Default one), Escape the Cancel button.
// Click: Kind bkClose closes the parent form; otherwise ModalResult goes to the parent form
// and OnClick runs.
#include "platform/gfx/bitmap.h"
#include "platform/gfx/image_list.h"
#include "platform/ui/button_layout.h"
#include "platform/ui/form.h"
#include "platform/ui/win_control.h"

enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };

// The framework's stock picture of a Kind (18 x 18, olive transparent background), or an
// empty bitmap for a kind without one.
TBitmap StockBitBtnGlyph(TBitBtnKind kind);

class TBitBtn : public TCustomControl {
 public:
  explicit TBitBtn(TComponent* AOwner);

  TBitBtnKind Kind() const { return kind_; }
  // A stock kind sets Caption (unless loading with a caption already set), ModalResult,
  // Default and Cancel, as the framework does.
  void SetKind(TBitBtnKind value);
  const TBitmap& Glyph() const { return glyph_; }
  // Copies the picture; a width that is a multiple of the height sets NumGlyphs.
  void SetGlyph(const TBitmap& value);
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int value);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout value);
  int Margin() const { return margin_; }
  void SetMargin(int value);
  int Spacing() const { return spacing_; }
  void SetSpacing(int value);
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }
  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }

  // The pressed look is showing.
  bool IsDown() const { return down_; }
  // Presses the button as a click does.
  void Click() override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyUp(uint16_t& Key, TShiftState Shift) override;
  void WMSetFocus() override { Invalidate(); }
  void WMKillFocus() override;
  void WMCancelMode() override;
  void CMEnabledChanged() override;
  bool CMDialogKey(uint16_t key, TShiftState shift) override;

 private:
  void setDown(bool value);
  bool isActive() const;
  // The glyph in use: the user's, else the stock one of Kind.
  const TBitmap& currentGlyph() const;
  void rebuildImages();
  void drawGlyphAndCaption(TCanvas& canvas, const TRect& client, bool enabled);

  TBitBtnKind kind_ = bkCustom;
  TBitmap glyph_;
  TBitmap stockGlyph_;
  int numGlyphs_ = 1;                  // 1..4 images side by side
  TButtonLayout layout_ = blGlyphLeft;
  int margin_ = -1;                    // -1: centre glyph and caption together
  int spacing_ = 4;                    // pixels between glyph and caption
  TModalResult modalResult_ = mrNone;
  bool default_ = false;
  bool cancel_ = false;
  bool down_ = false;        // drawn pressed
  bool mouseHeld_ = false;   // left button went down on the button and is still held
  bool spaceHeld_ = false;   // Space went down while focused
  TImageList images_;        // the glyph's images, masked by its transparent colour
  bool imagesValid_ = false;
};
