#pragma once
// TFlatEditControl: what the flat edit (TCustomFlatEdit) and the flat memo (TFlatMemo) share:
// a native text editor of the toolkit filling the client area, and a three-pixel flat frame
// around it that the control paints itself as its non-client area.
//
// Frame, from the outside in: one line in ColorBorder, then two rings in the background of
// the current look. Looks:
//   flat     ColorFlat     not focused, and either not hot or the focus is on a control of
//                          the same class (so a second flat edit does not light up under
//                          the mouse while another one has the focus)
//   focused  ColorFocused  focused, or hot while the focus is on a control of another class
// After every frame redraw Color (the client background and the editor's base colour) is the
// current look's background.
//
// The redraw-frame step (RedrawBorder) runs on focus changes, mouse enter and leave (hot),
// enabling, colour property changes, parent-colour and system-colour changes, and with every
// non-client paint.
#include <memory>
#include <string>

#include "flat/flat_utils.h"
#include "platform/ui/native_edit.h"
#include "platform/ui/win_control.h"

class TFlatEditControl : public TCustomControl {
 public:
  TFlatEditControl(TComponent* AOwner, TNativeEditKind kind);
  ~TFlatEditControl() override;

  static constexpr int FrameWidth = 3;  // pixels of non-client frame on every side

  TColor ColorFocused() const { return colors_.Focused; }
  void SetColorFocused(TColor value) { setColor(colors_.Focused, value); }
  TColor ColorBorder() const { return colors_.Border; }
  void SetColorBorder(TColor value) { setColor(colors_.Border, value); }
  TColor ColorFlat() const { return colors_.Flat; }
  void SetColorFlat(TColor value);  // also turns ParentColor off
  // This class's own flag in place of the framework's: ColorFlat follows the parent's colour.
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value) override;
  TAdvColors AdvColorFocused() const { return colors_.AdvFocused; }
  void SetAdvColorFocused(TAdvColors value) { setShift(colors_.AdvFocused, value); }
  TAdvColors AdvColorBorder() const { return colors_.AdvBorder; }
  void SetAdvColorBorder(TAdvColors value) { setShift(colors_.AdvBorder, value); }
  bool UseAdvColors() const { return colors_.UseAdv; }
  void SetUseAdvColors(bool value);

  // The text lives in the native editor.
  std::string Text() const;
  void SetText(const std::string& value) override;
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int value);  // characters; 0 = no limit
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool value) { hideSelection_ = value; }
  bool OEMConvert() const { return oemConvert_; }
  void SetOEMConvert(bool value) { oemConvert_ = value; }

  int SelStart() const;
  void SetSelStart(int value);
  int SelLength() const;
  void SetSelLength(int value);
  std::string SelText() const;
  void SelectAll();
  void Clear() { SetText(""); }
  bool Modified() const;
  void SetModified(bool value);

  TNotifyEvent OnChange;

  // Inspection for tests and the gallery.
  bool Hot() const { return hot_; }
  bool FocusedLook() const { return !usesFlatLook(); }

  TNativeEditHost* NativeEdit() override { return host_.get(); }
  void WMNCPaint(TCanvas& canvas) override;
  void SetParent(TWinControl* AParent) override;

 protected:
  // The look rule's "a control of the same class" (descendants included).
  virtual bool IsSameFlatClass(const TControl* control) const = 0;
  // Extra frame drawing of a descendant, inside the innermost ring (window coordinates).
  virtual void PaintFrameExtras(TCanvas& canvas, const TRect& inner, TColor background) {}
  virtual void Change();
  // The redraw-frame step: decides the look, makes Color its background, redraws the frame.
  void RedrawBorder();
  TNativeEditHost& Host() { return *host_; }

  void CMMouseEnter() override;
  void CMMouseLeave() override;
  void WMSetFocus() override;
  void WMKillFocus() override;
  void CMEnabledChanged() override;
  void CMParentColorChanged() override;
  void CMSysColorChange() override;
  void CMFontChanged() override;
  void CMTextChanged() override {}  // the native editor shows the text

 private:
  // Stores a colour and redraws the frame, even when the colour is unchanged.
  void setColor(TColor& slot, TColor value);
  // Stores a lightness shift; with advanced colours on, derives them and redraws the frame.
  void setShift(TAdvColors& shift, TAdvColors value);
  bool usesFlatLook() const;
  // Makes Color and the editor's colours match the current look; returns its background.
  TColor applyLook();

  std::unique_ptr<TNativeEditHost> host_;
  FlatColors colors_{.Focused = clWhite};  // Flat is the base of the advanced colours
  bool parentColor_ = true;  // ColorFlat follows the parent's colour
  int maxLength_ = 0;
  bool readOnly_ = false;
  bool hideSelection_ = true;
  bool oemConvert_ = false;
  bool hot_ = false;  // the mouse is over the control (the framework's enter / leave)
  TColor pushedBackground_ = clNone;  // colours last given to the native editor
  TColor pushedText_ = clNone;
};
