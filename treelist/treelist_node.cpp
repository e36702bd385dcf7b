// TqlTreeListNode and TqlTreeListTextNode: tree queries and tree commands. The control's side
// of every change (focus, top node, row cache, repainting) is in treelist_nodes.cpp.
#include "treelist/treelist_node.h"

#include <algorithm>
#include <optional>

#include "treelist/treelist_core.h"

namespace {

// Position of node in list, -1 when absent. Scans from both ends at once: appending and
// prepending (the usual places) then cost O(1) even in a list of a million roots.
int indexIn(const std::vector<TqlTreeListNode*>& list, const TqlTreeListNode* node) {
  int front = 0;
  int back = static_cast<int>(list.size()) - 1;
  while (front <= back) {
    if (list[back] == node) return back;
    if (list[front] == node) return front;
    ++front;
    --back;
  }
  return -1;
}

}  // namespace

// ===== construction and destruction =========================================================

TqlTreeListNode::TqlTreeListNode(TCustomqlTreeList* AOwner) : owner_(AOwner) {
  if (!AOwner) throw EInvalidqlTreeListOperation("Invalid Owner TqlTreeListNode");
}

TqlTreeListNode::~TqlTreeListNode() { DestroyNode(); }

void TqlTreeListNode::DestroyNode() {
  if (InDestruction) return;
  InDestruction = true;
  TCustomqlTreeList* owner = owner_;
  const bool clearing = owner->nodes_.Clearing();

  // The whole shown subtree leaves the rows in one pass, before the children go one by one.
  if (!clearing) owner->NodeRowsRemoving(this, true);
  DeleteChildren();

  TCustomqlTreeList::DeletedNodeInfo info;
  if (!clearing) {
    // A parent being destroyed frees its children without unlinking them (its list goes as a
    // whole); for them the parent stands in as the previous sibling, which is gone already.
    const bool parentGoing = parent_ && parent_->InDestruction;
    TqlTreeListNode* prev = parentGoing ? nullptr : GetPrevSibling();
    info.prevSiblingOrParent = prev ? prev : parent_;
    info.nextVisible = GetNextAfterSubtree();  // no children left: the next row in the tree
    info.wasLast = IsLast();
    info.wasShown = !parentGoing && owner->nodes_.IsShown(this);

    if (!parentGoing) detachFromList();
  }
  children_.reset();
  owner->NodeDeleted(this, info);
}

void TqlTreeListNode::detachFromList() {
  TCustomqlTreeList* owner = owner_;
  if (parent_) {
    TqlTreeListNode* parent = parent_;
    if (!parent->children_) return;
    auto& siblings = *parent->children_;
    if (int index = indexIn(siblings, this); index >= 0) siblings.erase(siblings.begin() + index);
    if (siblings.empty()) {
      parent->children_.reset();
      parent->ChildrenShown = false;
      parent->expandable_ = owner->NodeDefaultExpandable(parent);
      owner->NodeChanged(parent, false);  // the expand button goes
    }
  } else {
    owner->nodes_.Unlist(this);
  }
}

// ===== queries ==============================================================================

std::vector<TqlTreeListNode*>* TqlTreeListNode::siblingList() const {
  if (parent_) return parent_->children_.get();
  return &owner_->nodes_.Roots();
}

TqlTreeListNode* TqlTreeListNode::Items(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return (*children_)[index];
}

int TqlTreeListNode::Index() const {
  const auto* list = siblingList();
  return list ? indexIn(*list, this) : -1;
}

int TqlTreeListNode::IndexOf(const TqlTreeListNode* child) const {
  return children_ ? indexIn(*children_, child) : -1;
}

int TqlTreeListNode::Level() const {
  int level = 0;
  for (const TqlTreeListNode* p = parent_; p; p = p->parent_) ++level;
  return level;
}

bool TqlTreeListNode::IsLast() const {
  const auto* list = siblingList();
  return list && !list->empty() && list->back() == this;
}

bool TqlTreeListNode::IsVisible() const {
  for (const TqlTreeListNode* p = parent_; p; p = p->parent_)
    if (!p->ChildrenShown) return false;
  return true;
}

bool TqlTreeListNode::HasAsParent(const TqlTreeListNode* node) const {
  if (!node) return false;
  for (const TqlTreeListNode* p = parent_; p; p = p->parent_)
    if (p == node) return true;
  return false;
}

