#pragma once
// Shared pieces of the flat control tests: a shown test form, synthetic mouse input in a
// control's client coordinates, and pixel checks with reasons.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/services.h"
#include "platform/ui/toolkit.h"

// One expected pixel: where (control client coordinates), what colour, and why.
struct PixelCase {
  int x, y;
  TColor color;
  const char* reason;
};

inline std::string ColorText(TColor c) {
  std::ostringstream s;
  s << "0x" << std::hex << ColorToRGB(c);
  return s.str();
}

// A form at a fixed place with a known colour; controls are owned by it.
class TestForm {
 public:
  static constexpr TColor FormColor = 0x00A0B0C0;

  TestForm() {
    EnsureTestApplication();
    form_ = std::make_unique<TForm>(nullptr);
    form_->SetBorderStyle(bsNone);
    form_->SetBounds(100, 100, 320, 240);
    form_->SetColor(FormColor);
  }
  ~TestForm() {
    form_.reset();
    SetCursorPosForTest({-10000, -10000});
  }

  TForm& form() { return *form_; }
  TForm* operator->() { return form_.get(); }

  template <typename T>
  T* Add(int left, int top, int width, int height, TWinControl* parent = nullptr) {
    auto* control = new T(form_.get());
    control->SetParent(parent ? parent : form_.get());
    control->SetBounds(left, top, width, height);
    return control;
  }

  void Show() {
    form_->Show();
    form_->PaintPending();
  }
  // Shown with nothing focused (Show focuses the first tab stop).
  void ShowUnfocused() {
    form_->Show();
    form_->SetActiveControl(nullptr);
    form_->PaintPending();
  }
  void Paint() { form_->PaintPending(); }

  TColor Pixel(const TControl& control, int x, int y) {
    TPoint p = control.ClientToForm({x, y});
    return form_->Image().GetPixel(p.X, p.Y);
  }
  // Pixel of the control's window, non-client frame included (origin at its top-left).
  TColor WindowPixel(const TControl& control, int x, int y) {
    TPoint origin = control.ClientOrigin();
    return Pixel(control, x - origin.X, y - origin.Y);
  }

  void ExpectPixels(const TControl& control, const std::vector<PixelCase>& cases,
                    const std::string& context = {}) {
    for (const PixelCase& c : cases)
      EXPECT_EQ(ColorText(Pixel(control, c.x, c.y)), ColorText(c.color))
          << context << " (" << c.x << ", " << c.y << "): " << c.reason;
  }

  // Synthetic mouse input at a point of control's client area (form-level routing: capture,
  // the control under the point, the cursor position).
  void Mouse(TMouseMessageKind kind, const TControl& control, int x, int y,
             TMouseButton button = mbLeft) {
    TShiftState shift;
    if (kind == mmDown || kind == mmDblClick || kind == mmMove)
      if (form_->CaptureControl()) shift.include(ssLeft);
    if (kind == mmDown || kind == mmDblClick) shift.include(button == mbLeft ? ssLeft : ssRight);
    form_->HandleMouse(kind, button, control.ClientToForm({x, y}), shift);
  }
  void Click(const TControl& control, int x, int y) {
    Mouse(mmMove, control, x, y);
    Mouse(mmDown, control, x, y);
    Mouse(mmUp, control, x, y);
  }
  // Puts the cursor over a client point without telling anybody (as the user moving the
  // mouse between two timer ticks).
  void CursorTo(const TControl& control, int x, int y) {
    SetCursorPosForTest(control.ClientToScreen({x, y}));
  }

  // Bounding box of the pixels in area (client coordinates) that differ from background.
  TRect InkBox(const TControl& control, const TRect& area, TColor background) {
    TRect box;
    bool any = false;
    for (int y = area.Top; y < area.Bottom; ++y)
      for (int x = area.Left; x < area.Right; ++x)
        if (Pixel(control, x, y) != ColorToRGB(background)) {
          TRect one{x, y, x + 1, y + 1};
          box = any ? UnionRect(box, one) : one;
          any = true;
        }
    return box;
  }
  bool HasColor(const TControl& control, const TRect& area, TColor color) {
    for (int y = area.Top; y < area.Bottom; ++y)
      for (int x = area.Left; x < area.Right; ++x)
        if (Pixel(control, x, y) == ColorToRGB(color)) return true;
    return false;
  }

 private:
  std::unique_ptr<TForm> form_;
};
