// The grid filter on a data-aware grid: the header drop-down's items and what choosing them
// does, the rows and focus after filtering, the status panel by FilterStatus, the expression
// handed on, and copying a filtered grid.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dbgrid/db_grid.h"
#include "dbgrid/db_grid_column.h"
#include "dbgrid/custom_filter_dialog.h"
#include "dbgrid/db_grid_filter.h"
#include "platform/ui/application.h"
#include "treelist/inplace_image_edit.h"
#include "platform/ui/bit_btn.h"
#include "platform/ui/radio_button.h"
#include <utility>
#include "platform/db/data_source.h"
#include "platform/db/field.h"
#include "platform/db/memory_table.h"
#include "platform/ui/services.h"
#include "platform/ui/toolkit.h"
#include "tests/support/synthetic_input.h"
#include "tests/support/test_form.h"
#include "treelist/paint_primitives.h"
#include "treelist/treelist_layout.h"
#include "treelist/treelist_node.h"
#include "platform/db/db_error.h"
#include <algorithm>
#include <stdexcept>

namespace {

struct Row {
  const char* tid;
  const char* name;
  int n;
  const char* system;  // "" stays null
};

// Terms TID, NAME, N (integer), SYS on a shown grid with the filter active; columns named
// ColTID, ColNAME, ColN, ColSYS.
struct FilterFixture {
  TestForm form{Bounds(0, 0, 520, 300)};
  TMemoryTable* table = nullptr;
  TqlDBGrid* grid = nullptr;
  std::vector<std::string> filterTexts;

