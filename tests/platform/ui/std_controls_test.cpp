// The standard controls: label, bevel, image, panel and bitmap button, checked on the pixels
// they leave in the form's image and on the behaviour forms rely on.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/canvas.h"
#include "platform/ui/application.h"
#include "platform/ui/bevel.h"
#include "platform/ui/bit_btn.h"
#include "platform/ui/form.h"
#include "platform/ui/image.h"
#include "platform/ui/label.h"
#include "platform/ui/panel.h"
#include "platform/ui/services.h"
#include "platform/ui/toolkit.h"
#include "tests/support/synthetic_input.h"
#include "tests/support/test_form.h"

namespace {

const TColor kShadow = ColorToRGB(clBtnShadow);
const TColor kHighlight = ColorToRGB(clBtnHighlight);
const TColor kFace = ColorToRGB(clBtnFace);

// A shown borderless form in a plain colour, so whatever a control leaves alone shows it.
class StdControlsTest : public ::testing::Test {
 protected:
  StdControlsTest() { form->Show(); }

  // The pixel checks read the form's image after the pending paint (form client coordinates).
  void expectPixels(const std::vector<PixelCase>& cases) {
    form->PaintPending();
    ExpectPixels(ClientPixels(*form), cases);
  }
  bool anyPixel(const TRect& r, TColor color) {
    form->PaintPending();
    return HasColor(ClientPixels(*form), color, r);
  }

