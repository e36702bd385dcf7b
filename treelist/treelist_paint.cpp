// The paint pass of the tree-list grid and the panels around the rows: corner buttons, band
// panel, header panel, indicator column, footer panel and status panel; text cells (footer
// cells, new item row cells, group rows); the core's answers to the painting questions.
//
// Every painter first asks whether its area meets the update region (the canvas's clip
// region) and skips itself otherwise. The indicator, footer and status painters exclude
// their rectangle from the clip region when done, so that the rows cannot draw over them.
#include <algorithm>

#include "platform/gfx/canvas.h"
#include "platform/core/utf8.h"
#include "platform/ui/form.h"
#include "treelist/edit_view_data.h"
#include "treelist/paint_pass.h"
#include "treelist/paint_primitives.h"
#include "treelist/treelist_core.h"
#include "treelist/treelist_edit_style.h"
#include "treelist/treelist_node.h"


// ===== the pass ===============================================================================

void TCustomqlTreeList::Paint() { PaintGrid(Canvas()); }

void TCustomqlTreeList::PaintGrid(TCanvas& canvas) {
  // Passes nest (a handler may repaint); only the outermost takes the sizing line and the
  // drag image off the picture and puts them back on the finished one.
  struct DepthScope {
    TCustomqlTreeList& grid;
    bool outermost;
    explicit DepthScope(TCustomqlTreeList& g) : grid(g), outermost(g.paintDepth_ == 0) {
      ++grid.paintDepth_;
      if (outermost) grid.HideSizingFeedback();
    }
    ~DepthScope() {
      --grid.paintDepth_;
      if (outermost) grid.ShowSizingFeedback();
    }
  } depth(*this);
  // The exclusions of the panels and every tool change end with the pass.
  TCanvasStateGuard state(canvas);

  TqlPaintPass pass(canvas, BuildLayoutSnapshot());
  pass.GridFocused = IsGridFocused();
  CreatePaintResources(*this, pass);

  if (IsPaintVisible(canvas, pass.Layout.GroupPanelRect)) PaintGroupPanel(pass);
  paintBandPanel(pass);
  paintHeaderPanel(pass);
  PaintNewItemRow(pass);
  paintIndicator(pass);
  paintFooterPanel(pass);
  paintStatusPanel(pass);
  PaintRows(pass);
}

bool TCustomqlTreeList::IsGridFocused() const {
  const TCustomForm* form = GetParentForm();
  if (!form || !form->Active()) return false;
  const TWinControl* active = form->ActiveControl();
  return active && (active == this || ContainsControl(active));
}

TColor TCustomqlTreeList::GridLineDrawColor() const {
  return gridLineColor_ == clNone ? clBtnShadow : gridLineColor_;
}

void TCustomqlTreeList::SetShowRoot(bool value) {
  if (showRoot_ == value) return;
  showRoot_ = value;
  RecalcLayout();
}

// ===== band panel =============================================================================

