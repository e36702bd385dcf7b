// TNativeEditHost over QLineEdit (single line) and QPlainTextEdit (memo).
//
// Text reaches a single-line editor from outside by five roads, and each keeps only the text's
// first line (so no hidden line break of a copied spreadsheet cell ends up in the field):
//   paste key      Ctrl+V, Shift+Insert (the platform's paste keys)   keyPressEvent
//   context menu   the standard menu's Paste                         contextMenuEvent
//   middle button  the X selection, where the window system has one  mouseReleaseEvent
//   drop           text dragged in                                   dropEvent
//   input method   a commit string (input methods can paste too)     inputMethodEvent
// and the host's own PasteFromClipboard. The first line goes in unchanged: tabs and spaces
// stay, nothing is trimmed or re-cased (CharCase applies afterwards as to typed text).
#include <QApplication>
#include <QCoreApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDropEvent>
#include <QFontMetricsF>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
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

// The text before the first line break: CR, LF (so CR LF too), and the other mandatory breaks
// of Unicode's line-breaking rules (VT, FF, NEL, line and paragraph separators).
QString firstLine(const QString& text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    switch (text[i].unicode()) {
      case u'\n': case u'\r': case 0x0B: case 0x0C: case 0x85: case 0x2028: case 0x2029:
        return text.left(i);
      default: break;
    }
  }
  return text;
}

// A QLineEdit whose every road for outside text keeps the text's first line (see the top of
// the file).
class SingleLineEditor : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;

  // The editor's own paste, first line only: replaces the selection, is one undo step, and
  // with neither text nor a selection changes nothing.
  void pasteFirstLine(QClipboard::Mode mode) {
    if (isReadOnly()) return;
    QString line = firstLine(QGuiApplication::clipboard()->text(mode));
    if (line.isEmpty() && !hasSelectedText()) return;
    endUndoStep();
    insert(line);
    endUndoStep();
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->matches(QKeySequence::Paste) && !isReadOnly()) {
      pasteFirstLine(QClipboard::Clipboard);
      event->accept();
      return;
    }
    QLineEdit::keyPressEvent(event);
  }

  // The X selection goes in where the middle button was pressed (the press placed the caret).
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::MiddleButton && !isReadOnly() &&
        QGuiApplication::clipboard()->supportsSelection()) {
      deselect();
      pasteFirstLine(QClipboard::Selection);
      event->accept();
      return;
    }
    QLineEdit::mouseReleaseEvent(event);
  }

  // The standard menu, its Paste action rerouted from the editor's own paste.
  void contextMenuEvent(QContextMenuEvent* event) override {
    QMenu* menu = createStandardContextMenu();
    if (!menu) return;
    for (QAction* action : menu->actions()) {
      // The connection is looked up in both forms, whichever one the library made it in.
      bool ownPaste = QObject::disconnect(action, SIGNAL(triggered(bool)), this, SLOT(paste())) ||
                      QObject::disconnect(action, &QAction::triggered, this, &QLineEdit::paste);
      if (ownPaste)
        connect(action, &QAction::triggered, this, [this] { pasteFirstLine(QClipboard::Clipboard); });
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
  }

  void dropEvent(QDropEvent* event) override {
    const QString text = event->mimeData() ? event->mimeData()->text() : QString();
    const QString line = firstLine(text);
    if (line.size() == text.size()) {
      QLineEdit::dropEvent(event);
      return;
    }
    if (line.isEmpty()) {  // nothing to drop
      event->ignore();
      return;
    }
    QMimeData firstLineOnly;
    firstLineOnly.setText(line);
    QDropEvent cut(event->position(), event->possibleActions(), &firstLineOnly, event->buttons(),
                   event->modifiers(), event->type());
    cut.setDropAction(event->dropAction());
    QLineEdit::dropEvent(&cut);
    event->setDropAction(cut.dropAction());
    event->setAccepted(cut.isAccepted());
  }

  void inputMethodEvent(QInputMethodEvent* event) override {
    const QString line = firstLine(event->commitString());
    if (line.size() == event->commitString().size()) {
      QLineEdit::inputMethodEvent(event);
      return;
    }
    QInputMethodEvent cut(event->preeditString(), event->attributes());
    cut.setCommitString(line, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&cut);
    event->setAccepted(cut.isAccepted());
  }

 private:
  // Closes the undo step typing has open, so that a paste is undone on its own. The editor
  // starts a new step whenever its caret moves, so the caret steps aside and back. Removing a
  // selection starts a new step by itself; an empty editor has no step to close.
  void endUndoStep() {
    if (hasSelectedText() || text().isEmpty()) return;
    const int caret = cursorPosition();
    setCursorPosition(caret > 0 ? caret - 1 : caret + 1);
    setCursorPosition(caret);
  }
};
}  // namespace

struct TNativeEditHost::Impl : public QObject {
  Impl(TNativeEditHost& hostOf, TWinControl& ownerOf, TNativeEditKind kindOf)
      : host(hostOf), owner(ownerOf), kind(kindOf) {}
  ~Impl() override { delete widget; }

