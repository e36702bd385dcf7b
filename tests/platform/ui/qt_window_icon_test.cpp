// The program's icon reaches the toolkit with each size's colours and opacity, and the
// program's windows show it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QWidget>

#include "platform/gfx/bitmap.h"
#include "platform/ui/form.h"
#include "platform/ui/form_window.h"
#include "platform/ui/services.h"
#include "platform/ui/toolkit.h"

namespace {

// A size x size picture: red on the left half, blue on the right; opaque in the middle rows,
// half covered in the first row, transparent in the last.
struct Picture {
  TBitmap colors, opacity;
  explicit Picture(int size) : colors(size, size), opacity(size, size) {
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        colors.SetPixel(x, y, x < size / 2 ? clRed : clBlue);
        opacity.SetPixel(x, y, y == 0 ? RGBColor(128, 128, 128) : y == size - 1 ? clBlack : clWhite);
      }
  }
};

TEST(WindowIcon, EverySizeKeepsItsColoursAndOpacity) {
  EnsureTestApplication();
  Picture small(16), large(32);
  SetApplicationIcon({{&small.colors, &small.opacity}, {&large.colors, &large.opacity}});
  QIcon icon = QApplication::windowIcon();
  ASSERT_EQ(icon.availableSizes(), (QList<QSize>{QSize(16, 16), QSize(32, 32)}));

  struct Case {
    int size, x, y;
    QRgb expected;
    const char* why;
  };
  const Case cases[] = {
      {16, 2, 8, qRgba(255, 0, 0, 255), "left half red, opaque"},
      {16, 12, 8, qRgba(0, 0, 255, 255), "right half blue, opaque"},
      {16, 2, 0, qRgba(255, 0, 0, 128), "first row: the grey level is the opacity"},
      {32, 30, 0, qRgba(0, 0, 255, 128), "the larger size has its own pixels"},
      {32, 30, 31, 0, "black in the opacity: fully transparent"},
  };
  for (const Case& c : cases) {
    QImage image = icon.pixmap(QSize(c.size, c.size)).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(c.size, c.size));
    QRgb got = image.pixel(c.x, c.y);
    if (qAlpha(c.expected) == 0)
      EXPECT_EQ(qAlpha(got), 0) << c.why;
    else
      EXPECT_EQ(got, c.expected) << c.why;
  }

  TForm form(nullptr);
  form.SetBounds(50, 50, 100, 60);
  form.Show();
  QWidget* window = static_cast<QWidget*>(form.Window()->NativeParent())->window();
  EXPECT_EQ(window->windowIcon().cacheKey(), icon.cacheKey()) << "a form's window shows it";
}

TEST(WindowIcon, OpacityMustMatchTheColoursInSize) {
  EnsureTestApplication();
  TBitmap colors(16, 16), opacity(16, 8);
  EXPECT_THROW(SetApplicationIcon({{&colors, &opacity}}), Exception);
}

}  // namespace
