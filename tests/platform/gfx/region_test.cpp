#include "platform/gfx/region.h"

#include <gtest/gtest.h>

namespace {

struct PointCase {
  TPoint p;
  bool inside;
  const char* reason;
};

void ExpectContains(const TRegion& r, const std::vector<PointCase>& cases) {
  r.CheckInvariants();
  for (const auto& c : cases)
    EXPECT_EQ(r.Contains(c.p), c.inside) << "(" << c.p.X << ", " << c.p.Y << "): " << c.reason;
}

TEST(RegionTest, SetOperationsKeepHalfOpenPixels) {
  TRegion u(TRect{0, 0, 4, 4});
  u.Union(TRect{2, 2, 6, 6});
  ExpectContains(u, {{{0, 0}, true, "first rectangle"},
                     {{5, 5}, true, "second rectangle"},
                     {{4, 1}, false, "right of the first, above the second"},
                     {{1, 4}, false, "below the first, left of the second"},
                     {{6, 5}, false, "Right is exclusive"},
                     {{5, 6}, false, "Bottom is exclusive"}});
  EXPECT_EQ(u.BoundingBox(), (TRect{0, 0, 6, 6}));

  TRegion i(TRect{0, 0, 4, 4});
  i.Intersect(TRect{2, 2, 6, 6});
  EXPECT_EQ(i.Rects(), std::vector<TRect>{(TRect{2, 2, 4, 4})});

  TRegion s(TRect{0, 0, 6, 6});
  s.Subtract(TRect{2, 2, 4, 4});
  ExpectContains(s, {{{1, 1}, true, "frame kept"},
                     {{2, 2}, false, "hole's top-left"},
                     {{3, 3}, false, "hole's last pixel"},
                     {{4, 3}, true, "hole's Right is exclusive"},
                     {{3, 4}, true, "hole's Bottom is exclusive"}});
  EXPECT_EQ(s.Rects().size(), 4u) << "top band, two sides of the middle band, bottom band";

  TRegion empty;
  empty.Intersect(TRect{0, 0, 5, 5});
  EXPECT_TRUE(empty.IsEmpty());
  EXPECT_EQ(empty.BoundingBox(), TRect{});
}

TEST(RegionTest, EqualPixelSetsHaveEqualBands) {
  // Two different constructions of the same L shape normalise to the same rectangles.
  TRegion a = TRegion::FromRects({{0, 0, 4, 2}, {0, 2, 2, 4}, {1, 1, 3, 2}});
  TRegion b(TRect{0, 0, 4, 4});
  b.Subtract(TRect{2, 2, 4, 4});
  a.CheckInvariants();
  EXPECT_EQ(a, b);
  TRegion moved = b;
  moved.Offset(10, 20);
  EXPECT_EQ(moved.BoundingBox(), (TRect{10, 20, 14, 24}));
}

TEST(RegionTest, EllipticRegionIsOnePixelShortRightAndBottom) {
  // CreateEllipticRgn(0, 0, 10, 10) covers 9 x 9 pixels: the right and bottom edges are out.
  TRegion e = TRegion::Elliptic(TRect{0, 0, 10, 10});
  e.CheckInvariants();
  EXPECT_EQ(e.BoundingBox(), (TRect{0, 0, 9, 9}));
  ExpectContains(e, {{{4, 4}, true, "centre"},
                     {{0, 4}, true, "middle row spans the full width"},
                     {{0, 0}, false, "corner is outside the curve"},
                     {{8, 8}, false, "opposite corner too"}});
  // Symmetric about both axes of the 9 x 9 box.
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) {
      EXPECT_EQ(e.Contains({x, y}), e.Contains({8 - x, y})) << x << "," << y;
      EXPECT_EQ(e.Contains({x, y}), e.Contains({x, 8 - y})) << x << "," << y;
    }
  // Too thin for a curve: the (shortened) rectangle.
  EXPECT_EQ(TRegion::Elliptic(TRect{0, 0, 2, 10}).BoundingBox(), (TRect{0, 0, 1, 9}));
}

}  // namespace
