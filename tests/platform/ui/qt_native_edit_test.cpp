// The native editor's look and input follow different rules: only the owning control's own
// Enabled greys its text, while any disabled window around it (a panel, or the form while a
// modal form is up) blocks input and keeps the look.
// Pasted text reaches a single-line editor by several roads, and each keeps only its first line.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QWidget>
#include <algorithm>
#include <memory>

#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/form_window.h"
#include "platform/ui/native_edit.h"
#include "platform/ui/panel.h"
#include "platform/ui/services.h"
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

// --- pasting into a single-line editor ---------------------------------------------------

// A shown form with one focused single-line editor that counts its change notifications.
struct PasteFixture {
  TForm form{nullptr};
  EditBox* box = nullptr;
  QLineEdit* editor = nullptr;
  int changes = 0;

  PasteFixture() {
    form.SetBounds(50, 50, 300, 60);
    box = new EditBox(&form);
    box->SetParent(&form);
    box->SetBounds(10, 10, 260, 24);
    box->SetTabStop(true);
    box->Host().OnChange = [this] { ++changes; };
    form.Show();
    form.PaintPending();
    box->SetFocus();
    editor = static_cast<QWidget*>(form.Window()->NativeParent())->findChild<QLineEdit*>();
  }
  // Text before the caret, the caret at its end, no change counted yet.
  void Start(const std::string& text) {
    box->Host().SetText(text);
    box->Host().SetSelStart(int(QString::fromStdString(text).size()));
    changes = 0;
  }
  void Key(int key, Qt::KeyboardModifiers modifiers) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(editor, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QCoreApplication::sendEvent(editor, &release);
  }
  // A point right of the text: the caret goes to its end.
  QPointF PastTheText() const { return QPointF(editor->width() - 2, editor->height() / 2); }
};

enum PasteRoad { prCtrlV, prShiftInsert, prContextMenu, prHostCall, prMiddleButton, prDrop, prInputMethod };

// Brings `text` in by one road as the user would: from the clipboard (set through the
// services) or the X selection, dragged in, or committed by an input method.
void PasteBy(PasteFixture& f, PasteRoad road, const std::string& text) {
  const QString q = QString::fromStdString(text);
  switch (road) {
    case prCtrlV:
      ClipboardSetText(text);
      f.Key(Qt::Key_V, Qt::ControlModifier);
      break;
    case prShiftInsert:
      ClipboardSetText(text);
      f.Key(Qt::Key_Insert, Qt::ShiftModifier);
      break;
    case prContextMenu: {
      ClipboardSetText(text);
      QContextMenuEvent open(QContextMenuEvent::Keyboard, QPoint(5, 5), f.editor->mapToGlobal(QPoint(5, 5)));
      QCoreApplication::sendEvent(f.editor, &open);
      std::unique_ptr<QMenu> menu(f.editor->findChild<QMenu*>());
      ASSERT_TRUE(menu) << "the context menu opened";
      QAction* paste = nullptr;
      for (QAction* a : menu->actions())
        if (a->text().section(u'\t', 0, 0) == QLineEdit::tr("&Paste")) paste = a;
      ASSERT_NE(paste, nullptr) << "the menu has Paste";
      paste->trigger();
      break;
    }
    case prHostCall:
      ClipboardSetText(text);
      f.box->Host().PasteFromClipboard();
      break;
    case prMiddleButton: {
      if (QGuiApplication::clipboard()->supportsSelection())
        QGuiApplication::clipboard()->setText(q, QClipboard::Selection);
      QPointF at = f.PastTheText(), global = f.editor->mapToGlobal(at);
      QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::MiddleButton, Qt::MiddleButton, Qt::NoModifier);
      QCoreApplication::sendEvent(f.editor, &press);
      QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::MiddleButton, Qt::NoButton, Qt::NoModifier);
      QCoreApplication::sendEvent(f.editor, &release);
      break;
    }
    case prDrop: {
      QMimeData data;
      data.setText(q);
      QDropEvent drop(f.PastTheText(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      // The application delivers a drop only while a drag runs; the widget takes it directly.
      static_cast<QObject*>(f.editor)->event(&drop);
      break;
    }
    case prInputMethod: {
      QInputMethodEvent commit;
      commit.setCommitString(q);
      QCoreApplication::sendEvent(f.editor, &commit);
      break;
    }
  }
}

