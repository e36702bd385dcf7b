#pragma once
// TCustomqlTreeList: the tree-list grid's core, independent of any data source.
//
// Map of the folder (one concern per file pair; the core class is declared here and its
// members are implemented in the file of their concern):
//   treelist_types.h        looks, band fixing, sort states, the option word, MulDiv, exception
//   container / edit_style  the editor-hosting base control and the edit styles it hands out
//   hint_window             the small non-activating tooltip window
//   popup_frame             frame, shadow and region helpers of drop-down popups
//   treelist_node           TqlTreeListNode / TqlTreeListTextNode and their tree operations
//   visible_row_cache       the rows on display in order, with look-up by node address
//   treelist_nodes.cpp      the core's node storage: roots, detached nodes, focus and top
//                           node bookkeeping, the update lock
//   treelist_band           TqlTreeListBand / TqlTreeListBands
//   treelist_column         TqlTreeListColumn / TqlTreeListMaskColumn
//   treelist_edit_style     TqlTreeListEditStyle (unassigned values come from the grid)
//   header_layout_cache     which columns sit where in the header, cached per band and row
//   treelist_control        TCustomqlTreeListControl: owns bands and columns, answers the
//                           core's model queries
//   treelist_metrics        heights and widths measured from the fonts
//   width_sharing           proportional width shares of bands and of header cells
//   treelist_layout         the layout snapshot: areas, band cells, header cells, rows
//   treelist_scroll         scroll ranges, top row and left offset
//   treelist_hittest        what lies under a point; sizing limits
//
// Vocabulary:
//   node          one entry of the tree (TqlTreeListNode); a root has no parent
//   row           a node as it is shown: a node whose ancestors are all expanded
//   row index     a node's position among all shown rows (VisibleRows of the cache), from 0
//   screen row    an index into a layout snapshot's RowInfos (rows on screen from the top node)
//   band          a horizontal group of header columns; absolute index = position in Bands,
//                 visible index = position among visible bands
//   column        absolute index = position in the control's column list
//   header row    RowIndex: a line of header cells inside a band (0 = top)
//   ColIndex      a column's position among the visible columns of its band and header row
//   focus index   a column's position in the keyboard focus order
//
// The core never touches a band or column object: it asks the model queries below by index,
// and TCustomqlTreeListControl answers them.
//
// Call flow (what runs on the main events):
//   a model change  -> node / column setter -> NodeChanged or RequestLayout
//   RecalcLayout    -> metrics -> header layout cache -> scroll bars -> visible-row cache
//   paint, hit test -> BuildLayoutSnapshot (a plain value, discarded afterwards)
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/alignment.h"
#include "platform/core/variant.h"
#include "platform/gfx/graphics.h"
#include "platform/ui/control_types.h"
#include "treelist/container.h"
#include "treelist/treelist_metrics.h"
#include "treelist/treelist_types.h"
#include "treelist/visible_row_cache.h"

class TqlTreeListNode;
class TBitmap;
struct TqlLayoutSnapshot;
struct TqlRowHeightInfo;
struct TreeListHitInfo;
enum TreeListHitArea : uint8_t;

using TTLExpandedEvent = std::function<void(TObject* Sender, TqlTreeListNode* Node)>;
using TTLExpandingEvent =
    std::function<void(TObject* Sender, TqlTreeListNode* Node, bool& Allow)>;
using TTLChangeNodeEvent =
    std::function<void(TObject* Sender, TqlTreeListNode* OldNode, TqlTreeListNode* Node)>;
using TTLChangeColumnEvent =
    std::function<void(TObject* Sender, TqlTreeListNode* Node, int Column)>;

class TCustomqlTreeList : public TCustomqlContainer {
 public:
  explicit TCustomqlTreeList(TComponent* AOwner);
  ~TCustomqlTreeList() override;

