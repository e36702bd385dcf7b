// Nodes of the tree-list: queries, moves, deletion, expansion, focus and the update lock.
#include "treelist/treelist_node.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/treelist/bare_tree_list.h"

namespace {

using M = TqlNodeAttachMode;

// The fixture tree: F is collapsed, so G is the one node not shown.
constexpr const char* kTree = "A+(B C+(D E) F(G)) H I+(J)";

struct Tree {
  std::unique_ptr<BareTreeList> list = std::make_unique<BareTreeList>();
  explicit Tree(const char* text = kTree) {
    list->SetBounds(0, 0, 300, 60);  // a few rows: the top node can move
    BuildTree(*list, text);
    list->CheckInvariants();
  }
  TqlTreeListNode* operator[](const std::string& name) const {
    return name.empty() ? nullptr : FindNode(*list, name);
  }
  BareTreeList* operator->() const { return list.get(); }
};

TEST(TreeListNode, QueriesAgreeWithAndWithoutTheRowCache) {
  struct Case {
    const char* node;
    int index, level;
    bool isLast, isVisible;
    const char *next, *prev, *nextVisible, *prevVisible;
    int rowIndex;
  };
  const Case cases[] = {
      {"A", 0, 0, false, true, "B", "-", "B", "-", 0},
      {"B", 0, 1, false, true, "C", "A", "C", "A", 1},
      {"C", 1, 1, false, true, "D", "B", "D", "B", 2},
      {"D", 0, 2, false, true, "E", "C", "E", "C", 3},
      {"E", 1, 2, true, true, "F", "D", "F", "D", 4},
      {"F", 2, 1, true, true, "G", "E", "H", "E", 5},
      // hidden: the walks still run from it; no row
      {"G", 0, 2, true, false, "H", "F", "H", "F", -1},
      // previous ignores expansion (deepest last descendant), previous visible does not
      {"H", 1, 0, false, true, "I", "G", "I", "F", 6},
      {"I", 2, 0, true, true, "J", "H", "J", "H", 7},
      {"J", 0, 1, true, true, "-", "I", "-", "I", 8},
  };
  Tree t;
  for (bool cached : {true, false}) {
    if (!cached) t->ClearRowCache();
    ASSERT_EQ(t->RowCache().IsValid(), cached);
    EXPECT_EQ(ShownRows(*t.list), "A B C D E F H I J");
    EXPECT_EQ(NodeName(t->LastShownNode()), "J");
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.node) + (cached ? " (cache)" : " (tree walk)"));
      TqlTreeListNode* n = t[c.node];
      ASSERT_NE(n, nullptr);
      EXPECT_EQ(n->Index(), c.index);
      EXPECT_EQ(n->Level(), c.level);
      EXPECT_EQ(n->IsLast(), c.isLast);
      EXPECT_EQ(n->IsVisible(), c.isVisible);
      EXPECT_EQ(NodeName(n->GetNext()), c.next);
      EXPECT_EQ(NodeName(n->GetPrev()), c.prev);
      EXPECT_EQ(NodeName(n->GetNextVisible()), c.nextVisible);
      EXPECT_EQ(NodeName(n->GetPrevVisible()), c.prevVisible);
      EXPECT_EQ(n->RowIndex(), c.rowIndex);
      if (c.rowIndex >= 0) {
        EXPECT_EQ(t->NodeAtRowIndex(c.rowIndex), n);
      }
    }
    EXPECT_EQ(t->NodeAtRowIndex(9), nullptr);
    EXPECT_EQ(t->NodeAtRowIndex(-1), nullptr);
    EXPECT_EQ(t["A"]->Items(3), nullptr);
    EXPECT_EQ(t["A"]->IndexOf(t["D"]), -1);  // a grandchild is not a child
    EXPECT_EQ(t["A"]->IndexOf(t["F"]), 2);
  }
}

TEST(TreeListNode, CreatingWithoutOwnerFails) {
  try {
    TqlTreeListTextNode node(nullptr);
    FAIL() << "no exception";
  } catch (const EInvalidqlTreeListOperation& e) {
    EXPECT_EQ(e.Message, "Invalid Owner TqlTreeListNode");
  }
}

