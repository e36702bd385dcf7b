#pragma once
// The popup list boxes of the drop-down editors and of the grid's header filter.
//
//   TCustomqlPopupListBox      an owner-drawn list of items (text + one integer each) with
//                              variable item heights, hot tracking, a popup frame (kind 1, 2
//                              or 3, popup_frame.h) and an optional drop shadow, shown as a
//                              pop-up window of its own
//   TqlPopupImageListBox       items drawn with an image from an image list, on one line or
//                              word-wrapped
//   TCustomqlPopupPickListBox  typing selects the first item that starts with what was typed
//                              within the last two seconds
//
// The window. The list box is a windowed control inside a frameless pop-up form that it owns
// and that is shown without taking the activation: the editor (or the grid) keeps the
// keyboard focus and hands keys and characters to the list itself (DispatchKeyDown,
// DispatchChar). The list's non-client area is its frame (1, 4 or 2 pixels per side for
// frame kinds 1, 2, 3; with a shadow ShadowSize more at the right and bottom) and its
// vertical scroll bar, shown when the items do not all fit. With a shadow the window's
// region is the frame's rectangle and its copy moved by the shadow size, so the two corners
// the shadow leaves free show what lies below.
//
// Items. Each item is measured when it is added (and all again when the font or the images
// change): the base height is the height of "Wg" in the list's font, which RealItemHeight()
// keeps. A list box always draws as focused: the selected item in clHighlight with
// clHighlightText and a dotted focus rectangle round it.
//
// Keys (KeyDown): Up and Left one item back, Down and Right one on, Page Up and Page Down by
// the rows that fit less one, Home and End to the ends; the list scrolls to the new item.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/types.h"
#include "platform/gfx/region.h"
#include "platform/ui/win_control.h"
#include "treelist/popup_frame.h"

class TCustomForm;
class TImageList;

// The item a navigation key leads to in a list of count items that shows rows items at a
// time: Up and Left -1, Down and Right +1, Page Up 1 - rows, Page Down rows - 1, Home the
// first, End the last; a current index below 0 counts as 0; clamped to the list. Nothing for
// other keys or an empty list.
std::optional<int> ListKeyTarget(uint16_t key, int current, int count, int rows);

// The first item whose text starts with prefix, ignoring letter case, searching from the item
// after `after` to the end and then from the top (after = -1: the whole list from the top).
// -1 when none does or prefix is empty.
int FindItemStartingWith(const std::vector<std::string>& items, std::string_view prefix,
                         int after = -1);

// Frame widths of a popup frame kind: 1, 4 or 2 pixels per side (0 for other kinds).
int PopupFrameWidth(int frameKind);

class TCustomqlPopupListBox : public TCustomControl {
 public:
  explicit TCustomqlPopupListBox(TComponent* AOwner);
  ~TCustomqlPopupListBox() override;

  // --- items ---
  int Count() const { return static_cast<int>(items_.size()); }
  const std::vector<std::string>& Items() const { return items_; }
  int AddItem(std::string text, intptr_t data = 0);  // returns the new item's index
  void Clear();
  intptr_t ItemData(int index) const { return data_.at(index); }
  int ItemHeight(int index) const { return heights_.at(index); }
  // The height the last measured item got (the "Wg" height, or more; see MeasureItem).
  int RealItemHeight() const { return realItemHeight_; }

  // The selected item, -1 none. Setting it scrolls it into view.
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  // The first item shown; kept between 0 and the last top that still fills the list.
  int TopIndex() const { return topIndex_; }
  void SetTopIndex(int index);
  // Client rectangle of an item at or below the top item (empty for items above it).
  TRect ItemRect(int index) const;
  // The item under a client point, -1 when there is none.
  int ItemAtPos(TPoint clientPos) const;
  // Items that fit the client height from the top item.
  int VisibleRows() const;

