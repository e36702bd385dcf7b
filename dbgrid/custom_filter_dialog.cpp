// The custom filter dialog (custom_filter_dialog.h): the operator table, the two editor
// classes, the form as stored, loading a column's condition, the close query and applying.
#include "dbgrid/custom_filter_dialog.h"

#include <charconv>
#include <iterator>
#include <memory>

#include "dbgrid/db_grid_column.h"
#include "dbgrid/filter_criteria.h"
#include "platform/ui/bevel.h"
#include "platform/ui/bit_btn.h"
#include "platform/ui/label.h"
#include "platform/ui/radio_button.h"
#include "treelist/container.h"
#include "treelist/treelist_control.h"

// ===== operator entries =======================================================================

namespace {

constexpr TqlFilterOperatorEntry kEntries[kFilterOperatorCount] = {
    {"equals", kOperatorEqual, false},
    {"does not equal", kOperatorEqual, true},
    {"is greater than", kOperatorGreater, false},
    {"is greater than or equal to", kOperatorGreaterEqual, false},
    {"is less than", kOperatorLess, false},
    {"is less than or equal to", kOperatorLessEqual, false},
    {"blanks", kOperatorIsNull, false},
    {"non blanks", kOperatorIsNull, true},
};

}  // namespace

const TqlFilterOperatorEntry& FilterOperatorEntry(int index) { return kEntries[index]; }

int FilterOperatorIndex(uint8_t operatorCode, bool isNot) {
  // By code: 0 blanks, 1 equals, 2 greater, 3 less, 4 greater or equal, 5 less or equal.
  constexpr int kByCode[] = {kFilterBlanks, 0, 2, 4, 3, 5};
  if (operatorCode >= std::size(kByCode)) return -1;
  const int index = kByCode[operatorCode];
  if (!isNot) return index;
  if (index == 0) return 1;
  if (index == kFilterBlanks) return kFilterNonBlanks;
  return index;  // a negated comparison has no entry of its own: shown without the NOT
}

std::vector<int> AllowedFilterOperators(const TqlDBTreeListColumn&) {
  std::vector<int> all;
  for (int i = 0; i < kFilterOperatorCount; ++i) all.push_back(i);
  return all;
}

// ===== the editors' host =======================================================================

// Answers the editor contract for editors that sit on a dialog: their text may change, every
// character is taken and the drop-down buttons always show. It is never shown itself.
class TqlFilterDialogEditorHost : public TCustomqlContainer {
 public:
  explicit TqlFilterDialogEditorHost(TComponent* AOwner) : TCustomqlContainer(AOwner) {
    SetVisible(false);
  }
  bool CanEditorModify() const override { return true; }
  bool CanEditorAcceptChar(char32_t) const override { return true; }
  bool ShowEditorButtonsAlways() const override { return true; }
};

// ===== editors =================================================================================

TqlFilterDialogComboEdit::TqlFilterDialogComboEdit(TComponent* AOwner) : TqlInplaceImageEdit(AOwner) {
  SetTabStop(true);
  SetColor(clWindow);
  // The arrows step through the entries, as in a drop-down list box.
  SetIncremental(true);
}

void TqlFilterDialogComboEdit::SetEntries(const std::vector<int>& entries, bool withNone) {
  std::vector<std::string> values, descriptions;
  if (withNone) {
    values.push_back(std::to_string(kFilterNoOperator));
    descriptions.emplace_back();
  }
  for (int index : entries) {
    values.push_back(std::to_string(index));
    descriptions.emplace_back(FilterOperatorEntry(index).Description);
  }
  SetDropDownRows(static_cast<int>(values.size()));
  SetValueList(std::move(values));
  SetDescriptionList(std::move(descriptions));
}

int TqlFilterDialogComboEdit::OperatorIndex() const {
  const std::string text = EditText();
  int index = kFilterNoOperator;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
  if (error != std::errc() || end != text.data() + text.size()) return kFilterNoOperator;
  return index >= 0 && index < kFilterOperatorCount ? index : kFilterNoOperator;
}

