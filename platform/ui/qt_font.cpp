#include "platform/ui/qt_font.h"

#include <QStringList>

QFont QFontForTFont(const TFont& font) {
  QFont q;
  QStringList families;
  families << QString::fromStdString(SubstituteFontFamily(font.Name()))
           << QStringLiteral("WenQuanYi Zen Hei");
  q.setFamilies(families);
  // Negative heights are the character (em) height; positive ones the cell height, of which
  // the em is about seven eighths for these faces.
  int h = font.Height();
  q.setPixelSize(std::max(1, h < 0 ? -h : (h > 0 ? h * 7 / 8 : 12)));
  q.setBold(font.Style().contains(fsBold));
  q.setItalic(font.Style().contains(fsItalic));
  q.setUnderline(font.Style().contains(fsUnderline));
  q.setStrikeOut(font.Style().contains(fsStrikeOut));
  q.setStyleStrategy(QFont::NoAntialias);
  return q;
}
