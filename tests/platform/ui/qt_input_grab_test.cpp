// The window system's side of an input tracker: the form window holds the mouse and the
// keyboard while it runs, the tracker's screen cursor shows above the forms' own cursors, and
// a grabbing window that goes away ends the tracking.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QWidget>

#include "platform/ui/form.h"
#include "platform/ui/form_window.h"
#include "platform/ui/input_tracker.h"
#include "platform/ui/services.h"
#include "platform/ui/toolkit.h"

namespace {

class CountingTracker : public TInputTracker {
 public:
  bool swallow = true;
  int cancelled = 0;
  bool TrackMouse(TMouseMessageKind, TMouseButton, TPoint, TShiftState) override { return swallow; }
  void TrackCancelled() override { ++cancelled; }
};

class InputGrabTest : public ::testing::Test {
 protected:
  InputGrabTest() {
    EnsureTestApplication();
    form.SetBorderStyle(bsNone);
    form.SetBounds(50, 50, 200, 120);
    form.Show();
    window = static_cast<QWidget*>(form.Window()->NativeParent());
    SetCursorPos({60, 60});
  }
  ~InputGrabTest() override {
    StopInputTracking(&tracker);
    SetScreenCursor(crDefault);
    SetCursorPos({-10000, -10000});
  }

  TForm form{nullptr};
  QWidget* window = nullptr;
  CountingTracker tracker;
};

TEST_F(InputGrabTest, TheFormWindowHoldsMouseAndKeyboardWhileATrackerRuns) {
  StartInputTracking(&tracker);
  EXPECT_EQ(QWidget::mouseGrabber(), window);
  EXPECT_EQ(QWidget::keyboardGrabber(), window);
  StopInputTracking(&tracker);
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
  EXPECT_EQ(tracker.cancelled, 0);
}

TEST_F(InputGrabTest, TheScreenCursorStaysAboveTheFormsCursorWhileGrabbed) {
  form.SetCursor(crIBeam);
  StartInputTracking(&tracker);
  SetScreenCursor(crNoDrop);
  for (bool swallow : {true, false}) {
    SCOPED_TRACE(swallow ? "used up" : "passed on: the form sets its own cursor below");
    tracker.swallow = swallow;
    form.HandleMouse(mmMove, mbLeft, {10, 10}, {});
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::ForbiddenCursor);
  }
  EXPECT_EQ(window->cursor().shape(), Qt::IBeamCursor);
  SetScreenCursor(crDefault);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(InputGrabTest, HidingTheGrabbingWindowCancelsTheTracking) {
  StartInputTracking(&tracker);
  form.Hide();
  EXPECT_EQ(tracker.cancelled, 1);
  EXPECT_EQ(CurrentInputTracker(), nullptr);
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

}  // namespace
