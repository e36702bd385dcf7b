// The standard radio button: the classic circle's pixels in each state, the focus rectangle
// round the caption, and the checking rules (one per parent, by mouse, Space, arrows and the
// accelerator).
#include "platform/ui/radio_button.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/bit_btn.h"
#include "platform/ui/panel.h"
#include "tests/support/synthetic_input.h"
#include "tests/support/test_form.h"

namespace {

constexpr TColor kBackground = TestForm::FormColor;

// The circle's pixels for a box at (x, y) with the given inside and centre colours.
std::vector<PixelCase> circlePixels(int x, int y, TColor inside, TColor centre) {
  return {
      {x + 4, y, ColorToRGB(clBtnShadow), "outer ring, top: upper-left half"},
      {x, y + 5, ColorToRGB(clBtnShadow), "outer ring, left"},
      {x + 1, y + 9, ColorToRGB(clBtnShadow), "outer ring's lower-left end is still upper-left"},
      {x + 11, y + 5, ColorToRGB(clBtnHighlight), "outer ring, right: lower-right half"},
      {x + 5, y + 11, ColorToRGB(clBtnHighlight), "outer ring, bottom"},
      {x + 10, y + 2, ColorToRGB(clBtnHighlight), "outer ring's upper-right end is lower-right"},
      {x + 5, y + 1, ColorToRGB(cl3DDkShadow), "inner ring, top"},
      {x + 1, y + 5, ColorToRGB(cl3DDkShadow), "inner ring, left"},
      {x + 9, y + 2, ColorToRGB(cl3DDkShadow), "inner ring's top row stays dark to its end"},
      {x + 10, y + 5, ColorToRGB(clBtnFace), "inner ring, right"},
      {x + 5, y + 10, ColorToRGB(clBtnFace), "inner ring, bottom"},
      {x + 2, y + 9, ColorToRGB(clBtnFace), "inner ring's bottom row is light from its start"},
      {x, y, kBackground, "the box's corner lies outside the circle"},
      {x + 3, y + 3, ColorToRGB(inside), "inside"},
      {x + 4, y + 4, ColorToRGB(inside), "the dot leaves its corners out"},
      {x + 5, y + 4, ColorToRGB(centre), "the dot's top row (or inside)"},
      {x + 4, y + 6, ColorToRGB(centre), "the dot's left column (or inside)"},
      {x + 7, y + 7, ColorToRGB(inside), "the dot's bottom-right corner is left out"},
  };
}

TEST(RadioButtonPaint, ClassicCircleInEachState) {
  struct Case {
    const char* name;
    bool checked, enabled, pushed;
    TColor inside, centre;
  };
  const Case cases[] = {
      {"unchecked", false, true, false, clWindow, clWindow},
      {"checked", true, true, false, clWindow, clWindowText},
      {"checked, disabled: face inside, shadow dot", true, false, false, clBtnFace, clBtnShadow},
      {"pushed by the mouse: face inside", false, true, true, clBtnFace, clBtnFace},
  };
  for (const Case& c : cases) {
    TestForm form;
    auto* radio = form.Add<TRadioButton>(10, 10, 60, 17);
    radio->SetCaption("&And");
    radio->SetChecked(c.checked);
    radio->SetEnabled(c.enabled);
    form.ShowUnfocused();
    if (c.pushed) {
      input::Press(*radio, 30, 8);
      form.Paint();
    }
    EXPECT_EQ(radio->CircleRect(), Bounds(0, 2, 12, 12)) << "vertically centred in 17 pixels";
    ExpectPixels(ClientPixels(*radio), circlePixels(0, 2, c.inside, c.centre), c.name);
    if (c.pushed) input::Release(*radio, 100, 8);
  }
}

TEST(RadioButtonPaint, CaptionAfterTheCircleAndFocusRectangleRoundIt) {
  TestForm form;
  auto* radio = form.Add<TRadioButton>(10, 10, 80, 17);
  auto* other = form.Add<TRadioButton>(10, 40, 80, 17);
  radio->SetCaption("&Or");
  radio->Font().SetColor(clNavy);
  form.ShowUnfocused();
  const TRect text = radio->CaptionRect();
  ASSERT_FALSE(text.IsEmpty());
  EXPECT_EQ(text.Left, 16) << "the caption starts 4 pixels after the circle";
  const PixelSource pixels = ClientPixels(*radio);
  const TRect ink = InkBox(pixels, kBackground, {13, 0, 80, 17});
  EXPECT_TRUE(HasColor(pixels, clNavy, ink)) << "the caption in the font's colour";
  EXPECT_GE(ink.Left, 16);
  EXPECT_LE(ink.Right, text.Right);

  const TRect leftEdge{text.Left - 1, text.Top, text.Left, text.Bottom};
  const TRect rightEdge{text.Right, text.Top, text.Right + 1, text.Bottom};
  EXPECT_EQ(InkCount(pixels, kBackground, leftEdge), 0) << "no focus rectangle while unfocused";
  radio->SetFocus();
  form.Paint();
  EXPECT_GT(InkCount(pixels, kBackground, leftEdge), 0) << "the dotted frame one pixel left of the text";
  EXPECT_GT(InkCount(pixels, kBackground, rightEdge), 0) << "and one pixel right of it";
  other->SetFocus();
  form.Paint();
  EXPECT_EQ(InkCount(pixels, kBackground, leftEdge), 0) << "gone with the focus";
}

// Three radio buttons on the form (the middle one disabled in some steps) and one on a panel,
// with a button to hold the focus elsewhere.
struct RadioGroup {
  TestForm form{Bounds(0, 0, 300, 160)};
  std::vector<TRadioButton*> radios;  // on the form, in tab order
  TRadioButton* onPanel = nullptr;
  TBitBtn* button = nullptr;
  std::vector<int> clicks = std::vector<int>(3, 0);

