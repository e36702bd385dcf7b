// Cursor numbers to toolkit cursors: the standard shapes the toolkit has, the pictures the
// platform draws (cursor_shapes.h) and the ones components register (services.h). Pictures
// are turned into cursors on first use and kept for the rest of the run.
#include "platform/ui/qt_cursors.h"

#include <QImage>
#include <QPixmap>
#include <map>
#include <optional>

#include "platform/gfx/bitmap.h"
#include "platform/ui/cursor_shapes.h"
#include "platform/ui/services.h"

namespace {

// The standard cursors the toolkit has a shape for; crMultiDrag has none and is drawn.
std::optional<Qt::CursorShape> standardShape(TCursor cursor) {
  switch (cursor) {
    case crDefault: case crArrow: return Qt::ArrowCursor;
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: case crVSplit: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: case crHSplit: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass: return Qt::WaitCursor;
    case crDrag: return Qt::DragMoveCursor;  // dragging moves the nodes
    case crNoDrop: case crNo: return Qt::ForbiddenCursor;
    case crAppStart: return Qt::BusyCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    default: return std::nullopt;
  }
}

// A picture cursor: the picture's transparent colour becomes see-through, every other pixel
// opaque.
QCursor pictureCursor(const TBitmap& picture, TPoint hotSpot) {
  QImage image(picture.Width(), picture.Height(), QImage::Format_ARGB32);
  const uint32_t seeThrough = ColorToPixel(picture.TransparentColor());
  for (int y = 0; y < picture.Height(); ++y) {
    const uint32_t* in = picture.ScanLine(y);  // 0x00RRGGBB
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < picture.Width(); ++x) out[x] = in[x] == seeThrough ? 0u : in[x] | 0xFF000000u;
  }
  return QCursor(QPixmap::fromImage(image), hotSpot.X, hotSpot.Y);
}

std::map<TCursor, QCursor>& pictureCursors() {  // drawn on first use, or registered
  static std::map<TCursor, QCursor> cursors;
  return cursors;
}

}  // namespace

QCursor QtCursor(TCursor cursor) {
  if (std::optional<Qt::CursorShape> shape = standardShape(cursor)) return QCursor(*shape);
  auto& cursors = pictureCursors();
  if (auto it = cursors.find(cursor); it != cursors.end()) return it->second;
  if (std::optional<TDrawnCursor> drawn = DrawnCursor(cursor))
    return cursors.emplace(cursor, pictureCursor(drawn->Picture, drawn->HotSpot)).first->second;
  return QCursor(Qt::ArrowCursor);
}

void RegisterCursor(TCursor id, const TBitmap& image, TPoint hotSpot) {
  pictureCursors().insert_or_assign(id, pictureCursor(image, hotSpot));
}

bool CursorRegistered(TCursor id) {
  return standardShape(id) || pictureCursors().count(id) > 0 || DrawnCursor(id).has_value();
}
