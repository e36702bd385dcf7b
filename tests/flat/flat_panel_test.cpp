#include "flat/flat_panel.h"

#include <gtest/gtest.h>

#include "flat/flat_button.h"
#include "tests/support/test_form.h"

namespace {

constexpr TColor Parent = TestForm::FormColor;
constexpr TColor Border = 0x8396A0;
constexpr TColor PanelColor = 0x00E0F0FF;

TEST(FlatPanelPaint, Frame) {
  struct Case {
    const char* name;
    TColor highLight, shadow;
  };
  const Case cases[] = {{"default colours: a flat frame", Border, Border},
                        {"raised", clWhite, clBlack}};
  for (const Case& c : cases) {
    TestForm form;
    auto* panel = form.Add<TFlatPanel>(10, 10, 60, 40);
    panel->SetColor(PanelColor);
    panel->SetColorHighLight(c.highLight);
    panel->SetColorShadow(c.shadow);
    form.Show();
    ExpectPixels(ClientPixels(*panel),
                 {{0, 0, c.highLight, "top-left corner"},
                  {30, 0, c.highLight, "top line"},
                  {0, 20, c.highLight, "left line"},
                  {59, 0, c.shadow, "top-right corner takes the bottom colour"},
                  {59, 20, c.shadow, "right line"},
                  {30, 39, c.shadow, "bottom line"},
                  {0, 39, c.shadow, "bottom-left corner takes the bottom colour"},
                  {59, 39, c.shadow, "bottom-right corner"},
                  {1, 1, PanelColor, "inside: Color"},
                  {58, 38, PanelColor, "inside: Color"}},
                 c.name);
  }
}

TEST(FlatPanelPaint, TransparentShowsTheParentBehindFrameAndChildren) {
  TestForm form;
  auto* outer = form.Add<TFlatPanel>(10, 10, 200, 100);
  outer->SetColor(PanelColor);
  auto* panel = form.Add<TFlatPanel>(20, 20, 100, 50, outer);
  panel->SetColor(clYellow);
  auto* child = form.Add<TFlatButton>(10, 10, 30, 20, panel);
  child->SetColor(clRed);
  form.Show();
  EXPECT_EQ(PixelAt(*panel, 60, 25), ColorToRGB(clYellow)) << "not transparent: filled with Color";

  panel->SetTransparent(true);
  form.Paint();
  ExpectPixels(ClientPixels(*panel),
               {{60, 25, PanelColor, "the parent panel's face"},
                {0, 0, Border, "the frame is drawn over it"},
                {20, 15, clRed, "a child paints itself over the panel"}},
               "transparent");
}

TEST(FlatPanel, AlignedChildrenLeaveTheFrameVisible) {
  TestForm form;
  auto* panel = form.Add<TFlatPanel>(10, 10, 60, 40);
  auto* child = form.Add<TFlatPanel>(0, 0, 10, 10, panel);
  child->SetAlign(alClient);
  EXPECT_EQ(child->BoundsRect(), (TRect{1, 1, 59, 39}));
  EXPECT_EQ(panel->Width(), 60);
  TFlatPanel fresh(nullptr);
  EXPECT_EQ(fresh.Width(), 185);
  EXPECT_EQ(fresh.Height(), 41);
  EXPECT_EQ(fresh.Alignment(), taCenter);
  EXPECT_TRUE(fresh.ParentColor());
  EXPECT_TRUE(fresh.ParentFont());
  EXPECT_EQ(panel->Color(), Parent) << "Color follows the parent";
}

TEST(FlatPanelPaint, CaptionAlignment) {
  struct Case {
    const char* name;
    TAlignment alignment;
  };
  const Case cases[] = {{"left", taLeftJustify}, {"right", taRightJustify}, {"centre", taCenter}};
  for (const Case& c : cases) {
    TestForm form;
    auto* panel = form.Add<TFlatPanel>(10, 10, 160, 40);
    panel->SetColor(PanelColor);
    panel->SetCaption("检索 Search");
    panel->SetAlignment(c.alignment);
    panel->Font().SetColor(clNavy);
    form.Show();
    TRect ink = InkBox(ClientPixels(*panel), PanelColor, {1, 1, 159, 39});
    ASSERT_FALSE(ink.IsEmpty()) << c.name;
    int middleY = (ink.Top + ink.Bottom) / 2;
    EXPECT_NEAR(middleY, 20, 3) << c.name << ": vertically centred";
    switch (c.alignment) {
      case taLeftJustify: EXPECT_LE(ink.Left, 2) << c.name; break;
      case taRightJustify: EXPECT_GE(ink.Right, 158) << c.name; break;
      case taCenter: EXPECT_NEAR((ink.Left + ink.Right) / 2, 80, 2) << c.name; break;
    }
  }
}

TEST(FlatPanelPaint, DisabledCaptionIsEmbossed) {
  TestForm form;
  auto* panel = form.Add<TFlatPanel>(10, 10, 160, 40);
  panel->SetColor(PanelColor);
  panel->SetCaption("帮助");
  panel->Font().SetColor(clNavy);
  form.Show();
  const TRect inside{1, 1, 159, 39};
  const PixelSource pixels = ClientPixels(*panel);
  EXPECT_TRUE(HasColor(pixels, clNavy, inside));
  EXPECT_FALSE(HasColor(pixels, clBtnShadow, inside));
  panel->SetEnabled(false);
  form.Paint();
  EXPECT_FALSE(HasColor(pixels, clNavy, inside)) << "disabled: no font colour";
  EXPECT_TRUE(HasColor(pixels, clBtnShadow, inside)) << "clBtnShadow in place";
  EXPECT_TRUE(HasColor(pixels, clBtnHighlight, inside)) << "clBtnHighlight moved by (1, 1)";
}

}  // namespace
