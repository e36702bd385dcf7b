#include "treelist/gallery/gallery_grids.h"

#include <algorithm>

#include "treelist/treelist_node.h"

namespace {

constexpr TColor kHeaderColor = 14739951;  // RGB 239, 233, 224: the search window's grids

}  // namespace

void ApplySearchWindowSettings(TCustomqlTreeListControl& g, TqlLookAndFeel look) {
  TFont text = MakeFont("宋体", -13, GB2312_CHARSET);
  TFont small = MakeFont("MS Sans Serif", -11, DEFAULT_CHARSET);
  g.Font().Assign(text);
  g.HeaderFont().Assign(text);
  g.BandFont().Assign(small);
  g.PreviewFont().Assign(small);
  g.PreviewFont().SetColor(clBlue);
  g.SetHeaderColor(kHeaderColor);
  g.SetLookAndFeel(look);
  g.SetDefaultLayout(true);
  g.SetOptions({tloColumnSizing, tloColumnMoving, tloBandSizing, tloBandMoving,
                tloBandHeaderWidth, tloUseBitmap, tloAutoSort, tloDragScroll,
                tloEnterShowEditor, tloImmediateEditor, tloTabThrough, tloVertThrough});
}

namespace {

TqlTreeListColumn* addColumn(TCustomqlTreeListControl& g, const char* caption, int width) {
  TqlTreeListColumn* c = g.CreateColumn();
  c->SetCaption(caption);
  c->SetWidth(width);
  return c;
}

const TSampleOrganSystem* findSystem(const std::vector<TSampleOrganSystem>& systems,
                                     const std::string& sid) {
  auto it = std::find_if(systems.begin(), systems.end(),
                         [&](const TSampleOrganSystem& s) { return s.SID == sid; });
  return it == systems.end() ? nullptr : &*it;
}

}  // namespace

TCustomqlTreeListControl* MakeTermGrid(TComponent* owner, TWinControl* parent, TqlLookAndFeel look,
                                       const std::vector<TSampleTerm>& sortedTerms, int focusRow,
                                       const TRect& bounds) {
  auto* g = new TCustomqlTreeListControl(owner);
  g->SetParent(parent);
  g->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
  ApplySearchWindowSettings(*g, look);
  g->SetPaintStyle(TqlPaintStyle::Grid);
  addColumn(*g, "拼音缩写", 100)->SetSorted(csUp);
  addColumn(*g, "中文", 220);
  addColumn(*g, "英文", 330);
  addColumn(*g, "ADR代码", 80);
  {
    TqlTreeListUpdateLock lock(*g);
    for (const TSampleTerm& t : sortedTerms) {
      TqlTreeListNode* n = g->Add();
      n->SetText(0, t.PY);
      n->SetText(1, t.Name);
      n->SetText(2, t.EName);
      n->SetText(3, t.TID);
    }
  }
  if (focusRow < g->Count()) g->SetFocusedNodeAndColumn(g->Items(focusRow), 1, true);
  return g;
}

TCustomqlTreeListControl* MakeBandedGrid(TComponent* owner, TWinControl* parent,
                                         const std::vector<TSampleTerm>& sortedTerms, const TRect& bounds) {
  constexpr int kRows = 40;
  auto* g = new TCustomqlTreeListControl(owner);
  g->SetParent(parent);
  g->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
  ApplySearchWindowSettings(*g, lfUltraFlat);
  g->SetPaintStyle(TqlPaintStyle::Grid);
  // Headers dropped outside the header panel are hidden here.
  g->SetOptions(g->Options() - TqlTreeListOptions{tloBandHeaderWidth} +
                TqlTreeListOptions{tloIndicator, tloExtCustomizing});
  g->SetDefaultLayout(false);
  g->SetShowBands(true);
  g->SetHeaderPanelRowCount(2);
  TqlTreeListBand* terms = g->Bands().Items(0);
  terms->SetCaption("术语");
  terms->SetWidth(430);
  TqlTreeListBand* empty = g->Bands().Add();
  empty->SetCaption("(no columns)");
  empty->SetWidth(160);
  auto place = [&](const char* caption, int width, int row) {
    TqlTreeListColumn* c = addColumn(*g, caption, width);
    c->SetBandIndex(0);
    c->SetRowIndex(row);
    return c;
  };
  place("拼音缩写", 110, 0)->SetSorted(csUp);
  place("中文", 320, 0);
  place("英文", 430, 1);
  TqlTreeListUpdateLock lock(*g);
  for (int i = 0; i < kRows && i < static_cast<int>(sortedTerms.size()); ++i) {
    TqlTreeListNode* n = g->Add();
    n->SetText(0, sortedTerms[i].PY);
    n->SetText(1, sortedTerms[i].Name);
    n->SetText(2, sortedTerms[i].EName);
  }
  return g;
}

