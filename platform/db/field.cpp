#include "platform/db/field.h"

#include "platform/core/utf8.h"
#include "platform/db/dataset.h"
#include "platform/db/db_error.h"

namespace {

bool isNumericType(TFieldType t) {
  return t == ftSmallint || t == ftInteger || t == ftWord || t == ftAutoInc || t == ftLargeint ||
         t == ftFloat || t == ftCurrency || t == ftBCD;
}

bool isIntegerType(TFieldType t) {
  return t == ftSmallint || t == ftInteger || t == ftWord || t == ftAutoInc || t == ftLargeint;
}

}  // namespace

TField::TField(TDataSet* ADataSet, std::string AFieldName, TFieldType ADataType, int ASize,
               int AFieldNo)
    : TComponent(nullptr),
      dataSet_(ADataSet),
      fieldName_(std::move(AFieldName)),
      dataType_(ADataType),
      size_(ASize),
      fieldNo_(AFieldNo),
      alignment_(isNumericType(ADataType) ? taRightJustify : taLeftJustify) {}

TField::~TField() = default;

int TField::defaultDisplayWidth() const {
  switch (dataType_) {
    case ftSmallint: return 6;
    case ftInteger: case ftAutoInc: return 11;
    case ftWord: return 5;
    case ftLargeint: return 15;
    case ftBoolean: return 5;
    case ftFloat: case ftCurrency: case ftBCD: return 10;
    case ftDate: return 10;
    case ftTime: return 8;
    case ftDateTime: return 19;
    default: return size_ > 0 ? size_ : 10;
  }
}

int TField::Index() const { return dataSet_->Fields().IndexOf(this); }

void TField::SetIndex(int AIndex) {
  TFields& fields = dataSet_->Fields();
  int from = fields.IndexOf(this);
  if (AIndex < 0) AIndex = 0;
  if (AIndex >= fields.Count()) AIndex = fields.Count() - 1;
  if (from < 0 || from == AIndex) return;
  fields.Move(from, AIndex);
  layoutChanged();
}

void TField::layoutChanged() {
  if (dataSet_->Active()) dataSet_->DataEvent(deLayoutChange);
}

void TField::SetDisplayLabel(std::string v) {
  if (v == fieldName_) v.clear();
  if (v == displayLabel_) return;
  displayLabel_ = std::move(v);
  layoutChanged();
}

void TField::SetDisplayWidth(int v) {
  if (v == DisplayWidth() && displayWidth_ >= 0) return;
  displayWidth_ = v;
  layoutChanged();
}

void TField::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  layoutChanged();
}

void TField::SetAlignment(TAlignment v) {
  if (v == alignment_) return;
  alignment_ = v;
  layoutChanged();
}

bool TField::IsNull() const { return Value().IsNull(); }

bool TField::CanModify() const { return !readOnly_ && dataSet_->CanModify(); }

bool TField::IsValidChar(char32_t ch) const {
  if (isIntegerType(dataType_)) return (ch >= '0' && ch <= '9') || ch == '+' || ch == '-';
  if (isNumericType(dataType_))
    return (ch >= '0' && ch <= '9') || ch == '+' || ch == '-' || ch == '.' || ch == 'e' ||
           ch == 'E';
  return true;
}

Variant TField::Value() const {
  int64_t rowIndex = dataSet_->ActiveRowIndex();
  const TTableSnapshot* snapshot = dataSet_->Snapshot();
  if (rowIndex < 0 || !snapshot || fieldNo_ < 1) return Variant::Null();
  return snapshot->Column(fieldNo_ - 1).Value(uint32_t(rowIndex));
}

void TField::SetValue(const Variant&) {
  throw EDatabaseError(dataSet_->Name() + ": " + SDataSetReadOnly);
}

void TField::SetText(const std::string&) {
  throw EDatabaseError(dataSet_->Name() + ": " + SDataSetReadOnly);
}

int TField::AsInteger() const {
  Variant v = Value();
  return v.IsNull() ? 0 : v.AsInteger();
}

double TField::AsFloat() const {
  Variant v = Value();
  return v.IsNull() ? 0.0 : v.AsDouble();
}

bool TField::AsBoolean() const {
  Variant v = Value();
  return v.IsNull() ? false : v.AsBoolean();
}

TDateTime TField::AsDateTime() const {
  Variant v = Value();
  return v.IsNull() ? 0.0 : v.AsDate();
}

std::string TField::DisplayText() const {
  std::string text = AsString();
  if (OnGetText) OnGetText(const_cast<TField*>(this), text, true);
  return text;
}

bool TField::DisplayTextView(std::string_view& text) const {
  if (OnGetText) return false;
  const TTableSnapshot* snapshot = dataSet_->Snapshot();
  if (!snapshot || fieldNo_ < 1) return false;
  const TSnapshotColumn& column = snapshot->Column(fieldNo_ - 1);
  if (!column.IsText()) return false;
  const int64_t rowIndex = dataSet_->ActiveRowIndex();
  text = rowIndex < 0 || column.IsNull(uint32_t(rowIndex)) ? std::string_view()
                                                             : column.Text(uint32_t(rowIndex));
  return true;
}

std::string TField::Text() const {
  std::string text = AsString();
  if (OnGetText) OnGetText(const_cast<TField*>(this), text, false);
  return text;
}

void TField::FocusControl() {
  TField* field = this;
  if (dataSet_->Active()) dataSet_->DataEvent(deFocusControl, {.FocusField = &field});
}

TField* TFields::FindField(std::string_view AFieldName) const {
  std::string wanted = AnsiUpperCase(AFieldName);
  for (const auto& f : fields_)
    if (AnsiUpperCase(f->FieldName()) == wanted) return f.get();
  return nullptr;
}

int TFields::IndexOf(const TField* AField) const {
  for (size_t i = 0; i < fields_.size(); ++i)
    if (fields_[i].get() == AField) return int(i);
  return -1;
}

void TFields::Clear() {
  // Newest first, as owners free their components.
  while (!fields_.empty()) fields_.pop_back();
}

void TFields::Move(int fromIndex, int toIndex) {
  auto field = std::move(fields_[fromIndex]);
  fields_.erase(fields_.begin() + fromIndex);
  fields_.insert(fields_.begin() + toIndex, std::move(field));
}
