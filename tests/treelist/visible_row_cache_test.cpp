// The visible-row cache: in-place updates against a fresh walk of the tree.
#include "treelist/visible_row_cache.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/treelist/bare_tree_list.h"

namespace {

std::vector<TqlTreeListNode*> allNodes(const TCustomqlTreeList& tree) {
  std::vector<TqlTreeListNode*> nodes;
  for (TqlTreeListNode* n = tree.FirstShownNode(); n; n = n->GetNext()) nodes.push_back(n);
  return nodes;
}

TEST(VisibleRowCache, RowRunsInsertedAndRemovedInPlace) {
  BareTreeList tree;
  BuildTree(tree, "A B C D E");
  const std::vector<TqlTreeListNode*> n = allNodes(tree);
  TqlVisibleRowCache cache;
  struct Case {
    const char* name;
    void (*act)(TqlVisibleRowCache&, const std::vector<TqlTreeListNode*>&);
    std::vector<int> rows;  // indexes into n, in display order
  };
  const Case cases[] = {
      {"remove a middle run", [](auto& c, auto&) { c.RemoveRows(1, 2); }, {0, 3, 4}},
      {"remove the tail, count clipped", [](auto& c, auto&) { c.RemoveRows(3, 9); }, {0, 1, 2}},
      {"remove nothing", [](auto& c, auto&) { c.RemoveRows(5, 1); }, {0, 1, 2, 3, 4}},
      {"reinsert a run at the front",
       [](auto& c, auto& nodes) { c.RemoveRows(0, 2); c.InsertRows(0, {nodes[0], nodes[1]}); },
       {0, 1, 2, 3, 4}},
      {"move the last to the front",
       [](auto& c, auto& nodes) { c.RemoveRows(4, 1); c.InsertRows(0, {nodes[4]}); }, {4, 0, 1, 2, 3}},
      {"insert at the end",
       [](auto& c, auto& nodes) { c.RemoveRows(1, 2); c.InsertRows(3, {nodes[2], nodes[1]}); },
       {0, 3, 4, 2, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cache.Rebuild(tree.Roots());
    c.act(cache, n);
    ASSERT_EQ(cache.Count(), static_cast<int>(c.rows.size()));
    for (size_t row = 0; row < c.rows.size(); ++row) {
      TqlTreeListNode* node = n[c.rows[row]];
      EXPECT_EQ(cache.NodeAt(static_cast<int>(row)), node);
      EXPECT_EQ(cache.RowIndexOf(node), static_cast<int>(row));
    }
    for (int i = 0; i < static_cast<int>(n.size()); ++i) {
      if (std::find(c.rows.begin(), c.rows.end(), i) == c.rows.end()) {
        EXPECT_EQ(cache.RowIndexOf(n[i]), -1);
      }
    }
    EXPECT_EQ(cache.NodeAt(cache.Count()), nullptr);
  }
}

// Thousands of random edits, each followed by the full check: the cache stays equal to a walk
// of the tree, its look-up lists agree, and focus and top stay on shown nodes of the tree.
TEST(VisibleRowCache, StaysEqualToATreeWalkUnderRandomEdits) {
  BareTreeList tree;
  tree.SetBounds(0, 0, 300, 120);
  std::mt19937 random(20261210);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  int added = 0;

  auto randomEdit = [&](bool allowLock) {
    std::vector<TqlTreeListNode*> nodes = allNodes(tree);
    TqlTreeListNode* some = nodes.empty() ? nullptr : nodes[pick(static_cast<int>(nodes.size()))];
    TqlTreeListNode* other = nodes.empty() ? nullptr : nodes[pick(static_cast<int>(nodes.size()))];
    int op = pick(nodes.size() > 150 ? 16 : 12);
    if (!some) op = 0;
    switch (op) {
      case 0: tree.Add()->SetText(0, std::to_string(++added)); break;
      case 1: tree.Insert(tree.Items(pick(tree.Count())))->SetText(0, std::to_string(++added)); break;
      case 2:
      case 3: some->AddChild()->SetText(0, std::to_string(++added)); break;
      case 4: some->InsertChild(some->Items(pick(some->Count() + 1)))->SetText(0, std::to_string(++added)); break;
      case 5: some->MoveTo(other, static_cast<TqlNodeAttachMode>(pick(5))); break;
      case 6: some->SetExpanded(true); break;
      case 7: some->SetExpanded(false); break;
      case 8:
        if (pick(4) == 0) some->Expand(true); else some->Collapse(pick(2) == 0);
        break;
      case 9: tree.SetFocusedNodeAndColumn(some, 0, pick(2) == 0); break;
      case 10:
        if (allowLock) {
          TqlTreeListUpdateLock lock(tree);
          for (int i = pick(6); i > 0; --i) {
            std::vector<TqlTreeListNode*> inner = allNodes(tree);
            if (inner.empty()) break;
            TqlTreeListNode* n = inner[pick(static_cast<int>(inner.size()))];
            switch (pick(5)) {
              case 0: n->AddChild(); break;
              case 1: n->SetExpanded(!n->ChildrenShown); break;
              case 2: n->MoveTo(inner[pick(static_cast<int>(inner.size()))], TqlNodeAttachMode::AddChildFirst); break;
              case 3: tree.Add(); break;
              default: delete n; break;
            }
          }
        } else if (pick(40) == 0) {
          some->ChildrenToRoots();
        }
        break;
      case 11:
        if (pick(200) == 0) tree.ClearNodes(); else delete some;
        break;
      case 12:
      case 13: delete some; break;
      default: some->DeleteChildren(); break;
    }
  };

  for (int step = 0; step < 4000; ++step) {
    randomEdit(true);
    SCOPED_TRACE("step " + std::to_string(step));
    ASSERT_NO_THROW(tree.CheckInvariants());
    ASSERT_EQ(tree.LockUpdate(), 0);
    // Unlocked, the cache is kept rather than dropped.
    ASSERT_EQ(tree.RowCache().IsValid(), tree.Count() > 0);
  }
  // Every node created along the way has been freed exactly once: none is left over.
  tree.ClearNodes();
  EXPECT_EQ(TqlNodePool::LiveCount(), 0u);
}

}  // namespace
