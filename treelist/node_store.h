#pragma once
// TqlTreeListNodeStore: where a tree-list's nodes live. It owns the roots (display order) and
// the detached nodes (the data layer parks them outside the tree), counts the update lock and
// keeps the visible-row cache, and answers the questions about shown rows: which node is at a
// row index, which row a node is on, how many rows there are.
//
// Row cache policy: while it is valid the cache equals a walk of the tree. Changes keep it up
// to date in place (one pass over the stored positions) while nothing holds it back: no update
// lock, the grid neither loading nor being destroyed. Otherwise a change drops it and the
// next layout pass rebuilds it. Without a valid cache the questions walk the tree.
//
// The store knows nothing of focus, the top row, painting or events: the grid does that
// bookkeeping around the store's changes (treelist_nodes.cpp).
#include <vector>

#include "treelist/visible_row_cache.h"

class TCustomqlTreeList;
class TqlTreeListNode;

class TqlTreeListNodeStore {
 public:
  explicit TqlTreeListNodeStore(const TCustomqlTreeList& grid) : grid_(grid) {}
  TqlTreeListNodeStore(const TqlTreeListNodeStore&) = delete;
  TqlTreeListNodeStore& operator=(const TqlTreeListNodeStore&) = delete;

  // ----- the lists ----------------------------------------------------------------------
  std::vector<TqlTreeListNode*>& Roots() { return roots_; }
  const std::vector<TqlTreeListNode*>& Roots() const { return roots_; }
  std::vector<TqlTreeListNode*>& Detached() { return detached_; }
  // Places a new root before beforeRoot (a root of this store), or at the end.
  void InsertRoot(TqlTreeListNode* node, TqlTreeListNode* beforeRoot);
  // Takes a node out of the root or the detached list (a node with a parent is not in either).
  void Unlist(TqlTreeListNode* node);
  // Frees every node, roots with their subtrees first, then the detached ones, with Clearing()
  // on. The lists are emptied before the first node goes, so that a deletion handler never
  // sees a freed node.
  void DeleteAll();
  // True while DeleteAll runs: nodes then go without unlinking themselves one by one.
  bool Clearing() const { return clearing_; }

  // ----- shown rows -----------------------------------------------------------------------
  TqlTreeListNode* FirstShownNode() const;  // the first root
  TqlTreeListNode* LastShownNode() const;   // the last root followed down its expanded last children
  TqlTreeListNode* NodeAtRowIndex(int rowIndex) const;    // null when out of range
  int RowIndexOfNode(const TqlTreeListNode* node) const;  // -1 when not shown
  int ShownRowCount() const;
  // In the tree (not parked in the detached list) with every ancestor expanded.
  bool IsShown(const TqlTreeListNode* node) const;

  // ----- the update lock ----------------------------------------------------------------
  // Lock returns true for the first lock; Unlock true when it released the last one (and
  // false, changing nothing, when nothing was locked).
  bool Lock() { return lockCount_++ == 0; }
  bool Unlock();
  int LockCount() const { return lockCount_; }

  // ----- the row cache --------------------------------------------------------------------
  const TqlVisibleRowCache& RowCache() const { return rowCache_; }
  // The cache may be consulted (valid, and the grid not being destroyed).
  bool RowCacheUsable() const;
  // Changes may keep the cache up to date in place.
  bool KeepsRowCache() const;
  // Drops the cache and resets the nodes' CachedHeight (skipped while locked when the cache
  // was already dropped: nothing has been laid out since).
  void ClearRowCache();
  void DropRowCache() { rowCache_.Clear(); }  // the nodes' heights stay
  void RebuildRowCache();
  // After a change of many rows at once: rebuild the cache when it can be kept, else drop it.
  void RowsRestructured();
  // A new leaf joined the tree; the cache takes its row when it can be kept.
  void NodeRowAdded(TqlTreeListNode* node);
  // Before node's shown descendants (and node itself when withNode) stop being shown.
  void NodeRowsRemoving(TqlTreeListNode* node, bool withNode);
  // After node was expanded: its shown descendants join the rows.
  void NodeRowsInserted(TqlTreeListNode* node);
  // The cache is kept and holds exactly the roots (no root expanded): a sort of the roots
  // can permute its rows (newRowOfRow[r]: where row r goes) instead of rebuilding it.
  bool CanPermuteRootRows() const;
  void PermuteRootRows(const std::vector<int>& newRowOfRow) { rowCache_.PermuteRows(newRowOfRow); }

  // A node of the tree (its top ancestor is one of the roots), not a detached one.
  bool InTree(const TqlTreeListNode* node) const;
  // Throws EInvalidqlTreeListOperation naming the first broken rule of the lists, of the
  // ownership of their nodes or of the row cache.
  void CheckInvariants() const;

 private:
  void resetCachedHeights();

  const TCustomqlTreeList& grid_;
  std::vector<TqlTreeListNode*> roots_;     // owning; display order
  std::vector<TqlTreeListNode*> detached_;  // owning; outside the tree
  TqlVisibleRowCache rowCache_;
  int lockCount_ = 0;     // >= 0; layout work waits while > 0
  bool clearing_ = false;
};
