// The texts the record sets read: SELECT statements, parameter markers, connection strings.
#include <gtest/gtest.h>

#include "platform/db/connection_string.h"
#include "platform/db/db_error.h"
#include "platform/db/sql_select.h"

namespace {

using Strings = std::vector<std::string>;

TEST(QueryTextTest, SelectStatements) {
  struct Case {
    const char* sql;
    const char* table;
    bool hasWhere;
    Strings parameters;
  };
  const std::vector<Case> cases = {
      {"SELECT * FROM WHOART", "WHOART", false, {}},
      {"select *\nfrom [LJXT];", "LJXT", false, {}},
      {"SELECT * FROM LJXT\nWHERE SID=:SID1 OR SID=:SID2 OR SID=:SID3", "LJXT", true,
       {"SID1", "SID2", "SID3"}},
      {"SELECT * FROM WHOART WHERE SID1=:SID OR SID2=:SID OR SID3=:SID", "WHOART", true,
       {"SID", "SID", "SID"}},
      {"SELECT * FROM T WHERE (A = 'x:y' AND B = :b) ", "T", true, {"b"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sql);
    TSelectStatement st = ParseSelect(c.sql);
    EXPECT_EQ(st.TableName, c.table);
    EXPECT_EQ(bool(st.Where), c.hasWhere);
    EXPECT_EQ(st.Parameters, c.parameters);
    EXPECT_EQ(ScanParameterMarkers(c.sql), c.parameters);
  }
  for (const char* bad : {"", "SELECT", "SELECT * FROM", "SELECT a FROM T", "UPDATE T SET A=1",
                          "SELECT * FROM T WHERE", "SELECT * FROM T WHERE A = :", "SELECT * FROM [T"})
    EXPECT_THROW(ParseSelect(bad), EDatabaseError) << bad;
  // Markers inside quotes or brackets are text; "::" and ":1" are no markers.
  EXPECT_EQ(ScanParameterMarkers("WHERE A = ':x' AND [b:c] = :d AND T = '10:30' AND :1 = 1"),
            Strings{"d"});
}

TEST(QueryTextTest, ConnectionStrings) {
  const char* text =
      "Provider=Microsoft.Jet.OLEDB.4.0;Password=\"\";User ID=Admin;Data Source=ADR.mdb;"
      "Mode=Share Deny None;Extended Properties=\"\";Jet OLEDB:System database=\"\";"
      "Jet OLEDB:Engine Type=5;Jet OLEDB:Create System Database=False;";
  TConnectionElements e = ParseConnectionString(text);
  ASSERT_EQ(e.size(), 9u);
  EXPECT_EQ(e[0], (std::pair<std::string, std::string>{"Provider", "Microsoft.Jet.OLEDB.4.0"}));
  EXPECT_EQ(ConnectionElement(e, "password"), "");
  EXPECT_EQ(ConnectionElement(e, "DATA SOURCE"), "ADR.mdb");
  EXPECT_EQ(ConnectionElement(e, "Mode"), "Share Deny None");
  EXPECT_EQ(ConnectionElement(e, "Jet OLEDB:Engine Type"), "5");
  EXPECT_EQ(ConnectionElement(e, "Nope"), std::nullopt);

  TConnectionElements quoted = ParseConnectionString(" Data Source = 'my ''db''.mdb' ; X=\"a;b\"");
  EXPECT_EQ(ConnectionElement(quoted, "Data Source"), "my 'db'.mdb");
  EXPECT_EQ(ConnectionElement(quoted, "X"), "a;b");
  EXPECT_THROW(ParseConnectionString("Data Source=\"ADR.mdb"), EDatabaseError);
  EXPECT_THROW(ParseConnectionString("Provider;Data Source=x"), EDatabaseError);
  EXPECT_TRUE(ParseConnectionString("").empty());
}

}  // namespace
