// The drop-down editors in a grid: the image column (values shown as descriptions with
// images, chosen from a popup, typed, stepped) and the pick-list column (a free text with
// suggestions), and the button mechanics of their base. Input goes through the forms as real
// input does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/image_list.h"
#include "platform/ui/application.h"
#include "platform/ui/services.h"
#include "platform/ui/toolkit.h"
#include "tests/support/synthetic_input.h"
#include "tests/support/test_form.h"
#include "treelist/editor_buttons.h"
#include "treelist/inplace_image_edit.h"
#include "treelist/inplace_pick_edit.h"
#include "treelist/popup_list_box.h"
#include "treelist/treelist_control.h"
#include "treelist/treelist_drop_down_columns.h"
#include "treelist/treelist_node.h"

namespace {

constexpr TqlTreeListOptions kEditOptions =
    kDefaultTreeListOptions - TqlTreeListOptions{tloRowSelect};

// Four 16 x 16 images of plain colours.
TImageList& fourImages() {
  static TImageList images = [] {
    TImageList list(16, 16);
    for (TColor c : {clRed, clGreen, clBlue, clYellow}) {
      TBitmap b;
      b.SetSize(16, 16);
      b.Canvas().Brush.SetColor(c);
      b.Canvas().FillRect({0, 0, 16, 16});
      list.Add(b, nullptr);
    }
    return list;
  }();
  return images;
}

// A shown grid: column 0 plain text, column 1 an image column (values "1".."n" with
// descriptions), column 2 a pick-list column; focused on row 0, column 1.
struct DropDownFixture {
  TestForm form{Bounds(0, 0, 420, 300)};
  TCustomqlTreeListControl* g = nullptr;
  TqlTreeListImageColumn* image = nullptr;
  TqlTreeListPickColumn* pick = nullptr;

  explicit DropDownFixture(std::vector<std::string> descriptions = {"Mild", "Moderate", "Severe",
                                                                    "Serious"}) {
    EnsureTestApplication();
    g = form.Add<TCustomqlTreeListControl>(0, 0, 400, 200);
    g->SetOptions(kEditOptions);
    g->CreateColumn()->SetCaption("term");
    image = g->CreateColumn<TqlTreeListImageColumn>();
    image->SetCaption("severity");
    for (size_t i = 0; i < descriptions.size(); ++i) image->Images().Values.push_back(std::to_string(i + 1));
    image->Images().Descriptions = descriptions;
    image->Images().Images = &fourImages();
    pick = g->CreateColumn<TqlTreeListPickColumn>();
    pick->SetCaption("outcome");
    pick->PickList().Items = {"Recovered", "Recovering", "Not recovered", "Fatal", "Unknown"};
    for (int i = 0; i < 3; ++i) {
      TqlTreeListNode* n = g->Add();
      n->SetText(0, "t" + std::to_string(i));
      n->SetText(1, "2");
      n->SetText(2, "Unknown");
    }
    form.Show();
    g->SetFocus();
    g->SetFocusedNodeAndColumn(g->Items(0), 1, true);
  }
  bool key(uint16_t k, TShiftState shift = {}) { return input::KeyDown(form.form(), k, shift); }
  void type(char32_t ch) { input::KeyPress(form.form(), ch); }
  TqlInplaceImageEdit* imageEditor() const { return dynamic_cast<TqlInplaceImageEdit*>(g->InplaceEditor()); }
  TqlInplacePickEdit* pickEditor() const { return dynamic_cast<TqlInplacePickEdit*>(g->InplaceEditor()); }
};

TEST(ImageEdit, ImageIndexOfAValue) {
  struct Case {
    int item;
    bool defaultImages;
    std::vector<std::string> indexes;
    int expected;
  };
  const Case cases[] = {
      {2, true, {"7", "8", "9"}, 2},    // default images: the item's own index
      {2, false, {"7", "8", "9"}, 9},   // the list's entry
      {1, false, {"7", "x", "9"}, -1},  // not a number
      {1, false, {"7", "", "9"}, -1},
      {1, false, {"7", "3a"}, -1},
      {3, false, {"7", "8"}, 3},        // no entry: the item's index
      {-1, false, {"7"}, -1},           // no item
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    EXPECT_EQ(ImageEditImageIndex(c.item, c.defaultImages, c.indexes), c.expected);
  }
}

// The cells show descriptions with images; the editor shows the same and keeps the value.
TEST(ImageEdit, CellsAndEditorShowTheDescriptionOfTheValue) {
  DropDownFixture f;
  std::string text = "3";
  TqlCellImage image;
  EXPECT_TRUE(f.g->GetColumnDisplay(1, text, image));
  EXPECT_EQ(text, "Severe");
  EXPECT_EQ(image.Images, &fourImages());
  EXPECT_EQ(image.Index, 2);
  text = "9";
  EXPECT_FALSE(f.g->GetColumnDisplay(1, text, image)) << "an unknown value shows as it is";
  EXPECT_EQ(text, "9");

  f.form.Paint();
  const TRect cell = f.g->CellRect(f.g->Items(0), 1);
  EXPECT_EQ(PixelAt(*f.g, cell.Left + 8, cell.Top + cell.Height() / 2), ColorToRGB(clGreen))
      << "value 2 draws image 1 at the cell's left";

  f.key(VK_F2);
  TqlInplaceImageEdit* e = f.imageEditor();
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->EditText(), "2");
  EXPECT_EQ(e->Description(), "Moderate");
  EXPECT_EQ(e->ItemIndex(), 1);
  EXPECT_FALSE(e->Buttons().empty()) << "a down-arrow button";
}

