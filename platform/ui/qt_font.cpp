#include "platform/ui/qt_font.h"

#include <QFontInfo>
#include <QStringList>

QFont QFontForTFont(const TFont& font) {
  static const std::pair<const char*, const char*> substitutes[] = {
      {"宋体", "AR PL UMing CN"}, {"SimSun", "AR PL UMing CN"},
      {"楷体_GB2312", "AR PL UKai CN"}, {"KaiTi", "AR PL UKai CN"},
      {"MS Sans Serif", "DejaVu Sans"}, {"Tahoma", "DejaVu Sans"}, {"Arial", "DejaVu Sans"}};
  QString family = QString::fromStdString(font.Name());
  for (const auto& [from, to] : substitutes)
    if (font.Name() == from) family = QString::fromUtf8(to);
  QFont q(family);
  QStringList families;
  families << family << QStringLiteral("WenQuanYi Zen Hei");
  q.setFamilies(families);
  int h = font.Height();
  q.setPixelSize(h < 0 ? -h : (h > 0 ? h * 7 / 8 : 11));
  q.setBold(font.Style().contains(fsBold));
  q.setItalic(font.Style().contains(fsItalic));
  q.setUnderline(font.Style().contains(fsUnderline));
  q.setStrikeOut(font.Style().contains(fsStrikeOut));
  q.setStyleStrategy(QFont::NoAntialias);
  return q;
}
