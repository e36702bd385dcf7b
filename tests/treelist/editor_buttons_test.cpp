#include "treelist/editor_buttons.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/ui/services.h"
#include "tests/support/pixel_checks.h"

namespace {

constexpr TColor Paper = 0x00C08040;       // what a button leaves alone
constexpr TColor Background = 0x00305070;  // the editor's background
constexpr TColor GlyphInk = 0x000000FF;
constexpr TColor GlyphClear = 0x0000FF00;  // the glyph's transparent colour (bottom-left)

// A glyph of width x height in GlyphInk whose bottom-left pixel (its transparent colour) is
// GlyphClear.
TBitmap MakeGlyph(int width, int height) {
  TBitmap glyph = MakeBitmap(width, height, GlyphInk);
  glyph.SetPixel(0, height - 1, GlyphClear);
  return glyph;
}

TEST(EditorButtons, WidthFollowsGlyphOrScrollBarAndStyle) {
  const int bar = GetSystemMetrics(SM_CXVSCROLL);
  TBitmap glyph = MakeGlyph(10, 8);
  struct Case {
    TqlEditButtonViewStyle style;
    bool withGlyph;
    int width;
  };
  const Case cases[] = {
      {bts3D, true, 10 + 2 + 2},     {btsFlat, true, 10 + 2 + 1}, {btsSimple, true, 10 + 2 + 1},
      {btsHotFlat, true, 10 + 2},    {bts3D, false, bar},         {btsFlat, false, bar - 1},
      {btsSimple, false, bar - 1},   {btsHotFlat, false, bar},
  };
  for (const Case& c : cases) {
    TqlEditButton button;
    button.Kind = c.withGlyph ? ebkGlyph : ebkDown;
    button.Glyph = c.withGlyph ? &glyph : nullptr;
    EXPECT_EQ(EditButtonWidth(c.style, button), c.width)
        << "style " << c.style << (c.withGlyph ? " glyph" : " arrow");
  }
}

TEST(EditorButtons, ComputedButtonsAreHiddenOrOneGlyphOrArrow) {
  TBitmap glyph = MakeGlyph(10, 8);
  TBitmap empty;
  struct Case {
    const char* name;
    bool hide;
    const TBitmap* glyph;
    size_t count;
    TqlEditButtonKind kind;
    int width;
  };
  const Case cases[] = {
      {"hidden", true, &glyph, 0, ebkDown, 0},
      {"glyph", false, &glyph, 1, ebkGlyph, 14},
      {"empty glyph counts as none", false, &empty, 1, ebkDown, GetSystemMetrics(SM_CXVSCROLL)},
      {"no glyph", false, nullptr, 1, ebkDown, GetSystemMetrics(SM_CXVSCROLL)},
  };
  for (const Case& c : cases) {
    TqlDropDownEditViewData data;
    data.ButtonStyle = bts3D;
    data.HideButtons = c.hide;
    data.ButtonGlyph = c.glyph;
    data.Buttons.push_back({});  // recomputing replaces what was there
    ComputeEditButtons(data);
    ASSERT_EQ(data.Buttons.size(), c.count) << c.name;
    if (c.count == 0) continue;
    EXPECT_EQ(data.Buttons[0].Kind, c.kind) << c.name;
    EXPECT_EQ(data.Buttons[0].Width, c.width) << c.name;
    EXPECT_FALSE(data.Buttons[0].LeftSide) << c.name;
  }
}

TEST(EditorButtons, HiddenOnlyWhenHideInactiveAndNotSelected) {
  EXPECT_TRUE(EditButtonsHidden(ebtHideInactive, false));
  EXPECT_FALSE(EditButtonsHidden(ebtHideInactive, true));
  for (TqlEditButtonTransparence t : {ebtNone, ebtInactive, ebtAlways})
    EXPECT_FALSE(EditButtonsHidden(t, false)) << t;
}

TEST(EditorButtons, LayoutCutsFromTheLastButtonOutwardsOnEachSide) {
  auto button = [](int width, bool left) {
    TqlEditButton b;
    b.Width = width;
    b.LeftSide = left;
    return b;
  };
  const TRect inner{10, 2, 110, 20};
  struct Case {
    const char* name;
    std::vector<TqlEditButton> buttons;
    std::vector<TRect> rects;
    TRect text;
  };
  const Case cases[] = {
      {"none", {}, {}, inner},
      {"one right", {button(16, false)}, {{94, 2, 110, 20}}, {10, 2, 94, 20}},
      {"two right: the last one is outermost",
       {button(16, false), button(12, false)},
       {{82, 2, 98, 20}, {98, 2, 110, 20}},
       {10, 2, 82, 20}},
      {"one each side",
       {button(8, true), button(16, false)},
       {{10, 2, 18, 20}, {94, 2, 110, 20}},
       {18, 2, 94, 20}},
      {"too wide: what is left",
       {button(60, false), button(60, false)},
       {{10, 2, 50, 20}, {50, 2, 110, 20}},
       {10, 2, 10, 20}},
  };
  for (const Case& c : cases) {
    TqlEditButtonLayout layout = LayoutEditButtons(c.buttons, inner);
    EXPECT_EQ(layout.Buttons, c.rects) << c.name;
    EXPECT_EQ(layout.TextArea, c.text) << c.name;
  }
}

TEST(EditorButtons, HitTestHotAndFrameRules) {
  const std::vector<TRect> rects{{80, 0, 96, 20}, {96, 0, 112, 20}};
  struct Case {
    const char* name;
    TPoint p;
    int pressed;
    bool captured, designing;
    int hot;
    bool onFrame;
  };
  const Case cases[] = {
      {"over button 0", {85, 5}, -1, false, false, 0, true},
      {"over button 1", {111, 19}, -1, false, false, 1, true},
      {"in the text", {40, 5}, -1, false, false, -1, false},
      {"right of the last button", {112, 5}, -1, false, false, -1, false},
      {"over the pressed button", {85, 5}, 0, true, false, 0, true},
      {"over another than the pressed one: none hot, still the frame", {100, 5}, 0, true, false,
       -1, true},
      {"captured with nothing pressed (a text drag): text", {85, 5}, -1, true, false, -1, false},
      {"designing: never", {85, 5}, -1, false, true, -1, false},
  };
  for (const Case& c : cases) {
    TqlEditButtonHit hit = HitTestEditButtons(rects, c.p, c.pressed, c.captured, c.designing);
    EXPECT_EQ(hit.HotButton, c.hot) << c.name;
    EXPECT_EQ(hit.OnFrame, c.onFrame) << c.name;
  }
}

TEST(EditorButtons, DrawStatePressedOnlyWhenAlsoHot) {
  struct Case {
    int index, hot, pressed;
    bool isHot, isPressed;
  };
  const Case cases[] = {
      {0, -1, -1, false, false}, {0, 0, -1, true, false}, {0, 0, 0, true, true},
      {0, -1, 0, false, false},  {0, 1, 0, false, false}, {1, 1, 1, true, true},
  };
  for (const Case& c : cases) {
    TqlEditButtonState s = EditButtonDrawState(c.index, c.hot, c.pressed);
    EXPECT_EQ(s.Hot, c.isHot) << c.index << " hot " << c.hot << " pressed " << c.pressed;
    EXPECT_EQ(s.Pressed, c.isPressed) << c.index << " hot " << c.hot << " pressed " << c.pressed;
  }
}

// Down-arrow buttons 16 (3-D, hot flat) or 15 (flat, simple) by 20 pixels at the bitmap's
// origin. The arrow is half the button width made odd wide (9 for 16, 7 for 15), with
// width / 2 + 1 rows, centred in what the frame leaves.
TEST(EditorButtons, DownArrowButtonPixelsByStyleAndState) {
  struct Case {
    const char* name;
    TqlEditButtonViewStyle style;
    int width;
    bool hot, pressed, transparent, enabled;
    std::vector<PixelCase> pixels;
  };
  const Case cases[] = {
      {"3-D up", bts3D, 16, false, false, false, true,
       {{0, 0, cl3DLight, "raised edge, outer ring"},
        {1, 1, clBtnHighlight, "raised edge, inner ring"},
        {15, 19, cl3DDkShadow, "raised edge, outer ring, bottom-right"},
        {14, 18, clBtnShadow, "raised edge, inner ring, bottom-right"},
        {2, 2, clBtnFace, "middle filled with button face"},
        // Inside (2,2)-(14,18): 9 wide from x 3, 5 rows from y 7.
        {3, 7, clBtnText, "arrow's top row, left end"},
        {11, 7, clBtnText, "arrow's top row, right end (9 wide)"},
        {12, 7, clBtnFace, "right of the arrow"},
        {2, 7, clBtnFace, "left of the arrow"},
        {7, 11, clBtnText, "apex: half the width below the top row"},
        {6, 11, clBtnFace, "the apex is one pixel"},
        {7, 12, clBtnFace, "below the apex"}}},
      {"3-D pressed", bts3D, 16, true, true, false, true,
       {{0, 0, clBtnShadow, "sunken outer edge, left and top"},
        {15, 19, clBtnShadow, "raised inner edge, right and bottom"},
        {15, 0, clBtnShadow, "one shadow pixel all round"},
        {1, 1, clBtnFace, "no second ring"},
        // Inside (1,1)-(15,19): from x 3, y 7, then moved by 1.
        {4, 8, clBtnText, "arrow moved right and down by one"},
        {3, 8, clBtnFace, "left of the moved arrow"},
        {8, 12, clBtnText, "moved apex"}}},
      {"flat up", btsFlat, 15, false, false, false, true,
       {{0, 0, clBtnFace, "button-face column at the left"},
        {0, 19, clBtnFace, "the column runs the full height"},
        {1, 0, clBtnHighlight, "raised inner edge, left and top"},
        {14, 19, clBtnShadow, "raised inner edge, right and bottom"},
        // Inside (2,1)-(14,19): 7 wide from x 4, 4 rows from y 8.
        {4, 8, clBtnText, "arrow's top row, left end"},
        {10, 8, clBtnText, "arrow's top row, right end (7 wide)"},
        {11, 8, clBtnFace, "right of the arrow"},
        {7, 11, clBtnText, "apex"}}},
      {"flat pressed", btsFlat, 15, true, true, false, true,
       {{1, 0, clBtnShadow, "sunken outer edge, left and top"},
        {14, 19, clBtnHighlight, "sunken outer edge, right and bottom"},
        {5, 9, clBtnText, "arrow moved by one"},
        {4, 8, clBtnFace, "where the arrow was"}}},
      {"simple", btsSimple, 15, false, false, false, true,
       {{0, 0, Background, "frame in the editor's background"},
        {14, 19, Background, "frame, bottom-right"},
        {1, 5, Background, "left column in the editor's background"},
        {2, 5, clBtnFace, "middle in button face"},
        {13, 18, clBtnFace, "middle reaches the frame"}}},
      {"simple hot: drawn flat", btsSimple, 15, true, false, false, true,
       {{0, 5, clBtnFace, "the flat style's button-face column"},
        {1, 0, clBtnHighlight, "the flat style's raised inner edge"}}},
      {"simple transparent", btsSimple, 15, false, false, true, true,
       {{0, 0, Paper, "no frame"},
        {2, 5, Paper, "no middle"},
        {4, 8, clBtnText, "the arrow still drawn"}}},
      {"hot flat up", btsHotFlat, 16, false, false, false, true,
       {{0, 0, clBtnShadow, "one-pixel frame in button shadow"},
        {15, 19, clBtnShadow, "frame, bottom-right"},
        {1, 1, clBtnFace, "fill: button face"},
        {3, 7, clBtnText, "symbol in button text"}}},
      {"hot flat hot", btsHotFlat, 16, true, false, false, true,
       {{1, 1, clBtnShadow, "fill: button shadow"}, {3, 7, clWindow, "symbol in window colour"}}},
      {"hot flat pressed", btsHotFlat, 16, true, true, false, true,
       {{1, 1, clBtnText, "fill: button text"},
        {3, 7, clWindow, "symbol in window colour, not moved"},
        {2, 7, clBtnText, "nothing left of it"}}},
      {"hot flat transparent hot", btsHotFlat, 16, true, false, true, true,
       {{0, 0, clBtnShadow, "the frame is drawn"},
        {1, 1, Paper, "no fill"},
        {3, 7, clBtnShadow, "symbol in button shadow"}}},
      {"hot flat disabled", btsHotFlat, 16, false, false, false, false,
       {{1, 1, clBtnFace, "fill: button face"},
        {3, 7, clBtnShadow, "embossed: shadow at the place"},
        {12, 8, clBtnHighlight, "embossed: highlight one pixel right and down"}}},
      {"3-D disabled", bts3D, 16, false, false, false, false,
       {{3, 7, clBtnShadow, "embossed: shadow at the place"},
        {11, 7, clBtnShadow, "shadow, top row's right end"},
        {12, 8, clBtnHighlight, "highlight copy moved by one"},
        {8, 12, clBtnHighlight, "the highlight copy's apex"}}},
  };
  for (const Case& c : cases) {
    TBitmap bitmap = MakeBitmap(20, 24, Paper);
    TqlEditButtonPaint paint;
    paint.Kind = ebkDown;
    paint.Style = c.style;
    paint.Hot = c.hot;
    paint.Pressed = c.pressed;
    paint.Transparent = c.transparent;
    paint.Enabled = c.enabled;
    paint.Background = Background;
    DrawEditButton(bitmap.Canvas(), {0, 0, c.width, 20}, paint);
    ExpectPixels(bitmap, c.pixels, c.name);
    EXPECT_FALSE(HasColor(bitmap, clBtnText, {c.width, 0, 20, 24}) ||
                 HasColor(bitmap, clBtnFace, {0, 20, 20, 24}))
        << c.name << ": drawn outside the button\n" << Picture(bitmap, Paper);
  }
}

TEST(EditorButtons, EllipsisDotsSizeAndSpacing) {
  // 16 x 20 3-D button: inside (2,2)-(14,18); three 2-pixel dots one dot size apart make 10
  // pixels from x 3, at y 9.
  TBitmap bitmap = MakeBitmap(16, 20, Paper);
  TqlEditButtonPaint paint;
  paint.Kind = ebkEllipsis;
  DrawEditButton(bitmap.Canvas(), {0, 0, 16, 20}, paint);
  ExpectPixels(bitmap, {{3, 9, clBtnText, "first dot"},
                        {4, 10, clBtnText, "first dot is 2 x 2"},
                        {5, 9, clBtnFace, "gap of one dot size"},
                        {7, 9, clBtnText, "second dot"},
                        {11, 10, clBtnText, "third dot"},
                        {13, 9, clBtnFace, "after the third dot"},
                        {3, 8, clBtnFace, "above the dots"},
                        {3, 11, clBtnFace, "below the dots"}});

  // Dot size 1 when the button width (+1 for flat and simple) is 15 or less: counted as the
  // ink of the three dots.
  struct Case {
    TqlEditButtonViewStyle style;
    int width;
    int inkPixels;
  };
  const Case cases[] = {{bts3D, 16, 12}, {bts3D, 15, 3}, {btsFlat, 15, 12},
                        {btsFlat, 14, 3}, {btsSimple, 15, 12}, {btsHotFlat, 15, 3}};
  for (const Case& c : cases) {
    TBitmap b = MakeBitmap(c.width, 20, Paper);
    paint.Style = c.style;
    DrawEditButton(b.Canvas(), {0, 0, c.width, 20}, paint);
    int ink = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < c.width; ++x) ink += b.GetPixel(x, y) == ColorToRGB(clBtnText);
    EXPECT_EQ(ink, c.inkPixels) << "style " << c.style << " width " << c.width;
  }
}

