// The memory table: row changes keeping the cursor and bookmarks right, field writes and their
// refusals, required fields, notifications, and filters and Locate after edits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>
#include <random>
#include <set>

#include "platform/db/db_error.h"
#include "platform/db/memory_table.h"
#include "tests/platform/db/db_test_util.h"

namespace {

using Strings = std::vector<std::string>;

// The message of what act raises, or "" when it raises nothing.
std::string errorOf(const std::function<void()>& act) {
  try {
    act();
  } catch (const EDatabaseError& e) {
    return e.Message;
  }
  return "";
}

class MemoryTableTest : public ::testing::Test {
 protected:
  // Five records N = 1..5, TID "0001".."0005", built in code.
  void SetUp() override {
    table.SetName("mtTerms");
    table.AddFieldDef("TID", ftWideString, 4, true);
    table.AddFieldDef("NAME", ftWideString, 4);
    table.AddFieldDef("N", ftInteger);
    table.AddFieldDef("X", ftFloat);
    table.AddFieldDef("D", ftDateTime);
    table.AddFieldDef("B", ftBoolean);
    table.Open();
    const Strings names = {"FR", "PZ", "TT", "XY", "FRG"};
    for (int n = 1; n <= 5; ++n) {
      table.Append();
      fill(n);
      field("NAME")->SetText(names[n - 1]);
      table.Post();
    }
    table.First();
    source.SetDataSet(&table);
    link.SetDataSource(&source);
    link.Clear();
  }
  TField* field(const char* name) { return table.FieldByName(name); }
  void fill(int n) {
    field("N")->SetValue(Variant(n));
    field("TID")->SetText("000" + std::to_string(n));
  }
  // One field over every record, read without moving the cursor (an edit stays pending).
  std::vector<std::string> column(const char* name) {
    std::vector<std::string> out;
    for (int recordPos = 0; recordPos < table.RecordCount(); ++recordPos) {
      table.SetActiveRecordPos(recordPos);
      out.push_back(field(name)->AsString());
    }
    table.SetActiveRecordPos(table.CurrentRecordPos());
    return out;
  }

