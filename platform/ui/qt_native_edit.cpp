// TNativeEditHost over QLineEdit (single line) and QPlainTextEdit (memo).
#include <QApplication>
#include <QCursor>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

#include "platform/core/utf8.h"
#include "platform/ui/qt_font.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/form_window.h"
#include "platform/ui/native_edit.h"
#include "platform/ui/qt_keys.h"
#include "platform/ui/qt_routed_keys.h"
#include "platform/ui/services.h"

namespace {
QColor qcolor(TColor c) {
  TColor rgb = ColorToRGB(c);
  return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}
}  // namespace

struct TNativeEditHost::Impl : public QObject {
  Impl(TNativeEditHost& hostOf, TWinControl& ownerOf, TNativeEditKind kindOf)
      : host(hostOf), owner(ownerOf), kind(kindOf) {}
  ~Impl() override { delete widget; }

  TNativeEditHost& host;
  TWinControl& owner;
  TNativeEditKind kind;
  QWidget* widget = nullptr;  // QLineEdit or QPlainTextEdit, child of the form's widget
  QLineEdit* line() const { return qobject_cast<QLineEdit*>(widget); }
  QPlainTextEdit* memo() const { return qobject_cast<QPlainTextEdit*>(widget); }

  // Settings kept while there is no widget, applied when it is made.
  std::string text;
  bool readOnly = false;
  int maxLength = 0;
  char32_t passwordChar = 0;
  TNativeAlignment alignment = naLeft;
  TNativeCharCase charCase = nccNormal;
  TColor background = clWindow, foreground = clWindowText;
  TFont font;
  bool wordWrap = true;
  TNativeScrollBars scrollBars = nsbNone;
  bool wantReturns = true, wantTabs = false;
  bool modified = false;
  bool settingText = false;
  bool greyed = false;  // the palette's disabled colours are the grey ones

  void ensureWidget() {
    if (widget) return;
    TCustomForm* form = owner.GetParentForm();
    if (!form || !form->Window()) return;
    auto* parent = static_cast<QWidget*>(form->Window()->NativeParent());
    if (kind == nekSingleLine) {
      auto* e = new QLineEdit(parent);
      e->setFrame(false);
      QObject::connect(e, &QLineEdit::textChanged, this, [this] { changed(); });
      widget = e;
    } else {
      auto* m = new QPlainTextEdit(parent);
      m->setFrameShape(QFrame::NoFrame);
      QObject::connect(m, &QPlainTextEdit::textChanged, this, [this] { changed(); });
      widget = m;
    }
    widget->installEventFilter(this);
    applyAll();
  }

