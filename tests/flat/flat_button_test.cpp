#include "flat/flat_button.h"
#include "flat/hsl.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/ui/application.h"
#include "platform/ui/toolkit.h"
#include "tests/support/synthetic_input.h"
#include "tests/support/test_form.h"

namespace {

constexpr TColor ButtonColor = 0x0080FFFF;  // Color, distinct from the parent's image
constexpr TColor Focused = 0xE1EAEB, Down = 0xC5D6D9, Border = 0x8396A0;
constexpr TColor HighLight = clWhite, Shadow = clBlack;
constexpr TColor Parent = TestForm::FormColor;

// A 40 x 30 button without caption or glyph at (20, 20) of a shown form.
struct ButtonFixture {
  TestForm form;
  TFlatButton* button;
  explicit ButtonFixture(TTransparentMode mode = tmNone) {
    button = form.Add<TFlatButton>(20, 20, 40, 30);
    button->SetColor(ButtonColor);
    button->SetTransparentMode(mode);
    form.Show();
  }
};

// --- face and border per state -----------------------------------------------------------

TEST(FlatButtonPaint, FaceAndBorderForEachState) {
  using Setup = std::function<void(ButtonFixture&)>;
  const Setup rest = [](ButtonFixture&) {};
  const Setup hot = [](ButtonFixture& f) { input::Move(*f.button, 20, 15); };
  const Setup pressed = [](ButtonFixture& f) {
    input::Move(*f.button, 20, 15);
    input::Press(*f.button, 20, 15);
  };
  const Setup exclusive = [](ButtonFixture& f) {
    f.button->SetGroupIndex(1);
    f.button->SetDown(true);
  };
  const Setup exclusiveHot = [&](ButtonFixture& f) {
    exclusive(f);
    hot(f);
  };
  const Setup disabled = [](ButtonFixture& f) { f.button->SetEnabled(false); };
  const Setup disabledHover = [](ButtonFixture& f) {
    input::Move(*f.button, 20, 15);
    f.button->SetEnabled(false);
  };

  struct Case {
    const char* name;
    TTransparentMode mode;
    bool isDefault;
    Setup setup;
    TColor face, topLeft, topRight, bottomRight, inner;
  };
  const Case cases[] = {
      {"up", tmNone, false, rest, ButtonColor, Border, Border, Border, ButtonColor},
      {"up Default: two-pixel border", tmNone, true, rest, ButtonColor, Border, Border, Border, Border},
      {"up hot: raised", tmNone, false, hot, Focused, HighLight, Shadow, Shadow, Focused},
      {"up hot Default: still one raised ring", tmNone, true, hot, Focused, HighLight, Shadow, Shadow, Focused},
      {"down: sunken", tmNone, false, pressed, Down, Shadow, HighLight, HighLight, Down},
      {"down Default", tmNone, true, pressed, Down, Shadow, HighLight, HighLight, Down},
      {"exclusive", tmNone, false, exclusive, Down, Shadow, HighLight, HighLight, Down},
      {"exclusive hot", tmNone, false, exclusiveHot, Focused, Shadow, HighLight, HighLight, Focused},
      {"disabled", tmNone, false, disabled, ButtonColor, Border, Border, Border, ButtonColor},
      {"disabled Default: one ring", tmNone, true, disabled, ButtonColor, Border, Border, Border, ButtonColor},
      {"disabled after hover: not hot", tmNone, false, disabledHover, ButtonColor, Border, Border, Border, ButtonColor},
      {"tmAlways up", tmAlways, false, rest, Parent, Border, Border, Border, Parent},
      {"tmAlways hot", tmAlways, false, hot, Parent, HighLight, Shadow, Shadow, Parent},
      {"tmAlways down", tmAlways, false, pressed, Parent, Shadow, HighLight, HighLight, Parent},
      {"tmAlways exclusive", tmAlways, false, exclusive, Parent, Shadow, HighLight, HighLight, Parent},
      {"tmAlways disabled", tmAlways, false, disabled, Parent, Border, Border, Border, Parent},
      {"tmNotFocused up", tmNotFocused, false, rest, Parent, Border, Border, Border, Parent},
      {"tmNotFocused hot", tmNotFocused, false, hot, Focused, HighLight, Shadow, Shadow, Focused},
      {"tmNotFocused down (hot by focus)", tmNotFocused, false, pressed, Down, Shadow, HighLight, HighLight, Down},
      {"tmNotFocused exclusive, not hot", tmNotFocused, false, exclusive, Parent, Shadow, HighLight, HighLight, Parent},
      {"tmNotFocused exclusive hot", tmNotFocused, false, exclusiveHot, Focused, Shadow, HighLight, HighLight, Focused},
      {"tmNotFocused disabled", tmNotFocused, false, disabled, Parent, Border, Border, Border, Parent},
  };
  for (const Case& c : cases) {
    ButtonFixture f(c.mode);
    f.button->SetDefault(c.isDefault);
    c.setup(f);
    f.form.Paint();
    ExpectPixels(ClientPixels(*f.button),
                 {{20, 15, c.face, "face"},
                  {0, 0, c.topLeft, "top-left corner: top colour"},
                  {39, 0, c.topRight, "top-right corner: bottom colour"},
                  {39, 29, c.bottomRight, "bottom-right corner"},
                  {1, 1, c.inner, "second ring (Default at rest) or face"},
                  {40, 15, Parent, "right of the button: the form"}},
                 c.name);
  }
}

TEST(FlatButtonPaint, AdvancedColoursFollowColor) {
  ButtonFixture f;
  f.button->SetParentColor(true);
  f.button->SetUseAdvColors(true);
  EXPECT_TRUE(f.button->ParentColor());
  EXPECT_EQ(f.button->Color(), Parent);
  EXPECT_EQ(f.button->ColorFocused(), ShiftLightness(Parent, Focused, 10, false));
  EXPECT_EQ(f.button->ColorDown(), ShiftLightness(Parent, Down, 10, true));
  EXPECT_EQ(f.button->ColorBorder(), ShiftLightness(Parent, Border, 50, true));
  // A parent-colour change recomputes them.
  f.form->SetColor(clTeal);
  EXPECT_EQ(f.button->ColorBorder(), ShiftLightness(clTeal, f.button->ColorBorder(), 50, true));
  EXPECT_EQ(f.button->ColorDown(), ShiftLightness(clTeal, Down, 10, true));
}

// --- glyph -------------------------------------------------------------------------------

// A strip of `count` 8 x 8 images, image k filled with colours[k]; the glyph's bottom-left
// pixel is magenta, the transparent colour, so only that one pixel of image 1 is left out.
TBitmap GlyphStrip(int count, const TColor* colors) {
  TBitmap glyph(8 * count, 8);
  for (int k = 0; k < count; ++k) {
    glyph.Canvas().Brush.SetColor(colors[k]);
    glyph.Canvas().FillRect(Bounds(8 * k, 0, 8, 8));
  }
  glyph.SetPixel(0, 7, clFuchsia);
  return glyph;
}

TEST(FlatButtonPaint, GlyphImageForEachState) {
  const TColor colors[] = {clRed, clLime, clBlue, clYellow};
  enum StateKind { Up, Disabled, Pressed, Exclusive };
  struct Case {
    int numGlyphs;
    StateKind state;
    int image;  // 1-based, 0 = the embossed one
  };
  const Case cases[] = {
      {1, Up, 1},        {1, Pressed, 1},  {1, Exclusive, 1},
      {2, Up, 1},        {2, Disabled, 2}, {2, Pressed, 1},   {2, Exclusive, 1},
      {3, Up, 1},        {3, Disabled, 2}, {3, Pressed, 3},   {3, Exclusive, 3},
      {4, Up, 1},        {4, Disabled, 2}, {4, Pressed, 3},   {4, Exclusive, 4},
  };
  const char* stateNames[] = {"up", "disabled", "down", "exclusive"};
  for (const Case& c : cases) {
    TestForm form;
    auto* button = form.Add<TFlatButton>(20, 20, 40, 40);
    button->SetColor(ButtonColor);
    button->SetGlyph(GlyphStrip(c.numGlyphs, colors));
    button->SetNumGlyphs(c.numGlyphs);
    form.Show();
    switch (c.state) {
      case Up: break;
      case Disabled: button->SetEnabled(false); break;
      case Pressed: input::Press(*button, 5, 5); break;
      case Exclusive: button->SetGroupIndex(1); button->SetDown(true); break;
    }
    form.Paint();
    // Glyph top, no caption: x = (40 - 8 + 1) div 2, y = automatic margin (40 - 8 + 1) div 2;
    // pressed states move it by (1, 1).
    int offset = c.state == Pressed || c.state == Exclusive ? 1 : 0;
    int x = 16 + offset, y = 16 + offset;
    std::string context = std::to_string(c.numGlyphs) + " images, " + stateNames[c.state];
    ExpectPixels(ClientPixels(*button),
                 {{x + 4, y + 4, colors[c.image - 1], "the image the table names"},
                  {x + 7, y + 7, colors[c.image - 1], "its bottom-right pixel"},
                  {x - 1, y + 4, c.state == Pressed ? Down : c.state == Exclusive ? Down : ButtonColor,
                   "left of the glyph: face"}},
                 context);
    if (c.image == 1) {
      EXPECT_NE(PixelAt(*button, x, y + 7), ColorToRGB(clFuchsia))
          << context << ": the transparent colour is not drawn";
    }
  }
}

TEST(FlatButtonPaint, DisabledSingleGlyphIsEmbossedFromBlack) {
  // White 8 x 8 with a black 2 x 2 square at (3, 3): white (bottom-left) is transparent.
  TBitmap glyph(8, 8);
  glyph.Canvas().Brush.SetColor(clBlack);
  glyph.Canvas().FillRect({3, 3, 5, 5});
  struct Case {
    bool enabled;
    std::vector<PixelCase> pixels;
  };
  const int gx = 16, gy = 16;
  const Case cases[] = {
      {true,
       {{gx + 3, gy + 3, clBlack, "enabled: the glyph as it is"},
        {gx + 5, gy + 5, ButtonColor, "white is transparent: the face shows"},
        {gx, gy, ButtonColor, "white is transparent"}}},
      {false,
       {{gx + 3, gy + 3, clBtnShadow, "black pixels become clBtnShadow"},
        {gx + 4, gy + 4, clBtnShadow, "shadow covers its own highlight copy"},
        {gx + 5, gy + 5, clBtnHighlight, "the highlight copy one pixel down-right"},
        {gx + 5, gy + 4, clBtnHighlight, "highlight copy of (4, 3), right of the shadow"},
        {gx, gy, ButtonColor, "clBtnFace is the embossed glyph's transparent colour"},
        {gx + 7, gy + 7, ButtonColor, "face pixels are left out"}}},
  };
  for (const Case& c : cases) {
    TestForm form;
    auto* button = form.Add<TFlatButton>(20, 20, 40, 40);
    button->SetColor(ButtonColor);
    button->SetGlyph(glyph);
    button->SetEnabled(c.enabled);
    form.Show();
    ExpectPixels(ClientPixels(*button), c.pixels, c.enabled ? "enabled" : "disabled");
  }
}

TEST(FlatButton, GlyphSetterCountsSquareImages) {
  EnsureTestApplication();
  struct Case {
    int width, height, numGlyphs;
    const char* reason;
  };
  const Case cases[] = {
      {32, 16, 2, "width a multiple of height: width / height images"},
      {64, 16, 4, "four images"},
      {80, 16, 1, "more than four: one image"},
      {30, 16, 3, "not a multiple: NumGlyphs stays as set"},
      {16, 16, 1, "square: one image"},
  };
  for (const Case& c : cases) {
    TFlatButton button(nullptr);
    button.SetNumGlyphs(3);
    button.SetGlyph(TBitmap(c.width, c.height));
    EXPECT_EQ(button.NumGlyphs(), c.numGlyphs) << c.reason;
  }
  TFlatButton button(nullptr);
  button.SetMargin(-2);
  EXPECT_EQ(button.Margin(), -1) << "values below -1 are ignored";
  button.SetMargin(3);
  button.SetMargin(-5);
  EXPECT_EQ(button.Margin(), 3);
  button.SetNumGlyphs(9);
  EXPECT_EQ(button.NumGlyphs(), 4);
}

// --- mouse -------------------------------------------------------------------------------

TEST(FlatButtonMouse, PressInsideReleaseOutsideGivesNoClick) {
  ButtonFixture f;
  int clicks = 0;
  f.button->OnClick = [&](TObject*) { ++clicks; };
  input::Move(*f.button, 10, 10);
  input::Press(*f.button, 10, 10);
  EXPECT_EQ(f.button->State(), bsDown);
  input::Move(*f.button, 60, 10);
  EXPECT_EQ(f.button->State(), bsUp) << "dragged out";
  input::Move(*f.button, 10, 10);
  EXPECT_EQ(f.button->State(), bsDown) << "back in shows the down state again";
  input::Move(*f.button, 10, -1);
  EXPECT_EQ(f.button->State(), bsUp);
  input::Release(*f.button, 10, -1);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(f.button->State(), bsUp);
  EXPECT_FALSE(f.button->Hot()) << "released outside: the hover state follows the cursor";
}

TEST(FlatButtonMouse, EdgesOfTheInsideTest) {
  struct Case {
    int x, y;
    bool click;
    const char* reason;
  };
  const Case cases[] = {
      {39, 29, true, "last pixel"},
      {40, 10, false, "x = width is outside"},
      {10, 30, true, "y = height is inside"},
      {0, 0, true, "origin"},
      {-1, 10, false, "left of the button"},
      {10, 31, false, "below the bottom row"},
  };
  for (const Case& c : cases) {
    ButtonFixture f;
    int clicks = 0;
    f.button->OnClick = [&](TObject*) { ++clicks; };
    input::Press(*f.button, 5, 5);
    input::Move(*f.button, c.x, c.y);
    EXPECT_EQ(f.button->State(), c.click ? bsDown : bsUp) << c.reason;
    input::Release(*f.button, c.x, c.y);
    EXPECT_EQ(clicks, c.click ? 1 : 0) << c.reason;
  }
}

TEST(FlatButtonMouse, ClickSetsModalResultAndKeepsFocusAndHot) {
  ButtonFixture f;
  f.button->SetModalResult(mrOk);
  std::vector<std::string> events;
  TModalResult resultInClick = -1;
  f.button->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { events.push_back("down"); };
  f.button->OnClick = [&](TObject*) {
    events.push_back("click");
    resultInClick = f.form->ModalResult();
  };
  f.button->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { events.push_back("up"); };
  input::Click(*f.button, 10, 10);
  EXPECT_EQ(events, (std::vector<std::string>{"down", "up", "click"}))
      << "OnMouseUp first, then the click";
  EXPECT_EQ(resultInClick, mrOk) << "the form's modal result is set before OnClick";
  EXPECT_TRUE(f.button->Focused()) << "pressing takes the focus";
  EXPECT_TRUE(f.button->Hot()) << "the cursor is still over it";
  EXPECT_EQ(f.button->State(), bsUp);

  f.button->SetModalResult(mrNone);
  input::Click(*f.button, 10, 10);
  EXPECT_EQ(f.form->ModalResult(), mrNone) << "a modal result of 0 is copied too";
}

TEST(FlatButtonMouse, RightButtonRaisesEventsOnly) {
  ButtonFixture f;
  int downs = 0, clicks = 0;
  f.button->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState, int, int) { downs += b == mbRight; };
  f.button->OnClick = [&](TObject*) { ++clicks; };
  input::Press(*f.button, 10, 10, {}, mbRight);
  EXPECT_EQ(f.button->State(), bsUp);
  input::Release(*f.button, 10, 10, {}, mbRight);
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(clicks, 0);
}

