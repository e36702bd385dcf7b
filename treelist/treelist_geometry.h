#pragma once
// TqlTreeListGeometry: where everything of a tree-list grid lies. The grid (its host) holds
// one and hands it every layout, scroll and hit-test question.
//
// What it keeps (its own state, nobody else writes it):
//   metrics      heights and widths measured from the fonts by the layout pass
//                (treelist_metrics.h); FullRowCount / PartRowCount follow the top node
//   left coord   pixels the scrollable bands are shifted left, 0..ScrollableWidth -
//                VisibleScrollWidth
//   frame        the layout frame kept between questions (layout_frame_cache.h): dropped by
//                DropFrame at the top of every layout pass, rebuilt lazily when next asked
//   pass flag    a layout pass is running (its scroll bar changes resize the window)
//
// What it reads: the host's public members only (layout properties, options, client size,
// window scroll bars, the update lock, the rows of the node store) and the model queries the
// host answers (treelist_model.h). It never sees a band, column or control object.
//
// Files:
//   treelist_layout.cpp   metrics, band and column widths, row heights, the layout frame and
//                         the rows on screen, node and cell rectangles
//   treelist_scroll.cpp   row counts, scroll ranges, the top row and the left coordinate
//   treelist_hittest.cpp  what lies under a point; edge predicates and sizing limits
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/core/types.h"
#include "treelist/layout_frame_cache.h"
#include "treelist/treelist_metrics.h"

class TCustomqlTreeList;
class TqlTreeListNode;
struct TqlLayoutSnapshot;
struct TqlColumnScrollSpan;
struct TqlRowHeightInfo;
struct TreeListHitInfo;

class TqlTreeListGeometry {
 public:
  explicit TqlTreeListGeometry(TCustomqlTreeList& host) : host_(host) {}
  TqlTreeListGeometry(const TqlTreeListGeometry&) = delete;
  TqlTreeListGeometry& operator=(const TqlTreeListGeometry&) = delete;

  // ===== the layout pass (treelist_layout.cpp) ============================================
  const TqlTreeListMetrics& Metrics() const { return metrics_; }
  // An explicit default row height, kept until the next pass decides on it.
  void SetUnitRowHeight(int value) { metrics_.UnitRowHeight = value; }
  // Measures the fonts and computes the metrics (the row counts are kept). Answers whether
  // the explicit default row height stays assigned.
  bool ComputeMetrics();
  // Drops the kept frame: whatever asks for a layout pass changed something it is made of.
  void DropFrame() { frameCache_.Invalidate(); }
  bool Recalculating() const { return recalculating_; }
  // Raises the pass flag for a scope (also when an exception leaves it).
  class PassScope {
   public:
    explicit PassScope(TqlTreeListGeometry& g) : g_(g) { g_.recalculating_ = true; }
    ~PassScope() { g_.recalculating_ = false; }
    PassScope(const PassScope&) = delete;
    PassScope& operator=(const PassScope&) = delete;

   private:
    TqlTreeListGeometry& g_;
  };

  // ===== the snapshot (treelist_layout.cpp) ===============================================
  std::shared_ptr<const TqlLayoutSnapshot> LayoutFrame() const;
  TqlLayoutSnapshot BuildLayoutSnapshot() const;

  // ===== widths and heights (treelist_layout.cpp) =========================================
  int TreeIndent(const TqlTreeListNode* node) const;
  int NodeRowHeight(TqlTreeListNode* node, bool useCache) const;
  // Row height of a node with a given unit row height, uncached.
  TqlRowHeightInfo ComputeRowHeight(TqlTreeListNode* node, int unitRowHeight) const;
  int BandDisplayWidth(int visibleBand) const;
  int BandMinimumWidth(int visibleBand) const;
  int TotalWidth() const;
  int ScrollableWidth() const;
  int VisibleScrollWidth() const;
  int ComputeColumnHeaderWidth(int column) const;
  TqlColumnScrollSpan ColumnScrollSpan(int column) const;
  TRect NodeRect(TqlTreeListNode* node) const;
  TRect CellRect(TqlTreeListNode* node, int column) const;
  TRect NodeAndBelowRect(TqlTreeListNode* node) const;

  // ===== scrolling (treelist_scroll.cpp) ==================================================
  int LeftCoord() const { return leftCoord_; }
  // Clamp, store, scroll bars, repaint, OnChangeLeftCoord (the host hides the editor first).
  void SetLeftCoord(int value);
  // Clamp to the last full page, move the top node, OnChangeTopVisibleNode, scroll bars,
  // repaint (the host hides the editor first).
  void SetTopRowIndex(int rowIndex);
  int LastPageTopRowIndex(int rowIndex) const;
  void UpdateScrollBars();  // ranges, pages and positions of both bars
  // The layout pass's scroll step: the bars, positions kept in range, bars that are not
  // needed dropped.
  void FitScrollBars();

  // ===== hit testing and sizing limits (treelist_hittest.cpp) =============================
  TreeListHitInfo GetHitInfo(TPoint clientPoint) const;
  bool BandWidthsFollowHeaders() const;
  bool ColumnEdgesReplaceBandEdges() const;
  bool CanSizeBandEdge(int visibleBand) const;
  bool CanSizeColumnEdge(int column) const;
  int BandSizingMinimum(int visibleBand) const;
  int BandSizingMaximum() const;
  int ColumnSizingMinimum(int column) const;
  int ColumnSizingMaximum(int column) const;
  int RowSizingMinimum(TqlTreeListNode* node) const;
  int RowSizingMaximum() const;
  int BandRowCountAt(int y) const;
  int HeaderPanelRowCountAt(int y) const;

 private:
  TqlLayoutSnapshot BuildLayoutFrame() const;             // uncached
  void AddLayoutRows(TqlLayoutSnapshot& snapshot) const;  // the rows on screen into a frame
  void ComputeRowCounts();  // FullRowCount and PartRowCount from the top node
  void KeepScrollPositionsInRange();
  void DropSuperfluousScrollBars();
  std::optional<TreeListHitInfo> hitTest(TPoint p, const TqlLayoutSnapshot& s,
                                         bool withRows) const;
  int rowsAreaHeight() const;  // the client less every panel above and below the rows

  TCustomqlTreeList& host_;
  TqlTreeListMetrics metrics_;
  int leftCoord_ = 0;            // pixels the scrollable bands are shifted left; >= 0
  bool recalculating_ = false;   // a layout pass is running (scroll bar changes resize)
  mutable TqlLayoutFrameCache frameCache_;  // valid for one client rect and left coordinate
};
