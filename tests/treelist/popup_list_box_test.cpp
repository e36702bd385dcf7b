#include "treelist/popup_list_box.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/image_list.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/panel.h"
#include "platform/ui/services.h"
#include "tests/support/pixel_checks.h"
#include "tests/support/synthetic_input.h"
#include "tests/support/test_form.h"

namespace {

constexpr TColor ListColor = 0x00E0F0F0;

TEST(PopupListBoxRules, NavigationKeyTargets) {
  struct Case {
    uint16_t key;
    int current, count, rows;
    std::optional<int> target;
  };
  const Case cases[] = {
      {VK_DOWN, 3, 10, 7, 4},   {VK_RIGHT, 3, 10, 7, 4},  {VK_UP, 3, 10, 7, 2},
      {VK_LEFT, 3, 10, 7, 2},   {VK_NEXT, 0, 10, 7, 6},   {VK_NEXT, 6, 10, 7, 9},
      {VK_PRIOR, 9, 10, 7, 3},  {VK_PRIOR, 2, 10, 7, 0},  {VK_HOME, 5, 10, 7, 0},
      {VK_END, 5, 10, 7, 9},    {VK_UP, 0, 10, 7, 0},     {VK_DOWN, 9, 10, 7, 9},
      {VK_DOWN, -1, 10, 7, 1},  // not found counts as the first item
      {VK_UP, -1, 10, 7, 0},    {VK_DOWN, 0, 0, 7, std::nullopt},
      {VK_RETURN, 3, 10, 7, std::nullopt}, {'A', 3, 10, 7, std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ListKeyTarget(c.key, c.current, c.count, c.rows), c.target)
        << "key " << c.key << " from " << c.current;
}

TEST(PopupListBoxRules, FindItemStartingWithIgnoresCaseAndWraps) {
  const std::vector<std::string> items{"Apple", "banana", "Avocado", "cherry", "阿司匹林"};
  struct Case {
    const char* prefix;
    int after, found;
  };
  const Case cases[] = {
      {"a", -1, 0},  {"A", 0, 2},  {"a", 2, 0},  // after the last match: wraps to the top
      {"AV", -1, 2}, {"Ban", -1, 1}, {"x", -1, -1}, {"", -1, -1},
      {"阿司", -1, 4}, {"apples", -1, -1}, {"c", 3, 3},  // the only match is the item itself
  };
  for (const Case& c : cases)
    EXPECT_EQ(FindItemStartingWith(items, c.prefix, c.after), c.found)
        << "'" << c.prefix << "' after " << c.after;
}

// A list box over a shown editor form: the form keeps the activation and its focused control
// while the list pops up.
class PopupListBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    editor = host.Add<TPanel>(10, 10, 100, 20);
    editor->SetTabStop(true);
    host.Show();
    editor->SetFocus();
  }

  template <typename T>
  std::unique_ptr<T> MakeList(int items) {
    auto list = std::make_unique<T>(nullptr);
    list->SetColor(ListColor);
    for (int i = 0; i < items; ++i) list->AddItem("Item " + std::to_string(i), i);
    return list;
  }

  // Shows list with room for rows items, 100 pixels of client width.
  void Show(TCustomqlPopupListBox& list, int rows, TPoint at = {40, 60}) {
    TSize size = list.PopupSizeFor(100, rows);
    list.ShowPopup(Bounds(at.X, at.Y, size.cx, size.cy));
    list.PopupWindow().PaintPending();
  }

  TestForm host;
  TPanel* editor = nullptr;
};

TEST_F(PopupListBoxTest, ItemsMeasureAsWgInTheListFont) {
  auto list = MakeList<TCustomqlPopupListBox>(3);
  TCanvas measure;
  measure.Font.Assign(list->Font());
  const int wg = measure.TextHeight("Wg");
  EXPECT_EQ(list->RealItemHeight(), wg);
  EXPECT_EQ(list->ItemHeight(2), wg);

  TFont big;
  big.SetName(list->Font().Name());
  big.SetSize(list->Font().Size() * 2);
  list->SetFont(big);
  measure.Font.Assign(big);
  EXPECT_EQ(list->ItemHeight(0), measure.TextHeight("Wg")) << "a new font measures again";
  EXPECT_EQ(list->RealItemHeight(), measure.TextHeight("Wg"));
}