TEST(TreeListNode, CompareTreeOrder) {
  struct Case {
    const char *a, *b;
    int sign;
  };
  const Case cases[] = {
      {"B", "A", 1},  {"A", "B", -1},  // inside the other's subtree
      {"D", "B", 1},  {"B", "D", -1},  // lifted to the same level first
      {"G", "H", -1}, {"J", "G", 1},   // different roots
      {"D", "E", -1}, {"E", "E", 0},
  };
  Tree t;
  for (const Case& c : cases) {
    int result = TCustomqlTreeList::CompareTreeOrder(t[c.a], t[c.b]);
    EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.a << " vs " << c.b;
  }
  EXPECT_EQ(TCustomqlTreeList::CompareTreeOrder(t["B"], t["A"]), 1);
}

TEST(TreeListNode, MoveTo) {
  struct Case {
    const char *node, *target;
    M mode;
    const char* expected;  // empty: refused, nothing changes
  };
  const Case cases[] = {
      {"B", "B", M::AddChildLast, ""},    // onto itself
      {"C", "D", M::AddChildLast, ""},    // into its own subtree
      {"C", "E", M::AddChildFirst, ""},
      {"C", "D", M::PlaceBefore, ""},
      {"B", "B", M::PlaceBefore, ""},
      {"B", "", M::AddLast, ""},          // no target
      // a leaf target gets a list and a button; the moved node is made visible
      {"B", "H", M::AddChildLast, "A+(C+(D E) F(G)) H+(B) I+(J)"},
      {"D", "J", M::PlaceBefore, "A+(B C+(E) F(G)) H I+(D J)"},
      {"D", "D", M::AddLast, "A+(B C+(E D) F(G)) H I+(J)"},
      {"D", "A", M::AddFirst, "D A+(B C+(E) F(G)) H I+(J)"},
      // F loses its only child: no list, no button, collapsed
      {"G", "B", M::AddChildFirst, "A+(B+(G) C+(D E) F) H I+(J)"},
      {"C", "H", M::AddChildLast, "A+(B F(G)) H+(C+(D E)) I+(J)"},
      {"A", "I", M::AddLast, "H I+(J) A+(B C+(D E) F(G))"},
      {"J", "J", M::AddFirst, "A+(B C+(D E) F(G)) H I+(J)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.node) + " to " + c.target);
    Tree t;
    TqlTreeListNode* node = t[c.node];
    t[c.node]->MoveTo(t[c.target], c.mode);
    t->CheckInvariants();
    bool refused = std::string(c.expected).empty();
    EXPECT_EQ(DescribeTree(*t.list), refused ? kTree : c.expected);
    EXPECT_EQ(t->FocusedNode(), refused ? t["A"] : node);
    EXPECT_GE(node->RowIndex(), 0);
  }
}

TEST(TreeListNode, DeletingTheLastChildLeavesALeaf) {
  for (const char* text : {"A+(B) C", "A(B) C"}) {
    SCOPED_TRACE(text);
    Tree t(text);
    TqlTreeListNode* a = t["A"];
    delete t["B"];
    t->CheckInvariants();  // includes: a leaf carries no Children list
    EXPECT_FALSE(a->HasChildren());
    EXPECT_FALSE(a->ChildrenShown);
    EXPECT_FALSE(a->Expandable());  // the default answer: no children
    EXPECT_EQ(ShownRows(*t.list), "A C");
  }
}

TEST(TreeListNode, DeletingMovesFocusAndTopWithoutEvents) {
  struct Case {
    const char *tree, *focus, *top, *doomed;
    const char *focusAfter, *topAfter;
  };
  const Case cases[] = {
      {"A B C", "B", "A", "B", "A", "A"},        // previous sibling
      {"A B C", "A", "A", "A", "B", "B"},        // first root: next shown node
      {"A+(B C) D", "D", "A", "D", "A", "A"},    // previous sibling, not previous row
      {"A+(B C) D", "C", "B", "A", "D", "D"},    // inside a deleted subtree
      {"A+(B C) D", "C", "A", "C", "B", "A"},
      {"A+(B) D", "B", "B", "B", "A", "A"},      // only child: the parent
      {"A", "A", "A", "A", "-", "-"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.tree) + " delete " + c.doomed);
    Tree t(c.tree);
    t->SetFocusedNodeAndColumn(t[c.focus], 0, false);
    t->SetTopNode(t[c.top]);
    ASSERT_EQ(t->TopNode(), t[c.top]);
    int changes = 0;
    t->OnChangeNode = [&](TObject*, TqlTreeListNode*, TqlTreeListNode*) { ++changes; };
    delete t[c.doomed];
    t->CheckInvariants();
    EXPECT_EQ(NodeName(t->FocusedNode()), c.focusAfter);
    EXPECT_EQ(NodeName(t->TopNode()), c.topAfter);
    EXPECT_EQ(changes, 0);
  }
}

