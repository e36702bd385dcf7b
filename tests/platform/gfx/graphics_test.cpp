// The drawing tools: setters store and notify only on change; copies carry values only.
#include "platform/gfx/graphics.h"

#include <gtest/gtest.h>

namespace {

TEST(GraphicsTest, FontNotifiesChangesAndCopiesValuesOnly) {
  TFont font;
  int changes = 0;
  font.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &font);
    ++changes;
  };
  font.SetName("宋体");
  font.SetName("宋体");  // unchanged: no notification
  font.SetStyle({fsBold, fsUnderline});
  font.SetColor(clRed);
  EXPECT_EQ(changes, 3);

  TFont other;
  other.SetName("Tahoma");
  other.SetHeight(-16);
  font.Assign(other);
  EXPECT_EQ(changes, 4) << "one notification for the whole assignment";
  EXPECT_EQ(font.Name(), "Tahoma");
  EXPECT_EQ(font.Size(), 12) << "16 pixels at 96 dpi";
  EXPECT_FALSE(other.OnChange) << "the notification is not copied";
  TFont copy = font;
  EXPECT_FALSE(copy.OnChange);
  EXPECT_TRUE(SameFontValues(copy, font));
  font.Assign(copy);
  EXPECT_EQ(changes, 4) << "assigning equal values changes nothing";
}

TEST(GraphicsTest, PenAndBrushDefaults) {
  TPen pen;
  EXPECT_EQ(pen.Color(), clBlack);
  EXPECT_EQ(pen.Width(), 1);
  EXPECT_EQ(pen.Mode(), pmCopy);
  pen.SetWidth(0);
  EXPECT_EQ(pen.Width(), 1) << "a cosmetic pen is at least one pixel";
  TBrush brush;
  EXPECT_EQ(brush.Color(), clWhite);
  EXPECT_EQ(brush.Style(), bsSolid);
  brush.SetStyle(bsClear);
  brush.SetColor(clRed);
  EXPECT_EQ(brush.Style(), bsSolid) << "giving a clear brush a colour makes it solid";
}

}  // namespace
