// The paint pass of the tree-list grid and the panels around the rows: corner buttons, band
// panel, header panel, indicator column, footer panel and status panel.
//
// Every painter first asks whether its area meets the update region (the canvas's clip
// region) and skips itself otherwise. The indicator, footer and status painters exclude
// their rectangle from the clip region when done, so that the rows cannot draw over them.
#include <algorithm>
#include <optional>

#include "platform/gfx/canvas.h"
#include "treelist/paint_pass.h"
#include "treelist/paint_primitives.h"
#include "treelist/treelist_core.h"
#include "treelist/treelist_painter.h"

// ===== the pass ===============================================================================

void TqlTreeListPainter::Paint(TCanvas& canvas) {
  // Only the outermost pass takes the sizing line and the drag image off the picture and puts
  // them back on the finished one.
  struct DepthScope {
    TqlTreeListPainter& painter;
    bool outermost;
    explicit DepthScope(TqlTreeListPainter& p) : painter(p), outermost(p.depth_ == 0) {
      ++painter.depth_;
      if (outermost) painter.grid_.HideSizingFeedback();
    }
    ~DepthScope() {
      --painter.depth_;
      if (outermost) painter.grid_.ShowSizingFeedback();
    }
  } depth(*this);
  // The exclusions of the panels and every tool change end with the pass.
  TCanvasStateGuard state(canvas);

  TqlPaintPass pass(canvas, grid_.BuildLayoutSnapshot());
  pass.GridFocused = grid_.IsGridFocused();
  CreatePaintResources(grid_, pass);

  if (IsPaintVisible(canvas, pass.Layout.GroupPanelRect)) grid_.PaintGroupPanel(pass);
  paintBandPanel(pass);
  paintHeaderPanel(pass);
  paintNewItemRow(pass);
  paintIndicator(pass);
  paintFooterPanel(pass);
  paintStatusPanel(pass);
  paintRows(pass);
}

// ===== band panel =============================================================================

void TqlTreeListPainter::paintBandPanel(TqlPaintPass& pass) {
  TCanvas& canvas = pass.Canvas;
  const TqlLayoutSnapshot& layout = pass.Layout;
  TqlPaintResources& res = pass.Res;
  if (IsPaintVisible(canvas, layout.BandCornerRect))
    DrawCornerButton(canvas, layout.BandCornerRect, res.BandBrush, grid_.LookAndFeel(),
                     grid_.MouseFeedback().BandCornerPushed);

  if (IsPaintVisible(canvas, layout.BandPanelRect) && !layout.BandCells.empty()) {
    TqlFontScope panelFont(canvas);
    canvas.Font = grid_.BandFont();
    for (const TqlBandCell& cell : layout.BandCells) {
      if (!IsPaintVisible(canvas, cell.VisibleRect)) continue;
      const int band = grid_.Model().GetVisibleBandIndexToAbsolute(cell.VisibleBand);
      TqlCustomDrawBandArgs args;
      args.Canvas = &canvas;
      args.Band = band;
      args.Rect = cell.Rect;
      args.Text = grid_.Model().GetVisibleBandCaption(cell.VisibleBand);
      args.Color = grid_.BandColor();
      args.Alignment = grid_.Model().GetVisibleBandAlignment(cell.VisibleBand);
      const TBrush* brush = &res.BandBrush;
      TBrush handlerBrush;
      std::optional<TqlFontScope> handlerFont;
      if (grid_.OnCustomDrawBand) {
        handlerFont.emplace(canvas);
        args.Font = &canvas.Font;
        {
          TqlClipScope clip(canvas);
          if (cell.VisibleRect != cell.Rect) canvas.IntersectClipRect(cell.VisibleRect);
          grid_.OnCustomDrawBand(&grid_, grid_.BandObject(band), &canvas, args.Rect, args.Text, args.Color,
                           args.Font, args.Alignment, args.Done);
        }
        if (!args.Done && ColorToRGB(args.Color) != ColorToRGB(grid_.BandColor())) {
          handlerBrush = SolidBrush(args.Color);
          brush = &handlerBrush;
        }
      }
      if (args.Done) continue;
      TqlHeaderContent content;
      content.Brush = brush;
      content.Look = grid_.LookAndFeel();
      content.Kind = TqlCellFrameKind::Alone;
      content.Alignment = args.Alignment;
      content.MultiLine = grid_.BandRowCount() > 1;
      content.Pressed = grid_.MouseFeedback().BandDown == cell.VisibleBand;
      content.Text = args.Text;
      DrawHeaderCellOffscreen(canvas, cell.Rect, cell.VisibleRect, content, res.Scratch);
    }
  }

  // The lines that set fixed bands apart run from the band panel down through the rows.
  const int lineWidth = grid_.FixedBandLineWidth();
  if (!layout.LeftFixedRect.IsEmpty()) {
    const TRect& fixed = layout.LeftFixedRect;
    TRect strip{fixed.Right - lineWidth, fixed.Top, fixed.Right, fixed.Bottom};
    if (IsPaintVisible(canvas, strip)) {
      canvas.Brush = res.FixedBandLineBrush;
      canvas.FillRect(strip);
    }
  }
  if (!layout.RightFixedRect.IsEmpty()) {
    const TRect& fixed = layout.RightFixedRect;
    TRect strip{fixed.Left, fixed.Top, fixed.Left + lineWidth, fixed.Bottom};
    if (IsPaintVisible(canvas, strip)) {
      canvas.Brush = res.FixedBandLineBrush;
      canvas.FillRect(strip);
    }
  }
}

