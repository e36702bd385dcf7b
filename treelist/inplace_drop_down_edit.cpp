// TqlInplaceDropDownEdit (inplace_drop_down_edit.h): buttons in the frame, the popup's place
// and the routing of mouse and keys between the editor and its popup.
//
// Mouse on the buttons: a move makes the button under the mouse hot (none while another one
// is held); a left press on a hot button presses it, captures the mouse and posts the
// drop-down request; the release clicks it only when it is still hot. While a button (or,
// with PopupOnClick, the left button) is held and the popup shows, moving onto the popup hands
// the held button to it: the editor passes it every later move and the release, so the list
// follows the mouse and the release over it chooses.
#include "treelist/inplace_drop_down_edit.h"

#include <algorithm>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/services.h"
#include "treelist/container.h"
#include "treelist/popup_list_box.h"
#include "treelist/popup_placement.h"

TqlInplaceDropDownEdit::TqlInplaceDropDownEdit(TComponent* AOwner) : TqlInplaceMaskEdit(AOwner) {}

TqlInplaceDropDownEdit::~TqlInplaceDropDownEdit() { RemovePostedMessages(this); }

void TqlInplaceDropDownEdit::SetButtonGlyph(const TBitmap* value) {
  if (value && !value->Empty()) {
    buttonGlyph_ = std::make_unique<TBitmap>();
    buttonGlyph_->Assign(*value);
  } else {
    buttonGlyph_.reset();
  }
  UpdateButtons();
}

// ===== buttons =================================================================================

bool TqlInplaceDropDownEdit::Selected() const {
  return Focused() || (Container() && Container()->ShowEditorButtonsAlways());
}

TqlDropDownEditViewData TqlInplaceDropDownEdit::buttonData() const {
  TqlDropDownEditViewData data;
  const TqlEditLook look = ResolveEditLook(Style(), Selected());
  data.Enabled = Enabled();
  data.ButtonStyle = look.ButtonStyle;
  data.ButtonTransparent = look.TransparentButtons;
  data.BkColor = ColorToRGB(Color());
  data.ButtonGlyph = buttonGlyph_.get();
  data.HideButtons = EditButtonsHidden(Style().ButtonTransparence(), Selected());
  data.HotButton = hotButton_;
  data.PressedButton = pressedButton_;
  ComputeButtons(data);
  return data;
}

void TqlInplaceDropDownEdit::ComputeButtons(TqlDropDownEditViewData& data) const {
  data.Buttons.clear();
  if (data.HideButtons) return;
  TqlEditButton button;
  button.Kind = data.ButtonGlyph && !data.ButtonGlyph->Empty() ? ebkGlyph : ebkDown;
  button.Glyph = button.Kind == ebkGlyph ? data.ButtonGlyph : nullptr;
  button.Width = ButtonWidth(data, button);
  data.Buttons.push_back(button);
}

int TqlInplaceDropDownEdit::ButtonWidth(const TqlDropDownEditViewData& data,
                                        const TqlEditButton& button) const {
  return EditButtonWidth(data.ButtonStyle, button);
}

// The buttons change with the selection and the style; a change of their widths moves the
// text window.
void TqlInplaceDropDownEdit::UpdateButtons() {
  std::vector<TqlEditButton> buttons = buttonData().Buttons;
  const bool widthsChanged =
      buttons.size() != buttons_.size() ||
      !std::equal(buttons.begin(), buttons.end(), buttons_.begin(),
                  [](const TqlEditButton& a, const TqlEditButton& b) {
                    return a.Width == b.Width && a.LeftSide == b.LeftSide;
                  });
  buttons_ = std::move(buttons);
  if (widthsChanged) {
    TqlInplaceMaskEdit::StyleChanged();
  } else {
    Invalidate();
  }
}

void TqlInplaceDropDownEdit::StyleChanged() {
  buttons_ = buttonData().Buttons;
  TqlInplaceMaskEdit::StyleChanged();
}

TRect TqlInplaceDropDownEdit::InnerInsets() const {
  TRect insets{};
  for (const TqlEditButton& button : buttons_) (button.LeftSide ? insets.Left : insets.Right) += button.Width;
  return insets;
}

std::vector<TRect> TqlInplaceDropDownEdit::ButtonRects() const {
  return LayoutEditButtons(buttons_, FrameContentRect()).Buttons;
}

