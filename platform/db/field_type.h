#pragma once
// Field data types, as the record-set contract names them, and what each means for values.
#include "platform/core/variant.h"

enum TFieldType {
  ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency, ftBCD,
  ftDate, ftTime, ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob, ftMemo, ftGraphic,
  ftFmtMemo, ftParadoxOle, ftDBaseOle, ftTypedBinary, ftCursor, ftFixedChar, ftWideString,
  ftLargeint, ftADT, ftArray, ftReference, ftDataSet, ftOraBlob, ftOraClob, ftVariant,
  ftInterface, ftIDispatch, ftGuid
};

// Text kinds: values live in the snapshot's text arenas.
inline bool IsTextFieldType(TFieldType t) {
  return t == ftString || t == ftFixedChar || t == ftWideString || t == ftMemo ||
         t == ftFmtMemo || t == ftGuid;
}
inline bool IsBlobFieldType(TFieldType t) {
  return t == ftBlob || t == ftMemo || t == ftGraphic || t == ftFmtMemo || t == ftParadoxOle ||
         t == ftDBaseOle || t == ftTypedBinary || t == ftOraBlob || t == ftOraClob;
}
// The variant kind a value of this field type has (varString for text and unknown kinds).
inline TVarType VarTypeOfFieldType(TFieldType t) {
  switch (t) {
    case ftSmallint: return varSmallint;
    case ftInteger: case ftAutoInc: return varInteger;
    case ftWord: return varWord;
    case ftLargeint: return varInt64;
    case ftBoolean: return varBoolean;
    case ftFloat: return varDouble;
    case ftCurrency: case ftBCD: return varCurrency;
    case ftDate: case ftTime: case ftDateTime: return varDate;
    case ftWideString: return varOleStr;
    default: return varString;
  }
}
