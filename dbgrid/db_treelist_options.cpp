// The four published option setters and the internal words. Every setter does nothing when
// the value is unchanged and works under the update lock; it sets the core flags and the
// internal bits of its values through the one mapping table (db_grid_options.cpp).
#include "dbgrid/db_grid_column.h"
#include "dbgrid/db_selection.h"
#include "dbgrid/db_treelist_control.h"
#include "platform/db/dataset.h"

namespace {
using S = TqlPublishedOptionSet;
}

void TCustomqlDBTreeListControl::applyPublishedOptions() {
  TqlDBGridOptionWords words{options_, optionsEx_, Options()};
  MirrorPublishedSet(S::Behavior, optionsBehavior_.bits(), words);
  MirrorPublishedSet(S::Customize, optionsCustomize_.bits(), words);
  MirrorPublishedSet(S::DB, optionsDB_.bits(), words);
  MirrorPublishedSet(S::View, optionsView_.bits(), words);
  options_ = words.Options;
  optionsEx_ = words.OptionsEx;
  // Columns that follow the data set's fields read records through the link's window.
  if (defaultFields_) options_.exclude(egoLoadAllRecords);
  SetOptions(words.Core);
}

void TCustomqlDBTreeListControl::SetOptionsBehavior(TqlDBGridOptionsBehavior value) {
  if (value == optionsBehavior_) return;
  TqlTreeListUpdateLock lock(*this);
  const bool sortRuleChanged =
      value.contains(edgoAutoSort) != optionsBehavior_.contains(edgoAutoSort) ||
      value.contains(edgoMultiSort) != optionsBehavior_.contains(edgoMultiSort);
  // Leaving multi-select drops the kept set: its entries would outlive nodes deleted later.
  if (optionsBehavior_.contains(edgoMultiSelect) && !value.contains(edgoMultiSelect))
    ClearSelection();
  optionsBehavior_ = value;
  applyPublishedOptions();
  // A changed sorting rule starts without sorted columns (group columns keep theirs).
  if (sortRuleChanged)
    for (int column = 0; column < ColumnCount(); ++column) {
      TqlDBTreeListColumn* object = DBColumn(column);
      if (!object || object->GroupIndex() < 0) Columns(column)->SetSorted(csNone);
    }
}

void TCustomqlDBTreeListControl::SetOptionsCustomize(TqlDBGridOptionsCustomize value) {
  if (value == optionsCustomize_) return;
  TqlTreeListUpdateLock lock(*this);
  optionsCustomize_ = value;
  applyPublishedOptions();
}

void TCustomqlDBTreeListControl::SetOptionsView(TqlDBGridOptionsView value) {
  if (value == optionsView_) return;
  TqlTreeListUpdateLock lock(*this);
  optionsView_ = value;
  applyPublishedOptions();  // edgoIndicator shows or hides the indicator through the core flag
}

void TCustomqlDBTreeListControl::SetOptionsDB(TqlDBGridOptionsDB value) {
  // Loading every record wins over loading part of them.
  if (value.contains(edgoLoadAllRecords)) value.exclude(edgoPartialLoad);
  if (value == optionsDB_) return;
  TqlTreeListUpdateLock lock(*this);
  const TqlDBGridOptionsDB old = optionsDB_;
  auto changed = [&](TqlDBGridOptionDB option) {
    return value.contains(option) != old.contains(option);
  };
  optionsDB_ = value;
  // Before the internal words are written: DefaultFields would keep egoLoadAllRecords off.
  if (value.contains(edgoLoadAllRecords)) defaultFields_ = false;
  applyPublishedOptions();

  if (changed(edgoPartialLoad) && !IsAllRecordsMode()) {
    if (value.contains(edgoPartialLoad)) defaultFields_ = false;
    beginLoaded_ = endLoaded_ = false;
    FullRebuild();
  }
  if (changed(edgoUseBookmarks) && value.contains(edgoUseBookmarks)) ClearSelection();
  if (changed(edgoLoadAllRecords)) {
    // Outside the all-records mode rows keep the data set's order.
    if (!IsAllRecordsMode())
      for (int column = 0; column < ColumnCount(); ++column) {
        TqlDBTreeListColumn* object = DBColumn(column);
        if (!object || object->GroupIndex() < 0) Columns(column)->SetSorted(csNone);
      }
    LoadNodes();
    SyncFocusFromDataSet();
  } else if (changed(edgoUseBookmarks)) {
    // The selection's keeping changed: reload so it is rebuilt the new way.
    LoadNodes();
    SyncFocusFromDataSet();
  }
}

namespace {
// Runs the four published setters with the published sets the internal words describe.
void publishInternalWords(TCustomqlDBTreeListControl& grid, const TqlDBGridOptionWords& words) {
  grid.SetOptionsBehavior(TqlDBGridOptionsBehavior::fromBits(
      PublishedFromInternal(S::Behavior, words, grid.OptionsBehavior().bits())));
  grid.SetOptionsCustomize(TqlDBGridOptionsCustomize::fromBits(
      PublishedFromInternal(S::Customize, words, grid.OptionsCustomize().bits())));
  grid.SetOptionsDB(TqlDBGridOptionsDB::fromBits(
      PublishedFromInternal(S::DB, words, grid.OptionsDB().bits())));
  grid.SetOptionsView(TqlDBGridOptionsView::fromBits(
      PublishedFromInternal(S::View, words, grid.OptionsView().bits())));
}
}  // namespace

void TCustomqlDBTreeListControl::SetDBOptions(TqlDBGridOptions value) {
  publishInternalWords(*this, {value, optionsEx_, Options()});
  options_ = value;
}

void TCustomqlDBTreeListControl::SetDBOptionsEx(TqlDBGridOptionsEx value) {
  publishInternalWords(*this, {options_, value, Options()});
  optionsEx_ = value;
}

void TCustomqlDBTreeListControl::SetPartialLoad(bool value) {
  TqlDBGridOptionsDB options = optionsDB_;
  value ? options.include(edgoPartialLoad) : options.exclude(edgoPartialLoad);
  SetOptionsDB(options);
}

void TCustomqlDBTreeListControl::SetUseBookmarks(bool value) {
  TqlDBGridOptionsDB options = optionsDB_;
  value ? options.include(edgoUseBookmarks) : options.exclude(edgoUseBookmarks);
  SetOptionsDB(options);
}

bool TCustomqlDBTreeListControl::IsOption(TqlTreeListOption option) const {
  if (option == tloDragScroll)
    if (const TDataSet* dataSet = DataSet())
      if (dataSet->State() == dsEdit || dataSet->State() == dsInsert) return false;
  return TCustomqlTreeListControl::IsOption(option);
}
