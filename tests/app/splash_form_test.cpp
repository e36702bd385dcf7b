// The splash window as it is built: frame, size, picture, and the preface block lying on the
// picture's light rectangle above the button.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/app_art.h"
#include "app/app_texts.h"
#include "app/splash_form.h"
#include "flat/flat_button.h"
#include "platform/gfx/canvas.h"
#include "platform/ui/application.h"
#include "platform/ui/image.h"
#include "platform/ui/label.h"
#include "platform/ui/toolkit.h"

namespace {

TEST(SplashWindowTest, BorderlessPictureWithThePrefaceOnItsLightRectangle) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  EnsureTestApplication();
  TfrmSplash splash(Application);
  EXPECT_EQ(splash.BorderStyle(), bsNone);
  EXPECT_EQ(splash.ClientWidth(), 792);
  EXPECT_EQ(splash.ClientHeight(), 573);
  EXPECT_EQ(splash.Image1->BoundsRect(), Bounds(0, 0, 792, 573)) << "the picture fills the window";
  EXPECT_EQ(splash.Image1->Picture().Width(), 768);
  EXPECT_TRUE(splash.Image1->Stretch());
  EXPECT_EQ(splash.Label1->Caption(), PrefaceText()) << "set by FormCreate";
  EXPECT_EQ(splash.fbtnEnter->BoundsRect(), Bounds(360, 504, 89, 25));
  EXPECT_FALSE(splash.fbtnEnter->TabStop());

  // The label's block, in picture pixels, lies on the light rectangle. That holds for the
  // metrics of the GB2312 fonts this window was laid out for: at height -21 a line is 21
  // pixels (no internal leading), so twenty lines end at 476, above the button.
  TCanvas measure;
  measure.Font = splash.Label1->Font();
  if (measure.TextMetrics().tmHeight != 21)
    GTEST_SKIP() << "the text layer gives " << measure.TextMetrics().tmHeight
                 << "-pixel lines for this font; the layout assumes 21";
  TRect label = splash.Label1->BoundsRect();
  const double sx = 768.0 / 792, sy = 512.0 / 573;
  TRect onPicture{int(label.Left * sx), int(label.Top * sy), int(label.Right * sx) + 1,
                  int(label.Bottom * sy) + 1};
  EXPECT_EQ(IntersectRect(onPicture, kSplashLightRect), onPicture)
      << "label " << label.Left << "," << label.Top << "-" << label.Right << "," << label.Bottom;
  EXPECT_LE(label.Bottom, splash.fbtnEnter->Top()) << "the text ends above the button";
}

}  // namespace
