// The core's node storage: roots and detached nodes, the control's side of node changes
// (top node, focus, row cache, repainting), the update lock and the invariant check.
//
// Row cache policy: while it is valid the cache equals a walk of the tree. Changes keep it up
// to date in place (one pass over the stored positions) when keepsRowCache(); under the update
// lock, while loading or destroying they drop it instead, and the layout rebuilds it later.
#include <optional>
#include <string>
#include <unordered_set>

#include "platform/core/scope_exit.h"
#include "treelist/treelist_core.h"
#include "treelist/treelist_node.h"

namespace {

// Every node of a list and of its subtrees, parents before children.
template <typename F>
void forEachNode(const std::vector<TqlTreeListNode*>& list, F&& visit) {
  std::vector<TqlTreeListNode*> pending;  // only ever holds one subtree's open children
  for (TqlTreeListNode* top : list) {
    pending.push_back(top);
    while (!pending.empty()) {
      TqlTreeListNode* node = pending.back();
      pending.pop_back();
      visit(node);
      for (int i = node->Count() - 1; i >= 0; --i) pending.push_back(node->Items(i));
    }
  }
}

}  // namespace

// ===== roots ================================================================================

TqlTreeListNode* TCustomqlTreeList::CreateNode() { return new TqlTreeListTextNode(this); }

TqlTreeListNode* TCustomqlTreeList::Add() { return Insert(nullptr); }

TqlTreeListNode* TCustomqlTreeList::Insert(TqlTreeListNode* beforeRoot) {
  TqlTreeListNode* node = CreateNode();
  auto at = roots_.end();
  if (beforeRoot && !beforeRoot->Parent())
    for (auto it = roots_.begin(); it != roots_.end(); ++it)
      if (*it == beforeRoot) {
        at = it;
        break;
      }
  roots_.insert(at, node);
  NodeAdded(node);
  return node;
}

TqlTreeListNode* TCustomqlTreeList::Items(int rootIndex) const {
  if (rootIndex < 0 || rootIndex >= Count()) return nullptr;
  return roots_[rootIndex];
}

void TCustomqlTreeList::ClearNodes() {
  std::optional<TqlTreeListUpdateLock> lock;  // no lock (and no layout) while destroying
  if (!IsDestroying()) lock.emplace(*this);
  clearing_ = true;
  ScopeExit resetClearing([this] { clearing_ = false; });
  rowCache_.Clear();
  ClearSelection();
  focusedNode_ = oldFocusedNode_ = editorNode_ = nullptr;
  selectionAnchor_ = dragNode_ = hotTrackNode_ = nullptr;
  topNode_ = nullptr;
  // The lists are emptied first so that an OnDeletion handler never sees a freed node.
  for (std::vector<TqlTreeListNode*>* list : {&roots_, &detached_}) {
    std::vector<TqlTreeListNode*> doomed;
    doomed.swap(*list);
    for (TqlTreeListNode* node : doomed) delete node;
  }
}

// ===== shown rows ===========================================================================

TqlTreeListNode* TCustomqlTreeList::FirstShownNode() const {
  return roots_.empty() ? nullptr : roots_.front();
}

TqlTreeListNode* TCustomqlTreeList::LastShownNode() const {
  if (roots_.empty()) return nullptr;
  TqlTreeListNode* node = roots_.back();
  while (node->ChildrenShown && node->HasChildren()) node = node->GetLastChild();
  return node;
}

namespace {
// Visits the shown rows in order without the row cache, until visit returns false. Lists are
// walked by position: a node's next sibling is found without searching its list.
template <typename Visit>
void walkShownRows(const std::vector<TqlTreeListNode*>& roots, Visit visit) {
  struct Frame {
    const TqlTreeListNode* parent;  // null: the roots
    int next;
  };
  std::vector<Frame> stack{{nullptr, 0}};
  while (!stack.empty()) {
    Frame& frame = stack.back();
    const int count = frame.parent ? frame.parent->Count() : static_cast<int>(roots.size());
    if (frame.next == count) {
      stack.pop_back();
      continue;
    }
    TqlTreeListNode* node = frame.parent ? frame.parent->Items(frame.next) : roots[frame.next];
    ++frame.next;
    if (!visit(node)) return;
    if (node->ChildrenShown && node->HasChildren()) stack.push_back({node, 0});
  }
}
}  // namespace