TEST(FlatButtonMouse, DoubleClickRaisesOnDblClickOnlyWhileDown) {
  ButtonFixture f;
  int doubles = 0;
  f.button->OnDblClick = [&](TObject*) { ++doubles; };
  auto doubleClick = [&] {
    input::Press(*f.button, 10, 10);
    input::Release(*f.button, 10, 10);
    input::DoubleClick(*f.button, 10, 10);
    input::Release(*f.button, 10, 10);
  };
  doubleClick();
  EXPECT_EQ(doubles, 0) << "not a toggle: never down";
  f.button->SetGroupIndex(1);
  f.button->SetAllowAllUp(true);
  doubleClick();  // first click: down; double click while down; its release: up again
  EXPECT_EQ(doubles, 1);
}

// --- groups ------------------------------------------------------------------------------

TEST(FlatButtonGroup, TogglesWithAndWithoutAllowAllUp) {
  TestForm form;
  auto* a = form.Add<TFlatButton>(0, 0, 30, 20);
  auto* b = form.Add<TFlatButton>(40, 0, 30, 20);
  auto* other = form.Add<TFlatButton>(80, 0, 30, 20);
  auto* panel = form.Add<TCustomControl>(0, 40, 200, 40);
  auto* elsewhere = form.Add<TFlatButton>(0, 0, 30, 20, panel);
  for (TFlatButton* button : {a, b, elsewhere}) button->SetGroupIndex(1);
  other->SetGroupIndex(2);
  other->SetDown(true);
  elsewhere->SetDown(true);
  form.Show();
  int clicksB = 0;
  b->OnClick = [&](TObject*) { ++clicksB; };

  input::Click(*a, 5, 5);
  EXPECT_TRUE(a->Down());
  EXPECT_EQ(a->State(), bsExclusive);
  input::Click(*b, 5, 5);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down()) << "the other button of the group comes up";
  EXPECT_EQ(a->State(), bsUp);
  EXPECT_TRUE(other->Down()) << "another group index is untouched";
  EXPECT_TRUE(elsewhere->Down()) << "the same group index in another parent is untouched";

  input::Click(*b, 5, 5);
  EXPECT_TRUE(b->Down()) << "without AllowAllUp a down button stays down";
  EXPECT_EQ(clicksB, 2) << "each click still raises OnClick";

  b->SetAllowAllUp(true);
  EXPECT_TRUE(a->AllowAllUp()) << "the group copies AllowAllUp from the sender";
  input::Click(*b, 5, 5);
  EXPECT_FALSE(b->Down()) << "with AllowAllUp it comes up";
  EXPECT_EQ(b->State(), bsUp);

  b->SetGroupIndex(0);
  b->SetDown(true);
  EXPECT_FALSE(b->Down()) << "Down is forced off without a group";
}