  TNativeEditHost& host;
  TWinControl& owner;
  bool hidden = false;  // never shown (SetHidden)
  bool synthesizingClick = false;  // a press made a double click is being delivered
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
      auto* e = new SingleLineEditor(parent);
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

  // A key that types: printable text without Ctrl or Alt (control characters such as
  // Backspace, Tab and Enter keep their editing meaning).
  static bool typedText(const QKeyEvent* k) {
    if (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    const QString t = k->text();
    return !t.isEmpty() && t.at(0).unicode() >= 0x20 && t.at(0).unicode() != 0x7F;
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
          if (host.OnCharTyped && typedText(k)) {
            for (char32_t ch : k->text().toStdU32String()) host.OnCharTyped(ch);
            return true;
          }
          // The editor may ignore the key (Enter in a line edit) and the toolkit then hands
          // the same event to the form's window: it has been routed once already.
          MarkKeyEventRouted(k);
          return false;
        }
        case QEvent::InputMethod: {
          auto* im = static_cast<QInputMethodEvent*>(event);
          if (!host.OnCharTyped || im->commitString().isEmpty()) return false;
          // The composition goes on showing in the editor; what it finished goes to the owner.
          QInputMethodEvent rest(im->preeditString(), im->attributes());
          QCoreApplication::sendEvent(widget, &rest);
          for (char32_t ch : im->commitString().toStdU32String()) host.OnCharTyped(ch);
          return true;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
          auto* m = static_cast<QMouseEvent*>(event);
          if (!host.OnMousePress || m->button() != Qt::LeftButton || synthesizingClick) return false;
          const bool isDouble = event->type() == QEvent::MouseButtonDblClick;
          const QPoint p = m->position().toPoint();
          if (!host.OnMousePress({p.x(), p.y()}, isDouble) || isDouble) return false;
          // The press goes in as it is, then the double click it stands for.
          synthesizingClick = true;
          struct Reset { bool& f; ~Reset() { f = false; } } reset{synthesizingClick};
          std::unique_ptr<QMouseEvent> press(m->clone());
          QCoreApplication::sendEvent(widget, press.get());
          QMouseEvent twice(QEvent::MouseButtonDblClick, m->position(), m->scenePosition(),
                            m->globalPosition(), m->button(), m->buttons(), m->modifiers(),
                            m->pointingDevice());
          QCoreApplication::sendEvent(widget, &twice);
          return true;
        }
        case QEvent::ContextMenu: {
          if (!host.OnContextMenu) return false;
          auto* c = static_cast<QContextMenuEvent*>(event);
          host.OnContextMenu({c->globalPos().x(), c->globalPos().y()},
                             c->reason() == QContextMenuEvent::Keyboard);
          return true;
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
  w->setVisible(owner.IsShowing() && !visible.IsEmpty() && !impl_->hidden);
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

void TNativeEditHost::SetHidden(bool value) {
  if (impl_->hidden == value) return;
  impl_->hidden = value;
  SyncGeometry();
}

bool TNativeEditHost::Hidden() const { return impl_->hidden; }

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

bool TNativeEditHost::CanRedo() const {
  if (auto* e = impl_->line()) return e->isRedoAvailable();
  if (auto* m = impl_->memo()) return m->document()->isRedoAvailable();
  return false;
}

void TNativeEditHost::ClearUndo() {
  if (auto* e = impl_->line()) {
    // Setting the text is what forgets a line edit's steps; the selection is put back.
    const int start = e->selectionStart(), length = e->selectedText().size(), caret = e->cursorPosition();
    const bool wasSetting = impl_->settingText;
    impl_->settingText = true;
    e->setText(e->text());
    impl_->settingText = wasSetting;
    if (start >= 0) e->setSelection(start, length);
    else e->setCursorPosition(caret);
  }
  if (auto* m = impl_->memo()) m->document()->clearUndoRedoStacks();
}

void TNativeEditHost::ReplaceSelection(const std::string& text) {
  const QString inserted = QString::fromStdString(text);
  if (auto* e = impl_->line()) {
    // The read-only flag and the limit are lifted only when they would stop the insert:
    // changing the limit sets the text again, which forgets the selection and the undo steps.
    const bool readOnly = e->isReadOnly();
    const int limit = e->maxLength();
    const int selectedLength = e->hasSelectedText() ? int(e->selectedText().size()) : 0;
    const bool overLimit = e->text().size() - selectedLength + inserted.size() > limit;
    const int start = e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
    if (readOnly) e->setReadOnly(false);
    if (overLimit) {
      e->setMaxLength(32767);
      e->setSelection(start, selectedLength);
    }
    e->insert(inserted);
    const int caret = e->cursorPosition();
    if (overLimit) e->setMaxLength(limit);
    if (readOnly) e->setReadOnly(true);
    e->setCursorPosition(caret);
  }
  if (auto* m = impl_->memo()) m->textCursor().insertText(inserted);
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
  if (auto* e = impl_->line()) static_cast<SingleLineEditor*>(e)->pasteFirstLine(QClipboard::Clipboard);
  if (auto* m = impl_->memo()) m->paste();
}
void TNativeEditHost::ClearSelection() {
  if (auto* e = impl_->line()) e->del();
  if (auto* m = impl_->memo()) m->textCursor().removeSelectedText();
}