  explicit FilterFixture(std::vector<Row> rows = {{"0001", "头痛", 3, "0410"},
                                                  {"0002", "咳嗽", 1, "1100"},
                                                  {"0003", "发热", 2, "1810"},
                                                  {"0004", "O'Brien", 2, ""},
                                                  {"0005", "abc", 1, "1100"},
                                                  {"0006", "ABC", 5, "0410"}}) {
    EnsureTestApplication();
    table = new TMemoryTable(&form.form());
    table->AddFieldDef("TID", ftWideString, 4, true);
    table->AddFieldDef("NAME", ftWideString, 20);
    table->AddFieldDef("N", ftInteger);
    table->AddFieldDef("SYS", ftWideString, 4);
    table->Open();
    for (const Row& r : rows) {
      table->Append();
      table->FieldByName("TID")->SetText(r.tid);
      table->FieldByName("NAME")->SetText(r.name);
      table->FieldByName("N")->SetValue(Variant(r.n));
      if (*r.system) table->FieldByName("SYS")->SetText(r.system);
      table->Post();
    }
    table->First();
    auto* source = new TDataSource(&form.form());
    source->SetDataSet(table);
    grid = form.Add<TqlDBGrid>(0, 0, 500, 280);
    grid->SetKeyField("TID");
    grid->SetOptionsDB({edgoCanNavigation, edgoLoadAllRecords, edgoUseBookmarks});
    grid->SetOptionsBehavior({edgoAutoSort, edgoMultiSelect});
    for (const char* field : {"TID", "NAME", "N", "SYS"}) {
      auto* column = grid->CreateColumn<TqlDBGridColumn>();
      column->SetName(std::string("Col") + field);
      column->SetCaption(std::string("c") + field);
      column->SetFieldName(field);
    }
    grid->SetDataSource(source);
    grid->Filter().SetActive(true);
    grid->OnFilterChanged = [this](TObject*, TDataSet*, const std::string& text) {
      filterTexts.push_back(text);
    };
    form.Show();
    grid->SetFocus();
  }
  TqlDBTreeListColumn& column(const char* field) {
    for (int i = 0; i < grid->ColumnCount(); ++i)
      if (grid->DBColumn(i)->FieldName() == field) return *grid->DBColumn(i);
    throw std::runtime_error("no column");
  }
  std::vector<std::string> shownKeys() const {
    std::vector<std::string> keys;
    for (int row = 0; row < grid->ShownRowCount(); ++row)
      keys.push_back(grid->GetCellText(grid->NodeAtRowIndex(row), 0));
    return keys;
  }
  std::string focusedKey() const {
    return grid->FocusedNode() ? grid->GetCellText(grid->FocusedNode(), 0) : "";
  }
  // Opens the drop-down of a column as a click on its header button does.
  TqlDBGridFilterPopupListBox& dropDown(const char* field) {
    grid->DropDownFilter(column(field).Index());
    TqlDBGridFilterPopupListBox* list = grid->FilterDropDown();
    if (!list || !list->PopupVisible()) throw std::runtime_error("no drop-down");
    return *list;
  }
  bool key(uint16_t k, TShiftState shift = {}) { return input::KeyDown(form.form(), k, shift); }
  // Chooses an item of an open drop-down by its text, with the keys.
  void choose(const char* field, const std::string& item) {
    TqlDBGridFilterPopupListBox& list = dropDown(field);
    const auto& items = list.Items();
    const auto it = std::find(items.begin(), items.end(), item);
    if (it == items.end()) throw std::runtime_error("no item " + item);
    list.SetItemIndex(static_cast<int>(it - items.begin()));
    key(VK_RETURN);
  }
};

// Items: "(All)", "(Custom...)", the blanks items only when a row is blank, then the values in
// value order with equal values once; case-insensitive merging upper-cases; MaxDropDownCount
// keeps the first values read.
TEST(DBGridFilter, DropDownItems) {
  FilterFixture f;
  EXPECT_EQ(f.dropDown("SYS").Items(),
            (std::vector<std::string>{"(All)", "(Custom...)", "(Blanks)", "(NonBlanks)", "0410",
                                      "1100", "1810"}));
  f.key(VK_ESCAPE);
  EXPECT_EQ(f.dropDown("N").Items(),
            (std::vector<std::string>{"(All)", "(Custom...)", "1", "2", "3", "5"}))
      << "integers in value order, no blanks";
  f.key(VK_ESCAPE);
  EXPECT_EQ(f.dropDown("NAME").Items(),
            (std::vector<std::string>{"(All)", "(Custom...)", "ABC", "O'Brien", "abc", "发热",
                                      "咳嗽", "头痛"}));
  f.key(VK_ESCAPE);
  f.grid->Filter().SetCaseInsensitive(true);
  const std::vector<std::string> merged = f.dropDown("NAME").Items();
  EXPECT_EQ(std::count(merged.begin(), merged.end(), "ABC"), 1) << "abc and ABC merge";
  EXPECT_EQ(std::count(merged.begin(), merged.end(), "abc"), 0);
  f.key(VK_ESCAPE);
  f.grid->Filter().SetMaxDropDownCount(2);
  EXPECT_EQ(f.dropDown("TID").Items(),
            (std::vector<std::string>{"(All)", "(Custom...)", "0001", "0002"}));
  f.key(VK_ESCAPE);

  FilterFixture empty({{"0001", "a", 1, ""}, {"0002", "b", 2, ""}});
  EXPECT_EQ(empty.dropDown("SYS").Items(),
            (std::vector<std::string>{"(All)", "(Custom...)", "(Blanks)", "(NonBlanks)"}));
}

// Choosing items: the rows shown, the expression handed on, the status panel (fsAuto), the
// filtered mark, and "(All)" taking the column's condition away again.
TEST(DBGridFilter, ChoosingItemsFiltersTheRows) {
  FilterFixture f;
  struct Step {
    const char* field;
    const char* item;
    std::vector<std::string> keys;
    const char* expression;
    const char* status;
  };
  const Step steps[] = {
      {"SYS", "1100", {"0002", "0005"}, "(SYS = '1100')", "(cSYS = 1100)"},
      {"N", "1", {"0002", "0005"}, "(SYS = '1100') AND (N = 1)", "(cSYS = 1100) AND (cN = 1)"},
      {"SYS", "(All)", {"0002", "0005"}, "(N = 1)", "(cN = 1)"},
      {"N", "(All)", {"0001", "0002", "0003", "0004", "0005", "0006"}, "", ""},
      {"SYS", "(Blanks)", {"0004"}, "(SYS Is Null)", "(cSYS Is Null)"},
      {"SYS", "(NonBlanks)", {"0001", "0002", "0003", "0005", "0006"}, "(NOT (SYS Is Null))",
       "(NOT (cSYS Is Null))"},
      {"NAME", "O'Brien", {}, "(NOT (SYS Is Null)) AND (NAME = 'O''Brien')",
       "(NOT (cSYS Is Null)) AND (cNAME = O'Brien)"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(std::string(step.field) + " " + step.item);
    f.choose(step.field, step.item);
    EXPECT_EQ(f.shownKeys(), step.keys);
    ASSERT_FALSE(f.filterTexts.empty());
    EXPECT_EQ(f.filterTexts.back(), step.expression);
    EXPECT_EQ(f.grid->GetStatusText(), step.status);
    const bool filtering = *step.expression != 0;
    EXPECT_EQ(f.grid->StatusPanelShown(), filtering);
    EXPECT_EQ(f.grid->LayoutFrame()->StatusRect.IsEmpty(), !filtering) << "laid out";
    EXPECT_EQ(f.grid->StatusCloseButtonShown(), filtering);
    EXPECT_EQ((f.grid->GetFilterButtonState(f.column(step.field).Index()) & fbsFiltered) != 0,
              std::string(step.item) != "(All)");
  }
  f.grid->ClearFilter();  // the status panel's close button
  EXPECT_EQ(f.shownKeys().size(), 6u);
  EXPECT_FALSE(f.grid->StatusPanelShown());
}

TEST(DBGridFilter, StatusPanelByFilterStatus) {
  struct Case {
    TqlDBGridFilterStatus status;
    bool filtering;
    bool shown;
  };
  const Case cases[] = {{fsAuto, false, false}, {fsAuto, true, true},   {fsNone, true, false},
                        {fsNone, false, false}, {fsAlways, false, true}, {fsAlways, true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.status) * 10 + c.filtering);
    FilterFixture f;
    f.grid->Filter().SetFilterStatus(c.status);
    if (c.filtering) f.grid->Filter().SetValue(f.column("N"), Variant(2), "2");
    EXPECT_EQ(f.grid->StatusPanelShown(), c.shown);
    EXPECT_EQ(f.grid->StatusCloseButtonShown(), c.filtering);
  }
}

// A filter that hides the focused row moves the focus (and the data set) to the nearest shown
// row after it, else before it; a focused row that passes keeps the focus.
TEST(DBGridFilter, FocusFollowsToTheNearestShownRow) {
  struct Case {
    const char* focused;
    int n;  // N = n is the condition
    const char* expected;
  };
  const Case cases[] = {
      {"0003", 2, "0003"},  // passes: stays
      {"0002", 2, "0003"},  // the next passing row
      {"0006", 2, "0004"},  // none after: the one before
      {"0001", 5, "0006"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.focused);
    FilterFixture f;
    f.table->Locate("TID", Variant(std::string(c.focused)), {});
    ASSERT_EQ(f.focusedKey(), c.focused);
    f.grid->Filter().SetValue(f.column("N"), Variant(c.n), std::to_string(c.n));
    EXPECT_EQ(f.focusedKey(), c.expected);
    EXPECT_EQ(f.table->FieldByName("TID")->AsString(), c.expected) << "the data set follows";
  }
}

// Selecting from the first row to the last after filtering selects, and copies, the matching
// rows only; a reload keeps the filter.
TEST(DBGridFilter, CopyAndReloadKeepToTheMatchingRows) {
  FilterFixture f;
  f.choose("SYS", "0410");
  f.key(VK_HOME, {ssCtrl});
  f.key(VK_END, {ssCtrl, ssShift});
  EXPECT_EQ(f.grid->SelectedCount(), 2);
  f.key(VK_INSERT, {ssCtrl});
  const std::string copied = ClipboardGetText();
  EXPECT_NE(copied.find("0001"), std::string::npos) << copied;
  EXPECT_NE(copied.find("0006"), std::string::npos);
  EXPECT_EQ(copied.find("0002"), std::string::npos);
  f.grid->LoadNodes();  // the grid reads its data set again
  EXPECT_EQ(f.shownKeys(), (std::vector<std::string>{"0001", "0006"}));
}

// With AutoDataSetFilter the expression goes into the data set too; the record set evaluates
// it the same way, quotes included.
TEST(DBGridFilter, AutoDataSetFilterFiltersTheDataSet) {
  FilterFixture f;
  f.grid->Filter().SetAutoDataSetFilter(true);
  f.choose("NAME", "O'Brien");
  EXPECT_TRUE(f.table->Filtered());
  EXPECT_EQ(f.table->Filter(), "(NAME = 'O''Brien')");
  EXPECT_EQ(f.table->RecordCount(), 1);
  EXPECT_EQ(f.shownKeys(), (std::vector<std::string>{"0004"}));
  f.grid->Filter().SetAutoDataSetFilter(false);
  EXPECT_FALSE(f.table->Filtered());
  EXPECT_EQ(f.table->RecordCount(), 6);
  f.grid->Filter().SetCaseInsensitive(true);
  EXPECT_THROW(f.grid->Filter().SetAutoDataSetFilter(true), EDatabaseError)
      << "the record set takes no filter options";
}

// "(Custom...)" runs the dialog over the grid; its OK filters the grid by an Or of two
// conditions. The dialog is answered by steps posted into its modal loop.
class DialogAnswer : public TControl {
 public:
  explicit DialogAnswer(std::function<void(TfmCustomDialog&)> step)
      : TControl(nullptr), step_(std::move(step)) {
    PostMessage(this, kStep);
  }
  void WndProc(TMessage& msg) override {
    if (msg.Msg != kStep) return;
    for (TCustomForm* form : Application->Forms())
      if (auto* dialog = dynamic_cast<TfmCustomDialog*>(form); dialog && dialog->IsShown()) {
        if (step_) std::exchange(step_, nullptr)(*dialog);
        else if (dialog->ModalResult() == mrNone) dialog->SetModalResult(mrCancel);  // never hang
        break;
      }
    if (step_ || answered_++ < 3) PostMessage(this, kStep);
  }

 private:
  static constexpr uint32_t kStep = 0x8402;
  std::function<void(TfmCustomDialog&)> step_;
  int answered_ = 0;
};

TEST(DBGridFilter, CustomDialogFiltersByTwoConditions) {
  FilterFixture f;
  f.choose("SYS", "0410");
  DialogAnswer answer([](TfmCustomDialog& d) {
    EXPECT_EQ(d.OperatorBox1->Description(), "equals") << "the column's value condition";
    EXPECT_EQ(d.ValueEdit1->EditText(), "0410");
    d.rbOr->SetChecked(true);
    d.OperatorBox2->SetOperatorIndex(0);
    d.ValueEdit2->SetEditText("1810");
    d.btnOK->Click();
  });
  f.choose("SYS", "(Custom...)");
  EXPECT_EQ(f.shownKeys(), (std::vector<std::string>{"0001", "0003", "0006"}));
  EXPECT_EQ(f.filterTexts.back(), "((SYS = '0410') OR (SYS = '1810'))");
  EXPECT_TRUE(f.grid->StatusPanelShown());
  EXPECT_FALSE(f.grid->LayoutFrame()->StatusRect.IsEmpty()) << "laid out";
}

}  // namespace
