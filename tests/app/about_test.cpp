// The About window as it is built: dialog frame, place, panels, picture and close button.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/about.h"
#include "platform/ui/application.h"
#include "platform/ui/bit_btn.h"
#include "platform/ui/image.h"
#include "platform/ui/label.h"
#include "platform/ui/panel.h"
#include "platform/ui/toolkit.h"

namespace {

TEST(AboutWindowTest, DialogWithPictureTitleAndCloseButton) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  EnsureTestApplication();
  TfrmAbout about(Application);
  EXPECT_EQ(about.BorderStyle(), bsDialog);
  EXPECT_EQ(about.Caption(), "关于");
  EXPECT_EQ(about.ClientWidth(), 405);
  EXPECT_EQ(about.ClientHeight(), 226);
  EXPECT_EQ(about.Left(), 249);
  EXPECT_EQ(about.Top(), 130);
  EXPECT_EQ(about.Panel1->BoundsRect(), Bounds(0, 0, 121, 180));
  EXPECT_EQ(about.Panel2->BoundsRect(), Bounds(121, 0, 284, 180));
  EXPECT_EQ(about.Panel3->BoundsRect(), Bounds(0, 180, 405, 46));
  EXPECT_EQ(about.Image1->BoundsRect(), Bounds(0, 0, 121, 180));
  EXPECT_EQ(about.Image1->Picture().Width(), 93);
  EXPECT_EQ(about.Image1->Picture().Height(), 196);
  EXPECT_EQ(about.Label2->BoundsRect(), Bounds(7, 133, 167, 18)) << "fixed size";
  EXPECT_EQ(about.bbtnClose->Caption(), "退出");
  EXPECT_EQ(about.bbtnClose->Kind(), bkClose);
  EXPECT_EQ(about.bbtnClose->BoundsRect(), Bounds(319, 9, 75, 25));
}

}  // namespace