void TCustomqlTreeList::paintBandPanel(TqlPaintPass& pass) {
  TCanvas& canvas = pass.Canvas;
  const TqlLayoutSnapshot& layout = pass.Layout;
  TqlPaintResources& res = pass.Res;
  if (IsPaintVisible(canvas, layout.BandCornerRect))
    DrawCornerButton(canvas, layout.BandCornerRect, res.BandBrush, lookAndFeel_,
                     mouseFeedback_.BandCornerPushed);

  if (IsPaintVisible(canvas, layout.BandPanelRect) && !layout.BandCells.empty()) {
    TqlFontScope panelFont(canvas);
    canvas.Font = bandFont_;
    for (const TqlBandCell& cell : layout.BandCells) {
      if (!IsPaintVisible(canvas, cell.VisibleRect)) continue;
      const int band = GetVisibleBandIndexToAbsolute(cell.VisibleBand);
      TqlCustomDrawBandArgs args;
      args.Canvas = &canvas;
      args.Band = band;
      args.Rect = cell.Rect;
      args.Text = GetVisibleBandCaption(cell.VisibleBand);
      args.Color = bandColor_;
      args.Alignment = GetVisibleBandAlignment(cell.VisibleBand);
      const TBrush* brush = &res.BandBrush;
      TBrush handlerBrush;
      std::optional<TqlFontScope> handlerFont;
      if (OnCustomDrawBand) {
        handlerFont.emplace(canvas);
        args.Font = &canvas.Font;
        {
          TqlClipScope clip(canvas);
          if (cell.VisibleRect != cell.Rect) canvas.IntersectClipRect(cell.VisibleRect);
          OnCustomDrawBand(this, BandObject(band), &canvas, args.Rect, args.Text, args.Color,
                           args.Font, args.Alignment, args.Done);
        }
        if (!args.Done && ColorToRGB(args.Color) != ColorToRGB(bandColor_)) {
          handlerBrush = SolidBrush(args.Color);
          brush = &handlerBrush;
        }
      }
      if (args.Done) continue;
      TqlHeaderContent content;
      content.Brush = brush;
      content.Look = lookAndFeel_;
      content.Kind = TqlCellFrameKind::Alone;
      content.Alignment = args.Alignment;
      content.MultiLine = bandRowCount_ > 1;
      content.Pressed = mouseFeedback_.BandDown == cell.VisibleBand;
      content.Text = args.Text;
      DrawHeaderCellOffscreen(canvas, cell.Rect, cell.VisibleRect, content, res.Scratch);
    }
  }

  // The lines that set fixed bands apart run from the band panel down through the rows.
  const int lineWidth = fixedBandLineWidth_;
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

void TCustomqlTreeList::paintHeaderPanel(TqlPaintPass& pass) {
  TCanvas& canvas = pass.Canvas;
  const TqlLayoutSnapshot& layout = pass.Layout;
  TqlPaintResources& res = pass.Res;
  if (IsPaintVisible(canvas, layout.HeaderCornerRect))
    DrawCornerButton(canvas, layout.HeaderCornerRect, res.HeaderBrush, lookAndFeel_,
                     mouseFeedback_.HeaderCornerPushed);
  if (!IsPaintVisible(canvas, layout.HeaderPanelRect) || layout.HeaderCells.empty()) return;

  TqlFontScope panelFont(canvas);
  canvas.Font = headerFont_;
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
      args.Text = GetColumnHeaderCaption(column);
      args.Color = headerColor_;
      args.Alignment = GetColumnHeaderAlignment(column);
      args.Sorted = GetColumnSorted(column);
      const TBrush* brush = &res.HeaderBrush;
      TBrush handlerBrush;
      if (WantsCustomDrawHeader(column)) {
        handlerFont.emplace(canvas);
        args.Font = &canvas.Font;
        {
          TqlClipScope clip(canvas);
          if (cell.VisibleRect != cell.Rect) canvas.IntersectClipRect(cell.VisibleRect);
          CustomDrawHeader(args);
        }
        if (!args.Done && ColorToRGB(args.Color) != ColorToRGB(headerColor_)) {
          handlerBrush = SolidBrush(args.Color);
          brush = &handlerBrush;
        }
      }
      if (!args.Done) {
        TqlHeaderContent content;
        content.Brush = brush;
        content.FilterButtonState = GetFilterButtonState(column);
        content.Look = lookAndFeel_;
        content.Kind = HeaderCellKind(cell.FirstInRow, cell.LastInRow);
        content.Glyph = ColumnHasGlyph(column) ? GetColumnHeaderGlyph(column) : nullptr;
        content.Sorted = args.Sorted;
        content.Alignment = args.Alignment;
        content.MultiLine = cell.RowSpan > 1 || headerMinRowCount_ > 1;
        content.Pressed = mouseFeedback_.ColumnDown == column;
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

void TCustomqlTreeList::paintIndicator(TqlPaintPass& pass) {
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
    DrawIndicatorCell(canvas, rect, shown, lookAndFeel_, row.IndicatorKind, pass.Res.HeaderBrush,
                      pass.Res.Scratch);
  }
  canvas.ExcludeClipRect(layout.IndicatorRect);
}

// ===== footer panel ===========================================================================

void TCustomqlTreeList::paintFooterPanel(TqlPaintPass& pass) {
  TCanvas& canvas = pass.Canvas;
  const TqlLayoutSnapshot& layout = pass.Layout;
  TqlPaintResources& res = pass.Res;
  if (!IsPaintVisible(canvas, layout.FooterRect)) return;

  // Scrolled content hides the panel's border on the side it runs past.
  const bool flat = lookAndFeel_ != lfStandard;
  const int hiddenBorder = flat ? 1 : 2;
  TRect frame = layout.FooterRect;
  if (layout.LeftFixedBand < 0 && LeftCoord() > 0) frame.Left -= hiddenBorder;
  if (layout.RightFixedBand < 0 && layout.ContentRight >= layout.FooterRect.Right)
    frame.Right += hiddenBorder;
  {
    TqlClipScope clip(canvas);
    canvas.IntersectClipRect(layout.FooterRect);
    if (flat) {
      DrawEdgeSides(canvas, frame, esSunkenOuter, sideTop, true);
      if (lookAndFeel_ == lfUltraFlat) {
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
    const int lineHeight = Metrics().FooterLineHeight;
    TqlFontScope cellFont(canvas);
    canvas.Font = Font();
    for (size_t i = 0; i < layout.HeaderCells.size(); ++i) {
      const TqlHeaderCell& cell = layout.HeaderCells[i];
      TRect rect{cell.Rect.Left, origin + cell.HeaderRow * lineHeight, cell.Rect.Right,
                 origin + (cell.HeaderRow + cell.RowSpan) * lineHeight};
      if (cell.VisibleBand == 0) rect.Left = std::max(rect.Left, layout.RowsRect.Left);
      rect = rect.Inflate(-1, -1);
      if (cell.FirstOfGrid) rect.Left += 1;
      if (cell.LastOfGrid) rect.Right -= 2;
      if (rect.IsEmpty() || !IsExistFooterCell(cell.Column)) continue;
      // Cells of scrolled bands stay inside the span the rows scroll in.
      TqlClipScope cellClip(canvas);
      canvas.IntersectClipRect(cell.VisibleRect.Left, layout.FooterRect.Top,
                               cell.VisibleRect.Right, layout.FooterRect.Bottom);
      if (!IsPaintVisible(canvas, rect)) continue;
      DrawFooterCellFrame(canvas, rect, lookAndFeel_);
      rect = rect.Inflate(-1, -1);
      canvas.SetBkColor(headerColor_);
      canvas.SetTextColor(Font().Color());
      TextCellRequest request;
      request.Rect = rect;
      request.AtGridLeft = cell.FirstOfGrid;
      request.AtGridRight = cell.LastOfGrid;
      request.Kind = TqlCellPaintKind::Footer;
      request.MultiLine = cell.RowSpan > 1;
      request.Brush = &res.HeaderBrush;
      request.BackColor = headerColor_;
      request.FooterIndex = -1;
      request.Column = cell.Column;
      DrawTextCell(pass, request);
    }
  }
  canvas.ExcludeClipRect(layout.FooterRect);
}

// ===== status panel ===========================================================================

void TCustomqlTreeList::paintStatusPanel(TqlPaintPass& pass) {
  TCanvas& canvas = pass.Canvas;
  const TRect& status = pass.Layout.StatusRect;
  if (!IsPaintVisible(canvas, status)) return;
  {
    TCanvasStateGuard tools(canvas);
    canvas.Font = Font();
    canvas.Brush = pass.Res.FrameBrush;
    canvas.FillRect(status);
    const bool closeButton = StatusCloseButtonShown();
    TRect text = status.Inflate(-2, -2);
    if (closeButton) text.Left += 18;
    canvas.Font.SetColor(clBtnHighlight);
    canvas.Brush.SetStyle(bsClear);
    canvas.DrawText(GetStatusText(), text, DT_SINGLELINE | DT_LEFT | DT_VCENTER | DT_NOPREFIX);
    if (closeButton) {
      const int y = status.Top + (status.Height() - 11) / 2;
      const bool pressed = mouseFeedback_.StatusClosePressed;
      DrawStatusCloseButton(canvas, {status.Left + 3, y}, mouseFeedback_.StatusCloseHot && !pressed,
                            pressed);
    }
  }
  canvas.ExcludeClipRect(status);
}

// ===== text cells =============================================================================

void TCustomqlTreeList::DrawTextCell(TqlPaintPass& pass, const TextCellRequest& request) {
  TCanvas& canvas = pass.Canvas;
  const int column = request.Column;
  TqlTreeListNode* node = request.Node;
  if (node) BeginNodePaint(node);
  TqlNodePaintScope nodeScope([this](TqlTreeListNode* n) { EndNodePaint(n); }, node);

  // Text and alignment by kind: a data cell and a group row show the node's cell.
  const TqlCellPaintKind kind = request.Kind;
  const bool footer = kind == TqlCellPaintKind::Footer;
  const bool groupRow = kind == TqlCellPaintKind::GroupRow;
  const bool newItemRow = kind == TqlCellPaintKind::NewItemRow;
  TAlignment alignment = GetColumnAlignment(column);
  std::string text;
  switch (kind) {
    case TqlCellPaintKind::Footer:
      text = GetFooterText(node, column, request.FooterIndex, alignment);
      break;
    case TqlCellPaintKind::NewItemRow: text = GetNewItemRowText(column); break;
    case TqlCellPaintKind::Data:
    case TqlCellPaintKind::GroupRow: text = GetCellText(node, column); break;
  }
  const bool ownFont = (kind == TqlCellPaintKind::Data || newItemRow) && ColumnHasOwnFont(column);
  const bool custom = footer ? WantsCustomDrawFooter(column, request.FooterIndex)
                             : WantsCustomDrawCell(column, groupRow);
  const TColor savedBack = canvas.GetBkColor();
  std::optional<TqlFontScope> fontScope;
  if (custom || ownFont) {
    const TColor textColor = canvas.GetTextColor();
    canvas.Font.SetColor(textColor);
    fontScope.emplace(canvas);
    if (ownFont) {
      canvas.Font = GetColumnFont(column);
      if (request.Selected) canvas.Font.SetColor(textColor);
    }
  }

  TColor color = request.BackColor;
  bool done = false;
  if (custom) {
    if (footer) {
      TqlCustomDrawFooterArgs args;
      args.Canvas = &canvas;
      args.Rect = request.Rect;
      args.Node = node;
      args.Column = column;
      args.FooterIndex = request.FooterIndex;
      args.Text = std::move(text);
      args.Color = color;
      args.Font = &canvas.Font;
      args.Alignment = alignment;
      CustomDrawFooter(args);
      text = std::move(args.Text);
      color = args.Color;
      alignment = args.Alignment;
      done = args.Done;
    } else {
      TqlCustomDrawCellArgs args;
      args.Canvas = &canvas;
      args.Rect = request.Rect;
      args.Node = node;
      args.Column = column;
      args.Selected = request.Selected;
      args.Focused = request.Focused;
      args.NewItemRow = newItemRow;
      args.Text = std::move(text);
      args.Color = color;
      args.Font = &canvas.Font;
      args.Alignment = alignment;
      CustomDrawCell(args, groupRow);
      text = std::move(args.Text);
      color = args.Color;
      alignment = args.Alignment;
      done = args.Done;
    }
    if (custom && !ownFont && !done) canvas.SetTextColor(canvas.Font.Color());
  }

  if (!done) {
    const TBrush* brush = request.Brush;
    TBrush handlerBrush;
    if (ColorToRGB(color) != ColorToRGB(request.BackColor)) {
      handlerBrush = SolidBrush(color);
      brush = &handlerBrush;
      canvas.SetBkColor(color);
    }
    TqlTextOutput out;
    out.Brush = brush;
    out.BackColor = color;
    out.Text = text;
    out.Alignment = alignment;
    out.MultiLine = request.MultiLine;
    out.EndEllipsis = IsOption(tloDrawEndEllipsis);
    out.ThroughBitmap = IsOption(tloUseBitmap);
    out.TopInset = IsOption(tloInvertSelect) && !footer ? 2 : 1;
    DrawCellText(canvas, request.Rect, out, &pass.Res.Scratch);

    // The incremental search marks what has been typed in the focused row's search cell.
    const TqlIncrementalSearchState& search = incrementalSearch_;
    if (search.Active && kind == TqlCellPaintKind::Data && column == search.Column && node &&
        node == focusedNode_) {
      if (!search.Text.empty()) {
        const TColor textColor = canvas.GetTextColor();
        canvas.SetBkColor(autoSearchColor_ == clNone ? InverseColor(color) : autoSearchColor_);
        canvas.SetTextColor(autoSearchTextColor_ == clNone ? InverseColor(textColor)
                                                           : autoSearchTextColor_);
        TqlTextOutput mark = out;
        mark.Length = static_cast<int>(Utf8Length(search.Text));
        mark.NoBackground = true;
        DrawCellText(canvas, request.Rect, mark, &pass.Res.Scratch);
        canvas.SetTextColor(textColor);
      }
      TRect frame = request.Rect.Inflate(-1, -1);
      if (IsOption(tloRowSelect) || IsOption(tloInvertSelect)) {
        if (!request.AtGridLeft) frame.Left -= 1;
        if (!request.AtGridRight) frame.Right += 1;
      }
      DrawDottedFocusFrame(canvas, frame);
    }
  }
  canvas.SetBkColor(savedBack);
}

// ===== the core's answers to the painting questions ==========================================

int TCustomqlTreeList::GetFilterButtonState(int column) const {
  if (!HeaderButtonsEnabled() || ColumnDisableFilter(column)) return 0;
  if (mouseFeedback_.HotFilterButtonColumn != column) return fbsShown;
  if (mouseFeedback_.DropDownColumn == column) return fbsShown | fbsHot | fbsPressed;
  return fbsShown | fbsHot;
}

std::string TCustomqlTreeList::GetFooterText(TqlTreeListNode*, int column, int,
                                             TAlignment& alignment) const {
  alignment = GetColumnAlignment(column);
  return {};
}

bool TCustomqlTreeList::IsExistFooterCell(int column) const {
  bool exist = false;
  if (OnIsExistFooterCell)
    OnIsExistFooterCell(const_cast<TCustomqlTreeList*>(this), ColumnObject(column), exist);
  return exist;
}

bool TCustomqlTreeList::WantsCustomDrawHeader(int) const {
  return bool(OnCustomDrawColumnHeader);
}

void TCustomqlTreeList::CustomDrawHeader(TqlCustomDrawHeaderArgs& args) {
  if (OnCustomDrawColumnHeader && !args.Done)
    OnCustomDrawColumnHeader(this, ColumnObject(args.Column), args.Canvas, args.Rect, args.Text,
                             args.Color, args.Font, args.Alignment, args.Sorted, args.Done);
}

bool TCustomqlTreeList::WantsCustomDrawCell(int, bool) const { return bool(OnCustomDrawCell); }

void TCustomqlTreeList::CustomDrawCell(TqlCustomDrawCellArgs& args, bool) {
  if (OnCustomDrawCell && !args.Done)
    OnCustomDrawCell(this, args.Canvas, args.Rect, args.Node, ColumnObject(args.Column),
                     args.Selected, args.Focused, args.NewItemRow, args.Text, args.Color,
                     args.Font, args.Alignment, args.Done);
}

bool TCustomqlTreeList::WantsCustomDrawFooter(int, int footerIndex) const {
  return footerIndex < 0 ? bool(OnCustomDrawFooter) : bool(OnCustomDrawFooterNode);
}

void TCustomqlTreeList::CustomDrawFooter(TqlCustomDrawFooterArgs& args) {
  if (args.Done) return;
  TqlTreeListColumn* column = ColumnObject(args.Column);
  if (args.FooterIndex < 0) {
    if (OnCustomDrawFooter)
      OnCustomDrawFooter(this, args.Canvas, args.Rect, args.Node, column, args.Text, args.Color,
                         args.Font, args.Alignment, args.Done);
  } else if (OnCustomDrawFooterNode) {
    OnCustomDrawFooterNode(this, args.Canvas, args.Rect, args.Node, column, args.FooterIndex,
                           args.Text, args.Color, args.Font, args.Alignment, args.Done);
  }
}

void TCustomqlTreeList::FillCellEditorSettings(int, TqlCellEditorSettings& settings) const {
  settings.ButtonStyle = ButtonStyleForLook(LookAndFeel());
}

void TCustomqlTreeList::PaintCellView(int column, TCanvas& canvas, const TRect& cell,
                                      const TqlTreeListCellViewData& view) {
  // One record reused for every cell: painting runs on the main thread only.
  static TqlTextEditViewData record;
  static const TqlTextEditPainter painter;
  TqlCellEditorSettings settings;
  FillCellEditorSettings(column, settings);
  FillEditViewDataFromCell(record, view, settings);
  record.Bounds = cell.Inflate(2, 2);
  painter.Draw(canvas, nullptr, record);
}