TEST_F(PopupListBoxTest, ImageListBoxItemsAreAtLeastTheImageHeightPlusTwo) {
  auto list = MakeList<TqlPopupImageListBox>(2);
  const int wg = list->RealItemHeight();
  TImageList small(8, wg - 4), tall(8, wg + 6);
  struct Case {
    const TImageList* images;
    int height;
  };
  const Case cases[] = {{&small, wg}, {&tall, wg + 8}, {nullptr, wg}};
  for (const Case& c : cases) {
    list->SetImages(c.images);
    EXPECT_EQ(list->ItemHeight(1), c.height);
    EXPECT_EQ(list->RealItemHeight(), c.height);
  }
}

TEST_F(PopupListBoxTest, FrameAndShadowMakeTheNonClientArea) {
  struct Case {
    int kind;
    bool shadow;
    TRect insets;
  };
  const Case cases[] = {
      {kPopupFrameMono, false, {1, 1, 1, 1}},  {kPopupFrameDeep, false, {4, 4, 4, 4}},
      {kPopupFrameRaised, false, {2, 2, 2, 2}}, {kPopupFrameMono, true, {1, 1, 3, 3}},
      {kPopupFrameDeep, true, {4, 4, 6, 6}},
  };
  auto list = MakeList<TCustomqlPopupListBox>(4);
  for (const Case& c : cases) {
    list->SetFrameKind(c.kind);
    list->SetShadow(c.shadow);
    EXPECT_EQ(list->NonClientInsets(), c.insets) << "kind " << c.kind << " shadow " << c.shadow;
    const TSize size = list->PopupSizeFor(100, 4);
    EXPECT_EQ(size.cx, 100 + c.insets.Left + c.insets.Right);
    EXPECT_EQ(size.cy, 4 * list->RealItemHeight() + c.insets.Top + c.insets.Bottom);
  }
}

TEST_F(PopupListBoxTest, ShownWithoutTakingTheActivationOrTheFocus) {
  auto list = MakeList<TCustomqlPopupListBox>(4);
  Show(*list, 4, {40, 60});
  EXPECT_TRUE(list->PopupVisible());
  EXPECT_EQ(list->PopupWindow().Left(), 40);
  EXPECT_EQ(list->PopupWindow().Top(), 60);
  EXPECT_EQ(Application->ActiveForm(), &host.form());
  EXPECT_EQ(host->ActiveControl(), editor);
  EXPECT_TRUE(editor->Focused());

  list->HidePopup();
  EXPECT_FALSE(list->PopupVisible());
  EXPECT_EQ(Application->ActiveForm(), &host.form());
}

TEST_F(PopupListBoxTest, RowsFitExactlyAndTheScrollBarOnlyWhenNeeded) {
  struct Case {
    int items, rows;
    int visibleRows;
    bool scrollBar;
  };
  const Case cases[] = {{4, 4, 4, false}, {10, 7, 7, true}, {7, 7, 7, false}};
  for (const Case& c : cases) {
    auto list = MakeList<TCustomqlPopupListBox>(c.items);
    Show(*list, c.rows);
    SCOPED_TRACE(std::to_string(c.items) + " items, " + std::to_string(c.rows) + " rows");
    EXPECT_EQ(list->ClientHeight(), c.rows * list->RealItemHeight()) << "exactly the rows";
    EXPECT_EQ(list->ClientWidth(), 100) << "the scroll bar comes on top of the client width";
    EXPECT_EQ(list->VisibleRows(), c.visibleRows);
    EXPECT_EQ(list->GetScrollInfo(sbVertical).Visible, c.scrollBar);
  }
}

TEST_F(PopupListBoxTest, KeysMoveTheSelectionAndScrollItIntoView) {
  auto list = MakeList<TCustomqlPopupListBox>(10);
  Show(*list, 7);
  struct Step {
    uint16_t key;
    int index, top;
  };
  const Step steps[] = {
      {VK_DOWN, 1, 0},  // nothing selected counts as the first item
      {VK_NEXT, 7, 1},  // by the rows less one; the list scrolls to show it at the bottom
      {VK_NEXT, 9, 3}, {VK_UP, 8, 3},  {VK_PRIOR, 2, 2},  // scrolls up to show it at the top
      {VK_END, 9, 3},  {VK_HOME, 0, 0}, {VK_LEFT, 0, 0},  {VK_RIGHT, 1, 0},
  };
  for (const Step& s : steps) {
    TWMKey msg{s.key, {}};
    list->DispatchKeyDown(msg);
    EXPECT_EQ(msg.CharCode, 0) << "key " << s.key << " consumed";
    EXPECT_EQ(list->ItemIndex(), s.index) << "key " << s.key;
    EXPECT_EQ(list->TopIndex(), s.top) << "key " << s.key;
    EXPECT_EQ(list->GetScrollInfo(sbVertical).Pos, s.top) << "the scroll bar follows";
  }
  TWMKey other{VK_F2, {}};
  list->DispatchKeyDown(other);
  EXPECT_EQ(other.CharCode, VK_F2) << "other keys are left alone";
}