TEST(FlatButtonGroup, ReleasingOutsideKeepsToggleState) {
  TestForm form;
  auto* a = form.Add<TFlatButton>(0, 0, 30, 20);
  a->SetGroupIndex(1);
  form.Show();
  input::Press(*a, 5, 5);
  input::Move(*a, 50, 5);
  input::Release(*a, 50, 5);
  EXPECT_FALSE(a->Down());
  EXPECT_EQ(a->State(), bsUp);
  a->SetDown(true);
  input::Press(*a, 5, 5);
  EXPECT_EQ(a->State(), bsExclusive) << "pressing a down toggle keeps it exclusive";
  input::Move(*a, 50, 5);
  input::Release(*a, 50, 5);
  EXPECT_TRUE(a->Down());
  EXPECT_EQ(a->State(), bsExclusive);
}

// --- keyboard ----------------------------------------------------------------------------

TEST(FlatButtonKeys, SpaceAndAccelerator) {
  ButtonFixture f;
  f.button->SetCaption("&Go");
  int clicks = 0;
  f.button->OnClick = [&](TObject*) { ++clicks; };
  f.button->SetFocus();
  EXPECT_TRUE(f.button->Hot()) << "the focus makes it hot";
  input::KeyDown(f.form.form(), VK_SPACE);
  EXPECT_EQ(f.button->State(), bsDown);
  input::KeyUp(f.form.form(), VK_SPACE);
  EXPECT_EQ(f.button->State(), bsUp);
  EXPECT_EQ(clicks, 1);
  input::KeyDown(f.form.form(), VK_RETURN);
  input::KeyUp(f.form.form(), VK_RETURN);
  EXPECT_EQ(clicks, 1) << "Default or not, Enter does nothing";

  input::KeyPress(f.form.form(), U'g');
  EXPECT_EQ(clicks, 2) << "the accelerator clicks";
  f.button->SetGroupIndex(1);
  input::KeyPress(f.form.form(), U'G');
  EXPECT_TRUE(f.button->Down()) << "a grouped button goes down by its accelerator";
  f.button->SetEnabled(false);
  input::KeyPress(f.form.form(), U'g');
  EXPECT_EQ(clicks, 3) << "disabled: no accelerator";
}