TqlTreeListNode* TqlTreeListNode::GetFirstChild() const { return Items(0); }
TqlTreeListNode* TqlTreeListNode::GetLastChild() const { return Items(Count() - 1); }

TqlTreeListNode* TqlTreeListNode::GetNextSibling() const {
  const auto* list = siblingList();
  if (!list) return nullptr;
  int index = indexIn(*list, this);
  if (index < 0 || index + 1 >= static_cast<int>(list->size())) return nullptr;
  return (*list)[index + 1];
}

TqlTreeListNode* TqlTreeListNode::GetPrevSibling() const {
  const auto* list = siblingList();
  if (!list) return nullptr;
  int index = indexIn(*list, this);
  return index > 0 ? (*list)[index - 1] : nullptr;
}

TqlTreeListNode* TqlTreeListNode::GetNextAfterSubtree() const {
  for (const TqlTreeListNode* n = this; n; n = n->parent_)
    if (TqlTreeListNode* next = n->GetNextSibling()) return next;
  return nullptr;
}

TqlTreeListNode* TqlTreeListNode::GetNext() const {
  if (HasChildren()) return GetFirstChild();
  return GetNextAfterSubtree();
}

TqlTreeListNode* TqlTreeListNode::GetPrev() const {
  TqlTreeListNode* prev = GetPrevSibling();
  if (!prev) return parent_;
  while (prev->HasChildren()) prev = prev->GetLastChild();
  return prev;
}

TqlTreeListNode* TqlTreeListNode::nextVisibleInTree() const {
  if (ChildrenShown && HasChildren()) return GetFirstChild();
  return GetNextAfterSubtree();
}

TqlTreeListNode* TqlTreeListNode::prevVisibleInTree() const {
  TqlTreeListNode* prev = GetPrevSibling();
  if (!prev) return parent_;
  while (prev->ChildrenShown && prev->HasChildren()) prev = prev->GetLastChild();
  return prev;
}

TqlTreeListNode* TqlTreeListNode::GetNextVisible() const {
  if (owner_->nodes_.RowCacheUsable()) {
    const TqlVisibleRowCache& rows = owner_->nodes_.RowCache();
    int row = rows.RowIndexOf(this);
    if (row >= 0) return rows.NodeAt(row + 1);
  }
  return nextVisibleInTree();
}

TqlTreeListNode* TqlTreeListNode::GetPrevVisible() const {
  if (owner_->nodes_.RowCacheUsable()) {
    const TqlVisibleRowCache& rows = owner_->nodes_.RowCache();
    int row = rows.RowIndexOf(this);
    if (row >= 0) return rows.NodeAt(row - 1);
  }
  return prevVisibleInTree();
}

void TqlTreeListNode::rowAppearanceChanged() { owner_->NodeChanged(this, false); }

int TqlTreeListNode::RowIndex() const { return owner_->RowIndexOfNode(this); }
bool TqlTreeListNode::Focused() const { return owner_->FocusedNode() == this; }
bool TqlTreeListNode::Selected() const { return owner_->IsNodeSelected(this); }
std::string TqlTreeListNode::Text(int column) const { return owner_->GetCellText(this, column); }
Variant TqlTreeListNode::Value(int column) const { return owner_->GetCellValue(this, column); }
int TqlTreeListNode::ImageIndex() const { return owner_->GetNodeImageIndex(this); }
int TqlTreeListNode::SelectedIndex() const { return owner_->GetNodeSelectedIndex(this); }
int TqlTreeListNode::StateIndex() const { return owner_->GetNodeStateIndex(this); }

// ===== commands =============================================================================

TqlTreeListNode* TqlTreeListNode::AddChild() { return InsertChild(nullptr); }

TqlTreeListNode* TqlTreeListNode::InsertChild(TqlTreeListNode* beforeSibling) {
  TqlTreeListNode* node = owner_->CreateNode();
  node->parent_ = this;
  if (!children_) children_ = std::make_unique<std::vector<TqlTreeListNode*>>();
  int before = beforeSibling ? indexIn(*children_, beforeSibling) : -1;
  if (before >= 0)
    children_->insert(children_->begin() + before, node);
  else
    children_->push_back(node);
  if (!expandable_) {
    expandable_ = true;
    owner_->NodeChanged(this, false);
  }
  owner_->NodeAdded(node);
  return node;
}

