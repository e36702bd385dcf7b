#pragma once
// The font engine behind the canvas's text (internal): a face for a TFont, its metrics, the
// width of a UTF-8 run and the glyphs of a run painted into a surface. Implemented with Qt in
// qt_font_face.cpp, rendering without antialiasing so that pictures are deterministic; the
// rest of the canvas sees only this header.
//
// Faces map Windows face names to the installed families (SubstituteFontFamily) and keep the
// Windows cell: tmHeight = ascent + descent; a positive TFont height is the exact cell height;
// the Chinese GB2312 faces have no internal leading. An invalid byte in the text (utf8.h)
// shows as U+FFFD.
//
// Qt's font database needs an application object: if none exists at the first call, one is
// created (offscreen when there is no display), so the windowing layer creates its own before
// any text is measured or drawn.
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/core/types.h"

class TFont;
struct TTextMetric;
namespace raster { struct Surface; }

namespace fontface {

struct Face;  // cached per font value; lives as long as the process

const Face& FaceFor(const TFont& font);
const TTextMetric& Metrics(const Face& face);
int TextWidth(const Face& face, std::string_view utf8);  // one line, no tab expansion
// Paints the glyphs of utf8 with the cell's top-left at device (x, top) in the colour pixel,
// clipped to the device rectangles in clip. Touches only the run's neighbourhood (the cell
// widened by a cell height on both sides, for overhangs).
void PaintRun(const raster::Surface& surface, const std::vector<TRect>& clip, const Face& face,
              int x, int top, std::string_view utf8, uint32_t pixel);

}  // namespace fontface