void TqlInplaceDropDownEdit::WMNCPaint(TCanvas& canvas) {
  TqlInplaceMaskEdit::WMNCPaint(canvas);
  TqlDropDownEditViewData data = buttonData();
  data.Buttons = buttons_;
  TRect inner = FrameContentRect();
  DrawEditButtons(canvas, inner, data);
}

// ===== mouse ===================================================================================

TPoint TqlInplaceDropDownEdit::windowPos(int x, int y) const {
  return {x + ClientOrigin().X, y + ClientOrigin().Y};
}

void TqlInplaceDropDownEdit::setHotButton(int index) {
  if (index == hotButton_) return;
  hotButton_ = index;
  Invalidate();
}

void TqlInplaceDropDownEdit::releasePressedButton() {
  if (pressedButton_ < 0) return;
  pressedButton_ = -1;
  if (GetCapture() == this) ReleaseCapture();
  Invalidate();
}

void TqlInplaceDropDownEdit::PressButton(bool withoutCapture, int index) {
  if (popupVisible_ && forwardKeysToPopup_) {
    CloseUp(false);
    return;
  }
  if (popupVisible_) return;
  pressedButton_ = hotButton_;
  if (!withoutCapture) SetCapture(this);
  Invalidate();
  if (index != -1) PostMessage(this, kqlDropDownRequest);
}

bool TqlInplaceDropDownEdit::handMouseToPopup(TPoint clientPos, TShiftState shift) {
  if (!popup_ || !popupVisible_) return false;
  const TPoint inPopup = popup_->ScreenToClient(ClientToScreen(clientPos));
  if (!popup_->ClientRect().Contains(inPopup)) return false;
  releasePressedButton();
  mouseInPopup_ = true;
  SetCapture(this);  // the editor keeps the mouse and passes it on
  TWMMouse press{mmDown, mbLeft, shift, inPopup};
  popup_->DispatchMouse(press);
  return true;
}

void TqlInplaceDropDownEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TPoint pos = windowPos(X, Y);
  if (Button == mbLeft) {
    const TControl* capture = GetCapture();
    const TqlEditButtonHit hit = HitTestEditButtons(ButtonRects(), pos, pressedButton_,
                                                    capture && capture != this);
    setHotButton(hit.HotButton);
    if (hit.OnFrame && hotButton_ >= 0) {
      PressButton(false, hotButton_);
      if (!Focused()) SetFocus();
      return;
    }
    if (popupOnClick_ && ClientRect().Contains({X, Y})) PressButton(true, 0);
  }
  TqlInplaceMaskEdit::MouseDown(Button, Shift, X, Y);
}

void TqlInplaceDropDownEdit::MouseMove(TShiftState Shift, int X, int Y) {
  const TPoint pos = windowPos(X, Y);
  if (mouseInPopup_ && popup_) {
    TWMMouse move{mmMove, mbLeft, Shift, popup_->ScreenToClient(ClientToScreen({X, Y}))};
    popup_->DispatchMouse(move);
    return;
  }
  const bool held = pressedButton_ >= 0 || (popupOnClick_ && Shift.contains(ssLeft));
  if (held && popupVisible_ && handMouseToPopup({X, Y}, Shift)) return;
  const TControl* capture = GetCapture();
  const bool capturedWithoutButton = capture == this && pressedButton_ < 0;
  setHotButton(HitTestEditButtons(ButtonRects(), pos, pressedButton_, capturedWithoutButton).HotButton);
  TqlInplaceMaskEdit::MouseMove(Shift, X, Y);
}

void TqlInplaceDropDownEdit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (mouseInPopup_ && popup_) {
    mouseInPopup_ = false;
    if (GetCapture() == this) ReleaseCapture();
    TWMMouse release{mmUp, Button, Shift, popup_->ScreenToClient(ClientToScreen({X, Y}))};
    popup_->DispatchMouse(release);
    return;
  }
  if (Button == mbLeft && pressedButton_ >= 0) {
    const int index = pressedButton_;
    setHotButton(HitTestEditButtons(ButtonRects(), windowPos(X, Y), pressedButton_, false).HotButton);
    const bool click = hotButton_ >= 0;
    releasePressedButton();
    if (click) ButtonClicked(index);
    return;
  }
  TqlInplaceMaskEdit::MouseUp(Button, Shift, X, Y);
}

