// The canvas's font engine on Qt (see font_face.h): faces for TFont values, their metrics and
// widths, and glyph painting into a 0x00RRGGBB surface without antialiasing.
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QString>
#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

#include "platform/core/utf8.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/font_face.h"
#include "platform/gfx/raster.h"

namespace {

// Qt's font database needs an application object. The windowing layer creates one at start;
// code that draws text before that (tools, tests) gets a GUI application here, on the offscreen
// platform when there is no display.
void ensureGuiApplication() {
  if (QCoreApplication::instance()) return;
  static int argc = 1;
  static char arg0[] = "quillon";
  static char* argv[] = {arg0, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication* app = new QGuiApplication(argc, argv);  // lives as long as the process
  (void)app;
}

struct Substitution {
  const char* windowsName;
  const char* family;
};
// Windows face names (compared case-insensitively for Latin names) -> installed families.
const Substitution kSubstitutions[] = {
    {"宋体", "AR PL UMing CN"},        {"SimSun", "AR PL UMing CN"},
    {"新宋体", "AR PL UMing CN"},      {"NSimSun", "AR PL UMing CN"},
    {"楷体_GB2312", "AR PL UKai CN"},  {"楷体", "AR PL UKai CN"},
    {"KaiTi", "AR PL UKai CN"},        {"KaiTi_GB2312", "AR PL UKai CN"},
    {"黑体", "WenQuanYi Zen Hei"},     {"SimHei", "WenQuanYi Zen Hei"},
    {"MS Sans Serif", "DejaVu Sans"},  {"Microsoft Sans Serif", "DejaVu Sans"},
    {"Tahoma", "DejaVu Sans"},         {"Arial", "DejaVu Sans"},
    {"Verdana", "DejaVu Sans"},        {"System", "DejaVu Sans"},
    {"MS Shell Dlg", "DejaVu Sans"},   {"MS Shell Dlg 2", "DejaVu Sans"},
    {"Courier New", "DejaVu Sans Mono"}, {"Courier", "DejaVu Sans Mono"},
    {"Times New Roman", "DejaVu Serif"},
};
const char* const kCjkFallback = "WenQuanYi Zen Hei";

// The Chinese faces of Windows (GB2312 character set) whose cell equals their em.
bool isWindowsGbFace(const std::string& name) {
  static const char* const names[] = {"宋体", "SimSun", "新宋体", "NSimSun", "楷体_GB2312",
                                      "KaiTi", "KaiTi_GB2312", "楷体", "黑体", "SimHei",
                                      "仿宋_GB2312", "FangSong_GB2312", "仿宋", "FangSong"};
  for (const char* n : names)
    if (name == n) return true;
  return false;
}

// The characters of a UTF-8 run for Qt; an invalid byte shows as the replacement character.
QString toQ(std::string_view utf8) {
  std::u32string u = Utf8ToUtf32(utf8);
  for (char32_t& c : u)
    if (IsUtf8Escape(c)) c = 0xFFFD;
  return QString::fromUcs4(u.data(), qsizetype(u.size()));
}

}  // namespace

std::string SubstituteFontFamily(const std::string& windowsName) {
  for (const Substitution& s : kSubstitutions)
    if (AnsiLowerCase(windowsName) == AnsiLowerCase(s.windowsName)) return s.family;
  return "DejaVu Sans";
}

namespace fontface {

struct Face {
  QFont font;
  std::unique_ptr<QFontMetrics> metrics;
  TTextMetric tm;
  int width(const QString& s) const { return s.isEmpty() ? 0 : metrics->horizontalAdvance(s); }
};

const Face& FaceFor(const TFont& f) {
  ensureGuiApplication();
  const std::string key = f.Name() + '\x01' + std::to_string(f.Height()) + '\x01' +
                          std::to_string(f.Style().bits()) + '\x01' + std::to_string(f.Pitch());
  static std::map<std::string, std::unique_ptr<Face>> cache;
  auto it = cache.find(key);
  if (it != cache.end()) return *it->second;

  auto face = std::make_unique<Face>();
  QFont& q = face->font;
  q.setFamilies({QString::fromStdString(SubstituteFontFamily(f.Name())), QString(kCjkFallback),
                 QStringLiteral("AR PL UMing CN")});
  q.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
  q.setHintingPreference(QFont::PreferFullHinting);
  q.setKerning(false);  // GDI does not kern unless asked
  q.setBold(f.Style().contains(fsBold));
  q.setItalic(f.Style().contains(fsItalic));
  q.setUnderline(f.Style().contains(fsUnderline));
  q.setStrikeOut(f.Style().contains(fsStrikeOut));
  if (f.Pitch() == fpFixed) q.setFixedPitch(true);
  // Negative heights give the em size, positive ones the cell height (LOGFONT rules);
  // 0 asks for the default size.
  int em = f.Height() < 0 ? -f.Height() : f.Height() > 0 ? f.Height() : 12;
  q.setPixelSize(std::max(em, 1));
  const bool gbFace = isWindowsGbFace(f.Name());
  if (f.Height() > 0 && !gbFace) {
    QFontMetrics m(q);
    int cell = m.ascent() + m.descent();
    if (cell > 0 && cell != f.Height()) {
      em = std::max(1, int(std::lround(double(em) * f.Height() / cell)));
      q.setPixelSize(em);
      // Hinted metrics do not scale linearly: step the em until the cell is the largest
      // that does not exceed the asked height (Windows picks the same way).
      auto cellAt = [&q](int size) {
        q.setPixelSize(size);
        QFontMetrics mm(q);
        return mm.ascent() + mm.descent();
      };
      while (em > 1 && cellAt(em) > f.Height()) --em;
      while (cellAt(em + 1) <= f.Height()) ++em;
      q.setPixelSize(em);
    }
  }
  face->metrics = std::make_unique<QFontMetrics>(q);
  const QFontMetrics& m = *face->metrics;
  TTextMetric& tm = face->tm;
  tm.tmAscent = m.ascent();
  tm.tmDescent = m.descent();
  if (f.Height() > 0 && !gbFace && tm.tmAscent + tm.tmDescent != f.Height() &&
      tm.tmAscent + tm.tmDescent > 0) {
    // TrueType scales to any cell height on Windows; the hinted substitute may lack that
    // exact size, so the nearest smaller face keeps the asked cell as its line pitch.
    const int cell = tm.tmAscent + tm.tmDescent;
    tm.tmAscent = int(std::lround(double(tm.tmAscent) * f.Height() / cell));
    tm.tmDescent = f.Height() - tm.tmAscent;
  }
  if (gbFace) {
    // The Windows GB2312 faces have no internal leading: their cell is exactly the em
    // (宋体 at -21 is 21 pixels high, ascent 18), while the substitutes carry more room.
    // Keep Windows' line pitch so multi-line texts take the height they take there.
    tm.tmAscent = (em * 6 + 3) / 7;
    tm.tmDescent = em - tm.tmAscent;
  }
  tm.tmHeight = tm.tmAscent + tm.tmDescent;
  tm.tmInternalLeading = std::max(0, tm.tmHeight - em);
  tm.tmExternalLeading = std::max(0, m.leading());
  tm.tmAveCharWidth = m.averageCharWidth();
  tm.tmMaxCharWidth = m.maxWidth();
  return *(cache[key] = std::move(face));
}

const TTextMetric& Metrics(const Face& face) { return face.tm; }

int TextWidth(const Face& face, std::string_view utf8) { return face.width(toQ(utf8)); }

void PaintRun(const raster::Surface& surf, const std::vector<TRect>& clip, const Face& face,
              int x, int top, std::string_view utf8, uint32_t pixel) {
  if (!surf.bits || clip.empty() || utf8.empty()) return;
  const QString text = toQ(utf8);
  const int h = face.tm.tmHeight;
  const TRect reach{x - h, top, x + face.width(text) + h, top + h};
  std::vector<TRect> area;
  raster::ClipRects({reach}, clip, area);
  if (area.empty()) return;
  QImage image(reinterpret_cast<uchar*>(surf.bits), surf.width, surf.height,
               qsizetype(surf.stride) * 4, QImage::Format_RGB32);
  QRegion region;
  for (const TRect& r : area) region += QRect(r.Left, r.Top, r.Width(), r.Height());
  {
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setClipRegion(region);
    p.setFont(face.font);
    p.setPen(QColor(int((pixel >> 16) & 0xFF), int((pixel >> 8) & 0xFF), int(pixel & 0xFF)));
    p.drawText(QPoint(x, top + face.tm.tmAscent), text);
  }
  // Qt writes 0xFF into the unused byte; the surface keeps 0x00RRGGBB.
  for (const TRect& r : area)
    for (int y = r.Top; y < r.Bottom; ++y) {
      uint32_t* row = surf.row(y);
      for (int xx = r.Left; xx < r.Right; ++xx) row[xx] &= 0x00FFFFFFu;
    }
}

}  // namespace fontface