  TestForm shown{Bounds(0, 0, 240, 160), clRed};
  TForm* form = &shown.form();
};

// --- label -----------------------------------------------------------------------------

TEST_F(StdControlsTest, LabelSizesToItsTextLinesAndKeepsItsWidthWhenWrapping) {
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetLeft(10);
  label->SetTop(10);
  TCanvas measure;
  measure.Font = label->Font();
  const int lineHeight = measure.TextHeight("W");

  label->SetCaption("Hello");
  EXPECT_EQ(label->Width(), measure.TextWidth("Hello"));
  EXPECT_EQ(label->Height(), lineHeight);

  // CR LF separated lines: the widest line, one line height each.
  label->SetCaption("ab\r\nlonger line\r\nc");
  EXPECT_EQ(label->Width(), measure.TextWidth("longer line"));
  EXPECT_EQ(label->Height(), 3 * lineHeight);

  // Word wrap: lines break at the current width and the height grows; the width becomes
  // the widest broken line, as DT_CALCRECT reports it.
  label->SetWordWrap(true);
  label->SetWidth(measure.TextWidth("longer") + 2);
  label->SetCaption("longer longer longer");
  EXPECT_EQ(label->Width(), measure.TextWidth("longer"));
  EXPECT_EQ(label->Height(), 3 * lineHeight);

  // A right-justified label keeps its right edge.
  label->SetWordWrap(false);
  label->SetAlignment(taRightJustify);
  label->SetCaption("x");
  int right = label->Left() + label->Width();
  label->SetCaption("xxxxxxxx");
  EXPECT_EQ(label->Left() + label->Width(), right);

  // AutoSize off: the bounds stay as they are.
  label->SetAutoSize(false);
  label->SetBounds(10, 10, 50, 40);
  label->SetCaption("a much longer caption than fits");
  EXPECT_EQ(label->BoundsRect(), Bounds(10, 10, 50, 40));
}

TEST_F(StdControlsTest, LabelFillsWithItsColourUnlessTransparent) {
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetAutoSize(false);
  label->SetBounds(20, 20, 100, 30);
  label->SetCaption("x");
  label->SetColor(clBlue);
  expectPixels({{115, 45, clBlue, "opaque label: filled with Color"},
                {19, 20, clRed, "outside the label: the form"}});
  label->SetTransparent(true);
  expectPixels({{115, 45, clRed, "transparent label: the parent shows through"}});
  EXPECT_TRUE(anyPixel(label->BoundsRect(), ColorToRGB(clWindowText))) << "the text is drawn";
}

TEST_F(StdControlsTest, LabelTakesItsParentsColourByDefaultAndDrawsDisabledTextEmbossed) {
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetLeft(20);
  label->SetTop(20);
  label->SetCaption("MMMM");
  EXPECT_EQ(label->Color(), clRed) << "ParentColor is on";
  TRect area = label->BoundsRect().Inflate(1, 1);
  EXPECT_FALSE(anyPixel(area, kHighlight));
  label->SetEnabled(false);
  EXPECT_TRUE(anyPixel(area, kHighlight)) << "the highlight copy at (+1, +1)";
  EXPECT_TRUE(anyPixel(area, kShadow)) << "the shadow copy in place";
  EXPECT_FALSE(anyPixel(area, ColorToRGB(clWindowText)));
}

// --- bevel -----------------------------------------------------------------------------

TEST_F(StdControlsTest, BevelShapesDrawTheFrameworksLines) {
  auto* bevel = new TBevel(form);
  bevel->SetParent(form);
  bevel->SetBounds(10, 10, 40, 20);  // form pixels 10..49 x 10..29

  bevel->SetShape(bsTopLine);
  expectPixels({{10, 10, kShadow, "top line lowered: shadow on row 0"},
                {49, 10, kShadow, "the line runs the whole width"},
                {10, 11, kHighlight, "highlight on row 1"},
                {10, 12, clRed, "nothing below"},
                {50, 10, clRed, "nothing right of the bevel"}});

  bevel->SetStyle(bsRaised);
  expectPixels({{20, 10, kHighlight, "raised: highlight first"},
                {20, 11, kShadow, "shadow second"}});

  bevel->SetShape(bsBox);
  bevel->SetStyle(bsLowered);
  expectPixels({{10, 10, kShadow, "box: top-left corner in the first colour"},
                {10, 29, kShadow, "bottom-left corner in the first colour"},
                {49, 10, kHighlight, "top-right corner in the second colour"},
                {49, 29, kHighlight, "bottom-right corner in the second colour"},
                {30, 29, kHighlight, "bottom edge"},
                {30, 20, clRed, "the inside is not filled"}});

  bevel->SetShape(bsFrame);
  expectPixels({{10, 10, kShadow, "frame: outer box all first colour"},
                {48, 10, kShadow, "its right edge at W-2"},
                {11, 11, kHighlight, "inner box in the second colour"},
                {49, 29, kHighlight, "the inner box's bottom-right"},
                {49, 10, clRed, "column W-1 above the inner box stays clear"}});

  bevel->SetShape(bsRightLine);
  expectPixels({{48, 20, kShadow, "right line: column W-2 first"},
                {49, 20, kHighlight, "column W-1 second"},
                {10, 20, clRed, "left edge clear"}});
}

// --- image -----------------------------------------------------------------------------

TBitmap Quadrants() {
  TBitmap bmp(2, 2);
  bmp.SetPixel(0, 0, clBlue);
  bmp.SetPixel(1, 0, clLime);
  bmp.SetPixel(0, 1, clOlive);  // bottom-left: the transparent colour
  bmp.SetPixel(1, 1, clWhite);
  return bmp;
}

TEST_F(StdControlsTest, ImagePlacesItsPictureByStretchCenterAndTransparent) {
  auto* image = new TImage(form);
  image->SetParent(form);
  image->SetBounds(100, 20, 20, 10);
  image->Picture().Assign(Quadrants());

  expectPixels({{100, 20, clBlue, "natural size at the top-left"},
                {101, 21, clWhite, "the picture's last pixel"},
                {102, 20, clRed, "beyond the picture"}});

  image->SetStretch(true);
  expectPixels({{100, 20, clBlue, "stretched: top-left quadrant"},
                {109, 24, clBlue, "top-left quadrant's last pixel"},
                {110, 20, clLime, "top-right quadrant"},
                {100, 25, clOlive, "bottom-left quadrant"},
                {119, 29, clWhite, "bottom-right quadrant"}});

  image->SetTransparent(true);
  expectPixels({{100, 25, clRed, "the transparent colour leaves the parent"},
                {119, 29, clWhite, "other pixels drawn"}});

  image->SetStretch(false);
  image->SetTransparent(false);
  image->SetCenter(true);
  expectPixels({{109, 24, clBlue, "centred: (20-2)/2, (10-2)/2"},
                {110, 25, clWhite, ""},
                {100, 20, clRed, "the corner is free"}});

  image->SetAutoSize(true);
  EXPECT_EQ(image->BoundsRect(), Bounds(100, 20, 2, 2));
}

// --- panel -----------------------------------------------------------------------------

TEST_F(StdControlsTest, PanelInsetsItsChildrenByBorderAndBevelsAndPaintsTheBevels) {
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(10, 10, 100, 80);
  auto* top = new TPanel(form);
  top->SetParent(panel);
  top->SetBevelOuter(bvNone);
  top->SetHeight(10);
  top->SetAlign(alTop);
  auto* client = new TPanel(form);
  client->SetParent(panel);
  client->SetBevelOuter(bvNone);
  client->SetAlign(alClient);
  EXPECT_EQ(client->BoundsRect(), Rect(1, 11, 99, 79)) << "the default raised outer bevel";

  panel->SetBorderWidth(2);
  panel->SetBevelInner(bvLowered);
  panel->SetBevelWidth(2);
  // 2 (outer) + 2 (border) + 2 (inner) on every side.
  EXPECT_EQ(top->BoundsRect(), Rect(6, 6, 94, 16));
  EXPECT_EQ(client->BoundsRect(), Rect(6, 16, 94, 74));

  panel->SetColor(clYellow);
  client->SetParentColor(true);
  EXPECT_EQ(client->Color(), clYellow);
  top->SetVisible(false);
  client->SetVisible(false);
  expectPixels({{10, 10, kHighlight, "outer raised: top-left"},
                {11, 11, kHighlight, "second ring of the outer bevel"},
                {109, 10, kShadow, "outer raised: the top-right corner is bottom colour"},
                {10, 89, kShadow, "outer raised: the bottom-left corner is bottom colour"},
                {12, 12, clYellow, "the border in Color"},
                {14, 14, kShadow, "inner lowered: top-left in shadow"},
                {105, 85, kHighlight, "inner lowered: bottom-right in highlight"},
                {60, 50, clYellow, "the inside in Color"}});
}

// --- bitmap button ---------------------------------------------------------------------

TEST_F(StdControlsTest, BitBtnClickNeedsPressAndReleaseOnIt) {
  auto* button = new TBitBtn(form);
  button->SetParent(form);
  button->SetBounds(10, 10, 75, 25);
  button->SetCaption("Go");
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };

