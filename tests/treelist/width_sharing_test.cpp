// Width sharing of bands and header cells: exact sums, minimums kept, fixed parts kept.
#include "treelist/width_sharing.h"

#include <numeric>

#include <gtest/gtest.h>

namespace {

int sum(const std::vector<int>& v) { return std::accumulate(v.begin(), v.end(), 0); }

TEST(WidthSharing, BandDisplayWidths) {
  struct Case {
    const char* name;
    std::vector<TqlBandWidthInfo> bands;
    bool autoWidth;
    int available, groupIndent;
    std::vector<int> widths;
    int total;
  };
  const Case cases[] = {
      {"natural widths without auto width", {{100, 30, true}, {250, 30, true}}, false, 800, 0,
       {100, 250}, 350},
      {"group indent adds to the total only", {{100, 30, true}, {250, 30, true}}, false, 800, 20,
       {100, 250}, 370},
      {"auto width shares in proportion", {{100, 30, true}, {100, 30, true}, {200, 30, true}},
       true, 800, 0, {200, 200, 400}, 800},
      {"the last band takes the rounding rest", {{100, 30, true}, {100, 30, true}, {100, 30, true}},
       true, 100, 0, {33, 33, 34}, 100},
      {"group indent comes off the room", {{100, 30, true}, {100, 30, true}}, true, 420, 20,
       {200, 200}, 420},
      // Share of band 0 is 19, below its minimum 60: it keeps 60 and the others split the
      // room above all minimums (500 - 160 = 340) by their natural widths (50:200).
      {"a squeezed band keeps its minimum",
       {{10, 60, true}, {50, 50, true}, {200, 50, true}}, true, 500, 0, {60, 50 + 68, 50 + 272},
       500},
      {"a band that is not sizable keeps its width",
       {{150, 150, false}, {100, 30, true}, {100, 30, true}}, true, 500, 0, {150, 30 + 145, 30 + 145},
       500},
      {"room below the minimums: every band at its minimum",
       {{100, 80, true}, {100, 80, true}}, true, 100, 0, {80, 80}, 160},
      {"nothing sizable: natural widths", {{120, 100, false}, {90, 90, false}}, true, 800, 0,
       {120, 90}, 210},
      {"no bands", {}, true, 800, 10, {}, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TqlBandWidths w = ShareBandWidths(c.bands, c.autoWidth, c.available, c.groupIndent);
    EXPECT_EQ(w.DisplayWidths, c.widths);
    EXPECT_EQ(w.TotalWidth, c.total);
    EXPECT_EQ(w.TotalWidth, c.groupIndent + sum(w.DisplayWidths));
    for (size_t i = 0; i < c.bands.size(); ++i) EXPECT_GE(w.DisplayWidths[i], c.bands[i].MinWidth);
  }
}

// Automatic widths over many available widths: the sum is always exact and no band falls
// below its minimum.
TEST(WidthSharing, AutoWidthAlwaysSumsExactly) {
  const std::vector<TqlBandWidthInfo> bands = {
      {96, 30, true}, {113, 80, true}, {124, 124, false}, {37, 30, true}};
  for (int available = 0; available <= 1200; available += 7) {
    TqlBandWidths w = ShareBandWidths(bands, true, available, 5);
    ASSERT_EQ(w.TotalWidth, 5 + sum(w.DisplayWidths)) << available;
    ASSERT_GE(w.TotalWidth, std::max(available, 5 + 30 + 80 + 124 + 30)) << available;
    for (size_t i = 0; i < bands.size(); ++i) ASSERT_GE(w.DisplayWidths[i], bands[i].MinWidth);
  }
}

TEST(WidthSharing, HeaderCellWidths) {
  struct Case {
    const char* name;
    std::vector<TqlColumnWidthInfo> columns;
    int bandWidth, groupIndent;
    std::vector<int> widths;
  };
  const Case cases[] = {
      {"widths equal to the band", {{96, 20, true}, {113, 20, true}, {124, 20, true}}, 333, 0,
       {96, 113, 124}},
      {"wider band shares in proportion", {{100, 20, true}, {100, 20, true}}, 300, 0, {150, 150}},
      {"the last column takes the rounding rest", {{100, 20, true}, {100, 20, true}, {100, 20, true}},
       100, 0, {33, 33, 34}},
      // Column 2's share (10 of 210 in 200 = 10) is below its minimum 50: it keeps 50; the
      // others share 200 - 90 above the minimums by width: 55 + 20 each.
      {"a squeezed column keeps its minimum", {{100, 20, true}, {100, 20, true}, {10, 50, true}},
       200, 0, {75, 75, 50}},
      {"a fixed column keeps its width, the rest share what it leaves",
       {{100, 100, false}, {100, 20, true}, {100, 20, true}}, 500, 0, {100, 200, 200}},
      {"group indent widens the first column", {{100, 20, true}, {100, 20, true}}, 200, 16,
       {116, 100}},
      {"a single column gets the band and the indent", {{100, 20, true}}, 250, 16, {266}},
      {"no columns", {}, 250, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<int> w = ShareHeaderCellWidths(c.columns, c.bandWidth, c.groupIndent);
    EXPECT_EQ(w, c.widths);
    if (!c.columns.empty()) {
      EXPECT_EQ(sum(w), c.bandWidth + c.groupIndent);
    }
  }
}

}  // namespace
