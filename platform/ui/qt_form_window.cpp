// The toolkit window of a form: shows the form's image, turns toolkit input into the form's
// input calls, and reports moves and resizes back.
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QRegion>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/form_window.h"
#include "platform/ui/input_tracker.h"
#include "platform/ui/qt_cursors.h"
#include "platform/ui/qt_keys.h"
#include "platform/ui/qt_routed_keys.h"
#include "platform/ui/services.h"

namespace {

// Runs fn, sending an escaping exception to the application's default handler: an event
// handler's failure must never unwind through the toolkit.
template <typename Fn>
void guarded(Fn&& fn) {
  try {
    fn();
  } catch (const std::exception& e) {
    if (Application) Application->HandleException(e);
  }
}

// The windows holding the grab of a running input tracker (SetInputTrackingGrab).
QPointer<QWidget> mouseGrabber;
QPointer<QWidget> keyboardGrabber;

bool holdsTrackingGrab(const QWidget* widget) {
  return widget && (widget == mouseGrabber || widget == keyboardGrabber);
}

void scheduleIdle() {
  static bool pending = false;
  if (pending) return;
  pending = true;
  QTimer::singleShot(0, [] {
    pending = false;
    if (Application) Application->DoIdle();
  });
}

class FormWidget : public QWidget {
 public:
  explicit FormWidget(TCustomForm* form) : form_(form) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
  }

  TCustomForm* form_;
  TRect insets_{};
  bool applyingGeometry_ = false;

 protected:
  bool focusNextPrevChild(bool) override { return false; }  // the form does its own tabbing

  void paintEvent(QPaintEvent* event) override {
    guarded([&] { form_->PaintPending(); });
    TBitmap& image = form_->Image();
    QPainter painter(this);
    if (image.Empty()) {
      painter.fillRect(rect(), Qt::lightGray);
      return;
    }
    QImage view(reinterpret_cast<const uchar*>(image.Bits()), image.Width(), image.Height(),
                image.Width() * 4, QImage::Format_RGB32);
    for (const QRect& r : event->region()) painter.drawImage(r, view, r);
  }

  void mouse(QMouseEvent* e, TMouseMessageKind kind) {
    TMouseButton button = e->button() == Qt::RightButton   ? mbRight
                          : e->button() == Qt::MiddleButton ? mbMiddle
                                                            : mbLeft;
    TShiftState shift = ShiftFromQt(e->modifiers(), e->buttons());
    TPoint pos{int(e->position().x()), int(e->position().y())};
    guarded([&] { form_->HandleMouse(kind, button, pos, shift); });
    scheduleIdle();
  }
  void mousePressEvent(QMouseEvent* e) override { mouse(e, mmDown); }
  void mouseReleaseEvent(QMouseEvent* e) override { mouse(e, mmUp); }
  void mouseMoveEvent(QMouseEvent* e) override { mouse(e, mmMove); }
  void mouseDoubleClickEvent(QMouseEvent* e) override { mouse(e, mmDblClick); }

  void wheelEvent(QWheelEvent* e) override {
    TPoint pos{int(e->position().x()), int(e->position().y())};
    guarded([&] {
      form_->HandleWheel(e->angleDelta().y(), pos, ShiftFromQt(e->modifiers(), e->buttons()));
    });
  }

  void leaveEvent(QEvent*) override {
    QPoint global = QCursor::pos();
    SetCursorPos({global.x(), global.y()});
    scheduleIdle();
  }

  void keyPressEvent(QKeyEvent* e) override {
    if (TakeKeyEventRouted(e)) return;  // a native editor already routed it to the form
    TShiftState shift = ShiftFromQt(e->modifiers(), Qt::NoButton);
    uint16_t vk = VirtualKeyFromQt(e->key());
    guarded([&] {
      bool consumed = vk != 0 && form_->HandleKeyDown(vk, shift);
      if (consumed) return;
      for (char32_t ch : e->text().toStdU32String())
        if (ch >= 0x20 || ch == '\r' || ch == '\b' || ch == 0x1B) form_->HandleChar(ch);
    });
    scheduleIdle();
  }

  void keyReleaseEvent(QKeyEvent* e) override {
    uint16_t vk = VirtualKeyFromQt(e->key());
    if (vk != 0) guarded([&] { form_->HandleKeyUp(vk, ShiftFromQt(e->modifiers(), Qt::NoButton)); });
  }

  void resizeEvent(QResizeEvent*) override { reportGeometry(); }
  void moveEvent(QMoveEvent*) override { reportGeometry(); }

  void closeEvent(QCloseEvent* e) override {
    e->ignore();  // the form decides, and hides the window itself
    guarded([&] { form_->Close(); });
  }

  void focusInEvent(QFocusEvent*) override {
    if (Application && form_->IsShown()) Application->SetActiveForm(form_);
  }

  // A hidden window loses its grab: the tracker it held input for ends.
  void hideEvent(QHideEvent*) override {
    if (holdsTrackingGrab(this)) guarded([] { CancelInputTracking(); });
  }

 private:
  void reportGeometry() {
    if (applyingGeometry_ || !isVisible()) return;
    QRect g = geometry();
    TRect outer{g.left() - insets_.Left, g.top() - insets_.Top, g.right() + 1 + insets_.Right,
                g.bottom() + 1 + insets_.Bottom};
    guarded([&] { form_->WindowGeometryChanged(outer); });
  }
};

class QtFormWindow : public TFormWindow {
 public:
  explicit QtFormWindow(TCustomForm* form) : widget_(new FormWidget(form)) {}
  ~QtFormWindow() override {
    if (holdsTrackingGrab(widget_)) guarded([] { CancelInputTracking(); });
    delete widget_;
  }

