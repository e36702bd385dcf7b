// The metrics table: every height and width of the grid's parts from the measured text
// heights and the layout switches.
#include "treelist/treelist_metrics.h"

#include <algorithm>

TqlMetricsResult ComputeTreeListMetrics(const TqlMetricsInput& in) {
  TqlMetricsResult r;
  TqlTreeListMetrics& m = r.Metrics;
  const int raised = in.FlatLook ? 0 : 1;  // the standard look has one more pixel of bevel
  const int headerRows = std::max(1, in.HeaderPanelRowCount);
  m.FlatLook = in.FlatLook;
  m.BandLineHeight = in.BandTextHeight;
  m.BandPanelHeight =
      in.ShowBands ? std::max(1, in.BandRowCount) * m.BandLineHeight + 5 + raised : 0;
  m.HeaderCellHeight = in.HeaderTextHeight * std::max(1, in.HeaderMinRowCount) + 5 + raised;
  m.HeaderPanelHeight = in.ShowHeader ? m.HeaderCellHeight * headerRows : 0;
  m.TextHeight = in.TextHeight;
  m.FooterLineHeight = m.TextHeight + 7;
  m.FooterPanelHeight = in.FooterPanelShown ? m.FooterLineHeight * headerRows + 3 + raised : 0;
  m.GridLine = in.ShowGrid && in.ShowPreviewGrid ? 1 : 0;
  m.RowFooterHeight = m.FooterLineHeight * headerRows + 2 + m.GridLine;
  m.StatusPanelHeight = in.StatusPanelShown ? std::max(17, m.TextHeight + 5) : 0;
  m.GroupAreaHeight = in.GroupAreaHeight;
  m.IndicatorColumnWidth = in.ShowIndicator ? in.GrIndicatorWidth : 0;
  m.PreviewLineHeight = in.PreviewTextHeight;
  m.ButtonSize = 16;
  m.LevelIndent = 16;
  m.HScrollStep = in.ZeroWidth;

  // The smallest row: one text line with a pixel of room above and two below, never lower
  // than the expand button; a header row's worth of it must hold each image and the tallest
  // column font.
  int smallest = std::max(m.TextHeight + 3, m.ButtonSize);
  for (int need : {in.NodeImageHeight, in.StateImageHeight, in.ColumnMinRowHeight})
    if ((m.GridLine + smallest) * headerRows < need) smallest = need;
  smallest += m.GridLine;
  if (in.InvertSelect) smallest += 2;
  m.SmallestRowHeight = smallest;

  bool assigned = in.DefaultRowHeightAssigned;
  int unit = assigned ? in.DefaultRowHeight : smallest;
  unit = std::max(unit, smallest);
  if (unit == smallest) assigned = false;  // equal to the computed height: no longer stored
  m.UnitRowHeight = unit;
  r.DefaultRowHeightAssigned = assigned;

  m.NewItemSeparatorHeight = in.FlatLook ? 5 : 6;
  m.NewItemAreaHeight = in.ShowNewItemRow && headerRows == 1 && in.VisibleBandCount > 0
                            ? m.UnitRowHeight + m.NewItemSeparatorHeight
                            : 0;
  return r;
}
