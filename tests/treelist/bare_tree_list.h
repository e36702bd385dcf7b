#pragma once
// BareTreeList: the tree-list core with no bands and no columns (the empty model answers),
// for node and row-cache tests and benchmarks; the editor hook the node code calls is counted
// so tests can see it ran.
#include "platform/gfx/graphics.h"
#include "treelist/treelist_core.h"
#include "treelist/treelist_node.h"

class BareTreeList : public TCustomqlTreeList {
 public:
  explicit BareTreeList(TComponent* AOwner = nullptr) : TCustomqlTreeList(AOwner) {}
  // Node deletion reaches the counters below: nodes go while this object is whole.
  ~BareTreeList() override {
    Destroying();
    ClearNodes();
  }

  int cancelEditorCalls = 0;
  using TCustomqlTreeList::ClearRowCache;
  using TCustomqlTreeList::RebuildRowCache;

 protected:
  void CancelEditor() override { ++cancelEditorCalls; }
};

// Trees written as text: names separated by spaces, a node's children in parentheses after
// it, "+" after a name for an expanded node: "A+(B C(D)) E". The name is the node's text 0.
#include <string>
#include <vector>

inline std::string NodeName(const TqlTreeListNode* node) {
  return node ? node->Text(0) : std::string("-");
}

// Appends the nodes described by text to parent (roots when null).
inline void BuildTree(TCustomqlTreeList& tree, const std::string& text,
                      TqlTreeListNode* parent = nullptr) {
  std::vector<TqlTreeListNode*> parents{parent};
  TqlTreeListNode* last = nullptr;
  std::vector<TqlTreeListNode*> toExpand;
  size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c == ' ') { ++i; continue; }
    if (c == '(') { parents.push_back(last); ++i; continue; }
    if (c == ')') { parents.pop_back(); ++i; continue; }
    size_t end = text.find_first_of(" ()+", i);
    if (end == std::string::npos) end = text.size();
    TqlTreeListNode* p = parents.back();
    last = p ? p->AddChild() : tree.Add();
    last->SetText(0, text.substr(i, end - i));
    i = end;
    if (i < text.size() && text[i] == '+') { toExpand.push_back(last); ++i; }
  }
  for (TqlTreeListNode* node : toExpand) node->SetExpanded(true);
}

inline std::string DescribeList(const std::vector<TqlTreeListNode*>& list);
inline std::string DescribeNode(const TqlTreeListNode* node) {
  std::string s = NodeName(node) + (node->ChildrenShown ? "+" : "");
  if (node->HasChildren()) {
    std::vector<TqlTreeListNode*> children;
    for (int i = 0; i < node->Count(); ++i) children.push_back(node->Items(i));
    s += "(" + DescribeList(children) + ")";
  }
  return s;
}
inline std::string DescribeList(const std::vector<TqlTreeListNode*>& list) {
  std::string s;
  for (const TqlTreeListNode* node : list) s += (s.empty() ? "" : " ") + DescribeNode(node);
  return s;
}
inline std::string DescribeTree(const TCustomqlTreeList& tree) { return DescribeList(tree.Roots()); }

// The shown rows by name, through the control's row queries.
inline std::string ShownRows(const TCustomqlTreeList& tree) {
  std::string s;
  for (int row = 0; row < tree.ShownRowCount(); ++row)
    s += (s.empty() ? "" : " ") + NodeName(tree.NodeAtRowIndex(row));
  return s;
}

// First node with the given name in tree order (null when none).
inline TqlTreeListNode* FindNode(const TCustomqlTreeList& tree, const std::string& name) {
  for (TqlTreeListNode* n = tree.FirstShownNode(); n; n = n->GetNext())
    if (NodeName(n) == name) return n;
  return nullptr;
}
