// The custom filter dialog on real grid columns over an in-memory table (NAME a string, N an
// integer, TID a masked string): where its parts lie, what it shows for the column's
// conditions, what OK puts into the criteria, which texts it refuses, and one modal run
// driven by keys.
#include "dbgrid/custom_filter_dialog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dbgrid/db_grid.h"
#include "dbgrid/db_grid_column.h"
#include "dbgrid/filter_criteria.h"
#include "platform/core/utf8.h"
#include "platform/db/data_source.h"
#include "platform/db/field.h"
#include "platform/db/memory_table.h"
#include "platform/ui/application.h"
#include "platform/ui/bevel.h"
#include "platform/ui/bit_btn.h"
#include "platform/ui/label.h"
#include "platform/ui/radio_button.h"
#include "platform/ui/services.h"
#include "platform/ui/toolkit.h"
#include "tests/support/synthetic_input.h"
#include "tests/support/test_form.h"

namespace {

// The criteria tree in one line: lists as AND(...) / OR(...), items as
// [NOT ]name code type:value "display text".
std::string describe(const TqlCustomCriteriaItem& node) {
  std::string out = node.IsNot() ? "NOT " : "";
  if (node.IsList()) {
    const auto& list = static_cast<const TqlCriteriaItemList&>(node);
    out += list.BoolOperator() == qboOr ? "OR(" : "AND(";
    for (int i = 0; i < list.Count(); ++i) out += (i ? "; " : "") + describe(*list.Items(i));
    return out + ")";
  }
  const auto& item = static_cast<const TqlCriteriaItem&>(node);
  return out + item.Name() + " " + std::to_string(item.OperatorCode()) + " " +
         VarTypeName(item.Value().VarType()) + ":" + item.Value().AsString() + " \"" +
         item.DisplayText() + "\"";
}

void type(TCustomForm& form, const std::string& text) {
  for (char32_t ch : Utf8ToUtf32(text)) input::KeyPress(form, ch);
}

struct DialogFixture {
  TestForm form{Bounds(0, 0, 400, 200)};
  TqlDBGrid* grid = nullptr;
  TqlDBTreeListColumn* name = nullptr;  // cNAME: string
  TqlDBTreeListColumn* number = nullptr;  // cN: integer
  TqlDBGridMaskColumn* tid = nullptr;  // cTID: string, mask "0000;0;_"
  TqlDBGridCriteria criteria;
  std::unique_ptr<TfmCustomDialog> dialog;

  DialogFixture() {
    EnsureTestApplication();
    auto* table = new TMemoryTable(&form.form());
    table->AddFieldDef("TID", ftWideString, 4, true);
    table->AddFieldDef("NAME", ftWideString, 20);
    table->AddFieldDef("N", ftInteger);
    table->Open();
    auto* source = new TDataSource(&form.form());
    source->SetDataSet(table);
    grid = form.Add<TqlDBGrid>(0, 0, 400, 200);
    grid->SetName("qlGrid");
    grid->Font().SetName("宋体");
    grid->Font().SetCharset(GB2312_CHARSET);
    grid->Font().SetHeight(-12);
    tid = grid->CreateColumn<TqlDBGridMaskColumn>();
    tid->SetName("cTID");
    tid->SetFieldName("TID");
    tid->SetEditMask("0000;0;_");
    name = grid->CreateColumn<TqlDBGridColumn>();
    name->SetName("cNAME");
    name->SetFieldName("NAME");
    number = grid->CreateColumn<TqlDBGridColumn>();
    number->SetName("cN");
    number->SetFieldName("N");
    grid->SetDataSource(source);
  }

  // A dialog loaded for the column and shown (not modally), so its editors can take the focus.
  TfmCustomDialog& open(TqlDBTreeListColumn& column) {
    dialog = std::make_unique<TfmCustomDialog>(nullptr);
    dialog->Load(column, criteria);
    dialog->Show();
    dialog->PaintPending();
    return *dialog;
  }

