// The core's construction, options and framework hooks. Nodes, layout, hit testing and the
// rest live in the files named in treelist_core.h.
#include "treelist/treelist_core.h"

#include "treelist/treelist_node.h"

TCustomqlTreeList::TCustomqlTreeList(TComponent* AOwner) : TCustomqlContainer(AOwner) {
  SetTabStop(true);
  // Every font the layout measures recalculates it when it changes.
  for (TFont* font : {&bandFont_, &headerFont_, &previewFont_})
    font->OnChange = [this](TObject*) { RecalcLayout(); };
}

TCustomqlTreeList::~TCustomqlTreeList() {
  Destroying();
  ClearNodes();
}

void TCustomqlTreeList::SetOptions(TqlTreeListOptions value) {
  if (options_ == value) return;
  options_ = value;
  RecalcLayout();
}

void TCustomqlTreeList::Loaded() {
  TCustomqlContainer::Loaded();
  RecalcLayout();
}

void TCustomqlTreeList::CMFontChanged() {
  TCustomqlContainer::CMFontChanged();
  RecalcLayout();
}

void TCustomqlTreeList::Resize() {
  TCustomqlContainer::Resize();
  RecalcLayout();
}
