#pragma once
// The grids of the gallery window: the term grid as the search window sets it up (in any of
// the three looks), and a small organ-system tree in tree paint style with preview text.
#include <string>
#include <unordered_map>
#include <vector>

#include "treelist/gallery/sample_terms.h"
#include "treelist/treelist_control.h"

// Fonts, header colour, DefaultLayout and options of the search window's grids, in any look.
void ApplySearchWindowSettings(TCustomqlTreeListControl& grid, TqlLookAndFeel look);

// The term grid: columns 拼音缩写, 中文, 英文, ADR代码 filled with `sortedTerms` in the given
// order, the pinyin column marked as sorted ascending, the fonts, header colour, paint style
// and options of the search window's grids, the focus on `focusRow` in the 中文 column.
TCustomqlTreeListControl* MakeTermGrid(TComponent* owner, TWinControl* parent, TqlLookAndFeel look,
                                       const std::vector<TSampleTerm>& sortedTerms, int focusRow,
                                       const TRect& bounds);

// An ultra-flat grid with the indicator (and its corner buttons), a band panel, two header rows
// (拼音缩写 and 中文 above, 英文 below) and a second band without columns, whose header area is
// drawn in the ultra-flat frame colour. Its column and band headers can be dragged to other
// places and, dropped outside the headers, are hidden.
TCustomqlTreeListControl* MakeBandedGrid(TComponent* owner, TWinControl* parent,
                                         const std::vector<TSampleTerm>& sortedTerms, const TRect& bounds);

// A tree list whose preview text is kept per node.
class TPreviewTree : public TCustomqlTreeListControl {
 public:
  using TCustomqlTreeListControl::TCustomqlTreeListControl;
  void SetPreview(const TqlTreeListNode* node, std::string text) { previews_[node] = std::move(text); }
  std::string GetPreviewText(const TqlTreeListNode* node) const override;

 private:
  std::unordered_map<const TqlTreeListNode*, std::string> previews_;
};

// Three levels: organ system > term > the organ systems the term is filed under; the first
// system and its first term expanded, others collapsed, so both button states show. Preview
// lines carry the English names.
TPreviewTree* MakeOrganTree(TComponent* owner, TWinControl* parent, const std::vector<TSampleTerm>& terms,
                            const std::vector<TSampleOrganSystem>& systems, const TRect& bounds);
