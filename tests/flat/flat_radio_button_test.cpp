#include "flat/flat_radio_button.h"

#include <gtest/gtest.h>

#include "tests/support/synthetic_input.h"
#include "tests/support/test_form.h"

namespace {

constexpr TColor Parent = TestForm::FormColor;
constexpr TColor Border = 0x8396A0, Down = 0xC5D6D9;

// --- painting ----------------------------------------------------------------------------

// Pixels of the 10 x 10 circle whose box starts at (x, y), and of its dot.
std::vector<PixelCase> CirclePixels(int x, int y, TColor fill, TColor dot, bool checked) {
  std::vector<PixelCase> cases = {
      {x + 4, y, Border, "top of the outline"},
      {x, y + 5, Border, "left of the outline"},
      {x + 9, y + 4, Border, "right of the outline"},
      {x + 5, y + 9, Border, "bottom of the outline"},
      {x, y, Parent, "the box corner lies outside the circle: background"},
      {x + 2, y + 5, fill, "inside the circle, beside the dot"},
      {x + 7, y + 4, fill, "inside the circle, right of the dot"},
  };
  TColor centre = checked ? dot : fill;
  const char* why = checked ? "the 4 x 4 dot at (x + 3, y + 3)" : "unchecked: no dot";
  for (TPoint p : {TPoint{x + 4, y + 4}, TPoint{x + 5, y + 5}, TPoint{x + 4, y + 5}, TPoint{x + 5, y + 4}})
    cases.push_back({p.X, p.Y, centre, why});
  return cases;
}

TEST(FlatRadioButtonPaint, CircleAndDotPositions) {
  struct Case {
    const char* name;
    TRadioButtonLayout layout;
    int height;
    bool checked;
    int circleX;  // left of the circle box in a 121-wide control
  };
  const Case cases[] = {
      {"radioLeft unchecked", radioLeft, 17, false, 1},
      {"radioLeft checked", radioLeft, 17, true, 1},
      {"radioRight checked", radioRight, 17, true, 121 - 11},
      {"radioLeft, 40 high: the circle stays at the top", radioLeft, 40, true, 1},
  };
  for (const Case& c : cases) {
    TestForm form;
    auto* radio = form.Add<TFlatRadioButton>(10, 10, 121, c.height);
    radio->SetLayout(c.layout);
    radio->SetChecked(c.checked);  // a checked radio button is a tab stop: keep it unfocused
    form.ShowUnfocused();
    EXPECT_EQ(radio->Color(), Parent) << "Color comes from the parent";
    ExpectPixels(ClientPixels(*radio), CirclePixels(c.circleX, 3, Parent, clBlack, c.checked), c.name);
    ExpectPixels(ClientPixels(*radio), {{c.circleX + 4, 2, Parent, "nothing above y = 3"}}, c.name);
    if (c.height > 17) {
      EXPECT_FALSE(HasColor(ClientPixels(*radio), Border, {0, 14, 121, c.height})) << c.name;
    }
  }
}

TEST(FlatRadioButtonPaint, FillFollowsFocusHotAndPress) {
  TestForm form;
  auto* radio = form.Add<TFlatRadioButton>(10, 10, 121, 17);
  auto* other = form.Add<TFlatRadioButton>(10, 40, 121, 17);
  radio->SetColorFocused(clAqua);
  radio->SetColorDot(clRed);
  form.Show();
  auto fillAt = [&] { return PixelAt(*radio, 1 + 2, 3 + 5); };

  EXPECT_EQ(fillAt(), Parent) << "rest: Color";
  input::Move(*radio, 50, 8);
  EXPECT_TRUE(radio->Hot());
  EXPECT_EQ(fillAt(), ColorToRGB(clAqua)) << "hot: ColorFocused, drawn at once";
  input::Press(*radio, 50, 8);
  EXPECT_TRUE(radio->Pressed());
  EXPECT_EQ(fillAt(), ColorToRGB(Down)) << "pressed and focused: ColorDown";
  input::Release(*radio, 50, 8);
  EXPECT_EQ(fillAt(), ColorToRGB(clAqua)) << "released, focused: ColorFocused";
  EXPECT_EQ(PixelAt(*radio, 5, 8), ColorToRGB(clRed)) << "checked: the dot in ColorDot";

  other->SetFocus();
  EXPECT_EQ(fillAt(), Parent) << "focus gone (and hot with it): Color";
  radio->SetEnabled(false);
  form.Paint();
  EXPECT_EQ(PixelAt(*radio, 5, 8), ColorToRGB(clBtnShadow)) << "disabled: the dot in clBtnShadow";
}

TEST(FlatRadioButtonPaint, CaptionPlacementAndEmboss) {
  struct Case {
    const char* name;
    TRadioButtonLayout layout;
    bool enabled;
  };
  const Case cases[] = {
      {"left", radioLeft, true}, {"right", radioRight, true}, {"disabled", radioLeft, false}};
  for (const Case& c : cases) {
    TestForm form;
    auto* radio = form.Add<TFlatRadioButton>(10, 10, 121, 40);
    radio->SetCaption("按拼音");
    radio->SetLayout(c.layout);
    radio->SetEnabled(c.enabled);
    radio->Font().SetColor(clNavy);
    form.Show();
    TRect textArea = c.layout == radioLeft ? TRect{14, 0, 121, 40} : TRect{0, 0, 107, 40};
    const PixelSource pixels = ClientPixels(*radio);
    TRect ink = InkBox(pixels, Parent, textArea);
    ASSERT_FALSE(ink.IsEmpty()) << c.name;
    if (c.layout == radioLeft) {
      EXPECT_GE(ink.Left, 16) << c.name << ": text starts at l + 16";
    } else {
      EXPECT_LE(ink.Right, 121 - 16) << c.name << ": right-aligned to r - 16";
      EXPECT_GT(ink.Right, 121 - 16 - 4) << c.name << ": right-aligned";
    }
    EXPECT_LT(ink.Top, 6) << c.name << ": from the top, not vertically centred";
    EXPECT_LT(ink.Bottom, 24) << c.name;
    EXPECT_EQ(HasColor(pixels, clNavy, textArea), c.enabled) << c.name;
    EXPECT_EQ(HasColor(pixels, clBtnShadow, textArea), !c.enabled) << c.name;
    EXPECT_EQ(HasColor(pixels, clBtnHighlight, textArea), !c.enabled) << c.name;
  }
}

TEST(FlatRadioButtonPaint, TransparentShowsTheParent) {
  TestForm form;
  auto* radio = form.Add<TFlatRadioButton>(10, 10, 121, 17);
  radio->SetColor(clYellow);
  form.Show();
  EXPECT_EQ(PixelAt(*radio, 60, 8), ColorToRGB(clYellow)) << "opaque: the erase step lays down Color";
  radio->SetTransparent(true);
  form.Paint();
  EXPECT_EQ(PixelAt(*radio, 60, 8), Parent) << "transparent: the parent's image";
  EXPECT_EQ(PixelAt(*radio, 1 + 2, 3 + 5), ColorToRGB(clYellow)) << "the circle still uses Color";
}

// --- checking ----------------------------------------------------------------------------

struct Group {
  TestForm form;
  TFlatRadioButton *a, *b, *otherIndex, *otherParent;
  int clicksA = 0, clicksB = 0, clicksOtherIndex = 0;
  Group() {
    a = form.Add<TFlatRadioButton>(0, 0, 100, 17);
    b = form.Add<TFlatRadioButton>(0, 20, 100, 17);
    otherIndex = form.Add<TFlatRadioButton>(0, 40, 100, 17);
    otherIndex->SetGroupIndex(1);
    auto* panel = form.Add<TCustomControl>(120, 0, 150, 60);
    otherParent = form.Add<TFlatRadioButton>(0, 0, 100, 17, panel);
    a->OnClick = [this](TObject*) { ++clicksA; };
    b->OnClick = [this](TObject*) { ++clicksB; };
    otherIndex->OnClick = [this](TObject*) { ++clicksOtherIndex; };
    otherIndex->SetChecked(true);
    otherParent->SetChecked(true);
    clicksOtherIndex = 0;
    form.Show();
  }
};

TEST(FlatRadioButtonCheck, ClickChecksAndUnchecksSiblingsOfTheGroup) {
  Group g;
  input::Click(*g.a, 30, 8);
  EXPECT_TRUE(g.a->Checked());
  EXPECT_EQ(g.clicksA, 1);
  input::Click(*g.b, 30, 8);
  EXPECT_TRUE(g.b->Checked());
  EXPECT_FALSE(g.a->Checked()) << "same parent and group index";
  EXPECT_EQ(g.clicksB, 1);
  EXPECT_EQ(g.clicksA, 1) << "unchecking raises no click";
  EXPECT_TRUE(g.otherIndex->Checked()) << "another GroupIndex is untouched";
  EXPECT_EQ(g.clicksOtherIndex, 0);
  EXPECT_TRUE(g.otherParent->Checked()) << "another parent is untouched";

  input::Click(*g.b, 30, 8);
  EXPECT_EQ(g.clicksB, 1) << "clicking a checked button raises no OnClick";
  EXPECT_TRUE(g.b->Checked());

  g.a->SetChecked(true);
  EXPECT_EQ(g.clicksA, 2) << "checking in code raises OnClick too";
  EXPECT_FALSE(g.b->Checked());
}

TEST(FlatRadioButtonCheck, OnlyTheCheckedButtonIsATabStop) {
  Group g;
  EXPECT_FALSE(g.a->TabStop());
  g.a->SetChecked(true);
  EXPECT_TRUE(g.a->TabStop());
  g.b->SetChecked(true);
  EXPECT_FALSE(g.a->TabStop());
  EXPECT_TRUE(g.b->TabStop());
}

TEST(FlatRadioButtonCheck, ReleaseEdges) {
  struct Case {
    int x, y;
    bool checks;
    const char* reason;
  };
  const Case cases[] = {
      {100, 17, true, "x = width and y = height are both inside"},
      {101, 8, false, "right of the right edge"},
      {50, 18, false, "below the bottom edge"},
      {-1, 8, false, "left of the control"},
      {0, 0, true, "origin"},
  };
  for (const Case& c : cases) {
    Group g;
    input::Move(*g.a, 30, 8);
    input::Press(*g.a, 30, 8);
    input::Move(*g.a, c.x, c.y);
    input::Release(*g.a, c.x, c.y);
    EXPECT_EQ(g.a->Checked(), c.checks) << c.reason;
    EXPECT_EQ(g.clicksA, c.checks ? 1 : 0) << c.reason;
    EXPECT_FALSE(g.a->Pressed()) << c.reason;
  }
}

TEST(FlatRadioButtonMouse, OnlyTheLeftButtonOfAnEnabledButtonCounts) {
  Group g;
  int downs = 0, ups = 0;
  g.a->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
  g.a->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ++ups; };
  input::Press(*g.a, 30, 8, {}, mbRight);
  input::Release(*g.a, 30, 8, {}, mbRight);
  EXPECT_EQ(downs + ups, 0) << "other buttons: nothing at all";
  EXPECT_FALSE(g.a->Checked());

