// The mouse side of the tree-list grid: pressed headers (drag threshold, click on release),
// sizing with its inverted line, best widths on a double click, row presses with the editor
// delay, and hot tracking. Input goes through the form as real input does.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/canvas.h"
#include "platform/ui/screen_overlay.h"
#include "platform/ui/toolkit.h"
#include "tests/support/synthetic_input.h"
#include "tests/support/test_form.h"
#include "platform/ui/drag_manager.h"
#include "platform/ui/input_tracker.h"
#include "platform/ui/services.h"
#include "treelist/anchor_scroll.h"
#include "treelist/input_timers.h"
#include "treelist/treelist_anchor_mode.h"
#include "treelist/treelist_control.h"
#include "treelist/treelist_layout.h"
#include "treelist/treelist_node.h"

namespace {

TPoint Center(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

// Header moving is not part of the core: this grid records a started drag and stays dragging
// until the release; editor requests are recorded too.
class MouseGrid : public TCustomqlTreeListControl {
 public:
  using TCustomqlTreeListControl::TCustomqlTreeListControl;
  std::vector<std::string> log;

 protected:
  void StartColumnDrag(int column) override { log.push_back("drag c" + std::to_string(column)); }
  void StartBandDrag(int band) override { log.push_back("drag b" + std::to_string(band)); }
  void ShowEditor() override { log.push_back("editor"); }
};

// Header moving as the grid runs it, with its events logged and its paint passes counted.
class DragGrid : public TCustomqlTreeListControl {
 public:
  using TCustomqlTreeListControl::TCustomqlTreeListControl;
  std::vector<std::string> log;
  int paints = 0;

 protected:
  void Paint() override {
    ++paints;
    TCustomqlTreeListControl::Paint();
  }
};

// A shown grid, 400 x 200, columns c0 c1 c2 of widths 96, 113, 124 and five rows "r<i>";
// with bands, c0 and c1 form band 0 and c2 band 1, and the band panel is shown.
template <typename Grid>
struct GridFixture {
  TestForm form{Bounds(0, 0, 420, 240)};
  Grid* g = nullptr;

  explicit GridFixture(TqlTreeListOptions options = kDefaultTreeListOptions, bool bands = false) {
    EnsureTestApplication();
    g = form.template Add<Grid>(0, 0, 400, 200);
    g->SetOptions(options);
    if (bands) {
      g->SetDefaultLayout(false);
      g->Bands().Add();
      g->SetShowBands(true);
    }
    const int widths[] = {96, 113, 124};
    for (int i = 0; i < 3; ++i) {
      TqlTreeListColumn* c = g->CreateColumn();
      c->SetCaption("C" + std::to_string(i));
      if (bands) c->SetBandIndex(i < 2 ? 0 : 1);
      c->SetWidth(widths[i]);
    }
    for (int i = 0; i < 5; ++i) g->Add()->SetText(0, "r" + std::to_string(i));
    form.Show();
  }
  TqlHeaderCell Header(int column) const {
    for (const TqlHeaderCell& cell : g->BuildLayoutSnapshot().HeaderCells)
      if (cell.Column == column) return cell;
    ADD_FAILURE() << "no header cell for column " << column;
    return {};
  }
  TPoint HeaderMiddle(int column) const { return Center(Header(column).Rect); }
  // A point on the column's right edge (inside the cell, where the edge zone starts).
  TPoint HeaderEdge(int column) const {
    TRect r = Header(column).Rect;
    return {r.Right - 2, (r.Top + r.Bottom) / 2};
  }
  TPoint CellMiddle(int row, int column) const {
    return Center(g->CellRect(g->NodeAtRowIndex(row), column));
  }
  int Width(int column) const { return g->Columns(column)->Width(); }
};
using MouseFixture = GridFixture<MouseGrid>;

// Every pixel of the grid as it stands on the form.
std::vector<TColor> Grab(const TControl& control) {
  std::vector<TColor> pixels;
  for (int y = 0; y < control.ClientHeight(); ++y)
    for (int x = 0; x < control.ClientWidth(); ++x) pixels.push_back(PixelAt(control, x, y));
  return pixels;
}

// What a full repaint gives must equal what is on the form: no line left behind.
void ExpectNoLeftovers(MouseFixture& f, const char* context) {
  f.form.Paint();
  const std::vector<TColor> before = Grab(*f.g);
  f.g->Invalidate();
  f.form.Paint();
  EXPECT_TRUE(before == Grab(*f.g)) << context << ": pixels differ from a full repaint";
}

TEST(TreeListMouse, PressedHeaderStartsDraggingOnlyBeyondFivePixels) {
  struct Case {
    int dx, dy;
    TqlTreeListOptions options;
    bool drags;
  } cases[] = {
      {5, 0, kDefaultTreeListOptions, false},
      {-5, 5, kDefaultTreeListOptions, false},
      {6, 0, kDefaultTreeListOptions, true},
      {0, 6, kDefaultTreeListOptions, true},
      {-6, -3, kDefaultTreeListOptions, true},
      {20, 0, kDefaultTreeListOptions - TqlTreeListOptions{tloColumnMoving}, false},
  };
  for (const Case& c : cases) {
    MouseFixture f(c.options);
    const TPoint p = f.HeaderMiddle(1);
    input::Press(*f.g, p.X, p.Y);
    EXPECT_EQ(f.g->MouseFeedback().ColumnDown, 1);
    input::Move(*f.g, p.X + c.dx, p.Y + c.dy);
    const std::string where = std::to_string(c.dx) + "," + std::to_string(c.dy);
    EXPECT_EQ(f.g->State(), c.drags ? tsColumnDragging : tsColumnDown) << where;
    EXPECT_EQ(f.g->log, c.drags ? std::vector<std::string>{"drag c1"} : std::vector<std::string>{})
        << where;
    input::Release(*f.g, p.X + c.dx, p.Y + c.dy);
    EXPECT_EQ(f.g->State(), tsNormal) << where;
    EXPECT_EQ(f.g->MouseFeedback().ColumnDown, -1) << where;
  }
}

// The header stays pushed only while the mouse is over it; the release sorts only there.
TEST(TreeListMouse, HeaderClickCountsOnlyWhenReleasedOverThePressedHeader) {
  struct Case {
    const char* name;
    std::vector<int> moves;  // y offsets from the press (4 pixels: no drag)
    bool pushedAtRelease;
  } cases[] = {
      {"released in place", {}, true},
      {"moved off", {4}, false},
      {"moved off and back", {4, 0}, true},
  };
  for (const Case& c : cases) {
    MouseFixture f(kDefaultTreeListOptions + TqlTreeListOptions{tloAutoSort});
    int clicks = 0;
    f.g->OnColumnClick = [&](TObject*, TqlTreeListColumn*) { ++clicks; };
    const TqlHeaderCell header = f.Header(1);
    const TPoint p{Center(header.Rect).X, header.Rect.Bottom - 2};
    input::Press(*f.g, p.X, p.Y);
    for (int dy : c.moves) input::Move(*f.g, p.X, p.Y + dy);
    EXPECT_EQ(f.g->MouseFeedback().ColumnDown, c.pushedAtRelease ? 1 : -1) << c.name;
    const int y = c.moves.empty() ? p.Y : p.Y + c.moves.back();
    input::Release(*f.g, p.X, y);
    EXPECT_EQ(clicks, c.pushedAtRelease ? 1 : 0) << c.name;
    EXPECT_EQ(f.g->Columns(1)->Sorted(), c.pushedAtRelease ? csUp : csNone) << c.name;
  }
}

TEST(TreeListMouse, ColumnSizingKeepsTheEdgeBetweenMinimumAndBandOrClientRight) {
  struct Case {
    const char* name;
    bool bands;
    int column;
    int moveTo;      // x the edge is dragged to
    int limitRight;  // -1: the client's right; else the right of this visible band's cell
  } cases[] = {
      {"one band, far left", false, 1, 0, 0},
      {"one band, far right", false, 1, 1000, -1},
      {"bands, far right", true, 0, 1000, 0},
      {"released where pressed", false, 1, -1, 0},  // nothing repaints: the line must go
  };
  for (const Case& c : cases) {
    MouseFixture f(kDefaultTreeListOptions, c.bands);
    const TqlLayoutSnapshot s = f.g->BuildLayoutSnapshot();
    const int left = f.Header(c.column).Rect.Left;
    int expected = f.g->Columns(c.column)->MinWidth() + 1;  // the line stops at left + MinWidth
    const TPoint edge = f.HeaderEdge(c.column);
    const int x = c.moveTo < 0 ? edge.X : c.moveTo;
    if (c.moveTo < 0) {
      expected = f.Width(c.column);
    } else if (c.moveTo > left) {
      const int right = c.limitRight < 0 ? f.g->ClientWidth() - 1
                                         : s.BandCells[c.limitRight].Rect.Right;
      expected = right - left + 1;
    }
    input::Press(*f.g, edge.X, edge.Y);
    EXPECT_EQ(f.g->State(), tsColumnSizing) << c.name;
    input::Move(*f.g, x, edge.Y);
    EXPECT_TRUE(f.g->SizingLineShown()) << c.name;
    input::Release(*f.g, x, edge.Y);
    EXPECT_FALSE(f.g->SizingLineShown()) << c.name;
    EXPECT_EQ(f.Width(c.column), expected) << c.name;
    ExpectNoLeftovers(f, c.name);
  }
}

// The line inverts the window's pixels while the edge is held; cancelling takes it off and
// leaves the width.
TEST(TreeListMouse, SizingLineInvertsPixelsAndCancelRestoresThem) {
  MouseFixture f;
  const TPoint edge = f.HeaderEdge(0);
  const int x = edge.X + 30, y = f.CellMiddle(2, 1).Y;
  const TColor before = PixelAt(*f.g, x, y);
  input::Press(*f.g, edge.X, edge.Y);
  input::Move(*f.g, x, edge.Y);
  EXPECT_EQ(PixelAt(*f.g, x, y), before ^ 0xFFFFFF);
  f.g->Invalidate();  // a repaint while sizing keeps the line on the new picture
  f.form.Paint();
  EXPECT_EQ(PixelAt(*f.g, x, y), before ^ 0xFFFFFF);
  f.g->DispatchCancelMode();
  EXPECT_EQ(f.g->State(), tsNormal);
  EXPECT_EQ(PixelAt(*f.g, x, y), before);
  EXPECT_EQ(f.Width(0), 96);
}

TEST(TreeListMouse, DoubleClickOnAnEdgeGivesSizableColumnsTheirBestWidth) {
  const std::string longText = "a cell text far wider than its column";
  TCanvas measure;
  struct Case {
    const char* name;
    bool bandEdge;
    int column;      // whose text is long
    bool treeColumn; // measured with the root level's indent
  } cases[] = {
      {"header edge, tree column", false, 0, true},
      {"header edge, other column", false, 1, false},
      {"band edge", true, 0, true},
  };
  for (const Case& c : cases) {
    MouseFixture f(kDefaultTreeListOptions, c.bandEdge);
    f.g->NodeAtRowIndex(3)->SetText(c.column, longText);
    f.g->Columns(1 - c.column)->SetSizing(false);  // the other column keeps its width
    const int otherWidth = f.Width(1 - c.column);
    measure.Font = f.g->Font();
    const int margin = measure.TextWidth("0") / 2 + 1;
    const int expected = measure.TextWidth(longText) +
                         (c.treeColumn ? f.g->Metrics().LevelIndent : 0) + 2 * margin;
    TPoint p = f.HeaderEdge(c.column);
    if (c.bandEdge) {
      const TRect band = f.g->BuildLayoutSnapshot().BandCells[0].Rect;
      p = {band.Right - 2, Center(band).Y};
    }
    int changed = 0;
    f.g->OnChangedColumnsWidth = [&](TObject*) { ++changed; };
    input::Press(*f.g, p.X, p.Y);
    input::Release(*f.g, p.X, p.Y);
    input::DoubleClick(*f.g, p.X, p.Y);
    input::Release(*f.g, p.X, p.Y);
    EXPECT_EQ(f.Width(c.column), expected) << c.name;
    EXPECT_EQ(f.Width(1 - c.column), otherWidth) << c.name;
    EXPECT_EQ(changed, 1) << c.name;
    EXPECT_EQ(f.g->State(), tsNormal) << c.name;
    EXPECT_FALSE(f.g->SizingLineShown()) << c.name;
    ExpectNoLeftovers(f, c.name);
  }
}

TEST(TreeListMouse, RowPressFocusesTheCellUnderTheMouse) {
  MouseFixture f(kDefaultTreeListOptions - TqlTreeListOptions{tloRowSelect});
  int clicks = 0;
  f.g->OnClick = [&](TObject*) { ++clicks; };
  struct Case {
    int row, column;
  } cases[] = {{2, 1}, {2, 2}, {4, 0}, {0, 1}};
  for (const Case& c : cases) {
    const TPoint p = f.CellMiddle(c.row, c.column);
    input::Press(*f.g, p.X, p.Y);
    EXPECT_EQ(f.g->State(), tsNodeDown);
    EXPECT_EQ(f.g->FocusedRowIndex(), c.row);
    EXPECT_EQ(f.g->FocusedAbsoluteColumn(), c.column);
    input::Release(*f.g, p.X, p.Y);
    EXPECT_EQ(f.g->State(), tsNormal);
  }
  EXPECT_EQ(clicks, 4) << "one OnClick per click";
}

// A click on the focused cell opens the editor after the double-click time; a double click
// cancels the pending editor instead.
TEST(TreeListMouse, ClickOnTheFocusedCellOpensTheEditorUnlessADoubleClickFollows) {
  MouseFixture f(kDefaultTreeListOptions - TqlTreeListOptions{tloRowSelect});
  const TPoint p = f.CellMiddle(1, 1);
  input::Click(*f.g, p.X, p.Y);
  EXPECT_FALSE(f.g->HasTimer(2)) << "the click moved the focus";
  input::Click(*f.g, p.X, p.Y);
  ASSERT_TRUE(f.g->HasTimer(2));
  f.g->DispatchTimer(2);
  EXPECT_EQ(f.g->log, std::vector<std::string>{"editor"});
  EXPECT_FALSE(f.g->HasTimer(2));

  f.g->log.clear();
  int doubleClicks = 0;
  f.g->OnDblClick = [&](TObject*) { ++doubleClicks; };
  input::Click(*f.g, p.X, p.Y);
  input::DoubleClick(*f.g, p.X, p.Y);
  input::Release(*f.g, p.X, p.Y);
  EXPECT_FALSE(f.g->HasTimer(2));
  EXPECT_TRUE(f.g->log.empty());
  EXPECT_EQ(doubleClicks, 1);
}

// The editor delay is one timer for the whole process: a grid destroyed while its delay is
// pending gives it back, so another grid's click on its focused cell starts its own.
TEST(TreeListMouse, GridGoingAwayWithAPendingEditorDelayGivesTheTimerBack) {
  const TqlTreeListOptions options = kDefaultTreeListOptions - TqlTreeListOptions{tloRowSelect};
  MouseFixture f(options);
  auto gone = std::make_unique<MouseFixture>(options);  // alive together: two addresses
  const TPoint p = f.CellMiddle(1, 1);
  input::Click(*gone->g, p.X, p.Y);
  input::Click(*gone->g, p.X, p.Y);
  ASSERT_TRUE(gone->g->HasTimer(2));
  gone.reset();
  input::Click(*f.g, p.X, p.Y);
  input::Click(*f.g, p.X, p.Y);
  EXPECT_TRUE(f.g->HasTimer(2));
}

TEST(TreeListMouse, HotTrackingFollowsTheMouseWithTheOption) {
  struct Step {
    const char* name;
    int row, column;  // row -1: over column's header; column -1: the mouse leaves
    bool event;       // OnHotTrackNode raised
  };
  const std::vector<Step> steps = {
      {"cell", 2, 1, true},
      {"same cell", 2, 1, false},
      {"other cell", 3, 1, true},
      {"header", -1, 2, true},
      {"leave", 0, -1, true},
  };
  for (bool hotTrack : {true, false}) {
    MouseFixture f(kDefaultTreeListOptions +
                   (hotTrack ? TqlTreeListOptions{tloHotTrack} : TqlTreeListOptions{}));
    std::vector<TqlTreeListHotTrackInfo> events;
    f.g->OnHotTrackNode = [&](TObject*, const TqlTreeListHotTrackInfo& info, TCursor& cursor) {
      events.push_back(info);
      if (info.Node) cursor = crHandPoint;
    };
    for (const Step& s : steps) {
      events.clear();
      TqlTreeListNode* node = nullptr;
      if (s.column < 0) {
        f.g->DispatchMouseLeave();
      } else {
        const TPoint p = s.row < 0 ? f.HeaderMiddle(s.column) : f.CellMiddle(s.row, s.column);
        node = s.row < 0 ? nullptr : f.g->NodeAtRowIndex(s.row);
        input::Move(*f.g, p.X, p.Y);
      }
      const bool on = hotTrack && s.column >= 0;
      EXPECT_EQ(events.size(), hotTrack && s.event ? 1u : 0u) << s.name;
      EXPECT_EQ(f.g->MouseFeedback().HotNode, on ? node : nullptr) << s.name;
      EXPECT_EQ(f.g->MouseFeedback().HotColumn, on && node ? s.column : -1) << s.name;
      EXPECT_EQ(f.g->HotTrackInfo().HeaderPart,
                on && !node ? TqlHeaderPart::Body : TqlHeaderPart::None)
          << s.name;
      EXPECT_EQ(f.g->Cursor(), on && node ? crHandPoint : crDefault) << s.name;
      if (!events.empty()) {
        EXPECT_TRUE(events.back() == f.g->HotTrackInfo()) << s.name;
      }
    }
  }
}

// Anchor scrolling from a press at (500, 400) with a 32-pixel anchor bitmap: the direction and
// speed of mouse positions, by which scroll bars the grid has.
TEST(TreeListAnchorScroll, DirectionAndSpeedFollowTheMouse) {
  using D = TqlAnchorDirection;
  struct Case {
    bool horizontalBar, verticalBar;
    TPoint mouse;
    D direction;
    int speed;
  };
  const std::vector<Case> cases = {
      {true, true, {510, 410}, D::None, 0},
      {true, true, {516, 384}, D::None, 0},   // on the zone's edge: still inside
      {true, true, {517, 400}, D::Right, 1},
      {true, true, {500, 340}, D::Up, 9},
      {true, true, {440, 440}, D::Left, 9},   // farther off horizontally
      {true, true, {540, 440}, D::Down, 5},   // as far off both ways: vertical
      {true, true, {500, 1000}, D::Down, 12},  // at most 12
      {false, true, {700, 400}, D::None, 0},  // no horizontal bar: the zone spans the width
      {false, true, {700, 430}, D::Down, 3},
      {true, false, {500, 900}, D::None, 0},  // no vertical bar: the zone spans the height
      {true, false, {450, 900}, D::Left, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "bars " << c.horizontalBar << c.verticalBar << " at ("
                                    << c.mouse.X << ", " << c.mouse.Y << ")");
    TqlAnchorScroll anchor({500, 400}, 32, c.horizontalBar, c.verticalBar);
    anchor.MouseMove(c.mouse);
    EXPECT_EQ(anchor.Direction(), c.direction);
    EXPECT_EQ(anchor.Speed(), c.speed);
    EXPECT_EQ(anchor.LeftAnchor(), c.direction != D::None);
  }
}

// A line goes every (13 - speed)-th tick of the 20 ms timer; none in the neutral zone. Once the
// mouse has left the zone the mode ends on the next middle release, also back inside it.
TEST(TreeListAnchorScroll, TicksAndLeavingTheAnchor) {
  struct Case {
    TPoint mouse;
    int speed;
    int linesIn24Ticks;
  };
  for (const Case& c : std::vector<Case>{{{500, 1000}, 12, 24}, {{500, 417}, 1, 2},
                                         {{500, 420}, 1, 2}, {{500, 440}, 5, 3},
                                         {{500, 400}, 0, 0}}) {
    TqlAnchorScroll anchor({500, 400}, 32, true, true);
    anchor.MouseMove(c.mouse);
    ASSERT_EQ(anchor.Speed(), c.speed) << c.mouse.Y;
    int lines = 0;
    for (int tick = 0; tick < 24; ++tick) lines += anchor.Tick() ? 1 : 0;
    EXPECT_EQ(lines, c.linesIn24Ticks) << c.mouse.Y;
  }
  TqlAnchorScroll anchor({500, 400}, 32, true, true);
  anchor.MouseMove({505, 405});
  EXPECT_FALSE(anchor.LeftAnchor()) << "a click without moving leaves the mode on";
  anchor.MouseMove({500, 300});
  anchor.MouseMove({500, 400});
  EXPECT_TRUE(anchor.LeftAnchor());
  EXPECT_EQ(anchor.Direction(), TqlAnchorDirection::None);
}

// ===== header moving ==========================================================================

using DragFixture = GridFixture<DragGrid>;

// Logs every header-moving event of the grid as text.
void LogHeaderEvents(DragGrid& g, bool refuseDrop = false) {
  auto name = [](TqlTreeListColumn* c) { return c ? c->Caption() : std::string("?"); };
  g.OnStartHeaderDragging = [&g, name](TObject*, TqlTreeListColumn* c) {
    g.log.push_back("start " + name(c));
  };
  g.OnDragEndHeader = [&g, name, refuseDrop](TObject*, TqlTreeListColumn* c, TPoint,
                                             const TqlHeaderPosInfo& pos, bool& accept) {
    g.log.push_back("end " + name(c) + " " + std::to_string(pos.Column) + "/" +
                    std::to_string(pos.BandIndex) + "," + std::to_string(pos.RowIndex) + "," +
                    std::to_string(pos.ColIndex));
    if (refuseDrop) accept = false;
  };
  g.OnColumnMoved = [&g](TObject*, int from, int to) {
    g.log.push_back("moved " + std::to_string(from) + "->" + std::to_string(to));
  };
  g.OnHeaderMoved = [&g, name](TObject*, TqlTreeListColumn* c) { g.log.push_back("header " + name(c)); };
  g.OnHideHeader = [&g, name](TObject*, TqlTreeListColumn* c) { g.log.push_back("hide " + name(c)); };
}

// Captions of band 0's first header row in order.
std::string HeaderOrder(const TCustomqlTreeListControl& g) {
  std::string s;
  for (int i = 0; i < g.GetColumnCountInRow(0, 0); ++i)
    s += g.GetColumnCaption(g.GetColumnAt(0, 0, i));
  return s;
}

// Presses a header, moves past the drag threshold and then to `to`.
void DragHeader(DragFixture& f, int column, TPoint to) {
  const TPoint from = f.HeaderMiddle(column);
  input::Press(*f.g, from.X, from.Y);
  input::Move(*f.g, from.X + 10, from.Y, {ssLeft});
  ASSERT_EQ(f.g->State(), tsColumnDragging);
  input::Move(*f.g, to.X, to.Y, {ssLeft});
}

TEST(TreeListHeaderDrag, DropMovesHidesOrLeavesTheColumn) {
  const TqlTreeListOptions ext = kDefaultTreeListOptions + TqlTreeListOptions{tloExtCustomizing};
  const TPoint rows{200, 150};  // over the rows: outside the headers
  enum Where { AfterC2, BeforeC0, C1LeftHalf, Rows };
  struct Case {
    const char* why;
    TqlTreeListOptions options;
    int column;
    Where where;
    bool refuse;
    std::vector<int> hidden;   // columns hidden before the drag
    int disableCustomizing;    // column with DisableCustomizing, or -1
    const char* order;
    std::vector<std::string> log;
  };
  const std::vector<Case> cases = {
      {"after the last", kDefaultTreeListOptions, 0, AfterC2, false, {}, -1, "C1C2C0",
       {"start C0", "end C0 2/0,0,2", "moved 0->2", "header C0"}},
      {"before the first", kDefaultTreeListOptions, 2, BeforeC0, false, {}, -1, "C2C0C1",
       {"start C2", "end C2 0/0,0,0", "moved 2->0", "header C2"}},
      {"beside itself: no move", kDefaultTreeListOptions, 0, C1LeftHalf, false, {}, -1, "C0C1C2",
       {"start C0", "end C0 -2/-1,0,0", "moved 0->0"}},
      {"refused: OnColumnMoved still told", kDefaultTreeListOptions, 0, AfterC2, true, {}, -1,
       "C0C1C2", {"start C0", "end C0 2/0,0,2", "moved 0->2"}},
      {"outside without edgoExtCustomizing", kDefaultTreeListOptions, 1, Rows, false, {}, -1,
       "C0C1C2", {"start C1", "end C1 -1/-1,0,0", "moved 1->0"}},
      {"outside with edgoExtCustomizing: hidden", ext, 1, Rows, false, {}, -1, "C0C2",
       {"start C1", "end C1 -1/-1,0,0", "moved 1->0", "hide C1"}},
      {"DisableCustomizing keeps it", ext, 1, Rows, false, {}, 1, "C0C1C2",
       {"start C1", "end C1 -1/-1,0,0", "moved 1->0"}},
      {"the last visible column stays", ext, 0, Rows, false, {1, 2}, -1, "C0",
       {"start C0", "end C0 -1/-1,0,0", "moved 0->0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    DragFixture f(c.options);
    for (int column : c.hidden) f.g->Columns(column)->SetVisible(false);
    if (c.disableCustomizing >= 0) f.g->Columns(c.disableCustomizing)->SetDisableCustomizing(true);
    LogHeaderEvents(*f.g, c.refuse);
    TPoint to = rows;
    if (c.where == AfterC2) to = {f.Header(2).Rect.Right - 5, f.HeaderMiddle(2).Y};
    if (c.where == BeforeC0) to = {f.Header(0).Rect.Left + 3, f.HeaderMiddle(0).Y};
    if (c.where == C1LeftHalf) to = {f.Header(1).Rect.Left + 3, f.HeaderMiddle(1).Y};
    DragHeader(f, c.column, to);
    input::Release(*f.g, to.X, to.Y);
    EXPECT_EQ(HeaderOrder(*f.g), c.order);
    EXPECT_EQ(f.g->log, c.log);
    EXPECT_EQ(f.g->State(), tsNormal);
    EXPECT_FALSE(f.g->PressRecord().DropArrowsShown);
  }
}

// Escape or a right press ends the drag: nothing moves, no drop event, overlays gone.
TEST(TreeListHeaderDrag, CancelledDragMovesNothing) {
  for (bool byEscape : {true, false}) {
    SCOPED_TRACE(byEscape ? "Escape" : "right press");
    DragFixture f;
    LogHeaderEvents(*f.g);
    const TPoint to{f.Header(2).Rect.Right - 5, f.HeaderMiddle(2).Y};
    DragHeader(f, 0, to);
    ASSERT_TRUE(f.g->PressRecord().DropArrowsShown);
    if (byEscape) input::KeyDown(f.form.form(), VK_ESCAPE);
    else input::Press(*f.g, to.X, to.Y, {ssLeft}, mbRight);
    EXPECT_EQ(f.g->State(), tsNormal);
    input::Release(*f.g, to.X, to.Y);
    EXPECT_EQ(HeaderOrder(*f.g), "C0C1C2");
    EXPECT_EQ(f.g->log, std::vector<std::string>{"start C0"});
    EXPECT_FALSE(f.g->PressRecord().DropArrowsShown);
    ASSERT_NE(f.g->Input().HeaderDragImage(), nullptr);
    EXPECT_FALSE(f.g->Input().HeaderDragImage()->Visible());
  }
}

// The arrows and the drag image are overlays: they follow the mouse while the grid is not
// painted at all; the drop paints it once.
TEST(TreeListHeaderDrag, ArrowsFollowTheTargetWithoutRepainting) {
  DragFixture f;
  const TqlHeaderCell c1 = f.Header(1), c2 = f.Header(2);
  const TPoint start = f.HeaderMiddle(0);
  input::Press(*f.g, start.X, start.Y);
  input::Move(*f.g, start.X + 10, start.Y, {ssLeft});
  f.form.Paint();  // the pressed header let go
  const int paintsAtStart = f.g->paints;
  const TPoint hidden{-100, -100};
  struct Step {
    const char* why;
    TPoint mouse;
    TPoint arrows;  // client point of the arrows, or hidden
    TCursor cursor;
  };
  const Step steps[] = {
      {"right half of C2: after it", {c2.Rect.Right - 5, 8}, {c2.Rect.Right - 5, c2.Rect.Top - 9}, crDefault},
      {"left half of C1: no move, arrows stay", {c1.Rect.Left + 3, 8}, {c2.Rect.Right - 5, c2.Rect.Top - 9}, crDefault},
      {"over the rows: hide", {200, 150}, hidden, crqlTLDelete},
      {"left half of C2: before it", {c2.Rect.Left + 3, 8}, {c2.Rect.Left - 5, c2.Rect.Top - 9}, crDefault},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.why);
    input::Move(*f.g, step.mouse.X, step.mouse.Y, {ssLeft});
    const TPoint expected = step.arrows == hidden ? hidden : f.g->ClientToScreen(step.arrows);
    EXPECT_EQ(f.g->PressRecord().DropArrowPos, expected);
    EXPECT_EQ(f.g->PressRecord().DropArrowsShown, !(step.arrows == hidden));
    EXPECT_EQ(f.g->Input().HeaderDragCursor(), step.cursor);
    const TScreenOverlay* image = f.g->Input().HeaderDragImage();
    ASSERT_NE(image, nullptr);
    ASSERT_TRUE(image->Visible());
    const TPoint centre{image->Position().X + image->Picture().Width() / 2,
                        image->Position().Y + image->Picture().Height() / 2};
    EXPECT_EQ(centre, f.g->ClientToScreen(step.mouse)) << "the image's centre on the mouse";
    f.form.Paint();
    EXPECT_EQ(f.g->paints, paintsAtStart) << "no paint while dragging";
  }
  const TScreenOverlay* arrows = f.g->Input().DropArrows();
  ASSERT_NE(arrows, nullptr);
  EXPECT_EQ(arrows->Picture().Width(), 11);
  EXPECT_EQ(arrows->Picture().Height(), 9 + c2.Rect.Height() + 9);
  input::Release(*f.g, c2.Rect.Left + 3, 8);
  f.form.Paint();
  EXPECT_EQ(f.g->paints, paintsAtStart + 1);
  EXPECT_EQ(HeaderOrder(*f.g), "C1C0C2");
  f.g->SetFocus();
  input::KeyDown(f.form.form(), VK_INSERT, {ssCtrl});
  EXPECT_EQ(ClipboardGetText().substr(0, 10), "C1\tC0\tC2\r\n") << "captions in their new order";
}

// Near the left edge of the scrolling headers the grid scrolls left by 32 pixels a tick
// until the left coordinate is 0, then the timer stops; the right edge scrolls the other way.
TEST(TreeListHeaderDrag, EdgeScrollingMoves32PixelsATick) {
  DragFixture f;
  for (int i = 0; i < 3; ++i) f.g->Columns(i)->SetWidth(300);
  f.g->SetLeftCoord(80);
  ASSERT_EQ(f.g->LeftCoord(), 80);
  const auto frame = f.g->LayoutFrame();
  DragHeader(f, 1, {frame->ScrollAreaLeft + 5, 8});
  std::vector<int> lefts;
  for (int tick = 0; tick < 4 && f.g->HasTimer(1); ++tick) {
    f.g->DispatchTimer(1);
    lefts.push_back(f.g->LeftCoord());
  }
  EXPECT_EQ(lefts, (std::vector<int>{48, 16, 0, 0}));
  EXPECT_FALSE(f.g->HasTimer(1)) << "stops at 0";
  input::Move(*f.g, frame->ScrollAreaRight - 3, 8, {ssLeft});
  ASSERT_TRUE(f.g->HasTimer(1));
  f.g->DispatchTimer(1);
  EXPECT_EQ(f.g->LeftCoord(), 32);
  input::Move(*f.g, 200, 8, {ssLeft});
  EXPECT_FALSE(f.g->HasTimer(1)) << "away from the edges";
  input::KeyDown(f.form.form(), VK_ESCAPE);
}

// Band headers: moved after another band, hidden outside the band panel with
// edgoExtCustomizing, or left where they are when OnDragEndBand refuses.
TEST(TreeListHeaderDrag, BandDropMovesOrHidesTheBand) {
  const TqlTreeListOptions ext = kDefaultTreeListOptions + TqlTreeListOptions{tloExtCustomizing};
  struct Case {
    const char* why;
    TqlTreeListOptions options;
    bool toRows;
    bool refuse;
    const char* firstColumns;  // the first column of each visible band
    const char* log;
  };
  const Case cases[] = {
      {"after band 1", kDefaultTreeListOptions, false, false, "C2C0", "end 0 0 1;"},
      {"refused", kDefaultTreeListOptions, false, true, "C0C2", "end 0 0 1;"},
      {"outside without edgoExtCustomizing", kDefaultTreeListOptions, true, false, "C0C2", "end 0 0 -1;"},
      {"outside with edgoExtCustomizing", ext, true, false, "C2", "end 0 0 -1;hide;"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    DragFixture f(c.options, true);
    std::string log;
    f.g->OnDragEndBand = [&](TObject*, TqlTreeListBand*, TPoint, int absolute, int visible,
                             int newIndex, bool& accept) {
      log += "end " + std::to_string(absolute) + " " + std::to_string(visible) + " " +
             std::to_string(newIndex) + ";";
      if (c.refuse) accept = false;
    };
    f.g->OnHideBand = [&](TObject*, TqlTreeListBand*) { log += "hide;"; };
    const auto frame = f.g->LayoutFrame();
    ASSERT_EQ(frame->BandCells.size(), 2u);
    const TPoint from = Center(frame->BandCells[0].Rect);
    const TPoint to = c.toRows ? TPoint{200, 150}
                               : TPoint{frame->BandCells[1].Rect.Right - 5, from.Y};
    input::Press(*f.g, from.X, from.Y);
    input::Move(*f.g, from.X + 10, from.Y, {ssLeft});
    ASSERT_EQ(f.g->State(), tsBandDragging);
    input::Move(*f.g, to.X, to.Y, {ssLeft});
    input::Release(*f.g, to.X, to.Y);
    std::string firstColumns;
    for (int band = 0; band < f.g->Bands().VisibleCount(); ++band)
      firstColumns += f.g->GetColumnCaption(f.g->GetColumnAt(band, 0, 0));
    EXPECT_EQ(firstColumns, c.firstColumns);
    EXPECT_EQ(log, c.log);
  }
}

// ===== anchor scrolling =======================================================================

// A grid with many rows and a wide column, so both scroll bars show.
void FillForScrolling(DragFixture& f) {
  f.g->Columns(2)->SetWidth(900);
  for (int i = 5; i < 60; ++i) f.g->Add()->SetText(0, "r" + std::to_string(i));
}

// The middle button shows the anchor centred on the press; a click without moving leaves the
// mode on, another button's press ends it; moving out of the neutral zone and releasing ends
// it; Escape ends it; the timer scrolls a line toward the mouse at the speed it sets.
TEST(TreeListAnchorScroll, MiddleButtonModeStartsScrollsAndEnds) {
  struct Case {
    const char* why;
    TPoint move;          // from the press, before the release of the middle button
    bool activeAfterRelease;
  };
  const Case cases[] = {
      {"click without moving", {0, 0}, true},
      {"moved down far: fast", {0, 80}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    DragFixture f;
    FillForScrolling(f);
    ASSERT_TRUE(f.g->GetScrollInfo(sbVertical).Visible && f.g->GetScrollInfo(sbHorizontal).Visible);
    const TPoint p = f.CellMiddle(1, 1);
    input::Press(*f.g, p.X, p.Y, {}, mbMiddle);
    const TqlAnchorMode* mode = f.g->Input().AnchorMode();
    ASSERT_NE(mode, nullptr);
    ASSERT_TRUE(mode->Active());
    const TScreenOverlay& anchor = mode->Anchor();
    EXPECT_EQ(anchor.Picture().Width(), 32);
    EXPECT_EQ(anchor.Position(), f.g->ClientToScreen({p.X - 16, p.Y - 16})) << "centred";
    EXPECT_EQ(ScreenCursor(), crqlTLFullScroll);
    if (c.move.Y != 0) {
      input::Move(*f.g, p.X + c.move.X, p.Y + c.move.Y, {ssMiddle});
      EXPECT_EQ(ScreenCursor(), crqlTLDownScroll);
      EXPECT_EQ(mode->Scroll().Speed(), 12);
      for (int tick = 0; tick < 12; ++tick) f.g->DispatchTimer(kqlAnchorScrollTimerId);
      EXPECT_EQ(f.g->TopRowIndex(), 12) << "a line every tick at speed 12";
    }
    input::Release(*f.g, p.X + c.move.X, p.Y + c.move.Y, {}, mbMiddle);
    EXPECT_EQ(mode->Active(), c.activeAfterRelease);
    if (mode->Active()) {
      input::Press(*f.g, p.X, p.Y, {}, mbLeft);
      EXPECT_FALSE(mode->Active()) << "another button ends it";
      EXPECT_EQ(f.g->State(), tsNormal) << "the ending press does nothing else";
    }
    EXPECT_FALSE(anchor.Visible());
    EXPECT_EQ(ScreenCursor(), crDefault);
    EXPECT_FALSE(f.g->HasTimer(kqlAnchorScrollTimerId));
    EXPECT_EQ(CurrentInputTracker(), nullptr);
  }
  DragFixture f;
  FillForScrolling(f);
  const TPoint p = f.CellMiddle(1, 1);
  input::Press(*f.g, p.X, p.Y, {}, mbMiddle);
  EXPECT_TRUE(input::KeyDown(f.form.form(), 'A')) << "keys are swallowed";
  EXPECT_TRUE(f.g->Input().AnchorMode()->Active());
  input::KeyDown(f.form.form(), VK_ESCAPE);
  EXPECT_FALSE(f.g->Input().AnchorMode()->Active());
}

// ===== node drag-and-drop =====================================================================

// A tree: "a" with children "a0" and "a1" (closed), then "b"; drags start from "b".
struct TreeFixture : DragFixture {
  TqlTreeListNode* a = nullptr;
  TqlTreeListNode* b = nullptr;
  explicit TreeFixture(TqlTreeListOptions options) : DragFixture(options) {
    g->ClearNodes();
    g->SetPaintStyle(TqlPaintStyle::Tree);
    a = g->Add();
    a->SetText(0, "a");
    a->AddChild()->SetText(0, "a0");
    a->AddChild()->SetText(0, "a1");
    b = g->Add();
    b->SetText(0, "b");
    g->SetDragMode(dmAutomatic);
  }
  TPoint ExpandButton(TqlTreeListNode* node) const {
    const TRect row = g->NodeRect(node);
    for (int x = row.Left; x < row.Right; ++x)
      if (g->GetHitInfo({x, (row.Top + row.Bottom) / 2}).Area == haExpandButton)
        return {x + 2, (row.Top + row.Bottom) / 2};
    ADD_FAILURE() << "no expand button";
    return {};
  }
  void StartDragFromB() {
    const TPoint p = Center(g->CellRect(b, 0));
    input::Press(*g, p.X, p.Y);
    input::Move(*g, p.X + 10, p.Y, {ssLeft});
  }
};

// Resting on a closed node's button opens it after WaitForExpandNodeTime; with
// tloDragCollapse the node toggles and the wait doubles.
TEST(TreeListNodeDrag, DragExpandAfterTheWait) {
  for (bool collapse : {false, true}) {
    SCOPED_TRACE(collapse ? "tloDragCollapse" : "tloDragExpand only");
    TqlTreeListOptions options = kDefaultTreeListOptions + TqlTreeListOptions{tloDragExpand};
    if (collapse) options.include(tloDragCollapse);
    TreeFixture f(options);
    f.g->SetWaitForExpandNodeTime(300);
    std::vector<std::string> log;
    f.g->OnBeginDragNode = [&](TObject*, TqlTreeListNode* node) { log.push_back("begin " + node->Text(0)); };
    f.StartDragFromB();
    ASSERT_EQ(f.g->State(), tsNodeDragging);
    EXPECT_EQ(log, std::vector<std::string>{"begin b"});
    const TPoint button = f.ExpandButton(f.a);
    input::Move(*f.g, button.X, button.Y, {ssLeft});
    EXPECT_EQ(f.g->TimerInterval(kqlDragExpandTimerId), 300);
    EXPECT_FALSE(f.a->Expanded()) << "not before the wait";
    f.g->DispatchTimer(kqlDragExpandTimerId);
    EXPECT_TRUE(f.a->Expanded());
    EXPECT_EQ(f.g->TimerInterval(kqlDragExpandTimerId), collapse ? 600 : 0);
    if (collapse) {
      f.g->DispatchTimer(kqlDragExpandTimerId);
      EXPECT_FALSE(f.a->Expanded()) << "toggled back";
    }
    input::Release(*f.g, button.X, button.Y);
    EXPECT_EQ(f.g->State(), tsNormal);
    EXPECT_EQ(f.g->DragNode(), nullptr);
  }
}

// The drag image is the focused cell 26 wider and 6 taller on the grid's colour, with the
// text OnGetNodeDragText gives; the cursor counts the selected nodes.
TEST(TreeListNodeDrag, DragImageAndCursor) {
  TreeFixture f(kDefaultTreeListOptions);
  f.g->OnGetNodeDragText = [](TObject*, TqlTreeListNode*, int, std::string& text) { text = "拖动 " + text; };
  const TRect cell = f.g->CellRect(f.b, 0);
  f.StartDragFromB();
  const TDragObject* drag = CurrentDragObject();
  ASSERT_NE(drag, nullptr);
  EXPECT_EQ(drag->DragImage().Width(), cell.Width() + 26);
  EXPECT_EQ(drag->DragImage().Height(), cell.Height() + 6);
  EXPECT_EQ(drag->DragImage().GetPixel(5, 2), ColorToRGB(f.g->Color())) << "left of the focus rectangles";
  EXPECT_EQ(ScreenCursor(), crNoDrop) << "nothing accepts it without OnDragOver";
  input::KeyDown(f.form.form(), VK_ESCAPE);
  EXPECT_EQ(f.g->State(), tsNormal);
  EXPECT_EQ(CurrentDragObject(), nullptr);
}

// With tloDragScroll the row under a node drag takes the focus; at the last full row the row
// scroll moves the focus down a row a tick while the mouse stays over the grid.
TEST(TreeListNodeDrag, DragScrollFocusesAndScrollsRows) {
  TreeFixture f(kDefaultTreeListOptions + TqlTreeListOptions{tloDragScroll} -
                TqlTreeListOptions{tloRowSelect});
  for (int i = 0; i < 30; ++i) f.g->Add()->SetText(0, "n" + std::to_string(i));
  f.StartDragFromB();
  const int lastFull = f.g->Metrics().FullRowCount - 1;
  TqlTreeListNode* node = f.g->NodeAtRowIndex(lastFull);
  const TPoint over = Center(f.g->CellRect(node, 1));
  input::Move(*f.g, over.X, over.Y, {ssLeft});
  EXPECT_EQ(f.g->FocusedNode(), node);
  EXPECT_EQ(f.g->FocusedColumn(), f.g->AbsoluteToFocusIndex(1)) << "the cell under the mouse";
  ASSERT_EQ(f.g->TimerInterval(1), 100);
  f.g->DispatchTimer(1);
  f.g->DispatchTimer(1);
  EXPECT_EQ(f.g->FocusedRowIndex(), lastFull + 2);
  input::CursorTo(*f.g, 500, 10);  // off the grid: the scroll stops
  f.g->DispatchTimer(1);
  EXPECT_EQ(f.g->FocusedRowIndex(), lastFull + 2);
  EXPECT_FALSE(f.g->HasTimer(1));
  input::KeyDown(f.form.form(), VK_ESCAPE);
}

}  // namespace
