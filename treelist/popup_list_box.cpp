#include "treelist/popup_list_box.h"

#include <algorithm>

#include "platform/core/utf8.h"
#include "platform/core/utf8_case.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/image_list.h"
#include "platform/ui/form.h"
#include "platform/ui/services.h"

// Order of work of one paint: the items from the top one down, each on a canvas prepared for
// its state, then its focus rectangle when it is the selected one; then what is left below
// the last item in the list's colour. The frame and the scroll bar are the non-client paint.

namespace {

constexpr char kMeasureText[] = "Wg";

bool startsWithIgnoringCase(std::string_view text, std::string_view upperPrefix) {
  std::string upper = Utf8UpperCase(text);
  return upper.compare(0, upperPrefix.size(), upperPrefix) == 0;
}

}  // namespace

// ===== pure helpers ============================================================================

std::optional<int> ListKeyTarget(uint16_t key, int current, int count, int rows) {
  if (count <= 0) return std::nullopt;
  const int from = std::max(current, 0);
  int target;
  switch (key) {
    case VK_UP:
    case VK_LEFT: target = from - 1; break;
    case VK_DOWN:
    case VK_RIGHT: target = from + 1; break;
    case VK_PRIOR: target = from + 1 - rows; break;
    case VK_NEXT: target = from + rows - 1; break;
    case VK_HOME: target = 0; break;
    case VK_END: target = count - 1; break;
    default: return std::nullopt;
  }
  return std::clamp(target, 0, count - 1);
}

int FindItemStartingWith(const std::vector<std::string>& items, std::string_view prefix,
                         int after) {
  if (prefix.empty() || items.empty()) return -1;
  const std::string upperPrefix = Utf8UpperCase(prefix);
  const int count = static_cast<int>(items.size());
  const int start = (after < -1 || after >= count) ? 0 : after + 1;
  for (int step = 0; step < count; ++step) {
    int i = (start + step) % count;
    if (startsWithIgnoringCase(items[i], upperPrefix)) return i;
  }
  return -1;
}

int PopupFrameWidth(int frameKind) {
  switch (frameKind) {
    case kPopupFrameMono: return 1;
    case kPopupFrameDeep: return 4;
    case kPopupFrameRaised: return 2;
    default: return 0;
  }
}

// ===== TCustomqlPopupListBox ===================================================================

TCustomqlPopupListBox::TCustomqlPopupListBox(TComponent* AOwner)
    : TCustomControl(AOwner), window_(std::make_unique<TForm>(nullptr)) {
  controlStyle_.include(csOpaque);
  SetParentFont(false);  // the owner sets the font; the pop-up form's is not inherited
  window_->SetBorderStyle(bsNone);
  SetParent(window_.get());
  SetAlign(alClient);
  updateFrame();
}

TCustomqlPopupListBox::~TCustomqlPopupListBox() {
  Destroying();
  // The pop-up form is the parent: leave it before it goes.
  SetParent(nullptr);
  window_.reset();
}

int TCustomqlPopupListBox::AddItem(std::string text, intptr_t data) {
  items_.push_back(std::move(text));
  data_.push_back(data);
  const int index = Count() - 1;
  realItemHeight_ = MeasureItem(index);
  heights_.push_back(realItemHeight_);
  updateScrollBar();
  Invalidate();
  return index;
}

void TCustomqlPopupListBox::Clear() {
  items_.clear();
  data_.clear();
  heights_.clear();
  itemIndex_ = -1;
  topIndex_ = 0;
  updateScrollBar();
  Invalidate();
}

void TCustomqlPopupListBox::RemeasureItems() {
  for (int i = 0; i < Count(); ++i) heights_[i] = MeasureItem(i);
  realItemHeight_ = MeasureItem(-1);
  topIndex_ = std::min(topIndex_, lastTopIndex());
  updateScrollBar();
  Invalidate();
}

int TCustomqlPopupListBox::MeasureItem(int index) {
  TCanvas measure;
  measure.Font.Assign(Font());
  return std::max(1, measure.TextHeight(kMeasureText));
}

void TCustomqlPopupListBox::SetItemIndex(int index) {
  if (index < -1 || index >= Count()) index = -1;
  if (index != itemIndex_) {
    itemIndex_ = index;
    Invalidate();
  }
  if (index >= 0) scrollIntoView(index);
}