TEST(EditorButtons, GlyphCentredWithItsTransparentColourOverTheFace) {
  struct Case {
    const char* name;
    TqlEditButtonViewStyle style;
    int buttonWidth, glyphWidth;
    bool pressed;
    std::vector<PixelCase> pixels;
  };
  const Case cases[] = {
      // Inside (2,2)-(14,18): free 8 -> x 6; height 16 - 3 -> y 2 + 6.
      {"3-D up", bts3D, 16, 4, false,
       {{6, 8, GlyphInk, "glyph's top-left, centred"},
        {9, 10, GlyphInk, "glyph's bottom-right"},
        {6, 10, clBtnFace, "transparent pixel shows the face"},
        {5, 8, clBtnFace, "left of the glyph"},
        {10, 8, clBtnFace, "right of the glyph"}}},
      // Inside (1,1)-(15,19): free 10 -> x 6, y 8, then moved by 2.
      {"3-D pressed: moved by two", bts3D, 16, 4, true,
       {{8, 10, GlyphInk, "moved top-left"}, {7, 10, clBtnFace, "left of the moved glyph"}}},
      // Inside (2,1)-(14,19): free 12 - 5 = 7, odd -> one more to the right: x 2 + 3 + 1.
      {"flat with an odd free width", btsFlat, 15, 5, false,
       {{6, 9, GlyphInk, "one pixel right of the plain centre"},
        {5, 9, clBtnFace, "the plain centre stays face"}}},
      // Inside (1,1)-(15,19): free 14 - 5 = 9, odd, but hot flat is neither pressed nor
      // flat or simple -> x 1 + 4.
      {"hot flat with an odd free width", btsHotFlat, 16, 5, false,
       {{5, 9, GlyphInk, "plain centre"}, {4, 9, clBtnFace, "left of it"}}},
  };
  for (const Case& c : cases) {
    TBitmap glyph = MakeGlyph(c.glyphWidth, 3);
    TBitmap bitmap = MakeBitmap(20, 20, Paper);
    TqlEditButtonPaint paint;
    paint.Kind = ebkGlyph;
    paint.Glyph = &glyph;
    paint.Style = c.style;
    paint.Hot = c.pressed;
    paint.Pressed = c.pressed;
    DrawEditButton(bitmap.Canvas(), {0, 0, c.buttonWidth, 20}, paint);
    ExpectPixels(bitmap, c.pixels, c.name);
    EXPECT_FALSE(HasColor(bitmap, GlyphClear, {0, 0, 20, 20})) << c.name;
  }
}

