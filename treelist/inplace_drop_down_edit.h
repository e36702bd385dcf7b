#pragma once
// TqlInplaceDropDownEdit: the mask editor with editor buttons and a popup list. The base owns
// the buttons (hit test, press, release, painting in the frame), the popup's place on the
// screen and the routing of keys to a visible popup; what drops down and what a choice does
// belong to the editors built on it (the image editor, the pick-list editor), through the
// virtual operations below.
//
// The buttons lie in the editor's frame, between the border and the text window: the text
// window is the content rectangle less the buttons, so typing never runs under a button.
//
// The popup opens from a posted request (kqlDropDownRequest), so a press on a button or the
// activation finishes before the list shows; hiding the editor closes a visible popup.
//
// Keys while the popup is visible (ForwardKeysToPopup): Alt+Up, Alt+Down and F4 close it with
// the choice, Enter closes with the choice, Escape without; with SearchInPopup characters,
// Backspace and Delete edit the text and search the list, Home, End, Left and Right move in
// the text, and the paging and arrow keys go to the list; without it every key goes to the
// list. Without forwarding Alt+Up, Alt+Down and F4 drop down directly.
#include <functional>
#include <memory>
#include <string>

#include "platform/core/alignment.h"
#include "treelist/editor_buttons.h"
#include "treelist/inplace_mask_edit.h"

class TBitmap;
class TCustomqlPopupListBox;

// Private messages of the drop-down editors (above WM_APP).
inline constexpr uint32_t kqlPopupClosedNotice = 0x8065;  // the popup went away by itself
inline constexpr uint32_t kqlDropDownRequest = 0x8066;    // drop down now

// Sender, the chosen value (the handler may change it) and whether it is taken.
using TqlCloseUpEvent = std::function<void(TObject* Sender, std::string& Value, bool& Accept)>;

class TqlInplaceDropDownEdit : public TqlInplaceMaskEdit {
 public:
  explicit TqlInplaceDropDownEdit(TComponent* AOwner);
  ~TqlInplaceDropDownEdit() override;

  // ----- settings --------------------------------------------------------------------------------
  bool ForwardKeysToPopup() const { return forwardKeysToPopup_; }
  void SetForwardKeysToPopup(bool value) { forwardKeysToPopup_ = value; }
  int DropDownRows() const { return dropDownRows_; }
  void SetDropDownRows(int value) { dropDownRows_ = value < 1 ? 1 : value; }
  int DropDownWidth() const { return dropDownWidth_; }  // 0: computed
  void SetDropDownWidth(int value) { dropDownWidth_ = value < 0 ? 0 : value; }
  TAlignment PopupAlignment() const { return popupAlignment_; }
  void SetPopupAlignment(TAlignment value) { popupAlignment_ = value; }
  int PopupFrame() const { return popupFrame_; }  // 0: from the container or the border
  void SetPopupFrame(int value) { popupFrame_ = value; }
  // The glyph of a glyph button; the editor keeps a copy (empty: a down arrow).
  const TBitmap* ButtonGlyph() const { return buttonGlyph_.get(); }
  void SetButtonGlyph(const TBitmap* value);
  bool PopupOnClick() const { return popupOnClick_; }
  void SetPopupOnClick(bool value) { popupOnClick_ = value; }
  bool PopupOnActivation() const { return popupOnActivation_; }
  void SetPopupOnActivation(bool value) { popupOnActivation_ = value; }
  bool SearchInPopup() const { return searchInPopup_; }
  void SetSearchInPopup(bool value) { searchInPopup_ = value; }

  // ----- state -------------------------------------------------------------------------------
  TCustomqlPopupListBox* Popup() const { return popup_; }
  bool PopupVisible() const { return popupVisible_; }
  int HotButton() const { return hotButton_; }
  int PressedButton() const { return pressedButton_; }
  // The buttons as they are now, and their rectangles in window coordinates.
  const std::vector<TqlEditButton>& Buttons() const { return buttons_; }
  std::vector<TRect> ButtonRects() const;
  // The frame kind the popup wears: PopupFrame, else the container's answer, else by border.
  int ResolvedPopupFrame() const;

  TNotifyEvent OnButtonClick;
  TNotifyEvent OnDropDown;
  TqlCloseUpEvent OnCloseUp;