TqlTreeListNode* TCustomqlTreeList::NodeAtRowIndex(int rowIndex) const {
  if (rowCacheUsable()) return rowCache_.NodeAt(rowIndex);
  if (rowIndex < 0) return nullptr;
  TqlTreeListNode* found = nullptr;
  int row = 0;
  walkShownRows(roots_, [&](TqlTreeListNode* n) {
    if (row++ < rowIndex) return true;
    found = n;
    return false;
  });
  return found;
}

int TCustomqlTreeList::RowIndexOfNode(const TqlTreeListNode* node) const {
  if (!node || node->Owner() != this) return -1;
  if (rowCacheUsable()) return rowCache_.RowIndexOf(node);
  if (!isShown(node)) return -1;
  int row = 0, found = -1;
  walkShownRows(roots_, [&](TqlTreeListNode* n) {
    if (n == node) {
      found = row;
      return false;
    }
    ++row;
    return true;
  });
  return found;
}

int TCustomqlTreeList::ShownRowCount() const {
  if (rowCacheUsable()) return rowCache_.Count();
  int count = 0;
  walkShownRows(roots_, [&](TqlTreeListNode*) {
    ++count;
    return true;
  });
  return count;
}

bool TCustomqlTreeList::isShown(const TqlTreeListNode* node) const {
  if (!node->IsVisible()) return false;
  if (detached_.empty()) return true;
  const TqlTreeListNode* top = node;
  while (top->Parent()) top = top->Parent();
  return std::find(detached_.begin(), detached_.end(), top) == detached_.end();
}

int TCustomqlTreeList::CompareTreeOrder(const TqlTreeListNode* a, const TqlTreeListNode* b) {
  if (!a || !b || a == b) return 0;
  if (a->HasAsParent(b)) return 1;
  if (b->HasAsParent(a)) return -1;
  int levelA = a->Level();
  int levelB = b->Level();
  for (; levelA > levelB; --levelA) a = a->Parent();
  for (; levelB > levelA; --levelB) b = b->Parent();
  while (a->Parent() != b->Parent()) {
    a = a->Parent();
    b = b->Parent();
  }
  return a->Index() - b->Index();
}

// ===== row cache ============================================================================

void TCustomqlTreeList::resetCachedHeights() {
  auto reset = [](TqlTreeListNode* node) { node->CachedHeight = 0; };
  forEachNode(roots_, reset);
  forEachNode(detached_, reset);
}

void TCustomqlTreeList::ClearRowCache() {
  const bool wasValid = rowCache_.IsValid();
  rowCache_.Clear();
  if (wasValid || lockUpdate_ == 0) resetCachedHeights();
}

void TCustomqlTreeList::RebuildRowCache() {
  rowCache_.Rebuild(roots_);
  if (IsOption(tloRowAutoHeight) && MaxRowLineCount() != 0 && !clearing_) resetCachedHeights();
}

void TCustomqlTreeList::rowsRestructured() {
  if (keepsRowCache())
    RebuildRowCache();
  else
    rowCache_.Clear();
}

void TCustomqlTreeList::NodeRowsRemoving(TqlTreeListNode* node, bool withNode) {
  if (!rowCache_.IsValid()) return;
  if (!keepsRowCache()) {
    rowCache_.Clear();
    return;
  }
  int row = rowCache_.RowIndexOf(node);
  if (row < 0) return;  // not shown: neither are its descendants
  TqlTreeListNode* after = node->GetNextAfterSubtree();
  int end = after ? rowCache_.RowIndexOf(after) : rowCache_.Count();
  if (end < 0) {  // cannot happen while the cache is right; do not guess
    rowCache_.Clear();
    return;
  }
  int first = withNode ? row : row + 1;
  rowCache_.RemoveRows(first, end - first);
}