  TComponent owner{nullptr};
  TMemoryTable table{&owner};
  TDataSource source{&owner};
  dbtest::RecordingLink link;
};

TEST_F(MemoryTableTest, RowChangesKeepCursorRecordNumbersAndBookmarks) {
  struct Step {
    const char* what;
    std::function<void()> act;
    Strings ns;  // N of every record in order; "" for the blank record being inserted
    int recNo;
    bool bof, eof;
    TDataSetState state;
  };
  auto deleteAll = [&] {
    while (!table.IsEmpty()) table.Delete();
  };
  const std::vector<Step> steps = {
      {"insert before the third", [&] { table.SetRecNo(3); table.Insert(); },
       {"1", "2", "", "3", "4", "5"}, 3, false, false, dsInsert},
      {"post the insert", [&] { fill(6); table.Post(); },
       {"1", "2", "6", "3", "4", "5"}, 3, false, false, dsBrowse},
      {"append", [&] { table.Append(); },
       {"1", "2", "6", "3", "4", "5", ""}, 7, false, true, dsInsert},
      {"cancel the append: back on the last", [&] { table.Cancel(); },
       {"1", "2", "6", "3", "4", "5"}, 6, false, false, dsBrowse},
      {"insert at the start, cancel: back on the first", [&] { table.First(); table.Insert(); table.Cancel(); },
       {"1", "2", "6", "3", "4", "5"}, 1, false, false, dsBrowse},
      {"edit, cancel: the old values", [&] { table.SetRecNo(2); table.Edit(); fill(9); table.Cancel(); },
       {"1", "2", "6", "3", "4", "5"}, 2, false, false, dsBrowse},
      {"edit, post", [&] { table.Edit(); field("N")->SetValue(Variant(7)); table.Post(); },
       {"1", "7", "6", "3", "4", "5"}, 2, false, false, dsBrowse},
      {"delete the first: on the next", [&] { table.First(); table.Delete(); },
       {"7", "6", "3", "4", "5"}, 1, false, false, dsBrowse},
      {"delete the last: on the new last", [&] { table.Last(); table.Delete(); },
       {"7", "6", "3", "4"}, 4, false, false, dsBrowse},
      {"delete in the middle", [&] { table.SetRecNo(2); table.Delete(); },
       {"7", "3", "4"}, 2, false, false, dsBrowse},
      {"delete every record", deleteAll, {}, 0, true, true, dsBrowse},
      {"edit on the empty table inserts", [&] { table.Edit(); },
       {""}, 1, false, false, dsInsert},
      {"post into the empty table", [&] { fill(8); table.Post(); },
       {"8"}, 1, false, false, dsBrowse},
  };

  // Bookmarks of every record seen, in the order the records were made.
  std::vector<std::pair<TBookmarkStr, std::string>> bookmarks;  // bookmark, TID
  auto remember = [&] {
    TBookmarkStr b = table.Bookmark();
    if (!b.empty() && std::none_of(bookmarks.begin(), bookmarks.end(), [&](auto& e) { return e.first == b; }))
      bookmarks.push_back({b, field("TID")->AsString()});
  };
  for (table.First(); !table.Eof(); table.Next()) remember();
  table.First();

  for (const auto& s : steps) {
    SCOPED_TRACE(s.what);
    s.act();
    table.CheckInvariants();
    EXPECT_EQ(column("N"), s.ns);
    EXPECT_EQ(table.RecordCount(), int(s.ns.size()));
    EXPECT_EQ(table.RecNo(), s.recNo);
    EXPECT_EQ(table.Bof(), s.bof);
    EXPECT_EQ(table.Eof(), s.eof);
    EXPECT_EQ(table.State(), s.state);
    if (s.state != dsBrowse) continue;
    remember();
    // Every bookmark still finds its own record, or is invalid once that record is gone; a
    // list sorted by CompareBookmarks stays sorted.
    const TBookmarkStr here = table.Bookmark();
    const Strings tids = column("TID");
    for (size_t i = 0; i < bookmarks.size(); ++i) {
      const auto& [bookmark, tid] = bookmarks[i];
      const bool there = std::find(tids.begin(), tids.end(), tid) != tids.end();
      EXPECT_EQ(table.BookmarkValid(bookmark), there) << tid;
      if (there) {
        table.SetBookmark(bookmark);
        EXPECT_EQ(field("TID")->AsString(), tid);
      } else {
        EXPECT_THROW(table.SetBookmark(bookmark), EDatabaseError) << tid;
      }
      for (size_t j = 0; j < bookmarks.size(); ++j)
        EXPECT_EQ(table.CompareBookmarks(bookmark, bookmarks[j].first), i < j ? -1 : i > j ? 1 : 0);
    }
    if (!here.empty()) table.SetBookmark(here);
  }
}

TEST_F(MemoryTableTest, FieldWritesAreConvertedOrRefusedLeavingTheOldValue) {
  struct Case {
    const char* field;
    bool asText;  // SetText, else SetValue
    Variant input;
    const char* shown;  // AsString afterwards
    const char* error;  // part of the message; "" when accepted
  };
  const std::vector<Case> cases = {
      {"TID", true, Variant("0042"), "0042", ""},
      {"TID", true, Variant("00420"), "0042", "Value too long for field 'TID' (at most 4 characters)"},
      {"NAME", true, Variant("头痛头痛"), "头痛头痛", ""},  // 4 characters, 12 bytes
      {"NAME", false, Variant("头痛头痛头"), "头痛头痛", "at most 4 characters"},
      {"N", true, Variant(" -12 "), "-12", ""},
      {"N", true, Variant("1a"), "-12", "'1a' is not a valid integer value for field 'N'"},
      {"N", true, Variant("1.5"), "-12", "not a valid integer value"},
      {"N", true, Variant("99999999999"), "-12", "not a valid integer value"},
      {"N", true, Variant(""), "", ""},  // blank: null
      {"N", false, Variant("x"), "", "'x' is not a valid integer value"},
      {"N", false, Variant(7.0), "7", ""},
      {"X", true, Variant("2.5"), "2.5", ""},
      {"X", true, Variant("2,5"), "2.5", "not a valid floating point value"},
      {"D", true, Variant("2020-01-02"), "2020-01-02", ""},
      {"D", true, Variant("2020-13-40"), "2020-01-02", "not a valid date and time value"},
      {"B", true, Variant("true"), "True", ""},
      {"B", true, Variant("yes"), "True", "not a valid boolean value"},
      {"B", false, Variant::Null(), "", ""},
  };
  table.Edit();
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.field) + " <- " + c.input.AsString());
    TField* f = field(c.field);
    const std::string error = errorOf([&] { c.asText ? f->SetText(c.input.AsString()) : f->SetValue(c.input); });
    EXPECT_NE(error.find(c.error), std::string::npos) << error;
    EXPECT_EQ(error.empty(), *c.error == '\0') << error;
    EXPECT_EQ(f->AsString(), c.shown);
  }
  // Values are kept as the field's type.
  EXPECT_EQ(field("N")->Value().VarType(), varInteger);
  EXPECT_EQ(field("D")->Value().VarType(), varDate);
  EXPECT_EQ(field("TID")->Value().VarType(), varOleStr);
  // What is typed into a number is checked character by character.
  EXPECT_FALSE(field("N")->IsValidChar(U'a'));
  EXPECT_TRUE(field("N")->IsValidChar(U'5'));
  EXPECT_TRUE(field("NAME")->IsValidChar(U'热'));
  table.Cancel();

  link.Clear();
  // Outside the edit state, and on a read-only field, writes raise and change nothing.
  EXPECT_TRUE(table.CanModify());
  EXPECT_TRUE(field("NAME")->CanModify());
  EXPECT_EQ(errorOf([&] { field("NAME")->SetText("AB"); }), "mtTerms: Dataset not in edit or insert mode");
  field("NAME")->SetReadOnly(true);
  EXPECT_FALSE(field("NAME")->CanModify());
  table.Edit();
  EXPECT_EQ(errorOf([&] { field("NAME")->SetValue(Variant("AB")); }),
            "mtTerms: Field 'NAME' cannot be modified");
  EXPECT_FALSE(table.Modified());
  table.Post();
  EXPECT_EQ(field("NAME")->AsString(), "FR");
  EXPECT_EQ(link.Log, (Strings{"editing", "record", "update", "editing", "changed"}));  // nothing for refusals
}