  void applyAll() {
    settingText = true;
    if (auto* e = line()) {
      e->setText(QString::fromStdString(text));
      e->setReadOnly(readOnly);
      e->setMaxLength(maxLength > 0 ? maxLength : 32767);
      e->setEchoMode(passwordChar ? QLineEdit::Password : QLineEdit::Normal);
      e->setAlignment(alignment == naRight ? Qt::AlignRight : alignment == naCenter ? Qt::AlignHCenter : Qt::AlignLeft);
    } else if (auto* m = memo()) {
      m->setPlainText(QString::fromStdString(text));
      m->setReadOnly(readOnly);
      m->setLineWrapMode(wordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
      m->setVerticalScrollBarPolicy(scrollBars == nsbVertical || scrollBars == nsbBoth ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
      m->setHorizontalScrollBarPolicy(scrollBars == nsbHorizontal || scrollBars == nsbBoth ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
      m->setTabChangesFocus(!wantTabs);
    }
    settingText = false;
    widget->setFont(QFontForTFont(font));
    applyTabStops();
    applyColors();
  }

  // Tab stops every eight average characters, as a Windows edit control has them.
  void applyTabStops() {
    if (auto* m = memo()) m->setTabStopDistance(QFontMetricsF(m->font()).averageCharWidth() * 8);
  }

  // The toolkit paints a widget with its disabled colours whenever the widget or a window
  // around it is disabled. Here only the owner's own Enabled greys the text: a form disabled
  // while a modal form is up, or a disabled panel around the edit, blocks input but keeps the
  // look. So the disabled colours equal the normal ones unless the owner itself is disabled.
  void applyColors() {
    if (!widget) return;
    QPalette pal = QApplication::palette(widget);
    pal.setColor(QPalette::Base, qcolor(background));
    pal.setColor(QPalette::Window, qcolor(background));
    pal.setColor(QPalette::Text, qcolor(foreground));
    greyed = !owner.Enabled();
    if (greyed) {
      pal.setColor(QPalette::Disabled, QPalette::Text, qcolor(clGrayText));
    } else {
      for (int role = 0; role < QPalette::NColorRoles; ++role) {
        auto r = static_cast<QPalette::ColorRole>(role);
        pal.setColor(QPalette::Disabled, r, pal.color(QPalette::Active, r));
      }
    }
    widget->setPalette(pal);
    widget->setAutoFillBackground(true);
  }

  void changed() {
    std::string now = currentText();
    if (now == text && settingText) return;
    text = now;
    if (!settingText) modified = true;
    if (charCase != nccNormal && !settingText) {
      std::string cased = charCase == nccUpperCase ? AnsiUpperCase(text) : AnsiLowerCase(text);
      if (cased != text) {
        host.SetText(cased);
        return;
      }
    }
    if (host.OnChange) {
      try {
        host.OnChange();
      } catch (const std::exception& e) {
        if (Application) Application->HandleException(e);
      }
    }
  }

  std::string currentText() const {
    if (auto* e = line()) return e->text().toStdString();
    if (auto* m = memo()) return m->toPlainText().toStdString();
    return text;
  }

  bool eventFilter(QObject*, QEvent* event) override {
    TCustomForm* form = owner.GetParentForm();
    if (!form) return false;
    try {
      switch (event->type()) {
        case QEvent::KeyPress: {
          auto* k = static_cast<QKeyEvent*>(event);
          uint16_t vk = VirtualKeyFromQt(k->key());
          if (vk == VK_RETURN && kind == nekMultiLine && !wantReturns) {
            form->HandleKeyDown(vk, ShiftFromQt(k->modifiers(), Qt::NoButton));
            return true;
          }
          if (vk != 0 && form->HandleKeyDown(vk, ShiftFromQt(k->modifiers(), Qt::NoButton))) return true;
          // The editor may ignore the key (Enter in a line edit) and the toolkit then hands
          // the same event to the form's window: it has been routed once already.
          MarkKeyEventRouted(k);
          return false;
        }
        case QEvent::KeyRelease: {
          auto* k = static_cast<QKeyEvent*>(event);
          if (uint16_t vk = VirtualKeyFromQt(k->key())) form->HandleKeyUp(vk, ShiftFromQt(k->modifiers(), Qt::NoButton));
          return false;
        }
        case QEvent::Enter: {
          // The form's window does not see the mouse over the editor: report the cursor so
          // the idle step's enter / leave (and the flat controls' hover checks) follow it.
          QPoint global = QCursor::pos();
          SetCursorPos({global.x(), global.y()});
          if (Application) Application->DoIdle();
          return false;
        }
        case QEvent::FocusIn:
          // The user clicked into the editor: the form's focus follows.
          if (form->ActiveControl() != &owner) form->SetFocusedControl(&owner);
          return false;
        default:
          return false;
      }
    } catch (const std::exception& e) {
      if (Application) Application->HandleException(e);
      return true;
    }
  }
};

TNativeEditHost::TNativeEditHost(TWinControl& owner, TNativeEditKind kind)
    : impl_(std::make_unique<Impl>(*this, owner, kind)) {}

TNativeEditHost::~TNativeEditHost() = default;

void TNativeEditHost::SyncGeometry() {
  impl_->ensureWidget();
  QWidget* w = impl_->widget;
  if (!w) return;
  TWinControl& owner = impl_->owner;
  TPoint topLeft = owner.ClientToForm({0, 0});
  TRect visible = IntersectRect(Bounds(topLeft.X, topLeft.Y, owner.ClientWidth(), owner.ClientHeight()),
                                owner.VisibleFormRect());
  w->setGeometry(topLeft.X, topLeft.Y, owner.ClientWidth(), owner.ClientHeight());
  // Parts hidden by ancestors stay hidden (the toolkit widget is a child of the form).
  if (!visible.IsEmpty())
    w->setMask(QRegion(visible.Left - topLeft.X, visible.Top - topLeft.Y, visible.Width(), visible.Height()));
  w->setVisible(owner.IsShowing() && !visible.IsEmpty());
  // Input needs the owner and every window around it enabled, the form included (a form is
  // disabled while a modal form is up); the grey look follows the owner alone.
  bool inputEnabled = true;
  for (const TControl* c = &owner; c; c = c->Parent()) inputEnabled = inputEnabled && c->Enabled();
  w->setEnabled(inputEnabled);
  if (impl_->greyed != !owner.Enabled()) impl_->applyColors();
}

void TNativeEditHost::TakeKeyboardFocus() {
  SyncGeometry();
  if (impl_->widget && impl_->widget->isVisible()) impl_->widget->setFocus(Qt::OtherFocusReason);
}

bool TNativeEditHost::HasKeyboardFocus() const { return impl_->widget && impl_->widget->hasFocus(); }

std::string TNativeEditHost::Text() const { return impl_->currentText(); }

void TNativeEditHost::SetText(const std::string& text) {
  impl_->text = text;
  impl_->settingText = true;
  struct Reset { bool& f; ~Reset() { f = false; } } reset{impl_->settingText};
  if (auto* e = impl_->line()) {
    if (e->text().toStdString() != text) e->setText(QString::fromStdString(text));
  } else if (auto* m = impl_->memo()) {
    if (m->toPlainText().toStdString() != text) m->setPlainText(QString::fromStdString(text));
  }
  impl_->settingText = false;
  if (OnChange) OnChange();
}

void TNativeEditHost::SetReadOnly(bool value) {
  impl_->readOnly = value;
  if (auto* e = impl_->line()) e->setReadOnly(value);
  if (auto* m = impl_->memo()) m->setReadOnly(value);
}
bool TNativeEditHost::ReadOnly() const { return impl_->readOnly; }

void TNativeEditHost::SetMaxLength(int value) {
  impl_->maxLength = value;
  if (auto* e = impl_->line()) e->setMaxLength(value > 0 ? value : 32767);
}

void TNativeEditHost::SetPasswordChar(char32_t value) {
  impl_->passwordChar = value;
  if (auto* e = impl_->line()) e->setEchoMode(value ? QLineEdit::Password : QLineEdit::Normal);
}

void TNativeEditHost::SetAlignment(TNativeAlignment value) {
  impl_->alignment = value;
  if (impl_->widget) impl_->applyAll();
}

void TNativeEditHost::SetCharCase(TNativeCharCase value) { impl_->charCase = value; }

void TNativeEditHost::SetColors(TColor background, TColor text) {
  impl_->background = background;
  impl_->foreground = text;
  impl_->applyColors();
}

void TNativeEditHost::SetFont(const TFont& font) {
  impl_->font.Assign(font);
  if (impl_->widget) {
    impl_->widget->setFont(QFontForTFont(font));
    impl_->applyTabStops();
  }
}

void TNativeEditHost::SetWordWrap(bool value) {
  impl_->wordWrap = value;
  if (auto* m = impl_->memo()) m->setLineWrapMode(value ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TNativeEditHost::SetScrollBars(TNativeScrollBars value) {
  impl_->scrollBars = value;
  if (impl_->widget) impl_->applyAll();
}

void TNativeEditHost::SetWantReturns(bool value) { impl_->wantReturns = value; }
void TNativeEditHost::SetWantTabs(bool value) {
  impl_->wantTabs = value;
  if (auto* m = impl_->memo()) m->setTabChangesFocus(!value);
}

int TNativeEditHost::SelStart() const {
  if (auto* e = impl_->line()) return e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
  if (auto* m = impl_->memo()) return m->textCursor().selectionStart();
  return 0;
}

int TNativeEditHost::SelLength() const {
  if (auto* e = impl_->line()) return e->hasSelectedText() ? e->selectionLength() : 0;
  if (auto* m = impl_->memo()) return m->textCursor().selectionEnd() - m->textCursor().selectionStart();
  return 0;
}

void TNativeEditHost::SetSelStart(int value) {
  if (auto* e = impl_->line()) e->setCursorPosition(value);
  if (auto* m = impl_->memo()) {
    QTextCursor c = m->textCursor();
    c.setPosition(value);
    m->setTextCursor(c);
  }
}

void TNativeEditHost::SetSelLength(int value) {
  int start = SelStart();
  if (auto* e = impl_->line()) e->setSelection(start, value);
  if (auto* m = impl_->memo()) {
    QTextCursor c = m->textCursor();
    c.setPosition(start);
    c.setPosition(start + value, QTextCursor::KeepAnchor);
    m->setTextCursor(c);
  }
}

std::string TNativeEditHost::SelText() const {
  if (auto* e = impl_->line()) return e->selectedText().toStdString();
  if (auto* m = impl_->memo()) return m->textCursor().selectedText().toStdString();
  return {};
}

void TNativeEditHost::SelectAll() {
  if (auto* e = impl_->line()) e->selectAll();
  if (auto* m = impl_->memo()) m->selectAll();
}

bool TNativeEditHost::Modified() const { return impl_->modified; }
void TNativeEditHost::SetModified(bool value) { impl_->modified = value; }

bool TNativeEditHost::CanUndo() const {
  if (auto* e = impl_->line()) return e->isUndoAvailable();
  if (auto* m = impl_->memo()) return m->document()->isUndoAvailable();
  return false;
}

void TNativeEditHost::Undo() {
  if (auto* e = impl_->line()) e->undo();
  if (auto* m = impl_->memo()) m->undo();
}
void TNativeEditHost::Redo() {
  if (auto* e = impl_->line()) e->redo();
  if (auto* m = impl_->memo()) m->redo();
}
void TNativeEditHost::CutToClipboard() {
  if (auto* e = impl_->line()) e->cut();
  if (auto* m = impl_->memo()) m->cut();
}
void TNativeEditHost::CopyToClipboard() {
  if (auto* e = impl_->line()) e->copy();
  if (auto* m = impl_->memo()) m->copy();
}
void TNativeEditHost::PasteFromClipboard() {
  if (auto* e = impl_->line()) e->paste();
  if (auto* m = impl_->memo()) m->paste();
}
void TNativeEditHost::ClearSelection() {
  if (auto* e = impl_->line()) e->del();
  if (auto* m = impl_->memo()) m->textCursor().removeSelectedText();
}