// --- hover tracking ----------------------------------------------------------------------

TEST(FlatButtonHover, TrackerFollowsTheCursor) {
  TestForm form;
  auto* a = form.Add<TFlatButton>(10, 10, 40, 30);
  auto* b = form.Add<TFlatButton>(60, 10, 40, 30);
  auto* disabled = form.Add<TFlatButton>(110, 10, 40, 30);
  disabled->SetEnabled(false);
  form.Show();
  HoverTracker& tracker = TFlatButton::ClassHoverTracker();

  input::Move(*a, 5, 5);
  EXPECT_TRUE(a->Hot());
  EXPECT_EQ(tracker.Tracked(), a);
  ASSERT_NE(tracker.Timer(), nullptr);
  EXPECT_TRUE(tracker.Timer()->Enabled());
  EXPECT_EQ(tracker.Timer()->Interval(), 100);

  tracker.Timer()->Tick();
  EXPECT_TRUE(a->Hot()) << "still under the cursor";

  input::Move(*b, 5, 5);
  EXPECT_FALSE(a->Hot()) << "moving onto another flat button makes the first leave";
  EXPECT_TRUE(b->Hot());
  EXPECT_EQ(tracker.Tracked(), b);

  input::Move(*disabled, 5, 5);  // the form gets this move, the button does not
  EXPECT_TRUE(b->Hot()) << "nobody told it yet";
  tracker.Timer()->Tick();
  EXPECT_FALSE(b->Hot()) << "a disabled control under the cursor counts as another control";
  EXPECT_EQ(tracker.Tracked(), nullptr);
  EXPECT_FALSE(tracker.Timer()->Enabled());

  input::Move(*a, 5, 5);
  input::CursorTo(form.form(), 300, 200);
  tracker.Timer()->Tick();
  EXPECT_FALSE(a->Hot()) << "cursor on the bare form";

  input::Move(*a, 6, 6);
  a->SetEnabled(false);
  EXPECT_EQ(tracker.Tracked(), nullptr) << "disabling stops tracking";
  EXPECT_FALSE(a->Hot());
}