  // ===== nodes (treelist_nodes.cpp) =========================================================
  TqlTreeListNode* Add();                              // a new root at the end
  TqlTreeListNode* Insert(TqlTreeListNode* beforeRoot);  // a new root before a given root
  // Frees every node (roots with their subtrees, then the detached list) under the update
  // lock; each node still raises OnDeletion. Destruction rule: a descendant whose overrides
  // or handlers are reached from node deletion calls Destroying() and ClearNodes() first in
  // its own destructor, while it is whole; the base destructor's call then finds nothing.
  void ClearNodes();
  int Count() const { return static_cast<int>(roots_.size()); }
  TqlTreeListNode* Items(int rootIndex) const;        // null when out of range
  const std::vector<TqlTreeListNode*>& Roots() const { return roots_; }
  // Nodes that belong to the control but stand outside the tree (the data layer parks them).
  std::vector<TqlTreeListNode*>& DetachedNodes() { return detached_; }

  TqlTreeListNode* TopNode() const { return topNode_; }
  TqlTreeListNode* FocusedNode() const { return focusedNode_; }
  TqlTreeListNode* FirstShownNode() const;  // first root
  TqlTreeListNode* LastShownNode() const;   // last root followed down through expanded last children
  TqlTreeListNode* NodeAtRowIndex(int rowIndex) const;
  int RowIndexOfNode(const TqlTreeListNode* node) const;  // -1 when not shown
  int ShownRowCount() const;                              // rows a full scroll shows
  // Tree order of two nodes: > 0 when a comes later, < 0 when earlier, 0 when equal.
  static int CompareTreeOrder(const TqlTreeListNode* a, const TqlTreeListNode* b);

  // The update lock: layout, scrolling and repainting wait until the last EndUpdate.
  void BeginUpdate();
  void EndUpdate();
  int LockUpdate() const { return lockUpdate_; }
  bool IsClearing() const { return clearing_; }

  const TqlVisibleRowCache& RowCache() const { return rowCache_; }
  // Test aid: verifies the node tree and the visible-row cache against a tree walk; throws
  // EInvalidqlTreeListOperation naming the first broken invariant.
  void CheckInvariants() const;

  // ===== focus (a minimal form here; the keyboard code builds on it) =======================
  // Moves the focus to node (or none) with the given focus index; raises OnChangeNode then
  // OnChangeColumn when they changed; makes the node visible when asked.
  virtual void SetFocusedNodeAndColumn(TqlTreeListNode* node, int focusIndex, bool makeVisible);
  int FocusedColumn() const { return focusIndex_; }
  void SetTopNode(TqlTreeListNode* node);  // scroll so that node is the first row
  virtual bool IsNodeSelected(const TqlTreeListNode* node) const;
  virtual void SetNodeSelected(TqlTreeListNode* node, bool selected);
  virtual int SelectedCount() const;

  // ===== options =============================================================================
  TqlTreeListOptions Options() const { return options_; }
  void SetOptions(TqlTreeListOptions value);
  // Every behaviour test reads a flag through this; descendants may answer differently.
  virtual bool IsOption(TqlTreeListOption option) const { return options_.contains(option); }