void TqlFilterDialogComboEdit::SetOperatorIndex(int index) {
  SetEditText(std::to_string(index));
  Invalidate();
}

int TqlFilterDialogComboEdit::WMGetDlgCode() {
  int code = DLGC_WANTARROWS | DLGC_WANTCHARS;
  if (PopupVisible()) code |= DLGC_WANTALLKEYS;
  return code;
}

void TCustomqlFilterEdit::ConfigureFor(TqlDBTreeListColumn& column) {
  column.ApplyEditorSettings(*this);
  ChangeHook = nullptr;
  ValidateHook = nullptr;
  SetReadOnly(false);
}

int TCustomqlFilterEdit::WMGetDlgCode() { return DLGC_WANTARROWS | DLGC_WANTCHARS; }

void TCustomqlFilterEdit::WMKeyDown(TWMKey& msg) {
  switch (msg.CharCode) {
    case VK_UP: case VK_DOWN: case VK_PRIOR: case VK_NEXT:
      msg.CharCode = 0;
      return;
    default:
      TqlInplaceMaskEdit::WMKeyDown(msg);
  }
}

void TCustomqlFilterEdit::WMSetFocus() {
  TqlInplaceMaskEdit::WMSetFocus();
  if (AutoSelect()) SelectAll();
}

// ===== the form ================================================================================

namespace {

TLabel* makeLabel(TfmCustomDialog* form, const char* name, int left, int top,
                  const std::string& caption, bool visible = true) {
  auto* label = new TLabel(form);
  label->SetName(name);
  label->SetParent(form);
  label->SetBounds(left, top, label->Width(), label->Height());
  label->SetCaption(caption);
  label->SetVisible(visible);
  return label;
}

// A hidden label that only marks where a run-time editor goes.
TLabel* makePlaceholder(TfmCustomDialog* form, const char* name, int left, int top) {
  TLabel* label = makeLabel(form, name, left, top, name, false);
  label->SetAutoSize(false);
  label->SetBounds(left, top, 185, 21);
  return label;
}

TRadioButton* makeRadio(TfmCustomDialog* form, const char* name, TRect bounds,
                        const char* caption, int tabOrder) {
  auto* radio = new TRadioButton(form);
  radio->SetName(name);
  radio->SetParent(form);
  radio->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
  radio->SetCaption(caption);
  radio->SetTabOrder(tabOrder);
  return radio;
}

TBitBtn* makeButton(TfmCustomDialog* form, const char* name, int left, const char* caption,
                    TModalResult result) {
  auto* button = new TBitBtn(form);
  button->SetName(name);
  button->SetParent(form);
  button->SetBounds(left, 136, 75, 23);
  button->SetCaption(caption);
  button->SetModalResult(result);
  return button;
}

}  // namespace