void TCustomqlTreeList::NodeRowsInserted(TqlTreeListNode* node) {
  if (!keepsRowCache()) {
    rowCache_.Clear();
    return;
  }
  if (!rowCache_.IsValid()) {
    RebuildRowCache();
    return;
  }
  int row = rowCache_.RowIndexOf(node);
  if (row < 0) return;
  std::vector<TqlTreeListNode*> rows;
  TqlVisibleRowCache::AppendShownSubtree(node, rows);
  rows.erase(rows.begin());  // the node has its row already
  std::vector<TqlTreeListNode*> added(rows.begin(), rows.end());
  rowCache_.InsertRows(row + 1, added);
}

// ===== node bookkeeping =====================================================================

void TCustomqlTreeList::NodeAdded(TqlTreeListNode* node) {
  CancelEditor();
  if (!topNode_ && isShown(node)) topNode_ = node;
  if (!focusedNode_) focusedNode_ = topNode_;
  if (!isShown(node)) return;
  if (!keepsRowCache()) {
    rowCache_.Clear();
    return;
  }
  if (rowCache_.IsValid()) {
    // A new node is a leaf: its row is where its successor outside it stands now.
    TqlTreeListNode* after = node->GetNextAfterSubtree();
    int row = after ? rowCache_.RowIndexOf(after) : rowCache_.Count();
    if (row < 0)
      rowCache_.Clear();
    else
      rowCache_.InsertRows(row, {node});
  } else {
    RebuildRowCache();  // invalid while unlocked means the tree had no rows
  }
  TqlTreeListNode* prev = node->GetPrevSibling();
  NodeChanged(prev ? prev : node->Parent() ? node->Parent() : node, true);
}

void TCustomqlTreeList::NodeDeleted(TqlTreeListNode* node, const DeletedNodeInfo& info) {
  if (OnDeletion) OnDeletion(this, node);
  if (clearing_) return;
  if (IsNodeSelected(node)) SetNodeSelected(node, false);

  if (roots_.empty()) {
    rowCache_.Clear();
    topNode_ = focusedNode_ = oldFocusedNode_ = nullptr;
    selectionAnchor_ = dragNode_ = hotTrackNode_ = editorNode_ = nullptr;
    if (lockUpdate_ == 0 && !IsDestroying()) {
      UpdateScrollBars();
      Invalidate();
    }
    return;
  }

  TqlTreeListNode* successor = info.prevSiblingOrParent ? info.prevSiblingOrParent
                                                        : info.nextVisible;
  const bool topMoved = topNode_ == node;
  const bool focusMoved = focusedNode_ == node;
  if (topMoved) topNode_ = successor;
  if (focusMoved) {
    focusedNode_ = successor;  // no focus events: the node is gone, not left
  }
  if (selectionAnchor_ == node) selectionAnchor_ = successor;
  if (oldFocusedNode_ == node) oldFocusedNode_ = nullptr;
  if (dragNode_ == node) dragNode_ = nullptr;
  if (hotTrackNode_ == node) hotTrackNode_ = nullptr;
  if (editorNode_ == node) editorNode_ = nullptr;
  CancelEditor();

  if (info.wasShown) {
    TqlTreeListNode* row = topMoved     ? topNode_
                           : focusMoved ? focusedNode_
                           : info.prevSiblingOrParent ? info.prevSiblingOrParent
                                                      : info.nextVisible;
    NodeChanged(row, true);
  }
}

void TCustomqlTreeList::NodeChanged(TqlTreeListNode* node, bool structural) {
  if (!node || node->InDestruction || lockUpdate_ > 0 || IsDestroying() || IsLoading()) return;
  if (!isShown(node)) return;
  if (structural) {
    UpdateScrollBars();
    InvalidateRect(NodeAndBelowRect(node));
  } else {
    InvalidateRect(NodeRect(node));
  }
}

void TCustomqlTreeList::keepTopShown() {
  if (!topNode_ || isShown(topNode_)) return;
  TqlTreeListNode* node = topNode_;
  while (node && !isShown(node)) node = node->Parent();
  topNode_ = node ? node : FirstShownNode();
}

void TCustomqlTreeList::requestLayoutIfUnlocked() {
  if (lockUpdate_ == 0) RecalcLayout();
}

// ===== update lock ==========================================================================