// Typing picks the next description starting with the letter, wrapping to the top; Enter
// writes the value, not the description.
TEST(ImageEdit, TypingPicksTheNextDescriptionWithThatLetter) {
  DropDownFixture f;
  f.key(VK_F2);
  TqlInplaceImageEdit* e = f.imageEditor();
  ASSERT_NE(e, nullptr);
  const struct {
    char32_t typed;
    const char* value;
  } steps[] = {{'s', "3"}, {'s', "4"}, {'S', "3"}, {'m', "1"}, {'m', "2"}, {'x', "2"}};
  for (const auto& step : steps) {
    f.type(step.typed);
    EXPECT_EQ(e->EditText(), step.value) << char(step.typed);
  }
  f.key(VK_RETURN);
  EXPECT_EQ(f.g->Items(0)->Text(1), "2");
  f.key(VK_F2);
  f.type('f');
  EXPECT_EQ(f.imageEditor()->EditText(), "2") << "no description starts with f";
}

// The popup is as many rows high as there are values, at most DropDownRows; keys go to it
// while it shows; Enter takes its selection, Escape leaves the value.
TEST(ImageEdit, PopupRowsAndKeys) {
  for (int count : {4, 10}) {
    SCOPED_TRACE(count);
    std::vector<std::string> descriptions;
    for (int i = 0; i < count; ++i) descriptions.push_back("d" + std::to_string(i));
    DropDownFixture f(descriptions);
    f.key(VK_F2);
    TqlInplaceImageEdit* e = f.imageEditor();
    ASSERT_NE(e, nullptr);
    f.key(VK_DOWN, {ssAlt});
    ASSERT_TRUE(e->PopupVisible());
    TqlPopupImageListBox& list = e->PopupList();
    EXPECT_EQ(list.Count(), count);
    EXPECT_EQ(list.ItemIndex(), 1) << "the current value selected";
    EXPECT_EQ(list.VisibleRows(), std::min(count, 7));
    EXPECT_EQ(list.GetScrollInfo(sbVertical).Visible, count > 7);
    const TPoint below = e->ClientToScreen({0, e->ClientHeight()});
    EXPECT_GE(list.PopupWindow().Top(), below.Y) << "opens below the editor";

    f.key(VK_DOWN);
    f.key(VK_DOWN);
    EXPECT_EQ(list.ItemIndex(), 3) << "arrows move in the popup";
    EXPECT_EQ(e->EditText(), "2") << "not yet taken";
    f.key(VK_ESCAPE);
    EXPECT_FALSE(e->PopupVisible());
    EXPECT_EQ(f.g->State(), tsEditing) << "Escape closes only the popup";
    EXPECT_EQ(e->EditText(), "2");
    f.key(VK_F4);
    f.key(VK_END);
    f.key(VK_RETURN);
    EXPECT_FALSE(e->PopupVisible());
    EXPECT_EQ(e->EditText(), std::to_string(count));
    EXPECT_TRUE(e->Modified());
    f.key(VK_RETURN);
    EXPECT_EQ(f.g->Items(0)->Text(1), std::to_string(count)) << "the second Enter writes";
  }
}

