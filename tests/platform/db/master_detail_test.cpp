// Master-detail binding over the in-memory terminology: the two pairs of the data module
// (terms -> their organ systems, organ systems -> their terms), wired by hand.
#include <gtest/gtest.h>

#include "platform/db/ado_connection.h"
#include "platform/db/ado_query.h"
#include "platform/db/db_error.h"
#include "tests/platform/db/db_test_util.h"

namespace {

using Strings = std::vector<std::string>;

class MasterDetailTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tables = dbtest::TerminologySource();
    connection.SetTableSource(tables);
    for (TADOQuery* q : {&terms, &organsOfTerm, &organs, &termsOfOrgan}) q->SetConnection(&connection);
    terms.SetName("terms");
    terms.SetSQL({"SELECT * FROM WHOART"});
    terms.SetFilter("TID=' '");
    terms.SetFiltered(true);
    dsTerms.SetDataSet(&terms);
    organsOfTerm.SetName("organsOfTerm");
    organsOfTerm.SetSQL({"SELECT * FROM LJXT", "WHERE SID=:SID1 OR SID=:SID2 OR SID=:SID3"});
    organsOfTerm.SetDataSource(&dsTerms);
    dsOrgansOfTerm.SetDataSet(&organsOfTerm);
    organs.SetName("organs");
    organs.SetSQL({"SELECT * FROM LJXT"});
    organs.SetFilter("SID=' '");
    organs.SetFiltered(true);
    dsOrgans.SetDataSet(&organs);
    termsOfOrgan.SetName("termsOfOrgan");
    termsOfOrgan.SetSQL({"SELECT * FROM WHOART", "WHERE SID1=:SID OR SID2=:SID OR SID3=:SID"});
    termsOfOrgan.SetDataSource(&dsOrgans);
    dsTermsOfOrgan.SetDataSet(&termsOfOrgan);
    detailLink.SetDataSource(&dsOrgansOfTerm);
    // Masters before details, as the data module opens them.
    for (TADOQuery* q : {&organs, &terms, &organsOfTerm, &termsOfOrgan}) q->Open();
    detailLink.Clear();
  }

  std::shared_ptr<TMemoryTableSource> tables;
  TComponent owner{nullptr};
  TADOConnection connection{&owner};
  TADOQuery terms{&owner}, organsOfTerm{&owner}, organs{&owner}, termsOfOrgan{&owner};
  TDataSource dsTerms{&owner}, dsOrgansOfTerm{&owner}, dsOrgans{&owner}, dsTermsOfOrgan{&owner};
  dbtest::RecordingLink detailLink;
};

TEST_F(MasterDetailTest, StoredFiltersLeaveEverythingEmpty) {
  for (TADOQuery* q : {&terms, &organsOfTerm, &organs, &termsOfOrgan}) {
    EXPECT_TRUE(q->Active()) << q->Name();
    EXPECT_EQ(q->RecordCount(), 0) << q->Name();
  }
  // The null parameters of an empty master.
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(organsOfTerm.Parameters()[i].Value.IsNull());
  EXPECT_EQ(tables->LoadCount(), 2);  // each table once per connection
}

