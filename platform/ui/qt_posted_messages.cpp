// Posted messages (services.h): a queue drained by the event loop once the input being handled
// is done. A control that goes away takes its pending messages with it.
#include <QCoreApplication>
#include <QTimer>
#include <deque>

#include "platform/ui/application.h"
#include "platform/ui/services.h"

namespace {

struct TPosted {
  TControl* Control;
  TMessage Msg;
};

std::deque<TPosted>& queue() {
  static std::deque<TPosted> posted;
  return posted;
}

bool drainScheduled = false;

// Each message is taken off the queue before it runs, so a handler that posts again or
// destroys controls sees a consistent queue.
void drain() {
  drainScheduled = false;
  size_t pending = queue().size();  // messages posted while draining wait for the next round
  while (pending-- > 0 && !queue().empty()) {
    TPosted posted = queue().front();
    queue().pop_front();
    try {
      posted.Control->Perform(posted.Msg.Msg, posted.Msg.WParam, posted.Msg.LParam);
    } catch (const std::exception& e) {
      if (Application) Application->HandleException(e);
    }
  }
}

}  // namespace

void PostMessage(TControl* control, uint32_t Msg, intptr_t WParam, intptr_t LParam) {
  if (!control) return;
  queue().push_back({control, TMessage{Msg, WParam, LParam, 0}});
  if (drainScheduled) return;
  drainScheduled = true;
  QTimer::singleShot(0, QCoreApplication::instance(), drain);
}

void RemovePostedMessages(TControl* control, uint32_t Msg) {
  std::erase_if(queue(), [&](const TPosted& p) {
    return p.Control == control && (Msg == 0 || p.Msg.Msg == Msg);
  });
}

bool HasPostedMessage(const TControl* control, uint32_t Msg) {
  for (const TPosted& p : queue())
    if (p.Control == control && p.Msg.Msg == Msg) return true;
  return false;
}
