// The screen overlay's toolkit window (TOverlayWindow, form_window.h).
//
// A tool-tip window: the window system never activates one, gives it no frame and no taskbar
// entry, and keeps it above ordinary windows (on X11 it is not managed at all). The flags say
// the rest outright, so no platform has to infer it from the type: frameless, on top, refuses
// the focus, transparent for input, no drop shadow. The shape is the widget's mask (a shaped
// window where the window system has them), so no compositor is needed.
#include <QGuiApplication>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/region.h"
#include "platform/ui/form_window.h"

namespace {

constexpr Qt::WindowFlags kOverlayFlags =
    Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
    Qt::WindowTransparentForInput | Qt::NoDropShadowWindowHint | Qt::X11BypassWindowManagerHint;

class OverlayWidget : public QWidget {
 public:
  OverlayWidget() : QWidget(nullptr, kOverlayFlags) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
  }

  QImage picture_;  // Format_RGB32, the widget's size

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    for (const QRect& r : event->region()) painter.drawImage(r, picture_, r);
  }
};

class QtOverlayWindow : public TOverlayWindow {
 public:
  ~QtOverlayWindow() override { delete widget_; }

  void SetPicture(const TBitmap& picture) override {
    // The pixels are 0x00RRGGBB, as RGB32 stores them; the image gets its own copy.
    widget_->picture_ = picture.Empty() ? QImage()
                                        : QImage(reinterpret_cast<const uchar*>(picture.Bits()), picture.Width(),
                                                 picture.Height(), picture.Width() * 4, QImage::Format_RGB32)
                                              .copy();
    widget_->resize(std::max(1, picture.Width()), std::max(1, picture.Height()));
    widget_->update();
  }

  void SetShape(const TRegion& shape) override {
    // Our regions are already Y-X banded, as setRects requires.
    std::vector<QRect> rects;
    rects.reserve(shape.Rects().size());
    for (const TRect& r : shape.Rects()) rects.emplace_back(r.Left, r.Top, r.Width(), r.Height());
    QRegion mask;
    mask.setRects(rects.data(), static_cast<int>(rects.size()));
    widget_->setMask(mask);
  }

  void ClearShape() override { widget_->clearMask(); }

  void MoveTo(TPoint screenTopLeft) override { widget_->move(screenTopLeft.X, screenTopLeft.Y); }

  void SetShown(bool shown) override {
    if (shown == widget_->isVisible()) return;
    if (shown) {
      widget_->show();
      // The headless test platform has no stacking order (and says so on every raise).
      if (QGuiApplication::platformName() != QLatin1String("offscreen")) widget_->raise();
    } else {
      widget_->hide();
    }
  }

  void* NativeWindow() override { return widget_; }

 private:
  OverlayWidget* widget_ = new OverlayWidget();
};

}  // namespace

std::unique_ptr<TOverlayWindow> CreateOverlayWindow() { return std::make_unique<QtOverlayWindow>(); }
