#pragma once
// Grids for the layout and hit-test tests: the control with bands and columns, standing alone
// (no form) at a given client size, so the layout works on plain numbers.
//   SearchGrid: one band, DefaultLayout, ShowBands off, one header row, the fonts and the look
//     of the search window's grids (the organ-system grid's columns 96, 113, 124), grid paint
//     style, the options that window ends up with (no indicator, no row sizing).
//   Multi-band grids are built by the tests from LayoutGrid.
#include <memory>
#include <string>

#include "treelist/treelist_control.h"
#include "treelist/treelist_layout.h"
#include "treelist/treelist_node.h"

class LayoutGrid : public TCustomqlTreeListControl {
 public:
  using TCustomqlTreeListControl::TCustomqlTreeListControl;
};

// Owner and grid (of a test's own grid class when it answers more); the owner frees the grid
// and its columns.
template <typename Grid>
struct GridFixture {
  std::unique_ptr<TComponent> owner = std::make_unique<TComponent>(nullptr);
  Grid* grid = new Grid(owner.get());

  GridFixture(int width, int height) { grid->SetBounds(0, 0, width, height); }

  TqlTreeListColumn* AddColumn(int width, int band = 0, int row = 0) {
    TqlTreeListColumn* c = grid->CreateColumn();
    c->SetCaption("C" + std::to_string(grid->ColumnCount() - 1));
    c->SetBandIndex(band);
    c->SetRowIndex(row);
    c->SetWidth(width);
    return c;
  }
  // Roots with texts "r<i>" in column 0.
  void AddRows(int count) {
    TqlTreeListUpdateLock lock(*grid);
    for (int i = 0; i < count; ++i) grid->Add()->SetText(0, "r" + std::to_string(i));
  }
  TqlLayoutSnapshot Snapshot() const { return grid->BuildLayoutSnapshot(); }
};
using LayoutFixture = GridFixture<LayoutGrid>;

inline void SetSearchWindowLook(TCustomqlTreeListControl& g) {
  TFont text;
  text.SetName("宋体");
  text.SetHeight(-13);
  text.SetCharset(GB2312_CHARSET);
  TFont small;  // "MS Sans Serif" -11 is a font's initial value
  g.Font().Assign(text);
  g.HeaderFont().Assign(text);
  g.BandFont().Assign(small);
  g.PreviewFont().Assign(small);
  g.PreviewFont().SetColor(clBlue);
  g.SetLookAndFeel(lfUltraFlat);
  g.SetPaintStyle(TqlPaintStyle::Grid);
  // What the search window's option sets map to: behaviour as set there, customize and view
  // at their defaults (band and column sizing and moving, band widths from their headers).
  g.SetOptions({tloColumnSizing, tloColumnMoving, tloBandSizing, tloBandMoving,
                tloBandHeaderWidth, tloUseBitmap, tloAutoSort, tloDragScroll,
                tloEnterShowEditor, tloImmediateEditor, tloTabThrough, tloVertThrough});
}

// The organ-system grid of the search window at 400 x 200 with five rows.
struct SearchGrid : LayoutFixture {
  SearchGrid() : LayoutFixture(400, 200) {
    SetSearchWindowLook(*grid);
    AddColumn(96);
    AddColumn(113);
    AddColumn(124);
    grid->RecalcLayout();
    AddRows(5);
  }
};
