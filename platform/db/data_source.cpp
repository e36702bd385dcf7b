#include "platform/db/data_source.h"

#include <algorithm>

#include "platform/db/data_link.h"
#include "platform/db/dataset.h"

TDataSource::TDataSource(TComponent* AOwner) : TComponent(AOwner) {}

TDataSource::~TDataSource() {
  auto links = links_;
  for (TDataLink* link : links) link->SetDataSource(nullptr);
  SetDataSet(nullptr);
}

void TDataSource::SetDataSet(TDataSet* ADataSet) {
  if (ADataSet == dataSet_) return;
  // As with links: the old data set goes first (links inactive), then the new one comes.
  if (dataSet_) {
    dataSet_->RemoveDataSource(this);
    RemoveFreeNotification(dataSet_);
    dataSet_ = nullptr;
    updateLinkStates();
  }
  dataSet_ = ADataSet;
  if (dataSet_) {
    dataSet_->AddDataSource(this);
    FreeNotification(dataSet_);
    updateLinkStates();
  }
}

void TDataSource::SetEnabled(bool AValue) {
  if (AValue == enabled_) return;
  enabled_ = AValue;
  updateLinkStates();
}

TDataSetState TDataSource::State() const {
  return dataSet_ && enabled_ ? dataSet_->State() : dsInactive;
}

void TDataSource::Edit() {
  if (autoEdit_ && State() == dsBrowse) dataSet_->Edit();
}

void TDataSource::AddDataLink(TDataLink* ALink) {
  if (std::find(links_.begin(), links_.end(), ALink) == links_.end()) links_.push_back(ALink);
}

void TDataSource::RemoveDataLink(TDataLink* ALink) {
  links_.erase(std::remove(links_.begin(), links_.end(), ALink), links_.end());
}

void TDataSource::updateLinkStates() {
  auto links = links_;
  for (TDataLink* link : links)
    if (std::find(links_.begin(), links_.end(), link) != links_.end()) link->UpdateState();
  if (State() != lastState_) {
    lastState_ = State();
    if (OnStateChange) OnStateChange(this);
  }
}

void TDataSource::DataEvent(TDataEvent Event, const TDataEventInfo& Info) {
  if (Event == deUpdateState) {
    updateLinkStates();
    return;
  }
  if (!enabled_) return;
  auto links = links_;  // a handler may attach or detach links
  for (TDataLink* link : links) {
    if (std::find(links_.begin(), links_.end(), link) == links_.end()) continue;
    link->DataEvent(Event, Info);
    // The focus request goes to the first control that takes it.
    if (Event == deFocusControl && *Info.FocusField == nullptr) break;
  }
  switch (Event) {
    case deFieldChange:
    case deRecordChange:
      if (OnDataChange) OnDataChange(this, Info.Field);
      break;
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange:
      if (OnDataChange) OnDataChange(this, nullptr);
      break;
    case deUpdateRecord:
      if (OnUpdateData) OnUpdateData(this);
      break;
    default:
      break;
  }
}

void TDataSource::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent == dataSet_) {
    dataSet_ = nullptr;
    updateLinkStates();
  }
}
