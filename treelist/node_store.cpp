// The tree-list's node store (see node_store.h): the lists, the shown-row questions, the update
// lock's count and the row cache's upkeep.
#include "treelist/node_store.h"

#include <algorithm>
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

// Takes node out of list; false when it was not there.
bool eraseFrom(std::vector<TqlTreeListNode*>& list, const TqlTreeListNode* node) {
  auto it = std::find(list.begin(), list.end(), node);
  if (it == list.end()) return false;
  list.erase(it);
  return true;
}

}  // namespace

// ===== the lists ============================================================================

void TqlTreeListNodeStore::InsertRoot(TqlTreeListNode* node, TqlTreeListNode* beforeRoot) {
  auto at = roots_.end();
  if (beforeRoot && !beforeRoot->Parent())
    at = std::find(roots_.begin(), roots_.end(), beforeRoot);
  roots_.insert(at, node);
}

void TqlTreeListNodeStore::Unlist(TqlTreeListNode* node) {
  if (!eraseFrom(roots_, node)) eraseFrom(detached_, node);
}

void TqlTreeListNodeStore::DeleteAll() {
  clearing_ = true;
  ScopeExit resetClearing([this] { clearing_ = false; });
  rowCache_.Clear();
  for (std::vector<TqlTreeListNode*>* list : {&roots_, &detached_}) {
    std::vector<TqlTreeListNode*> doomed;
    doomed.swap(*list);
    for (TqlTreeListNode* node : doomed) delete node;
  }
}

// ===== shown rows ===========================================================================

TqlTreeListNode* TqlTreeListNodeStore::FirstShownNode() const {
  return roots_.empty() ? nullptr : roots_.front();
}

TqlTreeListNode* TqlTreeListNodeStore::LastShownNode() const {
  if (roots_.empty()) return nullptr;
  TqlTreeListNode* node = roots_.back();
  while (node->ChildrenShown && node->HasChildren()) node = node->GetLastChild();
  return node;
}

TqlTreeListNode* TqlTreeListNodeStore::NodeAtRowIndex(int rowIndex) const {
  if (RowCacheUsable()) return rowCache_.NodeAt(rowIndex);
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

int TqlTreeListNodeStore::RowIndexOfNode(const TqlTreeListNode* node) const {
  if (!node || node->Owner() != &grid_) return -1;
  if (RowCacheUsable()) return rowCache_.RowIndexOf(node);
  if (!IsShown(node)) return -1;
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

int TqlTreeListNodeStore::ShownRowCount() const {
  if (RowCacheUsable()) return rowCache_.Count();
  int count = 0;
  walkShownRows(roots_, [&](TqlTreeListNode*) {
    ++count;
    return true;
  });
  return count;
}

bool TqlTreeListNodeStore::IsShown(const TqlTreeListNode* node) const {
  if (!node->IsVisible()) return false;
  if (detached_.empty()) return true;
  const TqlTreeListNode* top = node;
  while (top->Parent()) top = top->Parent();
  return std::find(detached_.begin(), detached_.end(), top) == detached_.end();
}

bool TqlTreeListNodeStore::InTree(const TqlTreeListNode* node) const {
  if (!node || node->Owner() != &grid_) return false;
  while (node->Parent()) node = node->Parent();
  return std::find(roots_.begin(), roots_.end(), node) != roots_.end();
}

// ===== the update lock ======================================================================

bool TqlTreeListNodeStore::Unlock() {
  if (lockCount_ == 0) return false;  // unbalanced: nothing to release
  return --lockCount_ == 0;
}

// ===== the row cache ========================================================================

bool TqlTreeListNodeStore::RowCacheUsable() const {
  return rowCache_.IsValid() && !grid_.IsDestroying();
}

bool TqlTreeListNodeStore::KeepsRowCache() const {
  return lockCount_ == 0 && !grid_.IsLoading() && !grid_.IsDestroying();
}

void TqlTreeListNodeStore::resetCachedHeights() {
  auto reset = [](TqlTreeListNode* node) { node->CachedHeight = 0; };
  forEachNode(roots_, reset);
  forEachNode(detached_, reset);
}

void TqlTreeListNodeStore::ClearRowCache() {
  const bool wasValid = rowCache_.IsValid();
  rowCache_.Clear();
  if (wasValid || lockCount_ == 0) resetCachedHeights();
}

void TqlTreeListNodeStore::RebuildRowCache() {
  rowCache_.Rebuild(roots_);
  // Auto-height rows measure their text again: the rows they measured against may differ.
  if (grid_.IsOption(tloRowAutoHeight) && grid_.MaxRowLineCount() != 0 && !clearing_)
    resetCachedHeights();
}

void TqlTreeListNodeStore::RowsRestructured() {
  if (KeepsRowCache())
    RebuildRowCache();
  else
    rowCache_.Clear();
}

void TqlTreeListNodeStore::NodeRowAdded(TqlTreeListNode* node) {
  if (!KeepsRowCache()) {
    rowCache_.Clear();
    return;
  }
  if (!rowCache_.IsValid()) {
    RebuildRowCache();  // invalid while unlocked means the tree had no rows
    return;
  }
  // A new node is a leaf: its row is where its successor outside it stands now.
  TqlTreeListNode* after = node->GetNextAfterSubtree();
  int row = after ? rowCache_.RowIndexOf(after) : rowCache_.Count();
  if (row < 0)
    rowCache_.Clear();
  else
    rowCache_.InsertRows(row, {node});
}

void TqlTreeListNodeStore::NodeRowsRemoving(TqlTreeListNode* node, bool withNode) {
  if (!rowCache_.IsValid()) return;
  if (!KeepsRowCache()) {
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

void TqlTreeListNodeStore::NodeRowsInserted(TqlTreeListNode* node) {
  if (!KeepsRowCache()) {
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
  rowCache_.InsertRows(row + 1, rows);
}

bool TqlTreeListNodeStore::CanPermuteRootRows() const {
  return KeepsRowCache() && rowCache_.IsValid() && rowCache_.Count() == int(roots_.size());
}

// ===== invariants ===========================================================================

void TqlTreeListNodeStore::CheckInvariants() const {
  auto fail = [](const std::string& what) {
    throw EInvalidqlTreeListOperation("tree-list invariant: " + what);
  };
  // Every node once, in one of the two lists.
  std::unordered_set<const TqlTreeListNode*> seen;
  auto checkList = [&](const std::vector<TqlTreeListNode*>& list, const char* name) {
    for (const TqlTreeListNode* node : list)
      if (node->Parent()) fail(std::string("an entry of the ") + name + " list has a parent");
    forEachNode(list, [&](const TqlTreeListNode* node) {
      if (!seen.insert(node).second) fail("a node is listed twice");
      if (node->Owner() != &grid_) fail("a node belongs to another control");
      if (node->InDestruction) fail("a listed node is being destroyed");
      if (node->children_ && node->children_->empty()) fail("a leaf carries a Children list");
      if (node->HasChildren() && !node->Expandable())
        fail("a node with children is not Expandable");
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
  if (lockCount_ < 0) fail("negative update lock");
  if (clearing_) fail("clearing flag left set");
  rowCache_.CheckInvariants(roots_);
}
