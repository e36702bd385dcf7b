#pragma once
// TqlTreeListModel: what the tree-list core asks about its bands and columns, by index. The
// core never holds a band or column object; TCustomqlTreeListControl, which owns them, answers
// these (treelist_control_queries.cpp), and test doubles answer them with plain numbers.
//
// Indexes are absolute unless the name says visible. Out-of-range indexes answer 0, -1 or
// empty; none of these raises.
#include <string>

#include "platform/core/alignment.h"
#include "platform/gfx/graphics.h"
#include "treelist/treelist_types.h"

class TBitmap;
class TCanvas;
class TImageList;

// The image a cell shows before its text (Images null: none).
struct TqlCellImage {
  const TImageList* Images = nullptr;  // non-owning
  int Index = -1;                      // drawn when it is an image of Images
};

class TqlTreeListModel {
 public:
  virtual ~TqlTreeListModel() = default;

  virtual TAlignment GetBandAlignment(int band) const = 0;
  virtual int GetBandCount() const = 0;
  virtual int GetVisibleBandIndexToAbsolute(int visibleBand) const = 0;
  virtual std::string GetBandCaption(int band) const = 0;
  virtual int GetBandWidth(int band) const = 0;
  virtual TAlignment GetVisibleBandAlignment(int visibleBand) const = 0;
  virtual int GetVisibleBandCount() const = 0;
  virtual int GetLeftFixedVisibleBand() const = 0;   // 0 or -1
  virtual int GetRightFixedVisibleBand() const = 0;  // last visible index or -1
  virtual int GetVisibleBandMinWidth(int visibleBand) const = 0;  // MinWidth or Width (not sizable)
  virtual int GetVisibleBandWidth(int visibleBand) const = 0;
  virtual std::string GetVisibleBandCaption(int visibleBand) const = 0;
  virtual bool GetVisibleBandSizing(int visibleBand) const = 0;
  virtual int GetGroupIndent() const { return 0; }
  virtual int GetAbsoluteBandIndexToVisible(int band) const = 0;  // -1 for a hidden band
  virtual bool GetVisibleBandOnlyOwnColumns(int visibleBand) const = 0;
  virtual bool GetBandDisableDragging(int band) const { return false; }
  virtual int GetColumnCount() const = 0;
  virtual int GetColumnAt(int visibleBand, int headerRow, int colIndex) const = 0;  // or -1
  virtual TAlignment GetColumnHeaderAlignment(int column) const = 0;
  virtual int GetColumnBandIndex(int column) const = 0;
  virtual int GetColumnHeaderWidth(int column) const = 0;
  virtual int GetColumnCountInRow(int visibleBand, int headerRow) const = 0;  // visible columns
  virtual int GetColumnColIndex(int column) const = 0;
  virtual bool GetColumnCanFilter(int column) const = 0;
  virtual TBitmap* GetColumnHeaderGlyph(int column) const = 0;
  virtual int GetColumnHeaderMaxLineCount(int column) const = 0;
  virtual int GetColumnMinWidth(int column) const = 0;  // MinWidth, or Width when not sizable
  virtual bool GetColumnSizing(int column) const = 0;
  virtual int GetOccupiedHeaderRowCount(int visibleBand) const = 0;
  virtual int GetColumnRowIndex(int column) const = 0;
  virtual TqlTreeListColumnSort GetColumnSorted(int column) const = 0;
  virtual bool GetColumnTabStop(int column) const = 0;
  virtual bool GetColumnDisableDragging(int column) const { return false; }
  virtual bool GetColumnVisible(int column) const { return false; }  // its Visible property
  virtual std::string GetColumnHeaderCaption(int column) const = 0;  // empty with DisableCaption
  virtual std::string GetColumnCaption(int column) const = 0;
  virtual int GetColumnWidth(int column) const = 0;
  virtual TColor GetColumnColor(int column) const = 0;
  // A column that shows its values as other texts (an image column's descriptions) replaces
  // a data cell's text and may give an image to draw before it; false when it changes nothing.
  virtual bool GetColumnDisplay(int column, std::string& text, TqlCellImage& image) const {
    return false;
  }
  // Whether the column's editor has a drop-down button (shown in every cell with
  // tloShowButtonAlways).
  virtual bool GetColumnHasEditorButton(int column) const { return false; }
  virtual const TFont& GetColumnFont(int column) const = 0;
  virtual bool ColumnHasOwnFont(int column) const = 0;
  virtual bool ColumnHasGlyph(int column) const = 0;
  virtual TAlignment GetColumnAlignment(int column) const = 0;
  virtual int GetColumnBestWidth(int column, TCanvas& canvas) const = 0;
  // Header rows of the header panel (the control's HeaderPanelRowCount, >= 1) and whether the
  // control keeps its default one-band layout (band widths then follow their headers).
  virtual int GetHeaderPanelRowCount() const { return 1; }
  virtual bool GetDefaultLayout() const { return false; }
  // Most rows of the header and band panels (sizing limits; the control owns them).
  virtual int GetHeaderPanelMaxRowCount() const { return 5; }
  virtual int GetBandMaxRowCount() const { return 5; }
};

