// Drag and drop of controls: the order of the events a source and its targets get, how a
// drag ends, when a waiting drag starts, the cursor and the drag image, and controls freed
// in the middle of a drag.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/ui/drag_manager.h"
#include "platform/ui/input_tracker.h"
#include "platform/ui/screen_overlay.h"
#include "platform/ui/services.h"
#include "platform/ui/win_control.h"
#include "tests/support/synthetic_input.h"
#include "tests/support/test_form.h"

namespace {

using Log = std::vector<std::string>;

std::string at(int x, int y) { return "@" + std::to_string(x) + "," + std::to_string(y); }

std::string nameOf(TObject* object) {
  auto* component = dynamic_cast<TComponent*>(object);
  return component ? component->Name() : "-";
}

// A drag object with a picture and a cursor of its own over accepting targets.
class PictureDragObject : public TDragObject {
 public:
  using TDragObject::TDragObject;
  TCursor GetDragCursor(bool accepted, TPoint screenPos) override {
    return accepted ? crHandPoint : TDragObject::GetDragCursor(accepted, screenPos);
  }
};

// A form (client (0, 0) at screen (100, 100)) with two watched controls: A at (10, 10) and B
// at (100, 10), 50 x 40 each; the rest of the form takes no drops.
// Members are public: the cases' lambdas reach them through the fixture.
class DragTest : public ::testing::Test {
 public:
  DragTest() {
    a = add("A", 10);
    b = add("B", 100);
    shown.Show();
    form.OnKeyDown = [this](TObject*, uint16_t& key, TShiftState) { log.push_back("key" + std::to_string(key)); };
  }
  ~DragTest() override {
    if (a) a->EndDrag(false);
    SetScreenCursor(crDefault);
  }

  TCustomControl* add(const std::string& name, int left) {
    auto* c = shown.Add<TCustomControl>(left, 10, 50, 40);
    c->SetName(name);
    accepts[c] = true;
    c->OnStartDrag = [this, name](TObject*, TDragObject*& object) {
      log.push_back(name + ":start");
      object = supplied.get();
    };
    // Accept is left as it comes in: true because the handler is assigned.
    c->OnDragOver = [this, c, name](TObject*, TObject* source, int x, int y, TDragState state, bool& accept) {
      static const char* states[] = {"enter", "leave", "move"};
      log.push_back(name + ":" + states[state] + (state == dsDragLeave ? "" : at(x, y)));
      if (!accepts[c]) accept = false;
      lastSource = source;
    };
    c->OnDragDrop = [this, name](TObject*, TObject* source, int x, int y) {
      log.push_back(name + ":drop(" + nameOf(source) + ")" + at(x, y));
      if (onDrop) onDrop();
    };
    c->OnEndDrag = [this, name](TObject*, TObject* target, int x, int y) {
      log.push_back(name + ":end(" + nameOf(target) + ")" + at(x, y));
    };
    c->OnClick = [this, name](TObject*) { log.push_back(name + ":click"); };
    return c;
  }

  // Presses on A and starts dragging it at once.
  void startDragOnA() {
    input::Press(*a, 5, 5);
    a->BeginDrag(true);
  }

  void expectDragOver() {
    EXPECT_EQ(CurrentInputTracker(), nullptr) << "the mouse is given back";
    EXPECT_EQ(DragSourceControl(), nullptr);
    EXPECT_EQ(ScreenCursor(), crDefault) << "the cursor comes back";
    EXPECT_EQ(DragImageOverlay(), nullptr);
    EXPECT_EQ(form.CaptureControl(), nullptr) << "no control is left holding the mouse";
  }

