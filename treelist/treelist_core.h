#pragma once
// TCustomqlTreeList: the tree-list grid's core, independent of any data source.
//
// Map of the folder. The core is a host and four collaborators, each a class with its own
// state; the host (TCustomqlTreeList, declared here) keeps the public API, the properties and
// the events, owns the collaborators and forwards to them. The collaborators reach the grid
// only through its public members; the include table in tests/platform/confinement_test.cpp
// keeps each one's headers out of the others' files.
//   types and records
//     treelist_types.h        looks, band fixing, sort states, option word, painting and
//                             indicator kinds, MulDiv, the exception
//     interaction_state.h     the interaction state and what input leaves for painting
//     press_record.h          what the mouse keeps between presses; the hot-track record
//     treelist_requests.h     band and column changes the input side asks the control for
//     custom_draw.h           the arguments of the custom-draw chains
//     cell_view_data.h        one data cell as handed to its column's editor class
//   editor hosting (the base the in-place editors use)
//     container / edit_style  the editor-hosting base control and the edit styles it hands out
//     hint_window             the small non-activating tooltip window
//     popup_frame             frame, shadow and region helpers of drop-down popups
//     edit_view_data          the editor classes' view records and their painting
//   the host (TCustomqlTreeList)
//     treelist_core.cpp       construction, options and framework hooks
//     treelist_nodes.cpp      making nodes; focus and top-node bookkeeping around the node
//                             store's changes; the update lock; the invariant check
//     treelist_layout_properties.cpp  layout properties, the layout pass's order of work
//                             (RecalcLayout) and the geometry's questions
//     treelist_input_host.cpp the mouse overrides handed to the input side; the mouse hooks
//     treelist_paint_questions.cpp  the ways into a paint pass; the painting questions
//     treelist_keys.cpp       key down, key press, the keys the grid asks for, scroll messages
//     treelist_focus.cpp      focus moves, row steps, page moves, column into view, the
//                             selection lock, focus in and out
//     treelist_search.cpp     incremental search: the walk, the match, the focus move
//     treelist_sort.cpp       sorting node lists: one sort record per node, the comparison,
//                             the quicksort
//     treelist_rows_text.cpp  rows as text and the clipboard
//   the model (bands and columns; only these files and the control see the objects)
//     treelist_model          TqlTreeListModel: the questions about bands and columns by index
//                             (Model()); the empty model of a grid without a control
//     treelist_band           TqlTreeListBand / TqlTreeListBands
//     treelist_column         TqlTreeListColumn / TqlTreeListMaskColumn
//     treelist_edit_style     TqlTreeListEditStyle (unassigned values come from the grid)
//     header_layout_cache     which columns sit where in the header, cached per band and row
//     treelist_control        TCustomqlTreeListControl: owns bands and columns, is the model,
//                             applies the input side's requests; treelist_control_queries.cpp
//                             answers the model queries, treelist_control_paint.cpp the
//                             painting ones, treelist_control_sort.cpp the sorted-columns list
//                             and the header-click rule
//   collaborator: the node store (TqlTreeListNodeStore)
//     node_store              roots, detached nodes, the update lock's count, the row cache's
//                             upkeep, the shown-row questions
//     treelist_node           TqlTreeListNode / TqlTreeListTextNode and their tree operations
//     node_pool               the block allocator nodes are carved from
//     visible_row_cache       the rows on display in order, with look-up by node address
//   collaborator: the geometry (TqlTreeListGeometry, treelist_geometry.h)
//     treelist_metrics        heights and widths measured from the fonts
//     width_sharing           proportional width shares of bands and of header cells
//     treelist_layout         the snapshot's records; metrics, widths, row heights, the layout
//                             frame and the rows on screen, node and cell rectangles
//     layout_frame_cache.h    the frame kept between questions, dropped by a layout pass
//     treelist_scroll.cpp     row counts, scroll ranges, the top row and the left coordinate
//     treelist_hittest        what lies under a point; edge predicates and sizing limits
//   collaborator: the input side (TqlTreeListInput, treelist_input.h)
//     treelist_mouse.cpp      pressing and releasing, header and corner buttons, row
//                             scrolling while pressed, the timers
//     treelist_sizing.cpp     sizing lines of bands, columns, panels and rows; their requests
//     treelist_hot_track.cpp  hot tracking and the filter status panel's close hint
//     treelist_best_width.cpp best widths of columns (a request per column)
//     header_drop_target      where a dragged column or band header would land; the arrows
//     anchor_scroll           anchor scrolling's direction, speed and line ticks
//   collaborator: the painter (TqlTreeListPainter, treelist_painter.h)
//     paint_pass              one pass's state: canvas, snapshot, brushes, the cell scratch
//     paint_primitives        frames, header content, text output, focus frames, tree glyphs
//     drop_arrows             the drop arrows of a header drag as a picture
//     anchor_picture          the anchor of anchor scrolling as a picture, and its shape
//     treelist_paint.cpp      the pass and the panels around the rows
//     treelist_paint_text_cell.cpp  text cells (footer, new item row, group rows), cell views
//     rows_painter.h          TqlRowsPainter: the rows painter's working state for one pass
//     treelist_paint_rows.cpp the rows: tree area, preview, row footers, grid lines, focus
//                             frames, the new item row; treelist_paint_cells.cpp one cell
//   gallery/                  the tree-list gallery program (features the search window lacks)
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
//   frame         the part of the layout without the rows: areas, band cells, header cells
//
// The core never touches a band or column object: it asks Model() by index and asks for
// changes through ApplyRequest; TCustomqlTreeListControl answers both.
//
// Call flow (what runs on the main events):
//   a model change  -> column / band setter -> the control's ColumnChanged / BandsChanged ->
//                      RecalcLayout (waits for the update lock's release)
//   RecalcLayout    -> geometry: frame dropped, metrics -> node store: row cache dropped ->
//                      header layout cache -> row cache rebuilt -> geometry: scroll bars ->
//                      Invalidate
//   paint           -> Paint -> painter: BuildLayoutSnapshot (the geometry's kept frame + the
//                      rows) -> brushes -> group, band, header panels, new item row,
//                      indicator, footer, status -> TqlRowsPainter (two passes per row, grid
//                      lines in one call); cell texts and custom draw asked of the grid
//   mouse move      -> input side -> GetHitInfo (geometry: the frame; the rows only below the
//                      header panels) -> sizing / pressed header / drag -> pushed elements ->
//                      hot tracking -> invalidated cells
//   click           -> MouseDown -> input side -> GetHitInfo -> header: pressed state,
//                      release -> ColumnHeaderClick (the control sorts); row:
//                      SetFocusedNodeAndColumn, selection; edge: sizing -> ApplyRequest
//   key down        -> selection lock -> OnKeyDown -> HandleKeyDown: key table -> RowStep /
//                      PageMove / SetFocusedColumn -> SetFocusedNodeAndColumn ->
//                      MakeColumnVisible, OnChangeNode, OnChangeColumn -> repaint of the rows
//   search reload   (data-aware grid) -> update lock -> ClearNodes (node store: DeleteAll),
//                      Add per record -> SortNodes -> EndUpdate -> RecalcLayout -> repaint
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/alignment.h"
#include "platform/core/variant.h"
#include "platform/gfx/graphics.h"
#include "platform/ui/control_types.h"
#include "treelist/cell_view_data.h"
#include "treelist/container.h"
#include "treelist/custom_draw.h"
#include "treelist/header_drop_target.h"
#include "treelist/interaction_state.h"
#include "treelist/press_record.h"
#include "treelist/treelist_geometry.h"
#include "treelist/treelist_hittest.h"
#include "treelist/treelist_input.h"
#include "treelist/treelist_metrics.h"
#include "treelist/treelist_model.h"
#include "treelist/treelist_painter.h"
#include "treelist/treelist_types.h"
#include "treelist/node_store.h"
#include "treelist/visible_row_cache.h"

