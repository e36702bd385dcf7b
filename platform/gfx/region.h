#pragma once
// TRegion: a set of pixels, kept as non-overlapping rectangles in Y-X banded order, as GDI
// regions are: rectangles are sorted by Top, then Left; rectangles of one band share Top and
// Bottom, never touch or overlap inside the band, and vertically adjacent bands with the same
// spans are merged. Two regions holding the same pixels therefore have equal Rects().
#include <vector>

#include "platform/core/types.h"

class TRegion {
 public:
  TRegion() = default;                 // empty
  explicit TRegion(const TRect& rect);  // the rectangle's pixels (empty when the rect is empty)
  // The pixels of CreateEllipticRgn(rect.Left, rect.Top, rect.Right, rect.Bottom).
  static TRegion Elliptic(const TRect& rect);
  // Any list of (possibly overlapping) rectangles, normalised.
  static TRegion FromRects(const std::vector<TRect>& rects);

  void Union(const TRegion& other);
  void Union(const TRect& rect);
  void Intersect(const TRegion& other);
  void Intersect(const TRect& rect);
  void Subtract(const TRegion& other);
  void Subtract(const TRect& rect);
  void Offset(int dx, int dy);

  bool IsEmpty() const { return rects_.empty(); }
  bool Contains(TPoint p) const;
  // True when the region is nothing but one rectangle (GDI's SIMPLEREGION).
  bool IsRectangle() const { return rects_.size() == 1; }
  TRect BoundingBox() const;  // all zero when empty
  const std::vector<TRect>& Rects() const { return rects_; }

  // Debug check of the banding invariant; throws EInvalidOperation when broken.
  void CheckInvariants() const;

  friend bool operator==(const TRegion&, const TRegion&) = default;

 private:
  std::vector<TRect> rects_;  // Y-X banded, see above
};
