// Window timers by identifier: one toolkit timer per (control, id).
#include <QTimer>
#include <map>
#include <utility>

#include "platform/ui/application.h"
#include "platform/ui/form_window.h"
#include "platform/ui/win_control.h"

namespace {
std::map<std::pair<TWinControl*, int>, QTimer*>& timers() {
  static std::map<std::pair<TWinControl*, int>, QTimer*> map;
  return map;
}
}  // namespace

void StartControlTimer(TWinControl* control, int id, int intervalMs) {
  auto key = std::make_pair(control, id);
  QTimer*& timer = timers()[key];
  if (!timer) {
    timer = new QTimer();
    QObject::connect(timer, &QTimer::timeout, [control, id] {
      try {
        control->DispatchTimer(id);
      } catch (const std::exception& e) {
        if (Application) Application->HandleException(e);
      }
    });
  }
  timer->start(std::max(intervalMs, 1));
}

void StopControlTimer(TWinControl* control, int id) {
  auto it = timers().find({control, id});
  if (it == timers().end()) return;
  it->second->stop();
  delete it->second;
  timers().erase(it);
}
