#include "platform/ui/qt_routed_keys.h"

namespace {
const QKeyEvent* routed = nullptr;
}

void MarkKeyEventRouted(const QKeyEvent* event) { routed = event; }

bool TakeKeyEventRouted(const QKeyEvent* event) {
  if (event != routed) return false;
  routed = nullptr;
  return true;
}
