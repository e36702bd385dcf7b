#pragma once
// Enumerations shared by the record-set classes, and what a data event carries.
#include <cstdint>
#include <string>

#include "platform/core/option_set.h"

class TField;

enum TDataSetState {
  dsInactive, dsBrowse, dsEdit, dsInsert, dsSetKey, dsCalcFields, dsFilter, dsNewValue,
  dsOldValue, dsCurValue, dsBlockRead, dsInternalCalc, dsOpening
};

// What a data set tells its data sources and, through them, their data links.
enum TDataEvent {
  deFieldChange, deRecordChange, deDataSetChange, deDataSetScroll, deLayoutChange,
  deUpdateRecord, deUpdateState, deCheckBrowseMode, dePropertyChange, deFieldListChange,
  deFocusControl, deParentScroll, deConnectChange, deReconcileError, deDisabledStateChange
};

// What a data event carries besides its kind; each event fills at most one member, the
// others keep their defaults.
struct TDataEventInfo {
  TField* Field = nullptr;         // deFieldChange, deRecordChange: the field, null = the record
  TField** FocusField = nullptr;   // deFocusControl: the field to show; the control that takes
                                   // the focus sets *FocusField to null
  int Distance = 0;                // deDataSetScroll: records the cursor moved (signed)
};

enum TFilterOption { foCaseInsensitive, foNoPartialCompare };
using TFilterOptions = TOptionSet<TFilterOption>;

enum TLocateOption { loCaseInsensitive, loPartialKey };
using TLocateOptions = TOptionSet<TLocateOption>;

enum TFieldKind { fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate };
#include "platform/core/alignment.h"

// A bookmark: opaque bytes naming one record of a data set; empty = none.
using TBookmarkStr = std::string;

inline bool IsEditState(TDataSetState s) { return s == dsEdit || s == dsInsert || s == dsSetKey; }