// ===== header panel ===========================================================================

void TqlTreeListPainter::paintHeaderPanel(TqlPaintPass& pass) {
  TCanvas& canvas = pass.Canvas;
  const TqlLayoutSnapshot& layout = pass.Layout;
  TqlPaintResources& res = pass.Res;
  if (IsPaintVisible(canvas, layout.HeaderCornerRect))
    DrawCornerButton(canvas, layout.HeaderCornerRect, res.HeaderBrush, grid_.LookAndFeel(),
                     grid_.MouseFeedback().HeaderCornerPushed);
  if (!IsPaintVisible(canvas, layout.HeaderPanelRect) || layout.HeaderCells.empty()) return;

  TqlFontScope panelFont(canvas);
  canvas.Font = grid_.HeaderFont();
  for (const TqlHeaderCell& cell : layout.HeaderCells) {
    const bool cellShown = IsPaintVisible(canvas, cell.VisibleRect);
    const bool fillerShown = IsPaintVisible(canvas, cell.FillerRect);
    if (!cellShown && !fillerShown) continue;
    const int column = cell.Column;
    std::optional<TqlFontScope> handlerFont;
    if (cellShown) {
      TqlCustomDrawHeaderArgs args;
      args.Canvas = &canvas;
      args.Column = column;
      args.Rect = cell.Rect;
      args.Text = grid_.Model().GetColumnHeaderCaption(column);
      args.Color = grid_.HeaderColor();
      args.Alignment = grid_.Model().GetColumnHeaderAlignment(column);
      args.Sorted = grid_.Model().GetColumnSorted(column);
      const TBrush* brush = &res.HeaderBrush;
      TBrush handlerBrush;
      if (grid_.WantsCustomDrawHeader(column)) {
        handlerFont.emplace(canvas);
        args.Font = &canvas.Font;
        {
          TqlClipScope clip(canvas);
          if (cell.VisibleRect != cell.Rect) canvas.IntersectClipRect(cell.VisibleRect);
          grid_.CustomDrawHeader(args);
        }
        if (!args.Done && ColorToRGB(args.Color) != ColorToRGB(grid_.HeaderColor())) {
          handlerBrush = SolidBrush(args.Color);
          brush = &handlerBrush;
        }
      }
      if (!args.Done) {
        TqlHeaderContent content;
        content.Brush = brush;
        content.FilterButtonState = grid_.GetFilterButtonState(column);
        content.Look = grid_.LookAndFeel();
        content.Kind = HeaderCellKind(cell.FirstInRow, cell.LastInRow);
        content.Glyph = grid_.Model().ColumnHasGlyph(column) ? grid_.Model().GetColumnHeaderGlyph(column) : nullptr;
        content.Sorted = args.Sorted;
        content.Alignment = args.Alignment;
        content.MultiLine = cell.RowSpan > 1 || grid_.HeaderMinRowCount() > 1;
        content.Pressed = grid_.MouseFeedback().ColumnDown == column;
        content.Text = args.Text;
        DrawHeaderCellOffscreen(canvas, cell.Rect, cell.VisibleRect, content, res.Scratch);
      }
    }
    if (fillerShown) {
      canvas.Brush = res.FrameBrush;
      canvas.FillRect(cell.FillerRect);
    }
  }
  canvas.Brush = res.FrameBrush;
  for (const TqlEmptyBandHeader& empty : layout.EmptyBandHeaders)
    if (IsPaintVisible(canvas, empty.Rect)) canvas.FillRect(empty.Rect);
}

// ===== indicator column =======================================================================

void TqlTreeListPainter::paintIndicator(TqlPaintPass& pass) {
  TCanvas& canvas = pass.Canvas;
  const TqlLayoutSnapshot& layout = pass.Layout;
  if (!IsPaintVisible(canvas, layout.IndicatorRect) || layout.RowInfos.empty()) return;
  const bool footerShown = !layout.FooterRect.IsEmpty();
  for (const TqlRowInfo& row : layout.RowInfos) {
    TRect rect{layout.IndicatorRect.Left, row.Top, layout.IndicatorRect.Right,
               row.Top + row.Height};
    TRect shown = rect;
    if (footerShown) shown.Bottom = std::min(shown.Bottom, layout.FooterRect.Top);
    if (!IsPaintVisible(canvas, shown)) continue;
    DrawIndicatorCell(canvas, rect, shown, grid_.LookAndFeel(), row.IndicatorKind, pass.Res.HeaderBrush,
                      pass.Res.Scratch);
  }
  canvas.ExcludeClipRect(layout.IndicatorRect);
}

// ===== footer panel ===========================================================================

