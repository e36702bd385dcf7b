// Every cursor a drag names reaches the toolkit: the standard shapes as the toolkit's own,
// the others as the pictures the platform draws, with their hot spots on a drawn pixel.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/ui/qt_cursors.h"
#include "platform/ui/services.h"
#include "platform/ui/toolkit.h"

namespace {

struct Case {
  TCursor cursor;
  const char* name;
  Qt::CursorShape shape;  // Qt::BitmapCursor: drawn by us
  QPoint hotSpot;         // drawn ones only
};
const Case kDragCursors[] = {
    {crDefault, "crDefault", Qt::ArrowCursor, {}},
    {crDrag, "crDrag", Qt::DragMoveCursor, {}},
    {crNoDrop, "crNoDrop", Qt::ForbiddenCursor, {}},
    {crMultiDrag, "crMultiDrag", Qt::BitmapCursor, {0, 0}},
    {crqlTLDelete, "crqlTLDelete", Qt::BitmapCursor, {0, 0}},
    {crqlTLFullScroll, "crqlTLFullScroll", Qt::BitmapCursor, {15, 15}},
    {crqlTLHorScroll, "crqlTLHorScroll", Qt::BitmapCursor, {15, 15}},
    {crqlTLVerScroll, "crqlTLVerScroll", Qt::BitmapCursor, {15, 15}},
    {crqlTLUpScroll, "crqlTLUpScroll", Qt::BitmapCursor, {15, 15}},
    {crqlTLRightScroll, "crqlTLRightScroll", Qt::BitmapCursor, {15, 15}},
    {crqlTLDownScroll, "crqlTLDownScroll", Qt::BitmapCursor, {15, 15}},
    {crqlTLLeftScroll, "crqlTLLeftScroll", Qt::BitmapCursor, {15, 15}},
    {crqlTLDragCopy, "crqlTLDragCopy", Qt::BitmapCursor, {0, 0}},
    {crqlTLMultiDragCopy, "crqlTLMultiDragCopy", Qt::BitmapCursor, {0, 0}},
};

TEST(Cursors, EveryDragCursorResolves) {
  EnsureTestApplication();
  std::vector<QImage> drawn;
  for (const Case& c : kDragCursors) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(CursorRegistered(c.cursor));
    const QCursor cursor = QtCursor(c.cursor);
    ASSERT_EQ(cursor.shape(), c.shape);
    if (c.shape != Qt::BitmapCursor) continue;
    const QImage image = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(32, 32));
    EXPECT_EQ(cursor.hotSpot(), c.hotSpot);
    EXPECT_EQ(qAlpha(image.pixel(c.hotSpot)), 255) << "the hot spot lies on the shape";
    int seeThrough = 0, greys = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        const QRgb p = image.pixel(x, y);
        seeThrough += qAlpha(p) == 0;
        greys += qAlpha(p) != 0 && (p & 0xFFFFFFu) != 0 && (p & 0xFFFFFFu) != 0xFFFFFFu;
      }
    EXPECT_GT(seeThrough, 32 * 32 / 2) << "a shape, not a square";
    EXPECT_EQ(greys, 0) << "black and white only";
    for (const QImage& other : drawn) EXPECT_NE(image, other) << "each cursor looks different";
    drawn.push_back(image);
  }
}

TEST(Cursors, ARegisteredPictureBecomesACursor) {
  EnsureTestApplication();
  constexpr TCursor kMine = 4000;
  EXPECT_FALSE(CursorRegistered(kMine));
  TBitmap picture(16, 16);  // white: its bottom-left pixel, the transparent colour
  picture.SetPixel(3, 4, clBlack);
  RegisterCursor(kMine, picture, {3, 4});
  EXPECT_TRUE(CursorRegistered(kMine));
  const QCursor cursor = QtCursor(kMine);
  EXPECT_EQ(cursor.hotSpot(), QPoint(3, 4));
  const QImage image = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
  EXPECT_EQ(image.pixel(3, 4), qRgba(0, 0, 0, 255));
  EXPECT_EQ(qAlpha(image.pixel(8, 8)), 0) << "the transparent colour is see-through";
}

TEST(Cursors, TheScreenCursorShowsAnyCursor) {
  EnsureTestApplication();
  SetScreenCursor(crqlTLUpScroll);
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BitmapCursor);
  EXPECT_EQ(QGuiApplication::overrideCursor()->hotSpot(), QPoint(15, 15));
  SetScreenCursor(crDefault);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
