// The search window against the sample database: each search group filters its master query
// and arranges its layout; the special cases (no match, empty text, quotes) and the radio
// pairs and help panel behave as the window's handlers say.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/dm.h"
#include "app/search_form2.h"
#include "dbgrid/db_grid.h"
#include "app_test_support.h"
#include "search_window_fixture.h"
#include "flat/flat_button.h"
#include "flat/flat_edit.h"
#include "flat/flat_memo.h"
#include "flat/flat_panel.h"
#include "flat/flat_radio_button.h"
#include "platform/ui/application.h"
#include "platform/ui/label.h"
#include "platform/ui/toolkit.h"

namespace {

using Strings = std::vector<std::string>;

class SearchWindowTest : public SearchWindowFixture {
 protected:
  // What a message box would have seen of the layout.
  std::string layout() const {
    return w->Label2->Caption() + "|" + w->Label3->Caption() + "|" + w->qlGridBLFY->Parent()->Name();
  }

  MessageBoxRecorder boxes{[this] { return layout(); }};
};

struct SearchCase {
  const char* what;
  int group;          // 0 pinyin / Chinese name, 1 English, 2 organ system
  bool byName;        // the group's second radio (Chinese name)
  const char* text;
  Strings masterKeys;  // TID of the terms or SID of the organ systems that pass
  Strings detailKeys;  // organ systems of the first term (term searches)
};

TEST_F(SearchWindowTest, EachGroupFiltersItsMasterAndArrangesItsLayout) {
  const std::vector<SearchCase> cases = {
      {"pinyin abbreviation", 0, false, "FBZD", {"0711"}, {"0600", "1810"}},
      {"Chinese name prefix", 0, true, "腹", {"0261", "0267", "0711"}, {"0600"}},
      {"English name with a quote", 1, false, "CROHN'S", {"0266"}, {"0600"}},
      {"organ-system code prefix", 2, false, "01", {"0100"}, {}},
      {"organ-system name prefix", 2, true, "胃肠", {"0600"}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TFlatRadioButton* second[] = {w->frbName, nullptr, w->frbljqgName};
    TFlatRadioButton* first[] = {w->frbPY, nullptr, w->frbljqgCode};
    if (first[c.group]) ClickControl(c.byName ? second[c.group] : first[c.group]);
    TFlatEdit* edits[3][2] = {{w->fedPY, w->fedName}, {w->fedEnglish, w->fedEnglish},
                              {w->fedljqgCode, w->fedljqgName}};
    typeAndEnter(edits[c.group][c.byName], c.text);
    EXPECT_TRUE(boxes.Boxes.empty());

    const bool terms = c.group != 2;
    TDataSet* master = terms ? DataModule1->adoqryBLFY : DataModule1->adoqryLJQG2;
    EXPECT_EQ(ColumnValues(master, terms ? "TID" : "SID"), c.masterKeys);
    if (terms) {
      EXPECT_EQ(ColumnValues(DataModule1->adoqryLJQG, "SID"), c.detailKeys);
      EXPECT_EQ(layout(), " 不良反应列表| 累及系统和器官列表|FlatPanel4");
      EXPECT_EQ(w->qlGridLJQG->Parent(), w->FlatPanel2);
      EXPECT_EQ(w->qlGridBLFY->DataSource(), DataModule1->dsBLFY);
      EXPECT_EQ(w->qlGridLJQG->DataSource(), DataModule1->dsLJQG);
      EXPECT_EQ(w->qlGridBLFY->Cursor(), crHandPoint);
      EXPECT_EQ(w->qlGridLJQG->Cursor(), crDefault);
    } else {
      // Every term that names the organ system in SID1, SID2 or SID3.
      TDataSet* terms2 = DataModule1->adoqryBLFY2;
      EXPECT_FALSE(terms2->IsEmpty());
      for (terms2->First(); !terms2->Eof(); terms2->Next()) {
        std::string sids;
        for (const char* f : {"SID1", "SID2", "SID3"}) sids += terms2->FieldByName(f)->AsString() + ",";
        EXPECT_NE(sids.find(c.masterKeys[0] + ","), std::string::npos) << sids;
      }
      EXPECT_EQ(layout(), " 累及系统和器官列表| 不良反应列表|FlatPanel2");
      EXPECT_EQ(w->qlGridLJQG->Parent(), w->FlatPanel4);
      EXPECT_EQ(w->qlGridBLFY->DataSource(), DataModule1->dsBLFY2);
      EXPECT_EQ(w->qlGridLJQG->DataSource(), DataModule1->dsLJQG2);
      EXPECT_EQ(w->qlGridBLFY->Cursor(), crDefault);
      EXPECT_EQ(w->qlGridLJQG->Cursor(), crHandPoint);
    }
  }
}

TEST_F(SearchWindowTest, NoMatchReportsBeforeTheLayoutChangesAndRepeatsOnTheSameText) {
  typeAndEnter(w->fedljqgCode, "01");  // organ-system layout first, so a change shows
  ASSERT_TRUE(boxes.Boxes.empty());
  typeAndEnter(w->fedPY, "QQQQ");
  ASSERT_EQ(boxes.Boxes.size(), 1u);
  EXPECT_EQ(boxes.Boxes[0].Text, "没有匹配的记录");
  EXPECT_EQ(boxes.Boxes[0].Caption, "提示");
  EXPECT_EQ(boxes.Boxes[0].Flags, 0x40);
  EXPECT_EQ(boxes.Boxes[0].State, " 累及系统和器官列表| 不良反应列表|FlatPanel2")
      << "the message comes while the previous layout still shows";
  EXPECT_EQ(layout(), " 不良反应列表| 累及系统和器官列表|FlatPanel4");
  EXPECT_EQ(w->qlGridBLFY->Cursor(), crDefault) << "no records: no hand";
  EXPECT_EQ(DataModule1->adoqryLJQG->RecordCount(), 0) << "no term, no organ systems";

  ClickControl(w->fbtnSearchPY);  // the button runs the same search as Enter
  EXPECT_EQ(boxes.Boxes.size(), 2u) << "the same text reports again";
}

TEST_F(SearchWindowTest, EmptyTextKeepsTheFilterButSwitchesLayoutAndHidesHelp) {
  const std::string stored = DataModule1->adoqryBLFY->Filter();
  typeAndEnter(w->fedljqgCode, "0100");
  ClickControl(w->fbtnHelp);
  ASSERT_TRUE(w->fpnlText->Visible());
  typeAndEnter(w->fedPY, "");
  EXPECT_TRUE(boxes.Boxes.empty()) << "an empty text shows no message";
  EXPECT_FALSE(w->fpnlText->Visible());
  EXPECT_EQ(DataModule1->adoqryBLFY->Filter(), stored) << "the stored filter stays";
  EXPECT_EQ(DataModule1->adoqryBLFY->RecordCount(), 0);
  EXPECT_EQ(layout(), " 不良反应列表| 累及系统和器官列表|FlatPanel4");
  EXPECT_EQ(w->qlGridBLFY->Cursor(), crDefault);
  EXPECT_EQ(DataModule1->adoqryLJQG2->Filter(), "SID LIKE '0100*'") << "the other master keeps its own";
}

TEST_F(SearchWindowTest, RadioPairsEnableFocusAndEmptyTheirEdits) {
  EXPECT_TRUE(w->fedPY->Enabled());
  EXPECT_FALSE(w->fedName->Enabled());
  EXPECT_FALSE(w->fedljqgName->Enabled());
  w->fedPY->SetText("FB");

  ClickControl(w->frbName);
  EXPECT_TRUE(w->frbName->Checked());
  EXPECT_FALSE(w->frbPY->Checked());
  EXPECT_TRUE(w->fedName->Enabled());
  EXPECT_EQ(w->ActiveControl(), w->fedName);
  EXPECT_FALSE(w->fedPY->Enabled());
  EXPECT_EQ(w->fedPY->Text(), "");

  // Enter in the name edit runs the pinyin group's handler, which searches by name now.
  typeAndEnter(w->fedName, "腹泻");
  EXPECT_EQ(ColumnValues(DataModule1->adoqryBLFY, "TID"), Strings{"0267"});

  ClickControl(w->frbPY);
  EXPECT_TRUE(w->fedPY->Enabled());
  EXPECT_EQ(w->ActiveControl(), w->fedPY);
  EXPECT_EQ(w->fedPY->Text(), "") << "it comes back empty";
  EXPECT_FALSE(w->fedName->Enabled());
  EXPECT_EQ(w->fedName->Text(), "");

  ClickControl(w->frbljqgName);
  EXPECT_EQ(w->ActiveControl(), w->fedljqgName);
  EXPECT_FALSE(w->fedljqgCode->Enabled());
  w->fedljqgName->SetText("胃");
  ClickControl(w->frbljqgName);  // already checked: the press focuses it, the handler stays out
  EXPECT_EQ(w->ActiveControl(), w->frbljqgName);
  EXPECT_TRUE(w->fedljqgName->Enabled());
  EXPECT_EQ(w->fedljqgName->Text(), "胃");
  EXPECT_TRUE(w->fedPY->Enabled()) << "the other group is untouched";
}

// The designed places where they matter: a click at the middle of each control's designed
// rectangle reaches it (its group panel sits where designed and nothing covers it); when the
// window grows, the aligned areas share it and the grid holders keep their designed places.
TEST_F(SearchWindowTest, ControlsSitWhereTheDesignPlacesThem) {
  struct Place {
    TControl* control;
    TPoint group;  // the designed origin of its group panel within the left panel
    TRect bounds;  // designed, within the group panel
  };
  const TPoint pinyin{8, 8}, english{8, 141}, organ{8, 248}, side{0, 0};
  const Place places[] = {
      {w->frbPY, pinyin, Bounds(12, 16, 89, 17)},
      {w->fedPY, pinyin, Bounds(112, 16, 145, 18)},
      {w->frbName, pinyin, Bounds(11, 48, 97, 17)},
      {w->fedName, pinyin, Bounds(112, 48, 145, 18)},
      {w->fbtnSearchPY, pinyin, Bounds(190, 72, 65, 25)},
      {w->fedEnglish, english, Bounds(112, 18, 145, 18)},
      {w->fbtnSearchEnglish, english, Bounds(191, 48, 65, 25)},
      {w->frbljqgCode, organ, Bounds(16, 16, 89, 17)},
      {w->fedljqgCode, organ, Bounds(112, 16, 145, 18)},
      {w->frbljqgName, organ, Bounds(16, 48, 89, 17)},
      {w->fedljqgName, organ, Bounds(112, 48, 145, 18)},
      {w->fbtnljqg, organ, Bounds(190, 72, 65, 25)},
      {w->fbtnExit, side, Bounds(8, 464, 81, 25)},
      {w->fbtnHelp, side, Bounds(100, 464, 81, 25)},
      {w->fbtnAbout, side, Bounds(192, 464, 81, 25)},
  };
  for (const Place& p : places) {
    SCOPED_TRACE(p.control->Name());
    TRect designed = p.bounds.Offset(p.group.X, p.group.Y);  // the left panel is at the form's origin
    TPoint topLeft = p.control->Parent()->ClientToForm({p.control->Left(), p.control->Top()});
    EXPECT_EQ(Bounds(topLeft.X, topLeft.Y, p.control->Width(), p.control->Height()), designed);
    TPoint middle{(designed.Left + designed.Right) / 2, (designed.Top + designed.Bottom) / 2};
    EXPECT_EQ(w->ControlAtFormPos(middle, /*allowDisabled=*/true), p.control);
  }

  w->SetBounds(0, 0, 1280, 800);  // a window larger than designed, as maximised on a big screen
  ClickControl(w->fbtnHelp);       // a hidden aligned panel is placed once it shows
  EXPECT_EQ(w->FlatPanel1->BoundsRect(), Bounds(0, 0, 281, w->ClientHeight()));
  EXPECT_EQ(w->FlatPanel3->BoundsRect(), Bounds(281, 0, w->ClientWidth() - 281, w->ClientHeight()))
      << "the result area fills the rest";
  EXPECT_EQ(w->fpnlText->BoundsRect(), w->FlatPanel3->BoundsRect()) << "the help covers it";
  ASSERT_GT(w->FlatPanel3->Width(), 519) << "it has grown past its designed width";
  EXPECT_EQ(w->FlatPanel4->BoundsRect(), Bounds(2, 24, 500, 281)) << "the holders do not grow";
  EXPECT_EQ(w->FlatPanel2->BoundsRect(), Bounds(0, 328, 505, 233));
  EXPECT_EQ(w->fmeText->Lines().Count(), 60);
}

// The designed tab orders where they matter: Tab walks the group panels in their order and,
// within each, the enabled tab stops in theirs (the flat buttons take no focus; an unchecked
// radio is no tab stop), and comes round to the first group's edit, which precedes its radio.
TEST_F(SearchWindowTest, TabWalksTheDesignedOrder) {
  // The left side's groups, then the right side's holders (upper grid, lower grid).
  const std::vector<TControl*> walk = {w->fedEnglish, w->frbljqgCode, w->fedljqgCode,
                                       w->qlGridBLFY, w->qlGridLJQG, w->fedPY, w->frbPY};
  ASSERT_EQ(w->ActiveControl(), w->frbPY);
  std::vector<std::string> expected, seen;
  for (TControl* c : walk) {
    expected.push_back(c->Name());
    w->HandleKeyDown(VK_TAB, {});
    seen.push_back(w->ActiveControl() ? w->ActiveControl()->Name() : "(none)");
  }
  EXPECT_EQ(seen, expected);
}

}  // namespace