TEST(NativeEditPaste, EveryRoadKeepsTheFirstLine) {
  EnsureTestApplication();
  struct Road {
    PasteRoad road;
    const char* what;
  };
  const Road roads[] = {{prCtrlV, "Ctrl+V"},
                        {prShiftInsert, "Shift+Insert"},
                        {prContextMenu, "context menu Paste"},
                        {prHostCall, "PasteFromClipboard"},
                        {prMiddleButton, "middle button (X selection)"},
                        {prDrop, "drop"},
                        {prInputMethod, "input method commit"}};
  struct Text {
    const char* what;
    const char* pasted;
    const char* kept;  // what goes in after the existing "[" at the caret
  };
  const Text texts[] = {
      {"one line, unchanged", "Headache", "Headache"},
      {"a copied spreadsheet cell: LF at the end", "Headache\n", "Headache"},
      {"CR LF at the end", "Headache\r\n", "Headache"},
      {"CR alone", "头痛\rHeadache", "头痛"},
      {"two lines", "头痛\nHeadache\n", "头痛"},
      {"a spreadsheet row: the tab stays", "a\tb\r\nc\td\r\n", "a\tb"},
      {"spaces and case stay as they are", "  mIxed Case \t\n", "  mIxed Case \t"},
      {"paragraph separator", "first\u2029second", "first"},
      {"only a line break", "\n", ""},
      {"only CR LF", "\r\n", ""},
      {"an empty first line", "\r\nsecond", ""},
  };
  PasteFixture f;
  ASSERT_NE(f.editor, nullptr);
  // The middle button pastes only where the window system has a selection (X11, not the
  // headless platform); elsewhere it leaves the text alone, as the editor always did.
  const bool hasSelection = QGuiApplication::clipboard()->supportsSelection();
  for (const Road& r : roads) {
    for (const Text& t : texts) {
      SCOPED_TRACE(std::string(r.what) + ", " + t.what);
      f.Start("[");
      PasteBy(f, r.road, t.pasted);
      std::string kept = r.road == prMiddleButton && !hasSelection ? "" : t.kept;
      EXPECT_EQ(f.box->Host().Text(), "[" + kept);
      EXPECT_EQ(f.changes, kept.empty() ? 0 : 1) << "one change, none when nothing goes in";
      EXPECT_EQ(f.box->Host().Modified(), !kept.empty());
      f.box->Host().SetModified(false);
    }
  }
}

TEST(NativeEditPaste, ReplacesTheSelectionAsOneUndoStep) {
  EnsureTestApplication();
  PasteFixture f;
  ASSERT_NE(f.editor, nullptr);
  f.Start("");
  for (int key : {Qt::Key_A, Qt::Key_B}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar(key).toLower()));
    QCoreApplication::sendEvent(f.editor, &press);
  }
  ASSERT_EQ(f.box->Host().Text(), "ab");
  ClipboardSetText("cd\ne");
  f.Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(f.box->Host().Text(), "abcd");
  f.box->Host().Undo();
  EXPECT_EQ(f.box->Host().Text(), "ab") << "undo takes back the paste, not the typing before it";
  f.box->Host().Undo();
  EXPECT_EQ(f.box->Host().Text(), "");

  f.Start("a-c");
  f.box->Host().SetSelStart(1);
  f.box->Host().SetSelLength(1);
  ClipboardSetText("B\r\nignored");
  f.Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(f.box->Host().Text(), "aBc");
  EXPECT_EQ(f.box->Host().SelStart(), 2) << "the caret after the pasted text";
  f.box->Host().SetSelStart(1);
  f.box->Host().SetSelLength(1);
  ClipboardSetText("\n");
  f.Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(f.box->Host().Text(), "ac") << "an empty first line still replaces the selection";
  f.box->Host().Undo();
  EXPECT_EQ(f.box->Host().Text(), "aBc");

  f.Start("kept");
  f.box->Host().SetReadOnly(true);
  ClipboardSetText("x");
  f.Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(f.box->Host().Text(), "kept") << "read-only takes no paste";
}

}  // namespace
