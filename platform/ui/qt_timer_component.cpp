#include <QTimer>

#include "platform/core/store_changed.h"
#include "platform/ui/application.h"
#include "platform/ui/timer.h"

struct TTimer::Impl {
  QTimer timer;
};

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), impl_(std::make_unique<Impl>()) {
  QObject::connect(&impl_->timer, &QTimer::timeout, [this] { Tick(); });
  update();
}

TTimer::~TTimer() { impl_->timer.stop(); }

void TTimer::SetEnabled(bool value) {
  if (StoreChanged(enabled_, value)) update();
}

void TTimer::SetInterval(int value) {
  if (StoreChanged(interval_, value)) update();
}

void TTimer::update() {
  impl_->timer.stop();
  if (enabled_ && interval_ > 0) impl_->timer.start(interval_);
}

void TTimer::Tick() {
  if (!OnTimer) return;
  try {
    OnTimer(this);
  } catch (const std::exception& e) {
    if (Application) Application->HandleException(e);
  }
}