TEST(FlatButtonHover, NoTrackingWithoutActiveWindow) {
  TestForm form;
  auto* a = form.Add<TFlatButton>(10, 10, 40, 30);
  form.Show();
  Application->SetActiveForm(nullptr);
  input::Move(*a, 5, 5);
  EXPECT_FALSE(a->Hot());
  EXPECT_EQ(TFlatButton::ClassHoverTracker().Tracked(), nullptr);
  Application->SetActiveForm(&form.form());
}

TEST(FlatButtonHover, WindowEnterLeaveOnlyRaiseEvents) {
  TestForm form;
  auto* a = form.Add<TFlatButton>(10, 10, 40, 30);
  form.Show();
  int enters = 0, leaves = 0;
  a->OnMouseEnter = [&](TObject*) { ++enters; };
  a->OnMouseLeave = [&](TObject*) { ++leaves; };
  input::CursorTo(*a, 5, 5);
  Application->DoIdle();
  EXPECT_EQ(enters, 1);
  EXPECT_FALSE(a->Hot()) << "hot comes from the tracker, not from the window system";
  input::CursorTo(form.form(), 300, 200);
  Application->DoIdle();
  EXPECT_EQ(leaves, 1);
}

TEST(FlatButtonHover, TrackerLivesWithTheInstances) {
  EnsureTestApplication();
  HoverTracker& tracker = TFlatButton::ClassHoverTracker();
  int before = tracker.InstanceCount();
  {
    TFlatButton one(nullptr), two(nullptr);
    EXPECT_EQ(tracker.InstanceCount(), before + 2);
    EXPECT_NE(tracker.Timer(), nullptr);
    EXPECT_FALSE(tracker.Timer()->Enabled()) << "created disabled";
  }
  EXPECT_EQ(tracker.InstanceCount(), before);
  if (before == 0) {
    EXPECT_EQ(tracker.Timer(), nullptr) << "freed with the last instance";
  }
}

}  // namespace
