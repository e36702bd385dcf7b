#pragma once
// TCustomqlContainer: the base of controls that host an in-place editor. The editor asks its
// container a fixed set of questions (the contract below); the base answers conservatively and
// the grid overrides the answers from its options and focused column.
//
// The contract, in declaration order (base answer | grid answer, added by the grid layers):
//   CanEditorModify                 no       | yes (the control: a focused, writable column)
//   CanEditorAcceptChar             no       | yes
//   CreateEditStyle                 TqlEditStyle | TqlTreeListEditStyle
//   EditorColor                     Color    | the focused column's Color
//   EditorFont                      Font     | the focused column's own Font, else Font
//   IsReadOnly                      no       | no
//   HideFocusRect                   no       | tloHideFocusRect
//   EditorKeyDown                   OnKeyDown | same
//   ShouldEditorDropKeys            no       | the focused column is not the editor's any more
//   EditorDblClickFromQuickClicks   no       | tloImmediateEditor
//   ShowEditorButtonsAlways         no       | tloShowButtonAlways
//   PopupFrameKind                  2        | 1 unless LookAndFeel is lfStandard
//   HandlesTab                      no       | tloTabs while Ctrl is up
//   MoveToNeighbourColumn           nothing  | close the editor, focus the column left/right
//   EditorFocusChanged              nothing  | repaint the focused and selected rows
//   BeginEditorLoading / End...     set / clear the initialising flag (both)
//
// What the hosted editor does with the answers (the editor side implements it): on focus it
// makes the container its form's focused control and calls EditorFocusChanged; it drops key
// messages while ShouldEditorDropKeys; it turns a quick second press into a double click when
// EditorDblClickFromQuickClicks; it passes wheel messages it does not use to the container.
#include <cstdint>
#include <memory>

#include "platform/ui/win_control.h"
#include "treelist/edit_style.h"
#include "treelist/treelist_types.h"

class TCustomqlContainer : public TCustomControl {
 public:
  explicit TCustomqlContainer(TComponent* AOwner);
  ~TCustomqlContainer() override;

  // Applied to both scroll bars; the platform draws the encarta style as the flat one.
  TqlScrollBarStyle ScrollBarStyle() const { return scrollBarStyle_; }
  void SetScrollBarStyle(TqlScrollBarStyle value);
  // Hides TWinControl::SetScrollInfo so that every bar written through the container keeps the
  // container's scroll bar style.
  void SetScrollInfo(TScrollBarKind bar, const TScrollInfo& info, bool redraw = true);

  // ===== the contract (questions and notifications of the hosted editor) =====================
  virtual bool CanEditorModify() const { return false; }
  virtual bool CanEditorAcceptChar(char32_t Key) const { return false; }
  virtual std::unique_ptr<TqlEditStyle> CreateEditStyle(TqlStyledEditor* editor) const;
  virtual TColor EditorColor() const { return Color(); }
  virtual const TFont& EditorFont() const { return Font(); }
  virtual bool IsReadOnly() const { return false; }
  virtual bool HideFocusRect() const { return false; }
  // A key went down in the editor and is passed on: raises OnKeyDown.
  virtual void EditorKeyDown(uint16_t& Key, TShiftState Shift);
  virtual bool ShouldEditorDropKeys() const { return false; }
  virtual bool EditorDblClickFromQuickClicks() const { return false; }
  virtual bool ShowEditorButtonsAlways() const { return false; }
  // The frame kind of an editor's popup (popup_frame.h): 1 mono, 2 deep, 3 raised.
  virtual int PopupFrameKind() const { return 2; }
  virtual bool HandlesTab() const { return false; }
  virtual void MoveToNeighbourColumn(bool left) {}
  virtual void EditorFocusChanged() {}
  // Column change events are suppressed while a value is loaded into the editor; prefer
  // TqlEditorLoadingScope, which also ends the loading when the load throws.
  void BeginEditorLoading() { initialisingEditor_ = true; }
  void EndEditorLoading() { initialisingEditor_ = false; }
  bool IsInitialisingEditor() const { return initialisingEditor_; }

 protected:
  // One vertical line scroll per configured wheel line for each whole notch (see the .cpp).
  void WMMouseWheel(TWMMouseWheel& msg) override;

  bool initialisingEditor_ = false;  // true while a value is loaded into the editor
  TqlScrollBarStyle scrollBarStyle_ = TqlScrollBarStyle::Regular;

 private:
  void applyScrollBarStyle();
  int wheelRemainder_ = 0;  // |value| < 120: the part of a notch not scrolled yet
};

// Holds the editor-loading flag of a container for a scope.
class TqlEditorLoadingScope {
 public:
  explicit TqlEditorLoadingScope(TCustomqlContainer& c) : c_(c) { c_.BeginEditorLoading(); }
  ~TqlEditorLoadingScope() { c_.EndEditorLoading(); }
  TqlEditorLoadingScope(const TqlEditorLoadingScope&) = delete;
  TqlEditorLoadingScope& operator=(const TqlEditorLoadingScope&) = delete;

 private:
  TCustomqlContainer& c_;
};
