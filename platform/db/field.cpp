#include "platform/db/field.h"

#include <optional>

#include "platform/core/date_time.h"
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

bool isDateType(TFieldType t) { return t == ftDate || t == ftTime || t == ftDateTime; }

// How messages name a value kind.
const char* kindName(TFieldType t) {
  if (isIntegerType(t)) return "integer";
  if (isNumericType(t)) return "floating point";
  if (isDateType(t)) return "date and time";
  if (t == ftBoolean) return "boolean";
  return "field";
}

bool isBlank(std::string_view s) { return s.find_first_not_of(" \t") == std::string_view::npos; }

std::string trimmed(std::string_view s) {
  const size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return std::string(s.substr(first, s.find_last_not_of(" \t") - first + 1));
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
  if (const Variant* editing = dataSet_->EditValue(fieldNo_)) return *editing;
  int64_t rowIndex = dataSet_->ActiveRowIndex();
  const TTableSnapshot* snapshot = dataSet_->Snapshot();
  if (rowIndex < 0 || !snapshot || fieldNo_ < 1) return Variant::Null();
  return snapshot->Column(fieldNo_ - 1).Value(uint32_t(rowIndex));
}

void TField::checkWritable() const {
  if (!dataSet_->CanModify()) throw EDatabaseError(dataSet_->Name() + ": " + SDataSetReadOnly);
  if (readOnly_) throw EDatabaseError(dataSet_->Name() + ": Field '" + DisplayName() + "' cannot be modified");
  if (!IsEditState(dataSet_->State()))
    throw EDatabaseError(dataSet_->Name() + ": Dataset not in edit or insert mode");
}

void TField::invalidValue(const std::string& text) const {
  throw EDatabaseError(dataSet_->Name() + ": '" + text + "' is not a valid " + kindName(dataType_) +
                       " value for field '" + DisplayName() + "'");
}

Variant TField::converted(const Variant& v) const {
  if (v.IsClear()) return Variant::Null();
  if (IsTextFieldType(dataType_)) {
    std::string text = v.AsString();
    if (size_ > 0 && Utf8Length(text) > size_t(size_))
      throw EDatabaseError(dataSet_->Name() + ": Value too long for field '" + DisplayName() +
                           "' (at most " + std::to_string(size_) + " characters)");
    return dataType_ == ftWideString ? Variant::OleStr(std::move(text)) : Variant(std::move(text));
  }
  try {
    return v.ChangeType(VarTypeOfFieldType(dataType_));
  } catch (const EVariantError&) {
    invalidValue(v.AsString());
  }
}

void TField::SetValue(const Variant& v) {
  checkWritable();
  dataSet_->SetFieldValue(this, converted(v));
}

void TField::SetText(const std::string& v) {
  checkWritable();
  if (IsTextFieldType(dataType_)) return SetValue(Variant(v));
  if (isBlank(v)) return SetValue(Variant::Null());
  const std::string text = trimmed(v);
  for (char32_t ch : Utf8ToUtf32(text))
    if (!IsValidChar(ch)) invalidValue(v);
  Variant value;
  if (isNumericType(dataType_)) {
    // An integer field takes only digits and signs (above), so this reads a whole number.
    double number;
    if (!TryStrToFloat(text, number)) invalidValue(v);
    value = Variant(number);
  } else if (isDateType(dataType_)) {
    std::optional<TDateTime> date = TryStrToDateTime(text);
    if (!date) invalidValue(v);
    value = Variant::Date(*date);
  } else if (dataType_ == ftBoolean) {
    const std::string upper = AnsiUpperCase(text);
    if (upper != "TRUE" && upper != "FALSE") invalidValue(v);
    value = Variant(upper == "TRUE");
  } else {
    value = Variant(text);
  }
  SetValue(value);
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
  if (OnGetText || dataSet_->EditValue(fieldNo_)) return false;
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
