// The data set's cursor, bookmarks, locate, fields, read-only rules and notifications, and the
// data link's window, over the in-memory term table.
#include <gtest/gtest.h>

#include "platform/db/ado_connection.h"
#include "platform/db/ado_query.h"
#include "platform/db/db_error.h"
#include "tests/platform/db/db_test_util.h"

namespace {

using Strings = std::vector<std::string>;

class DataSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    connection.SetTableSource(dbtest::TerminologySource());
    query.SetName("adoqryBLFY");
    query.SetConnection(&connection);
    query.SetSQL({"SELECT * FROM WHOART"});
    source.SetDataSet(&query);
    link.SetDataSource(&source);
    query.Open();
    link.Clear();
  }
  std::string tid() { return query.FieldByName("TID")->AsString(); }

  TComponent owner{nullptr};
  TADOConnection connection{&owner};
  TADOQuery query{&owner};
  TDataSource source{&owner};
  dbtest::RecordingLink link;
};

TEST_F(DataSetTest, CursorMovesAndReportsTheEnds) {
  EXPECT_EQ(query.RecordCount(), 8);
  EXPECT_TRUE(query.IsSequenced());
  EXPECT_EQ(query.State(), dsBrowse);
  struct Step {
    const char* what;
    std::function<int()> act;  // returns the count moved where there is one
    int moved, recNo;
    bool bof, eof;
  };
  const std::vector<Step> steps = {
      {"opened", [] { return 0; }, 0, 1, true, false},
      {"prior at the start", [&] { query.Prior(); return 0; }, 0, 1, true, false},
      {"next", [&] { return query.MoveBy(1); }, 1, 2, false, false},
      {"by 3", [&] { return query.MoveBy(3); }, 3, 5, false, false},
      {"past the end", [&] { return query.MoveBy(10); }, 3, 8, false, true},
      {"next at the end", [&] { return query.MoveBy(1); }, 0, 8, false, true},
      {"back by 2", [&] { return query.MoveBy(-2); }, -2, 6, false, false},
      {"before the start", [&] { return query.MoveBy(-10); }, -5, 1, true, false},
      {"last", [&] { query.Last(); return 0; }, 0, 8, false, true},
      {"first", [&] { query.First(); return 0; }, 0, 1, true, false},
      {"record number 4", [&] { query.SetRecNo(4); return 0; }, 0, 4, false, false},
      {"record number 99 clamps", [&] { query.SetRecNo(99); return 0; }, 0, 8, false, false},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.what);
    EXPECT_EQ(s.act(), s.moved);
    EXPECT_EQ(query.RecNo(), s.recNo);
    EXPECT_EQ(query.Bof(), s.bof);
    EXPECT_EQ(query.Eof(), s.eof);
    query.CheckInvariants();
  }
}

TEST_F(DataSetTest, NotificationsOfMovesAndTheirDistances) {
  link.SetBufferCount(3);  // a window of three records
  link.Clear();
  struct Step {
    const char* what;
    std::function<void()> act;
    Strings log;
    int activeRecord, recordCount;
  };
  const std::vector<Step> steps = {
      {"next inside the window", [&] { query.Next(); }, {"scrolled:0"}, 1, 3},
      {"next inside the window", [&] { query.Next(); }, {"scrolled:0"}, 2, 3},
      {"next shifts the window", [&] { query.Next(); }, {"scrolled:1"}, 2, 3},
      {"by 3 shifts by 3", [&] { query.MoveBy(3); }, {"scrolled:3"}, 2, 3},
      {"back inside", [&] { query.MoveBy(-2); }, {"scrolled:0"}, 0, 3},
      {"back shifts back", [&] { query.MoveBy(-2); }, {"scrolled:-2"}, 0, 3},
      {"last fills the window at the end", [&] { query.Last(); }, {"changed"}, 2, 3},
      {"first", [&] { query.First(); }, {"changed"}, 0, 3},
      {"locate", [&] { query.Locate("TID", Variant("0007"), {}); }, {"changed"}, 2, 3},
      {"record number", [&] { query.SetRecNo(2); }, {"changed"}, 0, 3},
      {"same record number: nothing", [&] { query.SetRecNo(2); }, {}, 0, 3},
      {"update record", [&] { query.UpdateRecord(); }, {"update"}, 0, 3},
      {"field layout", [&] { query.FieldByName("TID")->SetDisplayWidth(12); }, {"layout"}, 0, 3},
      {"field index", [&] { query.FieldByName("TID")->SetIndex(0); }, {"layout"}, 0, 3},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.what);
    link.Clear();
    s.act();
    EXPECT_EQ(link.Log, s.log);
    EXPECT_EQ(link.ActiveRecord(), s.activeRecord);
    EXPECT_EQ(link.RecordCount(), s.recordCount);
  }
  // The window's records can be read without moving the cursor.
  query.First();
  link.SetActiveRecord(2);
  EXPECT_EQ(tid(), "0003");
  EXPECT_EQ(query.CurrentRecordPos(), 0);
  link.SetActiveRecord(0);
  EXPECT_EQ(tid(), "0001");
  query.CheckInvariants();
}