class TqlTreeListNode;
class TBitmap;
struct TqlLayoutSnapshot;
struct TqlColumnScrollSpan;
struct TqlPaintPass;
struct TqlCellEditorSettings;
class TqlTreeListBand;
class TqlTreeListColumn;
struct TqlRowHeightInfo;
struct TreeListHitInfo;
struct TqlTreeListRequest;
enum TreeListHitArea : uint8_t;

using TTLExpandedEvent = std::function<void(TObject* Sender, TqlTreeListNode* Node)>;
using TTLExpandingEvent =
    std::function<void(TObject* Sender, TqlTreeListNode* Node, bool& Allow)>;
using TTLChangeNodeEvent =
    std::function<void(TObject* Sender, TqlTreeListNode* OldNode, TqlTreeListNode* Node)>;
using TTLChangeColumnEvent =
    std::function<void(TObject* Sender, TqlTreeListNode* Node, int Column)>;
// Compare: < 0 when Node1 comes first, > 0 when Node2 does; starts at 0.
using TqlTLCompareEvent = std::function<void(TObject* Sender, TqlTreeListNode* Node1,
                                             TqlTreeListNode* Node2, int& Compare)>;

// Where an incremental search starts: at the focused row going forward (the row itself is
// tested first), at the row before it going backward, or at the row after it going forward.
enum class TqlSearchMode { FromFocused = 0, Previous = 1, Next = 2 };

using TqlTLBandClickEvent = std::function<void(TObject* Sender, TqlTreeListBand* Band)>;
using TqlTLCanBandDraggingEvent =
    std::function<void(TObject* Sender, TqlTreeListBand* ABand, bool& Allow)>;
using TqlTLCanHeaderDraggingEvent =
    std::function<void(TObject* Sender, TqlTreeListColumn* AColumn, bool& Allow)>;
// Header moving: the dragged column or band, the mouse in client coordinates.
using TqlTLColumnNotifyEvent = std::function<void(TObject* Sender, TqlTreeListColumn* Column)>;
using TqlTLBandNotifyEvent = std::function<void(TObject* Sender, TqlTreeListBand* Band)>;
using TqlTLDragOverHeaderEvent =
    std::function<void(TObject* Sender, TqlTreeListColumn* AColumn, TPoint P, bool& Accept)>;
using TqlTLDragEndHeaderEvent =
    std::function<void(TObject* Sender, TqlTreeListColumn* AColumn, TPoint P,
                       const TqlHeaderPosInfo& NewPosInfo, bool& Accept)>;
// FromIndex: the column's ColIndex before the drop; ToIndex: its place after it.
using TTLColumnMovedEvent = std::function<void(TObject* Sender, int FromIndex, int ToIndex)>;
using TqlTLDragOverBandEvent =
    std::function<void(TObject* Sender, TqlTreeListBand* ABand, TPoint P, bool& Accept)>;
// NewIndex: the visible index after the drop (VisibleIndex for no move, -1 outside the band
// panel).
using TqlTLDragEndBandEvent = std::function<void(TObject* Sender, TqlTreeListBand* ABand,
                                                 TPoint P, int AbsoluteIndex, int VisibleIndex,
                                                 int NewIndex, bool& Accept)>;
// Node drag-and-drop: the node a drag starts from; the text of its drag image (Column absolute).
using TqlTLBeginDragNodeEvent = std::function<void(TObject* Sender, TqlTreeListNode* Node)>;
using TqlTLGetNodeDragTextEvent =
    std::function<void(TObject* Sender, TqlTreeListNode* Node, int Column, std::string& AText)>;
