// Delivery orders of the control tree's messages, as the controls above rely on them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/services.h"
#include "platform/ui/toolkit.h"

namespace {

using Log = std::vector<std::string>;

class LoggingControl : public TCustomControl {
 public:
  LoggingControl(TComponent* owner, Log& log, std::string name) : TCustomControl(owner), log_(log) {
    SetName(name);
    SetTabStop(true);
  }
  Log& log_;
  TRect lastPaintClip;
  bool throwInPaint = false;

 protected:
  void WMMouse(TWMMouse& msg) override {
    static const char* kinds[] = {"press", "release", "move", "dblclick"};
    log_.push_back(Name() + ":" + kinds[msg.Kind] + "@" + std::to_string(msg.Pos.X) + "," +
                   std::to_string(msg.Pos.Y));
    TCustomControl::WMMouse(msg);
  }
  void Click() override { log_.push_back(Name() + ":click"); }
  void DblClick() override { log_.push_back(Name() + ":dblclickevent"); }
  void MouseUp(TMouseButton, TShiftState, int, int) override { log_.push_back(Name() + ":mouseup"); }
  void CMMouseEnter() override { log_.push_back(Name() + ":enter"); }
  void CMMouseLeave() override { log_.push_back(Name() + ":leave"); }
  void WMSetFocus() override { log_.push_back(Name() + ":setfocus"); }
  void WMKillFocus() override { log_.push_back(Name() + ":killfocus"); }
  void CMEnter() override { log_.push_back(Name() + ":cmenter"); }
  void CMExit() override { log_.push_back(Name() + ":cmexit"); }
  void WMTimer(int id) override { log_.push_back(Name() + ":timer" + std::to_string(id)); }
  void Paint() override {
    lastPaintClip = Canvas().ClipRect();
    if (throwInPaint) {
      Canvas().IntersectClipRect(0, 0, 1, 1);
      Canvas().SetViewportOrg(7, 7);
      throw Exception("paint failed");
    }
    Canvas().Brush.SetColor(clRed);
    Canvas().FillRect(ClientRect());
  }

 private:
};

// A panel that offers its aligned children the client area inset by one pixel.
class InsetPanel : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  void AdjustClientRect(TRect& rect) const override { rect = rect.Inflate(-1, -1); }
};

class MessagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureTestApplication();
    form = new TForm(Application);
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, 200, 100);
    a = new LoggingControl(form, log, "A");
    a->SetBounds(10, 10, 50, 40);
    a->SetParent(form);
    b = new LoggingControl(form, log, "B");
    b->SetBounds(100, 10, 50, 40);
    b->SetParent(form);
    form->Show();
    log.clear();
  }
  void TearDown() override {
    delete form;
    SetCursorPos({-10000, -10000});
    Application->DoIdle();
  }
  void mouse(TMouseMessageKind kind, TPoint pos, TShiftState shift = {}) {
    form->HandleMouse(kind, mbLeft, pos, shift);
  }

  Log log;
  TForm* form = nullptr;
  LoggingControl* a = nullptr;
  LoggingControl* b = nullptr;
};

TEST_F(MessagesTest, PressMoveReleaseThenClickInsideTheRelease) {
  mouse(mmDown, {20, 20}, {ssLeft});
  mouse(mmMove, {25, 22}, {ssLeft});
  mouse(mmUp, {25, 22});
  EXPECT_EQ(log, (Log{"A:press@10,10", "A:move@15,12", "A:release@15,12", "A:click", "A:mouseup"}));
}

TEST_F(MessagesTest, DoubleClickArrivesAsPressReleaseDoubleClickRelease) {
  mouse(mmDown, {20, 20}, {ssLeft});
  mouse(mmUp, {20, 20});
  mouse(mmDblClick, {20, 20}, {ssLeft});
  mouse(mmUp, {20, 20});
  EXPECT_EQ(log, (Log{"A:press@10,10", "A:release@10,10", "A:click", "A:mouseup",
                      "A:dblclick@10,10", "A:dblclickevent", "A:release@10,10", "A:mouseup"}));
}