int TCustomqlPopupListBox::lastTopIndex() const {
  if (Count() == 0) return 0;
  const int height = ClientHeight();
  int used = 0;
  int i = Count() - 1;
  while (i >= 0 && used + heights_[i] <= height) used += heights_[i--];
  // i + 1 is the first of the items that fill the bottom; when not even the last one fits
  // it is the last one itself.
  return std::clamp(i + 1, 0, Count() - 1);
}

void TCustomqlPopupListBox::SetTopIndex(int index) {
  index = std::clamp(index, 0, lastTopIndex());
  if (index == topIndex_) return;
  topIndex_ = index;
  updateScrollBar();
  Invalidate();
}

void TCustomqlPopupListBox::scrollIntoView(int index) {
  if (ClientHeight() <= 0 || index < 0 || index >= Count()) return;
  if (index < topIndex_) {
    SetTopIndex(index);
    return;
  }
  int top = topIndex_;
  int bottom = 0;  // bottom of index when top is the top item
  for (int i = top; i <= index; ++i) bottom += heights_[i];
  while (top < index && bottom > ClientHeight()) bottom -= heights_[top++];
  SetTopIndex(top);
}

TRect TCustomqlPopupListBox::ItemRect(int index) const {
  if (index < topIndex_ || index >= Count()) return {};
  int y = 0;
  for (int i = topIndex_; i < index; ++i) y += heights_[i];
  return {0, y, ClientWidth(), y + heights_[index]};
}

int TCustomqlPopupListBox::ItemAtPos(TPoint p) const {
  if (p.X < 0 || p.X >= ClientWidth() || p.Y < 0 || p.Y >= ClientHeight()) return -1;
  int y = 0;
  for (int i = topIndex_; i < Count(); ++i) {
    y += heights_[i];
    if (p.Y < y) return i;
  }
  return -1;
}

int TCustomqlPopupListBox::VisibleRows() const {
  int rows = 0;
  int used = 0;
  for (int i = topIndex_; i < Count() && used + heights_[i] <= ClientHeight(); ++i) {
    used += heights_[i];
    ++rows;
  }
  return rows;
}

// --- look ---

void TCustomqlPopupListBox::SetFrameKind(int value) {
  if (value == frameKind_) return;
  frameKind_ = value;
  updateFrame();
}

void TCustomqlPopupListBox::SetShadow(bool value) {
  if (value == shadow_) return;
  shadow_ = value;
  updateFrame();
}

void TCustomqlPopupListBox::SetShadowSize(int value) {
  value = std::max(0, value);
  if (value == shadowSize_) return;
  shadowSize_ = value;
  updateFrame();
}

void TCustomqlPopupListBox::updateFrame() {
  const int frame = PopupFrameWidth(frameKind_);
  const int shadow = shadow_ ? shadowSize_ : 0;
  SetNonClientInsets({frame, frame, frame + shadow, frame + shadow});
  updateRegion();
  Invalidate();
}

void TCustomqlPopupListBox::updateRegion() {
  region_ = shadow_ ? PopupShadowRegion({0, 0, Width(), Height()}, shadowSize_, true) : TRegion();
  if (PopupVisible()) window_->SetWindowRegion(shadow_ ? &region_ : nullptr);
}

void TCustomqlPopupListBox::updateScrollBar() {
  int total = 0;
  for (int h : heights_) total += h;
  TScrollInfo info = GetScrollInfo(sbVertical);
  TScrollInfo wanted = info;
  wanted.Min = 0;
  wanted.Max = std::max(0, Count() - 1);
  wanted.Page = std::max(1, VisibleRows());
  wanted.Pos = topIndex_;
  wanted.Visible = ClientHeight() > 0 && total > ClientHeight();
  if (wanted.Min == info.Min && wanted.Max == info.Max && wanted.Page == info.Page &&
      wanted.Pos == info.Pos && wanted.Visible == info.Visible)
    return;
  SetScrollInfo(sbVertical, wanted);
}

// --- the pop-up ---