namespace {

// Nodes are dragged onto other nodes of the same tree and become their last child; a node
// never goes under itself or its own descendants.
void allowMovingNodes(TCustomqlTreeListControl& tree) {
  tree.SetDragMode(dmAutomatic);
  auto target = [&tree](TObject* source, int x, int y) -> TqlTreeListNode* {
    TqlTreeListNode* dragged = tree.DragNode();
    TqlTreeListNode* over = tree.GetNodeAt({x, y});
    if (source != &tree || !dragged || !over || over == dragged || over->HasAsParent(dragged))
      return nullptr;
    return over;
  };
  tree.OnDragOver = [target](TObject*, TObject* source, int x, int y, TDragState, bool& accept) {
    accept = target(source, x, y) != nullptr;
  };
  tree.OnDragDrop = [&tree, target](TObject*, TObject* source, int x, int y) {
    if (TqlTreeListNode* over = target(source, x, y)) {
      tree.DragNode()->MoveTo(over, TqlNodeAttachMode::AddChildLast);
      over->SetExpanded(true);
    }
  };
}

}  // namespace

std::string TPreviewTree::GetPreviewText(const TqlTreeListNode* node) const {
  auto it = previews_.find(node);
  return it == previews_.end() ? std::string() : it->second;
}

TPreviewTree* MakeOrganTree(TComponent* owner, TWinControl* parent, const std::vector<TSampleTerm>& terms,
                            const std::vector<TSampleOrganSystem>& systems, const TRect& bounds) {
  constexpr int kSystemsShown = 3;
  constexpr int kTermsPerSystem = 4;
  auto* t = new TPreviewTree(owner);
  t->SetParent(parent);
  t->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
  ApplySearchWindowSettings(*t, lfFlat);
  t->SetOptions(t->Options() + TqlTreeListOptions{tloPreview, tloDragExpand, tloDragScroll});
  allowMovingNodes(*t);
  addColumn(*t, "名称", 330);
  addColumn(*t, "代码", 80);
  TqlTreeListUpdateLock lock(*t);
  for (int s = 0; s < kSystemsShown && s < static_cast<int>(systems.size()); ++s) {
    const TSampleOrganSystem& system = systems[s];
    TqlTreeListNode* sysNode = t->Add();
    sysNode->SetText(0, system.Name);
    sysNode->SetText(1, system.SID);
    t->SetPreview(sysNode, system.EName);
    int shown = 0;
    for (const TSampleTerm& term : terms) {
      if (term.SID1 != system.SID || shown == kTermsPerSystem) continue;
      ++shown;
      TqlTreeListNode* termNode = sysNode->AddChild();
      termNode->SetText(0, term.Name);
      termNode->SetText(1, term.TID);
      t->SetPreview(termNode, term.EName);
      for (const std::string* sid : {&term.SID1, &term.SID2, &term.SID3}) {
        if (sid->empty()) continue;
        const TSampleOrganSystem* filed = findSystem(systems, *sid);
        TqlTreeListNode* leaf = termNode->AddChild();
        leaf->SetText(0, filed ? filed->Name : *sid);
        leaf->SetText(1, *sid);
      }
    }
    // First and last system open (the first with its first term open), the middle one closed.
    if (s != 1) sysNode->SetExpanded(true);
    if (s == 0 && sysNode->Count() > 0) sysNode->Items(0)->SetExpanded(true);
  }
  return t;
}