TEST_F(PopupListBoxTest, MouseHotTracksAndSelectsWhileDragging) {
  auto list = MakeList<TCustomqlPopupListBox>(10);
  Show(*list, 5);
  const int h = list->RealItemHeight();
  struct Step {
    const char* what;
    enum { Move, Press, Drag, Release } action;
    int y;
    bool hotTrack;
    int index, top;
  };
  const Step steps[] = {
      {"hot tracking follows the mouse", Step::Move, 2 * h + 1, true, 2, 0},
      {"without hot tracking a move does nothing", Step::Move, 4 * h + 1, false, 2, 0},
      {"a press selects", Step::Press, 3 * h, false, 3, 0},
      {"dragging below the list moves on and scrolls", Step::Drag, 5 * h + 4, false, 5, 1},
      {"dragging above the list moves back and scrolls", Step::Drag, -3, false, 0, 0},
      {"release over an item", Step::Release, h, false, 0, 0},
  };
  for (const Step& s : steps) {
    list->SetHotTrack(s.hotTrack);
    switch (s.action) {
      case Step::Move: input::Move(*list, 10, s.y); break;
      case Step::Press: input::Press(*list, 10, s.y); break;
      case Step::Drag: input::Move(*list, 10, s.y, {ssLeft}); break;
      case Step::Release: input::Release(*list, 10, s.y); break;
    }
    EXPECT_EQ(list->ItemIndex(), s.index) << s.what;
    EXPECT_EQ(list->TopIndex(), s.top) << s.what;
  }
}

TEST_F(PopupListBoxTest, ScrollRequestsMoveTheTopItemWithinRange) {
  auto list = MakeList<TCustomqlPopupListBox>(10);
  Show(*list, 4);
  struct Step {
    TScrollCode code;
    int pos, top;
  };
  const Step steps[] = {{SB_LINEDOWN, 0, 1}, {SB_PAGEDOWN, 0, 4}, {SB_BOTTOM, 0, 6},
                        {SB_LINEDOWN, 0, 6}, {SB_LINEUP, 0, 5},   {SB_THUMBTRACK, 2, 2},
                        {SB_PAGEUP, 0, 0},   {SB_THUMBPOSITION, 99, 6}, {SB_TOP, 0, 0}};
  for (const Step& s : steps) {
    list->DispatchScroll(sbVertical, s.code, s.pos);
    EXPECT_EQ(list->TopIndex(), s.top) << "code " << s.code;
  }
  TWMMouseWheel down{{}, -120, {}, false};
  EXPECT_TRUE(list->DispatchMouseWheel(down));
  EXPECT_EQ(list->TopIndex(), 1) << "a wheel notch: one line";
}

TEST_F(PopupListBoxTest, PaintsFrameShadowItemsSelectionAndRegion) {
  auto list = MakeList<TCustomqlPopupListBox>(3);
  list->SetFrameKind(kPopupFrameMono);
  list->SetShadow(true);
  list->SetItemIndex(1);
  Show(*list, 4);  // one row more than the items: the list's colour below them
  const int h = list->RealItemHeight();
  const int w = list->Width(), wh = list->Height();
  // The focus rectangle inverts the pixels with even x + y (the item's text colour is
  // white) and turns the others black (the highlight XOR itself).
  const TColor focusCorner =
      (1 + 1 + h) % 2 == 0 ? ColorToRGB(clHighlight) ^ 0x00FFFFFF : TColor(clBlack);
  // Window coordinates: the frame at 0, the client from 1; the shadow 2 pixels at right and
  // bottom, from 2 pixels in.
  ExpectPixels(WindowPixels(*list),
               {{0, 0, clWindowFrame, "frame kind 1: one line"},
                {w - 3, wh - 3, clWindowFrame, "the frame ends before the shadow"},
                {w - 1, 2, clBtnShadow, "shadow strip at the right, from the shadow size down"},
                {2, wh - 1, clBtnShadow, "shadow strip at the bottom"},
                {91, 1 + h + h / 2, clHighlight, "the selected item in the highlight colour"},
                {1, 1 + h, focusCorner, "its dotted focus rectangle, first pixel"},
                {1, 1 + 3 * h + 2, ListColor, "below the items: the list's colour"},
                {1, 1 + 2, ListColor, "an unselected item on the list's colour"}});
  EXPECT_TRUE(HasColor(ClientPixels(*list), clWindowText, {0, 0, 100, h}))
      << "the first item's text";
  EXPECT_TRUE(HasColor(ClientPixels(*list), clHighlightText, {2, h + 1, 99, 2 * h - 1}))
      << "the selected item's text";

  const TRegion& region = list->WindowRegion();
  EXPECT_TRUE(region.Contains({0, 0}));
  EXPECT_FALSE(region.Contains({w - 1, 1})) << "the corner above the right shadow is cut off";
  EXPECT_FALSE(region.Contains({1, wh - 1})) << "the corner left of the bottom shadow";
  EXPECT_TRUE(region.Contains({w - 1, wh - 1}));
  list->SetShadow(false);
  EXPECT_TRUE(list->WindowRegion().IsEmpty()) << "no shadow, no region";
}