TEST_F(MemoryTableTest, PostRefusesAnEmptyRequiredFieldAndKeepsTheRecord) {
  struct Case {
    const char* what;
    std::function<void()> start;
    Variant tid;
  };
  const std::vector<Case> cases = {
      {"edit to empty text", [&] { table.Edit(); }, Variant("")},
      {"edit to null", [&] { table.Edit(); }, Variant::Null()},
      {"insert without it", [&] { table.Insert(); }, Variant()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    table.SetRecNo(2);
    c.start();
    const TDataSetState state = table.State();
    if (!c.tid.IsEmpty()) field("TID")->SetValue(c.tid);
    field("N")->SetValue(Variant(42));
    EXPECT_EQ(errorOf([&] { table.Post(); }), "mtTerms: Field 'TID' must have a value");
    // Still editing, the written values still there; moving away cannot post it either.
    EXPECT_EQ(table.State(), state);
    EXPECT_EQ(field("N")->AsString(), "42");
    EXPECT_THROW(table.Next(), EDatabaseError);
    table.Cancel();
    EXPECT_EQ(column("N"), (Strings{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(table.RecNo(), 2);
    table.CheckInvariants();
  }
}

TEST_F(MemoryTableTest, NotificationsOfEditing) {
  struct Step {
    const char* what;
    std::function<void()> act;
    Strings log;
  };
  const std::vector<Step> steps = {
      {"edit", [&] { table.Edit(); }, {"editing", "record"}},
      {"write a field", [&] { field("N")->SetValue(Variant(10)); }, {"record"}},
      {"moving on posts the write first", [&] { table.Next(); },
       {"update", "editing", "changed", "scrolled:1"}},
      {"insert", [&] { table.Insert(); }, {"editing", "changed"}},
      {"moving on drops an untouched insert", [&] { table.Prior(); },
       {"update", "editing", "changed", "scrolled:-1"}},
      {"append, cancel", [&] { table.Append(); table.Cancel(); },
       {"editing", "changed", "editing", "changed"}},
      {"delete", [&] { table.Delete(); }, {"changed"}},
      {"cancel while browsing: nothing", [&] { table.Cancel(); }, {}},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.what);
    link.Clear();
    s.act();
    EXPECT_EQ(link.Log, s.log);
    EXPECT_EQ(link.Editing(), IsEditState(table.State()));
  }
  EXPECT_EQ(column("N"), (Strings{"10", "2", "3", "4"}));
}

TEST_F(MemoryTableTest, FilterAndLocateFollowEdits) {
  table.SetFilter("NAME LIKE 'F*'");
  table.SetFiltered(true);
  ASSERT_EQ(column("N"), (Strings{"1", "5"}));
  struct Step {
    const char* what;
    std::function<void()> act;
    Strings ns;
    int recNo;
  };
  const std::vector<Step> steps = {
      {"an edit that leaves the filter: on the next record", [&] {
         table.Edit(); field("NAME")->SetText("AB"); table.Post(); }, {"5"}, 1},
      {"an insert shows while being inserted", [&] { table.Insert(); }, {"", "5"}, 1},
      {"and goes once posted outside the filter", [&] { fill(6); table.Post(); }, {"5"}, 1},
      {"an edit elsewhere that joins the filter", [&] {
         table.SetFiltered(false);
         ASSERT_TRUE(table.Locate("NAME", Variant("PZ"), {}));
         table.Edit(); field("NAME")->SetText("FX"); table.Post();
         table.SetFiltered(true); }, {"2", "5"}, 1},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.what);
    s.act();
    EXPECT_EQ(column("N"), s.ns);
    EXPECT_EQ(table.RecNo(), s.recNo);
    table.CheckInvariants();
  }
  // Locate sees the new values, not the old ones.
  table.SetFiltered(false);
  EXPECT_FALSE(table.Locate("NAME", Variant("FR"), {}));
  EXPECT_FALSE(table.Locate("NAME", Variant("PZ"), {}));
  EXPECT_TRUE(table.Locate("NAME", Variant("AB"), {}));
  EXPECT_EQ(field("N")->AsString(), "1");
  EXPECT_TRUE(table.Locate("N", Variant(6), {}));
  EXPECT_EQ(field("TID")->AsString(), "0006");
}

TEST_F(MemoryTableTest, FieldDefinitionsAreChecked) {
  EXPECT_EQ(errorOf([&] { table.AddFieldDef("X2", ftInteger); }),
            "mtTerms: Cannot perform this operation on an open dataset");
  table.Close();
  EXPECT_EQ(table.RecordCount(), 0);
  table.Open();  // closing keeps the rows
  EXPECT_EQ(table.RecordCount(), 5);
  table.Close();
  struct Case {
    const char* name;
    TFieldType type;
    int size;
    const char* error;
  };
  const std::vector<Case> cases = {
      {"tid", ftInteger, 0, "mtTerms: Duplicate field name 'tid'"},
      {"M", ftMemo, 0, "mtTerms: Field 'M': type not supported by memory tables"},
      {"T", ftWideString, 0, "mtTerms: Field 'T': a text field needs a size"},
  };
  for (const auto& c : cases) EXPECT_EQ(errorOf([&] { table.AddFieldDef(c.name, c.type, c.size); }), c.error);
  TMemoryTable bare(&owner);
  bare.SetName("mtBare");
  EXPECT_EQ(errorOf([&] { bare.Open(); }), "mtBare: No fields are defined");
}

// Random inserts, appends, edits, deletes and cancelled inserts, with the filter now on, now
// off, against a plain list of rows: the records shown, the record the cursor lands on, every
// bookmark (valid exactly while its row exists and passes the filter, finding that row, ordered
// by creation) and Locate through the column's index must always agree with the list.
TEST(MemoryTableModelTest, RandomRowChangesFollowAListOfRows) {
  struct Row {
    int tag;  // TAG field: names the row, in order of creation
    std::string name;
  };
  TComponent owner{nullptr};
  TMemoryTable table{&owner};
  table.SetName("mtModel");
  table.AddFieldDef("TAG", ftInteger);
  table.AddFieldDef("NAME", ftWideString, 4);
  table.SetFilter("NAME LIKE 'A*'");
  table.Open();
  TField* tag = table.FieldByName("TAG");
  TField* name = table.FieldByName("NAME");

  std::mt19937 rng(11);
  auto pick = [&](size_t n) { return size_t(rng() % n); };
  const std::vector<std::string> names = {"Ab", "ab", "AB", "b", "Bx", "a"};
  std::vector<Row> rows;                 // table order
  std::map<int, TBookmarkStr> bookmarks;  // tag -> the bookmark its record had
  std::set<int> gone;
  int nextTag = 0;
  auto passes = [&](const Row& row) { return !table.Filtered() || std::toupper(row.name[0]) == 'A'; };
  auto indexOfTag = [&](int t) {
    return size_t(std::find_if(rows.begin(), rows.end(), [&](const Row& r) { return r.tag == t; }) - rows.begin());
  };
  // The tag of the record the cursor lands on after a change at row i: that row, else the
  // next record, else the last one; -1 when there is none.
  auto landingAt = [&](size_t i) {
    int last = -1;
    for (size_t r = 0; r < rows.size(); ++r) {
      if (!passes(rows[r])) continue;
      if (r >= i) return rows[r].tag;
      last = rows[r].tag;
    }
    return last;
  };
  // A new record before row i (at the end when i is the row count), named at random; its
  // bookmark is taken while it is being inserted, when it is a record whatever the filter.
  auto addRow = [&](size_t i, bool append) {
    append ? table.Append() : table.Insert();
    bookmarks[nextTag] = table.Bookmark();
    const std::string newName = names[pick(names.size())];
    tag->SetValue(Variant(nextTag));
    name->SetText(newName);
    table.Post();
    rows.insert(rows.begin() + i, {nextTag++, newName});
  };
  for (int i = 0; i < 12; ++i) addRow(rows.size(), true);

  for (int step = 0; step < 1500; ++step) {
    // 0 insert, 1 append, 2 edit, 3 delete, 4 cancelled insert, 5 filter on or off.
    size_t action = rows.size() < 10 ? pick(2) : rows.size() > 40 ? 2 + pick(3) : pick(5);
    if (pick(40) == 0) action = 5;
    if (action >= 2 && action <= 4 && table.IsEmpty()) action = 0;
    if (!table.IsEmpty()) table.SetRecNo(1 + int(pick(size_t(table.RecordCount()))));
    const size_t here = table.IsEmpty() ? rows.size() : indexOfTag(tag->AsInteger());
    int expected = -1;
    std::string what;
    switch (action) {
      case 0:
      case 1: {
        const size_t i = action == 1 ? rows.size() : here;
        addRow(i, action == 1);
        expected = landingAt(i);
        what = action == 1 ? "append" : "insert";
        break;
      }
      case 2: {
        table.Edit();
        rows[here].name = names[pick(names.size())];
        name->SetText(rows[here].name);
        table.Post();
        expected = landingAt(here);
        what = "edit";
        break;
      }
      case 3:
        table.Delete();
        gone.insert(rows[here].tag);
        rows.erase(rows.begin() + here);
        expected = landingAt(here);
        what = "delete";
        break;
      case 4:
        table.Insert();
        name->SetText(names[pick(names.size())]);
        table.Cancel();
        expected = landingAt(here);
        what = "cancelled insert";
        break;
      default:
        table.SetFiltered(!table.Filtered());
        expected = landingAt(0);
        what = "filter switched";
    }
    SCOPED_TRACE("step " + std::to_string(step) + ": " + what);
    table.CheckInvariants();
    ASSERT_EQ(table.IsEmpty() ? -1 : tag->AsInteger(), expected);
    std::vector<std::pair<int, std::string>> shown, visible;
    for (int recordPos = 0; recordPos < table.RecordCount(); ++recordPos) {
      table.SetActiveRecordPos(recordPos);
      shown.push_back({tag->AsInteger(), name->AsString()});
    }
    table.SetActiveRecordPos(table.CurrentRecordPos());
    for (const Row& row : rows)
      if (passes(row)) visible.push_back({row.tag, row.name});
    ASSERT_EQ(shown, visible);

    // Some bookmarks each step, every one now and then.
    std::vector<int> tags;
    for (const auto& entry : bookmarks) tags.push_back(entry.first);
    if (step % 100 != 0) {
      std::shuffle(tags.begin(), tags.end(), rng);
      tags.resize(std::min<size_t>(tags.size(), 12));
    }
    for (int t : tags) {
      const TBookmarkStr& bookmark = bookmarks[t];
      const bool there = !gone.count(t) && passes(rows[indexOfTag(t)]);
      ASSERT_EQ(table.BookmarkValid(bookmark), there) << t;
      if (there) {
        table.SetBookmark(bookmark);
        ASSERT_EQ(tag->AsInteger(), t);
      } else {
        EXPECT_THROW(table.SetBookmark(bookmark), EDatabaseError) << t;
      }
      const int other = tags[pick(tags.size())];
      EXPECT_EQ(table.CompareBookmarks(bookmark, bookmarks[other]), (t > other) - (t < other));
    }

    const std::string wanted = names[pick(names.size())];
    auto first = std::find_if(rows.begin(), rows.end(), [&](const Row& r) { return r.name == wanted && passes(r); });
    ASSERT_EQ(table.Locate("NAME", Variant(wanted), {}), first != rows.end()) << wanted;
    if (first != rows.end()) {
      ASSERT_EQ(tag->AsInteger(), first->tag) << wanted;
    }
  }

  // A copy of the table's own records gives them new bookmarks; the old ones name nothing.
  table.SetFiltered(false);
  table.CopyFrom(table);
  table.CheckInvariants();
  EXPECT_EQ(table.RecordCount(), int(rows.size()));
  for (const auto& [t, bookmark] : bookmarks) EXPECT_FALSE(table.BookmarkValid(bookmark)) << t;
}

}  // namespace
