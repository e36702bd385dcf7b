// Text output of TCanvas through Qt, rendered without antialiasing so that pictures are
// deterministic, with Windows' DrawText layout rules and a table mapping Windows face names
// to the installed fonts.
//
// Windows rules followed here:
//   - a cell is tmHeight = ascent + descent high; TextOut's y is the cell's top (TA_TOP)
//   - DrawText: lines tmHeight apart; DT_VCENTER / DT_BOTTOM only with DT_SINGLELINE;
//     word breaks at spaces and between CJK characters (a word wider than the rectangle
//     overflows); "&x" underlines x one pixel below the baseline, "&&" is "&"; tabs every
//     8 average character widths; the end ellipsis is "..." and replaces trailing
//     characters until the line fits
//   - an opaque background fills each line's text cell (DrawText, TextOut) or the given
//     rectangle (ETO_OPAQUE)
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
#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas_internal.h"

namespace {

// --- Qt set-up and fonts -----------------------------------------------------------------------

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

struct Face {
  QFont font;
  std::unique_ptr<QFontMetrics> metrics;
  TTextMetric tm;
  int width(const QString& s) const { return s.isEmpty() ? 0 : metrics->horizontalAdvance(s); }
};

// The Chinese faces of Windows (GB2312 character set) whose cell equals their em.
bool isWindowsGbFace(const std::string& name) {
  static const char* const names[] = {"宋体", "SimSun", "新宋体", "NSimSun", "楷体_GB2312",
                                      "KaiTi", "KaiTi_GB2312", "楷体", "黑体", "SimHei",
                                      "仿宋_GB2312", "FangSong_GB2312", "仿宋", "FangSong"};
  for (const char* n : names)
    if (name == n) return true;
  return false;
}

const Face& faceFor(const TFont& f) {
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

QString toQ(std::u32string_view s) {
  return QString::fromUcs4(reinterpret_cast<const char32_t*>(s.data()), qsizetype(s.size()));
}

// --- DrawText layout ----------------------------------------------------------------------------

bool isCjk(char32_t c) {
  return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x20000 && c <= 0x2FFFF);
}
// Closing punctuation never starts a line (Windows' line-breaking keeps it on the line before).
bool isClosingPunct(char32_t c) {
  static const std::u32string closers = U"，。、；：？！）》」』】〕〉”’,.;:?!)]}%";
  return closers.find(c) != std::u32string::npos;
}

struct Line {
  std::u32string text;
  int prefix = -1;  // index of the underlined character, -1 for none
  int width = 0;
};

struct Layout {
  const Face& face;
  unsigned flags;
  int tabWidth;
  // Width of a line, tabs expanded to stops relative to the line's start.
  int measure(const std::u32string& s) const {
    if (!(flags & DT_EXPANDTABS) || s.find(U'\t') == std::u32string::npos) return face.width(toQ(s));
    int x = 0;
    size_t start = 0;
    while (true) {
      size_t tab = s.find(U'\t', start);
      x += face.width(toQ(std::u32string_view(s).substr(start, tab - start)));
      if (tab == std::u32string::npos) break;
      x = tabWidth > 0 ? (x / tabWidth + 1) * tabWidth : x;
      start = tab + 1;
    }
    return x;
  }
};

// Removes "&" prefixes: "&&" -> "&", "&x" -> x underlined (the first one is remembered).
Line stripPrefixes(const std::u32string& s, unsigned flags) {
  Line line;
  if (flags & DT_NOPREFIX) {
    line.text = s;
    return line;
  }
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == U'&') {
      if (i + 1 >= s.size()) break;  // a trailing "&" shows nothing
      if (s[i + 1] == U'&') {
        line.text += U'&';
        ++i;
        continue;
      }
      if (line.prefix < 0) line.prefix = int(line.text.size());
      continue;
    }
    line.text += s[i];
  }
  return line;
}