void TqlTreeListNode::MoveTo(TqlTreeListNode* target, TqlNodeAttachMode mode) {
  using M = TqlNodeAttachMode;
  if (!target || target->owner_ != owner_) return;
  const bool intoTarget = mode == M::AddChildLast || mode == M::AddChildFirst;
  if (target == this && (intoTarget || mode == M::PlaceBefore)) return;
  if (target->HasAsParent(this)) return;

  TCustomqlTreeList* owner = owner_;
  TqlTreeListUpdateLock lock(*owner);
  // Where the node goes, named before it leaves (the target may be the node itself).
  TqlTreeListNode* newParent = intoTarget ? target : target->parent_;

  detachFromList();

  // Attach. A target outside the tree (detached) lends its place in the root list.
  std::vector<TqlTreeListNode*>* list = &owner->nodes_.Roots();
  if (newParent) {
    if (!newParent->children_)
      newParent->children_ = std::make_unique<std::vector<TqlTreeListNode*>>();
    list = newParent->children_.get();
    newParent->expandable_ = true;
  }
  int at = 0;
  switch (mode) {
    case M::AddLast:
    case M::AddChildLast: at = static_cast<int>(list->size()); break;
    case M::AddFirst:
    case M::AddChildFirst: at = 0; break;
    case M::PlaceBefore: at = std::max(0, indexIn(*list, target)); break;
  }
  list->insert(list->begin() + at, this);
  parent_ = newParent;

  owner->SetFocusedNodeAndColumn(this, owner->FocusedColumn(), false);
  owner->RebuildRowCache();
  MakeVisible();
  owner->keepTopShown();
}

void TqlTreeListNode::DeleteChildren() {
  if (!children_) return;
  if (InDestruction || owner_->nodes_.Clearing()) {
    // The list goes as a whole: no child unlinks itself from it.
    auto children = std::move(children_);
    for (TqlTreeListNode* child : *children) delete child;
    return;
  }
  owner_->NodeRowsRemoving(this, false);
  while (children_ && !children_->empty()) delete children_->front();
}

void TqlTreeListNode::SetExpanded(bool value) {
  if (!expandable_ || ChildrenShown == value) return;
  TCustomqlTreeList* owner = owner_;
  bool allow = true;
  if (auto& asking = value ? owner->OnExpanding : owner->OnCollapsing) asking(owner, this, allow);
  // The handler may refuse, or fill or empty the node (a data layer loads on expansion).
  if (!allow || !expandable_ || ChildrenShown == value) return;

  if (value) {
    ChildrenShown = true;
    owner->NodeRowsInserted(this);
  } else {
    if (owner->topNode_ && owner->topNode_->HasAsParent(this)) owner->topNode_ = this;
    if (owner->focusedNode_ && owner->focusedNode_->HasAsParent(this)) {
      owner->SetFocusedNodeAndColumn(this, owner->FocusedColumn(), false);
      if (owner->focusedNode_ != this) return;  // the focus change was refused
    }
    owner->NodeRowsRemoving(this, false);
    ChildrenShown = false;
  }
  owner->NodeChanged(this, true);
  if (auto& told = value ? owner->OnExpanded : owner->OnCollapsed) told(owner, this);
}

void TqlTreeListNode::Expand(bool recursive) {
  if (!expandable_) return;
  std::optional<TqlTreeListUpdateLock> lock;
  if (owner_->LockUpdate() == 0) lock.emplace(*owner_);
  SetExpanded(true);
  if (recursive)
    for (int i = 0; i < Count(); ++i) Items(i)->Expand(true);
}

void TqlTreeListNode::Collapse(bool recursive) {
  if (!recursive) {
    SetExpanded(false);
    return;
  }
  std::optional<TqlTreeListUpdateLock> lock;
  if (owner_->LockUpdate() == 0) lock.emplace(*owner_);
  SetExpanded(false);
  for (int i = 0; i < Count(); ++i) Items(i)->Collapse(true);
}

