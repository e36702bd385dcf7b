#pragma once
// A shown test form: borderless, at a fixed place, in a known colour, owning the controls the
// test adds; and the pixels of a control as they stand in its form's image.
#include <memory>

#include "platform/ui/form.h"
#include "tests/support/pixel_checks.h"

class TestForm {
 public:
  static constexpr TColor FormColor = 0x00A0B0C0;

  explicit TestForm(const TRect& bounds = Bounds(100, 100, 320, 240), TColor color = FormColor);
  ~TestForm();
  TestForm(const TestForm&) = delete;
  TestForm& operator=(const TestForm&) = delete;

  TForm& form() { return *form_; }
  TForm* operator->() { return form_.get(); }

  // A control of type T owned by the form, placed in parent (the form when none).
  template <typename T>
  T* Add(int left, int top, int width, int height, TWinControl* parent = nullptr) {
    auto* control = new T(form_.get());
    control->SetParent(parent ? parent : form_.get());
    control->SetBounds(left, top, width, height);
    return control;
  }

  // Shows the form (focusing the first tab stop) and paints it.
  void Show();
  // Shows the form with nothing focused and paints it.
  void ShowUnfocused();
  // Paints what is pending into the form's image.
  void Paint();

 private:
  std::unique_ptr<TForm> form_;
};

// The pixels of control in its form's image, in the control's client coordinates; readable
// wherever the form's image is. The control must stay on its form while the source is used.
PixelSource ClientPixels(const TControl& control);
// The same with the window's origin at the control's top-left, non-client frame included.
PixelSource WindowPixels(const TControl& control);
// One pixel of the form's image at a client point of control.
TColor PixelAt(const TControl& control, int x, int y);