// Clicking a closed image cell opens the popup (pop up on click); a click on an item takes
// it; the wheel steps the value when the popup is closed.
TEST(ImageEdit, MouseOpensChoosesAndSteps) {
  DropDownFixture f;
  f.g->SetOptions(kEditOptions + TqlTreeListOptions{tloImmediateEditor});
  const TRect cell = f.g->CellRect(f.g->Items(0), 1);
  input::Click(*f.g, cell.Left + 30, cell.Top + 5);
  Application->ProcessMessages();
  TqlInplaceImageEdit* e = f.imageEditor();
  ASSERT_NE(e, nullptr);
  ASSERT_TRUE(e->PopupVisible());
  TqlPopupImageListBox& list = e->PopupList();
  const TRect third = list.ItemRect(2);
  input::Move(list, third.Left + 5, third.Top + 2);
  EXPECT_EQ(list.ItemIndex(), 2) << "hot tracking";
  input::Press(list, third.Left + 5, third.Top + 2);
  input::Release(list, third.Left + 5, third.Top + 2);
  EXPECT_FALSE(e->PopupVisible());
  EXPECT_EQ(e->EditText(), "3");

  input::Wheel(*e, 5, 5, -120);
  EXPECT_EQ(e->EditText(), "4") << "wheel towards the user: the next value";
  input::Wheel(*e, 5, 5, -120);
  EXPECT_EQ(e->EditText(), "4") << "clamped at the last";
  input::Wheel(*e, 5, 5, 120);
  EXPECT_EQ(e->EditText(), "3");
}

// The pick list: F4 opens it on the item equal to the text, typing searches it (two seconds
// between characters start a new search), Enter puts the item into the text, which stays
// editable; Alt+Up closes with the choice.
TEST(PickEdit, KeysSearchAndChoose) {
  DropDownFixture f;
  uint32_t now = 10000;
  SetTickCountForTest([&now] { return now; });
  f.g->SetFocusedNodeAndColumn(f.g->Items(0), 2, true);
  f.key(VK_F2);
  TqlInplacePickEdit* e = f.pickEditor();
  ASSERT_NE(e, nullptr);
  f.key(VK_F4);
  ASSERT_TRUE(e->PopupVisible());
  TCustomqlPopupPickListBox& list = e->PopupList();
  EXPECT_EQ(list.ItemIndex(), 4) << "Unknown";
  const struct {
    uint32_t pause;
    char32_t typed;
    int selected;
    const char* search;
  } steps[] = {
      {0, 'r', 0, "r"},       {100, 'e', 0, "re"},    {100, 'c', 0, "rec"},
      {100, 'x', 0, "rec"},   // no match: the character is taken off again
      {2500, 'n', 2, "n"},    // after a pause a new search
      {100, 'o', 2, "no"},    {2001, 'f', 3, "f"},
  };
  for (const auto& step : steps) {
    now += step.pause;
    f.type(step.typed);
    EXPECT_EQ(list.ItemIndex(), step.selected) << char(step.typed);
    EXPECT_EQ(list.SearchText(), step.search);
  }
  EXPECT_EQ(e->EditText(), "Unknown") << "typing went to the list";
  f.key(VK_UP);
  EXPECT_EQ(list.ItemIndex(), 2);
  f.key(VK_UP, {ssAlt});
  EXPECT_FALSE(e->PopupVisible());
  EXPECT_EQ(e->EditText(), "Not recovered");
  f.type('!');
  EXPECT_EQ(e->EditText(), "!") << "the text is free (all was selected)";
  f.key(VK_RETURN);
  EXPECT_EQ(f.g->Items(0)->Text(2), "!");
  SetTickCountForTest(nullptr);
}

