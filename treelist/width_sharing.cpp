// Width sharing of bands and header cells. Both follow one pattern: every sizable part gets
// its proportional share of the room; a part whose share would fall below its minimum keeps
// the minimum, and the parts that are not squeezed split what is left over the minimums in
// proportion to their widths. The last part takes the rounding rest so the widths add up
// exactly.
#include "treelist/width_sharing.h"

#include <algorithm>

#include "treelist/treelist_types.h"

namespace {

// MulDiv with a zero divisor meaning "no share" instead of -1.
int share(int room, int width, int total) { return total == 0 ? 0 : MulDiv(room, width, total); }

}  // namespace

TqlBandWidths ShareBandWidths(const std::vector<TqlBandWidthInfo>& bands, bool autoWidth,
                              int availableWidth, int groupIndent) {
  TqlBandWidths out;
  const int count = static_cast<int>(bands.size());
  out.DisplayWidths.resize(count);
  int naturalSum = 0, minSum = 0;
  bool anySizable = false;
  for (const auto& b : bands) {
    naturalSum += b.NaturalWidth;
    minSum += b.MinWidth;
    anySizable = anySizable || b.Sizable;
  }
  // Without automatic width, and with automatic width but nothing to share (no sizable
  // band), every band shows its natural width. Sharing the sum of minimums among bands that
  // all keep their natural width would push the last band below its minimum.
  if (!autoWidth || !anySizable || count == 0) {
    for (int i = 0; i < count; ++i) out.DisplayWidths[i] = bands[i].NaturalWidth;
    out.TotalWidth = groupIndent + naturalSum;
    return out;
  }

  int total = availableWidth;
  if (total < groupIndent + minSum) total = groupIndent + minSum;
  const int room = total - groupIndent;  // N
  // Dx: natural widths of the sizable bands whose minimum lies below their share.
  int unsqueezedNatural = 0;
  for (const auto& b : bands)
    if (b.Sizable && b.MinWidth < share(room, b.NaturalWidth, naturalSum))
      unsqueezedNatural += b.NaturalWidth;

  int used = 0;
  for (int i = 0; i + 1 < count; ++i) {
    const auto& b = bands[i];
    int width;
    int bandShare = share(room, b.NaturalWidth, naturalSum);
    if (!b.Sizable)
      width = b.NaturalWidth;
    else if (unsqueezedNatural == naturalSum)
      width = bandShare;
    else if (b.MinWidth < bandShare)
      width = b.MinWidth + share(room - minSum, b.NaturalWidth, unsqueezedNatural);
    else
      width = b.MinWidth;
    out.DisplayWidths[i] = width;
    used += width;
  }
  // The last band takes the rest; should bands kept at natural widths above their minimums
  // leave it less than its own minimum, it keeps the minimum and the total grows.
  int last = room - used;
  last = std::max(last, bands[count - 1].MinWidth);
  out.DisplayWidths[count - 1] = last;
  out.TotalWidth = groupIndent + used + last;
  return out;
}

std::vector<int> ShareHeaderCellWidths(const std::vector<TqlColumnWidthInfo>& columns,
                                       int bandWidth, int groupIndent) {
  const int count = static_cast<int>(columns.size());
  std::vector<int> widths(count);
  if (count == 0) return widths;
  int room = bandWidth;  // A
  int widthSum = 0;      // Sw
  int minSum = 0;        // Sm
  for (const auto& c : columns) {
    widthSum += c.Width;
    minSum += c.MinWidth;
  }
  // First pass: which sizable columns would fall below their minimum; Fx sums the widths of
  // the others.
  int unsqueezedWidth = 0;  // Fx
  bool anySqueezed = false;
  for (int i = 0; i < count; ++i) {
    const auto& c = columns[i];
    if (!c.Sizable) continue;
    if (share(room, c.Width, widthSum) < c.MinWidth) {
      anySqueezed = true;
    } else {
      unsqueezedWidth += c.Width;
    }
  }

  const int fullWidth = bandWidth + groupIndent;
  int consumed = 0;
  for (int i = 0; i < count; ++i) {
    const auto& c = columns[i];
    int width;
    if (i == count - 1) {
      width = fullWidth - consumed;
    } else if (!c.Sizable) {
      // A fixed column keeps its width; the columns after it share what it leaves.
      width = c.Width;
      room -= c.Width;
      widthSum -= c.Width;
      minSum -= c.MinWidth;
    } else {
      int columnShare = share(room, c.Width, widthSum);
      if (unsqueezedWidth == widthSum)
        width = columnShare;
      else if (columnShare <= c.MinWidth || unsqueezedWidth == 0)
        width = c.MinWidth;
      else if (anySqueezed)
        width = share(room - minSum, c.Width, unsqueezedWidth) + c.MinWidth;
      else
        width = columnShare;
    }
    if (i == 0 && count > 1) width += groupIndent;
    widths[i] = width;
    consumed += width;
  }
  return widths;
}