void TqlTreeListPainter::paintFooterPanel(TqlPaintPass& pass) {
  TCanvas& canvas = pass.Canvas;
  const TqlLayoutSnapshot& layout = pass.Layout;
  TqlPaintResources& res = pass.Res;
  if (!IsPaintVisible(canvas, layout.FooterRect)) return;

  // Scrolled content hides the panel's border on the side it runs past.
  const bool flat = grid_.LookAndFeel() != lfStandard;
  const int hiddenBorder = flat ? 1 : 2;
  TRect frame = layout.FooterRect;
  if (layout.LeftFixedBand < 0 && grid_.LeftCoord() > 0) frame.Left -= hiddenBorder;
  if (layout.RightFixedBand < 0 && layout.ContentRight >= layout.FooterRect.Right)
    frame.Right += hiddenBorder;
  {
    TqlClipScope clip(canvas);
    canvas.IntersectClipRect(layout.FooterRect);
    if (flat) {
      DrawEdgeSides(canvas, frame, esSunkenOuter, sideTop, true);
      if (grid_.LookAndFeel() == lfUltraFlat) {
        canvas.Brush = res.HeaderBrush;
        canvas.FillRect(frame);
      } else {
        DrawEdgeSides(canvas, frame, esRaisedInner, sidesAll, false);
      }
    } else {
      canvas.Brush.SetColor(clWindowFrame);
      canvas.FrameRect(frame);
      frame = frame.Inflate(-1, -1);
      frame.Left -= 1;
      DrawEdgeSides(canvas, frame, esRaisedInner, sidesAll, false);
    }
    frame = frame.Inflate(-1, -1);
    canvas.Brush = res.HeaderBrush;
    canvas.FillRect(frame);

    const int origin = frame.Top;
    const int lineHeight = grid_.Metrics().FooterLineHeight;
    TqlFontScope cellFont(canvas);
    canvas.Font = grid_.Font();
    for (size_t i = 0; i < layout.HeaderCells.size(); ++i) {
      const TqlHeaderCell& cell = layout.HeaderCells[i];
      TRect rect{cell.Rect.Left, origin + cell.HeaderRow * lineHeight, cell.Rect.Right,
                 origin + (cell.HeaderRow + cell.RowSpan) * lineHeight};
      if (cell.VisibleBand == 0) rect.Left = std::max(rect.Left, layout.RowsRect.Left);
      rect = rect.Inflate(-1, -1);
      if (cell.FirstOfGrid) rect.Left += 1;
      if (cell.LastOfGrid) rect.Right -= 2;
      if (rect.IsEmpty() || !grid_.IsExistFooterCell(cell.Column)) continue;
      // Cells of scrolled bands stay inside the span the rows scroll in.
      TqlClipScope cellClip(canvas);
      canvas.IntersectClipRect(cell.VisibleRect.Left, layout.FooterRect.Top,
                               cell.VisibleRect.Right, layout.FooterRect.Bottom);
      if (!IsPaintVisible(canvas, rect)) continue;
      DrawFooterCellFrame(canvas, rect, grid_.LookAndFeel());
      rect = rect.Inflate(-1, -1);
      canvas.SetBkColor(grid_.HeaderColor());
      canvas.SetTextColor(grid_.Font().Color());
      TqlTextCellRequest request;
      request.Rect = rect;
      request.AtGridLeft = cell.FirstOfGrid;
      request.AtGridRight = cell.LastOfGrid;
      request.Kind = TqlCellPaintKind::Footer;
      request.MultiLine = cell.RowSpan > 1;
      request.Brush = &res.HeaderBrush;
      request.BackColor = grid_.HeaderColor();
      request.FooterIndex = -1;
      request.Column = cell.Column;
      DrawTextCell(grid_, pass, request);
    }
  }
  canvas.ExcludeClipRect(layout.FooterRect);
}

// ===== status panel ===========================================================================

void TqlTreeListPainter::paintStatusPanel(TqlPaintPass& pass) {
  TCanvas& canvas = pass.Canvas;
  const TRect& status = pass.Layout.StatusRect;
  if (!IsPaintVisible(canvas, status)) return;
  {
    TCanvasStateGuard tools(canvas);
    canvas.Font = grid_.Font();
    canvas.Brush = pass.Res.FrameBrush;
    canvas.FillRect(status);
    const bool closeButton = grid_.StatusCloseButtonShown();
    TRect text = status.Inflate(-2, -2);
    if (closeButton) text.Left += 18;
    canvas.Font.SetColor(clBtnHighlight);
    canvas.Brush.SetStyle(bsClear);
    canvas.DrawText(grid_.GetStatusText(), text, DT_SINGLELINE | DT_LEFT | DT_VCENTER | DT_NOPREFIX);
    if (closeButton) {
      const int y = status.Top + (status.Height() - 11) / 2;
      const bool pressed = grid_.MouseFeedback().StatusClosePressed;
      DrawStatusCloseButton(canvas, {status.Left + 3, y}, grid_.MouseFeedback().StatusCloseHot && !pressed,
                            pressed);
    }
  }
  canvas.ExcludeClipRect(status);
}
