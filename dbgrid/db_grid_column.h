#pragma once
// The data-bound columns.
//
//   TqlTreeListColumn (core)
//     TqlDBTreeListColumn          FieldName, the bound field, grouping and summary settings
//       TqlDBGridColumn            what the data-aware grid creates for every field
//       TqlDBTreeListMaskColumn    EditMask / IgnoreMaskBlank
//         TqlDBGridMaskColumn
//
// A column with a resolved field takes its alignment, default caption, maximum text length,
// read-only state and default width from the field; without one it keeps the core column's
// own values and its caption is FieldName. The column resolves its field by name from its
// grid's data set (ResolveField) and forgets it when the field is freed.
#include <functional>
#include <string>

#include "platform/core/variant.h"
#include "treelist/treelist_column.h"

class TCustomqlDBTreeListControl;
class TField;
class TqlTreeListNode;

// Summary kinds of the group and footer summaries (computed by the summary code).
enum TqlSummaryType { cstNone, cstAvg, cstCount, cstMax, cstMin, cstSum };

// Replaces a cell's text (AText holds the loaded text on entry).
using TColumnGetText =
    std::function<void(TObject* Sender, TqlTreeListNode* ANode, std::string& AText)>;

class TqlDBTreeListColumn : public TqlTreeListColumn {
 public:
  explicit TqlDBTreeListColumn(TComponent* AOwner);
  ~TqlDBTreeListColumn() override;

  // The grid the column belongs to, when it is a data-aware one.
  TCustomqlDBTreeListControl* DBTreeList() const;

  // --- binding ---
  const std::string& FieldName() const { return fieldName_; }
  // Stores the name and resolves the field (not while the grid loads, not when the data set
  // is closed); a changed name makes the grid re-check its grouping.
  void SetFieldName(const std::string& value);
  // The bound field; null until resolved or when the name matches no field.
  TField* Field() const { return field_; }
  // Finds the field by name in the grid's data set again (null when there is none).
  void ResolveField();
  // The variant kind offered to sorting and filtering: by field type for numeric, boolean,
  // date/time and auto-increment fields, varString for the rest (and without a field).
  TVarType ValueType() const;
  // Whether the typed value is stored in the node at load time (see TNodeVariantData).
  bool StoresValue() const;

  // --- grouping and summaries (stored settings; grouping and summaries act on them) ---
  bool DisableGrouping() const { return disableGrouping_; }
  void SetDisableGrouping(bool value);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int value);  // below -1 is ignored
  TqlSummaryType SummaryType() const { return summaryType_; }
  void SetSummaryType(TqlSummaryType value);  // cstNone clears SortBySummary
  const std::string& SummaryField() const { return summaryField_; }
  void SetSummaryField(const std::string& value) { summaryField_ = value; }
  const std::string& SummaryFormat() const { return summaryFormat_; }
  void SetSummaryFormat(const std::string& value) { summaryFormat_ = value; }
  const std::string& SummaryGroupName() const { return summaryGroupName_; }
  void SetSummaryGroupName(const std::string& value) { summaryGroupName_ = value; }
  // Reads true only while SummaryType is not cstNone.
  bool SortBySummary() const { return sortBySummary_ && summaryType_ != cstNone; }
  void SetSortBySummary(bool value) { sortBySummary_ = value; }
  TqlSummaryType SummaryFooterType() const { return summaryFooterType_; }
  void SetSummaryFooterType(TqlSummaryType value) { summaryFooterType_ = value; }
  const std::string& SummaryFooterField() const { return summaryFooterField_; }
  void SetSummaryFooterField(const std::string& value) { summaryFooterField_ = value; }
  const std::string& SummaryFooterFormat() const { return summaryFooterFormat_; }
  void SetSummaryFooterFormat(const std::string& value) { summaryFooterFormat_ = value; }

  TColumnGetText OnGetText;

  // --- field-derived attributes (the core column's own values without a field) ---
  TAlignment DefaultAlignment() const override;
  std::string DefaultCaption() const override;
  // Header font: caption width + 6 (64 without caption); column font: ("0" width - overhang)
  // x DisplayWidth + overhang + 4; the larger; 64 outside a grid.
  int DefaultWidth() const override;
  // The field's size for text fields, else 0.
  int FieldMaxLength() const;
  // Besides the column's own settings: an unassigned MaxLength is the field's size.
  void ApplyEditorSettings(TqlInplaceEdit& editor) override;
  // The field's ReadOnly (the column's own setting still applies).
  bool FieldReadOnly() const;

  void RestoreDefaults() override;
  void Assign(const TqlTreeListColumn& source) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void setField(TField* field);

  std::string fieldName_;
  TField* field_ = nullptr;  // non-owning; free-notified
  bool disableGrouping_ = false;
  int groupIndex_ = -1;      // >= -1
  TqlSummaryType summaryType_ = cstNone;
  std::string summaryField_, summaryFormat_, summaryGroupName_;
  bool sortBySummary_ = false;
  TqlSummaryType summaryFooterType_ = cstNone;
  std::string summaryFooterField_, summaryFooterFormat_;
};

class TqlDBGridColumn : public TqlDBTreeListColumn {
 public:
  using TqlDBTreeListColumn::TqlDBTreeListColumn;
};

// A column whose cells are edited and shown through an edit mask.
class TqlDBTreeListMaskColumn : public TqlDBTreeListColumn {
 public:
  using TqlDBTreeListColumn::TqlDBTreeListColumn;
  // Reads the bound field's edit mask until set to something else.
  std::string EditMask() const;
  void SetEditMask(const std::string& value);
  bool IsEditMaskStored() const;  // differs from the field's mask
  bool IgnoreMaskBlank() const { return ignoreMaskBlank_; }
  void SetIgnoreMaskBlank(bool value) { ignoreMaskBlank_ = value; }

  // Edited with the mask editor, which gets EditMask and IgnoreMaskBlank.
  std::string EditorKind() const override { return "mask"; }
  TqlInplaceEdit* CreateEditor(TComponent* owner) const override;
  void ApplyEditorSettings(TqlInplaceEdit& editor) override;

 private:
  std::string editMask_;
  bool editMaskAssigned_ = false;
  bool ignoreMaskBlank_ = false;
};

class TqlDBGridMaskColumn : public TqlDBTreeListMaskColumn {
 public:
  using TqlDBTreeListMaskColumn::TqlDBTreeListMaskColumn;
};