void TqlTreeListNode::SetExpandable(bool value) {
  if (expandable_ == value) return;
  expandable_ = value || HasChildren();
  if (!expandable_) ChildrenShown = false;  // a node without a button is not expanded
  owner_->NodeChanged(this, false);
}

void TqlTreeListNode::SetFocused(bool value) {
  if (Focused() == value) return;
  // Focusing none is not a move the control makes: a grid with rows keeps a focused node.
  if (value) owner_->SetFocusedNodeAndColumn(this, owner_->FocusedColumn(), false);
}

void TqlTreeListNode::SetSelected(bool value) { owner_->SetNodeSelected(this, value); }

void TqlTreeListNode::MakeVisible() {
  TCustomqlTreeList* owner = owner_;
  std::optional<TqlTreeListUpdateLock> lock;
  if (!IsVisible()) {
    lock.emplace(*owner);
    std::vector<TqlTreeListNode*> ancestors;
    for (TqlTreeListNode* p = parent_; p; p = p->parent_) ancestors.push_back(p);
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it)
      if (!(*it)->ChildrenShown) (*it)->SetExpanded(true);
  }
  int row = RowIndex();
  if (row < 0) return;  // an expansion was refused
  int top = owner->TopRowIndex();
  int lastFull = top + std::max(1, owner->Metrics().FullRowCount) - 1;
  if (top < 0 || row < top)
    owner->SetTopNode(this);
  else if (row > lastFull)
    owner->SetTopRowIndex(owner->LastPageTopRowIndex(row));
}

void TqlTreeListNode::SetText(int, const std::string&) {}  // a plain node keeps no texts

void TqlTreeListNode::SetImageIndex(int value) {
  auto* node = dynamic_cast<TqlTreeListTextNode*>(this);
  if (!node || node->ImageNo == value) return;
  node->ImageNo = value;
  owner_->NodeChanged(this, false);
}

void TqlTreeListNode::SetSelectedIndex(int value) {
  auto* node = dynamic_cast<TqlTreeListTextNode*>(this);
  if (!node || node->SelectedImageNo == value) return;
  node->SelectedImageNo = value;
  owner_->NodeChanged(this, false);
}

void TqlTreeListNode::SetStateIndex(int value) {
  auto* node = dynamic_cast<TqlTreeListTextNode*>(this);
  if (!node || node->StateImageNo == value) return;
  node->StateImageNo = value;
  owner_->NodeChanged(this, false);
}

void TqlTreeListNode::ChildrenToRoots() {
  TCustomqlTreeList* owner = owner_;
  if (auto children = std::move(children_)) {
    for (TqlTreeListNode* child : *children) {
      child->parent_ = nullptr;
      owner->nodes_.Roots().push_back(child);
    }
  }
  ChildrenShown = false;
  expandable_ = owner->NodeDefaultExpandable(this);
  owner->nodes_.RowsRestructured();
  owner->SetFocusedNodeAndColumn(this, owner->FocusedColumn(), false);
  owner->NodeChanged(this, true);
}

// ===== text node ============================================================================

TqlTreeListTextNode::~TqlTreeListTextNode() { DestroyNode(); }

const std::string& TqlTreeListTextNode::TextAt(int column) const {
  static const std::string empty;
  if (column < 0 || column >= static_cast<int>(Texts.size())) return empty;
  return Texts[column];
}

void TqlTreeListTextNode::SetText(int column, const std::string& value) {
  if (column < 0) return;
  if (column >= static_cast<int>(Texts.size())) Texts.resize(column + 1);
  if (Texts[column] == value) return;
  Texts[column] = value;
  rowAppearanceChanged();
}

void TqlTreeListTextNode::MoveText(int fromColumn, int toColumn) {
  if (fromColumn < 0 || toColumn < 0 || fromColumn == toColumn) return;
  size_t needed = static_cast<size_t>(std::max(fromColumn, toColumn)) + 1;
  if (Texts.size() < needed) Texts.resize(needed);
  auto from = Texts.begin() + fromColumn;
  auto to = Texts.begin() + toColumn;
  if (fromColumn < toColumn)
    std::rotate(from, from + 1, to + 1);
  else
    std::rotate(to, from, from + 1);
}

void TqlTreeListTextNode::RemoveText(int column) {
  if (column < 0 || column >= static_cast<int>(Texts.size())) return;
  Texts.erase(Texts.begin() + column);
}
