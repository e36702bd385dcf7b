#pragma once
// BareTreeList: the tree-list core with no bands and no columns, for node and row-cache tests
// and benchmarks. Every model query answers zero or empty; the hooks the node code calls
// (editor, selection) are counted so tests can see they ran.
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

  TAlignment GetBandAlignment(int) const override { return taLeftJustify; }
  int GetBandCount() const override { return 0; }
  int GetVisibleBandIndexToAbsolute(int) const override { return -1; }
  std::string GetBandCaption(int) const override { return {}; }
  int GetBandWidth(int) const override { return 0; }
  TAlignment GetVisibleBandAlignment(int) const override { return taLeftJustify; }
  int GetVisibleBandCount() const override { return 0; }
  int GetLeftFixedVisibleBand() const override { return -1; }
  int GetRightFixedVisibleBand() const override { return -1; }
  int GetVisibleBandMinWidth(int) const override { return 0; }
  int GetVisibleBandWidth(int) const override { return 0; }
  std::string GetVisibleBandCaption(int) const override { return {}; }
  bool GetVisibleBandSizing(int) const override { return false; }
  int GetAbsoluteBandIndexToVisible(int) const override { return -1; }
  bool GetVisibleBandOnlyOwnColumns(int) const override { return false; }
  int GetColumnCount() const override { return 0; }
  int GetColumnAt(int, int, int) const override { return -1; }
  TAlignment GetColumnHeaderAlignment(int) const override { return taLeftJustify; }
  int GetColumnBandIndex(int) const override { return -1; }
  int GetColumnHeaderWidth(int) const override { return 0; }
  int GetColumnCountInRow(int, int) const override { return 0; }
  int GetColumnColIndex(int) const override { return -1; }
  bool GetColumnCanFilter(int) const override { return false; }
  TBitmap* GetColumnHeaderGlyph(int) const override { return nullptr; }
  int GetColumnHeaderMaxLineCount(int) const override { return 0; }
  int GetColumnMinWidth(int) const override { return 0; }
  bool GetColumnSizing(int) const override { return false; }
  int GetOccupiedHeaderRowCount(int) const override { return 0; }
  int GetColumnRowIndex(int) const override { return 0; }
  TqlTreeListColumnSort GetColumnSorted(int) const override { return csNone; }
  bool GetColumnTabStop(int) const override { return false; }
  std::string GetColumnHeaderCaption(int) const override { return {}; }
  std::string GetColumnCaption(int) const override { return {}; }
  int GetColumnWidth(int) const override { return 0; }
  TColor GetColumnColor(int) const override { return clWindow; }
  const TFont& GetColumnFont(int) const override { return Font(); }
  bool ColumnHasOwnFont(int) const override { return false; }
  bool ColumnHasGlyph(int) const override { return false; }
  TAlignment GetColumnAlignment(int) const override { return taLeftJustify; }
  int GetColumnBestWidth(int, TCanvas&) const override { return 0; }

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