  Log log;
  TestForm shown{Bounds(100, 100, 320, 240)};
  TForm& form = shown.form();
  TCustomControl* a = nullptr;
  TCustomControl* b = nullptr;
  std::map<TControl*, bool> accepts;
  TObject* lastSource = nullptr;
  std::unique_ptr<TDragObject> supplied;  // what OnStartDrag hands the manager, if set
  std::function<void()> onDrop;
};

TEST_F(DragTest, TargetsGetEnterMoveLeaveThenTheDropThenTheSourceItsEnd) {
  a->SetDragCursor(crMultiDrag);
  startDragOnA();
  EXPECT_TRUE(a->Dragging());
  b->BeginDrag(true);
  EXPECT_FALSE(b->Dragging()) << "one drag at a time";
  EXPECT_EQ(ScreenCursor(), crMultiDrag) << "the source's drag cursor over an accepting target";

  input::Move(*b, 5, 5);
  input::Move(*b, 6, 7);
  EXPECT_EQ(lastSource, a) << "targets are told the source control";
  EXPECT_TRUE(input::KeyDown(form, VK_F2)) << "keys are used up while dragging";
  input::Release(*b, 6, 7);
  EXPECT_EQ(log, (Log{"A:start", "A:enter@5,5", "A:leave", "B:enter@5,5", "B:move@6,7", "B:leave",
                      "B:drop(A)@6,7", "A:end(B)@6,7"}));
  EXPECT_FALSE(a->Dragging());
  expectDragOver();
}

TEST_F(DragTest, EachWayOfEndingTellsTheSourceWhereItWasDropped) {
  const Log dropped{"B:leave", "B:drop(A)@5,5", "A:end(B)@5,5"};
  const Log notDropped{"B:leave", "A:end(-)@0,0"};
  struct Case {
    const char* name;
    bool targetAccepts;
    std::function<void(DragTest&)> end;
    const Log& expected;
    bool cancelled;
  };
  const std::vector<Case> cases = {
      {"left release, accepted", true, [](DragTest& t) { input::Release(*t.b, 5, 5); }, dropped, false},
      {"left release, refused", false, [](DragTest& t) { input::Release(*t.b, 5, 5); }, notDropped, false},
      {"Escape", true, [](DragTest& t) { input::KeyDown(t.form, VK_ESCAPE); }, notDropped, true},
      {"right press", true, [](DragTest& t) { input::Press(*t.b, 5, 5, {}, mbRight); }, notDropped, true},
      {"EndDrag(true)", true, [](DragTest& t) { t.a->EndDrag(true); }, dropped, false},
      {"EndDrag(false)", true, [](DragTest& t) { t.a->EndDrag(false); }, notDropped, true},
      {"window system cancel", true, [](DragTest&) { CancelInputTracking(); }, notDropped, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    supplied = std::make_unique<TDragObject>(a);
    accepts[b] = c.targetAccepts;
    startDragOnA();
    input::Move(*b, 5, 5);
    EXPECT_EQ(ScreenCursor(), c.targetAccepts ? crDrag : crNoDrop);
    log.clear();
    c.end(*this);
    EXPECT_EQ(log, c.expected);
    EXPECT_EQ(supplied->Cancelled(), c.cancelled);
    EXPECT_EQ(supplied->DragTarget(), c.expected == dropped ? b : nullptr);
    expectDragOver();
    input::Release(*b, 5, 5, {}, mbRight);  // let go of the right button of "right press"
  }
}

TEST_F(DragTest, AWaitingDragStartsOnceTheMouseHasMovedTheThreshold) {
  struct Case {
    const char* name;
    bool automatic;  // DragMode dmAutomatic, else BeginDrag(false, threshold)
    int threshold;
    TPoint by;
    bool starts;
  };
  const std::vector<Case> cases = {
      {"automatic, 3 px of the system's 4", true, -1, {3, -3}, false},
      {"automatic, 4 px", true, -1, {4, 0}, true},
      {"given 10, 9 px", false, 10, {9, 9}, false},
      {"given 10, 10 px up", false, 10, {0, -10}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    log.clear();
    a->SetDragMode(c.automatic ? dmAutomatic : dmManual);
    input::Press(*a, 20, 20);
    if (!c.automatic) a->BeginDrag(false, c.threshold);
    EXPECT_TRUE(a->Dragging()) << "waiting counts as dragging";
    input::Move(*a, 20 + c.by.X, 20 + c.by.Y);
    EXPECT_EQ(!log.empty() && log.front() == "A:start", c.starts);
    input::Release(*a, 20 + c.by.X, 20 + c.by.Y);
    EXPECT_EQ(std::count(log.begin(), log.end(), "A:click"), c.starts ? 0 : 1)
        << "a release before the threshold is an ordinary click";
    EXPECT_EQ(std::count(log.begin(), log.end(), "A:end(A)@" + std::to_string(20 + c.by.X) + "," +
                                                     std::to_string(20 + c.by.Y)),
              c.starts ? 1 : 0);
    expectDragOver();
  }
}

TEST_F(DragTest, ControlsFreedDuringTheDragAreNotTouchedAgain) {
  struct Case {
    const char* name;
    std::function<void(DragTest&)> act;  // with the drag over B
    Log expected;
  };
  auto freeA = [](DragTest& t) {
    delete t.a;
    t.a = nullptr;
  };
  auto freeB = [](DragTest& t) {
    delete t.b;
    t.b = nullptr;
  };
  const std::vector<Case> cases = {
      {"target freed, the drag goes on",
       [&](DragTest& t) {
         freeB(t);
         input::Move(t.form, 120, 20);  // where B was: the form, which takes no drops
         input::Release(t.form, 120, 20);
       },
       {"A:end(-)@0,0"}},
      {"source freed: the drag ends without a word", [&](DragTest& t) { freeA(t); }, {}},
      {"drop handler frees the source",
       [&](DragTest& t) {
         t.onDrop = [&t, &freeA] { freeA(t); };
         input::Release(*t.b, 5, 5);
       },
       {"B:leave", "B:drop(A)@5,5"}},
      {"drop handler frees the target",
       [&](DragTest& t) {
         t.onDrop = [&t, &freeB] { freeB(t); };
         input::Release(t.form, 105, 15);
       },
       {"B:leave", "B:drop(A)@5,5", "A:end(-)@0,0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!a) a = add("A", 10);
    if (!b) b = add("B", 100);
    onDrop = nullptr;
    startDragOnA();
    input::Move(*b, 5, 5);
    log.clear();
    c.act(*this);
    EXPECT_EQ(log, c.expected);
    expectDragOver();
  }
}

TEST_F(DragTest, TheDragImageFollowsTheCursorWithItsHotSpotUnderIt) {
  auto object = std::make_unique<PictureDragObject>(a);
  object->SetDragImage(TBitmap(16, 8), {4, 2});
  supplied = std::move(object);
  startDragOnA();  // screen (115, 115)
  const TScreenOverlay* overlay = DragImageOverlay();
  ASSERT_NE(overlay, nullptr);
  EXPECT_TRUE(overlay->Visible());
  EXPECT_EQ(overlay->Position(), (TPoint{111, 113}));
  EXPECT_EQ(overlay->Picture().Width(), 16);

  struct Step {
    TPoint formPos;
    TCursor cursor;
  };
  for (const Step& s : {Step{{105, 15}, crHandPoint}, Step{{200, 150}, crNoDrop}, Step{{400, 300}, crNoDrop}}) {
    SCOPED_TRACE(s.formPos.X);
    input::Move(form, s.formPos.X, s.formPos.Y);  // the last one outside the form
    EXPECT_EQ(DragImageOverlay()->Position(), (TPoint{s.formPos.X + 96, s.formPos.Y + 98}));
    EXPECT_EQ(ScreenCursor(), s.cursor);
  }

  supplied->SetDragImage(TBitmap(), {0, 0});
  input::Move(form, 105, 15);
  EXPECT_EQ(DragImageOverlay(), nullptr) << "an emptied picture is hidden";
  input::KeyDown(form, VK_ESCAPE);
  expectDragOver();
}

}  // namespace