// The model of a grid without bands and columns: no bands, no columns, every index out of
// range. The core asks it until a control sets itself as the model.
class TqlEmptyTreeListModel final : public TqlTreeListModel {
 public:
  static const TqlEmptyTreeListModel& Instance();

  TAlignment GetBandAlignment(int) const override { return taLeftJustify; }
  int GetBandCount() const override { return 0; }
  int GetVisibleBandIndexToAbsolute(int) const override { return -1; }
  std::string GetBandCaption(int) const override { return {}; }
  int GetBandWidth(int) const override { return 0; }
  TAlignment GetVisibleBandAlignment(int) const override { return taLeftJustify; }
  int GetVisibleBandCount() const override { return 0; }
  int GetLeftFixedVisibleBand() const override { return -1; }
  int GetRightFixedVisibleBand() const override { return -1; }
  int GetVisibleBandMinWidth(int) const override { return 0; }
  int GetVisibleBandWidth(int) const override { return 0; }
  std::string GetVisibleBandCaption(int) const override { return {}; }
  bool GetVisibleBandSizing(int) const override { return false; }
  int GetAbsoluteBandIndexToVisible(int) const override { return -1; }
  bool GetVisibleBandOnlyOwnColumns(int) const override { return false; }
  int GetColumnCount() const override { return 0; }
  int GetColumnAt(int, int, int) const override { return -1; }
  TAlignment GetColumnHeaderAlignment(int) const override { return taLeftJustify; }
  int GetColumnBandIndex(int) const override { return -1; }
  int GetColumnHeaderWidth(int) const override { return 0; }
  int GetColumnCountInRow(int, int) const override { return 0; }
  int GetColumnColIndex(int) const override { return -1; }
  bool GetColumnCanFilter(int) const override { return false; }
  TBitmap* GetColumnHeaderGlyph(int) const override { return nullptr; }
  int GetColumnHeaderMaxLineCount(int) const override { return 0; }
  int GetColumnMinWidth(int) const override { return 0; }
  bool GetColumnSizing(int) const override { return false; }
  int GetOccupiedHeaderRowCount(int) const override { return 0; }
  int GetColumnRowIndex(int) const override { return 0; }
  TqlTreeListColumnSort GetColumnSorted(int) const override { return csNone; }
  bool GetColumnTabStop(int) const override { return false; }
  std::string GetColumnHeaderCaption(int) const override { return {}; }
  std::string GetColumnCaption(int) const override { return {}; }
  int GetColumnWidth(int) const override { return 0; }
  TColor GetColumnColor(int) const override { return clWindow; }
  const TFont& GetColumnFont(int) const override;
  bool ColumnHasOwnFont(int) const override { return false; }
  bool ColumnHasGlyph(int) const override { return false; }
  TAlignment GetColumnAlignment(int) const override { return taLeftJustify; }
  int GetColumnBestWidth(int, TCanvas&) const override { return 0; }
};