void TqlInplaceDropDownEdit::CMMouseLeave() {
  if (pressedButton_ < 0) setHotButton(-1);
  TqlInplaceMaskEdit::CMMouseLeave();
}

void TqlInplaceDropDownEdit::WMCancelMode() {
  mouseInPopup_ = false;
  releasePressedButton();
  TqlInplaceMaskEdit::WMCancelMode();
}

void TqlInplaceDropDownEdit::ContainerMouseDown(TPoint pos, TShiftState shift) {
  ReleaseCapture();
  const TqlEditButtonHit hit = HitTestEditButtons(ButtonRects(), pos, pressedButton_, false);
  const bool onButton = hit.OnFrame && hit.HotButton >= 0;
  if (shift.contains(ssLeft)) {
    setHotButton(hit.HotButton);
    if (onButton) PressButton(false, hotButton_);
    return;
  }
  if ((onButton || popupOnClick_) && !popupVisible_) DropDown();
}

void TqlInplaceDropDownEdit::WMMouseWheel(TWMMouseWheel& msg) {
  msg.Handled = true;
  if (popupVisible_ && popup_) {
    popup_->SetTopIndex(popup_->TopIndex() + (msg.WheelDelta > 0 ? -1 : 1));
    return;
  }
  StepValue(msg.WheelDelta > 0 ? -1 : 1);
}

// ===== keys ====================================================================================

bool TqlInplaceDropDownEdit::DropDownKey(uint16_t key, TShiftState shift) {
  const bool alt = shift.contains(ssAlt);
  if ((alt && (key == VK_UP || key == VK_DOWN)) || (key == VK_F4 && !alt)) {
    if (popupVisible_) {
      CloseUp(true);
    } else {
      DropDown();
    }
    return true;
  }
  if ((key == VK_RETURN || key == VK_ESCAPE) && !alt && popupVisible_) {
    CloseUp(key == VK_RETURN);
    return true;  // consumed: its character never comes
  }
  return false;
}

void TqlInplaceDropDownEdit::WMKeyDown(TWMKey& msg) {
  uint16_t& key = msg.CharCode;
  const bool alt = msg.Shift.contains(ssAlt);
  if (forwardKeysToPopup_) {
    if (DropDownKey(key, msg.Shift)) {
      key = 0;
      return;
    }
    if (popupVisible_ && popup_ && !(key == VK_F4 && alt)) {
      bool toPopup = true;
      if (searchInPopup_) {
        switch (key) {
          case VK_PRIOR: case VK_NEXT: case VK_UP: case VK_DOWN: break;
          default: toPopup = false;  // edits the text; the change searches the list
        }
      }
      if (toPopup) {
        popup_->DispatchKeyDown(msg);
        key = 0;
        return;
      }
    }
  } else if ((alt && (key == VK_UP || key == VK_DOWN)) || (key == VK_F4 && !alt)) {
    DropDown();
    key = 0;
    return;
  }
  TqlInplaceMaskEdit::WMKeyDown(msg);
}

void TqlInplaceDropDownEdit::WMChar(char32_t& ch) {
  if (forwardKeysToPopup_ && popupVisible_ && popup_ && !searchInPopup_) {
    popup_->DispatchChar(ch);
    return;
  }
  TqlInplaceMaskEdit::WMChar(ch);
}

void TqlInplaceDropDownEdit::TextLengthChanged() {
  TqlInplaceMaskEdit::TextLengthChanged();
  if (searchInPopup_ && popupVisible_) SearchPopup(ValueText());
}

// ===== focus, visibility, requests ===============================================================

void TqlInplaceDropDownEdit::WMSetFocus() {
  TqlInplaceMaskEdit::WMSetFocus();
  UpdateButtons();
}

void TqlInplaceDropDownEdit::WMKillFocus() {
  TqlInplaceMaskEdit::WMKillFocus();
  if (popupVisible_) CloseUp(false);
  hotButton_ = -1;
  UpdateButtons();
}

void TqlInplaceDropDownEdit::CMVisibleChanged() {
  TqlInplaceMaskEdit::CMVisibleChanged();
  if (Visible()) return;
  RemovePostedMessages(this, kqlDropDownRequest);
  ClosePopupQuietly();
  hotButton_ = -1;
  releasePressedButton();
}

