#pragma once
// TField: one column of a data set's current record. Fields are created when the data set
// opens (one per snapshot column, in table order) and freed when it closes; components that
// keep a TField* ask for FreeNotification.
//
// Values are read from the data set's active record (normally the current record; a data
// link may point it at another record of its window for a moment), or from its edit buffer
// while that record is being edited.
//
// Writing Value or Text: on a read-only data set raises that it is read-only; otherwise the
// field must not be ReadOnly and the data set must be editing. The value is converted to the
// field's type (null stays null): text longer than Size characters, text that is no number,
// date or boolean for such a field, and characters IsValidChar refuses all raise, and the
// buffer keeps its old value.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/component.h"
#include "platform/core/variant.h"
#include "platform/db/db_types.h"
#include "platform/db/field_type.h"

class TDataSet;

class TField : public TComponent {
 public:
  // Text, DisplayText: the field's text for editing (false) or for showing (true).
  using TFieldGetTextEvent = std::function<void(TField* Sender, std::string& Text, bool DisplayText)>;

  TField(TDataSet* ADataSet, std::string AFieldName, TFieldType ADataType, int ASize,
         int AFieldNo);
  ~TField() override;

  TDataSet* DataSet() const { return dataSet_; }
  const std::string& FieldName() const { return fieldName_; }
  int FieldNo() const { return fieldNo_; }  // 1-based column of the data set's table
  TFieldType DataType() const { return dataType_; }
  int Size() const { return size_; }
  TFieldKind FieldKind() const { return fieldKind_; }
  void SetFieldKind(TFieldKind v) { fieldKind_ = v; }

  // Position among the data set's fields (read, write: moving a field changes the layout).
  int Index() const;
  void SetIndex(int AIndex);

  const std::string& DisplayLabel() const { return displayLabel_.empty() ? fieldName_ : displayLabel_; }
  void SetDisplayLabel(std::string v);
  const std::string& DisplayName() const { return DisplayLabel(); }
  int DisplayWidth() const { return displayWidth_ >= 0 ? displayWidth_ : defaultDisplayWidth(); }
  void SetDisplayWidth(int v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  const std::string& Origin() const { return origin_; }
  void SetOrigin(std::string v) { origin_ = std::move(v); }
  const std::string& EditMask() const { return editMask_; }
  void SetEditMask(std::string v) { editMask_ = std::move(v); }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v) { readOnly_ = v; }
  bool Required() const { return required_; }
  void SetRequired(bool v) { required_ = v; }

  // Lookup fields take their value through KeyFields from another data set; the snapshot
  // record sets create data fields only, so Lookup() is false unless a caller sets the kind.
  bool Lookup() const { return fieldKind_ == fkLookup; }
  const std::string& KeyFields() const { return keyFields_; }
  void SetKeyFields(std::string v) { keyFields_ = std::move(v); }

  bool IsBlob() const { return IsBlobFieldType(dataType_); }
  bool IsNull() const;
  // Not ReadOnly, on a data set that can modify its records.
  bool CanModify() const;
  // Whether ch may be typed into this field (digits and signs for numbers, anything for text).
  bool IsValidChar(char32_t ch) const;

  Variant Value() const;
  void SetValue(const Variant& v);
  std::string AsString() const { return Value().AsString(); }
  int AsInteger() const;
  double AsFloat() const;
  bool AsBoolean() const;
  TDateTime AsDateTime() const;
  // Text for showing (OnGetText with DisplayText true, else the value's text).
  std::string DisplayText() const;
  // The display text without a copy, where the record keeps it as it is shown: a text field
  // without OnGetText (a null reads as empty). False for every other field: use DisplayText.
  bool DisplayTextView(std::string_view& text) const;
  // Text for editing (OnGetText with DisplayText false, else the value's text).
  std::string Text() const;
  // Blank text is null for every type but text.
  void SetText(const std::string& v);

  // Asks the data set's links to focus the control showing this field.
  void FocusControl();

  TFieldGetTextEvent OnGetText;

 private:
  int defaultDisplayWidth() const;
  void checkWritable() const;
  Variant converted(const Variant& v) const;  // v as a value of this field, or raises
  [[noreturn]] void invalidValue(const std::string& text) const;
  void layoutChanged();

  TDataSet* dataSet_;  // non-owning; the data set owns its fields
  std::string fieldName_;
  TFieldType dataType_;
  int size_;
  int fieldNo_;
  TFieldKind fieldKind_ = fkData;
  std::string displayLabel_;  // empty: FieldName
  int displayWidth_ = -1;     // -1: the type's default
  bool visible_ = true;
  TAlignment alignment_;
  std::string origin_, editMask_, keyFields_;
  bool readOnly_ = false;
  bool required_ = false;
};

// The fields of a data set, in display order.
class TFields {
 public:
  explicit TFields(TDataSet* ADataSet) : dataSet_(ADataSet) {}
  int Count() const { return int(fields_.size()); }
  TField* operator[](int AIndex) const { return fields_[AIndex].get(); }
  TField* Fields(int AIndex) const { return fields_[AIndex].get(); }
  // Case-insensitive; nullptr when absent.
  TField* FindField(std::string_view AFieldName) const;
  int IndexOf(const TField* AField) const;

  // Used by the data set.
  void Add(std::unique_ptr<TField> AField) { fields_.push_back(std::move(AField)); }
  void Clear();
  void Move(int fromIndex, int toIndex);

 private:
  TDataSet* dataSet_;
  std::vector<std::unique_ptr<TField>> fields_;
};