  RadioGroup() {
    const char* captions[] = {"&And", "&Or", "&Not"};
    for (int i = 0; i < 3; ++i) {
      radios.push_back(form.Add<TRadioButton>(10, 10 + 20 * i, 60, 17));
      radios[i]->SetCaption(captions[i]);
      radios[i]->OnClick = [this, i](TObject*) { ++clicks[i]; };
    }
    auto* panel = form.Add<TPanel>(100, 10, 120, 60);
    onPanel = form.Add<TRadioButton>(5, 5, 60, 17, panel);
    onPanel->SetChecked(true);
    button = form.Add<TBitBtn>(100, 100, 75, 23);
    button->SetCaption("OK");
    radios[0]->SetChecked(true);
    form.Show();
    clicks.assign(3, 0);
  }
  int checkedIndex() const {
    int found = -1;
    for (int i = 0; i < 3; ++i)
      if (radios[i]->Checked()) {
        EXPECT_EQ(found, -1) << "two checked radio buttons under one parent";
        found = i;
      }
    return found;
  }
  int focusedIndex() const {
    for (int i = 0; i < 3; ++i)
      if (radios[i]->Focused()) return i;
    return -1;
  }
};

TEST(RadioButtonBehaviour, OneCheckedPerParentWhateverChecksIt) {
  struct Step {
    const char* what;
    int checked, focused;  // expected after the step
  };
  RadioGroup g;
  // Each step acts on the group; the expected state follows it.
  const std::vector<std::pair<std::function<void()>, Step>> steps = {
      {[&] { input::Click(*g.radios[1], 30, 8); }, {"a click checks and focuses", 1, 1}},
      {[&] {
         input::Press(*g.radios[2], 30, 8);
         EXPECT_TRUE(g.radios[2]->IsPushed());
         input::Move(*g.radios[2], 100, 8);
         EXPECT_FALSE(g.radios[2]->IsPushed()) << "off the button the push look goes";
         input::Release(*g.radios[2], 100, 8);
       },
       {"a press released elsewhere only moves the focus", 1, 2}},
      {[&] { input::KeyDown(g.form.form(), VK_DOWN); }, {"Down from the last wraps to the first", 0, 0}},
      {[&] { input::KeyDown(g.form.form(), VK_RIGHT); }, {"Right moves on and checks", 1, 1}},
      {[&] { input::KeyDown(g.form.form(), VK_UP); }, {"Up moves back and checks", 0, 0}},
      {[&] {
         g.radios[1]->SetEnabled(false);
         input::KeyDown(g.form.form(), VK_DOWN);
       },
       {"a disabled radio button is skipped", 2, 2}},
      {[&] {
         g.radios[1]->SetEnabled(true);
         g.radios[0]->SetFocus();
         input::KeyDown(g.form.form(), VK_SPACE);
         EXPECT_TRUE(g.radios[0]->IsPushed());
         EXPECT_FALSE(g.radios[0]->Checked()) << "Space checks on release";
         input::KeyUp(g.form.form(), VK_SPACE);
       },
       {"Space checks the focused one", 0, 0}},
      {[&] {
         g.button->SetFocus();
         input::KeyPress(g.form.form(), U'o');
       },
       {"the accelerator focuses and checks", 1, 1}},
  };
  for (const auto& [act, expected] : steps) {
    act();
    EXPECT_EQ(g.checkedIndex(), expected.checked) << expected.what;
    EXPECT_EQ(g.focusedIndex(), expected.focused) << expected.what;
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(g.radios[i]->TabStop(), i == expected.checked) << expected.what << ": only the checked one is a tab stop";
    EXPECT_TRUE(g.onPanel->Checked()) << expected.what << ": another parent is another group";
  }
  // Checks: Or (click), And (Down), Or (Right), And (Up), Not, And (Space), Or (accelerator).
  EXPECT_EQ(g.clicks, (std::vector<int>{3, 3, 1})) << "OnClick once per checking";
}

}  // namespace
