#include "treelist/hint_window.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/ui/application.h"
#include "platform/ui/panel.h"
#include "platform/ui/services.h"
#include "tests/support/synthetic_input.h"
#include "tests/support/test_form.h"

namespace {

TEST(HintWindow, PlacementKeepsTheWindowOnTheScreen) {
  const TRect screen{0, 0, 1024, 768};
  struct Case {
    const char* what;
    TPoint desired;
    TSize size;
    TPoint expected;
  };
  const Case cases[] = {
      {"fits: where asked", {50, 60}, {100, 20}, {50, 60}},
      {"near the bottom-right corner: ends at the right and bottom edges",
       {1000, 760},
       {100, 20},
       {924, 748}},
      {"would start above the top: starts at 0", {300, -15}, {100, 20}, {300, 0}},
      {"would start left of the screen: starts at 0", {-40, 300}, {100, 20}, {0, 300}},
      {"wider than the screen: never left of 0", {10, 10}, {1100, 20}, {0, 10}},
  };
  for (const Case& c : cases) {
    TPoint p = HintWindowPosition(c.desired, c.size, screen);
    EXPECT_EQ(p.X, c.expected.X) << c.what;
    EXPECT_EQ(p.Y, c.expected.Y) << c.what;
  }
}

// A shown hint over a form: its font, size, picture and mouse transparency.
class HintWindowShown : public ::testing::Test {
 protected:
  void SetUp() override {
    target = form.Add<TPanel>(10, 10, 200, 150);
    form.Show();
    hint = std::make_unique<TqlContainerHintWindow>(nullptr);
    TFont font;
    font.SetName("DejaVu Sans");
    font.SetSize(20);
    hint->Show(target->ClientToScreen({20, 30}), "Clear Filter", font);
  }

  TestForm form;
  TPanel* target = nullptr;
  std::unique_ptr<TqlContainerHintWindow> hint;
};

TEST_F(HintWindowShown, UsesTheStatusBarSizeInTheGivenFace) {
  EXPECT_EQ(hint->Font().Size(), kHintFontSize) << "the given font's size is not used";
  EXPECT_EQ(hint->Font().Name(), "DejaVu Sans");
  EXPECT_EQ(hint->Font().Color(), clInfoText);
  TCanvas measure;
  measure.Font.Assign(hint->Font());
  TSize text = measure.TextExtent("Clear Filter");
  EXPECT_EQ(hint->Width(), text.cx + 6) << "one line: text width plus 3 on each side";
  EXPECT_EQ(hint->Height(), text.cy + 6);
  EXPECT_EQ(hint->ClientToScreen({0, 0}).X, target->ClientToScreen({20, 30}).X) << "at the point";
  EXPECT_TRUE(hint->IsShown());
  EXPECT_NE(Application->ActiveForm(), hint.get()) << "shown without activation";
}

TEST_F(HintWindowShown, PaintsRaisedEdgeAndInfoText) {
  const int w = hint->Width(), h = hint->Height();
  PixelSource pixels = ClientPixels(*hint);
  ExpectPixels(pixels, {{0, 0, cl3DLight, "raised single-pixel edge, top-left"},
                        {w - 1, h - 1, cl3DDkShadow, "raised single-pixel edge, bottom-right"},
                        {1, 1, clInfoBk, "background inside the edge"},
                        {2, h - 2, clInfoBk, "left margin: text starts 3 pixels in"}});
  EXPECT_TRUE(HasColor(pixels, clInfoText, {3, 3, w - 1, h - 1})) << "the text in clInfoText";
  EXPECT_FALSE(HasColor(pixels, clInfoText, {1, 1, 3, h - 1})) << "nothing left of the text box";
}

TEST_F(HintWindowShown, MousePassesThroughToTheWindowBelow) {
  TPoint got{-1, -1};
  target->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) { got = {x, y}; };
  EXPECT_EQ(FindControlAtScreen(hint->ClientToScreen({2, 2}), false), target)
      << "screen hit tests look through the hint";
  input::Press(*hint, 2, 2);
  input::Release(*hint, 2, 2);
  EXPECT_EQ(got.X, 22);
  EXPECT_EQ(got.Y, 32);
}

}  // namespace
