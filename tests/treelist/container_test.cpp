#include "treelist/container.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "platform/ui/services.h"
#include "platform/ui/toolkit.h"
#include "tests/support/synthetic_input.h"
#include "tests/support/test_form.h"

namespace {

// A container that records the vertical scroll requests it receives.
class ScrollRecorder : public TCustomqlContainer {
 public:
  using TCustomqlContainer::TCustomqlContainer;
  std::vector<TScrollCode> scrolls;

 protected:
  void WMVScroll(TScrollCode code, int pos) override { scrolls.push_back(code); }
};

TEST(Container, WheelScrollsConfiguredLinesPerNotch) {
  EnsureTestApplication();
  ASSERT_EQ(GetWheelScrollLines(), 3) << "the toolkit's default wheel setting";
  struct Case {
    const char* what;
    std::vector<int> deltas;
    int ups, downs;
  };
  const Case cases[] = {
      {"one notch away from the user: three lines up", {120}, 3, 0},
      {"one notch towards the user: three lines down", {-120}, 0, 3},
      {"two notches in one message", {240}, 6, 0},
      {"half notches add up to one", {60, 60}, 3, 0},
      {"a half notch alone scrolls nothing", {60}, 0, 0},
      {"a change of direction forgets the half notch", {60, -60, -60}, 0, 3},
  };
  for (const Case& c : cases) {
    TestForm form;
    auto* container = form.Add<ScrollRecorder>(10, 10, 100, 80);
    container->SetTabStop(true);
    form.Show();
    for (int delta : c.deltas) input::Wheel(*container, 20, 20, delta);
    int ups = 0, downs = 0;
    for (TScrollCode code : container->scrolls) (code == SB_LINEUP ? ups : downs)++;
    EXPECT_EQ(ups, c.ups) << c.what;
    EXPECT_EQ(downs, c.downs) << c.what;
    EXPECT_EQ(ups + downs, int(container->scrolls.size())) << c.what << ": only line scrolls";
  }
}

TEST(Container, ScrollBarStyleGoesToBothBarsAndStays) {
  struct Case {
    TqlScrollBarStyle style;
    bool flat;
  };
  const Case cases[] = {{TqlScrollBarStyle::Regular, false},
                        {TqlScrollBarStyle::Flat, true},
                        {TqlScrollBarStyle::Encarta, true}};  // the platform draws it flat
  for (const Case& c : cases) {
    TestForm form;
    auto* container = form.Add<TCustomqlContainer>(10, 10, 100, 80);
    container->SetScrollBarStyle(c.style);
    for (TScrollBarKind bar : {sbHorizontal, sbVertical})
      EXPECT_EQ(container->GetScrollInfo(bar).Flat, c.flat) << int(c.style) << " bar " << bar;
    TScrollInfo fresh;  // a layout update writing a new range keeps the style
    fresh.Visible = true;
    fresh.Max = 50;
    container->SetScrollInfo(sbVertical, fresh);
    EXPECT_EQ(container->GetScrollInfo(sbVertical).Flat, c.flat) << int(c.style);
  }
}

TEST(Container, EditorLoadingFlagIsClearedWhenTheLoadThrows) {
  TestForm form;
  auto* container = form.Add<TCustomqlContainer>(10, 10, 100, 80);
  try {
    TqlEditorLoadingScope loading(*container);
    EXPECT_TRUE(container->IsInitialisingEditor());
    throw std::runtime_error("conversion failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_FALSE(container->IsInitialisingEditor());
}

TEST(Container, EditorKeyDownRaisesOnKeyDownWithTheKeyByReference) {
  TestForm form;
  auto* container = form.Add<TCustomqlContainer>(10, 10, 100, 80);
  container->OnKeyDown = [&](TObject* sender, uint16_t& key, TShiftState shift) {
    EXPECT_EQ(sender, container);
    EXPECT_TRUE(shift.contains(ssCtrl));
    key = 0;  // handled
  };
  uint16_t key = VK_DOWN;
  container->EditorKeyDown(key, {ssCtrl});
  EXPECT_EQ(key, 0) << "the handler's answer reaches the editor";
}

}  // namespace
