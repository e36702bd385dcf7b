// In-place editing in the data-aware grid over an editable in-memory table: the editor opens
// only where the field can be written, loads the field's edit text, writes the value back as
// the field's text (the row shows it at once), Escape leaves the old value, a refused
// character changes nothing, and moving to another row posts the record.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dbgrid/db_grid.h"
#include "dbgrid/db_grid_column.h"
#include "platform/core/utf8.h"
#include "platform/db/data_source.h"
#include "platform/db/field.h"
#include "platform/db/memory_table.h"
#include "platform/ui/services.h"
#include "platform/ui/toolkit.h"
#include "tests/support/synthetic_input.h"
#include "tests/support/test_form.h"
#include "treelist/inplace_mask_edit.h"
#include "treelist/treelist_node.h"

namespace {

// Terms TID (masked "0000;0;_"), NAME, N (an integer) on a shown grid with editing on.
struct EditGridFixture {
  TestForm form{Bounds(0, 0, 520, 260)};
  TMemoryTable* table = nullptr;
  TDataSource* source = nullptr;
  TqlDBGrid* grid = nullptr;

  explicit EditGridFixture(bool editing = true) {
    EnsureTestApplication();
    table = new TMemoryTable(&form.form());
    table->AddFieldDef("TID", ftWideString, 4, true);
    table->AddFieldDef("NAME", ftWideString, 20);
    table->AddFieldDef("N", ftInteger);
    table->Open();
    const char* names[] = {"头痛", "咳嗽", "发热"};
    for (int i = 0; i < 3; ++i) {
      table->Append();
      table->FieldByName("TID")->SetText("000" + std::to_string(i + 1));
      table->FieldByName("NAME")->SetText(names[i]);
      table->FieldByName("N")->SetValue(Variant(i + 1));
      table->Post();
    }
    table->First();
    source = new TDataSource(&form.form());
    source->SetDataSet(table);
    grid = form.Add<TqlDBGrid>(0, 0, 500, 240);
    grid->SetKeyField("TID");
    TqlDBGridOptionsBehavior behavior{edgoAutoSort};
    if (editing) behavior.include(edgoEditing);
    grid->SetOptionsBehavior(behavior);
    grid->SetOptionsDB({edgoCanNavigation, edgoLoadAllRecords, edgoUseBookmarks, edgoCanAppend,
                        edgoCanInsert});
    grid->SetOptionsView(grid->OptionsView() - TqlDBGridOptionsView{edgoRowSelect});
    auto* tid = grid->CreateColumn<TqlDBGridMaskColumn>();
    tid->SetFieldName("TID");
    tid->SetEditMask("0000;0;_");
    grid->CreateColumn<TqlDBGridColumn>()->SetFieldName("NAME");
    grid->CreateColumn<TqlDBGridColumn>()->SetFieldName("N");
    grid->SetDataSource(source);
    form.Show();
    grid->SetFocus();
  }
  void focus(int row, int column) {
    grid->SetFocusedNodeAndColumn(grid->NodeAtRowIndex(row), grid->AbsoluteToFocusIndex(column), true);
  }
  bool key(uint16_t k, TShiftState shift = {}) { return input::KeyDown(form.form(), k, shift); }
  void type(const std::string& text) {
    for (char32_t ch : Utf8ToUtf32(text)) input::KeyPress(form.form(), ch);
  }
  std::string cell(int row, int column) const {
    return grid->GetCellText(grid->NodeAtRowIndex(row), column);
  }
  std::string stored(int recordPos, const char* field) {
    const int current = table->CurrentRecordPos();
    table->SetActiveRecordPos(recordPos);
    std::string text = table->FieldByName(field)->AsString();
    table->SetActiveRecordPos(current);
    return text;
  }
};

TEST(DBGridEditing, EditWritesTheFieldAndTheRowShowsIt) {
  EditGridFixture f;
  f.focus(1, 1);
  f.key(VK_F2);
  ASSERT_NE(f.grid->InplaceEditor(), nullptr);
  EXPECT_EQ(f.grid->InplaceEditor()->EditText(), "咳嗽") << "the field's edit text";
  EXPECT_EQ(f.table->State(), dsEdit) << "opening the editor starts the edit";
  f.type("干咳");
  f.key(VK_RETURN);
  EXPECT_EQ(f.cell(1, 1), "干咳") << "the row shows the new value at once";
  f.key(VK_INSERT, {ssCtrl});
  EXPECT_NE(ClipboardGetText().find("0002\t干咳\t2"), std::string::npos) << ClipboardGetText();
  f.key(VK_DOWN);
  EXPECT_EQ(f.table->State(), dsBrowse) << "leaving the row posts it";
  EXPECT_EQ(f.stored(1, "NAME"), "干咳");
}

TEST(DBGridEditing, EscapeLeavesTheOldValue) {
  EditGridFixture f;
  f.focus(0, 1);
  f.key(VK_F2);
  f.type("偏头痛");
  f.key(VK_ESCAPE);
  EXPECT_EQ(f.grid->State(), tsNormal);
  EXPECT_EQ(f.cell(0, 1), "头痛");
  // Without an editor, Escape first reads the row again from the record, then cancels the
  // pending edit.
  f.key(VK_ESCAPE);
  EXPECT_EQ(f.table->State(), dsEdit);
  f.key(VK_ESCAPE);
  EXPECT_EQ(f.table->State(), dsBrowse);
  EXPECT_EQ(f.stored(0, "NAME"), "头痛");
}

// Characters the field or the mask refuses change nothing.
TEST(DBGridEditing, RefusedCharactersChangeNothing) {
  struct Case {
    const char* why;
    int column;
    const char* typed;
    const char* shown;
  };
  const Case cases[] = {
      {"letters in the masked code", 0, "ab9", "9003"},
      {"letters in an integer field", 2, "x7y", "7"},
      {"past the field's size (20)", 1, "abcdefghijklmnopqrstuv", "abcdefghijklmnopqrst"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    EditGridFixture f;
    int beeps = 0;
    SetBeepHookForTest([&] { ++beeps; });
    f.focus(2, c.column);
    f.key(VK_F2);
    ASSERT_NE(f.grid->InplaceEditor(), nullptr);
    f.type(c.typed);
    EXPECT_EQ(f.grid->InplaceEditor()->EditText(), c.shown);
    EXPECT_EQ(beeps, 2);
    SetBeepHookForTest(nullptr);
    f.key(VK_ESCAPE);
  }
}

TEST(DBGridEditing, NoEditorWhereNothingCanBeWritten) {
  {
    EditGridFixture f(false);
    f.focus(0, 1);
    f.key(VK_F2);
    EXPECT_EQ(f.grid->InplaceEditor(), nullptr) << "editing off";
  }
  {
    EditGridFixture f;
    f.grid->Columns(1)->SetReadOnly(true);
    f.focus(0, 1);
    f.key(VK_F2);
    EXPECT_EQ(f.grid->InplaceEditor(), nullptr) << "a read-only column";
    EXPECT_EQ(f.table->State(), dsBrowse);
  }
}

// With edgoSmartRefresh a post of the current record reads only its row again, so a row whose
// sorted value changed stays where it is; without it the grid reloads and sorts it again.
TEST(DBGridEditing, SmartRefreshReadsOnlyThePostedRow) {
  for (bool smart : {true, false}) {
    SCOPED_TRACE(smart ? "smart refresh" : "reload");
    EditGridFixture f;
    if (smart) f.grid->SetOptionsDB(f.grid->OptionsDB() + TqlDBGridOptionsDB{edgoSmartRefresh});
    f.grid->Columns(1)->SetSorted(csUp);  // 发热, 咳嗽, 头痛 by pinyin
    ASSERT_EQ(f.cell(1, 1), "咳嗽");
    f.focus(1, 1);
    f.key(VK_F2);
    f.type("阿痛");  // sorts first
    f.key(VK_RETURN);
    f.table->Post();
    EXPECT_EQ(f.stored(f.table->CurrentRecordPos(), "NAME"), "阿痛");
    EXPECT_EQ(f.cell(smart ? 1 : 0, 1), "阿痛");
  }
}

// Rows added and removed through the table: the grid's rows, the focused row and the table's
// record numbers and bookmarks agree after each step.
TEST(DBGridEditing, InsertDeletePostAndCancelKeepTheFocusOnTheRecord) {
  EditGridFixture f;
  f.focus(1, 0);  // 0002
  ASSERT_EQ(f.table->FieldByName("TID")->AsString(), "0002");
  const TBookmarkStr second = f.table->Bookmark();
  f.table->Next();
  const TBookmarkStr third = f.table->Bookmark();
  f.table->Prior();
  struct Step {
    const char* what;
    std::function<void(TMemoryTable&)> action;
    std::vector<std::string> keys;  // the grid's rows in order (sorted by nothing: table order)
    const char* focused;            // TID of the focused row and the current record
  };
  const Step steps[] = {
      {"insert: an empty row before 0002, focused", [](TMemoryTable& t) { t.Insert(); },
       {"0001", "", "0002", "0003"}, ""},
      {"the key written and posted",
       [](TMemoryTable& t) {
         t.FieldByName("TID")->SetText("0009");
         t.Post();
       },
       {"0001", "0009", "0002", "0003"}, "0009"},
      {"insert and cancel",
       [](TMemoryTable& t) {
         t.Insert();
         t.FieldByName("TID")->SetText("0010");
         t.Cancel();
       },
       {"0001", "0009", "0002", "0003"}, "0009"},
      {"delete the current record", [](TMemoryTable& t) { t.Delete(); },
       {"0001", "0002", "0003"}, "0002"},
      {"edit, post and move on",
       [](TMemoryTable& t) {
         t.Edit();
         t.FieldByName("NAME")->SetText("干咳");
         t.Post();
         t.Next();
       },
       {"0001", "0002", "0003"}, "0003"},
      {"delete the last record", [](TMemoryTable& t) { t.Delete(); }, {"0001", "0002"}, "0002"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.action(*f.table);
    std::vector<std::string> keys;
    for (int row = 0; row < f.grid->Count(); ++row) keys.push_back(f.cell(row, 0));
    EXPECT_EQ(keys, step.keys);
    EXPECT_EQ(f.table->RecordCount(), static_cast<int>(step.keys.size()));
    EXPECT_EQ(f.table->FieldByName("TID")->AsString(), step.focused);
    ASSERT_NE(f.grid->FocusedNode(), nullptr);
    EXPECT_EQ(f.grid->GetCellText(f.grid->FocusedNode(), 0), step.focused);
    const int recNo = f.table->RecNo();
    EXPECT_EQ(f.cell(recNo - 1, 0), step.focused) << "RecNo is the row's position";
  }
  EXPECT_FALSE(f.table->BookmarkValid(third)) << "0003 was deleted";
  ASSERT_TRUE(f.table->BookmarkValid(second));
  f.table->SetBookmark(second);
  EXPECT_EQ(f.table->FieldByName("TID")->AsString(), "0002") << "across the inserts and deletes";
  f.table->First();
  EXPECT_EQ(f.table->FieldByName("NAME")->AsString(), "头痛");
  f.table->Next();
  EXPECT_EQ(f.table->FieldByName("NAME")->AsString(), "干咳");

  // The grid's own Insert key: a new row with the editor on it; typing the code and moving on
  // posts it.
  f.focus(1, 0);
  f.key(VK_INSERT);
  ASSERT_EQ(f.table->State(), dsInsert);
  EXPECT_EQ(f.grid->Count(), 3);
  ASSERT_NE(f.grid->InplaceEditor(), nullptr);
  f.type("0007");
  f.key(VK_DOWN);
  EXPECT_EQ(f.table->State(), dsBrowse);
  std::vector<std::string> keys;
  for (int row = 0; row < f.grid->Count(); ++row) keys.push_back(f.cell(row, 0));
  EXPECT_EQ(keys, (std::vector<std::string>{"0001", "0007", "0002"}));
}

}  // namespace
