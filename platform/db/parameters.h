#pragma once
// TParameter, TParameters: a query's input parameters, positional in the order of their
// ":name" markers in the SQL text (a name may occur more than once).
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/option_set.h"
#include "platform/core/variant.h"
#include "platform/db/field_type.h"

enum TParameterDirection { pdUnknown, pdInput, pdOutput, pdInputOutput, pdReturnValue };
enum TParameterAttribute { paSigned, paNullable, paLong };
using TParameterAttributes = TOptionSet<TParameterAttribute>;

class TParameter {
 public:
  explicit TParameter(std::string AName) : Name(std::move(AName)) {}

  std::string Name;
  TFieldType DataType = ftUnknown;
  TParameterDirection Direction = pdInput;
  TParameterAttributes Attributes;
  int Precision = 0;
  int NumericScale = 0;
  int Size = 0;
  Variant Value = Variant::Null();
};

class TParameters {
 public:
  int Count() const { return int(items_.size()); }
  TParameter& operator[](int AIndex) { return *items_[AIndex]; }
  const TParameter& operator[](int AIndex) const { return *items_[AIndex]; }
  TParameter& Items(int AIndex) { return *items_[AIndex]; }
  // First parameter of that name (case-insensitive); nullptr when absent.
  TParameter* FindParam(std::string_view AName);
  // Raises EDatabaseError when absent.
  TParameter& ParamByName(std::string_view AName);
  TParameter& AddParameter(std::string AName);
  void Clear() { items_.clear(); }
  // Rebuilds the list from marker names, keeping the settings of a parameter whose name and
  // position are unchanged.
  void Assign(const std::vector<std::string>& names);

 private:
  std::vector<std::unique_ptr<TParameter>> items_;
};
