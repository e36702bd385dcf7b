#pragma once
// TqlTreeListEditStyle: the edit style the grid gives each in-place editor it creates. A value
// the style does not hold itself comes from the grid's look instead of a style controller.
#include "treelist/edit_style.h"
#include "treelist/treelist_types.h"

class TCustomqlTreeList;

// The editor button look of a grid look: 3-D, flat, or hot flat for lfUltraFlat.
TqlEditButtonViewStyle ButtonStyleForLook(TqlLookAndFeel look);

class TqlTreeListEditStyle : public TqlEditStyle {
 public:
  // The grid must outlive the style (it owns the editor that owns the style).
  TqlTreeListEditStyle(TqlStyledEditor* editor, const TCustomqlTreeList* grid);

  const TCustomqlTreeList* Grid() const { return grid_; }

 protected:
  TColor DefaultBorderColor() const override { return clWindowFrame; }
  // Grid lines already frame the cell: no border of its own then.
  TqlEditBorderStyle DefaultBorderStyle() const override;
  TqlEditButtonViewStyle DefaultButtonStyle() const override;  // follows LookAndFeel
  TqlEditButtonTransparence DefaultButtonTransparence() const override { return ebtNone; }
  TqlEditEdges DefaultEdges() const override { return kAllEditEdges; }
  bool DefaultHotTrack() const override { return false; }
  bool DefaultShadow() const override { return false; }

 private:
  const TCustomqlTreeList* grid_;  // non-owning
};