// A pressed button released off every button is no click; released on it, it is one.
TEST(DropDownEdit, ButtonClickNeedsTheReleaseOnTheButton) {
  struct CountingEdit : TqlInplaceDropDownEdit {
    using TqlInplaceDropDownEdit::TqlInplaceDropDownEdit;
    int clicks = 0;
    void ButtonClicked(int) override { ++clicks; }
  };
  EnsureTestApplication();
  TestForm form(Bounds(0, 0, 300, 100));
  auto* e = form.Add<CountingEdit>(10, 10, 150, 22);
  form.Show();
  e->SetFocus();
  e->StyleChanged();
  ASSERT_EQ(e->ButtonRects().size(), 1u);
  const TRect button = e->ButtonRects()[0];
  const TPoint origin = e->ClientOrigin();
  const int bx = button.Left + 3 - origin.X, by = button.Top + 3 - origin.Y;  // client coords
  input::Move(*e, bx, by);
  EXPECT_EQ(e->HotButton(), 0);
  input::Press(*e, bx, by);
  EXPECT_EQ(e->PressedButton(), 0);
  input::Move(*e, 5, 5);
  EXPECT_EQ(e->HotButton(), -1) << "off the button";
  input::Release(*e, 5, 5);
  EXPECT_EQ(e->PressedButton(), -1);
  EXPECT_EQ(e->clicks, 0);
  input::Move(*e, bx, by);
  input::Press(*e, bx, by);
  input::Release(*e, bx, by);
  EXPECT_EQ(e->clicks, 1);
}

// With ebtHideInactive an editor that is not selected has no button and its text window
// takes the whole width; focused it gets the button back.
TEST(DropDownEdit, HideInactiveButtonsGiveTheTextTheWidth) {
  EnsureTestApplication();
  TestForm form(Bounds(0, 0, 300, 100));
  auto* other = form.Add<TqlInplacePickEdit>(10, 50, 150, 22);
  auto* e = form.Add<TqlInplacePickEdit>(10, 10, 150, 22);
  e->Style().SetButtonTransparence(ebtHideInactive);
  form.Show();
  other->SetFocus();
  e->StyleChanged();
  EXPECT_TRUE(e->Buttons().empty());
  const int fullWidth = e->ClientWidth();
  e->SetFocus();
  ASSERT_EQ(e->Buttons().size(), 1u);
  EXPECT_EQ(e->ClientWidth(), fullWidth - e->Buttons()[0].Width);
  other->SetFocus();
  EXPECT_TRUE(e->Buttons().empty());
  EXPECT_EQ(e->ClientWidth(), fullWidth);
}

// With tloShowButtonAlways every cell of a drop-down column shows the button; a press on it
// opens the editor and its popup at once, a press beside it only focuses the cell.
TEST(DropDownEdit, AlwaysShownButtonsOpenThePopup) {
  DropDownFixture f;
  f.g->SetOptions(kEditOptions + TqlTreeListOptions{tloShowButtonAlways});
  f.form.Paint();
  const TRect cell = f.g->CellRect(f.g->Items(2), 2);  // the pick column, not focused
  const int buttonWidth = EditButtonWidth(bts3D, TqlEditButton{});
  EXPECT_EQ(PixelAt(*f.g, cell.Right - buttonWidth / 2, cell.Top + 2), ColorToRGB(clBtnFace))
      << "the button's face";
  EXPECT_EQ(PixelAt(*f.g, cell.Left + 1, cell.Top + 2), ColorToRGB(clWindow)) << "the text area";
  EXPECT_FALSE(f.g->IsEditorButtonAt(0, f.g->Items(2), {cell.Right - 3, cell.Top + 3}))
      << "a plain column has none";

  input::Press(*f.g, cell.Right - buttonWidth / 2, cell.Top + cell.Height() / 2);
  TqlInplacePickEdit* e = f.pickEditor();
  ASSERT_NE(e, nullptr) << "the press opened the editor on that cell";
  EXPECT_EQ(e->PressedButton(), 0) << "and pressed its button";
  input::Release(*e, e->ClientWidth() + 3, 3);
  Application->ProcessMessages();
  EXPECT_TRUE(e->PopupVisible());
  f.key(VK_ESCAPE);
  f.key(VK_ESCAPE);
  ASSERT_EQ(f.g->InplaceEditor(), nullptr);
  input::Press(*f.g, cell.Left + 5, cell.Top + 3);
  input::Release(*f.g, cell.Left + 5, cell.Top + 3);
  EXPECT_EQ(f.g->InplaceEditor(), nullptr) << "beside the button: no editor at once";
}

}  // namespace
