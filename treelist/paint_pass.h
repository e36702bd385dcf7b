#pragma once
// The state of one paint pass of the tree-list grid: the canvas, the layout snapshot, the
// grid's focus and the brushes made from its colours. Made at the start of a pass and
// released at its end (also when an event handler throws). Internal to the painting files
// (treelist_paint.cpp, treelist_paint_rows.cpp) and the layers that add painters.
#include <functional>
#include <optional>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/graphics.h"
#include "treelist/cell_view_data.h"
#include "treelist/treelist_layout.h"

class TCustomqlTreeList;
class TqlTreeListNode;

struct TqlPaintResources {
  TBrush BandBrush;
  TBrush HeaderBrush;
  TBrush GroupBrush;
  TBrush BackgroundBrush;     // the control's Color
  TColor FrameColor = 0;      // RGB(160, 160, 160) in lfUltraFlat, else clBtnShadow
  TBrush FrameBrush;
  TBrush HighlightBrush;
  TBrush TreeLineBrush;
  TBrush HideSelectionBrush;
  TBrush RowFooterBrush;
  TBrush FixedBandLineBrush;
  // One entry per header cell of the snapshot: the column's Color and, when it differs from
  // the control's Color (as RGB), a brush of it.
  struct ColumnColour {
    TColor Color = clWindow;
    bool HasOwnBrush = false;
    TBrush Brush;
  };
  std::vector<ColumnColour> HeaderCellColours;
  // Grown (never shrunk) to each cell drawn through it; freed with the pass.
  TBitmap Scratch;

  // The brush of a column colour entry: its own, else the background brush.
  const TBrush& ColumnBrush(int headerCell) const;
  // The cached level brush: made again when another colour is asked for.
  const TBrush& LevelBrush(TColor color);

 private:
  TBrush levelBrush_;
  TColor levelColor_ = 0xFFFFFFFFu;  // none yet
};

// A brush of one solid colour.
TBrush SolidBrush(TColor color);
// The RGB inverse of a colour (each of red, green and blue replaced by 255 minus itself).
TColor InverseColor(TColor color);

struct TqlPaintPass {
  TqlPaintPass(TCanvas& c, TqlLayoutSnapshot s) : Canvas(c), Layout(std::move(s)) {}
  TCanvas& Canvas;
  TqlLayoutSnapshot Layout;
  TqlPaintResources Res;
  bool GridFocused = false;  // the focus window is the control or inside it
  // The cell being painted, refilled for every cell (its pointers cleared after each); kept
  // here so the cell loop allocates its text buffers once per pass, not once per cell.
  TqlTreeListCellViewData CellView;
};

// Fills a pass's resources from the grid's colours and the snapshot's header cells.
void CreatePaintResources(const TCustomqlTreeList& grid, TqlPaintPass& pass);

// A rectangle that is there and meets the update region (the canvas's clip region).
inline bool IsPaintVisible(const TCanvas& canvas, const TRect& rect) {
  return !rect.IsEmpty() && canvas.RectVisible(rect);
}

// Keeps the clip region of a canvas for a scope; the other tools stay as the scope leaves
// them (a custom-draw handler's font change is meant to reach the drawing that follows).
class TqlClipScope {
 public:
  explicit TqlClipScope(TCanvas& canvas) : canvas_(canvas) {
    TRegion region;
    if (canvas.GetClipRgn(region)) saved_ = std::move(region);
  }
  ~TqlClipScope() { canvas_.SelectClipRgn(saved_ ? &*saved_ : nullptr); }
  TqlClipScope(const TqlClipScope&) = delete;
  TqlClipScope& operator=(const TqlClipScope&) = delete;

 private:
  TCanvas& canvas_;
  std::optional<TRegion> saved_;
};

// Keeps the canvas font for a scope (a custom-draw handler or a column font changes it).
class TqlFontScope {
 public:
  explicit TqlFontScope(TCanvas& canvas) : canvas_(canvas), saved_(canvas.Font) {}
  ~TqlFontScope() { canvas_.Font = saved_; }
  TqlFontScope(const TqlFontScope&) = delete;
  TqlFontScope& operator=(const TqlFontScope&) = delete;

 private:
  TCanvas& canvas_;
  TFont saved_;
};

// Ends node painting however the scope is left; a null node needs no end.
class TqlNodePaintScope {
 public:
  TqlNodePaintScope(std::function<void(TqlTreeListNode*)> end, TqlTreeListNode* node)
      : end_(std::move(end)), node_(node) {}
  ~TqlNodePaintScope() {
    if (node_) end_(node_);
  }
  TqlNodePaintScope(const TqlNodePaintScope&) = delete;
  TqlNodePaintScope& operator=(const TqlNodePaintScope&) = delete;

 private:
  std::function<void(TqlTreeListNode*)> end_;
  TqlTreeListNode* node_;
};
