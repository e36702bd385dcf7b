#pragma once
// Enumerations shared by the record-set classes.
#include <cstdint>
#include <string>

#include "platform/core/option_set.h"

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

enum TFilterOption { foCaseInsensitive, foNoPartialCompare };
using TFilterOptions = TOptionSet<TFilterOption>;

enum TLocateOption { loCaseInsensitive, loPartialKey };
using TLocateOptions = TOptionSet<TLocateOption>;

enum TFieldKind { fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate };
#include "platform/core/alignment.h"

// A bookmark: opaque bytes naming one record of a data set; empty = none.
using TBookmarkStr = std::string;

inline bool IsEditState(TDataSetState s) { return s == dsEdit || s == dsInsert || s == dsSetKey; }
