// The data module over a small ADR.mdb in the working directory: what loading builds and
// opens, the searches the window makes, and the master-detail edge cases.
#include "app/dm.h"

#include <gtest/gtest.h>

#include "platform/db/db_error.h"
#include "tests/platform/db/mdb_fixture.h"

namespace {

using Strings = std::vector<std::string>;

class DataModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dbtest::WriteTerminologyFile(dir / "ADR.mdb");
    module = std::make_unique<TDataModule1>(&application);
  }
  // The search window's one search: "%s LIKE '%s*'".
  void search(TADOQuery* q, const std::string& field, const std::string& text) {
    q->SetFilter(field + " LIKE '" + text + "*'");
    q->SetFiltered(true);
  }

  dbtest::ScratchDir dir;
  dbtest::WorkingDir cwd{dir.Path()};
  TComponent application{nullptr};
  std::unique_ptr<TDataModule1> module;
};

TEST_F(DataModuleTest, LoadingBuildsAndOpensTheStoredComponents) {
  TDataModule1& dm = *module;
  Strings names;
  for (int i = 0; i < dm.ComponentCount(); ++i) names.push_back(dm.Components(i)->Name());
  EXPECT_EQ(names, (Strings{"ADOConnection", "dsBLFY", "dsLJQG", "adoqryLJQG2", "adoqryBLFY",
                            "adoqryLJQG", "adoqryBLFY2", "dsLJQG2", "dsBLFY2"}));
  EXPECT_EQ(dm.FindComponent("adoqryblfy"), dm.adoqryBLFY);

  EXPECT_TRUE(dm.ADOConnection->Connected());
  EXPECT_FALSE(dm.ADOConnection->LoginPrompt());
  EXPECT_EQ(dm.ADOConnection->Mode(), cmShareDenyNone);
  EXPECT_EQ(dm.ADOConnection->Provider(), "Microsoft.Jet.OLEDB.4.0");
  EXPECT_EQ(dm.ADOConnection->ConnectionString().find("Provider=Microsoft.Jet.OLEDB.4.0;Password=\"\";User ID=Admin;Data Source=ADR.mdb;Mode=Share Deny None;"), 0u);
  EXPECT_EQ(dm.ADOConnection->DatabasePath(), (dir.Path() / "ADR.mdb").string());

  struct Wiring {
    TADOQuery* query;
    TDataSource* master;
    TDataSource* shownBy;
    const char* filter;
  };
  const std::vector<Wiring> wiring = {
      {dm.adoqryBLFY, nullptr, dm.dsBLFY, "TID=' '"},
      {dm.adoqryLJQG, dm.dsBLFY, dm.dsLJQG, ""},
      {dm.adoqryLJQG2, nullptr, dm.dsLJQG2, "SID=' '"},
      {dm.adoqryBLFY2, dm.dsLJQG2, dm.dsBLFY2, ""},
  };
  for (const auto& w : wiring) {
    SCOPED_TRACE(w.query->Name());
    EXPECT_TRUE(w.query->Active());
    EXPECT_EQ(w.query->RecordCount(), 0);  // stored filters match nothing, so details are empty
    EXPECT_EQ(w.query->Connection(), dm.ADOConnection);
    EXPECT_EQ(w.query->CursorType(), ctStatic);
    EXPECT_EQ(w.query->CursorLocation(), clUseClient);
    EXPECT_EQ(w.query->LockType(), ltOptimistic);
    EXPECT_EQ(w.query->DataSource(), w.master);
    EXPECT_EQ(w.shownBy->DataSet(), w.query);
    EXPECT_EQ(w.query->Filter(), w.filter);
    EXPECT_EQ(w.query->Filtered(), *w.filter != 0);
  }
  // Parameters: positional, input, nullable fixed chars of the stored sizes.
  struct Param {
    TADOQuery* query;
    int position;
    const char* name;
    int size;
  };
  for (const auto& p : std::vector<Param>{{dm.adoqryLJQG, 0, "SID1", 4}, {dm.adoqryLJQG, 1, "SID2", 4},
                                         {dm.adoqryLJQG, 2, "SID3", 4}, {dm.adoqryBLFY2, 0, "SID", 4},
                                         {dm.adoqryBLFY2, 1, "SID", 510}, {dm.adoqryBLFY2, 2, "SID", 510}}) {
    const TParameter& param = p.query->Parameters()[p.position];
    EXPECT_EQ(param.Name, p.name);
    EXPECT_EQ(param.Size, p.size);
    EXPECT_EQ(param.Direction, pdInput);
    EXPECT_TRUE(param.Attributes.contains(paNullable));
    EXPECT_EQ(param.Precision, 255);
    EXPECT_EQ(param.NumericScale, 255);
    EXPECT_TRUE(param.Value.IsNull());  // taken from the empty masters when they opened
  }
}