TEST(EditorButtons, DrawEditButtonsTakesTheButtonFromTheInnerRectangle) {
  TqlDropDownEditViewData data;
  data.ButtonStyle = bts3D;
  data.BkColor = Background;
  ComputeEditButtons(data);
  const int bar = GetSystemMetrics(SM_CXVSCROLL);

  TBitmap bitmap = MakeBitmap(100, 24, Paper);
  TRect inner{2, 2, 98, 22};
  DrawEditButtons(bitmap.Canvas(), inner, data);
  EXPECT_EQ(inner, (TRect{2, 2, 98 - bar, 22})) << "the text keeps what the button leaves";
  ExpectPixels(bitmap, {{98 - bar, 2, cl3DLight, "the button's left edge"},
                        {97, 21, cl3DDkShadow, "the button's bottom-right"},
                        {97 - bar, 10, Paper, "the text area is not painted"}});

  data.HideButtons = true;
  ComputeEditButtons(data);
  TRect whole{2, 2, 98, 22};
  DrawEditButtons(bitmap.Canvas(), whole, data);
  EXPECT_EQ(whole, (TRect{2, 2, 98, 22})) << "no buttons: the text takes the full width";
}

TEST(EditorButtons, DrawEditButtonsDrawsPressedOnlyWhenHotToo) {
  // Pressed but the mouse has left: drawn up (the raised edge's light outer ring), else the
  // pressed look's shadow line.
  TqlDropDownEditViewData data;
  data.ButtonStyle = bts3D;
  ComputeEditButtons(data);
  data.PressedButton = 0;
  struct Case {
    int hot;
    TColor corner;
    const char* why;
  };
  const Case cases[] = {{-1, cl3DLight, "pressed, not hot: drawn up"},
                        {0, clBtnShadow, "pressed and hot: drawn pressed"}};
  const int bar = GetSystemMetrics(SM_CXVSCROLL);
  for (const Case& c : cases) {
    data.HotButton = c.hot;
    TBitmap bitmap = MakeBitmap(40, 20, Paper);
    TRect inner{0, 0, 40, 20};
    DrawEditButtons(bitmap.Canvas(), inner, data);
    EXPECT_EQ(inner.Right, 40 - bar);
    ExpectPixels(bitmap, {{40 - bar, 0, c.corner, c.why}});
  }
}

}  // namespace
