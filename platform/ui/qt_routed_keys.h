#pragma once
// Remembers the one key event a native editor has routed to its form, so the form's window
// does not route it a second time when the editor leaves it unhandled.
#include <QKeyEvent>

void MarkKeyEventRouted(const QKeyEvent* event);
// True (and forgotten) when `event` is the one last marked.
bool TakeKeyEventRouted(const QKeyEvent* event);