TEST(TreeListNode, OnDeletionSeesWholeNodesDeepestFirst) {
  struct Case {
    const char* name;
    void (*act)(Tree&);
    const char* expected;
  };
  const Case cases[] = {
      {"delete a subtree", [](Tree& t) { delete t["A"]; }, "B D E C G F A"},
      {"delete children", [](Tree& t) { t["C"]->DeleteChildren(); }, "D E"},
      {"clear", [](Tree& t) { t->ClearNodes(); }, "B D E C G F A H J I"},
      {"destroy the control", [](Tree& t) { t.list.reset(); }, "B D E C G F A H J I"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Tree t;
    std::string names;
    t->OnDeletion = [&](TObject*, TqlTreeListNode* node) {
      names += (names.empty() ? "" : " ") + NodeName(node);  // reads the node's texts
    };
    c.act(t);
    EXPECT_EQ(names, c.expected);
    if (t.list) t->CheckInvariants();
  }
}

TEST(TreeListNode, ClearingForgetsEverything) {
  Tree t;
  t->ClearNodes();
  t->CheckInvariants();
  EXPECT_EQ(t->Count(), 0);
  EXPECT_EQ(t->TopNode(), nullptr);
  EXPECT_EQ(t->FocusedNode(), nullptr);
  EXPECT_EQ(t->ShownRowCount(), 0);
  EXPECT_EQ(t->LockUpdate(), 0);
  BuildTree(*t.list, "X Y");  // usable again
  t->CheckInvariants();
  EXPECT_EQ(NodeName(t->FocusedNode()), "X");
}

TEST(TreeListNode, ExpandingAndCollapsing) {
  struct Case {
    const char* name;
    const char* node;
    bool expand, refuse;
    const char *rows, *events;
  };
  const Case cases[] = {
      {"expand", "F", true, false, "A B C D E F G H I J", "expanding expanded"},
      {"collapse", "C", false, false, "A B C F H I J", "collapsing collapsed"},
      {"refused", "F", true, true, "A B C D E F H I J", "expanding"},
      {"not expandable: nothing, no event", "B", true, false, "A B C D E F H I J", ""},
      {"already so", "A", true, false, "A B C D E F H I J", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Tree t;
    std::string events;
    auto log = [&](const char* what) { events += (events.empty() ? "" : " ") + std::string(what); };
    t->OnExpanding = [&](TObject*, TqlTreeListNode*, bool& allow) {
      log("expanding");
      allow = !c.refuse;
    };
    t->OnCollapsing = [&](TObject*, TqlTreeListNode*, bool& allow) {
      log("collapsing");
      allow = !c.refuse;
    };
    t->OnExpanded = [&](TObject*, TqlTreeListNode*) { log("expanded"); };
    t->OnCollapsed = [&](TObject*, TqlTreeListNode*) { log("collapsed"); };
    t[c.node]->SetExpanded(c.expand);
    t->CheckInvariants();
    EXPECT_TRUE(t->RowCache().IsValid());
    EXPECT_EQ(ShownRows(*t.list), c.rows);
    EXPECT_EQ(events, c.events);
  }
}

TEST(TreeListNode, CollapsingTakesFocusAndTopOutOfTheSubtree) {
  struct Case {
    const char *focus, *top, *collapsed, *focusAfter, *topAfter;
    int nodeChanges;
  };
  const Case cases[] = {
      {"D", "A", "C", "C", "A", 1},
      {"D", "D", "A", "A", "A", 1},
      {"B", "E", "C", "B", "C", 0},
      {"H", "B", "I", "H", "B", 0},  // neither inside
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("collapse ") + c.collapsed);
    Tree t;
    t->SetFocusedNodeAndColumn(t[c.focus], 0, false);
    t->SetTopNode(t[c.top]);
    ASSERT_EQ(t->TopNode(), t[c.top]);
    int changes = 0;
    t->OnChangeNode = [&](TObject*, TqlTreeListNode* oldNode, TqlTreeListNode* node) {
      ++changes;
      EXPECT_EQ(oldNode, t[c.focus]);
      EXPECT_EQ(node, t[c.collapsed]);
    };
    t[c.collapsed]->SetExpanded(false);
    t->CheckInvariants();
    EXPECT_EQ(NodeName(t->FocusedNode()), c.focusAfter);
    EXPECT_EQ(NodeName(t->TopNode()), c.topAfter);
    EXPECT_EQ(changes, c.nodeChanges);
  }
}

TEST(TreeListNode, RecursiveExpandAndCollapse) {
  Tree t("A(B(C) D(E(F))) G");
  t["A"]->Expand(true);
  t->CheckInvariants();
  EXPECT_EQ(ShownRows(*t.list), "A B C D E F G");
  t["D"]->Collapse(true);
  t->CheckInvariants();
  EXPECT_EQ(DescribeTree(*t.list), "A+(B+(C) D(E(F))) G");
}

TEST(TreeListNode, SetExpandableKeepsAButtonWhileThereAreChildren) {
  Tree t("A+(B) C");
  t["A"]->SetExpandable(false);
  EXPECT_TRUE(t["A"]->Expandable());
  t["C"]->SetExpandable(true);  // may be filled on expansion
  EXPECT_TRUE(t["C"]->Expandable());
  t["C"]->SetExpanded(true);
  t["C"]->SetExpandable(false);
  EXPECT_FALSE(t["C"]->ChildrenShown);
  t->CheckInvariants();
}

TEST(TreeListNode, FocusChangeEvents) {
  struct Case {
    const char* name;
    bool rowSelect;
    const char* node;
    int focusIndex;
    const char* events;
  };
  const Case cases[] = {
      {"node and column: node first", false, "B", 2, "node A>B column 2"},
      {"same node, new column", false, "A", 3, "column 3"},
      {"row focus keeps the column", true, "B", 2, "node A>B"},
      {"row focus, same node", true, "A", 3, ""},
      {"no node: nothing", false, "", 3, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Tree t;
    TqlTreeListOptions rowSelect{tloRowSelect};
    t->SetOptions(c.rowSelect ? t->Options() + rowSelect : t->Options() - rowSelect);
    std::string events;
    t->OnChangeNode = [&](TObject*, TqlTreeListNode* oldNode, TqlTreeListNode* node) {
      events += (events.empty() ? "" : " ") + ("node " + NodeName(oldNode) + ">" + NodeName(node));
    };
    t->OnChangeColumn = [&](TObject*, TqlTreeListNode*, int column) {
      events += (events.empty() ? "" : " ") + ("column " + std::to_string(column));
    };
    t->SetFocusedNodeAndColumn(t[c.node], c.focusIndex, false);
    EXPECT_EQ(events, c.events);
  }
}

TEST(TreeListNode, FocusingAHiddenNodeMakesItVisible) {
  Tree t("A(B(C)) D");
  t->SetFocusedNodeAndColumn(t["C"], 0, true);
  t->CheckInvariants();
  EXPECT_EQ(ShownRows(*t.list), "A B C D");
  EXPECT_TRUE(t["C"]->Focused());
  t["D"]->SetFocused(true);
  EXPECT_TRUE(t["D"]->Focused());
}

TEST(TreeListNode, UpdateLock) {
  BareTreeList t;
  int countChanges = 0;
  t.OnSelectedCountChange = [&](TObject*) { ++countChanges; };
  {
    TqlTreeListUpdateLock outer(t);
    BuildTree(t, "A+(B C) D");
    {
      TqlTreeListUpdateLock inner(t);
      t.Add()->SetText(0, "E");
    }
    EXPECT_EQ(t.LockUpdate(), 1);
    EXPECT_FALSE(t.RowCache().IsValid());  // queries walk the tree meanwhile
    EXPECT_EQ(ShownRows(t), "A B C D E");
    EXPECT_EQ(countChanges, 0);
  }
  EXPECT_EQ(t.LockUpdate(), 0);
  EXPECT_TRUE(t.RowCache().IsValid());
  EXPECT_EQ(countChanges, 1);  // the first node took the focus: one selected node now
  t.CheckInvariants();

  // The lock is released when an exception leaves its scope.
  try {
    TqlTreeListUpdateLock lock(t);
    throw std::runtime_error("handler failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(t.LockUpdate(), 0);
}

TEST(TreeListNode, AddingAndInserting) {
  Tree t("B D");
  t->Insert(t["B"])->SetText(0, "A");
  t->Insert(t["D"])->SetText(0, "C");
  t["B"]->AddChild()->SetText(0, "B2");
  t["B"]->InsertChild(t["B2"])->SetText(0, "B1");
  t->CheckInvariants();
  EXPECT_EQ(DescribeTree(*t.list), "A B(B1 B2) C D");
  EXPECT_TRUE(t["B"]->Expandable());
  EXPECT_EQ(NodeName(t->Items(2)), "C");
  EXPECT_EQ(t->Items(4), nullptr);
  EXPECT_GT(t->cancelEditorCalls, 0);
}

TEST(TreeListNode, ChildrenToRoots) {
  Tree t("A+(B C) D");
  t["D"]->SetFocused(true);
  t["A"]->ChildrenToRoots();
  t->CheckInvariants();
  EXPECT_EQ(DescribeTree(*t.list), "A D B C");
  EXPECT_FALSE(t["A"]->Expandable());
  EXPECT_TRUE(t["A"]->Focused());
}

TEST(TreeListTextNode, Texts) {
  struct Case {
    const char* name;
    void (*act)(TqlTreeListTextNode&);
    std::vector<std::string> texts;
  };
  const Case cases[] = {
      {"set past the end pads", [](TqlTreeListTextNode& n) { n.SetText(4, "x"); },
       {"a", "b", "c", "", "x"}},
      {"move right", [](TqlTreeListTextNode& n) { n.MoveText(0, 2); }, {"b", "c", "a"}},
      {"move left", [](TqlTreeListTextNode& n) { n.MoveText(2, 0); }, {"c", "a", "b"}},
      {"move past the end pads", [](TqlTreeListTextNode& n) { n.MoveText(1, 4); },
       {"a", "c", "", "", "b"}},
      {"remove", [](TqlTreeListTextNode& n) { n.RemoveText(1); }, {"a", "c"}},
      {"remove out of range", [](TqlTreeListTextNode& n) { n.RemoveText(7); }, {"a", "b", "c"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BareTreeList t;
    auto* node = static_cast<TqlTreeListTextNode*>(t.Add());
    node->Texts = {"a", "b", "c"};
    c.act(*node);
    EXPECT_EQ(node->Texts, c.texts);
  }
  BareTreeList t;
  TqlTreeListNode* node = t.Add();
  node->SetText(1, "one");
  EXPECT_EQ(node->Text(1), "one");
  EXPECT_EQ(node->Text(5), "");
  EXPECT_EQ(node->Value(1), Variant("one"));
  node->SetImageIndex(3);
  EXPECT_EQ(node->ImageIndex(), 3);
  EXPECT_EQ(node->SelectedIndex(), -1);
  EXPECT_EQ(node->StateIndex(), -1);
}

}  // namespace
