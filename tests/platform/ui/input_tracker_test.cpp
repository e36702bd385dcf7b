// The input tracker: a running mouse mode sees every input before the controls, uses it up or
// passes it on, and ends once (cancelled, stopped or destroyed).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/input_tracker.h"
#include "platform/ui/win_control.h"
#include "tests/support/synthetic_input.h"
#include "tests/support/test_form.h"

namespace {

using Log = std::vector<std::string>;

std::string at(TPoint p) { return "@" + std::to_string(p.X) + "," + std::to_string(p.Y); }

// Writes what it is given and uses it up when told to.
class RecordingTracker : public TInputTracker {
 public:
  explicit RecordingTracker(Log& log, std::string name = "T") : log_(log), name_(std::move(name)) {}
  bool swallow = false;
  TInputTracker* currentWhenCancelled = this;

  bool TrackKeyDown(uint16_t key, TShiftState) override { return note("keydown" + std::to_string(key)); }
  bool TrackKeyUp(uint16_t key, TShiftState) override { return note("keyup" + std::to_string(key)); }
  bool TrackChar(char32_t ch) override { return note("char" + std::string(1, char(ch))); }
  bool TrackMouse(TMouseMessageKind kind, TMouseButton, TPoint screenPos, TShiftState) override {
    static const char* kinds[] = {"press", "release", "move", "dblclick"};
    return note(std::string(kinds[kind]) + at(screenPos));
  }
  bool TrackWheel(int delta, TPoint screenPos, TShiftState) override {
    return note("wheel" + std::to_string(delta) + at(screenPos));
  }
  void TrackCancelled() override {
    currentWhenCancelled = CurrentInputTracker();
    log_.push_back(name_ + ":cancelled");
  }

 private:
  bool note(const std::string& what) {
    log_.push_back(name_ + ":" + what);
    return swallow;
  }
  Log& log_;
  std::string name_;
};

// A focusable control that writes the input it gets.
class InputControl : public TCustomControl {
 public:
  InputControl(TComponent* owner, Log& log) : TCustomControl(owner), log_(log) {
    SetTabStop(true);
    OnKeyDown = [this](TObject*, uint16_t& key, TShiftState) { log_.push_back("C:keydown" + std::to_string(key)); };
    OnKeyUp = [this](TObject*, uint16_t& key, TShiftState) { log_.push_back("C:keyup" + std::to_string(key)); };
    OnKeyPress = [this](TObject*, char32_t& ch) { log_.push_back("C:char" + std::string(1, char(ch))); };
    OnMouseMove = [this](TObject*, TShiftState, int x, int y) { log_.push_back("C:move" + at({x, y})); };
  }

 protected:
  void WMMouseWheel(TWMMouseWheel& msg) override {
    log_.push_back("C:wheel" + std::to_string(msg.WheelDelta));
    msg.Handled = true;
  }

 private:
  Log& log_;
};

// Members are public: the cases' lambdas reach them through the fixture.
class InputTrackerTest : public ::testing::Test {
 public:
  InputTrackerTest() {
    control = new InputControl(&form, log);
    control->SetParent(&form);
    control->SetBounds(10, 20, 100, 50);
    shown.Show();
    control->SetFocus();
  }
  ~InputTrackerTest() override { StopInputTracking(CurrentInputTracker()); }

  Log log;
  TestForm shown{Bounds(100, 100, 320, 240)};  // borderless: client (0, 0) is screen (100, 100)
  TForm& form = shown.form();
  InputControl* control = nullptr;
};

TEST_F(InputTrackerTest, SeesEachInputFirstAndUsesItUpOrPassesItOn) {
  struct Case {
    const char* name;
    std::function<void(InputTrackerTest&)> input;
    const char* tracked;  // what the tracker sees (mouse in screen coordinates)
    const char* passed;   // what the control sees when the tracker passes it on
  };
  const std::vector<Case> cases = {
      {"key down", [](InputTrackerTest& t) { input::KeyDown(t.form, VK_F2); }, "T:keydown113", "C:keydown113"},
      {"key up", [](InputTrackerTest& t) { input::KeyUp(t.form, VK_F2); }, "T:keyup113", "C:keyup113"},
      {"character", [](InputTrackerTest& t) { input::KeyPress(t.form, U'q'); }, "T:charq", "C:charq"},
      {"mouse move", [](InputTrackerTest& t) { input::Move(*t.control, 5, 6); }, "T:move@115,126", "C:move@5,6"},
      {"wheel", [](InputTrackerTest& t) { input::Wheel(*t.control, 5, 6, 120); }, "T:wheel120@115,126", "C:wheel120"},
  };
  RecordingTracker tracker(log);
  StartInputTracking(&tracker);
  for (const Case& c : cases)
    for (bool swallow : {true, false}) {
      SCOPED_TRACE(std::string(c.name) + (swallow ? ", used up" : ", passed on"));
      tracker.swallow = swallow;
      log.clear();
      c.input(*this);
      const Log expected = swallow ? Log{c.tracked} : Log{c.tracked, c.passed};
      EXPECT_EQ(log, expected);
    }
  // Stopped: the control alone sees input.
  StopInputTracking(&tracker);
  log.clear();
  input::KeyDown(form, VK_F2);
  EXPECT_EQ(log, Log{"C:keydown113"});
}

TEST_F(InputTrackerTest, EndsOnceAndOnlyTheCurrentOneIsCalled) {
  RecordingTracker first(log, "1"), second(log, "2");
  first.swallow = second.swallow = true;
  StartInputTracking(&first);
  StartInputTracking(&first);  // already current: not cancelled
  StartInputTracking(&second);
  EXPECT_EQ(log, Log{"1:cancelled"}) << "a second start cancels the running one";
  EXPECT_EQ(first.currentWhenCancelled, nullptr) << "no longer current when told";
  EXPECT_EQ(CurrentInputTracker(), &second);

  StopInputTracking(&first);  // not current: nothing happens
  EXPECT_EQ(CurrentInputTracker(), &second);
  log.clear();
  input::KeyDown(form, VK_F2);
  EXPECT_EQ(log, Log{"2:keydown113"});

  log.clear();
  CancelInputTracking();
  CancelInputTracking();
  EXPECT_EQ(log, Log{"2:cancelled"}) << "cancelled once";
  EXPECT_EQ(CurrentInputTracker(), nullptr);

  StartInputTracking(&first);
  StopInputTracking(&first);
  EXPECT_EQ(CurrentInputTracker(), nullptr);
  CancelInputTracking();
  EXPECT_EQ(log, Log{"2:cancelled"}) << "a stopped tracker is not cancelled";
}

TEST_F(InputTrackerTest, ADestroyedTrackerIsNeverCalledAgain) {
  auto tracker = std::make_unique<RecordingTracker>(log);
  StartInputTracking(tracker.get());
  tracker.reset();
  EXPECT_EQ(CurrentInputTracker(), nullptr);
  input::KeyDown(form, VK_F2);
  EXPECT_EQ(log, Log{"C:keydown113"});
}

}  // namespace