TEST_F(PopupListBoxTest, ImageListBoxDrawsTheImageThenTheTextAfterIt) {
  constexpr TColor ImageInk = 0x000000C0;
  auto list = MakeList<TqlPopupImageListBox>(3);
  TImageList images(8, 6);
  images.Add(MakeBitmap(8, 6, ImageInk), nullptr);
  list->SetImages(&images);
  list->SetFrameKind(kPopupFrameMono);
  // Item data is the image index: item 0 shows image 0, item 1 an invalid one.
  Show(*list, 3);
  const int h = list->RealItemHeight();
  const int imageTop = (h - 6) / 2;
  ExpectPixels(ClientPixels(*list), {{1, imageTop, ImageInk, "image 1 pixel from the left, centred"},
                                     {8, imageTop + 5, ImageInk, "its last pixel"},
                                     {0, imageTop, ListColor, "left of the image"},
                                     {1, h + imageTop, ListColor, "index 1 is not in the list"}});
  const TRect firstText = InkBox(ClientPixels(*list), ListColor, {9, 0, 100, h});
  EXPECT_GE(firstText.Left, 8 + 3) << "the text starts image width + 3 from the left";
  EXPECT_LE(firstText.Left, 8 + 3 + 2) << "... and not far after";

  list->SetMultiLine(true);
  list->PopupWindow().PaintPending();
  const TRect wrapped = InkBox(ClientPixels(*list), ListColor, {9, 0, 100, h});
  EXPECT_EQ(wrapped.Left, firstText.Left) << "multi-line: in the item less 2, after the image + 1";
  // One line fills the item here, so the centred text starts at the item's top; the
  // wrapped text starts 2 pixels lower.
  EXPECT_EQ(wrapped.Top, firstText.Top + 2) << "multi-line: 2 pixels from the top";
}

TEST_F(PopupListBoxTest, PickListSearchesWhatWasTypedWithinTwoSeconds) {
  uint32_t tick = 10000;
  SetTickCountForTest([&] { return tick; });
  struct TickReset {
    ~TickReset() { SetTickCountForTest(nullptr); }
  } reset;

  auto list = std::make_unique<TCustomqlPopupPickListBox>(nullptr);
  for (const char* s : {"alpha", "Beta", "bravo", "charlie", "bz"}) list->AddItem(s);
  struct Step {
    const char* what;
    uint32_t at;
    char32_t ch;
    std::string search;
    int index;
    bool consumed;
  };
  const Step steps[] = {
      {"first character", 10000, U'b', "b", 1, true},
      {"second within two seconds: both", 11500, U'r', "br", 2, true},
      {"no match: the character is taken off again", 12000, U'x', "br", 2, true},
      {"exactly two seconds later still counts", 14000, U'a', "bra", 2, true},
      {"after a longer pause: a new search", 16001, U'C', "C", 3, true},
      {"Backspace clears, not consumed", 16100, U'\b', "", 3, false},
      {"a new search after clearing", 16200, U'z', "", 3, true},
      {"Escape clears", 16300, 0x1B, "", 3, false},
      {"control characters are left alone", 16400, 0x01, "", 3, false},
  };
  for (const Step& s : steps) {
    tick = s.at;
    char32_t ch = s.ch;
    list->DispatchChar(ch);
    EXPECT_EQ(list->SearchText(), s.search) << s.what;
    EXPECT_EQ(list->ItemIndex(), s.index) << s.what;
    EXPECT_EQ(ch == 0, s.consumed) << s.what;
  }

  // At most 32 characters are kept; a 33rd that would not match takes none off.
  list->Clear();
  list->AddItem(std::string(40, 'a'));
  for (int i = 0; i < 33; ++i) {
    char32_t ch = U'a';
    list->DispatchChar(ch);
  }
  EXPECT_EQ(list->SearchText(), std::string(32, 'a'));
  char32_t ch = U'q';
  list->DispatchChar(ch);
  EXPECT_EQ(list->SearchText(), std::string(32, 'a'));
}

}  // namespace