  // ===== layout properties (treelist_layout.cpp) =============================================
  bool ShowBands() const { return showBands_; }
  void SetShowBands(bool value);
  bool ShowHeader() const { return showHeader_; }
  void SetShowHeader(bool value);
  int BandRowCount() const { return bandRowCount_; }
  virtual void SetBandRowCount(int value);
  int HeaderMinRowCount() const { return headerMinRowCount_; }
  void SetHeaderMinRowCount(int value);
  int DefaultRowHeight() const { return metrics_.UnitRowHeight; }
  void SetDefaultRowHeight(int value);
  bool DefaultRowHeightAssigned() const { return defaultRowHeightAssigned_; }
  int RowSeparatorLineWidth() const { return rowSeparatorLineWidth_; }
  void SetRowSeparatorLineWidth(int value);
  int MaxRowLineCount() const { return maxRowLineCount_; }
  void SetMaxRowLineCount(int value);
  int PreviewLines() const { return previewLines_; }
  void SetPreviewLines(int value);
  int IndentDesc() const { return indentDesc_; }
  void SetIndentDesc(int value);
  int GrIndicatorWidth() const { return grIndicatorWidth_; }
  void SetGrIndicatorWidth(int value);
  int FixedBandLineWidth() const { return fixedBandLineWidth_; }
  void SetFixedBandLineWidth(int value);
  bool ShowGrid() const { return showGrid_; }
  void SetShowGrid(bool value);
  bool ShowPreviewGrid() const { return showPreviewGrid_; }
  void SetShowPreviewGrid(bool value);
  bool ShowNewItemRow() const { return showNewItemRow_; }
  void SetShowNewItemRow(bool value);
  bool ShowRowFooter() const { return showRowFooter_; }
  void SetShowRowFooter(bool value);
  bool ShowIndicator() const { return IsOption(tloIndicator); }
  void SetShowIndicator(bool value);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle value);
  TqlLookAndFeel LookAndFeel() const { return lookAndFeel_; }
  void SetLookAndFeel(TqlLookAndFeel value);
  TqlPaintStyle PaintStyle() const { return paintStyle_; }
  void SetPaintStyle(TqlPaintStyle value);
  TFont& BandFont() { return bandFont_; }
  TFont& HeaderFont() { return headerFont_; }
  TFont& PreviewFont() { return previewFont_; }
  const TFont& BandFont() const { return bandFont_; }
  const TFont& HeaderFont() const { return headerFont_; }
  const TFont& PreviewFont() const { return previewFont_; }

  // ===== layout (treelist_layout.cpp, treelist_scroll.cpp) ==================================
  const TqlTreeListMetrics& Metrics() const { return metrics_; }
  // Recomputes metrics, caches and scroll bars and repaints; dropped while the update lock is
  // held (ending the lock asks again) and while loading.
  void RecalcLayout();
  // Built afresh for every paint, hit test and placement question.
  TqlLayoutSnapshot BuildLayoutSnapshot() const;
  int LeftCoord() const { return leftCoord_; }
  void SetLeftCoord(int value);
  void SetTopRowIndex(int rowIndex);
  int TopRowIndex() const { return RowIndexOfNode(topNode_); }
  int NodeRowHeight(TqlTreeListNode* node, bool useCache = true) const;
  int TreeIndent(const TqlTreeListNode* node) const;  // width left of the first column's text
  int BandDisplayWidth(int visibleBand) const;
  // Narrowest a visible band may get: Sizing ? MinWidth : Width, raised to its columns' minimums.
  int BandMinimumWidth(int visibleBand) const;
  int TotalWidth() const;
  int ScrollableWidth() const;
  int VisibleScrollWidth() const;
  // Width a column gets in the header (band 0's first column includes the group indent).
  int ComputeColumnHeaderWidth(int column) const;
  TRect NodeRect(TqlTreeListNode* node) const;
  TRect CellRect(TqlTreeListNode* node, int column) const;
  TRect NodeAndBelowRect(TqlTreeListNode* node) const;
  int LastPageTopRowIndex(int rowIndex) const;

  // ===== hit testing (treelist_hittest.cpp) ==================================================
  TreeListHitInfo GetHitInfo(TPoint clientPoint) const;
  TreeListHitArea GetHitArea(TPoint clientPoint) const;      // GetHitInfo's area only
  TqlTreeListNode* GetNodeAt(TPoint clientPoint) const;      // GetHitInfo's node only
  // Band widths follow their headers: tloBandHeaderWidth or the control's DefaultLayout.
  bool BandWidthsFollowHeaders() const;
  // The edge between two bands acts as the last column's edge (widths follow headers and the
  // band panel is hidden).
  bool ColumnEdgesReplaceBandEdges() const;
  bool CanSizeBandEdge(int visibleBand) const;
  bool CanSizeColumnEdge(int column) const;
  // Sizing limits: where a dragged edge may go (client x or y).
  int BandSizingMinimum(int visibleBand) const;
  int BandSizingMaximum() const;
  int ColumnSizingMinimum(int column) const;
  int ColumnSizingMaximum(int column) const;
  int RowSizingMinimum(TqlTreeListNode* node) const;  // node must be on screen, else -1
  int RowSizingMaximum() const;
  int BandRowCountAt(int y) const;         // BandRowCount whose panel bottom is nearest to y
  int HeaderPanelRowCountAt(int y) const;  // HeaderPanelRowCount the dragged line snaps to

  // ===== events ==============================================================================
  TTLExpandedEvent OnDeletion;
  TTLExpandingEvent OnExpanding;
  TTLExpandingEvent OnCollapsing;
  TTLExpandedEvent OnExpanded;
  TTLExpandedEvent OnCollapsed;
  TTLChangeNodeEvent OnChangeNode;
  TTLChangeColumnEvent OnChangeColumn;
  TNotifyEvent OnChangeTopVisibleNode;
  TNotifyEvent OnChangeLeftCoord;
  TNotifyEvent OnSelectedCountChange;

  // ===== model queries: the core asks, the column layer answers ============================
  // Indexes are absolute unless the name says visible. Out-of-range indexes answer 0, -1 or
  // empty; none of these raises.
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
  virtual std::string GetColumnHeaderCaption(int column) const = 0;  // empty with DisableCaption
  virtual std::string GetColumnCaption(int column) const = 0;
  virtual int GetColumnWidth(int column) const = 0;
  virtual TColor GetColumnColor(int column) const = 0;
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
  // Per-node questions.
  virtual bool NodeDefaultExpandable(const TqlTreeListNode* node) const;  // has children
  virtual int GetNodeImageIndex(const TqlTreeListNode* node) const;
  virtual int GetNodeSelectedIndex(const TqlTreeListNode* node) const;
  virtual int GetNodeStateIndex(const TqlTreeListNode* node) const;
  virtual std::string GetCellText(const TqlTreeListNode* node, int column) const;
  virtual Variant GetCellValue(const TqlTreeListNode* node, int column) const;
  // Rows of the data-aware grid that are group rows / how many row footers a node carries.
  virtual bool IsGroupRow(const TqlTreeListNode* node) const { return false; }
  // Indicator glyph of a row (TqlRowInfo::IndicatorKind): none in the core.
  virtual int GetIndicatorKind(const TqlTreeListNode* node) const { return 0; }
  // Text line count of a cell for auto-height rows; the application may answer instead.
  virtual std::string GetPreviewText(const TqlTreeListNode* node) const { return {}; }
  // Heights the data-aware grid answers (0 in the core).
  virtual int GetGroupAreaHeight() const { return 0; }
  virtual bool FooterPanelShown() const { return false; }
  virtual bool StatusPanelShown() const { return false; }

 protected:
  friend class TqlTreeListNode;

  // Node factory: the control picks the node class.
  virtual TqlTreeListNode* CreateNode();
  // Node bookkeeping called by TqlTreeListNode (treelist_nodes.cpp).
  void NodeAdded(TqlTreeListNode* node);
  struct DeletedNodeInfo {
    TqlTreeListNode* prevSiblingOrParent = nullptr;
    TqlTreeListNode* nextVisible = nullptr;
    bool wasLast = false;
    bool wasShown = false;
  };
  void NodeDeleted(TqlTreeListNode* node, const DeletedNodeInfo& info);
  // A structural change recomputes scroll ranges and repaints from the node's row down; an
  // appearance change repaints only its row. Nothing while locked, destroying or not shown.
  void NodeChanged(TqlTreeListNode* node, bool structural);
  // Drops the row cache, forgets the focused column's absolute index and resets the nodes'
  // CachedHeight (skipped while locked when the cache was already dropped: nothing laid out).
  void ClearRowCache();
  void RebuildRowCache();
  // The row cache follows the tree in place while nothing holds it back (no update lock, not
  // loading, not destroying); otherwise a change drops it and the next layout rebuilds it.
  // Called before node's shown descendants (and node itself when withNode) stop being shown.
  void NodeRowsRemoving(TqlTreeListNode* node, bool withNode);
  // Called after node was expanded: its shown descendants join the rows.
  void NodeRowsInserted(TqlTreeListNode* node);
  // The data layer keeps the selected set; the core has none to clear.
  virtual void ClearSelection() {}
  // Hooks of later layers.
  // RecalcLayout calls this after the metrics: the column layer drops and refills its header
  // layout cache (header widths depend on band widths, which depend on the client width).
  virtual void RebuildHeaderLayout() {}
  virtual void CancelEditor() {}
  virtual void EndMouseTracking() {}
  virtual void HideEditor() {}

  void Loaded() override;
  void Resize() override;
  void CMFontChanged() override;

  // Layout state (treelist_layout.cpp).
  TqlTreeListMetrics metrics_;
  int leftCoord_ = 0;  // pixels the scrollable bands are shifted left; >= 0
  bool recalculating_ = false;  // RecalcLayout is running (scroll bar changes resize)
  // Row height of a node with a given unit row height, uncached (treelist_layout.cpp).
  TqlRowHeightInfo ComputeRowHeight(TqlTreeListNode* node, int unitRowHeight) const;
  // Scroll bookkeeping (treelist_scroll.cpp).
  void ComputeRowCounts();         // FullRowCount and PartRowCount from the top node
  void UpdateScrollBars();         // ranges, pages and positions of both bars
  void KeepScrollPositionsInRange();
  void DropSuperfluousScrollBars();

 private:
  void requestLayoutIfUnlocked();
  bool keepsRowCache() const { return lockUpdate_ == 0 && !IsLoading() && !IsDestroying(); }
  bool rowCacheUsable() const { return rowCache_.IsValid() && !IsDestroying(); }
  // In the tree (not parked in the detached list) with every ancestor expanded.
  bool isShown(const TqlTreeListNode* node) const;
  // After a change of many rows at once: rebuild the cache when it can be kept, else drop it.
  void rowsRestructured();
  void resetCachedHeights();
  // A top node hidden by a refused expansion gives way to its nearest shown ancestor.
  void keepTopShown();

  // --- node storage ---
  std::vector<TqlTreeListNode*> roots_;     // owning; display order
  std::vector<TqlTreeListNode*> detached_;  // owning; outside the tree
  TqlTreeListNode* topNode_ = nullptr;      // first row on screen; null only without roots
  TqlTreeListNode* focusedNode_ = nullptr;  // null only without roots or before first focus
  TqlTreeListNode* oldFocusedNode_ = nullptr;
  TqlTreeListNode* selectionAnchor_ = nullptr;
  TqlTreeListNode* dragNode_ = nullptr;
  TqlTreeListNode* hotTrackNode_ = nullptr;
  TqlTreeListNode* editorNode_ = nullptr;
  int focusIndex_ = 0;               // focused column in focus order; -1 or past the end reads 0
  mutable int focusedAbsoluteColumn_ = -1;  // cache of focusIndex_ as a column index; -1 = stale
  TqlVisibleRowCache rowCache_;
  int lockUpdate_ = 0;               // >= 0; layout work waits while > 0
  int selectedCountAtLock_ = 0;
  bool clearing_ = false;            // true while ClearNodes frees everything

  // --- options and layout properties ---
  TqlTreeListOptions options_ = kDefaultTreeListOptions;
  bool showBands_ = false;
  bool showHeader_ = true;
  int bandRowCount_ = 1;
  int headerMinRowCount_ = 1;        // >= 1
  bool defaultRowHeightAssigned_ = false;
  int rowSeparatorLineWidth_ = 1;    // >= 1
  int maxRowLineCount_ = -1;         // >= -1; -1 = unlimited
  int previewLines_ = 2;             // >= -1
  int indentDesc_ = 20;              // >= 0
  int grIndicatorWidth_ = 12;
  int fixedBandLineWidth_ = 2;       // >= 1
  bool showGrid_ = true;
  bool showPreviewGrid_ = true;
  bool showNewItemRow_ = false;
  bool showRowFooter_ = false;
  TScrollStyle scrollBars_ = ssBoth;
  TqlLookAndFeel lookAndFeel_ = lfStandard;
  TqlPaintStyle paintStyle_ = TqlPaintStyle::Tree;
  TFont bandFont_, headerFont_, previewFont_;
};

// Holds the update lock for a scope (also when an exception leaves it).
class TqlTreeListUpdateLock {
 public:
  explicit TqlTreeListUpdateLock(TCustomqlTreeList& t) : t_(t) { t_.BeginUpdate(); }
  ~TqlTreeListUpdateLock() { t_.EndUpdate(); }
  TqlTreeListUpdateLock(const TqlTreeListUpdateLock&) = delete;
  TqlTreeListUpdateLock& operator=(const TqlTreeListUpdateLock&) = delete;

 private:
  TCustomqlTreeList& t_;
};