  void SetGeometry(const TRect& outer, const TRect& insets) override {
    widget_->insets_ = insets;
    widget_->applyingGeometry_ = true;
    QRect client(outer.Left + insets.Left, outer.Top + insets.Top,
                 std::max(1, outer.Width() - insets.Left - insets.Right),
                 std::max(1, outer.Height() - insets.Top - insets.Bottom));
    if (!(widget_->windowState() & Qt::WindowMaximized)) widget_->setGeometry(client);
    if (fixedSize_) widget_->setFixedSize(client.size());
    widget_->applyingGeometry_ = false;
  }

  void SetCaption(const std::string& caption) override {
    widget_->setWindowTitle(QString::fromStdString(caption));
  }

  void SetFrame(TFormBorderStyle style) override {
    Qt::WindowFlags flags = Qt::Window;
    fixedSize_ = false;
    switch (style) {
      case bsNone: flags |= Qt::FramelessWindowHint; fixedSize_ = true; break;
      case bsDialog:
        flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        fixedSize_ = true;
        break;
      case bsSingle: fixedSize_ = true; break;
      case bsToolWindow: case bsSizeToolWin: flags |= Qt::Tool; break;
      default: break;
    }
    widget_->setWindowFlags(flags);
  }

  void Show(bool maximized) override {
    if (maximized) {
      if (QScreen* screen = QGuiApplication::primaryScreen()) {
        // Maximised: the client fills the work area below the caption.
        widget_->applyingGeometry_ = true;
        widget_->setGeometry(screen->availableGeometry());
        widget_->applyingGeometry_ = false;
      }
      widget_->showMaximized();
      reportNow();
    } else {
      widget_->show();
    }
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
      widget_->raise();
      widget_->activateWindow();
    }
  }

  void Hide() override { widget_->hide(); }
  void ShowNoActivate() override {
    widget_->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    widget_->setAttribute(Qt::WA_ShowWithoutActivating);
    widget_->setFocusPolicy(Qt::NoFocus);
    widget_->show();
  }
  void SetInputEnabled(bool enabled) override { widget_->setEnabled(enabled); }
  void SetModal(bool modal) override {
    widget_->setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
  }
  void ImageChanged(const TRect& r) override {
    if (!r.IsEmpty()) widget_->update(QRect(r.Left, r.Top, r.Width(), r.Height()));
  }
  void SchedulePaint() override {
    if (paintQueued_) return;
    paintQueued_ = true;
    QTimer::singleShot(0, widget_, [this] {
      paintQueued_ = false;
      guarded([&] { widget_->form_->PaintPending(); });
    });
  }
  void SetCursorShape(TCursor cursor) override { widget_->setCursor(QtCursor(cursor)); }
  void FocusForm() override {
    if (widget_->isVisible()) widget_->setFocus(Qt::OtherFocusReason);
  }
  bool IsActive() const override { return widget_->isActiveWindow(); }
  void Activate() override { widget_->activateWindow(); }
  void SetEllipticRegion(const TRect& r) override {
    if (r.IsEmpty())
      widget_->clearMask();
    else
      widget_->setMask(QRegion(r.Left, r.Top, r.Width(), r.Height(), QRegion::Ellipse));
  }
  void SetRegion(const TRegion* region) override {
    if (!region) {
      widget_->clearMask();
      return;
    }
    QRegion mask;
    for (const TRect& r : region->Rects()) mask += QRect(r.Left, r.Top, r.Width(), r.Height());
    widget_->setMask(mask);
  }
  void* NativeParent() override { return widget_; }

 private:
  void reportNow() {
    QRect g = widget_->geometry();
    TRect in = widget_->insets_;
    TRect outer{g.left() - in.Left, g.top() - in.Top, g.right() + 1 + in.Right, g.bottom() + 1 + in.Bottom};
    widget_->form_->WindowGeometryChanged(outer);
  }

  FormWidget* widget_;
  bool fixedSize_ = false;
  bool paintQueued_ = false;
};

}  // namespace

std::unique_ptr<TFormWindow> CreateFormWindow(TCustomForm* form) {
  return std::make_unique<QtFormWindow>(form);
}

namespace {
// The toolkit widget of a shown form, or nullptr.
QWidget* shownFormWidget(TCustomForm* form) {
  if (!form || !form->IsShown() || !form->Window()) return nullptr;
  auto* widget = static_cast<QWidget*>(form->Window()->NativeParent());
  return widget && widget->isVisible() ? widget : nullptr;
}
}  // namespace

void SetInputTrackingGrab(bool on) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;  // no windows
  if (mouseGrabber) mouseGrabber->releaseMouse();
  if (keyboardGrabber) keyboardGrabber->releaseKeyboard();
  mouseGrabber = nullptr;
  keyboardGrabber = nullptr;
  if (!on) return;
  static const bool watchingActivation = [] {
    // The program losing the activation ends any mouse mode.
    QObject::connect(qApp, &QGuiApplication::applicationStateChanged, qApp,
                     [](Qt::ApplicationState state) {
                       if (state != Qt::ApplicationActive) guarded([] { CancelInputTracking(); });
                     });
    return true;
  }();
  (void)watchingActivation;
  TCustomForm* active = Application ? Application->ActiveForm() : nullptr;
  TControl* under = FindControlAtScreen(GetCursorPos(), true);
  QWidget* mouseWidget = shownFormWidget(under ? under->GetParentForm() : nullptr);
  if (!mouseWidget) mouseWidget = shownFormWidget(active);
  QWidget* keyWidget = shownFormWidget(active);
  if (!keyWidget) keyWidget = mouseWidget;
  if (mouseWidget) {
    mouseWidget->grabMouse();
    mouseGrabber = mouseWidget;
  }
  if (keyWidget) {
    keyWidget->grabKeyboard();
    keyboardGrabber = keyWidget;
  }
}