TEST_F(DataSetTest, OpenCloseAndDataSourceBindingTellTheLinks) {
  query.Close();
  EXPECT_EQ(link.Log, Strings{"active:0"});
  EXPECT_EQ(query.FieldCount(), 0);  // fields go with the open record set
  EXPECT_EQ(query.RecordCount(), 0);
  EXPECT_THROW(query.Next(), EDatabaseError);
  link.Clear();
  query.Open();
  EXPECT_EQ(link.Log, Strings{"active:1"});
  EXPECT_TRUE(link.Active());

  link.Clear();
  source.SetEnabled(false);
  EXPECT_EQ(link.Log, Strings{"active:0"});
  query.Next();  // a disabled data source passes nothing on
  EXPECT_EQ(link.Log, Strings{"active:0"});
  source.SetEnabled(true);

  link.Clear();
  TDataSource twin(&owner);  // another open data source: leave one, join the other
  twin.SetDataSet(&query);
  link.SetDataSource(&twin);
  EXPECT_EQ(link.Log, (Strings{"active:0", "active:1"}));
  link.SetDataSource(&twin);  // the same again: nothing
  EXPECT_EQ(link.Log, (Strings{"active:0", "active:1"}));
  link.SetDataSource(&source);

  link.Clear();
  TDataSource other(&owner);
  link.SetDataSource(&other);  // no data set there
  EXPECT_EQ(link.Log, Strings{"active:0"});
  EXPECT_EQ(link.DataSet(), nullptr);
  EXPECT_EQ(link.RecordCount(), 0);
  link.SetDataSource(&source);
  link.Clear();
  {
    TDataSource doomed(&owner);
    dbtest::RecordingLink second;
    doomed.SetDataSet(&query);
    second.SetDataSource(&doomed);
    EXPECT_EQ(second.Log, Strings{"active:1"});
  }  // the link dies first, then its data source: nothing dangles
  query.Next();  // a one-record window moves with the record
  EXPECT_EQ(link.Log, Strings{"scrolled:1"});
}

TEST_F(DataSetTest, DisableControlsNestsAndEndsWithOneChange) {
  query.DisableControls();
  query.DisableControls();
  query.Next();
  query.Last();
  query.EnableControls();
  EXPECT_TRUE(link.Log.empty());
  EXPECT_TRUE(query.ControlsDisabled());
  query.EnableControls();
  EXPECT_EQ(link.Log, Strings{"changed"});
  EXPECT_FALSE(query.ControlsDisabled());
  query.EnableControls();  // unbalanced: ignored
  EXPECT_EQ(link.Log, Strings{"changed"});

  // Closed while disabled: the last enable reports the state, not a change.
  link.Clear();
  query.DisableControls();
  query.Close();
  EXPECT_TRUE(link.Log.empty());
  query.EnableControls();
  EXPECT_EQ(link.Log, Strings{"active:0"});
}

TEST_F(DataSetTest, BookmarksAreOpaqueAndOrdered) {
  query.SetRecNo(3);
  TBookmarkStr third = query.Bookmark();
  query.SetRecNo(6);
  TBookmarkStr sixth = query.Bookmark();
  EXPECT_TRUE(query.BookmarkValid(third));
  EXPECT_EQ(query.CompareBookmarks(third, sixth), -1);
  EXPECT_EQ(query.CompareBookmarks(sixth, third), 1);
  EXPECT_EQ(query.CompareBookmarks(third, third), 0);
  EXPECT_EQ(query.CompareBookmarks("", third), -1);
  EXPECT_EQ(query.CompareBookmarks("", ""), 0);

  link.Clear();
  query.SetBookmark(third);
  EXPECT_EQ(tid(), "0003");
  EXPECT_EQ(link.Log, Strings{"changed"});

  // A filter that drops the record makes its bookmark invalid; it comes back with the record.
  query.SetFilter("TID <> '0003'");
  query.SetFiltered(true);
  EXPECT_FALSE(query.BookmarkValid(third));
  EXPECT_THROW(query.SetBookmark(third), EDatabaseError);
  EXPECT_FALSE(query.BookmarkValid("xyz"));
  EXPECT_FALSE(query.BookmarkValid(""));
  query.SetFiltered(false);
  EXPECT_TRUE(query.BookmarkValid(third));
  // Record numbers and bookmarks agree while filtered.
  query.SetFiltered(true);
  query.SetBookmark(sixth);
  EXPECT_EQ(query.RecNo(), 5);
}

