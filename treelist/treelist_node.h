#pragma once
// TqlTreeListNode: one entry of the grid's tree. A node owns its children; the control owns
// the roots. Nodes are created only through the control (which picks the node class).
//
// Invariants (CheckInvariants in the control verifies them):
//   - a node is in exactly one list: its parent's Children or the control's root list
//     (or the control's detached list, then with no parent);
//   - Children is null while the node has no children (a leaf carries no list);
//   - Expandable is true whenever Children is non-empty;
//   - a node whose last child leaves gets ChildrenShown false and Expandable from the
//     control's default (NodeDefaultExpandable).
#include <memory>
#include <string>
#include <vector>

#include "platform/core/variant.h"
#include "treelist/node_pool.h"
#include "treelist/treelist_types.h"

class TCustomqlTreeList;

class TqlTreeListNode {
 public:
  // Owner must not be null: EInvalidqlTreeListOperation "Invalid Owner TqlTreeListNode".
  explicit TqlTreeListNode(TCustomqlTreeList* AOwner);
  // Destroys the subtree deepest first, unlinks the node and tells the control (DestroyNode).
  // The control's OnDeletion handler runs from here and must not throw.
  virtual ~TqlTreeListNode();
  TqlTreeListNode(const TqlTreeListNode&) = delete;
  TqlTreeListNode& operator=(const TqlTreeListNode&) = delete;
  // Every node class takes its memory from the node pool (node_pool.h).
  static void* operator new(std::size_t size) { return TqlNodePool::Allocate(size); }
  static void operator delete(void* p, std::size_t size) noexcept { TqlNodePool::Release(p, size); }

  // --- read-only queries -------------------------------------------------------------
  TCustomqlTreeList* Owner() const { return owner_; }
  TqlTreeListNode* Parent() const { return parent_; }
  int Count() const { return children_ ? static_cast<int>(children_->size()) : 0; }
  TqlTreeListNode* Items(int index) const;  // null when out of range
  bool HasChildren() const { return Count() > 0; }
  int Index() const;                        // among siblings (or roots)
  int IndexOf(const TqlTreeListNode* child) const;  // -1 when not a child
  int Level() const;
  bool IsLast() const;
  bool IsVisible() const;                   // every ancestor expanded
  bool HasAsParent(const TqlTreeListNode* node) const;  // node is an ancestor
  TqlTreeListNode* GetFirstChild() const;
  TqlTreeListNode* GetLastChild() const;
  TqlTreeListNode* GetNextSibling() const;
  TqlTreeListNode* GetPrevSibling() const;
  TqlTreeListNode* GetNext() const;          // pre-order, ignoring expansion
  TqlTreeListNode* GetPrev() const;
  TqlTreeListNode* GetNextVisible() const;   // through expanded nodes only
  TqlTreeListNode* GetPrevVisible() const;
  // Pre-order successor outside the own subtree: the next sibling, else the next sibling of
  // the nearest ancestor that has one; null at the end.
  TqlTreeListNode* GetNextAfterSubtree() const;
  int RowIndex() const;                      // -1 when not shown
  bool Focused() const;
  bool Selected() const;
  std::string Text(int column) const;
  // The text a node keeps for a column, without a copy; null for a node class that keeps none.
  virtual const std::string* KeptText(int column) const { return nullptr; }
  Variant Value(int column) const;
  int ImageIndex() const;
  int SelectedIndex() const;
  int StateIndex() const;

  bool Expanded() const { return ChildrenShown; }
  bool Expandable() const { return expandable_; }

  // --- commands -------------------------------------------------------------------------
  TqlTreeListNode* AddChild();
  TqlTreeListNode* InsertChild(TqlTreeListNode* beforeSibling);
  void MoveTo(TqlTreeListNode* target, TqlNodeAttachMode mode);
  void DeleteChildren();
  void SetExpanded(bool value);
  void Expand(bool recursive);
  void Collapse(bool recursive);
  void SetExpandable(bool value);
  void SetFocused(bool value);
  void SetSelected(bool value);
  void MakeVisible();
  virtual void SetText(int column, const std::string& value);
  void SetImageIndex(int value);
  void SetSelectedIndex(int value);
  void SetStateIndex(int value);
  // Every child becomes a root (appended), this node loses its children and takes the focus.
  void ChildrenToRoots();

  // --- fields ---------------------------------------------------------------------------
  void* UserPointer = nullptr;  // free for the user or the data layer; the core never reads it
  bool InDestruction = false;   // set first thing in destruction
  bool ChildrenShown = false;   // expanded; only true while Expandable
  int CachedHeight = 0;         // whole row height in pixels as last computed; 0 = not computed
  int CachedLineCount = 0;      // text lines of an auto-height row as last computed; 0 = not computed

 protected:
  friend class TCustomqlTreeList;
  friend class TqlTreeListNodeStore;  // checks that a leaf carries no list
  // The whole of a node's destruction: children deepest first, unlinking, the control's
  // bookkeeping and OnDeletion. Runs once (InDestruction guards it). A node class whose
  // handlers read its own fields calls it first thing in its destructor, so that OnDeletion
  // and the control's questions still see a whole node; the base destructor calls it for
  // classes that do not.
  void DestroyNode();
  // Tree walks through expanded nodes, not using the control's row cache.
  TqlTreeListNode* nextVisibleInTree() const;
  TqlTreeListNode* prevVisibleInTree() const;
  // This node's list in the tree: the parent's children or the control's roots.
  std::vector<TqlTreeListNode*>* siblingList() const;
  // Asks the control to repaint this node's row (an appearance change).
  void rowAppearanceChanged();
  // Takes the node out of its list (parent's children, roots or detached); ParentNode stays.
  // A parent left without children loses its list and its button and is collapsed.
  void detachFromList();
  std::unique_ptr<std::vector<TqlTreeListNode*>> children_;  // owning; null for a leaf
  TqlTreeListNode* parent_ = nullptr;                         // null for a root
  TCustomqlTreeList* owner_;                                  // never null
  bool expandable_ = false;     // true whenever children_ is non-empty
};

// The node class the control creates: one text per column and three image indexes.
class TqlTreeListTextNode : public TqlTreeListNode {
 public:
  using TqlTreeListNode::TqlTreeListNode;
  ~TqlTreeListTextNode() override;  // OnDeletion still reads the texts
  int ImageNo = 0;
  int SelectedImageNo = -1;
  int StateImageNo = -1;
  // Texts[i] is the text of the column whose index is i; entries past the end read as empty.
  std::vector<std::string> Texts;
  const std::string& TextAt(int column) const;
  const std::string* KeptText(int column) const override { return &TextAt(column); }
  void SetText(int column, const std::string& value) override;
  // Moves the entry of one column index to another (a column moved in the column list).
  void MoveText(int fromColumn, int toColumn);
  void RemoveText(int column);
};
