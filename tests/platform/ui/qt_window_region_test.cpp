// A form's window region reaches the toolkit window as its mask.
#include <gtest/gtest.h>

#include <QRegion>
#include <QWidget>

#include "platform/gfx/region.h"
#include "platform/ui/form.h"
#include "platform/ui/form_window.h"
#include "platform/ui/toolkit.h"

namespace {

TEST(WindowRegion, RegionBecomesTheMaskAndNullRemovesIt) {
  EnsureTestApplication();
  TForm form(nullptr);
  form.SetBorderStyle(bsNone);
  form.SetBounds(10, 10, 40, 30);
  TRegion region(TRect{0, 0, 36, 26});
  region.Union(TRect{4, 4, 40, 30});  // a frame and its shadow
  form.SetWindowRegion(&region);
  auto* widget = static_cast<QWidget*>(form.Window()->NativeParent());
  QRegion expected = QRegion(0, 0, 36, 26) + QRegion(4, 4, 36, 26);
  EXPECT_EQ(widget->mask(), expected);
  EXPECT_FALSE(widget->mask().contains(QPoint(38, 1))) << "the corner above the shadow";

  form.SetWindowRegion(nullptr);
  EXPECT_TRUE(widget->mask().isEmpty());
}

}  // namespace