using TqlTLHotTrackNodeEvent = std::function<void(
    TObject* Sender, const TqlTreeListHotTrackInfo& AHotTrackInfo, TCursor& ACursor)>;

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
  int Count() const { return static_cast<int>(nodes_.Roots().size()); }
  TqlTreeListNode* Items(int rootIndex) const;        // null when out of range
  const std::vector<TqlTreeListNode*>& Roots() const { return nodes_.Roots(); }
  // Nodes that belong to the control but stand outside the tree (the data layer parks them).
  std::vector<TqlTreeListNode*>& DetachedNodes() { return nodes_.Detached(); }
  // Decides at once which top-level nodes the tree shows: the roots become `shown` in that
  // order and the detached list `hidden`. Together they hold exactly the roots and detached
  // nodes of before. A node that leaves the tree drops its roles: selection, top row (the
  // first shown node takes it) and focus (none: the caller focuses another node).
  void ReplaceTopLevelNodes(std::vector<TqlTreeListNode*> shown,
                            std::vector<TqlTreeListNode*> hidden);

  TqlTreeListNode* TopNode() const { return topNode_; }
  TqlTreeListNode* FocusedNode() const { return focusedNode_; }
  // The shown-row questions of the node store (node_store.h).
  TqlTreeListNode* FirstShownNode() const { return nodes_.FirstShownNode(); }
  TqlTreeListNode* LastShownNode() const { return nodes_.LastShownNode(); }
  TqlTreeListNode* NodeAtRowIndex(int rowIndex) const { return nodes_.NodeAtRowIndex(rowIndex); }
  int RowIndexOfNode(const TqlTreeListNode* node) const { return nodes_.RowIndexOfNode(node); }
  int ShownRowCount() const { return nodes_.ShownRowCount(); }  // rows a full scroll shows
  // Tree order of two nodes: > 0 when a comes later, < 0 when earlier, 0 when equal.
  static int CompareTreeOrder(const TqlTreeListNode* a, const TqlTreeListNode* b);

  // The update lock: layout, scrolling and repainting wait until the last EndUpdate.
  void BeginUpdate();
  void EndUpdate();
  int LockUpdate() const { return nodes_.LockCount(); }
  bool IsClearing() const { return nodes_.Clearing(); }

  const TqlVisibleRowCache& RowCache() const { return nodes_.RowCache(); }
  // Test aid: verifies the node tree and the visible-row cache against a tree walk; throws
  // EInvalidqlTreeListOperation naming the first broken invariant.
  void CheckInvariants() const;

  // ===== keyboard, focus and selection (treelist_keys.cpp, treelist_focus.cpp,
  //       treelist_rows_text.cpp) ============================================================
  TqlTreeListState State() const { return state_; }
  // Focus order: header row 0 of every visible band (bands left to right, columns by
  // ColIndex), then header row 1 of every band that has one, and so on.
  std::vector<int> FocusOrderColumns() const;      // absolute column indexes
  int FocusColumnCount() const;
  int FocusIndexToAbsolute(int focusIndex) const;  // -1 when out of range
  int AbsoluteToFocusIndex(int column) const;      // 0 for a column not in the order
  // Every focus move goes through this: a null node is ignored; raises OnChangeNode, then
  // OnChangeColumn, when they changed; makes the node visible when asked.
  virtual void SetFocusedNodeAndColumn(TqlTreeListNode* node, int focusIndex, bool makeVisible);
  // The focus index as it reads: 0 with tloRowSelect and for -1 or an index past the end.
  int FocusedColumn() const;
  int FocusedAbsoluteColumn() const;  // -1 when no column is visible
  void SetFocusedColumn(int focusIndex);  // ignored when equal or out of range
  int FocusedRowIndex() const { return RowIndexOfNode(focusedNode_); }
  void SetFocusedRowIndex(int rowIndex);  // clamped to the shown rows
  void SetTopNode(TqlTreeListNode* node);  // scroll so that node is the first row
  // Without tloMultiSelect the focused node is the selection; with it the data layer keeps
  // the selected set and answers these.
  virtual bool IsNodeSelected(const TqlTreeListNode* node) const;
  virtual void SetNodeSelected(TqlTreeListNode* node, bool selected);
  virtual int SelectedCount() const;
  virtual std::vector<TqlTreeListNode*> GetSelectedNodes() const;  // any order
  TqlTreeListNode* SelectionAnchor() const { return selectionAnchor_; }
  // The selection lock (prefer TqlSelectionLock): releasing the last one raises
  // OnSelectedCountChange when the count differs from the one at the first.
  void BeginSelection();
  void EndSelection(bool notify = true);  // notify false: released while unwinding
  // Rows as text: a caption line ending with CR LF (so the text has an empty line after it),
  // then one line per row, cells in focus order separated by tabs.
  virtual void GetAllRowsText(std::vector<std::string>& lines) const;
  virtual void GetSelectedRowsText(std::vector<std::string>& lines) const;
  static std::string LinesToText(const std::vector<std::string>& lines);  // CR LF after each
  void CopySelectedToClipboard();
  virtual std::string GetGroupRowText(const TqlTreeListNode* node) const { return {}; }
  // Tab belongs to the grid with tloTabs while Ctrl is up.
  bool HandlesTab() const override;

  // ===== options =============================================================================
  TqlTreeListOptions Options() const { return options_; }
  void SetOptions(TqlTreeListOptions value);
  // Every behaviour test reads a flag through this; descendants may answer differently.
  virtual bool IsOption(TqlTreeListOption option) const { return options_.contains(option); }

  // ===== layout properties (treelist_layout_properties.cpp) ==================================
  bool ShowBands() const { return showBands_; }
  void SetShowBands(bool value);
  bool ShowHeader() const { return showHeader_; }
  void SetShowHeader(bool value);
  int BandRowCount() const { return bandRowCount_; }
  virtual void SetBandRowCount(int value);
  int HeaderMinRowCount() const { return headerMinRowCount_; }
  void SetHeaderMinRowCount(int value);
  int DefaultRowHeight() const { return geometry_.Metrics().UnitRowHeight; }
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

  // ===== layout (TqlTreeListGeometry: treelist_layout.cpp, treelist_scroll.cpp; the core's
  //       side in treelist_layout_properties.cpp) ==============================================
  const TqlTreeListMetrics& Metrics() const { return geometry_.Metrics(); }
  // Recomputes metrics, caches and scroll bars and repaints; dropped while the update lock is
  // held (ending the lock asks again) and while loading.
  void RecalcLayout();
  // The frame of the layout (areas, band and header cells), kept between questions and
  // rebuilt lazily after a change (layout_frame_cache.h).
  std::shared_ptr<const TqlLayoutSnapshot> LayoutFrame() const { return geometry_.LayoutFrame(); }
  // The frame plus the rows on screen, built for every paint and every question about rows.
  TqlLayoutSnapshot BuildLayoutSnapshot() const;
  int LeftCoord() const { return geometry_.LeftCoord(); }
  void SetLeftCoord(int value);
  void SetTopRowIndex(int rowIndex);
  int TopRowIndex() const { return RowIndexOfNode(topNode_); }
  int NodeRowHeight(TqlTreeListNode* node, bool useCache = true) const {
    return geometry_.NodeRowHeight(node, useCache);
  }
  // Row height of a node with a given unit row height, uncached.
  TqlRowHeightInfo ComputeRowHeight(TqlTreeListNode* node, int unitRowHeight) const;
  // Width left of the first column's text.
  int TreeIndent(const TqlTreeListNode* node) const { return geometry_.TreeIndent(node); }
  int BandDisplayWidth(int visibleBand) const;
  // Narrowest a visible band may get: Sizing ? MinWidth : Width, raised to its columns' minimums.
  int BandMinimumWidth(int visibleBand) const;
  int TotalWidth() const;
  int ScrollableWidth() const;
  int VisibleScrollWidth() const;
  // Width a column gets in the header (band 0's first column includes the group indent).
  int ComputeColumnHeaderWidth(int column) const;
  // Where a column's header cell lies among the scrollable bands, in pixels from their left
  // edge with nothing scrolled: known for every shown column, on screen or not.
  TqlColumnScrollSpan ColumnScrollSpan(int column) const;
  TRect NodeRect(TqlTreeListNode* node) const;
  TRect CellRect(TqlTreeListNode* node, int column) const;
  TRect NodeAndBelowRect(TqlTreeListNode* node) const;
  int LastPageTopRowIndex(int rowIndex) const;
  void UpdateScrollBars();  // ranges, pages and positions of both bars
  // Stores the first row on screen as it is: no clamping, scroll bars, repaint or event (the
  // geometry's scroll bookkeeping, which does those itself, calls it).
  void PlaceTopNode(TqlTreeListNode* node) { topNode_ = node; }

  // ===== hit testing (TqlTreeListGeometry: treelist_hittest.cpp) ==============================
  TreeListHitInfo GetHitInfo(TPoint clientPoint) const { return geometry_.GetHitInfo(clientPoint); }
  // GetHitInfo's area only / node only.
  TreeListHitArea GetHitArea(TPoint clientPoint) const { return GetHitInfo(clientPoint).Area; }
  TqlTreeListNode* GetNodeAt(TPoint clientPoint) const { return GetHitInfo(clientPoint).Node; }
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

  // ===== painting (TqlTreeListPainter, treelist_painter.h; colours, switches and the core's
  //       answers in treelist_paint_questions.cpp) ==========================================
  // Colours of the picture; clNone where a colour follows another (see each getter's use).
  TColor BandColor() const { return bandColor_; }
  void SetBandColor(TColor value) { SetAndInvalidate(bandColor_, value); }
  TColor HeaderColor() const { return headerColor_; }
  void SetHeaderColor(TColor value) { SetAndInvalidate(headerColor_, value); }
  TColor GroupNodeColor() const { return groupNodeColor_; }
  void SetGroupNodeColor(TColor value) { SetAndInvalidate(groupNodeColor_, value); }
  TColor GroupNodeTextColor() const { return groupNodeTextColor_; }  // clNone: Font.Color
  void SetGroupNodeTextColor(TColor value) { SetAndInvalidate(groupNodeTextColor_, value); }
  TColor HighlightColor() const { return highlightColor_; }
  void SetHighlightColor(TColor value) { SetAndInvalidate(highlightColor_, value); }
  TColor HighlightTextColor() const { return highlightTextColor_; }
  void SetHighlightTextColor(TColor value) { SetAndInvalidate(highlightTextColor_, value); }
  TColor HideSelectionColor() const { return hideSelectionColor_; }
  void SetHideSelectionColor(TColor value) { SetAndInvalidate(hideSelectionColor_, value); }
  TColor HideSelectionTextColor() const { return hideSelectionTextColor_; }
  void SetHideSelectionTextColor(TColor value) {
    SetAndInvalidate(hideSelectionTextColor_, value);
  }
  TColor RowFooterColor() const { return rowFooterColor_; }
  void SetRowFooterColor(TColor value) { SetAndInvalidate(rowFooterColor_, value); }
  TColor RowFooterTextColor() const { return rowFooterTextColor_; }
  void SetRowFooterTextColor(TColor value) { SetAndInvalidate(rowFooterTextColor_, value); }
  TColor FixedBandLineColor() const { return fixedBandLineColor_; }
  void SetFixedBandLineColor(TColor value) { SetAndInvalidate(fixedBandLineColor_, value); }
  TColor GridLineColor() const { return gridLineColor_; }  // clNone: see GridLineDrawColor
  void SetGridLineColor(TColor value) { SetAndInvalidate(gridLineColor_, value); }
  TColor TreeLineColor() const { return treeLineColor_; }
  void SetTreeLineColor(TColor value) { SetAndInvalidate(treeLineColor_, value); }
  TColor AutoSearchColor() const { return autoSearchColor_; }  // clNone: inverse background
  void SetAutoSearchColor(TColor value) { SetAndInvalidate(autoSearchColor_, value); }
  TColor AutoSearchTextColor() const { return autoSearchTextColor_; }  // clNone: inverse text
  void SetAutoSearchTextColor(TColor value) { SetAndInvalidate(autoSearchTextColor_, value); }
  // Selection and focus frame of an unfocused grid.
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool value) { SetAndInvalidate(hideSelection_, value); }
  // Focus frames (dotted when focused, inverted when not) are drawn unless this is set.
  bool HideFocusRect() const override { return IsOption(tloHideFocusRect); }
  // Tree style switches (not published by the data-aware grid).
  bool ShowButtons() const { return showButtons_; }
  void SetShowButtons(bool value) { SetAndInvalidate(showButtons_, value); }
  bool ShowLines() const { return showLines_; }
  void SetShowLines(bool value) { SetAndInvalidate(showLines_, value); }
  bool ShowRoot() const { return showRoot_; }
  void SetShowRoot(bool value);
  bool DottedTreeLines() const { return dottedTreeLines_; }
  void SetDottedTreeLines(bool value) { SetAndInvalidate(dottedTreeLines_, value); }

  // Runs the whole paint pass on canvas; the canvas's clip region is the update region and
  // every painter skips what lies outside it. Paint() calls it with the window's canvas.
  void PaintGrid(TCanvas& canvas);
  // The focus window is the control or a window inside it (its in-place editor).
  virtual bool IsGridFocused() const;
  // The colour grid lines are drawn in while ShowGrid is on.
  virtual TColor GridLineDrawColor() const;
  // What the input handling leaves for painting.
  TqlMouseFeedback& MouseFeedback() { return input_.MouseFeedback(); }
  const TqlMouseFeedback& MouseFeedback() const { return input_.MouseFeedback(); }
  TqlIncrementalSearchState& IncrementalSearch() { return incrementalSearch_; }
  const TqlIncrementalSearchState& IncrementalSearch() const { return incrementalSearch_; }
  bool NewItemRowActive() const { return newItemRowActive_; }
  void SetNewItemRowActive(bool value) { SetAndInvalidate(newItemRowActive_, value); }

  TqlTLCustomDrawBand OnCustomDrawBand;
  TqlTLCustomDrawHeader OnCustomDrawColumnHeader;
  TqlTLCustomDrawCell OnCustomDrawCell;
  TTLCustomDrawPreviewEvent OnCustomDrawPreview;
  TqlTLCustomDrawPreview OnCustomDrawPreviewCell;
  TqlTLCustomDrawFooter OnCustomDrawFooter;
  TqlTLCustomDrawFooterNode OnCustomDrawFooterNode;
  TqlTLGetLevelColor OnGetLevelColor;
  TqlTLIsExistFooterCell OnIsExistFooterCell;

  // Questions and hooks of the painter (treelist_paint_questions.cpp); the column and data
  // layers answer more.
  // Around every use of a node's values while painting (the data layer moves its buffer).
  virtual void BeginNodePaint(TqlTreeListNode* node) {}
  virtual void EndNodePaint(TqlTreeListNode* node) {}
  // The sizing line and drag image of the mouse handling, taken off before a pass and put
  // back after it.
  virtual void HideSizingFeedback();  // treelist_sizing.cpp
  virtual void ShowSizingFeedback();
  // The data-aware grid draws its group panel here.
  virtual void PaintGroupPanel(TqlPaintPass& pass) {}
  // Custom-draw chains: whether any handler exists, and running them in order.
  virtual bool WantsCustomDrawHeader(int column) const;
  virtual void CustomDrawHeader(TqlCustomDrawHeaderArgs& args);
  virtual bool WantsCustomDrawCell(int column, bool groupNode) const;
  virtual void CustomDrawCell(TqlCustomDrawCellArgs& args, bool groupNode);
  virtual bool WantsCustomDrawFooter(int column, int footerIndex) const;
  virtual void CustomDrawFooter(TqlCustomDrawFooterArgs& args);
  // The editor settings a column's cells are painted with (the core: plain text in the
  // button look of LookAndFeel).
  virtual void FillCellEditorSettings(int column, TqlCellEditorSettings& settings) const;

  // ===== sorting (treelist_sort.cpp) =========================================================
  // Sorts the node lists at one depth (-1: every list of the tree; 0: the roots; 1: the roots'
  // children; ...) by a column, descending or not. With multi-column sorting allowed for the
  // column and more than one sorted column, the sorted-columns list decides instead, each
  // column with its own direction. Keys all equal: CompareNodesTieBreak. Values are read once
  // per node (GetNodeSortValue); the lists change only after every one of them is sorted, so
  // an exception (OnCompare, a value conversion) leaves the old order. tloShowHourGlass shows
  // the hourglass meanwhile. The row cache is rebuilt and the grid repainted afterwards.
  void SortNodes(int level, int column, bool descending);
  // When set, alone decides the order of two nodes (the handler applies the direction).
  TqlTLCompareEvent OnCompare;
  // Sort questions the column and data layers answer.
  // Absolute indexes of the sorted columns, primary key first.
  virtual std::vector<int> GetSortedColumns() const { return {}; }
  virtual bool IsAutoSortAllowed() const { return IsOption(tloAutoSort); }
  virtual bool IsMultiSortAllowed(int column) const { return IsOption(tloMultiSort); }
  // The value a node sorts by in a column; the core has none (empty).
  virtual Variant GetNodeSortValue(const TqlTreeListNode* node, int column) const { return {}; }
  // The text a node sorts by when its sort value is exactly a text the node keeps (no copy,
  // no conversion); null when the value must come from GetNodeSortValue. Both must agree.
  virtual const std::string* GetNodeSortText(const TqlTreeListNode* node, int column) const {
    return nullptr;
  }
  // Order of two nodes whose sort keys are all equal (< 0, 0, > 0): the core compares their
  // addresses, a fixed but arbitrary order.
  virtual int CompareNodesTieBreak(const TqlTreeListNode* a, const TqlTreeListNode* b) const;

  // ===== incremental search (treelist_search.cpp) ============================================
  // Starts a search on a column (absolute; -1: the focused column) with a text: ends editing,
  // leaves the new item row, focuses the column, then searches (FromFocused, clearing the text
  // when nothing matches). An empty text only raises the searching flag.
  void StartSearch(int column, const std::string& text);
  // Makes text the search text and moves the focus to the next row whose cell in the search
  // column starts with it, ignoring letter case. Without a match: clearOnFailure empties the
  // text; otherwise FromFocused drops its last character (a typed letter that matches nothing
  // is refused) and the other modes keep it.
  void Search(const std::string& text, TqlSearchMode mode, bool clearOnFailure);
  // Clears the searching flag and repaints the focused row (unless updates are locked).
  void EndSearch();
  // On: the search walks every node (pre-order) and expands the ancestors of a match; off: it
  // walks the shown rows only.
  bool AutoExpandOnSearch() const { return autoExpandOnSearch_; }
  void SetAutoExpandOnSearch(bool value) { autoExpandOnSearch_ = value; }

  // ===== mouse (TqlTreeListInput in treelist_input.h; the core's forwarders in
  //       treelist_input_host.cpp) ==========================================================
  // The mouse side keeps these; the core hands it its mouse events and answers for it here.
  // What the last press left; header moving reads its drag fields.
  const TqlPressRecord& PressRecord() const { return input_.Press(); }
  const TqlTreeListHotTrackInfo& HotTrackInfo() const { return input_.HotTrack(); }
  // The widest of the column's cell texts over every node (the tree column with its indent)
  // and its caption with room for the filter button.
  virtual int ColumnBestWidth(int column) const;
  // A sizable column gets its best width plus a margin of about a "0" on each side; the band
  // and the whole-control variants do every column in turn inside one update lock.
  void ApplyBestWidth(int column);
  void ApplyBandBestWidths(int visibleBand);
  void ApplyAllBestWidths();
  // A double click on a row toggles its expansion.
  bool DblClkExpanding() const { return input_.DblClkExpanding(); }
  void SetDblClkExpanding(bool value) { input_.SetDblClkExpanding(value); }
  // The inverted sizing line is on the window now.
  bool SizingLineShown() const { return input_.SizingLineShown(); }
  TCursor CursorAt(TPoint clientPos) override;

  TqlTLBandClickEvent OnBandClick;
  TNotifyEvent OnBandButtonClick;
  TNotifyEvent OnHeaderButtonClick;
  TNotifyEvent OnChangedColumnsWidth;
  TqlTLCanBandDraggingEvent OnCanBandDragging;
  TqlTLCanHeaderDraggingEvent OnCanHeaderDragging;
  TqlTLHotTrackNodeEvent OnHotTrackNode;

  // ----- header moving (the input side's treelist_header_drag.cpp) --------------------------
  // The drop arrows' fill.
  TColor ArrowsColor() const { return arrowsColor_; }
  void SetArrowsColor(TColor value) { arrowsColor_ = value; }
  // The input side's header-drag overlays and cursor, for the tests and the benchmark.
  const TqlTreeListInput& Input() const { return input_; }
  TqlTLColumnNotifyEvent OnStartHeaderDragging;
  TqlTLDragOverHeaderEvent OnDragOverHeader;
  TqlTLDragEndHeaderEvent OnDragEndHeader;
  TTLColumnMovedEvent OnColumnMoved;
  TqlTLColumnNotifyEvent OnHeaderMoved;
  TqlTLColumnNotifyEvent OnHideHeader;
  TqlTLBandNotifyEvent OnStartBandDragging;
  TqlTLDragOverBandEvent OnDragOverBand;
  TqlTLDragEndBandEvent OnDragEndBand;
  TqlTLBandNotifyEvent OnHideBand;

  // ----- node drag-and-drop (the input side's treelist_node_drag.cpp) -----------------------
  // How long a node drag rests over a node's expand button before the node opens (ms).
  int WaitForExpandNodeTime() const { return waitForExpandNodeTime_; }
  void SetWaitForExpandNodeTime(int value) { waitForExpandNodeTime_ = value; }
  // The node whose expand button a node drag is resting on; cleared when the node goes.
  TqlTreeListNode* DragExpandNode() const { return dragExpandNode_; }
  void SetDragExpandNode(TqlTreeListNode* node) { dragExpandNode_ = node; }
  TqlTLBeginDragNodeEvent OnBeginDragNode;
  TqlTLGetNodeDragTextEvent OnGetNodeDragText;

  // ----- the grid's state the mouse side reads and writes ----------------------------------
  // Entering tsEditing ends a running incremental search.
  void SetState(TqlTreeListState value);
  // The focus index as stored (-1 or past the end included; FocusedColumn reads it as 0).
  int FocusIndex() const { return focusIndex_; }
  void SetSelectionAnchor(TqlTreeListNode* node) { selectionAnchor_ = node; }
  // Shift+Up/Down grows a range from the anchor until a press or another key ends it.
  void SetExtendingSelection(bool value) { extendingSelection_ = value; }
  // Nodes the mouse side refers to between events; the node store clears each when its node
  // goes. The drag node is the pressed node (row press, row sizing, node drag); the old
  // focused node the one focused before the last row press.
  TqlTreeListNode* DragNode() const { return dragNode_; }
  void SetDragNode(TqlTreeListNode* node) { dragNode_ = node; }
  TqlTreeListNode* HotTrackNode() const { return hotTrackNode_; }
  void SetHotTrackNode(TqlTreeListNode* node) { hotTrackNode_ = node; }
  TqlTreeListNode* OldFocusedNode() const { return oldFocusedNode_; }
  void SetOldFocusedNode(TqlTreeListNode* node) { oldFocusedNode_ = node; }
  // Row height of a node with a given unit row height, uncached (sizing a row tries them).
  TqlRowHeightInfo RowHeightWithUnit(TqlTreeListNode* node, int unitRowHeight) const;
  // OnClick and OnDblClick: the core's Click and DblClick do nothing, so these raise the
  // events when the mouse side decides a click or a double click happened.
  void RaiseClick() { TControl::Click(); }
  void RaiseDblClick() { TControl::DblClick(); }
  // Whether the press being handled keeps the mouse captured (off when a handler took the
  // focus elsewhere).
  void SetMouseCaptureOnPress(bool on) { SetCaptureOnPress(on); }

  // ===== hooks the collaborators call and the control and data layers override ============
  // Cancels a mouse tracking operation (the mouse side's EndTracking).
  virtual void EndMouseTracking();
  // Editor hooks; the in-place editor layer fills them. HideEditor ends editing without
  // taking the focus back, HideEditorWithFocus takes it back to the grid.
  virtual void ShowEditor() {}
  virtual void ShowEditorWithKey(char32_t Key) { ShowEditor(); }  // Key goes into the editor
  virtual bool EditorExists() const { return false; }
  virtual void HideEditorWithFocus() { HideEditor(); }
  // Ends editing; the focus stays where it is (a node drag starting, a scroll).
  virtual void HideEditor() {}
  virtual void ForgetEditorCell() { editorNode_ = nullptr; }
  // The node the editor is bound to; cleared when the node goes.
  TqlTreeListNode* EditorNode() const { return editorNode_; }
  void SetEditorNode(TqlTreeListNode* node) { editorNode_ = node; }
  // The data layer keeps the selected set; the core has none to clear.
  virtual void ClearSelection() {}
  virtual void SelectRange(TqlTreeListNode* from, TqlTreeListNode* to);  // both included
  // A change the input side asks for in a band or column (treelist_requests.h); the core has
  // no band or column objects to change.
  virtual void ApplyRequest(const TqlTreeListRequest& request) {}
  // Mouse hooks the later layers fill; the core's answers are below.
  virtual bool DblClicksEnabled() const { return true; }
  virtual void ColumnHeaderClick(int column, TShiftState shift) {}  // the column layer sorts
  virtual void SetHeaderPanelRowCountByMouse(int count) {}  // the column layer owns the count
  // Header moving; the input side runs it (treelist_header_drag.cpp), a descendant may
  // add drop places of its own around it.
  virtual void StartColumnDrag(int column);
  virtual void StartBandDrag(int band);
  virtual void HeaderDragMove(TPoint clientPoint);
  virtual void EndHeaderDrag(bool cancelled);
  virtual void HeaderEdgeScrollTick();
  // Scrolls an absolute column's header into view (the neighbour of a dropped header).
  void MakeAbsoluteColumnVisible(int column);
  virtual void DragExpandTick();
  virtual void AnchorScroll(TPoint clientPoint);
  // DragMode dmAutomatic: a pressed row that moves more than 5 pixels starts a node drag.
  virtual bool AutomaticNodeDrag() const { return DragMode() == dmAutomatic; }
  // Starts the drag of a node (already the drag node) at once.
  virtual void StartNodeDrag(TqlTreeListNode* node);
  // A press on the new item row while no node is focused.
  virtual void PrepareNewItemNode() {}
  // The column's always-visible editor button lies under the point.
  virtual bool IsEditorButtonAt(int column, TqlTreeListNode* node, TPoint clientPoint) const {
    return false;
  }
  // Shows the editor for a click at a point (the editor gets the press).
  virtual void ShowEditorFromClick(TPoint clientPoint, TShiftState shift) { ShowEditor(); }
  // The hot part of a cell under the point, -1 for none (the core: every cell with tloHotTrack).
  virtual int CellHotPart(int column, TqlTreeListNode* node, TPoint clientPoint) const;
  // Filter buttons and the filter status panel of the data-aware grid.
  virtual int OpenFilterDropDownColumn() const { return -1; }
  virtual void DropDownFilter(int column) {}
  virtual void ClearFilter() {}
  virtual std::string FilterCloseHint() const { return {}; }

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

  // ===== the model (treelist_model.h) =======================================================
  // The questions about bands and columns, by index. The control answers them (it makes
  // itself the model); a grid without one has no bands and no columns (the empty model).
  const TqlTreeListModel& Model() const { return *model_; }

  // ===== painting and per-node questions (the core's answers; the column and data layers
  //       answer more) ========================================================================
  virtual TqlTreeListBand* BandObject(int band) const { return nullptr; }
  virtual TqlTreeListColumn* ColumnObject(int column) const { return nullptr; }
  virtual bool HeaderButtonsEnabled() const { return false; }
  virtual bool ColumnDisableFilter(int column) const { return false; }
  // fbs* bits of a column's header filter button (0 = none).
  virtual int GetFilterButtonState(int column) const;
  // The footer panel's or a row footer's text of a cell (footerIndex -1: the panel).
  virtual std::string GetFooterText(TqlTreeListNode* node, int column, int footerIndex,
                                    TAlignment& alignment) const;
  // The column has a cell in the footer panel: OnIsExistFooterCell, false without it.
  virtual bool IsExistFooterCell(int column) const;
  virtual bool IsExistRowFooterCell(TqlTreeListNode* node, int column, int footerIndex) const {
    return false;
  }
  virtual int GetRowFooterLevel(TqlTreeListNode* node, int footerIndex) const { return -1; }
  virtual std::string GetNewItemRowText(int column) const { return {}; }
  virtual bool IsInsertingRecord() const { return false; }
  virtual std::string GetStatusText() const { return {}; }
  virtual bool StatusCloseButtonShown() const { return false; }
  // A group row's column for a custom-draw handler; the core has no groups.
  virtual int GroupColumnOfLevel(int level) const { return 0; }
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
  virtual TqlIndicatorKind GetIndicatorKind(const TqlTreeListNode* node) const {
    return TqlIndicatorKind::None;
  }
  // Text line count of a cell for auto-height rows; the application may answer instead.
  virtual std::string GetPreviewText(const TqlTreeListNode* node) const { return {}; }
  // Heights the data-aware grid answers (0 in the core).
  virtual int GetGroupAreaHeight() const { return 0; }
  virtual bool FooterPanelShown() const { return false; }
  virtual bool StatusPanelShown() const { return false; }

 protected:
  friend class TqlTreeListNode;

  // The control sets itself as the model while it is whole; null goes back to the empty one.
  void SetModel(const TqlTreeListModel* model) {
    model_ = model ? model : &TqlEmptyTreeListModel::Instance();
  }

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
  // Drops the row cache and resets the nodes'
  // CachedHeight (skipped while locked when the cache was already dropped: nothing laid out).
  void ClearRowCache() { nodes_.ClearRowCache(); }
  void RebuildRowCache() { nodes_.RebuildRowCache(); }
  // The row cache follows the tree in place while nothing holds it back (no update lock, not
  // loading, not destroying); otherwise a change drops it and the next layout rebuilds it.
  // Called before node's shown descendants (and node itself when withNode) stop being shown.
  void NodeRowsRemoving(TqlTreeListNode* node, bool withNode) {
    nodes_.NodeRowsRemoving(node, withNode);
  }
  // Called after node was expanded: its shown descendants join the rows.
  void NodeRowsInserted(TqlTreeListNode* node) { nodes_.NodeRowsInserted(node); }
  // Hooks of later layers.
  // RecalcLayout calls this after the metrics: the column layer drops and refills its header
  // layout cache (header widths depend on band widths, which depend on the client width).
  virtual void RebuildHeaderLayout() {}
  virtual void CancelEditor() {}

  void Loaded() override;
  void Resize() override;
  void CMFontChanged() override;

  // ----- keyboard, focus and scrolling (treelist_keys.cpp, treelist_focus.cpp) -------------
  // Raises OnKeyDown, then runs the key table (HandleKeyDown).
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  // The key table without raising OnKeyDown: for a descendant that raises OnKeyDown itself
  // before keys of its own and passes on the keys it leaves.
  void HandleKeyDown(uint16_t& Key, TShiftState Shift);
  // OnKeyDown alone, under the selection lock.
  void RaiseKeyDown(uint16_t& Key, TShiftState Shift);
  void KeyPress(char32_t& Key) override;
  int WMGetDlgCode() override;
  void WMVScroll(TScrollCode code, int pos) override;
  void WMHScroll(TScrollCode code, int pos) override;
  void WMSetFocus() override;
  void WMKillFocus() override;
  void CMExit() override;
  // The key filter: whether a key may be processed (the core takes every key).
  virtual bool AcceptsKey(uint16_t Key, TShiftState Shift) { return true; }
  // Asked before every scroll request (the core always agrees).
  virtual bool CanScroll() { return true; }
  // Shift with a row key selects anchor..focused (the core can mark any range of rows).
  virtual bool CanSelectRange() const { return true; }
  // Escape during a tracking state; the mouse side ends it.
  virtual void CancelTracking();
  // Row moves of the keyboard: one row, one page, one header row of the focused band.
  void RowStep(int direction, bool shift, int focusIndex);
  void PageMove(int direction);
  bool BandRowMove(int direction, int& focusIndexAfter);
  void MakeColumnVisible(int focusIndex);

  // ----- painting (the pass itself is the painter's: treelist_painter.h) ------------------
  void Paint() override;
  // The pass covers every pixel of the client area, so nothing is erased first.
  void WMEraseBkgnd(TCanvas& canvas) override {}

  // ----- mouse (treelist_input_host.cpp): each hands the event to the mouse side ----------
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  // OnClick and OnDblClick are raised by the mouse side under its own rules (RaiseClick,
  // RaiseDblClick).
  void Click() override {}
  void DblClick() override {}
  void CMMouseEnter() override;
  void CMMouseLeave() override;
  void WMCancelMode() override;
  void WMTimer(int id) override;
  // Node drag-and-drop through the drag manager (the input side's treelist_node_drag.cpp):
  // the grid starts its drags itself (StartNodeDrag), so the press does not begin one.
  void BeginAutoDrag() override {}
  void DoStartDrag(TDragObject*& DragObject) override;
  void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
  void DoEndDrag(TObject* Target, int X, int Y) override;

 private:
  // Layout, scrolling and hit testing (treelist_geometry.h): metrics, left coordinate, the
  // kept frame and the pass flag are its state.
  TqlTreeListGeometry geometry_{*this};

  // A top node hidden by a refused expansion gives way to its nearest shown ancestor.
  void keepTopShown();

  // --- node storage ---
  const TqlTreeListModel* model_ = &TqlEmptyTreeListModel::Instance();
  TqlTreeListNodeStore nodes_{*this};       // roots, detached nodes, update lock, row cache
  TqlTreeListNode* topNode_ = nullptr;      // first row on screen; null only without roots
  TqlTreeListNode* focusedNode_ = nullptr;  // null only without roots or before first focus
  TqlTreeListNode* oldFocusedNode_ = nullptr;
  TqlTreeListNode* selectionAnchor_ = nullptr;
  TColor arrowsColor_ = clLime;
  int waitForExpandNodeTime_ = 500;
  TqlTreeListNode* dragExpandNode_ = nullptr;
  TqlTreeListNode* dragNode_ = nullptr;
  TqlTreeListNode* hotTrackNode_ = nullptr;
  TqlTreeListNode* editorNode_ = nullptr;
  int focusIndex_ = 0;               // focused column in focus order; -1 or past the end reads 0
  int selectedCountAtLock_ = 0;

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

  // --- keyboard, focus and selection (treelist_keys.cpp, treelist_focus.cpp) ---
  bool handleSearchKey(uint16_t key, TShiftState shift);
  void handleCtrlKey(uint16_t key);
  void handleKey(uint16_t key, TShiftState shift);
  void moveToTabStop(int direction, bool throughRows);
  void focusNeighbourRowAtTabStop(int direction);
  void rowFocusHorizontal(int direction);
  void fixAnchor(bool shift);
  void selectAnchorRange(bool shift);
  void invalidateSelectedRows();
  TqlTreeListState state_ = tsNormal;
  bool extendingSelection_ = false;  // Shift+Up/Down is growing a range from the anchor
  int selectionLock_ = 0;            // >= 0
  int selectedCountAtSelectionLock_ = 0;
  bool focusGoneToEditor_ = false;   // the input focus left for a window inside the grid

  // --- the picture: its painter, and the colours and switches it reads through the getters ---
  TqlTreeListPainter painter_{*this};
  TColor bandColor_ = clBtnFace;
  TColor headerColor_ = clBtnFace;
  TColor groupNodeColor_ = clBtnFace;
  TColor groupNodeTextColor_ = clNone;
  TColor highlightColor_ = clHighlight;
  TColor highlightTextColor_ = clHighlightText;
  TColor hideSelectionColor_ = clBtnFace;
  TColor hideSelectionTextColor_ = clBtnText;
  TColor rowFooterColor_ = clBtnFace;
  TColor rowFooterTextColor_ = clBtnText;
  TColor fixedBandLineColor_ = clWindowFrame;
  TColor gridLineColor_ = clNone;
  TColor treeLineColor_ = clGrayText;
  TColor autoSearchColor_ = clNone;
  TColor autoSearchTextColor_ = clNone;
  bool hideSelection_ = false;
  bool showButtons_ = true;
  bool showLines_ = true;
  bool showRoot_ = true;
  bool dottedTreeLines_ = true;
  bool newItemRowActive_ = false;
  TqlIncrementalSearchState incrementalSearch_;
  bool autoExpandOnSearch_ = true;

  // --- mouse: the mouse side and all it keeps (treelist_input.h) ---
  TqlTreeListInput input_{*this};
};

// Holds the selection lock for a scope (also when an exception leaves it).
class TqlSelectionLock {
 public:
  explicit TqlSelectionLock(TCustomqlTreeList& t)
      : t_(t), exceptions_(std::uncaught_exceptions()) {
    t_.BeginSelection();
  }
  // An exception on its way out is not joined by an event handler's call (nor its throw).
  ~TqlSelectionLock() noexcept(false) {
    t_.EndSelection(std::uncaught_exceptions() == exceptions_);
  }
  TqlSelectionLock(const TqlSelectionLock&) = delete;
  TqlSelectionLock& operator=(const TqlSelectionLock&) = delete;

 private:
  TCustomqlTreeList& t_;
  int exceptions_;
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
