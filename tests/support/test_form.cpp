#include "tests/support/test_form.h"

#include "platform/ui/toolkit.h"
#include "tests/support/synthetic_input.h"

TestForm::TestForm(const TRect& bounds, TColor color) {
  EnsureTestApplication();
  form_ = std::make_unique<TForm>(nullptr);
  form_->SetBorderStyle(bsNone);
  form_->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
  form_->SetColor(color);
}

TestForm::~TestForm() {
  form_.reset();
  // The cursor leaves every window, so the next test starts with nothing under it.
  input::CursorToScreen({-10000, -10000});
}

void TestForm::Show() {
  form_->Show();
  form_->PaintPending();
}

void TestForm::ShowUnfocused() {
  form_->Show();
  form_->SetActiveControl(nullptr);
  form_->PaintPending();
}

void TestForm::Paint() { form_->PaintPending(); }

namespace {

// Pixels of control's form image with the origin moved to origin (form image coordinates).
PixelSource FormPixels(const TControl& control, TPoint origin) {
  TCustomForm* form = control.GetParentForm();
  const TBitmap& image = form->Image();
  TRect readable = Bounds(-origin.X, -origin.Y, image.Width(), image.Height());
  return PixelSource(
      [form, origin](int x, int y) { return form->Image().GetPixel(x + origin.X, y + origin.Y); },
      readable);
}

}  // namespace

PixelSource ClientPixels(const TControl& control) {
  return FormPixels(control, control.ClientToForm({0, 0}));
}

PixelSource WindowPixels(const TControl& control) {
  TPoint client = control.ClientToForm({0, 0});
  TPoint origin = control.ClientOrigin();
  return FormPixels(control, {client.X - origin.X, client.Y - origin.Y});
}

TColor PixelAt(const TControl& control, int x, int y) {
  TPoint p = control.ClientToForm({x, y});
  return control.GetParentForm()->Image().GetPixel(p.X, p.Y);
}
