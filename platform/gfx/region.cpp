// Region set operations by band sweep: cut the plane at every Top/Bottom of both operands,
// combine the x-spans of each horizontal band with the operation, and merge equal bands that
// touch. Regions here are small (clip regions of a few rectangles), so clarity wins over the
// X11-style in-place merging GDI uses.
#include "platform/gfx/region.h"

#include <algorithm>
#include <cstdlib>

#include "platform/core/exception.h"

namespace {

struct Span {
  int left, right;  // half-open
};
using Spans = std::vector<Span>;

enum class SetOp { Union, Intersect, Subtract };

// Spans of a banded region inside [y0, y1), which no band boundary cuts.
Spans spansAt(const std::vector<TRect>& rects, int y0, int y1) {
  Spans out;
  for (const TRect& r : rects) {
    if (r.Top > y0) break;  // banded: sorted by Top
    if (r.Top <= y0 && r.Bottom >= y1) out.push_back({r.Left, r.Right});
  }
  return out;
}

// Sorts and merges overlapping or touching spans.
Spans normalise(Spans s) {
  std::sort(s.begin(), s.end(), [](const Span& a, const Span& b) { return a.left < b.left; });
  Spans out;
  for (const Span& sp : s) {
    if (sp.right <= sp.left) continue;
    if (!out.empty() && sp.left <= out.back().right)
      out.back().right = std::max(out.back().right, sp.right);
    else
      out.push_back(sp);
  }
  return out;
}

Spans combine(const Spans& a, const Spans& b, SetOp op) {
  if (op == SetOp::Union) {
    Spans all = a;
    all.insert(all.end(), b.begin(), b.end());
    return normalise(all);
  }
  Spans out;
  if (op == SetOp::Intersect) {
    for (const Span& x : a)
      for (const Span& y : b) {
        int l = std::max(x.left, y.left), r = std::min(x.right, y.right);
        if (l < r) out.push_back({l, r});
      }
    return normalise(out);
  }
  // Subtract: walk each span of a, cutting out the spans of b (both sorted).
  for (const Span& x : a) {
    int cur = x.left;
    for (const Span& y : b) {
      if (y.right <= cur || y.left >= x.right) continue;
      if (y.left > cur) out.push_back({cur, y.left});
      cur = std::max(cur, y.right);
    }
    if (cur < x.right) out.push_back({cur, x.right});
  }
  return out;
}

bool sameSpans(const Spans& a, const Spans& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].left != b[i].left || a[i].right != b[i].right) return false;
  return true;
}

// Appends a band, merging it into the previous band when that one ends at y0 with equal spans.
void appendBand(std::vector<TRect>& out, size_t& lastBandStart, int y0, int y1, const Spans& s) {
  if (s.empty()) return;
  if (lastBandStart < out.size() && out[lastBandStart].Bottom == y0) {
    Spans prev;
    for (size_t i = lastBandStart; i < out.size(); ++i) prev.push_back({out[i].Left, out[i].Right});
    if (sameSpans(prev, s)) {
      for (size_t i = lastBandStart; i < out.size(); ++i) out[i].Bottom = y1;
      return;
    }
  }
  lastBandStart = out.size();
  for (const Span& sp : s) out.push_back({sp.left, y0, sp.right, y1});
}

std::vector<TRect> sweep(const std::vector<TRect>& a, const std::vector<TRect>& b, SetOp op) {
  std::vector<int> ys;
  for (const TRect& r : a) { ys.push_back(r.Top); ys.push_back(r.Bottom); }
  for (const TRect& r : b) { ys.push_back(r.Top); ys.push_back(r.Bottom); }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  std::vector<TRect> out;
  size_t lastBandStart = 0;
  for (size_t i = 0; i + 1 < ys.size(); ++i) {
    int y0 = ys[i], y1 = ys[i + 1];
    appendBand(out, lastBandStart, y0, y1, combine(spansAt(a, y0, y1), spansAt(b, y0, y1), op));
  }
  return out;
}

}  // namespace

TRegion::TRegion(const TRect& rect) {
  if (!rect.IsEmpty()) rects_.push_back(rect);
}