TEST_F(DataSetTest, LocateFindsTheFirstMatch) {
  struct Case {
    const char* field;
    Variant value;
    TLocateOptions options;
    bool found;
    const char* tid;  // current record afterwards
  };
  const std::vector<Case> cases = {
      {"TID", Variant("0005"), {}, true, "0005"},
      {"sid1", Variant("0800"), {}, true, "0003"},  // the first of three
      {"PY", Variant("fr"), {}, false, "0003"},     // exact by default; the cursor stays
      {"PY", Variant("fr"), {loCaseInsensitive}, true, "0003"},
      {"ENAME", Variant("FEVERISH"), {loPartialKey}, true, "0004"},
      {"ENAME", Variant("head"), {loPartialKey, loCaseInsensitive}, true, "0005"},
      {"PY", Variant::Null(), {}, true, "0008"},
      {"SID3", Variant("9999"), {}, false, "0008"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.field) + " " + c.value.AsString());
    EXPECT_EQ(query.Locate(c.field, c.value, c.options), c.found);
    EXPECT_EQ(tid(), c.tid);
  }
  EXPECT_THROW(query.Locate("NOPE", Variant("x"), {}), EDatabaseError);
  // Only records that pass the filter are found.
  query.SetFilter("SID1 = '0800' AND TID <> '0003'");
  query.SetFiltered(true);
  EXPECT_TRUE(query.Locate("SID1", Variant("0800"), {}));
  EXPECT_EQ(tid(), "0004");
  EXPECT_FALSE(query.Locate("TID", Variant("0003"), {}));
}

TEST_F(DataSetTest, FieldsDescribeAndReadTheActiveRecord) {
  ASSERT_EQ(query.FieldCount(), 7);
  EXPECT_EQ(query.FindField("ename"), query.Fields()[2]);
  EXPECT_EQ(query.FindField("nope"), nullptr);
  try {
    query.FieldByName("nope");
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message, "adoqryBLFY: Field 'nope' not found");
  }
  TField* name = query.FieldByName("NAME");
  EXPECT_EQ(name->FieldName(), "NAME");
  EXPECT_EQ(name->DisplayLabel(), "NAME");
  EXPECT_EQ(name->DisplayWidth(), 50);
  EXPECT_EQ(name->Index(), 1);
  EXPECT_EQ(name->DataType(), ftWideString);
  EXPECT_FALSE(name->IsBlob());
  EXPECT_FALSE(name->Lookup());
  EXPECT_FALSE(name->CanModify());
  EXPECT_TRUE(name->IsValidChar(U'热'));
  EXPECT_EQ(name->AsString(), "腹部胀大");
  EXPECT_EQ(name->Value().VarType(), varOleStr);

  name->SetDisplayLabel("中文名称");
  EXPECT_EQ(name->DisplayLabel(), "中文名称");
  name->SetIndex(5);
  EXPECT_EQ(query.Fields()[5], name);
  EXPECT_EQ(name->Index(), 5);
  EXPECT_EQ(query.Fields()[1]->FieldName(), "ENAME");

  name->OnGetText = [](TField* f, std::string& text, bool display) {
    text = (display ? "[" : "(") + text + (display ? "]" : ")");
  };
  EXPECT_EQ(name->DisplayText(), "[腹部胀大]");
  EXPECT_EQ(name->Text(), "(腹部胀大)");

  query.Last();
  EXPECT_TRUE(query.FieldByName("PY")->IsNull());
  EXPECT_EQ(query.FieldByName("PY")->DisplayText(), "");
  EXPECT_FALSE(query.FieldByName("ENAME")->IsNull());  // empty text is not null

  // Focus requests go to the first link that takes them.
  dbtest::RecordingLink second;
  second.SetDataSource(&source);
  link.TakeFocus = true;
  link.Clear();
  second.Clear();
  name->FocusControl();
  EXPECT_EQ(link.Log, Strings{"focus:NAME"});
  EXPECT_EQ(link.Focused, name);
  EXPECT_TRUE(second.Log.empty());
}

TEST_F(DataSetTest, ModificationsRaiseReadOnly) {
  EXPECT_FALSE(query.CanModify());
  for (auto op : std::vector<std::function<void()>>{
           [&] { query.Edit(); }, [&] { query.Insert(); }, [&] { query.Append(); },
           [&] { query.Delete(); }, [&] { query.FieldByName("PY")->SetValue(Variant("X")); },
           [&] { query.FieldByName("PY")->SetText("X"); }, [&] { link.Edit(); }}) {
    try {
      op();
      ADD_FAILURE() << "no error";
    } catch (const EDatabaseError& e) {
      EXPECT_NE(e.Message.find("read-only"), std::string::npos) << e.Message;
    }
  }
  EXPECT_THROW(query.Post(), EDatabaseError);  // nothing being edited
  EXPECT_NO_THROW(query.Cancel());
  EXPECT_EQ(query.State(), dsBrowse);
  EXPECT_FALSE(link.Editing());
  EXPECT_EQ(query.RecordCount(), 8);
}

}  // namespace
