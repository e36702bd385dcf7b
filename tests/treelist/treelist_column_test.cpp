#include "treelist/treelist_column.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/gfx/bitmap.h"
#include "treelist/treelist_control.h"

namespace {

// A form-like owner with one grid named Grid1.
struct Fixture {
  TComponent form{nullptr};
  TCustomqlTreeListControl* grid = new TCustomqlTreeListControl(&form);
  Fixture() { grid->SetName("Grid1"); }
  TqlTreeListColumn* column() { return grid->CreateColumn(); }
};

TEST(TreeListColumn, DefaultsOfANewColumn) {
  Fixture f;
  TqlTreeListColumn* c = f.column();
  EXPECT_EQ(c->AssignedValues().bits(), 0u);
  EXPECT_EQ(c->Alignment(), taLeftJustify);
  EXPECT_EQ(c->Caption(), "");
  EXPECT_EQ(c->Color(), f.grid->Color());
  EXPECT_EQ(c->MaxLength(), 0);
  EXPECT_FALSE(c->ReadOnly());
  EXPECT_EQ(c->Width(), 100);
  EXPECT_EQ(c->MinWidth(), 20);
  EXPECT_EQ(c->HeaderAlignment(), taLeftJustify);
  EXPECT_EQ(c->VertAlignment(), tlTop);
  EXPECT_EQ(c->HeaderMaxLineCount(), 1);
  EXPECT_EQ(c->Sorted(), csNone);
  EXPECT_TRUE(c->Sizing() && c->TabStop() && c->Visible());
  EXPECT_TRUE(SameFontValues(c->Font(), f.grid->Font()));
}

TEST(TreeListColumn, SettersAndAssignedBits) {
  using Col = TqlTreeListColumn;
  struct Case {
    const char* name;
    std::function<void(Col&)> set;
    std::function<bool(const Col&)> reads;  // the value read back is the expected one
    uint64_t assignedBits;                  // Alignment 1, Caption 2, ReadOnly 4, Width 8,
                                            // Color 16, Font 32, MaxLength 64
  };
  const Case cases[] = {
      {"Alignment", [](Col& c) { c.SetAlignment(taRightJustify); },
       [](const Col& c) { return c.Alignment() == taRightJustify; }, 1},
      {"Alignment equal to the default is still assigned",
       [](Col& c) { c.SetAlignment(taLeftJustify); },
       [](const Col& c) { return c.Alignment() == taLeftJustify; }, 1},
      {"Caption", [](Col& c) { c.SetCaption("Name"); },
       [](const Col& c) { return c.Caption() == "Name"; }, 2},
      {"ReadOnly", [](Col& c) { c.SetReadOnly(true); },
       [](const Col& c) { return c.ReadOnly(); }, 4},
      {"Width", [](Col& c) { c.SetWidth(150); }, [](const Col& c) { return c.Width() == 150; },
       8},
      {"Width equal to the default width stays unassigned", [](Col& c) { c.SetWidth(100); },
       [](const Col& c) { return c.Width() == 100; }, 0},
      {"Width 10 below MinWidth 20 stores 20", [](Col& c) { c.SetWidth(10); },
       [](const Col& c) { return c.Width() == 20; }, 8},
      {"Width once assigned stays assigned at the default",
       [](Col& c) { c.SetWidth(150); c.SetWidth(100); },
       [](const Col& c) { return c.Width() == 100; }, 8},
      {"Color", [](Col& c) { c.SetColor(clRed); }, [](const Col& c) { return c.Color() == clRed; },
       16},
      {"Font through SetFont",
       [](Col& c) { TFont font; font.SetName("Tahoma"); c.SetFont(font); },
       [](const Col& c) { return c.Font().Name() == "Tahoma"; }, 32},
      {"Font changed through the column's font object", [](Col& c) { c.Font().SetSize(12); },
       [](const Col& c) { return c.Font().Size() == 12; }, 32},
      {"MaxLength", [](Col& c) { c.SetMaxLength(5); },
       [](const Col& c) { return c.MaxLength() == 5; }, 64},
      {"MinWidth raises Width without assigning it", [](Col& c) { c.SetMinWidth(120); },
       [](const Col& c) { return c.Width() == 120; }, 0},
      {"negative MinWidth becomes 0", [](Col& c) { c.SetMinWidth(-5); },
       [](const Col& c) { return c.MinWidth() == 0; }, 0},
      {"negative HeaderMaxLineCount becomes 0", [](Col& c) { c.SetHeaderMaxLineCount(-1); },
       [](const Col& c) { return c.HeaderMaxLineCount() == 0; }, 0},
      {"plain values carry no bit", [](Col& c) { c.SetCharCase(ecUpperCase); c.SetSizing(false); },
       [](const Col& c) { return c.CharCase() == ecUpperCase && !c.Sizing(); }, 0},
  };
  for (const Case& tc : cases) {
    Fixture f;
    TqlTreeListColumn* c = f.column();
    tc.set(*c);
    EXPECT_TRUE(tc.reads(*c)) << tc.name;
    EXPECT_EQ(c->AssignedValues().bits(), tc.assignedBits) << tc.name;
  }
}

TEST(TreeListColumn, StoredRules) {
  using Col = TqlTreeListColumn;
  struct Case {
    const char* name;
    std::function<void(Col&)> set;
    std::function<bool(const Col&)> stored;
    bool expected;
  };
  const Case cases[] = {
      {"Caption different from the default", [](Col& c) { c.SetCaption("A"); },
       &Col::IsCaptionStored, true},
      {"Caption assigned but equal to the default", [](Col& c) { c.SetCaption(""); },
       &Col::IsCaptionStored, false},
      {"Color equal to the control's", [](Col& c) { c.SetColor(c.TreeList()->Color()); },
       &Col::IsColorStored, false},
      {"Color different", [](Col& c) { c.SetColor(clRed); }, &Col::IsColorStored, true},
      {"ReadOnly assigned False", [](Col& c) { c.SetReadOnly(false); }, &Col::IsReadOnlyStored,
       false},
      {"MaxLength assigned 0", [](Col& c) { c.SetMaxLength(0); }, &Col::IsMaxLengthStored, false},
      {"Width assigned", [](Col& c) { c.SetWidth(150); c.SetWidth(100); }, &Col::IsWidthStored,
       true},
      {"Width never assigned", [](Col&) {}, &Col::IsWidthStored, false},
      {"Font unassigned", [](Col&) {}, &Col::IsFontStored, false},
      {"StoredRowIndex 0", [](Col&) {}, &Col::IsStoredRowIndexStored, false},
      {"HeaderGlyph present", [](Col& c) { TBitmap b(4, 4); c.SetHeaderGlyph(&b); },
       &Col::IsHeaderGlyphStored, true},
      {"HeaderGlyph set to nothing frees it",
       [](Col& c) { TBitmap b(4, 4); c.SetHeaderGlyph(&b); c.SetHeaderGlyph(nullptr); },
       &Col::IsHeaderGlyphStored, false},
  };
  for (const Case& tc : cases) {
    Fixture f;
    TqlTreeListColumn* c = f.column();
    tc.set(*c);
    EXPECT_EQ(tc.stored(*c), tc.expected) << tc.name;
  }
}

TEST(TreeListColumn, UnassignedFontFollowsTheControlsFont) {
  Fixture f;
  TqlTreeListColumn* follows = f.column();
  TqlTreeListColumn* own = f.column();
  own->Font().SetName("Tahoma");
  f.grid->Font().SetName("Arial");
  EXPECT_EQ(follows->Font().Name(), "Arial");
  EXPECT_FALSE(follows->AssignedValues().contains(tcvFont)) << "the refresh assigns nothing";
  EXPECT_EQ(own->Font().Name(), "Tahoma");
}

TEST(TreeListColumn, ReadOnlyControlMakesEveryColumnReadOnly) {
  Fixture f;
  TqlTreeListColumn* c = f.column();
  f.grid->SetReadOnly(true);
  EXPECT_TRUE(c->ReadOnly());
  EXPECT_FALSE(c->IsReadOnlyStored()) << "the control's value is not the column's";
}

TEST(TreeListColumn, RestoreDefaults) {
  Fixture f;
  auto* c = new TqlTreeListMaskColumn(&f.form);
  c->SetTreeList(f.grid);
  c->SetCaption("A");
  c->SetWidth(10);
  c->SetMinWidth(50);
  c->Font().SetName("Tahoma");
  c->SetDisableCaption(true);
  c->SetTabStop(false);
  c->SetEditMask("999");
  c->RestoreDefaults();
  EXPECT_EQ(c->AssignedValues().bits(), 0u);
  EXPECT_EQ(c->Caption(), "");
  EXPECT_EQ(c->MinWidth(), 20);
  EXPECT_EQ(c->Width(), 100) << "re-derived from the default width";
  EXPECT_EQ(c->Font().Name(), f.grid->Font().Name());
  EXPECT_FALSE(c->DisableCaption());
  EXPECT_TRUE(c->TabStop());
  EXPECT_EQ(c->EditMask(), "");

  auto* source = new TqlTreeListMaskColumn(&f.form);
  source->SetEditMask("00:00");
  source->SetCaption("Time");
  c->Assign(*source);
  EXPECT_EQ(c->EditMask(), "00:00");
  EXPECT_EQ(c->Caption(), "Time");
  EXPECT_TRUE(c->AssignedValues().contains(tcvCaption));
}

}  // namespace
