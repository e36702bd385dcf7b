// The screen overlay's window: a frameless tool-tip window above the others that takes
// neither the activation nor the focus nor the mouse, shows the picture where it is put, and
// lets only its shape through.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QRegion>
#include <QWidget>
#include <QWindow>
#include <functional>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/region.h"
#include "platform/ui/form.h"
#include "platform/ui/form_window.h"
#include "platform/ui/screen_overlay.h"
#include "platform/ui/toolkit.h"

namespace {

QWidget* windowOf(const TScreenOverlay& overlay) { return static_cast<QWidget*>(overlay.NativeWindow()); }

// 24 x 16: lime (the transparent colour: the bottom-left pixel) with a red and a blue box.
TBitmap boxesPicture() {
  TBitmap picture(24, 16);
  TCanvas& canvas = picture.Canvas();
  for (auto [rect, color] : {std::pair{TRect{0, 0, 24, 16}, clLime}, {TRect{3, 2, 10, 9}, clRed},
                             {TRect{14, 6, 20, 14}, clBlue}}) {
    canvas.Brush.SetColor(color);
    canvas.FillRect(rect);
  }
  return picture;
}

// The pixels that show: the mask, or the whole window without one.
QRegion shownPixels(QWidget* window) {
  return window->mask().isEmpty() ? QRegion(window->rect()) : window->mask();
}

TEST(ScreenOverlay, WindowNeverActivatesAndLetsTheMouseThrough) {
  EnsureTestApplication();
  TScreenOverlay overlay;
  overlay.SetPicture(TBitmap(8, 8));
  overlay.Show({40, 30});
  QWidget* widget = windowOf(overlay);
  ASSERT_TRUE(widget && widget->isWindow() && widget->windowHandle());
  EXPECT_EQ(widget->windowType(), Qt::ToolTip) << "never activated, no taskbar entry";

  // What the window system is told, on the native window itself.
  const Qt::WindowFlags flags = widget->windowHandle()->flags();
  struct Flag {
    Qt::WindowType flag;
    const char* why;
  };
  for (const Flag& f : {Flag{Qt::FramelessWindowHint, "no frame"},
                        Flag{Qt::WindowStaysOnTopHint, "above other windows"},
                        Flag{Qt::WindowDoesNotAcceptFocus, "never takes the focus"},
                        Flag{Qt::WindowTransparentForInput, "the mouse reaches the window under it"}})
    EXPECT_TRUE(flags.testFlag(f.flag)) << f.why;
  struct Attribute {
    Qt::WidgetAttribute attribute;
    const char* why;
  };
  for (const Attribute& a : {Attribute{Qt::WA_ShowWithoutActivating, "shown without activation"},
                             Attribute{Qt::WA_TransparentForMouseEvents, "no mouse events of its own"}})
    EXPECT_TRUE(widget->testAttribute(a.attribute)) << a.why;
  EXPECT_EQ(widget->focusPolicy(), Qt::NoFocus);
}

TEST(ScreenOverlay, ShowingMovingAndHidingLeaveTheActiveWindowAndFocusAlone) {
  EnsureTestApplication();
  TForm form(nullptr);
  form.SetBounds(50, 50, 200, 120);
  form.Show();
  QWidget* formWindow = static_cast<QWidget*>(form.Window()->NativeParent())->window();
  formWindow->activateWindow();
  formWindow->setFocus();
  QApplication::processEvents();
  ASSERT_EQ(QApplication::activeWindow(), formWindow);
  QWidget* focusBefore = QApplication::focusWidget();
  QWindow* focusWindowBefore = QGuiApplication::focusWindow();
  ASSERT_TRUE(focusBefore && focusWindowBefore);

  // Two at once, as a drag shows its image and the drop arrows.
  TScreenOverlay image, arrows;
  image.SetPicture(boxesPicture());
  arrows.SetPicture(boxesPicture());
  arrows.SetShapeByTransparentColor();
  image.Show({60, 60});
  arrows.Show({70, 55});
  QApplication::processEvents();
  EXPECT_TRUE(windowOf(image)->isVisible() && windowOf(arrows)->isVisible()) << "both show";
  image.MoveTo({80, 70});
  arrows.Hide();
  arrows.Show({90, 55});
  QApplication::processEvents();

  EXPECT_EQ(QApplication::activeWindow(), formWindow);
  EXPECT_EQ(QApplication::focusWidget(), focusBefore);
  EXPECT_EQ(QGuiApplication::focusWindow(), focusWindowBefore);
}

TEST(ScreenOverlay, OnlyTheShapeShows) {
  EnsureTestApplication();
  const TBitmap picture = boxesPicture();
  const TRegion ellipse = TRegion::Elliptic({0, 0, 24, 16});
  struct Case {
    const char* name;
    std::function<void(TScreenOverlay&)> shape;
    std::function<bool(int x, int y)> shows;
  };
  const Case cases[] = {
      {"no shape: the whole picture", [](TScreenOverlay& o) { o.ClearShape(); },
       [](int, int) { return true; }},
      {"an elliptic region", [&](TScreenOverlay& o) { o.SetShape(ellipse); },
       [&](int x, int y) { return ellipse.Contains({x, y}); }},
      {"a region reaching past the picture is clipped to it",
       [](TScreenOverlay& o) { o.SetShape(TRegion(TRect{10, 4, 40, 30})); },
       [](int x, int y) { return x >= 10 && y >= 4; }},
      {"the transparent colour", [](TScreenOverlay& o) { o.SetShapeByTransparentColor(); },
       [&](int x, int y) { return picture.GetPixel(x, y) != clLime; }},
  };
  for (const Case& c : cases)
    for (bool shapeAfterShow : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (shapeAfterShow ? ", shaped while shown" : ", shaped before"));
      TScreenOverlay overlay;
      overlay.SetPicture(picture);
      if (!shapeAfterShow) c.shape(overlay);
      overlay.Show({100, 100});
      if (shapeAfterShow) c.shape(overlay);
      QWidget* widget = windowOf(overlay);
      ASSERT_EQ(widget->size(), QSize(24, 16));
      const QRegion shown = shownPixels(widget);
      int wrong = 0;
      for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 24; ++x) wrong += shown.contains(QPoint(x, y)) != c.shows(x, y);
      EXPECT_EQ(wrong, 0) << "pixels shown where they should not be, or hidden where they should show";
    }
}

