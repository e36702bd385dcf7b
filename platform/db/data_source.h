#pragma once
// TDataSource: connects data-aware controls (through their TDataLinks) to a data set.
// Links attach to a data source; the data set tells its data sources, which tell the links.
#include <functional>
#include <vector>

#include "platform/core/component.h"
#include "platform/db/db_types.h"

class TDataSet;
class TDataLink;
class TField;

class TDataSource : public TComponent {
 public:
  explicit TDataSource(TComponent* AOwner);
  ~TDataSource() override;

  TDataSet* DataSet() const { return dataSet_; }
  // Re-binding tells every link (active changed when the active state differs).
  void SetDataSet(TDataSet* ADataSet);
  // A disabled data source passes nothing on and its links count as inactive.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool AValue);
  bool AutoEdit() const { return autoEdit_; }
  void SetAutoEdit(bool AValue) { autoEdit_ = AValue; }
  TDataSetState State() const;
  // Puts the data set into edit state when AutoEdit is on and it is browsing (raises on the
  // read-only record sets).
  void Edit();

  std::function<void(TDataSource* Sender, TField* Field)> OnDataChange;
  std::function<void(TDataSource* Sender)> OnStateChange;
  std::function<void(TDataSource* Sender)> OnUpdateData;

  // Used by links and the data set.
  void AddDataLink(TDataLink* ALink);
  void RemoveDataLink(TDataLink* ALink);
  const std::vector<TDataLink*>& DataLinks() const { return links_; }
  void DataEvent(TDataEvent Event, const TDataEventInfo& Info);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void updateLinkStates();

  TDataSet* dataSet_ = nullptr;     // non-owning
  std::vector<TDataLink*> links_;   // non-owning, attach order
  bool enabled_ = true;
  bool autoEdit_ = true;
  TDataSetState lastState_ = dsInactive;
};
