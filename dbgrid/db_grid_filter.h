#pragma once
// TqlDBGridFilter: the data-aware grid's filter settings and its criteria (filter_criteria.h),
// with the operations the header drop-down and the custom dialog use. Every operation changes
// the criteria and then has the grid apply them again (db_treelist_filter.cpp): the loaded
// nodes are filtered, the expression goes to OnFilterChanged and, with AutoDataSetFilter, to
// the data set.
//
// TqlDBGridFilterPopupListBox: the header's drop-down list, a pick list that remembers the
// column it was opened for and the values behind its items.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dbgrid/filter_criteria.h"
#include "dbgrid/filter_values.h"
#include "platform/core/component.h"
#include "platform/core/variant.h"
#include "treelist/popup_list_box.h"

class TCustomqlDBTreeListControl;
class TqlDBTreeListColumn;

enum TqlDBGridFilterStatus { fsAuto, fsNone, fsAlways };

// The fixed items of the drop-down list.
inline constexpr const char* kqlFilterAllText = "(All)";
inline constexpr const char* kqlFilterCustomText = "(Custom...)";
inline constexpr const char* kqlFilterBlanksText = "(Blanks)";
inline constexpr const char* kqlFilterNonBlanksText = "(NonBlanks)";
inline constexpr const char* kqlFilterClearHint = "Clear Filter";

class TqlDBGridFilter : public TObject {
 public:
  explicit TqlDBGridFilter(TCustomqlDBTreeListControl& grid);
  ~TqlDBGridFilter() override;

  // Header filter buttons are shown; turning it off clears every condition.
  bool Active() const { return active_; }
  void SetActive(bool value);
  // Also put the filter expression into the data set's Filter.
  bool AutoDataSetFilter() const { return autoDataSetFilter_; }
  void SetAutoDataSetFilter(bool value);
  // Strings compare upper-cased.
  bool CaseInsensitive() const { return criteria_.CaseInsensitive(); }
  void SetCaseInsensitive(bool value);
  // Rows the drop-down shows before it scrolls; 0 or less: all of them.
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int value) { dropDownCount_ = value; }
  // Client width of the drop-down; 0: the widest item.
  int DropDownWidth() const { return dropDownWidth_; }
  void SetDropDownWidth(int value) { dropDownWidth_ = value; }
  TqlDBGridFilterStatus FilterStatus() const { return filterStatus_; }
  void SetFilterStatus(TqlDBGridFilterStatus value);
  // Most distinct values the drop-down collects; 0: no limit.
  int MaxDropDownCount() const { return maxDropDownCount_; }
  void SetMaxDropDownCount(int value) { maxDropDownCount_ = value; }

  TqlDBGridCriteria& Criteria() { return criteria_; }
  const TqlDBGridCriteria& Criteria() const { return criteria_; }
  // The criteria in their stored byte form, and read back (a damaged or unknown stream reads
  // as no criteria; the filter is not applied again until the next change).
  std::string CriteriaStream() const;  // bytes
  void SetCriteriaStream(std::string_view bytes);

  // --- operations on one column (each applies the filter again) ---
  void SetValue(TqlDBTreeListColumn& column, const Variant& value, const std::string& text);
  void SetBlanks(TqlDBTreeListColumn& column, bool negated);
  void ClearColumn(TqlDBTreeListColumn& column);
  // Runs the custom filter dialog for the column; applies again only on OK.
  void Custom(TqlDBTreeListColumn& column);
  void ClearAll();
  TqlFilterColumnState ColumnState(const TqlDBTreeListColumn& column, Variant& value) const;

  // The grid filter is in force: the criteria hold a condition.
  bool IsFiltering() const { return !criteria_.IsEmpty(); }

 private:
  void changed();

  TCustomqlDBTreeListControl& grid_;
  TqlDBGridCriteria criteria_;
  bool active_ = false;
  bool autoDataSetFilter_ = false;
  int dropDownCount_ = 12;
  int dropDownWidth_ = 0;
  TqlDBGridFilterStatus filterStatus_ = fsAuto;
  int maxDropDownCount_ = 1000;
};

// The name a column's conditions carry: its component name (given one when it has none).
std::string FilterColumnName(TqlDBTreeListColumn& column);

class TqlDBGridFilterPopupListBox : public TCustomqlPopupPickListBox {
 public:
  using TCustomqlPopupPickListBox::TCustomqlPopupPickListBox;

  TqlDBGridFilterValues& Values() { return values_; }
  // The column the list was opened for (cleared when that column goes away).
  TqlDBTreeListColumn* Column() const { return column_; }
  void SetColumn(TqlDBTreeListColumn* value) { column_ = value; }
  // The items before the values: "(All)", "(Custom...)" and, with blanks, the two blanks items.
  int FixedItemCount() const { return values_.BlanksExist() ? 4 : 2; }

 private:
  TqlDBGridFilterValues values_;
  TqlDBTreeListColumn* column_ = nullptr;  // non-owning
};