  // The user's choices in the two rows (op2 -1: no second row).
  void fill(int op1, const std::string& text1, int op2 = -1, const std::string& text2 = "",
            bool orJoin = false) {
    dialog->OperatorBox1->SetOperatorIndex(op1);
    dialog->ValueEdit1->SetEditText(text1);
    dialog->OperatorBox2->SetOperatorIndex(op2);
    dialog->ValueEdit2->SetEditText(text2);
    (orJoin ? dialog->rbOr : dialog->rbAnd)->SetChecked(true);
  }
};

// ===== the operator entries ====================================================================

TEST(CustomFilterOperators, EntriesAndTheWayBackFromAConditionAgree) {
  struct Case {
    int index;
    const char* description;
    int code;
    bool isNot;
  };
  const Case cases[] = {
      {0, "equals", 1, false},          {1, "does not equal", 1, true},
      {2, "is greater than", 2, false}, {3, "is greater than or equal to", 4, false},
      {4, "is less than", 3, false},    {5, "is less than or equal to", 5, false},
      {6, "blanks", 0, false},          {7, "non blanks", 0, true},
  };
  for (const Case& c : cases) {
    const TqlFilterOperatorEntry& entry = FilterOperatorEntry(c.index);
    EXPECT_STREQ(entry.Description, c.description);
    EXPECT_EQ(entry.OperatorCode, c.code) << c.description;
    EXPECT_EQ(entry.IsNot, c.isNot) << c.description;
    EXPECT_EQ(FilterOperatorIndex(entry.OperatorCode, entry.IsNot), c.index)
        << c.description << ": a condition the entry made shows the entry again";
  }
  EXPECT_EQ(FilterOperatorIndex(kOperatorGreater, true), 2) << "a negated comparison shows without NOT";
}

// ===== the form ================================================================================

TEST(CustomFilterDialog, ComponentsLieWhereTheFormPutsThem) {
  DialogFixture f;
  TqlCriteriaItemList* list = f.criteria.Root().AddList(qboOr);
  list->AddItem("cN", kOperatorGreater, Variant(1), "1");
  list->AddItem("cN", kOperatorLessEqual, Variant(5), "5");
  TfmCustomDialog& d = f.open(*f.number);

  EXPECT_EQ(d.Caption(), "Custom AutoFilter");
  EXPECT_EQ(d.ClientWidth(), 412);
  EXPECT_EQ(d.ClientHeight(), 166);
  EXPECT_EQ(d.BorderStyle(), bsDialog);
  EXPECT_EQ(d.Position(), poScreenCenter);
  EXPECT_EQ(d.Font().Name(), "宋体") << "the grid font's name";
  EXPECT_EQ(d.Font().Charset(), GB2312_CHARSET) << "and character set";
  EXPECT_EQ(d.Font().Height(), -11) << "at the form's own height";

  struct Case {
    const TControl* control;
    TRect bounds;  // an empty rectangle: only the top-left is fixed (auto-sized labels)
    bool visible;
    const char* caption;  // nullptr: not checked
  };
  const Case cases[] = {
      {d.lblTitle, Bounds(8, 8, 0, 0), true, "Show rows where:"},
      {d.LColumnName, Bounds(8, 27, 0, 0), true, "N "},
      {d.bvlLine, Bounds(8, 34, 396, 4), true, nullptr},
      {d.cbOperator1, Bounds(14, 46, 185, 21), false, nullptr},
      {d.cbOperator2, Bounds(14, 96, 185, 21), false, nullptr},
      {d.Edit1, Bounds(214, 46, 185, 21), false, nullptr},
      {d.Edit2, Bounds(214, 96, 185, 21), false, nullptr},
      {d.rbAnd, Bounds(60, 74, 41, 17), true, "&And"},
      {d.rbOr, Bounds(118, 74, 33, 17), true, "&Or"},
      {d.lblSingle, Bounds(8, 134, 0, 0), false, "Use ? to represent any single character"},
      {d.lblSeries, Bounds(8, 153, 0, 0), false, "Use * to represent any series of characters"},
      {d.btnOK, Bounds(248, 136, 75, 23), true, "OK"},
      {d.btnCancel, Bounds(330, 136, 75, 23), true, "Cancel"},
      {d.OperatorBox1, Bounds(14, 46, 185, 21), true, nullptr},
      {d.ValueEdit1, Bounds(214, 46, 185, 21), true, nullptr},
      {d.OperatorBox2, Bounds(14, 96, 185, 21), true, nullptr},
      {d.ValueEdit2, Bounds(214, 96, 185, 21), true, nullptr},
  };
  for (const Case& c : cases) {
    ASSERT_NE(c.control, nullptr);
    const std::string what = c.control->Name().empty() ? "a run-time editor" : c.control->Name();
    if (c.bounds.IsEmpty()) {
      EXPECT_EQ(c.control->Left(), c.bounds.Left) << what;
      EXPECT_EQ(c.control->Top(), c.bounds.Top) << what;
    } else {
      EXPECT_EQ(c.control->BoundsRect(), c.bounds) << what;
    }
    EXPECT_EQ(c.control->Visible(), c.visible) << what;
    if (c.caption) {
      EXPECT_EQ(c.control->Caption(), c.caption) << what;
    }
  }
  EXPECT_TRUE(d.btnOK->Default());
  EXPECT_EQ(d.btnOK->ModalResult(), mrOk);
  EXPECT_TRUE(d.btnCancel->Cancel());
  EXPECT_EQ(d.btnCancel->ModalResult(), mrCancel);
  EXPECT_EQ(d.bvlLine->Shape(), bsTopLine);

  const std::vector<TWinControl*> tabOrder = {d.OperatorBox1, d.ValueEdit1, d.rbAnd, d.rbOr,
                                              d.OperatorBox2, d.ValueEdit2, d.btnOK, d.btnCancel};
  EXPECT_EQ(d.GetTabOrderList(), tabOrder)
      << "each value editor right after its operator box; the second box right after rbOr";
  EXPECT_EQ(d.OperatorBox1->DropDownRows(), 8) << "all eight entries without scrolling";
  EXPECT_EQ(d.OperatorBox2->ValueList().front(), "-1");
  EXPECT_EQ(d.OperatorBox2->DescriptionList().front(), "");

  // The editors wear their frames (the edit's sunken border) and the operator boxes their
  // drop-down button, also while they do not have the focus.
  for (const TWinControl* editor : {static_cast<const TWinControl*>(d.ValueEdit2), static_cast<const TWinControl*>(d.OperatorBox2)}) {
    ExpectPixels(WindowPixels(*editor),
                 {{0, 0, ColorToRGB(clBtnShadow), "sunken border, outer line"},
                  {1, 1, ColorToRGB(cl3DDkShadow), "sunken border, inner line"}});
  }
  ASSERT_EQ(d.OperatorBox2->ButtonRects().size(), 1u);
  EXPECT_TRUE(HasColor(WindowPixels(*d.OperatorBox2), ColorToRGB(clBtnFace), d.OperatorBox2->ButtonRects().front()))
      << "the button's face";

  // A picture of the loaded dialog for a look by eye, when asked for.
  if (const char* path = std::getenv("QUILLON_DIALOG_SNAPSHOT")) d.Image().SaveToBmpFile(path);
}

TEST(CustomFilterDialog, ValueEditorsTakeTheColumnsSettingsButNotItsHooks) {
  DialogFixture f;
  f.tid->SetReadOnly(true);
  TfmCustomDialog& d = f.open(*f.tid);
  for (TCustomqlFilterEdit* edit : {d.ValueEdit1, d.ValueEdit2}) {
    EXPECT_EQ(edit->EditMask(), "0000;0;_") << "the column's mask";
    EXPECT_EQ(edit->MaxLength(), 4) << "the field's size";
    EXPECT_FALSE(edit->ReadOnly()) << "a filter value may be typed on a read-only column";
    EXPECT_FALSE(edit->ChangeHook) << "no change hook";
    EXPECT_FALSE(edit->ValidateHook) << "no validate hook";
  }
  // Half a masked value: Up and Down leave it alone (in a grid they would validate and move).
  d.ValueEdit1->SetFocus();
  type(d, "12");
  for (uint16_t key : {VK_DOWN, VK_UP, VK_NEXT, VK_PRIOR})
    EXPECT_NO_THROW(input::KeyDown(d, key)) << key;
  EXPECT_EQ(d.ValueEdit1->ValueText(), "12");
  EXPECT_TRUE(d.ValueEdit1->Focused());
}

// ===== loading =================================================================================

TEST(CustomFilterDialog, ShowsTheColumnsFirstConditionAndItsListsSecondChild) {
  struct Case {
    const char* name;
    std::function<void(TqlDBGridCriteria&)> build;
    TqlDBTreeListColumn* DialogFixture::*column;
    int op1;
    const char* text1;
    bool orChecked;
    int op2;
    const char* text2;
  };
  const std::vector<Case> cases = {
      {"nothing for the column: the starting state",
       [](TqlDBGridCriteria& c) { c.SetValueItem("cNAME", Variant("x"), "x"); },
       &DialogFixture::number, 0, "", false, -1, ""},
      {"a drop-down value: equals and the value, no second row (the root is no sub-list)",
       [](TqlDBGridCriteria& c) {
         c.SetValueItem("cNAME", Variant("x"), "x");
         c.SetValueItem("cN", Variant(2), "2");
       },
       &DialogFixture::number, 0, "2", false, -1, ""},
      {"an OR list: both rows and rbOr",
       [](TqlDBGridCriteria& c) {
         c.SetValueItem("cNAME", Variant("x"), "x");
         TqlCriteriaItemList* list = c.Root().AddList(qboOr);
         list->AddItem("cN", kOperatorGreater, Variant(1), "1");
         list->AddItem("cN", kOperatorLessEqual, Variant(5), "5");
       },
       &DialogFixture::number, 2, "1", true, 5, "5"},
      {"an AND list with NOT =: does not equal, rbAnd",
       [](TqlDBGridCriteria& c) {
         TqlCriteriaItemList* list = c.Root().AddList(qboAnd);
         list->AddItem("cN", kOperatorEqual, Variant(3), "3", true);
         list->AddItem("cN", kOperatorLess, Variant(9), "9");
       },
       &DialogFixture::number, 1, "3", false, 4, "9"},
      {"negated blanks: non blanks with an empty value",
       [](TqlDBGridCriteria& c) { c.SetBlanksItem("cNAME", true); },
       &DialogFixture::name, 7, "", false, -1, ""},
      {"blanks",
       [](TqlDBGridCriteria& c) { c.SetBlanksItem("cNAME", false); },
       &DialogFixture::name, 6, "", false, -1, ""},
  };
  for (const Case& c : cases) {
    DialogFixture f;
    c.build(f.criteria);
    TfmCustomDialog& d = f.open(*(f.*c.column));
    EXPECT_EQ(d.OperatorBox1->OperatorIndex(), c.op1) << c.name;
    EXPECT_EQ(d.ValueEdit1->ValueText(), c.text1) << c.name;
    EXPECT_EQ(d.rbOr->Checked(), c.orChecked) << c.name;
    EXPECT_EQ(d.rbAnd->Checked(), !c.orChecked) << c.name;
    EXPECT_EQ(d.OperatorBox2->OperatorIndex(), c.op2) << c.name;
    EXPECT_EQ(d.OperatorBox2->EditText(), std::to_string(c.op2)) << c.name;
    EXPECT_EQ(d.ValueEdit2->ValueText(), c.text2) << c.name;
    EXPECT_EQ(d.OperatorBox1->Description(), FilterOperatorEntry(c.op1).Description) << c.name;
  }
}

// ===== applying ================================================================================

TEST(CustomFilterDialog, OkReplacesTheColumnsConditionsOnly) {
  struct Case {
    const char* name;
    TqlDBTreeListColumn* DialogFixture::*column;
    int op1;
    const char* text1;
    int op2;
    const char* text2;
    bool orJoin;
    const char* expected;  // describe() of the criteria afterwards
  };
  // Before each case: NAME = 'keep' at the root, then an old (N = 7) and (N Is Null) list.
  const Case cases[] = {
      {"one row goes to the root", &DialogFixture::number, 2, "12", -1, "", false,
       R"(AND(cNAME 1 String:keep "keep"; cN 2 Integer:12 "12"))"},
      {"two rows with Or: an OR list", &DialogFixture::number, 0, "1", 4, "5", true,
       R"(AND(cNAME 1 String:keep "keep"; OR(cN 1 Integer:1 "1"; cN 3 Integer:5 "5")))"},
      {"two rows with And: an AND list", &DialogFixture::number, 3, "1", 1, "4", false,
       R"(AND(cNAME 1 String:keep "keep"; AND(cN 4 Integer:1 "1"; NOT cN 1 Integer:4 "4")))"},
      {"non blanks: negated Is Null, null value, no text", &DialogFixture::number, 7, "abc", -1,
       "", false, R"(AND(cNAME 1 String:keep "keep"; NOT cN 0 Null: ""))"},
      {"blanks in the second row", &DialogFixture::number, 5, "3", 6, "", true,
       R"(AND(cNAME 1 String:keep "keep"; OR(cN 5 Integer:3 "3"; cN 0 Null: "")))"},
      {"a string keeps quotes and wildcards as typed", &DialogFixture::name, 0, "O'Br*en?", -1,
       "", false,
       R"(AND(AND(cN 1 Integer:7 "7"; cN 0 Null: ""); cNAME 1 String:O'Br*en? "O'Br*en?"))"},
  };
  for (const Case& c : cases) {
    DialogFixture f;
    f.criteria.SetValueItem("cNAME", Variant("keep"), "keep");
    TqlCriteriaItemList* old = f.criteria.Root().AddList(qboAnd);
    old->AddItem("cN", kOperatorEqual, Variant(7), "7");
    old->AddItem("cN", kOperatorIsNull, Variant::Null(), "");
    TfmCustomDialog& d = f.open(*(f.*c.column));
    f.fill(c.op1, c.text1, c.op2, c.text2, c.orJoin);
    ASSERT_NO_THROW(d.ValidateAndCollect()) << c.name;
    d.Apply(f.criteria);
    f.criteria.CheckInvariants();
    EXPECT_EQ(describe(f.criteria.Root()), c.expected) << c.name;
    f.criteria.ForEachItem([&](TqlCriteriaItem& item) {
      EXPECT_NE(dynamic_cast<TqlDBGridCriteriaItem*>(&item), nullptr) << c.name << ": the grid's item class";
    });
  }
}

// ===== the close query =========================================================================

TEST(CustomFilterDialog, TextsThatDoNotConvertAreRefusedAndTheEditorFocused) {
  struct Case {
    const char* name;
    TqlDBTreeListColumn* DialogFixture::*column;
    int op1;
    const char* text1;
    int op2;
    const char* text2;
    int failingRow;  // -1: accepted
  };
  const Case cases[] = {
      {"letters for an integer", &DialogFixture::number, 2, "abc", -1, "", 0},
      {"empty for an integer", &DialogFixture::number, 2, "", -1, "", 0},
      {"a number beyond the integer range", &DialogFixture::number, 0, "99999999999", -1, "", 0},
      {"the second row is checked too", &DialogFixture::number, 0, "1", 4, "x", 1},
      {"an unused second row is not", &DialogFixture::number, 0, "1", -1, "x", -1},
      {"blanks need no value", &DialogFixture::number, 6, "", 7, "x", -1},
      {"an integer with blanks round it", &DialogFixture::number, 0, " 42 ", -1, "", -1},
      {"a string takes anything", &DialogFixture::name, 2, "'\"%*?[", -1, "", -1},
      {"a string may be empty", &DialogFixture::name, 0, "", -1, "", -1},
  };
  for (const Case& c : cases) {
    DialogFixture f;
    TfmCustomDialog& d = f.open(*(f.*c.column));
    f.fill(0, "5");
    d.ValidateAndCollect();  // the rows of an earlier OK, kept through a failure
    d.btnOK->SetFocus();
    f.fill(c.op1, c.text1, c.op2, c.text2);
    if (c.failingRow < 0) {
      EXPECT_NO_THROW(d.ValidateAndCollect()) << c.name;
      continue;
    }
    try {
      d.ValidateAndCollect();
      ADD_FAILURE() << c.name << ": accepted";
    } catch (const EqlEditInvalidInput& e) {
      EXPECT_STREQ(e.what(), "Invalid value") << c.name;
    }
    EXPECT_TRUE((c.failingRow == 0 ? d.ValueEdit1 : d.ValueEdit2)->Focused()) << c.name;
    EXPECT_EQ(d.Row(0).Text, "5") << c.name << ": the rows of the earlier OK stay";
    EXPECT_EQ(d.Row(1).OperatorIndex, -1) << c.name;
  }
}

TEST(CustomFilterDialog, CollectedValuesTakeTheFieldsType) {
  DialogFixture f;
  TfmCustomDialog& d = f.open(*f.number);
  f.fill(4, " 42 ", 1, "-7");
  d.ValidateAndCollect();
  EXPECT_EQ(d.Row(0).Value.VarType(), varInteger);
  EXPECT_EQ(d.Row(0).Value, Variant(42));
  EXPECT_EQ(d.Row(0).Text, " 42 ") << "the display text is the text as typed";
  EXPECT_EQ(d.Row(1).Value, Variant(-7));
}

// ===== a modal run =============================================================================

TfmCustomDialog* shownDialog() {
  for (TCustomForm* form : Application->Forms())
    if (auto* dialog = dynamic_cast<TfmCustomDialog*>(form); dialog && dialog->IsShown()) return dialog;
  return nullptr;
}

// The user of a modal dialog: one step per posted message while the modal loop runs. A step
// waits while a close is pending (the loop has not asked the close query yet); once the steps
// are used up, a dialog still up is cancelled as a failure, so a broken dialog cannot hang the
// test. Destroying the script drops its pending message.
class Script : public TControl {
 public:
  static constexpr uint32_t kStep = 0x8401;
  explicit Script(std::vector<std::function<void(TfmCustomDialog&)>> steps)
      : TControl(nullptr), steps_(std::move(steps)) {
    post();
  }
  void WndProc(TMessage& msg) override {
    if (msg.Msg != kStep) return;
    TfmCustomDialog* dialog = shownDialog();
    if (!dialog) return;  // the run is over
    if (dialog->ModalResult() == mrNone) {
      if (at_ == steps_.size()) {
        ADD_FAILURE() << "the dialog is still up after the last step";
        dialog->SetModalResult(mrCancel);
      } else {
        steps_[at_++](*dialog);
      }
    }
    post();
  }

 private:
  void post() { PostMessage(this, kStep); }
  std::vector<std::function<void(TfmCustomDialog&)>> steps_;
  size_t at_ = 0;
};

TEST(CustomFilterDialog, ModalRunByKeys) {
  DialogFixture f;
  f.criteria.SetValueItem("cNAME", Variant("keep"), "keep");
  const std::string before = describe(f.criteria.Root());
  std::vector<std::string> boxes;
  SetMessageBoxHook([&](const std::string& text, const std::string&, int) {
    boxes.push_back(text);
    return IDOK;
  });

  // Escape cancels: nothing changes.
  auto script = std::make_unique<Script>(std::vector<std::function<void(TfmCustomDialog&)>>{
      [](TfmCustomDialog& d) { input::KeyDown(d, VK_ESCAPE); }});
  EXPECT_FALSE(RunCustomFilterDialog(*f.number, f.criteria));
  EXPECT_EQ(describe(f.criteria.Root()), before);
  EXPECT_TRUE(boxes.empty());

  // Two Downs on the first operator box, Tab, a letter, Enter: refused; then a number.
  script = std::make_unique<Script>(std::vector<std::function<void(TfmCustomDialog&)>>{
      [](TfmCustomDialog& d) {
        EXPECT_TRUE(d.OperatorBox1->Focused()) << "the first tab stop";
        input::KeyDown(d, VK_DOWN);
        input::KeyDown(d, VK_DOWN);
        EXPECT_EQ(d.OperatorBox1->Description(), "is greater than");
        input::KeyDown(d, VK_TAB);
        EXPECT_TRUE(d.ValueEdit1->Focused());
        type(d, "x");
        input::KeyDown(d, VK_RETURN);  // the default button: OK
      },
      [&](TfmCustomDialog& d) {
        EXPECT_EQ(boxes, std::vector<std::string>{"Invalid value"}) << "the refusal was shown";
        EXPECT_TRUE(d.ValueEdit1->Focused()) << "the refused editor has the focus";
        input::KeyDown(d, VK_TAB, {ssShift});
        input::KeyDown(d, VK_TAB);  // back in: the text is selected
        type(d, "2");
        EXPECT_EQ(d.ValueEdit1->ValueText(), "2");
        input::KeyDown(d, VK_RETURN);
      }});
  EXPECT_TRUE(RunCustomFilterDialog(*f.number, f.criteria));
  script.reset();
  SetMessageBoxHook(nullptr);
  EXPECT_EQ(boxes, std::vector<std::string>{"Invalid value"});
  EXPECT_EQ(describe(f.criteria.Root()), R"(AND(cNAME 1 String:keep "keep"; cN 2 Integer:2 "2"))");
  EXPECT_EQ(shownDialog(), nullptr) << "the form is gone";
}

}  // namespace