TEST_F(MessagesTest, CaptureKeepsTheMouseWhileAButtonIsHeld) {
  mouse(mmDown, {20, 20}, {ssLeft});
  mouse(mmMove, {120, 20}, {ssLeft});  // over B, still A's
  mouse(mmUp, {120, 20});
  mouse(mmMove, {120, 20});            // released: B's again
  EXPECT_EQ(log, (Log{"A:press@10,10", "A:move@110,10", "A:release@110,10", "A:mouseup",
                      "B:move@20,10"}));
}

TEST_F(MessagesTest, EnterAndLeaveAtIdleIncludeDisabledControls) {
  b->SetEnabled(false);
  SetCursorPos(a->ClientToScreen({5, 5}));
  Application->DoIdle();
  Application->DoIdle();  // nothing new: no second enter
  SetCursorPos(b->ClientToScreen({5, 5}));
  Application->DoIdle();
  SetCursorPos(form->ClientToScreen({80, 80}));
  Application->DoIdle();
  EXPECT_EQ(log, (Log{"A:enter", "A:leave", "B:enter", "B:leave"}));
  EXPECT_EQ(Application->MouseControl(), form);
}

TEST_F(MessagesTest, FocusMovesWithKillSetThenExitEnter) {
  a->SetFocus();
  log.clear();
  b->SetFocus();
  EXPECT_EQ(log, (Log{"A:killfocus", "B:setfocus", "A:cmexit", "B:cmenter"}));
  log.clear();
  form->HandleKeyDown(VK_TAB, {});  // neither wants tabs: the form moves on
  EXPECT_EQ(form->ActiveControl(), a);
}

TEST_F(MessagesTest, TimersAreDeliveredByIdentifier) {
  a->SetTimer(7, 1);
  a->SetTimer(9, 1);
  b->SetTimer(7, 1);
  a->KillTimer(9);
  EXPECT_TRUE(a->HasTimer(7));
  EXPECT_FALSE(a->HasTimer(9));
  auto seen = [&](const std::string& s) { return std::find(log.begin(), log.end(), s) != log.end(); };
  uint32_t deadline = GetTickCount() + 5000;
  Application->RunLoopUntil([&] { return (seen("A:timer7") && seen("B:timer7")) || GetTickCount() > deadline; });
  a->KillTimer(7);
  b->KillTimer(7);
  EXPECT_TRUE(seen("A:timer7"));
  EXPECT_TRUE(seen("B:timer7"));
  EXPECT_FALSE(seen("A:timer9"));
}

TEST_F(MessagesTest, PaintIsClippedToTheUpdateRegion) {
  form->PaintPending();
  a->InvalidateRect({5, 6, 15, 16});
  form->PaintPending();
  EXPECT_EQ(a->lastPaintClip, (TRect{5, 6, 15, 16}));
  EXPECT_EQ(form->Image().GetPixel(10, 10), clRed);   // A's top-left
  EXPECT_EQ(form->Image().GetPixel(9, 10), ColorToRGB(clBtnFace));  // the form around it
}

TEST_F(MessagesTest, AnExceptionInPaintReleasesTheCanvasState) {
  a->throwInPaint = true;
  a->Invalidate();
  EXPECT_THROW(form->PaintPending(), Exception);
  TCanvas& canvas = form->Image().Canvas();
  EXPECT_FALSE(canvas.HasClipRgn());
  EXPECT_EQ(canvas.GetViewportOrg(), (TPoint{0, 0}));
  a->throwInPaint = false;
  a->Invalidate();
  form->PaintPending();
  EXPECT_EQ(form->Image().GetPixel(59, 49), clRed);  // the whole of A paints again
}

struct AlignCase {
  TAlign align;
  TRect expected;  // in the panel's client coordinates
};