  input::Press(*form, 20, 20);
  EXPECT_TRUE(button->IsDown());
  EXPECT_TRUE(button->Focused()) << "pressing takes the focus";
  input::Move(*form, 150, 100);
  EXPECT_FALSE(button->IsDown()) << "off the button it pops up";
  input::Release(*form, 150, 100);
  EXPECT_EQ(clicks, 0);

  input::Press(*form, 20, 20);
  input::Release(*form, 20, 20);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(button->IsDown());

  expectPixels({{10, 10, ColorToRGB(clWindowFrame), "focused: the dark outer frame"},
                {11, 11, kHighlight, "then the raised edge's light outer line"},
                {83, 33, ColorToRGB(cl3DDkShadow), "and its dark outer line"}});
}

struct BitBtnModalCase {
  TBitBtnKind kind;
  const char* how;  // "mouse", "space", "enter"
  TModalResult expected;
  int clicks;       // OnClick calls: bkClose closes without one
};

TEST(BitBtnModalTest, KindAndKeysEndAModalForm) {
  EnsureTestApplication();
  const std::vector<BitBtnModalCase> cases = {
      {bkClose, "mouse", mrCancel, 0}, {bkClose, "space", mrCancel, 0},
      {bkOK, "enter", mrOk, 1},        {bkCancel, "mouse", mrCancel, 1},
      {bkOK, "space", mrOk, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.how) + " kind " + std::to_string(c.kind));
    auto* dialog = new TForm(Application);
    dialog->SetBorderStyle(bsDialog);
    dialog->SetClientWidth(200);
    dialog->SetClientHeight(60);
    auto* button = new TBitBtn(dialog);
    button->SetParent(dialog);
    button->SetBounds(100, 20, 75, 25);
    button->SetKind(c.kind);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    // The input arrives while the modal form is up, from its OnShow.
    dialog->OnShow = [&](TObject*) {
      if (std::string(c.how) == "mouse") {
        input::Press(*dialog, 110, 30);
        input::Release(*dialog, 110, 30);
      } else if (std::string(c.how) == "space") {
        input::KeyDown(*dialog, VK_SPACE);
        EXPECT_EQ(dialog->ModalResult(), mrNone) << "Space clicks on release";
        input::KeyUp(*dialog, VK_SPACE);
      } else {
        input::KeyDown(*dialog, VK_RETURN);
      }
    };
    EXPECT_EQ(dialog->ShowModal(), c.expected);
    EXPECT_FALSE(dialog->IsShown());
    EXPECT_EQ(clicks, c.clicks);
    delete dialog;
  }
}

// A control that takes every key (as an in-place editor does) and counts them.
class KeyTaker : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  int keys = 0;

 protected:
  int WMGetDlgCode() override { return DLGC_WANTALLKEYS; }
  void KeyDown(uint16_t& Key, TShiftState Shift) override { ++keys; }
};

