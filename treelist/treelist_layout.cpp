// TqlTreeListGeometry's layout: the metrics of a layout pass, band widths, header widths, row
// heights and the layout snapshot that painting, hit testing and editor placement read (the
// frame kept between questions, the rows built for each). Everything about the grid comes
// from the host's public getters and the model queries.
//
// Horizontal geometry of the snapshot (x grows to the right):
//   | indicator | left-fixed band | scrolling area ........ | right-fixed band | empty right |
// The scrollable bands start at the scrolling area's left shifted by -LeftCoord; band 0 is
// widened by the group indent. Vertical order: group panel, band panel, header panel, new
// item row, rows, footer panel, status panel.
#include "treelist/treelist_layout.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <utility>

#include "platform/gfx/canvas.h"
#include "treelist/treelist_core.h"
#include "treelist/treelist_geometry.h"
#include "treelist/treelist_node.h"
#include "treelist/width_sharing.h"

// ===== metrics =============================================================================

namespace {

int textHeightOf(TCanvas& canvas, const TFont& font) {
  canvas.Font = font;
  return canvas.TextHeight("Wg");
}

// Lines a text takes word-wrapped in a width (at least 1).
int wrappedLineCount(TCanvas& canvas, const TFont& font, const std::string& text, int width) {
  if (text.empty()) return 1;
  canvas.Font = font;
  const int lineHeight = canvas.TextMetrics().tmHeight;
  TRect r{0, 0, std::max(1, width), 0};
  int height = canvas.DrawText(text, r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  return lineHeight > 0 ? std::max(1, (height + lineHeight / 2) / lineHeight) : 1;
}

}  // namespace

bool TqlTreeListGeometry::ComputeMetrics() {
  const TCustomqlTreeList& t = host_;
  TCanvas screen;  // unbound: measures text as the screen would
  TqlMetricsInput in;
  in.FlatLook = t.LookAndFeel() != lfStandard;
  in.BandTextHeight = textHeightOf(screen, t.BandFont());
  in.HeaderTextHeight = textHeightOf(screen, t.HeaderFont());
  in.PreviewTextHeight = textHeightOf(screen, t.PreviewFont());
  in.TextHeight = textHeightOf(screen, t.Font());
  in.ZeroWidth = screen.TextWidth("0");
  in.BandRowCount = t.BandRowCount();
  in.HeaderMinRowCount = t.HeaderMinRowCount();
  in.HeaderPanelRowCount = t.Model().GetHeaderPanelRowCount();
  in.ShowBands = t.ShowBands();
  in.ShowHeader = t.ShowHeader();
  in.FooterPanelShown = t.FooterPanelShown();
  in.StatusPanelShown = t.StatusPanelShown();
  in.ShowGrid = t.ShowGrid();
  in.ShowPreviewGrid = t.ShowPreviewGrid();
  in.ShowIndicator = t.IsOption(tloIndicator);
  in.GrIndicatorWidth = t.GrIndicatorWidth();
  in.GroupAreaHeight = t.GetGroupAreaHeight();
  in.ShowNewItemRow = t.ShowNewItemRow();
  in.VisibleBandCount = t.Model().GetVisibleBandCount();
  // A column with a font of its own needs one line of that font and its margins.
  for (int vb = 0; vb < in.VisibleBandCount; ++vb)
    for (int row = 0; row < in.HeaderPanelRowCount; ++row)
      for (int pos = 0, n = t.Model().GetColumnCountInRow(vb, row); pos < n; ++pos) {
        int column = t.Model().GetColumnAt(vb, row, pos);
        if (column >= 0 && t.Model().ColumnHasOwnFont(column))
          in.ColumnMinRowHeight = std::max(in.ColumnMinRowHeight,
                                           textHeightOf(screen, t.Model().GetColumnFont(column)) + 3);
      }
  in.InvertSelect = t.IsOption(tloInvertSelect);
  in.DefaultRowHeight = metrics_.UnitRowHeight;
  in.DefaultRowHeightAssigned = t.DefaultRowHeightAssigned();
  TqlMetricsResult result = ComputeTreeListMetrics(in);
  result.Metrics.FullRowCount = metrics_.FullRowCount;
  result.Metrics.PartRowCount = metrics_.PartRowCount;
  metrics_ = result.Metrics;
  return result.DefaultRowHeightAssigned;
}

// ===== widths ==============================================================================

namespace {

// The sum of widths of each header row of a band, the widest row counting.
int widestRowSum(const TCustomqlTreeList& t, int visibleBand, bool minimums) {
  int widest = 0;
  for (int row = 0, rows = t.Model().GetHeaderPanelRowCount(); row < rows; ++row) {
    int sum = 0;
    for (int pos = 0, n = t.Model().GetColumnCountInRow(visibleBand, row); pos < n; ++pos) {
      int column = t.Model().GetColumnAt(visibleBand, row, pos);
      if (column < 0) continue;
      sum += minimums ? t.Model().GetColumnMinWidth(column) : t.Model().GetColumnWidth(column);
    }
    widest = std::max(widest, sum);
  }
  return widest;
}

std::vector<TqlBandWidthInfo> bandWidthInfos(const TqlTreeListGeometry& g,
                                             const TCustomqlTreeList& t) {
  std::vector<TqlBandWidthInfo> infos(std::max(0, t.Model().GetVisibleBandCount()));
  const bool followHeaders = g.BandWidthsFollowHeaders();
  for (int vb = 0; vb < static_cast<int>(infos.size()); ++vb) {
    TqlBandWidthInfo& b = infos[vb];
    b.Sizable = t.Model().GetVisibleBandSizing(vb);
    b.MinWidth = std::max(t.Model().GetVisibleBandMinWidth(vb), widestRowSum(t, vb, true));
    int natural = followHeaders ? widestRowSum(t, vb, false) : 0;
    if (natural == 0) natural = t.Model().GetVisibleBandWidth(vb);
    b.NaturalWidth = std::max(natural, b.MinWidth);
  }
  return infos;
}

TqlBandWidths bandWidths(const TqlTreeListGeometry& g, const TCustomqlTreeList& t) {
  return ShareBandWidths(bandWidthInfos(g, t), t.IsOption(tloAutoWidth),
                         t.ClientWidth() - g.Metrics().IndicatorColumnWidth, t.Model().GetGroupIndent());
}

// The fixed bands as the layout draws them (visible indexes, -1 for none): a left-fixed band
// only in first place, a right-fixed one only in last place and not the left-fixed one.
std::pair<int, int> drawnFixedBands(const TCustomqlTreeList& t, int bandCount) {
  int leftFixed = t.Model().GetLeftFixedVisibleBand();
  int rightFixed = t.Model().GetRightFixedVisibleBand();
  if (leftFixed != 0 || bandCount == 0) leftFixed = -1;
  if (rightFixed != bandCount - 1 || rightFixed == leftFixed) rightFixed = -1;
  return {leftFixed, rightFixed};
}

// The columns of one header row of a band, in position order.
std::vector<int> rowColumns(const TCustomqlTreeList& t, int visibleBand, int row) {
  std::vector<int> columns;
  for (int pos = 0, n = t.Model().GetColumnCountInRow(visibleBand, row); pos < n; ++pos) {
    int column = t.Model().GetColumnAt(visibleBand, row, pos);
    if (column >= 0) columns.push_back(column);
  }
  return columns;
}

std::vector<int> rowCellWidths(const TCustomqlTreeList& t, const std::vector<int>& columns,
                               int bandWidth, int groupIndent) {
  std::vector<TqlColumnWidthInfo> infos;
  infos.reserve(columns.size());
  for (int column : columns)
    infos.push_back({t.Model().GetColumnWidth(column), t.Model().GetColumnMinWidth(column), t.Model().GetColumnSizing(column)});
  return ShareHeaderCellWidths(infos, bandWidth, groupIndent);
}

}  // namespace

int TqlTreeListGeometry::BandDisplayWidth(int visibleBand) const {
  TqlBandWidths w = bandWidths(*this, host_);
  if (visibleBand < 0 || visibleBand >= static_cast<int>(w.DisplayWidths.size())) return 0;
  return w.DisplayWidths[visibleBand];
}

int TqlTreeListGeometry::BandMinimumWidth(int visibleBand) const {
  std::vector<TqlBandWidthInfo> infos = bandWidthInfos(*this, host_);
  if (visibleBand < 0 || visibleBand >= static_cast<int>(infos.size())) return 0;
  return infos[visibleBand].MinWidth;
}

int TqlTreeListGeometry::TotalWidth() const { return bandWidths(*this, host_).TotalWidth; }

int TqlTreeListGeometry::ScrollableWidth() const {
  TqlBandWidths w = bandWidths(*this, host_);
  int scrollable = w.TotalWidth;
  int leftFixed = host_.Model().GetLeftFixedVisibleBand(), rightFixed = host_.Model().GetRightFixedVisibleBand();
  int count = static_cast<int>(w.DisplayWidths.size());
  if (leftFixed >= 0 && leftFixed < count)
    scrollable -= w.DisplayWidths[leftFixed] + host_.Model().GetGroupIndent();
  if (rightFixed >= 0 && rightFixed < count && rightFixed != leftFixed)
    scrollable -= w.DisplayWidths[rightFixed];
  return std::max(0, scrollable);
}

int TqlTreeListGeometry::VisibleScrollWidth() const {
  int visible = host_.ClientWidth() - metrics_.IndicatorColumnWidth;
  if (!host_.IsOption(tloAutoWidth)) {
    int leftFixed = host_.Model().GetLeftFixedVisibleBand(), rightFixed = host_.Model().GetRightFixedVisibleBand();
    if (leftFixed >= 0) visible -= BandDisplayWidth(leftFixed) + host_.Model().GetGroupIndent();
    if (rightFixed >= 0 && rightFixed != leftFixed) visible -= BandDisplayWidth(rightFixed);
  }
  return std::max(0, visible);
}

int TqlTreeListGeometry::ComputeColumnHeaderWidth(int column) const {
  int visibleBand = host_.Model().GetAbsoluteBandIndexToVisible(host_.Model().GetColumnBandIndex(column));
  if (visibleBand < 0) return 0;
  std::vector<int> columns = rowColumns(host_, visibleBand, host_.Model().GetColumnRowIndex(column));
  auto it = std::find(columns.begin(), columns.end(), column);
  if (it == columns.end()) return 0;
  std::vector<int> widths = rowCellWidths(host_, columns, BandDisplayWidth(visibleBand),
                                          visibleBand == 0 ? host_.Model().GetGroupIndent() : 0);
  return widths[it - columns.begin()];
}

TqlColumnScrollSpan TqlTreeListGeometry::ColumnScrollSpan(int column) const {
  TqlColumnScrollSpan span;
  const int visibleBand = host_.Model().GetAbsoluteBandIndexToVisible(host_.Model().GetColumnBandIndex(column));
  if (visibleBand < 0) return span;
  const std::vector<int> columns = rowColumns(host_, visibleBand, host_.Model().GetColumnRowIndex(column));
  const auto it = std::find(columns.begin(), columns.end(), column);
  if (it == columns.end()) return span;
  span.Found = true;
  // Which bands stay put: the same rule the snapshot applies.
  const TqlBandWidths widths = bandWidths(*this, host_);
  const int bandCount = static_cast<int>(widths.DisplayWidths.size());
  const auto [leftFixed, rightFixed] = drawnFixedBands(host_, bandCount);
  if (visibleBand == leftFixed || visibleBand == rightFixed) {
    span.Fixed = true;
    return span;
  }
  const int groupIndent = host_.Model().GetGroupIndent();
  int x = 0;
  for (int vb = leftFixed == 0 ? 1 : 0; vb < visibleBand; ++vb)
    x += widths.DisplayWidths[vb] + (vb == 0 ? groupIndent : 0);
  const std::vector<int> cellWidths =
      rowCellWidths(host_, columns, widths.DisplayWidths[visibleBand],
                    visibleBand == 0 ? groupIndent : 0);
  for (auto pos = columns.begin(); pos != it; ++pos) x += cellWidths[pos - columns.begin()];
  span.Left = x;
  span.Right = x + cellWidths[it - columns.begin()];
  return span;
}

// ===== rows ================================================================================

int TqlTreeListGeometry::TreeIndent(const TqlTreeListNode* node) const {
  if (!node) return 0;
  // No node images and no state images in this grid, so only the levels count.
  const int level = node->Level();
  const int indent = metrics_.LevelIndent;
  if (node->Expandable() || host_.PaintStyle() == TqlPaintStyle::Tree) return indent * (level + 1);
  return indent * level;
}

TqlRowHeightInfo TqlTreeListGeometry::ComputeRowHeight(TqlTreeListNode* node,
                                                     int unitRowHeight) const {
  TqlRowHeightInfo info;
  const TqlTreeListMetrics& m = metrics_;
  const int headerRows = std::max(1, host_.Model().GetHeaderPanelRowCount());
  const bool previewShown = host_.IsOption(tloPreview) && host_.PreviewLines() != 0;
  TCanvas screen;

  int preview = 0;
  if (previewShown) {
    if (host_.IsOption(tloAutoCalcPreviewLines)) {
      std::string text = host_.GetPreviewText(node);
      int width = TotalWidth() - TreeIndent(node) - host_.IndentDesc();
      preview = text.empty() ? 0 : wrappedLineCount(screen, host_.PreviewFont(), text, width);
      // -1 lets the text take as many lines as it needs.
      if (host_.PreviewLines() > 0) preview = std::min(preview, host_.PreviewLines());
    } else {
      preview = std::max(0, host_.PreviewLines());
    }
  }
  info.PreviewLineCount = preview;

  const int separator = host_.ShowGrid() ? host_.RowSeparatorLineWidth() : 0;
  int unit = unitRowHeight;
  if (host_.IsOption(tloRowAutoHeight) && host_.MaxRowLineCount() != 0 && !previewShown &&
      headerRows == 1) {
    int lines = 1;
    const int margin = m.GridLine + (host_.IsOption(tloInvertSelect) ? 1 : 0);
    for (int vb = 0, bands = host_.Model().GetVisibleBandCount(); vb < bands; ++vb) {
      std::vector<int> columns = rowColumns(host_, vb, 0);
      std::vector<int> widths =
          rowCellWidths(host_, columns, BandDisplayWidth(vb), vb == 0 ? host_.Model().GetGroupIndent() : 0);
      for (size_t i = 0; i < columns.size(); ++i) {
        int width = widths[i] - margin - (vb == 0 && i == 0 ? TreeIndent(node) : 0);
        lines = std::max(lines, wrappedLineCount(screen, host_.Model().GetColumnFont(columns[i]),
                                                 host_.GetCellText(node, columns[i]), width));
      }
    }
    if (host_.MaxRowLineCount() > 0) lines = std::min(lines, host_.MaxRowLineCount());
    info.TextLineCount = lines;
    unit += (lines - 1) * m.TextHeight;
  }

  int height;
  if (host_.IsGroupRow(node)) {
    height = unit + separator;
  } else {
    height = separator + headerRows * unit + preview * m.PreviewLineHeight;
    if (preview > 0) height += m.GridLine + 2;
  }
  if (host_.PaintStyle() == TqlPaintStyle::Grid && node->Expandable() && !host_.ShowGrid())
    height += 1;
  height -= m.GridLine;

  // Row footers: a leaf that closes its parent's children carries one footer for each level
  // it closes (every enclosing level has a footer here).
  if (host_.ShowRowFooter() && !node->HasChildren()) {
    for (const TqlTreeListNode* n = node; n->Parent() && n->IsLast(); n = n->Parent())
      ++info.FooterCount;
  }
  info.FootersHeight = info.FooterCount * m.RowFooterHeight;
  info.Height = height + info.FootersHeight;
  return info;
}

int TqlTreeListGeometry::NodeRowHeight(TqlTreeListNode* node, bool useCache) const {
  if (!node) return 0;
  if (useCache && node->CachedHeight > 0) return node->CachedHeight;
  TqlRowHeightInfo info = ComputeRowHeight(node, metrics_.UnitRowHeight);
  node->CachedHeight = info.Height;
  node->CachedLineCount = info.TextLineCount;
  return info.Height;
}

// ===== the snapshot ========================================================================

TRect HeaderCellInRow(const TqlHeaderCell& cell, const TqlRowInfo& row, int unitRowHeight,
                      int headerRowCount, int previewHeight) {
  TRect r{cell.VisibleRect.Left, row.Top + unitRowHeight * cell.HeaderRow, cell.VisibleRect.Right,
          0};
  r.Bottom = r.Top + cell.RowSpan * unitRowHeight;
  if (headerRowCount == 1) r.Bottom = row.Top + row.Height - row.FootersHeight - previewHeight;
  return r;
}

const TqlHeaderCell* TqlLayoutSnapshot::HeaderCellOf(int column) const {
  for (const TqlHeaderCell& cell : HeaderCells)
    if (cell.Column == column) return &cell;
  return nullptr;
}

const TqlBandCell* TqlLayoutSnapshot::BandCellOf(int visibleBand) const {
  for (const TqlBandCell& cell : BandCells)
    if (cell.VisibleBand == visibleBand) return &cell;
  return nullptr;
}

const TqlRowInfo* TqlLayoutSnapshot::RowOf(const TqlTreeListNode* node) const {
  for (const TqlRowInfo& row : RowInfos)
    if (row.Node == node) return &row;
  return nullptr;
}

bool SameLayoutFrame(const TqlLayoutSnapshot& a, const TqlLayoutSnapshot& b) {
  const TRect TqlLayoutSnapshot::* const rects[] = {
      &TqlLayoutSnapshot::ClientRect,       &TqlLayoutSnapshot::GroupPanelRect,
      &TqlLayoutSnapshot::BandPanelRect,    &TqlLayoutSnapshot::BandCornerRect,
      &TqlLayoutSnapshot::HeaderPanelRect,  &TqlLayoutSnapshot::HeaderCornerRect,
      &TqlLayoutSnapshot::IndicatorRect,    &TqlLayoutSnapshot::NewItemRowRect,
      &TqlLayoutSnapshot::EmptyRightRect,   &TqlLayoutSnapshot::EmptyBottomRect,
      &TqlLayoutSnapshot::RowsRect,         &TqlLayoutSnapshot::FooterRect,
      &TqlLayoutSnapshot::StatusRect,       &TqlLayoutSnapshot::LeftFixedRect,
      &TqlLayoutSnapshot::RightFixedRect};
  for (auto rect : rects)
    if (a.*rect != b.*rect) return false;
  return a.LeftFixedBand == b.LeftFixedBand && a.RightFixedBand == b.RightFixedBand &&
         a.LastScrolledBand == b.LastScrolledBand && a.ScrollAreaLeft == b.ScrollAreaLeft &&
         a.ScrollAreaRight == b.ScrollAreaRight && a.BandCells == b.BandCells &&
         a.HeaderCells == b.HeaderCells && a.EmptyBandHeaders == b.EmptyBandHeaders &&
         a.ContentRight == b.ContentRight && a.TreeColumnWidth == b.TreeColumnWidth &&
         a.GridLineWidth == b.GridLineWidth;
}

int RowPreviewHeight(const TqlRowInfo& row, int previewLineHeight, int gridLine) {
  return row.PreviewLineCount > 0 ? row.PreviewLineCount * previewLineHeight + 2 + gridLine : 0;
}

namespace {

// A band as drawn: its full span (where its header cells are laid out) and the part of it
// that shows (a fixed band's separating line does not belong to it).
struct DrawnBand {
  int visibleBand;
  int left, right;              // full span (group indent included for band 0)
  int visibleLeft, visibleRight;
  bool fixed;                   // the band cell is the visible part only
};

void addHeaderCells(const TCustomqlTreeList& t, const TqlTreeListMetrics& m,
                    const DrawnBand& band, int displayWidth, int headerTop,
                    int lastScrollableBand, TqlLayoutSnapshot& s) {
  const int headerRows = std::max(1, t.Model().GetHeaderPanelRowCount());
  const int headerBottom = headerTop + m.HeaderCellHeight * headerRows;
  const int occupied = t.Model().GetOccupiedHeaderRowCount(band.visibleBand);
  if (occupied <= 0) {
    TqlEmptyBandHeader empty;
    empty.VisibleBand = band.visibleBand;
    empty.Rect = {std::max(band.left, band.visibleLeft), headerTop,
                  std::min(band.right, band.visibleRight), headerBottom};
    empty.RightClipped = band.right > band.visibleRight;
    s.EmptyBandHeaders.push_back(empty);
    return;
  }
  const int groupIndent = band.visibleBand == 0 ? t.Model().GetGroupIndent() : 0;
  for (int row = 0; row < occupied; ++row) {
    std::vector<int> columns = rowColumns(t, band.visibleBand, row);
    std::vector<int> widths = rowCellWidths(t, columns, displayWidth, groupIndent);
    const bool lastRow = row == occupied - 1;
    int x = band.left;
    for (size_t pos = 0; pos < columns.size(); ++pos) {
      TqlHeaderCell cell;
      cell.Column = columns[pos];
      cell.VisibleBand = band.visibleBand;
      cell.HeaderRow = row;
      cell.ColIndex = static_cast<int>(pos);
      if (lastRow) {
        int lines = t.Model().GetColumnHeaderMaxLineCount(cell.Column);
        cell.RowSpan = lines <= 0 ? headerRows - row : std::min(lines, headerRows - row);
        cell.RowSpan = std::max(1, cell.RowSpan);
      }
      int top = headerTop + row * m.HeaderCellHeight;
      cell.Rect = {x, top, x + widths[pos], top + cell.RowSpan * m.HeaderCellHeight};
      x = cell.Rect.Right;
      if (cell.Rect.Right <= band.visibleLeft || cell.Rect.Left >= band.visibleRight) continue;
      cell.VisibleRect = {std::max(cell.Rect.Left, band.visibleLeft), cell.Rect.Top,
                          std::min(cell.Rect.Right, band.visibleRight), cell.Rect.Bottom};
      if (lastRow && cell.Rect.Bottom < headerBottom)
        cell.FillerRect = {cell.VisibleRect.Left, cell.Rect.Bottom, cell.VisibleRect.Right,
                           headerBottom};
      cell.FirstInRow = pos == 0;
      cell.LastInRow = pos + 1 == columns.size();
      cell.FirstOfGrid = band.visibleBand == 0 && pos == 0;
      cell.LastOfGrid = cell.LastInRow && band.visibleBand == lastScrollableBand;
      s.HeaderCells.push_back(cell);
    }
  }
}

void addBandCell(TqlLayoutSnapshot& s, int visibleBand, const TRect& rect, int visibleLeft,
                 int visibleRight) {
  TqlBandCell cell;
  cell.VisibleBand = visibleBand;
  cell.Rect = rect;
  cell.VisibleRect = IntersectRect(rect, {visibleLeft, rect.Top, visibleRight, rect.Bottom});
  s.BandCells.push_back(cell);
}

}  // namespace

namespace {

// Debug builds check every use of the kept frame against a fresh one (layout_frame_cache.h).
#ifdef NDEBUG
constexpr bool kCheckLayoutFrame = false;
#else
constexpr bool kCheckLayoutFrame = true;
#endif

}  // namespace

std::shared_ptr<const TqlLayoutSnapshot> TqlTreeListGeometry::LayoutFrame() const {
  // A frame built while the model is between changes (update lock, loading, a layout pass
  // running) serves only the question at hand.
  const bool settled = host_.LockUpdate() == 0 && !recalculating_ && !host_.IsLoading() &&
                       !host_.IsDestroying();
  if (!settled) return std::make_shared<const TqlLayoutSnapshot>(BuildLayoutFrame());
  const TRect client = host_.ClientRect();
  if (!frameCache_.IsValidFor(client, leftCoord_)) {
    frameCache_.Store(std::make_shared<const TqlLayoutSnapshot>(BuildLayoutFrame()), client, leftCoord_);
  } else if (kCheckLayoutFrame && !SameLayoutFrame(*frameCache_.Get(), BuildLayoutFrame())) {
    std::fprintf(stderr, "%s: the kept layout frame is stale (a change skipped the layout pass)\n",
                 host_.Name().c_str());
    std::abort();
  }
  return frameCache_.Get();
}

TqlLayoutSnapshot TqlTreeListGeometry::BuildLayoutSnapshot() const {
  TqlLayoutSnapshot s = *LayoutFrame();
  AddLayoutRows(s);
  return s;
}

TqlLayoutSnapshot TqlTreeListGeometry::BuildLayoutFrame() const {
  TqlLayoutSnapshot s;
  const TqlTreeListMetrics& m = metrics_;
  const TRect client = host_.ClientRect();
  s.ClientRect = client;
  s.GridLineWidth = host_.ShowGrid() ? host_.RowSeparatorLineWidth() : 0;

  // --- areas, top to bottom ---
  const int indicator = m.IndicatorColumnWidth;
  const int panelLeft = client.Left + indicator;
  int y = client.Top;
  if (m.GroupAreaHeight > 0) s.GroupPanelRect = {client.Left, y, client.Right, y + m.GroupAreaHeight};
  y += m.GroupAreaHeight;
  const int bandTop = y;
  s.BandPanelRect = {panelLeft, y, client.Right, y + m.BandPanelHeight};
  if (indicator > 0) s.BandCornerRect = {client.Left, y, panelLeft, y + m.BandPanelHeight};
  y += m.BandPanelHeight;
  const int headerTop = y;
  s.HeaderPanelRect = {panelLeft, y, client.Right, y + m.HeaderPanelHeight};
  if (indicator > 0) s.HeaderCornerRect = {client.Left, y, panelLeft, y + m.HeaderPanelHeight};
  y += m.HeaderPanelHeight;
  if (m.NewItemAreaHeight > 0) s.NewItemRowRect = {client.Left, y, client.Right, y + m.NewItemAreaHeight};
  const int rowsTop = y + m.NewItemAreaHeight;
  const int rowsBottom =
      std::max(rowsTop, client.Bottom - m.FooterPanelHeight - m.StatusPanelHeight);
  s.RowsRect = {panelLeft, rowsTop, client.Right, rowsBottom};
  s.IndicatorRect = {client.Left, rowsTop, panelLeft, rowsBottom};
  s.FooterRect = {client.Left, rowsBottom, client.Right, rowsBottom + m.FooterPanelHeight};
  s.StatusRect = {client.Left, s.FooterRect.Bottom, client.Right,
                  s.FooterRect.Bottom + m.StatusPanelHeight};

  // --- bands ---
  const TqlBandWidths widths = bandWidths(*this, host_);
  const int bandCount = static_cast<int>(widths.DisplayWidths.size());
  const int groupIndent = host_.Model().GetGroupIndent();
  const int fixedBottom = rowsBottom - (m.NewItemAreaHeight > 0 ? m.NewItemSeparatorHeight : 0);
  const int bandBottom = bandTop + m.BandPanelHeight;
  const auto [leftFixed, rightFixed] = drawnFixedBands(host_, bandCount);
  s.LeftFixedBand = leftFixed;
  s.RightFixedBand = rightFixed;

  std::vector<DrawnBand> drawn;
  int scrollLeft = panelLeft;
  if (leftFixed == 0) {
    int width = widths.DisplayWidths[0] + groupIndent;
    s.LeftFixedRect = {panelLeft, bandTop, panelLeft + width, fixedBottom};
    int cellRight = s.LeftFixedRect.Right - host_.FixedBandLineWidth();
    drawn.push_back({0, panelLeft, panelLeft + width, panelLeft, cellRight, true});
    scrollLeft = s.LeftFixedRect.Right;
  }
  // Bands narrower than the panel: the panels end with the bands, the rest is empty.
  int panelRight = client.Right;
  if (widths.TotalWidth < client.Right - panelLeft) {
    panelRight = panelLeft + widths.TotalWidth;
    s.BandPanelRect.Right = panelRight;
    s.HeaderPanelRect.Right = panelRight;
    s.EmptyRightRect = {panelRight, bandTop, client.Right, rowsBottom};
    if (!s.NewItemRowRect.IsEmpty()) s.NewItemRowRect.Right = panelRight;
  }
  int scrollRight = panelRight;
  if (rightFixed >= 0) {
    int width = widths.DisplayWidths[rightFixed];
    int left = std::max(panelRight - width, std::max(scrollLeft, panelLeft));
    s.RightFixedRect = {left, bandTop, left + width, fixedBottom};
    scrollRight = left;
  }
  s.ScrollAreaLeft = scrollLeft;
  s.ScrollAreaRight = scrollRight;

  const int firstScrollable = leftFixed == 0 ? 1 : 0;
  const int lastScrollable = rightFixed >= 0 ? rightFixed - 1 : bandCount - 1;
  int x = scrollLeft - leftCoord_;
  for (int vb = firstScrollable; vb <= lastScrollable; ++vb) {
    int width = widths.DisplayWidths[vb] + (vb == 0 ? groupIndent : 0);
    if (x <= scrollRight && x + width >= scrollLeft) {
      drawn.push_back({vb, x, x + width, scrollLeft, scrollRight, false});
      if (rightFixed >= 0) s.LastScrolledBand = vb;
    }
    x += width;
    if (x > scrollRight) break;
  }
  if (rightFixed >= 0)
    drawn.push_back({rightFixed, s.RightFixedRect.Left, s.RightFixedRect.Right,
                     s.RightFixedRect.Left + host_.FixedBandLineWidth(), s.RightFixedRect.Right,
                     true});

  for (const DrawnBand& band : drawn) {
    TRect cell = band.fixed ? TRect{band.visibleLeft, bandTop, band.visibleRight, bandBottom}
                            : TRect{band.left, bandTop, band.right, bandBottom};
    addBandCell(s, band.visibleBand, cell, band.visibleLeft, band.visibleRight);
    addHeaderCells(host_, metrics_, band, widths.DisplayWidths[band.visibleBand], headerTop,
                   lastScrollable, s);
  }

  s.ContentRight = widths.TotalWidth + s.RowsRect.Left - 1;
  if (leftFixed < 0) s.ContentRight -= leftCoord_;
  if (rightFixed >= 0) s.ContentRight = std::min(s.ContentRight, s.RowsRect.Right - 1);

  if (bandCount > 0) {
    int tree = widths.DisplayWidths[0] + groupIndent;
    int treeLeft = leftFixed == 0 ? panelLeft : scrollLeft - leftCoord_;
    if (leftFixed == 0) tree = std::min(tree, s.LeftFixedRect.Width() - host_.FixedBandLineWidth());
    if (rightFixed > 0) tree = std::min(tree, s.RightFixedRect.Left - treeLeft);
    s.TreeColumnWidth = std::max(0, tree);
  }

  // Zero-height panels and corners are no panels at all.
  for (TRect* r : {&s.BandPanelRect, &s.BandCornerRect, &s.HeaderPanelRect, &s.HeaderCornerRect})
    if (r->Height() <= 0) *r = TRect{};
  return s;
}

void TqlTreeListGeometry::AddLayoutRows(TqlLayoutSnapshot& s) const {
  const int rowsTop = s.RowsRect.Top, rowsBottom = s.RowsRect.Bottom;
  int rowY = rowsTop;
  const bool previewOrFooters =
      (host_.IsOption(tloPreview) && host_.PreviewLines() != 0) || host_.ShowRowFooter();
  for (TqlTreeListNode* node = host_.TopNode(); node && rowY < rowsBottom;
       node = node->GetNextVisible()) {
    TqlRowInfo row;
    row.Node = node;
    row.GroupRow = host_.IsGroupRow(node);
    row.Selected = host_.IsNodeSelected(node);
    row.Height = NodeRowHeight(node, true);
    row.TextLineCount = node->CachedLineCount == 0 ? -1 : node->CachedLineCount;
    // The node caches only the height and the line count; preview lines and footers are
    // counted again when they can be there at all.
    if (previewOrFooters) {
      TqlRowHeightInfo parts = ComputeRowHeight(node, metrics_.UnitRowHeight);
      row.FooterCount = parts.FooterCount;
      row.FootersHeight = parts.FootersHeight;
      row.PreviewLineCount = parts.PreviewLineCount;
    }
    row.IndicatorKind = host_.GetIndicatorKind(node);
    row.Top = rowY;
    s.RowInfos.push_back(row);
    rowY += row.Height;
  }

  if (rowY < rowsBottom) {
    s.LastRowBottom = rowY - 1;
    s.EmptyBottomRect = {s.ClientRect.Left, rowY, s.ContentRight + 1, rowsBottom};
    s.IndicatorRect.Bottom = rowY;
  }
}

// ===== rectangles of nodes and cells =======================================================

TRect TqlTreeListGeometry::NodeRect(TqlTreeListNode* node) const {
  TqlLayoutSnapshot s = BuildLayoutSnapshot();
  const TqlRowInfo* row = s.RowOf(node);
  if (!row) return {};
  return {s.ClientRect.Left, row->Top, s.ClientRect.Right, row->Top + row->Height};
}

TRect TqlTreeListGeometry::CellRect(TqlTreeListNode* node, int column) const {
  TqlLayoutSnapshot s = BuildLayoutSnapshot();
  const TqlRowInfo* row = s.RowOf(node);
  if (!row) return {};
  const TqlHeaderCell* cell = s.HeaderCellOf(column);
  if (!cell) return {};
  return HeaderCellInRow(*cell, *row, metrics_.UnitRowHeight, host_.Model().GetHeaderPanelRowCount(),
                         RowPreviewHeight(*row, metrics_.PreviewLineHeight, metrics_.GridLine));
}

TRect TqlTreeListGeometry::NodeAndBelowRect(TqlTreeListNode* node) const {
  TqlLayoutSnapshot s = BuildLayoutSnapshot();
  if (const TqlRowInfo* row = s.RowOf(node))
    return {s.ClientRect.Left, row->Top, s.ClientRect.Right, s.RowsRect.Bottom};
  // A node above the screen moves every row on it; one below moves none.
  int rowIndex = host_.RowIndexOfNode(node);
  if (rowIndex >= 0 && rowIndex < host_.TopRowIndex())
    return {s.ClientRect.Left, s.RowsRect.Top, s.ClientRect.Right, s.RowsRect.Bottom};
  return {};
}
