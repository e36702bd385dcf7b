// The grid's side of its nodes: making them, the focus and top node bookkeeping around the
// node store's changes (node_store.h), repainting, the update lock and the invariant check.
#include <optional>
#include <string>

#include "platform/core/scope_exit.h"
#include "treelist/treelist_core.h"
#include "treelist/treelist_node.h"

// ===== roots ================================================================================

TqlTreeListNode* TCustomqlTreeList::CreateNode() { return new TqlTreeListTextNode(this); }

TqlTreeListNode* TCustomqlTreeList::Add() { return Insert(nullptr); }

TqlTreeListNode* TCustomqlTreeList::Insert(TqlTreeListNode* beforeRoot) {
  TqlTreeListNode* node = CreateNode();
  nodes_.InsertRoot(node, beforeRoot);
  NodeAdded(node);
  return node;
}

TqlTreeListNode* TCustomqlTreeList::Items(int rootIndex) const {
  if (rootIndex < 0 || rootIndex >= Count()) return nullptr;
  return nodes_.Roots()[rootIndex];
}

void TCustomqlTreeList::ClearNodes() {
  std::optional<TqlTreeListUpdateLock> lock;  // no lock (and no layout) while destroying
  if (!IsDestroying()) lock.emplace(*this);
  ClearSelection();
  focusedNode_ = oldFocusedNode_ = editorNode_ = nullptr;
  selectionAnchor_ = dragNode_ = hotTrackNode_ = dragExpandNode_ = nullptr;
  topNode_ = nullptr;
  nodes_.DeleteAll();
}

// No update lock: it would forget every node's measured height, and filtering changes which
// rows show, not how tall they are. The row cache is rebuilt over the shown rows.
void TCustomqlTreeList::ReplaceTopLevelNodes(std::vector<TqlTreeListNode*> shown,
                                             std::vector<TqlTreeListNode*> hidden) {
  EndMouseTracking();
  HideEditor();
  CancelEditor();
  for (TqlTreeListNode* node : hidden)
    if (IsNodeSelected(node)) SetNodeSelected(node, false);
  nodes_.Roots() = std::move(shown);
  nodes_.Detached() = std::move(hidden);
  auto gone = [this](TqlTreeListNode*& node) {
    if (node && !nodes_.InTree(node)) node = nullptr;
  };
  for (TqlTreeListNode** role : {&topNode_, &focusedNode_, &oldFocusedNode_, &selectionAnchor_,
                                 &dragNode_, &dragExpandNode_, &hotTrackNode_, &editorNode_})
    gone(*role);
  if (!topNode_) topNode_ = FirstShownNode();
  nodes_.RowsRestructured();
  if (nodes_.LockCount() > 0 || IsDestroying()) return;
  if (nodes_.RowCache().IsValid()) {
    UpdateScrollBars();
    Invalidate();
  } else {
    RecalcLayout();
  }
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

// ===== node bookkeeping =====================================================================

void TCustomqlTreeList::NodeAdded(TqlTreeListNode* node) {
  CancelEditor();
  if (!topNode_ && nodes_.IsShown(node)) topNode_ = node;
  if (!focusedNode_) focusedNode_ = topNode_;
  if (!nodes_.IsShown(node)) return;
  nodes_.NodeRowAdded(node);
  if (!nodes_.KeepsRowCache()) return;
  TqlTreeListNode* prev = node->GetPrevSibling();
  NodeChanged(prev ? prev : node->Parent() ? node->Parent() : node, true);
}

void TCustomqlTreeList::NodeDeleted(TqlTreeListNode* node, const DeletedNodeInfo& info) {
  if (OnDeletion) OnDeletion(this, node);
  if (nodes_.Clearing()) return;
  if (IsNodeSelected(node)) SetNodeSelected(node, false);

  if (nodes_.Roots().empty()) {
    nodes_.DropRowCache();
    topNode_ = focusedNode_ = oldFocusedNode_ = nullptr;
    selectionAnchor_ = dragNode_ = hotTrackNode_ = editorNode_ = dragExpandNode_ = nullptr;
    if (nodes_.LockCount() == 0 && !IsDestroying()) {
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
  if (dragExpandNode_ == node) dragExpandNode_ = nullptr;
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
  if (!node || node->InDestruction || nodes_.LockCount() > 0 || IsDestroying() || IsLoading()) return;
  if (!nodes_.IsShown(node)) return;
  if (structural) {
    UpdateScrollBars();
    InvalidateRect(NodeAndBelowRect(node));
  } else {
    InvalidateRect(NodeRect(node));
  }
}

void TCustomqlTreeList::keepTopShown() {
  if (!topNode_ || nodes_.IsShown(topNode_)) return;
  TqlTreeListNode* node = topNode_;
  while (node && !nodes_.IsShown(node)) node = node->Parent();
  topNode_ = node ? node : FirstShownNode();
}

// ===== update lock ==========================================================================

void TCustomqlTreeList::BeginUpdate() {
  if (nodes_.Lock()) selectedCountAtLock_ = SelectedCount();
  EndMouseTracking();
  HideEditor();
  nodes_.ClearRowCache();
}

void TCustomqlTreeList::EndUpdate() {
  if (!nodes_.Unlock()) return;  // still locked, or nothing was
  RecalcLayout();
  // The layout rebuilds the cache; when it could not run (no window yet), rows still count.
  if (!nodes_.RowCache().IsValid() && !nodes_.Roots().empty() && nodes_.KeepsRowCache())
    nodes_.RebuildRowCache();
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
  nodes_.CheckInvariants();
  auto fail = [](const std::string& what) {
    throw EInvalidqlTreeListOperation("tree-list invariant: " + what);
  };
  if (nodes_.Roots().empty()) {
    if (topNode_ || focusedNode_) fail("top or focused node set without roots");
  } else {
    if (!nodes_.InTree(topNode_) || !nodes_.IsShown(topNode_))
      fail("the top node is not a shown node of the tree");
    if (focusedNode_ && !nodes_.InTree(focusedNode_)) fail("the focused node is not in the tree");
  }
}