TSize TCustomqlPopupListBox::PopupSizeFor(int clientWidth, int rows) const {
  int height = 0;
  for (int i = 0; i < rows; ++i) height += i < Count() ? heights_[i] : realItemHeight_;
  const int frame = PopupFrameWidth(frameKind_);
  const int shadow = shadow_ ? shadowSize_ : 0;
  const int bar = rows < Count() ? GetSystemMetrics(SM_CXVSCROLL) : 0;
  return {clientWidth + bar + 2 * frame + shadow, height + 2 * frame + shadow};
}

void TCustomqlPopupListBox::ShowPopup(const TRect& screenBounds) {
  window_->SetBounds(screenBounds.Left, screenBounds.Top, screenBounds.Width(),
                     screenBounds.Height());
  window_->ShowPopupAt(screenBounds.TopLeft());
  window_->SetWindowRegion(shadow_ ? &region_ : nullptr);
  if (itemIndex_ >= 0) scrollIntoView(itemIndex_);
  Invalidate();
}

void TCustomqlPopupListBox::HidePopup() { window_->Hide(); }

bool TCustomqlPopupListBox::PopupVisible() const { return window_ && window_->IsShown(); }

// --- painting ---

void TCustomqlPopupListBox::WMNCPaint(TCanvas& canvas) {
  const bool bothBars =
      GetScrollInfo(sbVertical).Visible && GetScrollInfo(sbHorizontal).Visible;
  DrawPopupWindowFrame(*this, canvas, frameKind_, shadowSize_, shadow_, bothBars);
  TCustomControl::WMNCPaint(canvas);  // the scroll bars
}

void TCustomqlPopupListBox::Paint() {
  TCanvas& canvas = Canvas();
  const int width = ClientWidth(), height = ClientHeight();
  int y = 0;
  for (int i = topIndex_; i < Count() && y < height; ++i) {
    const TRect rect{0, y, width, y + heights_[i]};
    const bool selected = i == itemIndex_;
    const TColor back = selected ? TColor(clHighlight) : Color();
    const TColor text = selected ? TColor(clHighlightText) : Font().Color();
    {
      TCanvasStateGuard guard(canvas);
      canvas.IntersectClipRect(rect);
      canvas.Font.Assign(Font());
      canvas.Font.SetColor(text);
      canvas.Brush.SetStyle(bsSolid);
      canvas.Brush.SetColor(back);
      DrawItem(canvas, i, rect, selected);
    }
    if (selected) {
      // The list draws as focused: a dotted rectangle in the item's colours.
      TCanvasStateGuard guard(canvas);
      canvas.SetTextColor(text);
      canvas.SetBkColor(back);
      canvas.DrawFocusRect(rect);
    }
    y = rect.Bottom;
  }
  if (y < height) {
    TCanvasStateGuard guard(canvas);
    canvas.Brush.SetStyle(bsSolid);
    canvas.Brush.SetColor(Color());
    canvas.FillRect({0, y, width, height});
  }
}

void TCustomqlPopupListBox::DrawItem(TCanvas& canvas, int index, const TRect& rect,
                                     bool selected) {
  canvas.FillRect(rect);
  canvas.TextOut(rect.Left + 2, rect.Top, items_[index]);
}

// --- input ---

void TCustomqlPopupListBox::KeyDown(uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0 || Shift.contains(ssAlt)) return;
  if (std::optional<int> target = ListKeyTarget(Key, itemIndex_, Count(), VisibleRows())) {
    SetItemIndex(*target);
    Key = 0;
  }
}

void TCustomqlPopupListBox::selectFromMouse(int y) {
  int index;
  if (y < 0) index = topIndex_ - 1;  // dragged above: one item on upwards
  else if (y >= ClientHeight()) index = topIndex_ + VisibleRows();  // below: one on downwards
  else index = ItemAtPos({0, y});
  if (index >= 0 && index < Count()) SetItemIndex(index);
}

void TCustomqlPopupListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && X >= 0 && X < ClientWidth() && Y >= 0 && Y < ClientHeight())
    selectFromMouse(Y);
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomqlPopupListBox::MouseMove(TShiftState Shift, int X, int Y) {
  if (Shift.contains(ssLeft)) {
    selectFromMouse(Y);
  } else if (hotTrack_) {
    int index = ItemAtPos({X, Y});
    if (index >= 0 && index != itemIndex_) SetItemIndex(index);
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomqlPopupListBox::WMVScroll(TScrollCode code, int pos) {
  const int page = std::max(1, VisibleRows() - 1);
  switch (code) {
    case SB_LINEUP: SetTopIndex(topIndex_ - 1); break;
    case SB_LINEDOWN: SetTopIndex(topIndex_ + 1); break;
    case SB_PAGEUP: SetTopIndex(topIndex_ - page); break;
    case SB_PAGEDOWN: SetTopIndex(topIndex_ + page); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: SetTopIndex(pos); break;
    case SB_TOP: SetTopIndex(0); break;
    case SB_BOTTOM: SetTopIndex(Count()); break;
    default: break;
  }
}

void TCustomqlPopupListBox::WMMouseWheel(TWMMouseWheel& msg) {
  if (msg.WheelDelta == 0) return;
  WMVScroll(msg.WheelDelta > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
  msg.Handled = true;
}

void TCustomqlPopupListBox::WMSize() {
  TCustomControl::WMSize();
  topIndex_ = std::min(topIndex_, lastTopIndex());
  updateScrollBar();
}

void TCustomqlPopupListBox::BoundsChanged(const TRect& oldBounds) {
  TCustomControl::BoundsChanged(oldBounds);
  if (oldBounds.Width() == Width() && oldBounds.Height() == Height()) return;
  updateRegion();
  WMSize();
}

void TCustomqlPopupListBox::CMFontChanged() {
  RemeasureItems();
  TCustomControl::CMFontChanged();
}

// ===== TqlPopupImageListBox ====================================================================

TqlPopupImageListBox::TqlPopupImageListBox(TComponent* AOwner) : TCustomqlPopupListBox(AOwner) {}

void TqlPopupImageListBox::SetImages(const TImageList* value) {
  if (value == images_) return;
  images_ = value;
  RemeasureItems();
}

void TqlPopupImageListBox::SetMultiLine(bool value) {
  if (value == multiLine_) return;
  multiLine_ = value;
  Invalidate();
}

int TqlPopupImageListBox::MeasureItem(int index) {
  int height = TCustomqlPopupListBox::MeasureItem(index);
  if (images_) height = std::max(height, images_->Height() + 2);
  return height;
}

void TqlPopupImageListBox::DrawItem(TCanvas& canvas, int index, const TRect& rect,
                                    bool selected) {
  canvas.FillRect(rect);
  const int imageWidth = images_ ? images_->Width() : 0;
  const intptr_t image = ItemData(index);
  if (images_ && image >= 0 && image < images_->Count())
    images_->Draw(canvas, rect.Left + 1, rect.Top + (rect.Height() - images_->Height()) / 2,
                  static_cast<int>(image));
  const std::string& text = Items()[index];
  canvas.Brush.SetStyle(bsClear);  // the text without background
  if (multiLine_) {
    TRect textRect = rect.Inflate(-2, -2);
    textRect.Left += imageWidth + 1;
    canvas.DrawText(text, textRect, DT_WORDBREAK | DT_END_ELLIPSIS | DT_EXPANDTABS | DT_NOPREFIX);
  } else {
    const int y = rect.Top + (rect.Height() - canvas.TextHeight(text.empty() ? " " : text)) / 2;
    canvas.TextOut(rect.Left + imageWidth + 3, y, text);
  }
}

// ===== TCustomqlPopupPickListBox ===============================================================

TCustomqlPopupPickListBox::TCustomqlPopupPickListBox(TComponent* AOwner)
    : TCustomqlPopupListBox(AOwner) {}

void TCustomqlPopupPickListBox::KeyPress(char32_t& Key) {
  TCustomqlPopupListBox::KeyPress(Key);
  if (Key == U'\b' || Key == 0x1B) {
    searchText_.clear();
    return;
  }
  if (Key < 32) return;
  const uint32_t now = GetTickCount();
  if (now - lastCharTick_ > kSearchPauseMs) searchText_.clear();
  lastCharTick_ = now;
  const bool appended = Utf8Length(searchText_) < size_t(kMaxSearchLength);
  if (appended) AppendUtf8(Key, searchText_);
  const int found = FindItemStartingWith(Items(), searchText_);
  if (found >= 0)
    SetItemIndex(found);
  else if (appended)
    searchText_ = Utf8Left(searchText_, Utf8Length(searchText_) - 1);
  Key = 0;
}