void TqlInplaceDropDownEdit::ActivationHook() {
  TqlInplaceMaskEdit::ActivationHook();
  if (popupOnActivation_) PostMessage(this, kqlDropDownRequest);
}

void TqlInplaceDropDownEdit::WndProc(TMessage& msg) {
  switch (msg.Msg) {
    case kqlDropDownRequest:
      if (Visible() && !popupVisible_) DropDown();
      return;
    case kqlPopupClosedNotice:
      popupVisible_ = false;
      return;
    default:
      TqlInplaceMaskEdit::WndProc(msg);
  }
}

void TqlInplaceDropDownEdit::DoButtonAndDropDownEvents() {
  if (OnButtonClick) OnButtonClick(this);
  if (OnDropDown) OnDropDown(this);
}

void TqlInplaceDropDownEdit::DoCloseUp(std::string& value, bool& accept) {
  if (OnCloseUp) OnCloseUp(this, value, accept);
}

// ===== the popup ===============================================================================

int TqlInplaceDropDownEdit::ResolvedPopupFrame() const {
  return ResolvePopupFrameKind(popupFrame_, Container() ? Container()->PopupFrameKind() : 0,
                               Style().BorderStyle());
}

TRect TqlInplaceDropDownEdit::PlacePopup(TSize popupSize, bool adjustWidth) const {
  TqlPopupPlacement placement;
  const TPoint clientOnScreen = ClientToScreen({0, 0});
  const TPoint windowOnScreen{clientOnScreen.X - ClientOrigin().X, clientOnScreen.Y - ClientOrigin().Y};
  placement.EditorWindow = Bounds(windowOnScreen.X, windowOnScreen.Y, Width(), Height());
  placement.InnerRect = FrameContentRect();
  placement.BorderStyle = ResolveEditLook(Style(), Selected()).BorderStyle;
  placement.InPlace = Container() != nullptr;
  placement.Alignment = popupAlignment_;
  placement.PopupSize = popupSize;
  placement.AdjustWidth = adjustWidth;
  placement.WorkArea = WorkAreaRect();
  return ::PlacePopup(placement);
}

void TqlInplaceDropDownEdit::PreparePopupList(TCustomqlPopupListBox& list) const {
  list.Font().Assign(Font());
  list.SetColor(Color());
  list.SetFrameKind(ResolvedPopupFrame());
  list.SetShadow(Style().Shadow());
}

int TqlInplaceDropDownEdit::WidestText(const std::vector<std::string>& texts) const {
  TCanvas measure;
  measure.Font.Assign(Font());
  int widest = 0;
  for (const std::string& text : texts) widest = std::max(widest, measure.TextWidth(text));
  return widest;
}

void TqlInplaceDropDownEdit::OpenPopupList(TCustomqlPopupListBox& list, int clientWidth) {
  const int rows = PopupListRows(list.Count(), dropDownRows_);
  const TRect bounds = PlacePopup(list.PopupSizeFor(clientWidth, rows), true);
  list.ShowPopup(bounds);
  popup_ = &list;
  popupVisible_ = true;
  Invalidate();
}

void TqlInplaceDropDownEdit::HidePopupList() {
  mouseInPopup_ = false;
  if (GetCapture() == this) ReleaseCapture();
  if (!Focused() && CanFocus() && Application && Application->Active()) SetFocus();
  if (popup_) popup_->HidePopup();
  popupVisible_ = false;
  Invalidate();
}

void TqlInplaceDropDownEdit::ClosePopupQuietly() {
  if (!popupVisible_) return;
  mouseInPopup_ = false;
  if (popup_) popup_->HidePopup();
  popupVisible_ = false;
  Invalidate();
}

void TqlInplaceDropDownEdit::TakeChosenValue(std::string value, bool accept) {
  DoCloseUp(value, accept);
  if (accept) SetValueText(value);
}

void TqlInplaceDropDownEdit::SetValueText(const std::string& value) {
  if (value == ValueText() || !CanModifyText()) return;
  SetEditText(value);
  SetModified(true);
  SelectAll();  // typing next replaces the chosen value
  TextChanged();
  Invalidate();
}