  // ----- operations --------------------------------------------------------------------------
  // The popup's window rectangle on screen for a popup of this size, kept on the work area of
  // the monitor nearest the editor (a narrower popup is widened to the editor with adjustWidth).
  virtual TRect PlacePopup(TSize popupSize, bool adjustWidth) const;
  virtual void CloseUp(bool accept) {}
  virtual void PressButton(bool withoutCapture, int index);
  virtual void ButtonClicked(int index) {}
  // Raises OnCloseUp.
  virtual void DoCloseUp(std::string& value, bool& accept);
  // Alt+Up, Alt+Down, F4, and Enter or Escape while the popup is visible; true when used.
  virtual bool DropDownKey(uint16_t key, TShiftState shift);
  virtual void StepValue(int delta) {}
  virtual void DropDown() {}
  // OnButtonClick, then OnDropDown.
  virtual void DoButtonAndDropDownEvents();
  virtual void SearchPopup(const std::string& text) {}
  // The record's buttons: none when hidden, else one (a glyph button or a down arrow).
  virtual void ComputeButtons(TqlDropDownEditViewData& data) const;
  virtual int ButtonWidth(const TqlDropDownEditViewData& data, const TqlEditButton& button) const;

  // The grid passes on the click that showed the editor: a press still held on a button
  // presses it (the release clicks it); a click already released on a button, or anywhere
  // with PopupOnClick, drops the popup down at once.
  void ContainerMouseDown(TPoint windowPos, TShiftState shift) override;

  void StyleChanged() override;
  void WMNCPaint(TCanvas& canvas) override;

 protected:
  // Sets the popup in use (non-owning) and whether it shows.
  void SetPopup(TCustomqlPopupListBox* popup) { popup_ = popup; }
  void SetPopupVisible(bool value) { popupVisible_ = value; }
  // Hides a visible popup without a choice (the editor hides, loses the focus...).
  void ClosePopupQuietly();
  // Shows a filled list as the popup: rows items high (at most DropDownRows), clientWidth
  // wide (widened to the editor), below the editor or above it when there is no room below.
  void OpenPopupList(TCustomqlPopupListBox& list, int clientWidth);
  // Hides the visible popup list (the editor keeps or takes back the focus) and repaints.
  void HidePopupList();
  // A chosen value: OnCloseUp may change it or refuse it; a taken value becomes the text.
  void TakeChosenValue(std::string value, bool accept);
  // Sets the text as the user would (modified, change hooks) when it differs and may change;
  // the new text is selected.
  void SetValueText(const std::string& value);
  // Sets up a list for this editor: its font, colour, frame kind and shadow.
  void PreparePopupList(TCustomqlPopupListBox& list) const;
  // The width of the widest text in the editor's font.
  int WidestText(const std::vector<std::string>& texts) const;
  void TextLengthChanged() override;
  // The buttons' widths come off the text window's sides.
  TRect InnerInsets() const override;
  // The editor is selected (focused, or its buttons always show): buttons do not hide.
  bool Selected() const;
  void UpdateButtons();

  void ActivationHook() override;
  void WndProc(TMessage& msg) override;
  void WMKeyDown(TWMKey& msg) override;
  void WMChar(char32_t& ch) override;
  void WMSetFocus() override;
  void WMKillFocus() override;
  void WMCancelMode() override;
  void CMVisibleChanged() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void CMMouseLeave() override;
  void WMMouseWheel(TWMMouseWheel& msg) override;

 private:
  TqlDropDownEditViewData buttonData() const;
  void setHotButton(int index);
  void releasePressedButton();
  // Hands a held left button to the visible popup once the mouse (a client point) is over it.
  bool handMouseToPopup(TPoint clientPos, TShiftState shift);
  TPoint windowPos(int x, int y) const;

  bool forwardKeysToPopup_ = true;
  int dropDownRows_ = 7;
  int dropDownWidth_ = 0;
  TAlignment popupAlignment_ = taLeftJustify;
  int popupFrame_ = 0;
  std::unique_ptr<TBitmap> buttonGlyph_;
  bool popupOnClick_ = false;
  bool popupOnActivation_ = false;
  bool searchInPopup_ = false;

  TCustomqlPopupListBox* popup_ = nullptr;  // non-owning
  bool popupVisible_ = false;
  int hotButton_ = -1;
  int pressedButton_ = -1;
  bool mouseInPopup_ = false;  // a held left button was handed to the popup
  std::vector<TqlEditButton> buttons_;
};