void TCustomqlTreeList::BeginUpdate() {
  if (lockUpdate_++ == 0) selectedCountAtLock_ = SelectedCount();
  EndMouseTracking();
  HideEditor();
  ClearRowCache();
}

void TCustomqlTreeList::EndUpdate() {
  if (lockUpdate_ == 0) return;  // unbalanced: nothing to release
  if (--lockUpdate_ > 0) return;
  RecalcLayout();
  // The layout rebuilds the cache; when it could not run (no window yet), rows still count.
  if (!rowCache_.IsValid() && !roots_.empty() && keepsRowCache()) RebuildRowCache();
  // Inside a selection lock its release reports the change, once.
  if (selectionLock_ == 0 && SelectedCount() != selectedCountAtLock_ && OnSelectedCountChange)
    OnSelectedCountChange(this);
}

// ===== per-node model answers ===============================================================

bool TCustomqlTreeList::NodeDefaultExpandable(const TqlTreeListNode* node) const {
  return node && node->HasChildren();
}

int TCustomqlTreeList::GetNodeImageIndex(const TqlTreeListNode* node) const {
  auto* text = dynamic_cast<const TqlTreeListTextNode*>(node);
  return text ? text->ImageNo : -1;
}

int TCustomqlTreeList::GetNodeSelectedIndex(const TqlTreeListNode* node) const {
  auto* text = dynamic_cast<const TqlTreeListTextNode*>(node);
  return text ? text->SelectedImageNo : -1;
}

int TCustomqlTreeList::GetNodeStateIndex(const TqlTreeListNode* node) const {
  auto* text = dynamic_cast<const TqlTreeListTextNode*>(node);
  return text ? text->StateImageNo : -1;
}

std::string TCustomqlTreeList::GetCellText(const TqlTreeListNode* node, int column) const {
  auto* text = dynamic_cast<const TqlTreeListTextNode*>(node);
  return text ? text->TextAt(column) : std::string();
}

Variant TCustomqlTreeList::GetCellValue(const TqlTreeListNode* node, int column) const {
  return Variant(GetCellText(node, column));
}

// ===== invariants ===========================================================================

void TCustomqlTreeList::CheckInvariants() const {
  auto fail = [](const std::string& what) {
    throw EInvalidqlTreeListOperation("tree-list invariant: " + what);
  };
  // Every node once, in one of the two lists; the tree's nodes kept apart for focus and top.
  std::unordered_set<const TqlTreeListNode*> seen;
  auto checkList = [&](const std::vector<TqlTreeListNode*>& list, const char* name) {
    for (const TqlTreeListNode* node : list)
      if (node->Parent()) fail(std::string("an entry of the ") + name + " list has a parent");
    forEachNode(list, [&](const TqlTreeListNode* node) {
      if (!seen.insert(node).second) fail("a node is listed twice");
      if (node->Owner() != this) fail("a node belongs to another control");
      if (node->InDestruction) fail("a listed node is being destroyed");
      if (node->children_ && node->children_->empty()) fail("a leaf carries a Children list");
      if (node->HasChildren() && !node->Expandable()) fail("a node with children is not Expandable");
      if (node->ChildrenShown && !node->Expandable()) fail("a node is expanded but not Expandable");
      for (int i = 0; i < node->Count(); ++i)
        if (node->Items(i)->Parent() != node) fail("a child names another parent");
    });
  };
  checkList(roots_, "root");
  std::unordered_set<const TqlTreeListNode*> tree;
  tree.swap(seen);
  checkList(detached_, "detached");
  for (const TqlTreeListNode* node : seen)
    if (tree.count(node)) fail("a node is both in the tree and detached");

  if (roots_.empty()) {
    if (topNode_ || focusedNode_) fail("top or focused node set without roots");
  } else {
    if (!topNode_ || !tree.count(topNode_) || !isShown(topNode_))
      fail("the top node is not a shown node of the tree");
    if (focusedNode_ && !tree.count(focusedNode_)) fail("the focused node is not in the tree");
  }
  if (lockUpdate_ < 0) fail("negative update lock");
  if (clearing_) fail("clearing flag left set");
  rowCache_.CheckInvariants(roots_);
}