TRegion TRegion::FromRects(const std::vector<TRect>& rects) {
  // Each input rectangle may overlap others and is not banded: sweep over all boundaries.
  std::vector<int> ys;
  for (const TRect& r : rects)
    if (!r.IsEmpty()) { ys.push_back(r.Top); ys.push_back(r.Bottom); }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  TRegion result;
  size_t lastBandStart = 0;
  for (size_t i = 0; i + 1 < ys.size(); ++i) {
    int y0 = ys[i], y1 = ys[i + 1];
    Spans s;
    for (const TRect& r : rects)
      if (!r.IsEmpty() && r.Top <= y0 && r.Bottom >= y1) s.push_back({r.Left, r.Right});
    appendBand(result.rects_, lastBandStart, y0, y1, normalise(s));
  }
  return result;
}

TRegion TRegion::Elliptic(const TRect& rect) {
  int left = std::min(rect.Left, rect.Right), right = std::max(rect.Left, rect.Right);
  int top = std::min(rect.Top, rect.Bottom), bottom = std::max(rect.Top, rect.Bottom);
  // Windows builds the region one pixel short on the right and the bottom: the elliptic
  // region of (0, 0, 10, 10) is 9 x 9 pixels, one less than Ellipse() paints.
  right--;
  bottom--;
  int w = right - left, h = bottom - top;
  // Too thin for a curve: Windows falls back to the (shortened) rectangle.
  if (w < 2 || h < 2) return TRegion(TRect{left, top, right, bottom});

  // Row spans by Alois Zingl's ellipse rasteriser over the w x h box: start in the middle
  // row with the full width, then walk towards the bottom; the top half mirrors the bottom.
  std::vector<Span> rows(size_t(h) + 1, Span{left, right});
  long long a = w - 1, b = h - 1;
  long long asq = 8 * a * a, bsq = 8 * b * b;
  long long dx = 4 * b * b * (1 - a), dy = 4 * a * a * (1 + (b % 2));
  long long err = dx + dy + a * a * (b % 2);
  int x = 0, y = h / 2;
  rows[size_t(y)] = {left, right};
  while (x <= w / 2) {
    long long e2 = 2 * err;
    if (e2 >= dx) { x++; err += dx += bsq; }
    if (e2 <= dy) {
      y++;
      err += dy += asq;
      if (y < h) rows[size_t(y)] = {left + x, right - x};
    }
  }
  std::vector<TRect> rects;
  for (int i = 0; i < h; ++i) {
    Span s = i < h / 2 ? rows[size_t(b - i)] : rows[size_t(i)];
    rects.push_back({s.left, top + i, s.right, top + i + 1});
  }
  return FromRects(rects);
}

void TRegion::Union(const TRegion& other) { rects_ = sweep(rects_, other.rects_, SetOp::Union); }
void TRegion::Union(const TRect& rect) { Union(TRegion(rect)); }
void TRegion::Intersect(const TRegion& other) {
  rects_ = sweep(rects_, other.rects_, SetOp::Intersect);
}
void TRegion::Intersect(const TRect& rect) { Intersect(TRegion(rect)); }
void TRegion::Subtract(const TRegion& other) {
  rects_ = sweep(rects_, other.rects_, SetOp::Subtract);
}
void TRegion::Subtract(const TRect& rect) { Subtract(TRegion(rect)); }

void TRegion::Offset(int dx, int dy) {
  for (TRect& r : rects_) r = r.Offset(dx, dy);
}

bool TRegion::Contains(TPoint p) const {
  for (const TRect& r : rects_) {
    if (r.Top > p.Y) break;
    if (r.Contains(p)) return true;
  }
  return false;
}

TRect TRegion::BoundingBox() const {
  TRect box;
  for (const TRect& r : rects_) box = UnionRect(box, r);
  return box;
}

void TRegion::CheckInvariants() const {
  for (size_t i = 0; i < rects_.size(); ++i) {
    const TRect& r = rects_[i];
    if (r.IsEmpty()) throw EInvalidOperation("TRegion: empty rectangle");
    if (i == 0) continue;
    const TRect& p = rects_[i - 1];
    bool sameBand = p.Top == r.Top;
    if (sameBand && (p.Bottom != r.Bottom || p.Right >= r.Left))
      throw EInvalidOperation("TRegion: band rectangles overlap, touch or differ in height");
    if (!sameBand && r.Top < p.Bottom)
      throw EInvalidOperation("TRegion: bands overlap");
  }
}
