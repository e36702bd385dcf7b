// In-place editing in the tree-list control: when the editor shows, where it lies, what the
// keys do in it, validation, Escape, and what gets written. Input goes through the form as real
// input does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/services.h"
#include "platform/ui/toolkit.h"
#include "tests/support/synthetic_input.h"
#include "tests/support/test_form.h"
#include "treelist/inplace_mask_edit.h"
#include "treelist/inplace_text_edit.h"
#include "treelist/treelist_control.h"
#include "treelist/treelist_node.h"

namespace {

constexpr TqlTreeListOptions kEditOptions =
    kDefaultTreeListOptions - TqlTreeListOptions{tloRowSelect};

// A shown grid with columns c0 c1 c2 and rows "r<i>" / "s<i>" / "t<i>", focused on row 1,
// column 1; the events it raises are logged.
struct EditFixture {
  TestForm form{Bounds(0, 0, 420, 240)};
  TCustomqlTreeListControl* g = nullptr;
  std::vector<std::string> log;

  explicit EditFixture(TqlTreeListOptions options = kEditOptions) {
    EnsureTestApplication();
    g = form.Add<TCustomqlTreeListControl>(0, 0, 400, 200);
    g->SetOptions(options);
    for (int i = 0; i < 3; ++i) g->CreateColumn()->SetCaption("c" + std::to_string(i));
    for (int i = 0; i < 5; ++i) {
      TqlTreeListNode* n = g->Add();
      n->SetText(0, "r" + std::to_string(i));
      n->SetText(1, "s" + std::to_string(i));
      n->SetText(2, "t" + std::to_string(i));
    }
    form.Show();
    g->SetFocus();
    g->SetFocusedNodeAndColumn(g->Items(1), 1, true);
    g->OnEdited = [this](TObject*, TqlTreeListNode* n) { log.push_back("edited " + n->Text(0)); };
    g->OnKeyPress = [this](TObject*, char32_t& ch) { log.push_back(std::string("press ") + char(ch)); };
  }
  TqlInplaceTextEdit* editor() const { return dynamic_cast<TqlInplaceTextEdit*>(g->InplaceEditor()); }
  bool key(uint16_t k, TShiftState shift = {}) { return input::KeyDown(form.form(), k, shift); }
  void type(const std::string& text) {
    for (char c : text) input::KeyPress(form.form(), char32_t(c));
  }
  std::string cell(int row, int column) const { return g->Items(row)->Text(column); }
};

TEST(TreeListEditing, EditorShowsOnlyWithEditingOnAndNoRowSelect) {
  const TqlTreeListOptions enterShows = kEditOptions + TqlTreeListOptions{tloEnterShowEditor};
  struct Case {
    const char* why;
    TqlTreeListOptions options;
    uint16_t key;   // a key down, or 0
    char typed;     // a character typed, or 0
    bool shown;
  };
  const Case cases[] = {
      {"F2", kEditOptions, VK_F2, 0, true},
      {"F2 without tloEditing", kEditOptions - TqlTreeListOptions{tloEditing}, VK_F2, 0, false},
      {"F2 with row select", kEditOptions + TqlTreeListOptions{tloRowSelect}, VK_F2, 0, false},
      {"typing without tloEnterShowEditor", kEditOptions, 0, 'a', false},
      {"typing with tloEnterShowEditor", enterShows, 0, 'a', true},
      {"typing without tloEditing", enterShows - TqlTreeListOptions{tloEditing}, 0, 'a', false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    EditFixture f(c.options);
    if (c.key) f.key(c.key);
    if (c.typed) f.type(std::string(1, c.typed));
    EXPECT_EQ(f.g->State() == tsEditing, c.shown);
    EXPECT_EQ(f.editor() != nullptr, c.shown);
    if (c.typed && !c.shown) {
      EXPECT_EQ(f.log, std::vector<std::string>{"press a"}) << "OnKeyPress still";
    }
    if (c.typed && c.shown) {
      EXPECT_EQ(f.editor()->EditText(), "a") << "the key goes in";
    }
  }
}

TEST(TreeListEditing, EditorLiesOverTheCellWithItsTextSelected) {
  EditFixture f;
  f.key(VK_F2);
  TqlInplaceTextEdit* e = f.editor();
  ASSERT_NE(e, nullptr);
  const TRect cell = f.g->CellRect(f.g->Items(1), 1);
  EXPECT_EQ(e->BoundsRect(), cell.Inflate(2, 2));
  EXPECT_EQ(e->EditText(), "s1");
  EXPECT_EQ(e->SelLength(), 2) << "all selected";
  EXPECT_TRUE(e->Focused());
  EXPECT_EQ(e->NonClientInsets(), TRect(2, 2, 2, 2)) << "the text window covers the cell";
  f.key(VK_ESCAPE);
  f.g->SetShowGrid(false);
  f.key(VK_F2);
  f.form.Paint();
  // Without grid lines the grid's style gives a single border round the cell, in
  // clWindowFrame, one pixel outside the text window; with them, none.
  EXPECT_EQ(PixelAt(*f.editor(), -1, 5), ColorToRGB(clWindowFrame)) << "the border";
  EXPECT_EQ(PixelAt(*f.editor(), -2, 5), ColorToRGB(f.editor()->Color())) << "the margin";
}

// Keys in the editor: Enter and Up write; Escape puts the old text back and writes nothing;
// OnEdited comes every time.
TEST(TreeListEditing, KeysEndTheEditAndWriteOrRestore) {
  struct Case {
    const char* why;
    uint16_t key;
    const char* row1;       // column 1 of row 1 afterwards
    int focusedRow;
  };
  const Case cases[] = {
      {"Enter writes", VK_RETURN, "xy", 1},
      {"Up writes and moves up in one press", VK_UP, "xy", 0},
      {"Down writes and moves down", VK_DOWN, "xy", 2},
      {"Escape restores", VK_ESCAPE, "s1", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    EditFixture f;
    f.key(VK_F2);
    f.type("xy");
    ASSERT_EQ(f.editor()->EditText(), "xy");
    f.key(c.key);
    EXPECT_EQ(f.g->State(), tsNormal);
    EXPECT_EQ(f.cell(1, 1), c.row1);
    EXPECT_EQ(f.g->FocusedRowIndex(), c.focusedRow);
    EXPECT_EQ(f.log, (std::vector<std::string>{"press x", "press y", "edited r1"}))
        << "the grid's OnKeyPress sees the typed characters";
    EXPECT_TRUE(f.g->Focused()) << "the focus is back on the grid";
  }
}

// A refused value: a beep, EqlEditInvalidInput with the handler's text, the editor stays
// open with the text and nothing is written; the key's move does not happen.
TEST(TreeListEditing, RefusedValueKeepsTheEditorOpen) {
  for (uint16_t key : {uint16_t(VK_RETURN), uint16_t(VK_DOWN)}) {
    EditFixture f;
    int beeps = 0;
    SetBeepHookForTest([&] { ++beeps; });
    f.g->OnEditValidate = [](TObject*, std::string& text, bool& accept) {
      accept = false;
      text = "太长了";
    };
    f.key(VK_F2);
    f.type("xy");
    EXPECT_THROW(
        {
          try {
            f.key(key);
          } catch (const EqlEditInvalidInput& e) {
            EXPECT_STREQ(e.what(), "太长了");
            throw;
          }
        },
        EqlEditInvalidInput);
    EXPECT_EQ(f.g->State(), tsEditing);
    EXPECT_EQ(f.editor()->EditText(), "xy");
    EXPECT_EQ(f.cell(1, 1), "s1");
    EXPECT_EQ(f.g->FocusedRowIndex(), 1);
    EXPECT_EQ(beeps, 1);
    f.g->OnEditValidate = nullptr;
    f.key(VK_ESCAPE);
    EXPECT_EQ(f.cell(1, 1), "s1") << "Escape abandons it";
    SetBeepHookForTest(nullptr);
  }
}

// The column's rules on typing: CharCase, MaxLength, ReadOnly.
TEST(TreeListEditing, ColumnRulesOnTyping) {
  struct Case {
    const char* why;
    TEditCharCase charCase;
    int maxLength;
    bool readOnly;
    const char* typed;
    const char* text;  // after selecting none and typing at the end
  };
  const Case cases[] = {
      {"upper case", ecUpperCase, 0, false, "abc", "S1ABC"},
      {"lower case", ecLowerCase, 0, false, "ABC", "s1abc"},
      {"MaxLength 4", ecNormal, 4, false, "abc", "s1ab"},
      {"read-only", ecNormal, 0, true, "abc", "s1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    EditFixture f;
    TqlTreeListColumn* column = f.g->Columns(1);
    column->SetCharCase(c.charCase);
    column->SetMaxLength(c.maxLength);
    column->SetReadOnly(c.readOnly);
    f.key(VK_F2);
    f.editor()->CaretToEnd();
    f.type(c.typed);
    EXPECT_EQ(f.editor()->EditText(), c.text);
  }
}

// The context menu's items are enabled by the editor's state.
TEST(TreeListEditing, ContextMenuEnabling) {
  // Undo Redo - Cut Copy Paste Delete - SelectAll
  struct Case {
    const char* why;
    bool readOnly;
    char32_t password;
    bool selectAll;
    std::vector<bool> enabled;
  };
  const Case cases[] = {
      {"all selected", false, 0, true, {false, false, true, true, true, true, true, true, false}},
      {"nothing selected", false, 0, false, {false, false, true, false, false, true, false, true, true}},
      {"read-only", true, 0, true, {false, false, true, false, true, false, false, true, false}},
      {"password", false, U'*', true, {false, false, true, false, false, true, true, true, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    EditFixture f;
    ClipboardSetText("paste me");
    f.g->Columns(1)->SetReadOnly(c.readOnly);
    f.g->Columns(1)->SetPasswordChar(c.password);
    f.key(VK_F2);
    if (!c.selectAll) f.editor()->CaretToEnd();
    EXPECT_EQ(f.editor()->ContextMenuEnabling(), c.enabled);
  }
}

// Two columns of one kind share the editor; moving to the other column writes and reloads.
TEST(TreeListEditing, ColumnsShareOneEditorRebound) {
  EditFixture f(kEditOptions + TqlTreeListOptions{tloTabs});
  f.key(VK_F2);
  TqlInplaceEdit* first = f.g->InplaceEditor();
  f.type("q");
  f.key(VK_TAB);
  EXPECT_EQ(f.cell(1, 1), "q");
  f.key(VK_F2);
  EXPECT_EQ(f.g->InplaceEditor(), first);
  EXPECT_EQ(f.editor()->EditText(), "t1");
}

// A mask column: what typing shows, what the grid gets, where the cursor stays.
TEST(TreeListEditing, MaskColumnTyping) {
  struct Case {
    const char* mask;
    const char* typed;
    const char* shown;   // the window's text
    const char* value;   // what Enter writes
    int caret;
    int beeps;
  };
  const Case cases[] = {
      {"000;0;_", "12", "12_", "", 2, 0},            // not written: required position blank
      {"000;0;_", "123", "123", "123", 3, 0},
      {"0000;0;_", "a1", "1___", "", 1, 1},          // a letter refused with a beep
      {">LL-0000;0;*", "ab1234", "AB-1234", "AB1234", 7, 0},
      {">LL-0000;1;*", "xy9876", "XY-9876", "XY-9876", 7, 0},
      {"99/99;1;_", "1/5", "1_/5_", "1 /5 ", 4, 0},  // the separator jumps to the next field
      {"!99/99/00;1;_", "", "__/__/__", "", 0, 0},
      {"", "abc", "abc", "abc", 3, 0},               // no mask: plain text
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.mask) + " <- " + c.typed);
    EditFixture f;
    auto* column = f.g->CreateColumn<TqlTreeListMaskColumn>();
    column->SetCaption("code");
    column->SetEditMask(c.mask);
    for (int i = 0; i < 5; ++i) f.g->Items(i)->SetText(3, "");
    f.g->SetFocusedNodeAndColumn(f.g->Items(1), 3, true);
    int beeps = 0;
    SetBeepHookForTest([&] { ++beeps; });
    f.key(VK_F2);
    auto* editor = dynamic_cast<TqlInplaceMaskEdit*>(f.g->InplaceEditor());
    ASSERT_NE(editor, nullptr);
    f.type(c.typed);
    EXPECT_EQ(editor->EditText(), c.shown);
    if (*c.mask) {
      EXPECT_EQ(editor->CaretPos(), c.caret);
    }
    EXPECT_EQ(beeps, c.beeps);
    const bool refused = *c.typed && std::string(c.value).empty();
    if (refused) {
      EXPECT_THROW(f.key(VK_RETURN), EqlEditInvalidInput) << "a required position is blank";
      EXPECT_EQ(f.g->State(), tsEditing);
      f.key(VK_ESCAPE);
    } else {
      f.key(VK_RETURN);
    }
    EXPECT_EQ(f.g->State(), tsNormal);
    EXPECT_EQ(f.cell(1, 3), refused ? "" : c.value);
    SetBeepHookForTest(nullptr);
  }
}

// Undo takes typing back, Redo puts it again; the context menu follows.
TEST(TreeListEditing, UndoAndRedo) {
  EditFixture f;
  f.key(VK_F2);
  TqlInplaceTextEdit* e = f.editor();
  EXPECT_FALSE(e->CanUndo()) << "a freshly loaded editor has nothing to undo";
  f.type("ab");
  ASSERT_EQ(e->EditText(), "ab");
  ASSERT_TRUE(e->CanUndo());
  e->Undo();
  EXPECT_NE(e->EditText(), "ab");
  EXPECT_TRUE(e->CanRedo());
  EXPECT_TRUE(e->ContextMenuEnabling()[emiRedo]);
  e->Redo();
  EXPECT_EQ(e->EditText(), "ab");
  while (e->CanUndo()) e->Undo();
  EXPECT_EQ(e->EditText(), "s1") << "all the way back to the loaded text";
}

// With tloImmediateEditor a click on the focused cell opens the editor on its release; a press
// in the editor within the double-click time after the grid's press is the pair's second
// click: a double click (OnDblClick). Later presses are not.
TEST(TreeListEditing, QuickSecondPressInTheEditorIsADoubleClick) {
  struct Case {
    const char* why;
    uint32_t after;  // ms between the grid's press and the press in the editor
    bool doubleClick;
  };
  EnsureTestApplication();
  const int doubleTime = GetDoubleClickTime();
  const Case cases[] = {
      {"quick", 100, true},
      {"at the double-click time", uint32_t(doubleTime), true},
      {"too late", uint32_t(doubleTime) + 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    uint32_t now = 50000;
    SetTickCountForTest([&now] { return now; });
    EditFixture f(kEditOptions + TqlTreeListOptions{tloImmediateEditor});
    int doubleClicks = 0;
    f.g->OnDblClick = [&](TObject*) { ++doubleClicks; };
    const TRect cell = f.g->CellRect(f.g->Items(1), 1);
    input::Click(*f.g, cell.Left + 5, cell.Top + 3);
    ASSERT_NE(f.editor(), nullptr) << "the release opened the editor";
    now += c.after;
    TNativeEditHost* host = f.editor()->NativeEdit();
    EXPECT_EQ(host->OnMousePress({5, 3}, false), c.doubleClick);
    EXPECT_EQ(doubleClicks, c.doubleClick ? 1 : 0);
    EXPECT_FALSE(host->OnMousePress({5, 3}, false)) << "the grid's press counts once";
    host->OnMousePress({5, 3}, true);
    EXPECT_EQ(doubleClicks, c.doubleClick ? 2 : 1) << "a real double click in the editor";
    SetTickCountForTest(nullptr);
  }
}

}  // namespace
