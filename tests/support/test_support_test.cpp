// The shared test helpers themselves: pixel checks on a known bitmap, control pixels in client
// and window coordinates, and the shift state synthetic input hands to a control.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/win_control.h"
#include "tests/support/pixel_checks.h"
#include "tests/support/synthetic_input.h"
#include "tests/support/test_form.h"

namespace {

TEST(PixelChecks, InkBoxCountColourAndPicture) {
  TBitmap b = MakeBitmap(5, 4, clWhite);
  b.SetPixel(1, 1, clRed);
  b.SetPixel(3, 2, clBlue);
  EXPECT_EQ(InkBox(b, clWhite), (TRect{1, 1, 4, 3}));
  EXPECT_EQ(InkBox(b, clWhite, {2, 0, 5, 4}), (TRect{3, 2, 4, 3})) << "only inside the area";
  EXPECT_TRUE(InkBox(b, clWhite, {0, 3, 5, 4}).IsEmpty()) << "no ink: empty";
  EXPECT_EQ(InkCount(b, clWhite, {-10, -10, 10, 10}), 2) << "the area is clipped to the bitmap";
  EXPECT_TRUE(HasColor(b, clBlue, {3, 2, 4, 3}));
  EXPECT_FALSE(HasColor(b, clBlue, {0, 0, 3, 4}));
  EXPECT_EQ(Picture(b, clWhite), ".....\n.#...\n...#.\n.....\n");
}

// A windowed control with a two-pixel non-client frame, so client and window coordinates differ.
class FramedControl : public TCustomControl {
 public:
  explicit FramedControl(TComponent* owner) : TCustomControl(owner) {
    SetNonClientInsets({2, 2, 2, 2});
  }
};

TEST(ControlPixels, ClientAndWindowCoordinates) {
  TestForm form;
  auto* control = form.Add<FramedControl>(10, 20, 30, 30);
  form.Show();
  TBitmap& image = form->Image();
  image.SetPixel(10, 20, clRed);   // the window's top-left: frame
  image.SetPixel(12, 22, clBlue);  // the client area's top-left
  EXPECT_EQ(WindowPixels(*control).at(0, 0), ColorToRGB(clRed));
  EXPECT_EQ(WindowPixels(*control).at(2, 2), ColorToRGB(clBlue));
  EXPECT_EQ(ClientPixels(*control).at(0, 0), ColorToRGB(clBlue));
  EXPECT_EQ(PixelAt(*control, 0, 0), ColorToRGB(clBlue));
  EXPECT_EQ(ClientPixels(*control).bounds, (TRect{-12, -22, 320 - 12, 240 - 22}))
      << "readable wherever the form's image is";
}

// Records the mouse, wheel and key input that reaches it.
class InputRecorder : public TCustomControl {
 public:
  explicit InputRecorder(TComponent* owner) : TCustomControl(owner) {
    SetTabStop(true);
    OnKeyDown = [this](TObject*, uint16_t& key, TShiftState shift) { keys.push_back({key, shift}); };
    OnKeyUp = [this](TObject*, uint16_t& key, TShiftState shift) { keys.push_back({key, shift}); };
    OnKeyPress = [this](TObject*, char32_t& ch) { chars.push_back(ch); };
  }
  std::vector<TWMMouse> mouse;
  std::vector<TWMMouseWheel> wheel;
  struct Key {
    uint16_t key;
    TShiftState shift;
  };
  std::vector<Key> keys;
  std::u32string chars;

 protected:
  void WMMouse(TWMMouse& msg) override {
    mouse.push_back(msg);
    TCustomControl::WMMouse(msg);
  }
  void WMMouseWheel(TWMMouseWheel& msg) override {
    wheel.push_back(msg);
    msg.Handled = true;
  }
};

TEST(SyntheticInput, MouseCarriesButtonsAndModifiers) {
  TestForm form;
  auto* control = form.Add<InputRecorder>(10, 10, 50, 50);
  form.Show();
  struct Case {
    std::function<void()> act;
    TMouseMessageKind kind;
    TMouseButton button;
    TShiftState shift;
    const char* why;
  };
  const Case cases[] = {
      {[&] { input::Move(*control, 5, 6); }, mmMove, mbLeft, {}, "a move with nothing held"},
      {[&] { input::Press(*control, 5, 6, {ssShift}); }, mmDown, mbLeft, {ssShift, ssLeft},
       "shift-press: the left button joins the modifier"},
      {[&] { input::Move(*control, 7, 8, {ssShift}); }, mmMove, mbLeft, {ssShift, ssLeft},
       "a drag: the captured control sees the left button held"},
      {[&] { input::Release(*control, 7, 8, {ssShift}); }, mmUp, mbLeft, {ssShift},
       "release: no button held after it"},
      {[&] { input::DoubleClick(*control, 5, 6, {ssCtrl}); }, mmDblClick, mbLeft, {ssCtrl, ssLeft},
       "the second press of a double click"},
      {[&] { input::Release(*control, 5, 6); }, mmUp, mbLeft, {}, "its release"},
      {[&] { input::Press(*control, 5, 6, {}, mbRight); }, mmDown, mbRight, {ssRight}, "right press"},
      {[&] { input::Move(*control, 9, 9); }, mmMove, mbLeft, {ssRight}, "a right drag"},
      {[&] { input::Press(*control, 9, 9); }, mmDown, mbLeft, {ssRight, ssLeft},
       "the left button too"},
      {[&] { input::Release(*control, 9, 9, {}, mbRight); }, mmUp, mbRight, {ssLeft},
       "right release: the left one stays held"},
      {[&] { input::Release(*control, 9, 9); }, mmUp, mbLeft, {}, "left release"},
  };
  for (const Case& c : cases) {
    control->mouse.clear();
    c.act();
    ASSERT_EQ(control->mouse.size(), 1u) << c.why;
    const TWMMouse& msg = control->mouse[0];
    EXPECT_EQ(msg.Kind, c.kind) << c.why;
    EXPECT_EQ(msg.Button, c.button) << c.why;
    EXPECT_EQ(msg.Shift, c.shift) << c.why;
  }
  EXPECT_EQ(form->CaptureControl(), nullptr) << "every button is up at the end";
}

TEST(SyntheticInput, WheelAndKeysGoToTheFocusedControl) {
  TestForm form;
  auto* control = form.Add<InputRecorder>(10, 10, 50, 50);
  form.Show();
  control->SetFocus();
  input::Wheel(*control, 5, 6, -120, {ssCtrl});
  ASSERT_EQ(control->wheel.size(), 1u);
  EXPECT_EQ(control->wheel[0].WheelDelta, -120);
  EXPECT_EQ(control->wheel[0].Shift, TShiftState{ssCtrl});
  EXPECT_EQ(control->wheel[0].Pos, control->ClientToScreen({5, 6})) << "screen coordinates";

  input::KeyDown(form.form(), VK_DOWN, {ssShift});
  input::KeyPress(form.form(), U'a');
  input::KeyUp(form.form(), VK_DOWN, {ssShift});
  ASSERT_EQ(control->keys.size(), 2u);
  EXPECT_EQ(control->keys[0].key, VK_DOWN);
  EXPECT_EQ(control->keys[0].shift, TShiftState{ssShift});
  EXPECT_EQ(control->keys[1].shift, TShiftState{ssShift});
  EXPECT_EQ(control->chars, U"a");
}

}  // namespace
