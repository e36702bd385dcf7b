#pragma once
// TCustomqlDBGrid / TqlDBGrid: the data-aware grid as forms use it. The data logic is the
// base class's (db_treelist_control.h); this level adds the grid's own appearance settings
// and events.
#include <functional>
#include <string>

#include "dbgrid/db_treelist_control.h"

class TCanvas;

using TqlDBGridColumnEvent = std::function<void(TObject* Sender, TqlTreeListColumn* Column)>;
using TqlDBGridAddGroupColumnEvent =
    std::function<void(TObject* Sender, TqlTreeListColumn* Column, bool& Allow)>;
using TqlDBGridEndDragGroupColumnEvent = std::function<void(
    TObject* Sender, TqlTreeListColumn* Column, int NewGroupIndex, bool& Allow)>;
using TqlDBGridBackgroundDrawEvent =
    std::function<void(TObject* Sender, TCanvas& ACanvas, const TRect& ARect)>;
using TqlDBGridGetEditColorEvent = std::function<void(
    TObject* Sender, TqlTreeListNode* ANode, TqlTreeListColumn* AColumn, TColor& AColor)>;

class TCustomqlDBGrid : public TCustomqlDBTreeListControl {
 public:
  explicit TCustomqlDBGrid(TComponent* AOwner);
  ~TCustomqlDBGrid() override;

  bool ShowGroupPanel() const { return showGroupPanel_; }
  void SetShowGroupPanel(bool value);
  TColor GroupPanelColor() const { return groupPanelColor_; }
  void SetGroupPanelColor(TColor value) { SetAndInvalidate(groupPanelColor_, value); }
  TColor GroupPanelFontColor() const { return groupPanelFontColor_; }
  void SetGroupPanelFontColor(TColor value) { SetAndInvalidate(groupPanelFontColor_, value); }
  bool ShowSummaryFooter() const { return showSummaryFooter_; }
  void SetShowSummaryFooter(bool value);
  const std::string& SummarySeparator() const { return summarySeparator_; }
  void SetSummarySeparator(const std::string& value) { summarySeparator_ = value; }

  TqlDBGridColumnEvent OnShowColumn;
  TqlDBGridColumnEvent OnHideColumn;
  TqlDBGridAddGroupColumnEvent OnAddGroupColumn;
  TqlDBGridEndDragGroupColumnEvent OnEndDragGroupColumn;
  TqlDBGridBackgroundDrawEvent OnBackgroundDrawEvent;
  TqlDBGridGetEditColorEvent OnGetEditColor;

  // The editor's background: the focused column's Color, offered to OnGetEditColor.
  TColor EditorColor() const override;

 private:
  bool showGroupPanel_ = false;
  TColor groupPanelColor_ = clBtnShadow;
  TColor groupPanelFontColor_ = clBtnFace;
  bool showSummaryFooter_ = false;
  std::string summarySeparator_ = ", ";
};

class TqlDBGrid : public TCustomqlDBGrid {
 public:
  using TCustomqlDBGrid::TCustomqlDBGrid;
};