TEST(DialogKeyTest, EnterAndEscapeGoToTheDefaultAndCancelButtons) {
  struct Case {
    const char* focus;  // "plain" (a control without key wishes), "other", "cancel", "taker"
    uint16_t key;
    TShiftState shift;
    TModalResult expected;
  };
  const Case cases[] = {
      {"plain", VK_RETURN, {}, mrOk},         // the Default button
      {"plain", VK_ESCAPE, {}, mrCancel},     // the Cancel button
      {"plain", VK_RETURN, {ssShift}, mrNone},  // only without modifiers
      {"other", VK_RETURN, {}, mrRetry},      // a focused button is the active one
      {"cancel", VK_RETURN, {}, mrCancel},
      {"taker", VK_RETURN, {}, mrNone},       // a control that wants the key keeps it
      {"taker", VK_ESCAPE, {}, mrNone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.focus) + " key " + std::to_string(c.key));
    TestForm shown{Bounds(0, 0, 300, 100)};
    auto* plain = shown.Add<TCustomControl>(10, 10, 40, 20);
    plain->SetTabStop(true);
    auto* taker = shown.Add<KeyTaker>(60, 10, 40, 20);
    auto* ok = shown.Add<TBitBtn>(10, 50, 75, 25);
    ok->SetCaption("OK");
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    auto* cancel = shown.Add<TBitBtn>(90, 50, 75, 25);
    cancel->SetCaption("Cancel");
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    auto* other = shown.Add<TBitBtn>(170, 50, 75, 25);
    other->SetModalResult(mrRetry);
    shown.Show();
    const std::string focus = c.focus;
    TWinControl* target = taker;
    if (focus == "plain") target = plain;
    if (focus == "other") target = other;
    if (focus == "cancel") target = cancel;
    target->SetFocus();
    input::KeyDown(shown.form(), c.key, c.shift);
    EXPECT_EQ(shown->ModalResult(), c.expected);
    EXPECT_EQ(taker->keys, focus == "taker" ? 1 : 0);
  }
}

// Runs a function when a posted message reaches it (input while a modal loop runs).
class PostedCall : public TControl {
 public:
  static constexpr uint32_t kMsg = 0x8400;
  using TControl::TControl;
  std::function<void()> call;
  void WndProc(TMessage& msg) override {
    if (msg.Msg == kMsg && call) call();
  }
};

TEST(ModalFormTest, AFailingCloseQueryIsShownAndTheFormStaysUp) {
  EnsureTestApplication();
  std::vector<std::string> boxes;
  SetMessageBoxHook([&](const std::string& text, const std::string&, int) {
    boxes.push_back(text);
    return IDOK;
  });
  auto dialog = std::make_unique<TForm>(nullptr);
  dialog->SetBounds(50, 50, 200, 80);
  int queries = 0;
  dialog->OnCloseQuery = [&](TObject*, bool& canClose) {
    if (++queries == 1) throw Exception("Invalid value");
    canClose = true;
  };
  PostedCall answer(nullptr);
  answer.call = [&] {
    EXPECT_TRUE(dialog->IsShown()) << "still up after the failed close";
    dialog->SetModalResult(mrOk);
  };
  dialog->OnShow = [&](TObject*) {
    dialog->SetModalResult(mrOk);  // the first close fails; the posted one succeeds
    PostMessage(&answer, PostedCall::kMsg);
  };
  TModalResult result = mrNone;
  EXPECT_NO_THROW(result = dialog->ShowModal());
  SetMessageBoxHook(nullptr);
  EXPECT_EQ(result, mrOk);
  EXPECT_EQ(queries, 2);
  EXPECT_EQ(boxes, std::vector<std::string>{"Invalid value"});
  EXPECT_FALSE(dialog->IsShown());
}

TEST(BitBtnGlyphTest, StockKindsSetCaptionUnlessLoadingWithOne) {
  EnsureTestApplication();
  TForm form(nullptr);
  auto* plain = new TBitBtn(&form);
  plain->SetKind(bkClose);
  EXPECT_EQ(plain->Caption(), "&Close");
  EXPECT_EQ(StockBitBtnGlyph(bkClose).Width(), 18);
  EXPECT_EQ(StockBitBtnGlyph(bkClose).GetPixel(0, 17), clOlive) << "transparent corner";

  form.BeginLoading();
  auto* loaded = new TBitBtn(&form);
  loaded->SetCaption("退出");
  loaded->SetKind(bkClose);
  form.EndLoading();
  EXPECT_EQ(loaded->Caption(), "退出");
}

}  // namespace
