#pragma once
// The toolkit font for a TFont, for the native editors (the canvas has its own text path).
#include <QFont>

#include "platform/gfx/graphics.h"

QFont QFontForTFont(const TFont& font);