// Splits a paragraph into lines no wider than maxWidth (greedy; a single unbreakable word
// may be wider and overflows, as DrawText lets it).
void wrapParagraph(const Line& para, const Layout& lay, int maxWidth, std::vector<Line>& out) {
  const std::u32string& s = para.text;
  size_t start = 0;
  while (true) {
    // Skip the spaces a break left at the start of the new line.
    if (start > 0) while (start < s.size() && s[start] == U' ') ++start;
    if (start >= s.size()) {
      if (start == 0 || out.empty()) out.push_back({U"", -1, 0});
      return;
    }
    size_t lastFit = std::u32string::npos;  // end (exclusive) of the longest fitting prefix
    size_t pos = start;
    while (pos < s.size()) {
      // Next break opportunity after pos.
      size_t next = pos;
      if (isCjk(s[next])) {
        ++next;
      } else {
        while (next < s.size() && s[next] != U' ' && !isCjk(s[next])) ++next;
      }
      while (next < s.size() && isClosingPunct(s[next])) ++next;
      // Trailing spaces do not count against the width.
      if (lay.measure(s.substr(start, next - start)) > maxWidth) break;
      lastFit = next;
      while (next < s.size() && s[next] == U' ') ++next;
      pos = next;
    }
    size_t end = lastFit;
    if (end == std::u32string::npos || end <= start) {
      // Nothing fits: take the first word whole.
      end = start;
      if (isCjk(s[end])) ++end;
      else while (end < s.size() && s[end] != U' ' && !isCjk(s[end])) ++end;
      while (end < s.size() && isClosingPunct(s[end])) ++end;
    }
    Line line;
    line.text = s.substr(start, end - start);
    if (para.prefix >= int(start) && para.prefix < int(end)) line.prefix = para.prefix - int(start);
    out.push_back(std::move(line));
    if (end >= s.size()) return;
    start = end;
  }
}

// Replaces trailing characters with "..." until the line fits (DT_END_ELLIPSIS).
void ellipsify(Line& line, const Layout& lay, int maxWidth) {
  if (lay.measure(line.text) <= maxWidth) return;
  const std::u32string dots = U"...";
  std::u32string t = line.text;
  while (!t.empty() && lay.measure(t + dots) > maxWidth) t.pop_back();
  line.text = t + dots;
  if (line.prefix >= int(t.size())) line.prefix = -1;
}

}  // namespace

std::string SubstituteFontFamily(const std::string& windowsName) {
  for (const Substitution& s : kSubstitutions)
    if (AnsiLowerCase(windowsName) == AnsiLowerCase(s.windowsName)) return s.family;
  return "DejaVu Sans";
}

// --- output ---------------------------------------------------------------------------------------

