#include "treelist/paint_pass.h"

#include "treelist/treelist_core.h"

TBrush SolidBrush(TColor color) {
  TBrush brush;
  brush.SetColor(color);
  return brush;
}

TColor InverseColor(TColor color) {
  return ColorToRGB(color) ^ 0x00FFFFFFu;
}

const TBrush& TqlPaintResources::ColumnBrush(int headerCell) const {
  if (headerCell < 0 || headerCell >= int(HeaderCellColours.size())) return BackgroundBrush;
  const ColumnColour& entry = HeaderCellColours[headerCell];
  return entry.HasOwnBrush ? entry.Brush : BackgroundBrush;
}

const TBrush& TqlPaintResources::LevelBrush(TColor color) {
  if (color != levelColor_) {
    levelBrush_ = SolidBrush(color);
    levelColor_ = color;
  }
  return levelBrush_;
}

void CreatePaintResources(const TCustomqlTreeList& grid, TqlPaintPass& pass) {
  TqlPaintResources& r = pass.Res;
  r.BandBrush = SolidBrush(grid.BandColor());
  r.HeaderBrush = SolidBrush(grid.HeaderColor());
  r.GroupBrush = SolidBrush(grid.GroupNodeColor());
  r.BackgroundBrush = SolidBrush(grid.Color());
  r.FrameColor = grid.LookAndFeel() == lfUltraFlat ? TColor(0xA0A0A0) : clBtnShadow;
  r.FrameBrush = SolidBrush(r.FrameColor);
  r.HighlightBrush = SolidBrush(grid.HighlightColor());
  r.TreeLineBrush = SolidBrush(grid.TreeLineColor());
  r.HideSelectionBrush = SolidBrush(grid.HideSelectionColor());
  r.RowFooterBrush = SolidBrush(grid.RowFooterColor());
  r.FixedBandLineBrush = SolidBrush(grid.FixedBandLineColor());
  const TColor background = ColorToRGB(grid.Color());
  r.HeaderCellColours.clear();
  r.HeaderCellColours.reserve(pass.Layout.HeaderCells.size());
  for (const TqlHeaderCell& cell : pass.Layout.HeaderCells) {
    TqlPaintResources::ColumnColour entry;
    entry.Color = grid.Model().GetColumnColor(cell.Column);
    if (ColorToRGB(entry.Color) != background) {
      entry.HasOwnBrush = true;
      entry.Brush = SolidBrush(entry.Color);
    }
    r.HeaderCellColours.push_back(std::move(entry));
  }
}