TfmCustomDialog::TfmCustomDialog(TComponent* AOwner) : TForm(AOwner) {
  BeginLoading();
  SetName("fmCustomDialog");
  SetBorderStyle(bsDialog);
  SetBorderIcons({biSystemMenu, biHelp});
  SetCaption("Custom AutoFilter");
  SetClientWidth(412);
  SetClientHeight(166);
  SetPosition(poScreenCenter);
  SetColor(clBtnFace);
  TFont font;
  font.SetName("MS Sans Serif");
  font.SetHeight(-11);
  SetFont(font);

  lblTitle = makeLabel(this, "lblTitle", 8, 8, "Show rows where:");
  LColumnName = makeLabel(this, "LColumnName", 8, 27, "ColumnName ");
  bvlLine = new TBevel(this);
  bvlLine->SetName("bvlLine");
  bvlLine->SetParent(this);
  bvlLine->SetBounds(8, 34, 396, 4);
  bvlLine->SetShape(bsTopLine);
  // The column's name sits on the line: its own background hides the line behind the text
  // and the trailing blank leaves a gap before the line goes on.
  BringToFront(LColumnName);
  cbOperator1 = makePlaceholder(this, "cbOperator1", 14, 46);
  cbOperator2 = makePlaceholder(this, "cbOperator2", 14, 96);
  Edit1 = makePlaceholder(this, "Edit1", 214, 46);
  Edit2 = makePlaceholder(this, "Edit2", 214, 96);
  rbAnd = makeRadio(this, "rbAnd", Bounds(60, 74, 41, 17), "&And", 0);
  rbAnd->SetChecked(true);
  rbOr = makeRadio(this, "rbOr", Bounds(118, 74, 33, 17), "&Or", 1);
  lblSingle = makeLabel(this, "lblSingle", 8, 134, "Use ? to represent any single character", false);
  lblSeries = makeLabel(this, "lblSeries", 8, 153, "Use * to represent any series of characters", false);
  btnOK = makeButton(this, "btnOK", 248, "OK", mrOk);
  btnOK->SetDefault(true);
  btnCancel = makeButton(this, "btnCancel", 330, "Cancel", mrCancel);
  btnCancel->SetCancel(true);

  EndLoading();
  DoCreate();
}

TfmCustomDialog::~TfmCustomDialog() = default;

// ===== loading =================================================================================

void TfmCustomDialog::Load(TqlDBTreeListColumn& column, const TqlCriteria& criteria) {
  if (column_) throw EInvalidOperation("The custom filter dialog is loaded already");
  column_ = &column;
  if (const TCustomqlTreeListControl* grid = column.TreeList()) {
    Font().SetName(grid->Font().Name());
    Font().SetCharset(grid->Font().Charset());
  }
  LColumnName->SetCaption(column.Caption() + " ");

  editorHost_ = new TqlFilterDialogEditorHost(this);
  const std::vector<int> allowed = AllowedFilterOperators(column);
  auto placeOver = [this](TqlInplaceEdit* editor, const TLabel* placeholder) {
    editor->SetParent(this);
    const TRect r = placeholder->BoundsRect();
    editor->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    editor->StyleChanged();  // the border and the buttons take their room in the frame
  };
  auto makeBox = [&](const TLabel* placeholder, bool withNone) {
    auto* box = new TqlFilterDialogComboEdit(editorHost_);
    placeOver(box, placeholder);
    box->SetEntries(allowed, withNone);
    box->SetOperatorIndex(withNone ? kFilterNoOperator : allowed.front());
    return box;
  };
  auto makeValueEdit = [&](const TLabel* placeholder) {
    auto* edit = new TCustomqlFilterEdit(editorHost_);
    placeOver(edit, placeholder);
    edit->SetTabStop(true);
    edit->SetColor(clWindow);
    edit->ConfigureFor(column);
    return edit;
  };
  OperatorBox1 = makeBox(cbOperator1, false);
  OperatorBox1->SetTabOrder(0);
  ValueEdit1 = makeValueEdit(Edit1);
  ValueEdit1->SetTabOrder(OperatorBox1->TabOrder() + 1);
  OperatorBox2 = makeBox(cbOperator2, true);
  OperatorBox2->SetTabOrder(rbOr->TabOrder() + 1);
  ValueEdit2 = makeValueEdit(Edit2);
  ValueEdit2->SetTabOrder(OperatorBox2->TabOrder() + 1);

  const TqlCriteriaItem* first = criteria.FindItem(column.Name());
  if (!first) return;
  showCondition(0, *first);
  const TqlCriteriaItemList* list = first->Parent();
  if (!list || list == &criteria.Root() || list->Count() < 2) return;
  (list->BoolOperator() == qboOr ? rbOr : rbAnd)->SetChecked(true);
  if (const auto* second = dynamic_cast<const TqlCriteriaItem*>(list->Items(1)))
    showCondition(1, *second);
}