  // --- look ---
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool value) { hotTrack_ = value; }
  int FrameKind() const { return frameKind_; }
  void SetFrameKind(int value);
  bool Shadow() const { return shadow_; }
  void SetShadow(bool value);
  int ShadowSize() const { return shadowSize_; }
  void SetShadowSize(int value);

  // --- the pop-up ---
  // The window size that gives clientWidth by the height of the first `rows` items (the
  // real item height for rows past the items), with the frame, the shadow and, when not
  // every item fits, the vertical scroll bar.
  TSize PopupSizeFor(int clientWidth, int rows) const;
  // Shows the list without activating it, its window covering screenBounds; the selected
  // item scrolled into view.
  void ShowPopup(const TRect& screenBounds);
  void HidePopup();
  bool PopupVisible() const;
  // The pop-up form holding the list (created with the list).
  TCustomForm& PopupWindow() const { return *window_; }
  // The window region the list gives its pop-up (see above); empty without a shadow.
  const TRegion& WindowRegion() const { return region_; }

  void WMNCPaint(TCanvas& canvas) override;

 protected:
  // The height of one item: "Wg" in the list's font. Subclasses may make it taller.
  virtual int MeasureItem(int index);
  // Draws one item on a canvas prepared with the list's font, the brush of its state
  // (clHighlight when selected, else the list's colour) and the text colour to match. The
  // base fills rect and writes the text 2 pixels from the left at the top.
  virtual void DrawItem(TCanvas& canvas, int index, const TRect& rect, bool selected);
  // Measures every item again (the font or what decides the height changed).
  void RemeasureItems();

  void Paint() override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void WMVScroll(TScrollCode code, int pos) override;
  void WMMouseWheel(TWMMouseWheel& msg) override;
  void WMSize() override;
  void CMFontChanged() override;
  void BoundsChanged(const TRect& oldBounds) override;

 private:
  void selectFromMouse(int y);
  void updateFrame();       // non-client insets and region from frame kind and shadow
  void updateRegion();
  void updateScrollBar();
  int lastTopIndex() const;
  void scrollIntoView(int index);

  std::vector<std::string> items_;
  std::vector<intptr_t> data_;   // parallel to items_
  std::vector<int> heights_;     // parallel to items_, pixels > 0
  int realItemHeight_ = 0;       // the last measured height
  int itemIndex_ = -1;           // -1 or < Count()
  int topIndex_ = 0;             // 0 <= topIndex_ <= lastTopIndex()
  bool hotTrack_ = true;
  int frameKind_ = kPopupFrameDeep;
  bool shadow_ = false;
  int shadowSize_ = 2;           // pixels
  TRegion region_;               // window region with a shadow; empty otherwise
  std::unique_ptr<TCustomForm> window_;  // the pop-up form, the list's parent
};

class TqlPopupImageListBox : public TCustomqlPopupListBox {
 public:
  explicit TqlPopupImageListBox(TComponent* AOwner);

  // Item data is the item's image index (-2 and below: none).
  const TImageList* Images() const { return images_; }
  void SetImages(const TImageList* value);  // non-owning; measures the items again
  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool value);

 protected:
  // At least the image height + 2.
  int MeasureItem(int index) override;
  // The item's image 1 pixel from the left, centred vertically (when its index is valid);
  // the text without background image width + 3 from the left: one line centred
  // vertically, or word-wrapped (end ellipsis, tabs expanded, no prefixes) in the item less
  // 2 pixels on each side.
  void DrawItem(TCanvas& canvas, int index, const TRect& rect, bool selected) override;

 private:
  const TImageList* images_ = nullptr;  // non-owning
  bool multiLine_ = false;
};

class TCustomqlPopupPickListBox : public TCustomqlPopupListBox {
 public:
  explicit TCustomqlPopupPickListBox(TComponent* AOwner);

  static constexpr int kMaxSearchLength = 32;      // characters
  static constexpr uint32_t kSearchPauseMs = 2000;  // a longer pause starts a new search

  const std::string& SearchText() const { return searchText_; }

 protected:
  // Backspace and Escape clear the search text. A character from 32 up after a pause of
  // more than two seconds starts a new search; it is appended (while the search is shorter
  // than 32 characters) and the first item starting with the search text is selected; when
  // none does, the character is taken off again. Such characters are consumed.
  void KeyPress(char32_t& Key) override;

 private:
  std::string searchText_;     // at most kMaxSearchLength characters
  uint32_t lastCharTick_ = 0;  // GetTickCount() of the last typed character
};
