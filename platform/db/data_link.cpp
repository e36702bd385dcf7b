#include "platform/db/data_link.h"

#include <algorithm>

#include "platform/core/scope_exit.h"
#include "platform/db/data_source.h"
#include "platform/db/dataset.h"

TDataLink::TDataLink() = default;

TDataLink::~TDataLink() {
  // No callbacks from here: the owner is already gone.
  if (dataSource_) dataSource_->RemoveDataLink(this);
}

TDataSet* TDataLink::DataSet() const { return dataSource_ ? dataSource_->DataSet() : nullptr; }

void TDataLink::SetDataSource(TDataSource* ADataSource) {
  if (ADataSource == dataSource_) return;
  // Leaving one data source makes the link inactive even when the next one is open too, so
  // the owner hears "inactive" then "active" and rebuilds from the new data set.
  if (dataSource_) {
    dataSource_->RemoveDataLink(this);
    dataSource_ = nullptr;
    UpdateState();
  }
  dataSource_ = ADataSource;
  if (dataSource_) {
    dataSource_->AddDataLink(this);
    UpdateState();
  }
}

void TDataLink::UpdateState() {
  TDataSet* ds = DataSet();
  setActive(dataSource_ && dataSource_->Enabled() && ds && ds->Active());
  bool editing = active_ && (ds->State() == dsEdit || ds->State() == dsInsert);
  if (editing != editing_) {
    editing_ = editing;
    EditingChanged();
  }
}

void TDataLink::setActive(bool v) {
  if (v == active_) return;
  active_ = v;
  firstRecordPos_ = 0;
  if (v) rewindow(false);
  ActiveChanged();
}

void TDataLink::rewindow(bool keepPlace) {
  TDataSet* ds = DataSet();
  const int current = ds->CurrentRecordPos();
  if (current < 0) {
    firstRecordPos_ = 0;
    return;
  }
  const int count = ds->RecordCount();
  // Keep the window around the current record and, when it can, full up to the end.
  int lowest = std::max(0, current - bufferCount_ + 1);
  int highest = std::min(current, std::max(0, count - bufferCount_));
  int wanted = keepPlace ? firstRecordPos_ : current;
  firstRecordPos_ = std::clamp(wanted, lowest, highest);
}

int TDataLink::ActiveRecord() const {
  if (!active_) return 0;
  return std::max(0, DataSet()->ActiveRecordPos() - firstRecordPos_);
}

void TDataLink::SetActiveRecord(int AValue) {
  if (active_) DataSet()->SetActiveRecordPos(firstRecordPos_ + AValue);
}

int TDataLink::RecordCount() const {
  if (!active_) return 0;
  return std::clamp(DataSet()->RecordCount() - firstRecordPos_, 0, bufferCount_);
}

void TDataLink::SetBufferCount(int AValue) {
  AValue = std::max(1, AValue);
  if (AValue == bufferCount_) return;
  bufferCount_ = AValue;
  if (active_) rewindow(true);
}

bool TDataLink::Edit() {
  if (!readOnly_ && dataSource_) dataSource_->Edit();
  return editing_;
}

void TDataLink::UpdateRecord() {
  if (active_) DataSet()->UpdateRecord();
}

void TDataLink::DataEvent(TDataEvent Event, const TDataEventInfo& Info) {
  if (Event == deUpdateState) {
    UpdateState();
    return;
  }
  if (!active_) return;
  switch (Event) {
    case deFieldChange:
    case deRecordChange:
      if (!updating_) RecordChanged(Info.Field);
      break;
    case deDataSetChange:
      rewindow(true);
      DataSetChanged();
      break;
    case deLayoutChange:
      rewindow(true);
      LayoutChanged();
      break;
    case deDataSetScroll: {
      int oldFirst = firstRecordPos_;
      rewindow(true);
      DataSetScrolled(firstRecordPos_ - oldFirst);
      break;
    }
    case deUpdateRecord: {
      updating_ = true;
      ScopeExit done([this] { updating_ = false; });
      UpdateData();
      break;
    }
    case deCheckBrowseMode:
      CheckBrowseMode();
      break;
    case deFocusControl:
      FocusControl(Info.FocusField);
      break;
    default:
      break;
  }
}
