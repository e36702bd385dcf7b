#pragma once
// The toolkit cursor for each of our cursor numbers (qt_cursors.cpp).
#include <QCursor>

#include "platform/ui/control.h"

// A standard cursor maps to the toolkit's shape; a drawn one (cursor_shapes.h) or a
// registered one becomes a picture cursor, made once; an unknown number gives the arrow.
QCursor QtCursor(TCursor cursor);