TEST(AlignTest, ChildrenTakeTheirEdgesInTheFrameworkOrder) {
  EnsureTestApplication();
  TForm form(nullptr);
  auto* panel = new InsetPanel(&form);
  panel->SetParent(&form);
  panel->SetBounds(0, 0, 102, 82);  // client inset by 1: (1,1)-(101,81)
  std::vector<AlignCase> cases = {
      {alClient, {21, 11, 71, 66}}, {alRight, {71, 11, 101, 66}},
      {alLeft, {1, 11, 21, 66}},    {alBottom, {1, 66, 101, 81}},
      {alTop, {1, 1, 101, 11}}};
  // Created in reverse of the placement order: the order comes from Align, not creation.
  std::vector<TControl*> children;
  for (const auto& c : cases) {
    auto* child = new TCustomControl(&form);
    child->SetBounds(0, 0, 20, 10);
    if (c.align == alRight) child->SetWidth(30);
    if (c.align == alBottom) child->SetHeight(15);
    child->SetParent(panel);
    child->SetAlign(c.align);
    children.push_back(child);
  }
  for (size_t i = 0; i < cases.size(); ++i)
    EXPECT_EQ(children[i]->BoundsRect(), cases[i].expected) << "align " << cases[i].align;
  panel->SetBounds(0, 0, 122, 82);  // growing the panel re-places everything
  EXPECT_EQ(children[0]->BoundsRect(), (TRect{21, 11, 91, 66}));
  EXPECT_EQ(children[1]->BoundsRect(), (TRect{91, 11, 121, 66}));
}

}  // namespace

namespace {

class ScrollingControl : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  std::vector<std::pair<TScrollCode, int>> requests;

 protected:
  void WMVScroll(TScrollCode code, int pos) override { requests.push_back({code, pos}); }
};

TEST(ScrollBarTest, ArrowsTrackAndThumbSendTheirRequests) {
  EnsureTestApplication();
  TForm form(nullptr);
  form.SetBorderStyle(bsNone);
  form.SetBounds(0, 0, 100, 120);
  auto* c = new ScrollingControl(&form);
  c->SetParent(&form);
  c->SetBounds(0, 0, 100, 116);  // bar: x 84..99, arrows 0..15 and 100..115, track 16..99
  c->SetScrollInfo(sbVertical, TScrollInfo{0, 99, 20, 0, 0, true, false});
  form.Show();
  EXPECT_EQ(c->ClientWidth(), 84);
  auto click = [&](int y) {
    form.HandleMouse(mmDown, mbLeft, {90, y}, {ssLeft});
    form.HandleMouse(mmUp, mbLeft, {90, y}, {});
  };
  click(5);    // up arrow
  click(110);  // down arrow
  click(90);   // track below the thumb (thumb 16..32 at pos 0)
  ASSERT_EQ(c->requests.size(), 6u);
  EXPECT_EQ(c->requests[0].first, SB_LINEUP);
  EXPECT_EQ(c->requests[2].first, SB_LINEDOWN);
  EXPECT_EQ(c->requests[4].first, SB_PAGEDOWN);
  c->requests.clear();
  // Drag the thumb from its top to the end of the track: the track position reaches the
  // largest position a page allows (Max - Page + 1).
  form.HandleMouse(mmDown, mbLeft, {90, 17}, {ssLeft});
  form.HandleMouse(mmMove, mbLeft, {90, 200}, {ssLeft});
  form.HandleMouse(mmUp, mbLeft, {90, 200}, {});
  ASSERT_EQ(c->requests.size(), 3u);
  EXPECT_EQ(c->requests[0], (std::pair<TScrollCode, int>{SB_THUMBTRACK, 80}));
  EXPECT_EQ(c->requests[1], (std::pair<TScrollCode, int>{SB_THUMBPOSITION, 80}));
  EXPECT_EQ(c->requests[2].first, SB_ENDSCROLL);
}

}  // namespace

namespace {

TEST(PopupTest, PopupsStayInsideTheWorkAreaAndDoNotActivate) {
  EnsureTestApplication();
  TForm owner(nullptr);
  owner.Show();
  TForm popup(nullptr);
  popup.SetBorderStyle(bsNone);
  popup.SetBounds(0, 0, 120, 80);
  TRect work = WorkAreaRect();
  popup.ShowPopupAt({work.Right - 10, work.Bottom - 10});
  EXPECT_EQ(popup.BoundsRect(), (TRect{work.Right - 120, work.Bottom - 80, work.Right, work.Bottom}));
  EXPECT_EQ(Application->ActiveForm(), &owner);
  popup.Hide();
}

}  // namespace
