// The native editor's look and input follow different rules: only the owning control's own
// Enabled greys its text, while any disabled window around it (a panel, or the form while a
// modal form is up) blocks input and keeps the look.
#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QWidget>
#include <algorithm>

#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/form_window.h"
#include "platform/ui/native_edit.h"
#include "platform/ui/panel.h"
#include "platform/ui/toolkit.h"

namespace {

// The smallest control that hosts a native single-line editor.
class EditBox : public TCustomControl {
 public:
  explicit EditBox(TComponent* owner) : TCustomControl(owner), host_(*this, nekSingleLine) {}
  TNativeEditHost* NativeEdit() override { return &host_; }
  TNativeEditHost& Host() { return host_; }

 private:
  TNativeEditHost host_;
};

// The darkest grey level the editor paints: the text's colour, since the text is black or
// grey on white.
int DarkestGrey(QWidget& editor) {
  QImage image = editor.grab().toImage();
  int darkest = 255;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) darkest = std::min(darkest, qGray(image.pixel(x, y)));
  return darkest;
}

struct LookCase {
  const char* what;
  bool editEnabled, panelEnabled, modalFormUp;
  bool grey;        // the text is painted grey
  bool takesInput;  // the toolkit hands it keys and clicks
};

TEST(NativeEditLook, OnlyTheOwnEnabledGreysTheText) {
  EnsureTestApplication();
  const LookCase cases[] = {
      {"enabled", true, true, false, false, true},
      {"disabled itself", false, true, false, true, false},
      {"in a disabled panel", true, false, false, false, false},
      {"while a modal form is up", true, true, true, false, false},
  };
  for (const LookCase& c : cases) {
    SCOPED_TRACE(c.what);
    TForm form(nullptr);
    form.SetBounds(50, 50, 200, 100);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(0, 0, 200, 100);
    auto* box = new EditBox(&form);
    box->SetParent(panel);
    box->SetBounds(10, 10, 120, 24);
    box->Host().SetColors(clWhite, clBlack);
    box->Host().SetText("WWWW");
    box->SetEnabled(c.editEnabled);
    panel->SetEnabled(c.panelEnabled);
    form.Show();
    form.PaintPending();
    auto* editor = static_cast<QWidget*>(form.Window()->NativeParent())->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);

    auto check = [&] {
      form.PaintPending();
      EXPECT_EQ(editor->isEnabled(), c.takesInput);
      int darkest = DarkestGrey(*editor);
      if (c.grey) {
        EXPECT_GT(darkest, 0x60) << "grey text";
      } else {
        EXPECT_LT(darkest, 0x40) << "black text";
      }
    };
    if (!c.modalFormUp) {
      check();
      continue;
    }
    TForm dialog(nullptr);
    dialog.SetBounds(80, 80, 100, 60);
    dialog.OnShow = [&](TObject*) {
      check();
      dialog.SetModalResult(mrOk);
    };
    dialog.ShowModal();
    form.PaintPending();
    EXPECT_TRUE(editor->isEnabled()) << "input comes back with the modal form gone";
  }
}

}  // namespace