  g.a->SetEnabled(false);
  TWMMouse down{mmDown, mbLeft, {ssLeft}, {30, 8}};
  g.a->DispatchMouse(down);
  TWMMouse up{mmUp, mbLeft, {}, {30, 8}};
  g.a->DispatchMouse(up);
  EXPECT_EQ(downs + ups, 0) << "disabled: nothing, not even OnMouseDown";
  EXPECT_FALSE(g.a->Checked());

  g.a->SetEnabled(true);
  input::Click(*g.a, 30, 8);
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(ups, 1);
  EXPECT_TRUE(g.a->Focused()) << "the left button takes the focus";
}

TEST(FlatRadioButtonKeys, AcceleratorFocusesWithoutChecking) {
  Group g;
  g.a->SetCaption("按&English");
  g.form.form().SetActiveControl(nullptr);
  input::KeyPress(g.form.form(), U'e');
  EXPECT_TRUE(g.a->Focused());
  EXPECT_TRUE(g.a->FocusedLook());
  EXPECT_FALSE(g.a->Checked()) << "the accelerator only moves the focus";
  input::KeyDown(g.form.form(), VK_SPACE);
  input::KeyUp(g.form.form(), VK_SPACE);
  EXPECT_FALSE(g.a->Checked()) << "no key checks a radio button";
}

TEST(FlatRadioButtonHover, LeavesWhenTheCursorMovesOff) {
  TestForm form;
  auto* radio = form.Add<TFlatRadioButton>(10, 10, 121, 17);
  auto* disabled = form.Add<TFlatRadioButton>(10, 40, 121, 17);
  disabled->SetEnabled(false);
  form.Show();
  HoverTracker& tracker = TFlatRadioButton::ClassHoverTracker();
  input::Move(*radio, 30, 8);
  EXPECT_TRUE(radio->Hot());
  EXPECT_EQ(tracker.Tracked(), radio);
  input::Move(*disabled, 30, 8);
  tracker.Timer()->Tick();
  EXPECT_FALSE(radio->Hot()) << "onto a disabled radio button";
  EXPECT_EQ(tracker.Tracked(), nullptr);

  input::Move(*radio, 30, 8);
  radio->SetEnabled(false);
  EXPECT_EQ(tracker.Tracked(), nullptr) << "disabling stops tracking";
  EXPECT_FALSE(radio->Hot());
}

}  // namespace
