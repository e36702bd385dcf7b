// The data-aware grid's option sets: documented defaults, the twins each published value
// sets, and the rules of the setters.
#include <gtest/gtest.h>

#include "tests/dbgrid/db_grid_fixture.h"

namespace {

TEST(DBGridOptions, DefaultsReadBackAsDocumented) {
  TComponent owner(nullptr);
  auto* grid = new TqlDBGrid(&owner);
  EXPECT_EQ(grid->OptionsBehavior().bits(), 0x18043808u);
  EXPECT_EQ(grid->OptionsCustomize().bits(), 0x1Du);
  EXPECT_EQ(grid->OptionsDB().bits(), 0x103Eu);
  EXPECT_EQ(grid->OptionsView().bits(), 0x2008u);
  EXPECT_EQ(grid->DBOptions().bits(), 0x3B97u);
  EXPECT_EQ(grid->DBOptionsEx().bits(), 0x2014B6u);
}

// Turning one published value on (from an empty set) sets its internal twin and core flag.
TEST(DBGridOptions, EachPublishedValueSetsItsTwins) {
  struct Case {
    const char* what;
    std::function<void(TqlDBGrid&)> set;
    int internal = -1, internalEx = -1, core = -1;  // -1: no twin in that word
  };
  const std::vector<Case> cases = {
      {"edgoAutoSort", [](TqlDBGrid& g) { g.SetOptionsBehavior({edgoAutoSort}); }, -1, egoAutoSort, tloAutoSort},
      {"edgoEditing", [](TqlDBGrid& g) { g.SetOptionsBehavior({edgoEditing}); }, egoEditing, -1, tloEditing},
      {"edgoMultiSort", [](TqlDBGrid& g) { g.SetOptionsBehavior({edgoMultiSort}); }, -1, egoMultiSort, tloMultiSort},
      {"edgoAutoCopySelectedToClipboard",
       [](TqlDBGrid& g) { g.SetOptionsBehavior({edgoAutoCopySelectedToClipboard}); }, -1, -1,
       tloAutoCopySelectedToClipboard},
      {"edgoColumnSizing", [](TqlDBGrid& g) { g.SetOptionsCustomize({edgoColumnSizing}); }, egoColumnSizing, -1, tloColumnSizing},
      {"edgoCanDelete", [](TqlDBGrid& g) { g.SetOptionsDB({edgoCanDelete}); }, egoCanDelete, -1, -1},
      {"edgoSyncSelection", [](TqlDBGrid& g) { g.SetOptionsDB({edgoSyncSelection}); }, -1, egoSyncSelection, -1},
      {"edgoIndicator", [](TqlDBGrid& g) { g.SetOptionsView({edgoIndicator}); }, egoIndicator, -1, tloIndicator},
      {"edgoHotTrack", [](TqlDBGrid& g) { g.SetOptionsView({edgoHotTrack}); }, -1, -1, tloHotTrack},
      {"edgoRowSelect", [](TqlDBGrid& g) { g.SetOptionsView({edgoRowSelect}); }, egoRowSelect, -1, tloRowSelect},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TComponent owner(nullptr);
    auto* grid = new TqlDBGrid(&owner);
    grid->SetOptionsBehavior({});
    grid->SetOptionsCustomize({});
    grid->SetOptionsDB({});
    grid->SetOptionsView({});
    EXPECT_EQ(grid->DBOptions().bits(), 0u);
    EXPECT_EQ(grid->DBOptionsEx().bits(), 0u);
    c.set(*grid);
    EXPECT_EQ(grid->DBOptions().bits(), c.internal < 0 ? 0u : uint64_t(1) << c.internal);
    EXPECT_EQ(grid->DBOptionsEx().bits(), c.internalEx < 0 ? 0u : uint64_t(1) << c.internalEx);
    if (c.core >= 0) {
      EXPECT_TRUE(grid->IsOption(TqlTreeListOption(c.core)));
    }
  }
}

TEST(DBGridOptions, LoadAllRecordsWinsOverPartialLoad) {
  TComponent owner(nullptr);
  auto* grid = new TqlDBGrid(&owner);
  grid->SetOptionsDB({edgoLoadAllRecords, edgoPartialLoad});
  EXPECT_EQ(grid->OptionsDB(), (TqlDBGridOptionsDB{edgoLoadAllRecords}));
  EXPECT_TRUE(grid->IsAllRecordsMode());
  grid->SetOptionsDB({edgoPartialLoad});
  EXPECT_TRUE(grid->IsPartialLoadMode());
  grid->SetOptionsDB({});
  EXPECT_TRUE(grid->IsBufferedMode());
}

TEST(DBGridOptions, InternalWordsRoundTripIntoThePublishedSets) {
  TComponent owner(nullptr);
  auto* grid = new TqlDBGrid(&owner);
  grid->SetDBOptions(TqlDBGridOptions{egoCanNavigation, egoLoadAllRecords, egoRowSelect});
  EXPECT_EQ(grid->OptionsDB(), (TqlDBGridOptionsDB{edgoCanNavigation, edgoLoadAllRecords,
                                                   edgoUseBookmarks}))
      << "edgoUseBookmarks has no internal twin: it stays as it was";
  EXPECT_TRUE(grid->OptionsView().contains(edgoRowSelect));
  EXPECT_FALSE(grid->OptionsBehavior().contains(edgoEditing));
  grid->SetDBOptionsEx(TqlDBGridOptionsEx{egoMultiSort});
  EXPECT_EQ(grid->OptionsBehavior().contains(edgoMultiSort), true);
  EXPECT_EQ(grid->OptionsBehavior().contains(edgoAutoSort), false);
  EXPECT_EQ(grid->DBOptionsEx(), (TqlDBGridOptionsEx{egoMultiSort}));
}

TEST(DBGridLook, GridLinesInTheButtonFaceUnlessItWouldNotShow) {
  TComponent owner(nullptr);
  auto* grid = new TqlDBGrid(&owner);
  EXPECT_EQ(grid->GridLineDrawColor(), clBtnFace);  // classic grey face on a white grid
  grid->SetColor(clBtnFace);
  EXPECT_EQ(grid->GridLineDrawColor(), clBtnShadow);
  grid->SetGridLineColor(clRed);
  EXPECT_EQ(grid->GridLineDrawColor(), clRed);
}

class SortRuleTest : public ::testing::Test, public dbgridtest::DBGridFixture {};

TEST_F(SortRuleTest, ChangingAutoSortClearsTheSortStates) {
  termGrid.Columns(1)->SetSorted(csUp);
  termGrid.SetOptionsBehavior(dbgridtest::kSearchWindowBehavior + TqlDBGridOptionsBehavior{edgoCaseInsensitive});
  EXPECT_EQ(termGrid.Columns(1)->Sorted(), csUp) << "another option keeps it";
  termGrid.SetOptionsBehavior(dbgridtest::kSearchWindowBehavior - TqlDBGridOptionsBehavior{edgoAutoSort});
  EXPECT_EQ(termGrid.Columns(1)->Sorted(), csNone);
}

}  // namespace
