#pragma once
// The "Custom AutoFilter" dialog: one or two conditions on one column, joined by And or Or,
// that replace the column's conditions in the grid's criteria.
//
// One run (RunCustomFilterDialog):
//   construct   the stored form: title, column name on a line, hidden placeholders for the
//               four editors, the And / Or radio buttons, OK and Cancel
//   Load        the grid font's name and charset; the column's caption; two operator boxes
//               and two value editors laid over their placeholders; the column's first
//               condition (and the second child of the list holding it) shown
//   ShowModal   OK runs the close query (ValidateAndCollect): each text becomes a value of
//               the column's type; a text that does not convert fails with "Invalid value",
//               focuses its editor and the dialog stays up
//   Apply       after OK only: the column's conditions replaced by the rows
// Cancel leaves the criteria alone. Tests drive Load, ValidateAndCollect and Apply directly.
//
// Operator entries (an operator box stores the index as its value string):
//   index  description                     code  NOT        shown for (code, NOT)
//     0    "equals"                          1    no         (1, no)
//     1    "does not equal"                  1    yes        (1, yes)
//     2    "is greater than"                 2    no         (2, -)
//     3    "is greater than or equal to"     4    no         (4, -)
//     4    "is less than"                    3    no         (3, -)
//     5    "is less than or equal to"        5    no         (5, -)
//     6    "blanks"                          0    no         (0, no)
//     7    "non blanks"                      0    yes        (0, yes)
// The second operator box starts with the entry "-1" (no description): no second condition.
//
// The editors live on the form but are owned by a small hidden host (TqlFilterDialogEditorHost
// in the .cpp) that answers the editor contract for a dialog: the text may change and every
// character is taken. Unlike in a grid, the editors leave Tab, Enter and Escape to the form
// (focus moves, OK, Cancel); an operator box takes them only while its list is dropped down.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/variant.h"
#include "platform/ui/form.h"
#include "treelist/inplace_image_edit.h"
#include "treelist/inplace_mask_edit.h"

class TBevel;
class TBitBtn;
class TLabel;
class TRadioButton;
class TqlCriteria;
class TqlCriteriaItem;
class TqlDBGridCriteria;
class TqlDBTreeListColumn;
class TqlFilterDialogEditorHost;

// ===== operator entries =======================================================================

struct TqlFilterOperatorEntry {
  const char* Description;
  uint8_t OperatorCode;  // 0..5, as in filter_criteria.h
  bool IsNot;
};

inline constexpr int kFilterOperatorCount = 8;
inline constexpr int kFilterBlanks = 6, kFilterNonBlanks = 7;
// The second operator box's first entry: no second condition.
inline constexpr int kFilterNoOperator = -1;

// The entry of an index 0..7.
const TqlFilterOperatorEntry& FilterOperatorEntry(int index);
// The entry that shows a condition (the table above); -1 for a code outside 0..5.
int FilterOperatorIndex(uint8_t operatorCode, bool isNot);
// The entries a column offers, in index order: all eight for data-bound columns.
std::vector<int> AllowedFilterOperators(const TqlDBTreeListColumn& column);

// The message of a value that does not convert to the column's type.
inline constexpr const char* kqlFilterInvalidValueText = "Invalid value";

// ===== editors ================================================================================

// An operator box: an image editor that shows the descriptions and stores the index.
class TqlFilterDialogComboEdit : public TqlInplaceImageEdit {
 public:
  explicit TqlFilterDialogComboEdit(TComponent* AOwner);

  // Lists the entries (withNone: first the "-1" entry with an empty description) and drops
  // down as many rows as there are entries.
  void SetEntries(const std::vector<int>& entries, bool withNone);
  // The chosen index; -1 for the "-1" entry or a value that is not an index.
  int OperatorIndex() const;
  void SetOperatorIndex(int index);

 protected:
  // Arrows and characters always; every key only while the list is dropped down.
  int WMGetDlgCode() override;
};

// A value editor: the column's mask editor without the grid's change and validate hooks.
class TCustomqlFilterEdit : public TqlInplaceMaskEdit {
 public:
  using TqlInplaceMaskEdit::TqlInplaceMaskEdit;

  // The settings the column gives its own in-place editor (mask, maximum length, case,
  // alignment...), without the column's hooks, and never read-only: the text is a filter
  // value, not the field's.
  void ConfigureFor(TqlDBTreeListColumn& column);

 protected:
  // Arrows and characters; Tab, Enter and Escape go to the form.
  int WMGetDlgCode() override;
  // Up, Down, Page Up and Page Down do nothing here (in a grid they end the edit and move).
  void WMKeyDown(TWMKey& msg) override;
  // The whole text is selected when the editor takes the focus.
  void WMSetFocus() override;
};

// ===== the form ===============================================================================

// One condition as the user left it: the operator index and the row's value and text.
struct TqlCustomFilterRow {
  int OperatorIndex = kFilterNoOperator;
  Variant Value = Variant::Null();  // typed after ValidateAndCollect; null: no value
  std::string Text;
};

class TfmCustomDialog : public TForm {
 public:
  explicit TfmCustomDialog(TComponent* AOwner);
  ~TfmCustomDialog() override;

  // The stored components, in creation order.
  TLabel* lblTitle = nullptr;
  TLabel* LColumnName = nullptr;
  TBevel* bvlLine = nullptr;
  TLabel* cbOperator1 = nullptr;  // hidden placeholders of the operator boxes
  TLabel* cbOperator2 = nullptr;
  TLabel* Edit1 = nullptr;        // ... and of the value editors
  TLabel* Edit2 = nullptr;
  TRadioButton* rbAnd = nullptr;
  TRadioButton* rbOr = nullptr;
  TLabel* lblSingle = nullptr;    // hidden hints
  TLabel* lblSeries = nullptr;
  TBitBtn* btnOK = nullptr;
  TBitBtn* btnCancel = nullptr;

  // Made by Load (null before).
  TqlFilterDialogComboEdit* OperatorBox1 = nullptr;
  TqlFilterDialogComboEdit* OperatorBox2 = nullptr;
  TCustomqlFilterEdit* ValueEdit1 = nullptr;
  TCustomqlFilterEdit* ValueEdit2 = nullptr;

  TqlDBTreeListColumn* Column() const { return column_; }

  // Builds the run-time part for a column and shows its first condition; once per dialog
  // (EInvalidOperation the second time).
  void Load(TqlDBTreeListColumn& column, const TqlCriteria& criteria);
  // The close query after OK: both editors finish their input, then the rows are read and
  // their texts converted to the column's type. Throws EqlEditInvalidInput (the mask's
  // message, or kqlFilterInvalidValueText with the failing editor focused); the rows change
  // only when everything succeeded.
  void ValidateAndCollect();
  // The rows collected last: 0 the first, 1 the second (operator -1 when there is none).
  const TqlCustomFilterRow& Row(int rowIndex) const { return rows_[rowIndex]; }
  // Replaces the column's conditions in the criteria by the collected rows.
  void Apply(TqlCriteria& criteria) const;

 protected:
  bool CloseQuery() override;

 private:
  void showCondition(int rowIndex, const TqlCriteriaItem& item);

  TqlFilterDialogEditorHost* editorHost_ = nullptr;  // owned by the form; owns the editors
  TqlDBTreeListColumn* column_ = nullptr;            // non-owning; set by Load
  TqlCustomFilterRow rows_[2];
};

// Runs the dialog modally for a column; true when OK replaced the column's conditions (the
// caller re-applies the filter). The form is freed in every case.
bool RunCustomFilterDialog(TqlDBTreeListColumn& column, TqlDBGridCriteria& criteria);
