#include "treelist/popup_placement.h"

#include <gtest/gtest.h>

namespace {

// A grid editor: its window is the cell grown by 2 on every side, its content the cell.
TqlPopupPlacement EditorAt(int left, int top, TRect workArea = {0, 0, 800, 600}) {
  TqlPopupPlacement p;
  p.EditorWindow = Bounds(left, top, 80, 22);
  p.InnerRect = {2, 2, 78, 20};
  p.BorderStyle = xbsNone;
  p.PopupSize = {120, 100};
  p.WorkArea = workArea;
  return p;
}

TEST(PopupPlacement, AnchorFollowsInnerRectangleAndBorder) {
  struct Case {
    const char* name;
    TqlEditBorderStyle border;
    bool inPlace;
    TRect anchor;
  };
  // Window (100,100)-(180,122), inner (102,102)-(178,120).
  const Case cases[] = {
      {"no border: inner width, one pixel off top and bottom", xbsNone, true, {102, 101, 178, 121}},
      {"single border: two wider", xbsSingle, true, {102, 101, 180, 121}},
      {"flat border: the full height", xbsFlat, true, {102, 100, 180, 122}},
      {"3-D border: the full height", xbs3D, true, {102, 100, 180, 122}},
      {"not in-place without border: two pixels off", xbsNone, false, {102, 102, 178, 120}},
      {"not in-place with a single border: one pixel", xbsSingle, false, {102, 101, 180, 121}},
  };
  for (const Case& c : cases) {
    TqlPopupPlacement p = EditorAt(100, 100);
    p.BorderStyle = c.border;
    p.InPlace = c.inPlace;
    EXPECT_EQ(PopupAnchorRect(p), c.anchor) << c.name;
  }
}

TEST(PopupPlacement, WidthAndAlignmentBelowTheEditor) {
  struct Case {
    const char* name;
    TAlignment alignment;
    int width;
    bool adjust;
    TRect popup;
  };
  // Anchor (102,101)-(178,121): 76 wide.
  const Case cases[] = {
      {"left", taLeftJustify, 120, true, Bounds(102, 121, 120, 100)},
      {"right: right edges meet", taRightJustify, 120, true, Bounds(178 - 120, 121, 120, 100)},
      {"centre", taCenter, 120, true, Bounds(102 - 22, 121, 120, 100)},
      {"narrower: widened to the anchor", taLeftJustify, 50, true, Bounds(102, 121, 76, 100)},
      {"narrower, not adjusted", taLeftJustify, 50, false, Bounds(102, 121, 50, 100)},
      {"narrower, right aligned", taRightJustify, 50, false, Bounds(128, 121, 50, 100)},
  };
  for (const Case& c : cases) {
    TqlPopupPlacement p = EditorAt(100, 100);
    p.Alignment = c.alignment;
    p.PopupSize.cx = c.width;
    p.AdjustWidth = c.adjust;
    EXPECT_EQ(PlacePopup(p), c.popup) << c.name;
  }
}

TEST(PopupPlacement, KeptOnTheWorkAreaNearEachEdge) {
  struct Case {
    const char* name;
    int editorLeft, editorTop;
    TRect work;
    TAlignment alignment;
    TRect popup;
  };
  const TRect screen{0, 0, 800, 600};
  const TRect lowered{1000, 100, 1800, 700};  // a monitor right of and below the first
  const Case cases[] = {
      {"right edge: moved left", 740, 100, screen, taLeftJustify, Bounds(680, 121, 120, 100)},
      {"left edge: moved right", -30, 100, screen, taRightJustify, Bounds(0, 121, 120, 100)},
      {"room below: stays below", 100, 478, screen, taLeftJustify, Bounds(102, 499, 120, 100)},
      // Anchor (102,541)-(178,561): 561 + 100 > 600; room below less the editor's 20 is
      // 19, less than the 561 above: the popup ends at the anchor's top.
      {"bottom edge: opens above", 100, 540, screen, taLeftJustify, Bounds(102, 441, 120, 100)},
      // Work area 130 high, anchor (102,21)-(178,41): 41 + 100 > 130, but the room below
      // less the editor (69) is not smaller than the 41 above: stays below.
      {"short work area, little room above: stays below", 100, 20, {0, 0, 800, 130},
       taLeftJustify, Bounds(102, 41, 120, 100)},
      {"second monitor, bottom-right corner", 1750, 640, lowered, taLeftJustify,
       Bounds(1680, 541, 120, 100)},
      {"second monitor, left edge", 980, 300, lowered, taLeftJustify, Bounds(1000, 321, 120, 100)},
  };
  for (const Case& c : cases) {
    TqlPopupPlacement p = EditorAt(c.editorLeft, c.editorTop, c.work);
    p.Alignment = c.alignment;
    EXPECT_EQ(PlacePopup(p), c.popup) << c.name;
  }
}

TEST(PopupPlacement, WiderThanTheWorkAreaStartsAtItsLeft) {
  TqlPopupPlacement p = EditorAt(100, 100, {0, 0, 300, 600});
  p.PopupSize = {400, 100};
  EXPECT_EQ(PlacePopup(p), Bounds(0, 121, 400, 100));
}

TEST(PopupPlacement, PopupListSizes) {
  struct WidthCase {
    int dropDownWidth, widestText, imageWidth, width;
  };
  const WidthCase widths[] = {
      {150, 300, 16, 150},        // set: taken as it is
      {0, 60, 16, 60 + 2 + 16 + 4},
      {0, 5, 16, 10 + 16 + 4},    // the text part is at least 10
      {0, 8, 0, 10 + 4},
  };
  for (const WidthCase& c : widths)
    EXPECT_EQ(PopupListClientWidth(c.dropDownWidth, c.widestText, c.imageWidth), c.width)
        << c.dropDownWidth << " " << c.widestText << " " << c.imageWidth;
  EXPECT_EQ(PopupListRows(4, 7), 4);
  EXPECT_EQ(PopupListRows(10, 7), 7);
  EXPECT_EQ(PopupListRows(0, 7), 0);
}

TEST(PopupPlacement, FrameKindFromSettingContainerOrBorder) {
  struct Case {
    int setting, container;
    TqlEditBorderStyle border;
    int kind;
  };
  const Case cases[] = {
      {3, 1, xbsSingle, 3},  // the editor's own setting wins
      {0, 1, xbsFlat, 1},    // in a container: its answer
      {0, 2, xbsSingle, 2},
      {0, 0, xbsSingle, 1}, {0, 0, xbs3D, 1}, {0, 0, xbsFlat, 3},
      {0, 0, xbsNone, 2},   {0, 0, xbsThick, 2},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ResolvePopupFrameKind(c.setting, c.container, c.border), c.kind)
        << c.setting << " " << c.container << " " << c.border;
}

}  // namespace