TEST(ScreenOverlay, ATransparentColourShapeFollowsTheNewPicture) {
  EnsureTestApplication();
  TScreenOverlay overlay;
  overlay.SetPicture(boxesPicture());
  overlay.SetShapeByTransparentColor();
  overlay.Show({10, 10});
  QWidget* widget = windowOf(overlay);

  TBitmap blank(24, 16);  // all one colour: nothing is left to show
  overlay.SetPicture(blank);
  EXPECT_TRUE(overlay.Visible());
  EXPECT_FALSE(widget->isVisible()) << "an empty shape shows nothing, not the whole window";

  overlay.SetPicture(boxesPicture());
  EXPECT_TRUE(widget->isVisible());
  EXPECT_TRUE(shownPixels(widget).contains(QPoint(4, 3)));
  EXPECT_FALSE(shownPixels(widget).contains(QPoint(12, 3))) << "lime is see-through again";
}

TEST(ScreenOverlay, ShowsThePictureWhereItIsPutUntilHidden) {
  EnsureTestApplication();
  TScreenOverlay overlay;
  EXPECT_EQ(overlay.NativeWindow(), nullptr) << "no window before it is first shown";
  overlay.SetPicture(boxesPicture());

  struct Step {
    const char* what;
    std::function<void()> act;
    QPoint pos;
    bool visible;
  };
  const Step steps[] = {
      {"shown", [&] { overlay.Show({100, 50}); }, {100, 50}, true},
      {"moved", [&] { overlay.MoveTo({130, 70}); }, {130, 70}, true},
      {"hidden", [&] { overlay.Hide(); }, {130, 70}, false},
      {"moved while hidden", [&] { overlay.MoveTo({5, 6}); }, {5, 6}, false},
      {"shown again elsewhere", [&] { overlay.Show({150, 80}); }, {150, 80}, true},
  };
  for (const Step& s : steps) {
    s.act();
    QWidget* widget = windowOf(overlay);
    EXPECT_EQ(widget->pos(), s.pos) << s.what;
    EXPECT_EQ(widget->isVisible(), s.visible) << s.what;
    EXPECT_EQ(overlay.Visible(), s.visible) << s.what;
  }

  // The picture's pixels, red and blue not swapped.
  const QImage shown = windowOf(overlay)->grab().toImage();
  struct Pixel {
    int x, y;
    QRgb expected;
  };
  for (const Pixel& p : {Pixel{4, 3, qRgb(255, 0, 0)}, Pixel{15, 7, qRgb(0, 0, 255)}, Pixel{0, 15, qRgb(0, 255, 0)}})
    EXPECT_EQ(shown.pixel(p.x, p.y) & 0xFFFFFFu, p.expected & 0xFFFFFFu) << p.x << "," << p.y;
}

}  // namespace