TEST_F(MasterDetailTest, TermDetailListsItsOrganSystems) {
  struct Case {
    const char* tid;
    Strings sids;
  };
  const std::vector<Case> cases = {
      {"0001", {"0600"}},                  // SID2 and SID3 null
      {"0002", {"0100", "0800"}},          // two codes
      {"0003", {"0100", "0800", "1810"}},  // three codes
      {"0006", {"0410", "0800"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tid);
    terms.SetFilter(std::string("TID='") + c.tid + "'");
    EXPECT_EQ(dbtest::Column(organsOfTerm, "SID"), c.sids);
  }
  // Parameters carry the master's values and type; positional, names from the markers.
  terms.SetFilter("TID='0002'");
  ASSERT_EQ(organsOfTerm.Parameters().Count(), 3);
  EXPECT_EQ(organsOfTerm.Parameters()[0].Name, "SID1");
  EXPECT_EQ(organsOfTerm.Parameters()[1].Value.AsString(), "0800");
  EXPECT_EQ(organsOfTerm.Parameters()[1].DataType, ftWideString);
  EXPECT_TRUE(organsOfTerm.Parameters()[2].Value.IsNull());
}

TEST_F(MasterDetailTest, OrganDetailFindsTermsThroughAnyOfTheThreeCodes) {
  struct Case {
    const char* sid;
    Strings tids;
  };
  const std::vector<Case> cases = {
      {"0800", {"0002", "0003", "0004", "0006"}},
      {"1810", {"0003"}},          // only in SID3
      {"0410", {"0005", "0006"}},  // in SID1 of one term, SID2 of another
      {"9999", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sid);
    organs.SetFilter(std::string("SID LIKE '") + c.sid + "*'");
    EXPECT_EQ(dbtest::Column(termsOfOrgan, "TID"), c.tids);
  }
  // One master field feeds all three parameters.
  for (int i = 0; i < 3; ++i) EXPECT_EQ(termsOfOrgan.Parameters()[i].Value.AsString(), "9999");
}

TEST_F(MasterDetailTest, DetailFollowsTheMasterOneChangeAtATime) {
  terms.SetFilter("SID1 = '0800'");  // 0003, 0004, 0006
  EXPECT_EQ(detailLink.Log, Strings{"changed"});
  EXPECT_EQ(dbtest::Column(organsOfTerm, "SID"), (Strings{"0100", "0800", "1810"}));
  organsOfTerm.Last();
  detailLink.Clear();
  terms.Next();
  EXPECT_EQ(detailLink.Log, Strings{"changed"});  // re-ran under disabled controls
  EXPECT_EQ(organsOfTerm.RecNo(), 1);               // and went to its first record
  EXPECT_EQ(dbtest::Column(organsOfTerm, "SID"), Strings{"0800"});
  terms.Last();
  EXPECT_EQ(dbtest::Column(organsOfTerm, "SID"), (Strings{"0410", "0800"}));
  terms.Locate("TID", Variant("0003"), {});
  EXPECT_EQ(organsOfTerm.RecordCount(), 3);

  // The master without a record: every parameter null, the detail empty.
  terms.SetFilter("PY LIKE 'Q*'");
  EXPECT_EQ(organsOfTerm.RecordCount(), 0);
  EXPECT_TRUE(organsOfTerm.Eof());
  organsOfTerm.CheckInvariants();
}

TEST_F(MasterDetailTest, DisabledOrClosedMasterLeavesTheDetail) {
  terms.SetFilter("SID1 = '0800'");
  detailLink.Clear();
  terms.DisableControls();  // a grid reading every master record
  for (terms.First(); !terms.Eof(); terms.Next()) {
  }
  EXPECT_TRUE(detailLink.Log.empty());
  EXPECT_EQ(organsOfTerm.RecordCount(), 3);  // still the first term's
  terms.First();
  terms.EnableControls();  // one change reaches the detail, which re-runs once
  EXPECT_EQ(detailLink.Log, Strings{"changed"});

  terms.Next();
  ASSERT_EQ(organsOfTerm.RecordCount(), 1);
  detailLink.Clear();
  terms.Close();
  EXPECT_EQ(organsOfTerm.RecordCount(), 1);  // unchanged
  EXPECT_TRUE(detailLink.Log.empty());
  terms.Open();  // opening the master re-runs the detail with its first record
  EXPECT_EQ(detailLink.Log, Strings{"changed"});
  EXPECT_EQ(organsOfTerm.RecordCount(), 3);
}

TEST_F(MasterDetailTest, RaisingHandlerLeavesNothingDisabled) {
  struct ThrowingLink : dbtest::RecordingLink {
    void DataSetChanged() override { throw EDatabaseError("handler failed"); }
  } thrower;
  thrower.SetDataSource(&dsOrgansOfTerm);
  EXPECT_THROW(terms.SetFilter("TID='0002'"), EDatabaseError);
  EXPECT_FALSE(organsOfTerm.ControlsDisabled());
  EXPECT_FALSE(terms.ControlsDisabled());
  EXPECT_EQ(organsOfTerm.RecordCount(), 2);  // the re-run itself happened
  thrower.SetDataSource(nullptr);
  terms.Next();
  EXPECT_FALSE(organsOfTerm.ControlsDisabled());
}

TEST_F(MasterDetailTest, QueryErrorsNameTheCause) {
  TADOQuery bad(&owner);
  bad.SetName("bad");
  bad.SetConnection(&connection);
  struct Case {
    std::vector<std::string> sql;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {{"SELECT * FROM NOPE"}, "table 'NOPE' not found"},
      {{"SELECT * FROM LJXT WHERE XID = :X"}, "Field 'XID' not found in table LJXT"},
      {{"SELECT SID FROM LJXT"}, "only SELECT * is supported"},
      {{"DELETE FROM LJXT"}, "only SELECT statements are supported"},
      {{"SELECT * FROM LJXT WHERE SID = "}, "ends too early"},
      {{"SELECT * FROM LJXT ORDER BY SID"}, "WHERE expected"},
  };
  for (const auto& c : cases) {
    bad.SetSQL(c.sql);
    try {
      bad.Open();
      ADD_FAILURE() << c.sql[0];
    } catch (const EDatabaseError& e) {
      EXPECT_NE(e.Message.find(c.expected), std::string::npos) << e.Message;
    }
    EXPECT_FALSE(bad.Active());
    EXPECT_EQ(bad.FieldCount(), 0);
  }
  TADOQuery lonely(&owner);
  lonely.SetSQL({"SELECT * FROM LJXT"});
  EXPECT_THROW(lonely.Open(), EDatabaseError);  // no connection
  EXPECT_THROW(terms.SetDataSource(&dsTerms), EDatabaseError);  // its own master
}

TEST_F(MasterDetailTest, ClosingTheConnectionClosesItsQueries) {
  connection.Close();
  for (TADOQuery* q : {&terms, &organsOfTerm, &organs, &termsOfOrgan}) EXPECT_FALSE(q->Active());
  terms.Open();  // connects again and loads again
  EXPECT_TRUE(connection.Connected());
  EXPECT_EQ(tables->LoadCount(), 3);
}

}  // namespace
