// Data-bound columns: what they take from their field, DefaultFields, and a field that goes.
#include <gtest/gtest.h>

#include <set>

#include "platform/db/field.h"
#include "tests/dbgrid/db_grid_fixture.h"

namespace {

class ColumnTest : public ::testing::Test, public dbgridtest::DBGridFixture {};

TEST_F(ColumnTest, CaptionAlignmentAndWidthFollowTheField) {
  TqlTreeListColumn* py = termGrid.Columns(0);
  TField* field = terms.FieldByName("PY");
  EXPECT_EQ(py->Caption(), "PY");
  field->SetDisplayLabel("拼音");
  termGrid.RefillFieldMap();
  EXPECT_EQ(py->Caption(), "拼音");
  field->SetAlignment(taRightJustify);
  EXPECT_EQ(py->Alignment(), taRightJustify);
  // Width: the wider of the caption (+6) and DisplayWidth "0"s (+4).
  termGrid.Canvas().Font = termGrid.Columns(0)->Font();
  const int zero = termGrid.Canvas().TextWidth("0");
  EXPECT_EQ(py->Width(), std::max(zero * field->DisplayWidth() + 4,
                                  (termGrid.Canvas().Font = termGrid.HeaderFont(),
                                   termGrid.Canvas().TextWidth("拼音") + 6)));
  // An assigned caption wins over the field's.
  py->SetCaption("拼音缩写");
  EXPECT_EQ(py->Caption(), "拼音缩写");
}

TEST_F(ColumnTest, WithoutAGridOrAFieldTheColumnKeepsItsOwnValues) {
  TqlDBGridColumn loose(&form);
  loose.SetFieldName("PY");
  EXPECT_EQ(loose.Width(), 64);
  EXPECT_EQ(loose.Caption(), "PY");
  EXPECT_EQ(loose.Field(), nullptr);
  EXPECT_EQ(loose.ValueType(), varString);
}

TEST_F(ColumnTest, DefaultFieldsColumnNamesStayUniqueWhenFieldsComeBack) {
  TqlDBGrid& grid = *new TqlDBGrid(&form);
  grid.SetName("plain");
  grid.SetDataSource(&dsTerms);
  grid.SetDefaultFields(true);
  terms.FieldByName("PY")->SetVisible(false);
  terms.FieldByName("PY")->SetVisible(true);
  std::set<std::string> names;
  for (int i = 0; i < grid.ColumnCount(); ++i) names.insert(grid.Columns(i)->Name());
  EXPECT_EQ(names.size(), size_t(grid.ColumnCount()));
  // Loading all records turns DefaultFields off and the all-records mode on.
  grid.SetOptionsDB(dbgridtest::kSearchWindowDB);
  EXPECT_FALSE(grid.DefaultFields());
  EXPECT_TRUE(grid.IsAllRecordsMode());
}

TEST_F(ColumnTest, AColumnWithoutAFieldTakesItsWidthFromItsName) {
  auto* fresh = termGrid.CreateColumn<TqlDBGridColumn>();
  fresh->SetFieldName("NOSUCH");
  termGrid.DBColumn(0)->SetFieldName("NOSUCH");
  EXPECT_EQ(termGrid.Columns(0)->Width(), fresh->Width());
}

TEST_F(ColumnTest, SortBySummaryReadsFalseWithoutASummary) {
  auto* column = termGrid.DBColumn(0);
  column->SetSortBySummary(true);
  EXPECT_FALSE(column->SortBySummary());
  column->SetSummaryType(cstSum);
  column->SetSortBySummary(true);
  EXPECT_TRUE(column->SortBySummary());
  column->SetSummaryType(cstNone);
  column->SetSummaryType(cstSum);
  EXPECT_FALSE(column->SortBySummary()) << "cstNone cleared it";
}

TEST_F(ColumnTest, AClosedDataSetUnbindsColumnsAndReopeningBindsThemByName) {
  SearchPinyin("F");
  ASSERT_NE(termGrid.DBColumn(0)->Field(), nullptr);
  terms.Close();
  EXPECT_EQ(termGrid.DBColumn(0)->Field(), nullptr);
  EXPECT_EQ(termGrid.ShownRowCount(), 0);
  terms.Open();
  SearchPinyin("FR");
  EXPECT_NE(termGrid.DBColumn(0)->Field(), nullptr);
  EXPECT_EQ(dbgridtest::RowTexts(termGrid, 0), (std::vector<std::string>{"FR", "FRG"}));
}

TEST_F(ColumnTest, DefaultFieldsMakesOneColumnPerFieldAndRefusesHandMadeOnes) {
  TqlDBGrid& grid = *new TqlDBGrid(&form);
  grid.SetName("plain");
  grid.SetKeyField("TID");
  grid.SetDataSource(&dsTerms);
  grid.SetDefaultFields(true);
  ASSERT_EQ(grid.ColumnCount(), terms.FieldCount());
  for (int i = 0; i < grid.ColumnCount(); ++i) {
    EXPECT_EQ(grid.DBColumn(i)->FieldName(), terms.Fields()[i]->FieldName());
    EXPECT_EQ(grid.Columns(i)->Name(), "plainColumn" + std::to_string(i + 1));
  }
  EXPECT_THROW(grid.CheckColumnAddedByHand(), EInvalidqlTreeListOperation);
  grid.SetDefaultFields(false);
  EXPECT_NO_THROW(grid.CheckColumnAddedByHand());
}

}  // namespace