namespace {

// Draws one run of text with its cell's top-left at device (x, top), clipped to the given
// device rectangles, and keeps the surface's top byte clear. Only the run's neighbourhood
// (the cell widened by a cell height on both sides for overhangs) is touched.
void paintRun(const raster::Surface& surf, const std::vector<TRect>& clip, const Face& face,
              int x, int top, const QString& text, uint32_t pixel) {
  if (!surf.bits || clip.empty() || text.isEmpty()) return;
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

std::vector<TRect> clipTo(const std::vector<TRect>& clip, const TRect* limit) {
  if (!limit) return clip;
  std::vector<TRect> out;
  raster::ClipRects({*limit}, clip, out);
  return out;
}

}  // namespace

TSize TCanvas::TextExtent(std::string_view text) {
  const Face& face = faceFor(Font);
  return {face.width(toQ(Utf8ToUtf32(text))), face.tm.tmHeight};
}

bool TCanvas::GetTextMetrics(TTextMetric& tm) {
  tm = faceFor(Font).tm;
  return true;
}

void TCanvas::ExtTextOut(int x, int y, unsigned options, const TRect* rect, std::string_view text,
                         const int* dx) {
  realiseFont();
  realiseBrush();
  const Face& face = faceFor(Font);
  const std::u32string u = Utf8ToUtf32(text);
  // Advances: the font's, or the caller's per character.
  std::vector<int> advances;
  int width = 0;
  if (dx) {
    for (size_t i = 0; i < u.size(); ++i) { advances.push_back(dx[i]); width += dx[i]; }
  } else {
    width = face.width(toQ(u));
  }
  TPoint origin = (textAlign_ & TA_UPDATECP) ? penPos_ : TPoint{x, y};
  int left = origin.X;
  switch (textAlign_ & TA_CENTER) {
    case TA_CENTER: left -= width / 2; break;
    case TA_RIGHT: left -= width; break;
    default: break;
  }
  int top = origin.Y;
  if ((textAlign_ & TA_BASELINE) == TA_BASELINE) top -= face.tm.tmAscent;
  else if (textAlign_ & TA_BOTTOM) top -= face.tm.tmHeight;
  if (textAlign_ & TA_UPDATECP) {
    // The current position moves past the text (for left alignment; right alignment moves
    // it back to the text's start).
    if ((textAlign_ & TA_CENTER) == TA_RIGHT) penPos_.X = left;
    else if ((textAlign_ & TA_CENTER) == TA_LEFT) penPos_.X = left + width;
  }
  if (!bits_) return;

  const TRect devCell = LogicalToDevice(TRect{left, top, left + width, top + face.tm.tmHeight});
  TRect devRect;
  if (rect) devRect = LogicalToDevice(*rect);
  const std::vector<TRect> canvasClip = clipRects();
  if (rect && (options & ETO_OPAQUE)) {
    paintDevice({devRect}, raster::Brush::Solid(devicePixel(bkColor_)), 0xF0);
  } else if (bkMode_ == OPAQUE) {
    std::vector<TRect> cell{devCell};
    if (rect && (options & ETO_CLIPPED)) cell = {IntersectRect(devCell, devRect)};
    paintDevice(cell, raster::Brush::Solid(devicePixel(bkColor_)), 0xF0);
  }
  const std::vector<TRect> clip = clipTo(canvasClip, (rect && (options & ETO_CLIPPED)) ? &devRect : nullptr);
  const uint32_t fg = devicePixel(textColor_);
  if (!dx) {
    paintRun(surface(), clip, face, devCell.Left, devCell.Top, toQ(u), fg);
  } else {
    int cx = devCell.Left;
    for (size_t i = 0; i < u.size(); ++i) {
      paintRun(surface(), clip, face, cx, devCell.Top, toQ(std::u32string_view(u).substr(i, 1)), fg);
      cx += advances[i];
    }
  }
  changed();
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
  ExtTextOut(x, y, 0, nullptr, text);
  // VCL moves the pen position past the text.
  MoveTo(x + TextWidth(text), y);
}

void TCanvas::TextRect(const TRect& rect, int x, int y, std::string_view text) {
  unsigned options = ETO_CLIPPED;
  if (Brush.Style() != bsClear) options |= ETO_OPAQUE;  // VCL: a brush fills the rectangle
  ExtTextOut(x, y, options, &rect, text);
}

int TCanvas::DrawText(std::string_view text, TRect& rect, unsigned flags, std::string* modifiedText) {
  const Face& face = faceFor(Font);
  const TTextMetric& tm = face.tm;
  const int lineHeight = tm.tmHeight + ((flags & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
  const Layout lay{face, flags, 8 * tm.tmAveCharWidth};
  const int maxWidth = rect.Width();
  const bool single = flags & DT_SINGLELINE;
  const bool calc = flags & DT_CALCRECT;

  // Paragraphs: hard line breaks (CR LF, LF or CR) unless single-line, where they vanish.
  std::u32string u = Utf8ToUtf32(text);
  if (!(flags & DT_EXPANDTABS)) u.erase(std::remove(u.begin(), u.end(), U'\t'), u.end());
  std::vector<std::u32string> paragraphs;
  if (single) {
    u.erase(std::remove_if(u.begin(), u.end(), [](char32_t c) { return c == U'\r' || c == U'\n'; }), u.end());
    paragraphs.push_back(u);
  } else {
    std::u32string cur;
    for (size_t i = 0; i < u.size(); ++i) {
      if (u[i] == U'\r' || u[i] == U'\n') {
        paragraphs.push_back(cur);
        cur.clear();
        if (u[i] == U'\r' && i + 1 < u.size() && u[i + 1] == U'\n') ++i;
      } else {
        cur += u[i];
      }
    }
    paragraphs.push_back(cur);
  }

  if (u.empty() && text.empty()) {
    if (calc) {
      rect.Right = rect.Left;
      rect.Bottom = rect.Top;
    }
    return 0;
  }

  std::vector<Line> lines;
  for (const std::u32string& p : paragraphs) {
    Line para = stripPrefixes(p, flags);
    if ((flags & DT_WORDBREAK) && !single) wrapParagraph(para, lay, maxWidth, lines);
    else lines.push_back(para);
  }

  // Lines below the rectangle are not drawn: the first that does not fit entirely is the
  // last one drawn. With an end ellipsis it carries the rest of the text, so the ellipsis
  // shows that something was left out.
  const bool ellipsis = flags & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS);
  if (!calc && !(flags & DT_NOCLIP) && !single) {
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
      if (rect.Top + int(i + 1) * lineHeight > rect.Bottom) {
        if (ellipsis)
          for (size_t j = i + 1; j < lines.size(); ++j) lines[i].text += U" " + lines[j].text;
        lines.resize(i + 1);
        break;
      }
    }
  }
  if (ellipsis && !calc) {
    // A word wrapped onto a line of its own is cut without dots; only the last line (or
    // every line without word breaks) gets them.
    for (Line& line : lines)
      if (!(flags & DT_WORDBREAK) || single || &line == &lines.back()) ellipsify(line, lay, maxWidth);
    if ((flags & DT_MODIFYSTRING) && modifiedText) {
      std::u32string joined;
      for (size_t i = 0; i < lines.size(); ++i) joined += (i ? U"\r\n" : U"") + lines[i].text;
      *modifiedText = Utf32ToUtf8(joined);
    }
  }

  int widest = 0;
  for (Line& line : lines) {
    line.width = lay.measure(line.text);
    widest = std::max(widest, line.width);
  }
  const int textHeight = int(lines.size()) * lineHeight;

  if (calc) {
    rect.Right = rect.Left + widest;
    rect.Bottom = rect.Top + textHeight;
    return textHeight;
  }

  int y = rect.Top;
  if (single && (flags & DT_VCENTER)) y = rect.Top + (rect.Height() - textHeight) / 2;
  else if (single && (flags & DT_BOTTOM)) y = rect.Bottom - textHeight;

  realiseFont();
  realiseBrush();
  if (bits_) {
    const TRect devRect = LogicalToDevice(rect);
    const std::vector<TRect> clip = clipTo(clipRects(), (flags & DT_NOCLIP) ? nullptr : &devRect);
    const uint32_t fg = devicePixel(textColor_);
    const raster::Surface surf = surface();
    int ly = y;
    for (const Line& line : lines) {
      int x = rect.Left;
      if (flags & DT_CENTER) x = (rect.Left + rect.Right - line.width) / 2;
      else if (flags & DT_RIGHT) x = rect.Right - line.width;
      const TPoint d = LogicalToDevice(TPoint{x, ly});
      if (bkMode_ == OPAQUE && line.width > 0) {
        std::vector<TRect> cell;
        raster::ClipRects({Bounds(d.X, d.Y, line.width, lineHeight)}, clip, cell);
        if (!cell.empty()) raster::FillRects(surf, cell, raster::Brush::Solid(devicePixel(bkColor_)), 0xF0);
      }
      if (!(flags & DT_PREFIXONLY)) {
        // Tab-separated segments start at the expanded stops.
        size_t start = 0;
        int segX = 0;
        while (true) {
          size_t tab = (flags & DT_EXPANDTABS) ? line.text.find(U'\t', start) : std::u32string::npos;
          std::u32string_view seg = std::u32string_view(line.text).substr(start, tab - start);
          paintRun(surf, clip, face, d.X + segX, d.Y, toQ(seg), fg);
          if (tab == std::u32string::npos) break;
          segX = lay.measure(line.text.substr(0, tab + 1));
          start = tab + 1;
        }
      }
      if (line.prefix >= 0 && !(flags & DT_HIDEPREFIX)) {
        // The prefix underline: one pixel below the baseline, under the character's advance.
        const int px = lay.measure(line.text.substr(0, size_t(line.prefix)));
        const int pe = lay.measure(line.text.substr(0, size_t(line.prefix) + 1));
        std::vector<TRect> ul;
        raster::ClipRects({TRect{d.X + px, d.Y + tm.tmAscent + 1, d.X + pe - 1, d.Y + tm.tmAscent + 2}}, clip, ul);
        if (!ul.empty()) raster::FillRects(surf, ul, raster::Brush::Solid(fg), 0xF0);
      }
      ly += lineHeight;
    }
    changed();
  }
  // Windows returns the offset of the text's bottom from the rectangle's top.
  return (y - rect.Top) + textHeight;
}