void TfmCustomDialog::showCondition(int rowIndex, const TqlCriteriaItem& item) {
  TqlFilterDialogComboEdit* box = rowIndex == 0 ? OperatorBox1 : OperatorBox2;
  TCustomqlFilterEdit* edit = rowIndex == 0 ? ValueEdit1 : ValueEdit2;
  box->SetOperatorIndex(FilterOperatorIndex(item.OperatorCode(), item.IsNot()));
  edit->SetEditText(item.Value().AsString());
}

// ===== closing with OK =========================================================================

bool TfmCustomDialog::CloseQuery() {
  if (!TForm::CloseQuery()) return false;
  if (ModalResult() == mrOk) ValidateAndCollect();
  return true;
}

void TfmCustomDialog::ValidateAndCollect() {
  ValueEdit1->Validate();
  ValueEdit2->Validate();

  TqlCustomFilterRow rows[2];
  rows[0] = {OperatorBox1->OperatorIndex(), Variant(ValueEdit1->ValueText()), ValueEdit1->ValueText()};
  const int second = OperatorBox2->OperatorIndex();
  if (second != kFilterNoOperator)
    rows[1] = {second, Variant(ValueEdit2->ValueText()), ValueEdit2->ValueText()};

  const TVarType type = column_->ValueType();  // varString without a field
  for (int rowIndex = 0; rowIndex < 2; ++rowIndex) {
    TqlCustomFilterRow& row = rows[rowIndex];
    // Blanks and non-blanks drop the value, so its text is not asked to convert.
    const bool blanks = row.OperatorIndex == kFilterBlanks || row.OperatorIndex == kFilterNonBlanks;
    if (row.Value.IsNull() || blanks || type == varString) continue;
    try {
      row.Value = row.Value.ChangeType(type);
    } catch (const EVariantError&) {
      TCustomqlFilterEdit* edit = rowIndex == 0 ? ValueEdit1 : ValueEdit2;
      if (edit->CanFocus()) edit->SetFocus();
      throw EqlEditInvalidInput(kqlFilterInvalidValueText);
    }
  }
  rows_[0] = std::move(rows[0]);
  rows_[1] = std::move(rows[1]);
}

// ===== applying ================================================================================

void TfmCustomDialog::Apply(TqlCriteria& criteria) const {
  if (rows_[0].OperatorIndex == kFilterNoOperator)
    throw EInvalidOperation("The custom filter rows have not been collected");
  const std::string& name = column_->Name();
  criteria.RemoveItems(name);
  auto add = [&name](TqlCriteriaItemList& list, const TqlCustomFilterRow& row) {
    const TqlFilterOperatorEntry& entry = FilterOperatorEntry(row.OperatorIndex);
    Variant value = row.Value;
    std::string text = row.Text;
    if (row.OperatorIndex == kFilterBlanks || row.OperatorIndex == kFilterNonBlanks) {
      value = Variant::Null();
      text.clear();
    }
    const uint8_t code = value.IsNull() ? uint8_t(kOperatorIsNull) : entry.OperatorCode;
    list.AddItem(name, code, std::move(value), std::move(text), entry.IsNot);
  };
  if (rows_[1].OperatorIndex == kFilterNoOperator) {
    add(criteria.Root(), rows_[0]);
    return;
  }
  TqlCriteriaItemList* list = criteria.Root().AddList(rbOr->Checked() ? qboOr : qboAnd);
  add(*list, rows_[0]);
  add(*list, rows_[1]);
}

// ===== the entry point =========================================================================

bool RunCustomFilterDialog(TqlDBTreeListColumn& column, TqlDBGridCriteria& criteria) {
  auto dialog = std::make_unique<TfmCustomDialog>(nullptr);
  dialog->Load(column, criteria);
  if (dialog->ShowModal() != mrOk) return false;
  dialog->Apply(criteria);
  return true;
}