TEST_F(DataModuleTest, TermSearchesShowTheOrganSystemsOfTheCurrentTerm) {
  TDataModule1& dm = *module;
  search(dm.adoqryBLFY, "PY", "fr");  // typed in lower case, stored in capitals
  EXPECT_EQ(dbtest::Column(*dm.adoqryBLFY, "TID"), (Strings{"0003", "0004"}));
  dm.adoqryBLFY->First();
  EXPECT_EQ(dbtest::Column(*dm.adoqryLJQG, "SID"), (Strings{"0100", "0800", "1810"}));  // three
  dm.adoqryBLFY->Next();
  EXPECT_EQ(dbtest::Column(*dm.adoqryLJQG, "SID"), Strings{"0800"});  // only SID1

  search(dm.adoqryBLFY, "Name", "皮");
  EXPECT_EQ(dbtest::Column(*dm.adoqryLJQG, "SID"), (Strings{"0100", "0800"}));  // two
  search(dm.adoqryBLFY, "EName", "HEAD");
  EXPECT_EQ(dbtest::Column(*dm.adoqryBLFY, "NAME"), Strings{"头痛"});

  search(dm.adoqryBLFY, "PY", "QQ");  // no match: the detail empties too
  EXPECT_EQ(dm.adoqryBLFY->RecordCount(), 0);
  EXPECT_EQ(dm.adoqryLJQG->RecordCount(), 0);

  // A quote in the typed text makes the expression invalid: error, previous filter kept.
  EXPECT_THROW(search(dm.adoqryBLFY, "EName", "O'B"), EDatabaseError);
  EXPECT_EQ(dm.adoqryBLFY->Filter(), "PY LIKE 'QQ*'");
}

TEST_F(DataModuleTest, OrganSearchesShowEveryTermOfTheCurrentOrganSystem) {
  TDataModule1& dm = *module;
  search(dm.adoqryLJQG2, "SID", "18");  // 1810 stands only in SID3
  EXPECT_EQ(dbtest::Column(*dm.adoqryBLFY2, "TID"), Strings{"0003"});
  search(dm.adoqryLJQG2, "SID", "04");  // in SID1 of one term and SID2 of another
  EXPECT_EQ(dbtest::Column(*dm.adoqryBLFY2, "TID"), (Strings{"0005", "0006"}));
  search(dm.adoqryLJQG2, "Name", "全身");
  EXPECT_EQ(dbtest::Column(*dm.adoqryBLFY2, "TID"), (Strings{"0002", "0003", "0004", "0006"}));
  search(dm.adoqryLJQG2, "SID", "");  // every organ system; the detail follows moves
  dm.adoqryLJQG2->Last();
  EXPECT_EQ(dm.adoqryLJQG2->FieldByName("SID")->AsString(), "9999");
  EXPECT_EQ(dm.adoqryBLFY2->RecordCount(), 0);
  dm.adoqryLJQG2->Prior();
  EXPECT_EQ(dm.adoqryBLFY2->RecordCount(), 1);
  // The term pair is untouched by organ searches.
  EXPECT_EQ(dm.adoqryBLFY->Filter(), "TID=' '");
  EXPECT_EQ(dm.adoqryLJQG->RecordCount(), 0);
}

TEST(DataModuleLoadTest, MissingDatabaseFailsTheLoadNamingTheFile) {
  dbtest::ScratchDir empty;
  dbtest::WorkingDir cwd(empty.Path());
  TComponent application(nullptr);
  try {
    TDataModule1 dm(&application);
    FAIL() << "loaded";
  } catch (const EDatabaseError& e) {
    EXPECT_NE(e.Message.find((empty.Path() / "ADR.mdb").string()), std::string::npos) << e.Message;
    EXPECT_NE(e.Message.find("does not exist"), std::string::npos) << e.Message;
  }
  EXPECT_EQ(application.ComponentCount(), 0);  // nothing left behind
}

}  // namespace
