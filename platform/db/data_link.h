#pragma once
// TDataLink: a data-aware object's connection to a data source. The owner derives from it and
// overrides the callbacks; the link keeps a window of BufferCount records around the data
// set's current record (the grid's visible rows in its buffered mode).
//
// Window rules: ActiveRecord is the current record's place in the window (0-based). On a
// scroll the window moves as little as keeps the current record inside it and
// DataSetScrolled gets the shift (positive when the window moved towards the end). On a data
// set change the window also moves as little as keeps the current record inside it (First
// shows the first records, Last the last ones), and it stays filled at the end when the data
// set has enough records.
//
// Default callbacks: DataSetChanged -> RecordChanged(nullptr); DataSetScrolled and
// LayoutChanged -> DataSetChanged; the others do nothing.
#include "platform/db/db_types.h"

class TDataSource;
class TDataSet;
class TField;

class TDataLink {
 public:
  TDataLink();
  virtual ~TDataLink();
  TDataLink(const TDataLink&) = delete;
  TDataLink& operator=(const TDataLink&) = delete;

  TDataSource* DataSource() const { return dataSource_; }
  // The same data source again does nothing; another one: ActiveChanged for leaving the old
  // (when it was active) and for joining the new (when it is active).
  void SetDataSource(TDataSource* ADataSource);
  TDataSet* DataSet() const;
  // The data source is enabled and its data set open.
  bool Active() const { return active_; }
  // The data set is in edit or insert state.
  bool Editing() const { return editing_; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v) { readOnly_ = v; }

  // The current record's place in the window. Setting it makes that window record the one
  // fields read, without moving the cursor; set it back when done.
  int ActiveRecord() const;
  void SetActiveRecord(int AValue);
  // Records in the window: min(BufferCount, records from the window's first to the end).
  int RecordCount() const;
  int BufferCount() const { return bufferCount_; }
  void SetBufferCount(int AValue);
  // Asks the data source to edit; returns Editing (the read-only record sets raise).
  bool Edit();
  // Sends deUpdateRecord through the data set: every link writes pending changes.
  void UpdateRecord();

  // Called by the data source.
  void DataEvent(TDataEvent Event, const TDataEventInfo& Info);
  void UpdateState();

 protected:
  virtual void ActiveChanged() {}
  virtual void CheckBrowseMode() {}
  virtual void DataSetChanged() { RecordChanged(nullptr); }
  virtual void DataSetScrolled(int Distance) { DataSetChanged(); }
  virtual void EditingChanged() {}
  // Field is the changed field, or nullptr for the whole record.
  virtual void RecordChanged(TField* Field) {}
  virtual void LayoutChanged() { DataSetChanged(); }
  // A control showing *Field takes the focus and sets *Field to nullptr.
  virtual void FocusControl(TField** Field) {}
  virtual void UpdateData() {}

 private:
  void setActive(bool v);
  void rewindow(bool keepPlace);  // after a change: re-place the window

  TDataSource* dataSource_ = nullptr;  // non-owning
  bool active_ = false;
  bool editing_ = false;
  bool readOnly_ = false;
  bool updating_ = false;  // inside UpdateData: field changes are not echoed back
  int bufferCount_ = 1;    // >= 1
  int firstRecordPos_ = 0; // record of the window's first row; <= current record when open
};
