#include "treelist/edit_style.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "treelist/treelist_control.h"
#include "treelist/treelist_edit_style.h"

namespace {

// An editor that owns its style (as the in-place editors do) and counts restyles.
struct FakeEditor : TqlStyledEditor {
  std::unique_ptr<TqlEditStyle> style;
  int restyles = 0;

  FakeEditor() : style(std::make_unique<TqlEditStyle>(this)) {}
  explicit FakeEditor(const TCustomqlTreeList* grid)
      : style(std::make_unique<TqlTreeListEditStyle>(this, grid)) {}
  void StyleChanged() override { ++restyles; }
};

// The default controller is shared by the whole process: every test leaves it as it was.
struct DefaultControllerRestorer {
  ~DefaultControllerRestorer() { DefaultEditStyleController().RestoreDefaults(); }
};

struct Values {
  TColor borderColor;
  TqlEditBorderStyle border;
  TqlEditButtonViewStyle button;
  TqlEditButtonTransparence transparence;
  TqlEditEdges edges;
  bool hotTrack, shadow;
};

void ExpectValues(const TqlEditStyle& s, const Values& v, const std::string& context) {
  SCOPED_TRACE(context);
  EXPECT_EQ(s.BorderColor(), v.borderColor);
  EXPECT_EQ(s.BorderStyle(), v.border);
  EXPECT_EQ(s.ButtonStyle(), v.button);
  EXPECT_EQ(s.ButtonTransparence(), v.transparence);
  EXPECT_EQ(s.Edges(), v.edges);
  EXPECT_EQ(s.HotTrack(), v.hotTrack);
  EXPECT_EQ(s.Shadow(), v.shadow);
}

TEST(EditStyle, UnassignedValuesComeFromOwnControllerElseDefaultController) {
  DefaultControllerRestorer restore;
  FakeEditor plain;
  ExpectValues(*plain.style,
               {clWindowFrame, xbs3D, btsDefault, ebtNone, kAllEditEdges, false, false},
               "no controller: the default controller's defaults");

  TqlEditStyleController own(nullptr);
  own.SetBorderStyle(xbsFlat);
  own.SetHotTrack(true);
  FakeEditor controlled;
  controlled.SetStyleController(&own);
  ExpectValues(*controlled.style,
               {clWindowFrame, xbsFlat, btsDefault, ebtNone, kAllEditEdges, true, false},
               "own controller");

  controlled.style->SetBorderStyle(xbsSingle);
  EXPECT_EQ(controlled.style->BorderStyle(), xbsSingle) << "an assigned value wins";
  EXPECT_TRUE(controlled.style->IsStored(svBorderStyle));
  EXPECT_FALSE(controlled.style->IsStored(svHotTrack));
  controlled.style->RestoreDefaults();
  EXPECT_EQ(controlled.style->BorderStyle(), xbsFlat) << "restored: the controller again";
  EXPECT_TRUE(controlled.style->AssignedValues().empty());
}

TEST(EditStyle, GridEditorReadsTheGridsLook) {
  struct Case {
    bool showGrid;
    TqlLookAndFeel look;
    TqlEditBorderStyle border;
    TqlEditButtonViewStyle button;
  };
  const Case cases[] = {{true, lfStandard, xbsNone, bts3D},
                        {false, lfStandard, xbsSingle, bts3D},
                        {true, lfFlat, xbsNone, btsFlat},
                        {false, lfUltraFlat, xbsSingle, btsHotFlat}};
  for (const Case& c : cases) {
    TCustomqlTreeListControl grid(nullptr);
    grid.SetShowGrid(c.showGrid);
    grid.SetLookAndFeel(c.look);
    FakeEditor editor(&grid);
    ExpectValues(*editor.style,
                 {clWindowFrame, c.border, c.button, ebtNone, kAllEditEdges, false, false},
                 "ShowGrid " + std::to_string(c.showGrid) + ", look " + std::to_string(c.look));
  }
  // The grid's look wins over the default controller for unassigned values...
  DefaultControllerRestorer restore;
  DefaultEditStyleController().SetHotTrack(true);
  TCustomqlTreeListControl grid(nullptr);
  FakeEditor editor(&grid);
  EXPECT_FALSE(editor.style->HotTrack());
  // ...and an assigned value wins over the grid.
  editor.style->SetButtonStyle(btsSimple);
  EXPECT_EQ(editor.style->ButtonStyle(), btsSimple);
}

TEST(EditStyle, SettersNotifyOnlyWhenSomethingChanges) {
  FakeEditor editor;
  TqlEditStyle& s = *editor.style;
  struct Step {
    const char* what;
    std::function<void()> act;
    int restyles;  // expected notifications of this step
  };
  const Step steps[] = {
      {"unassigned value set to its default: becomes assigned, notifies",
       [&] { s.SetBorderColor(clWindowFrame); }, 1},
      {"assigned value set to the same value: nothing", [&] { s.SetBorderColor(clWindowFrame); },
       0},
      {"assigned value changed", [&] { s.SetBorderColor(clRed); }, 1},
      {"AssignedValues set to the same set: nothing", [&] { s.SetAssignedValues({svBorderColor}); },
       0},
      {"AssignedValues changed: stored and told", [&] { s.SetAssignedValues({}); }, 1},
      {"restore defaults", [&] { s.RestoreDefaults(); }, 1},
  };
  for (const Step& step : steps) {
    int before = editor.restyles;
    step.act();
    EXPECT_EQ(editor.restyles - before, step.restyles) << step.what;
  }
  EXPECT_EQ(s.BorderColor(), clWindowFrame) << "the stored red is forgotten once unassigned";
}

TEST(EditStyle, AssignCopiesEffectiveValuesAndAssignsAll) {
  FakeEditor source, target;
  source.style->SetShadow(true);
  target.style->Assign(*source.style);
  EXPECT_EQ(target.style->AssignedValues().bits(), 0x7Fu) << "all seven bits, 1 to 64";
  EXPECT_TRUE(target.style->Shadow());
  EXPECT_EQ(target.style->BorderStyle(), xbs3D) << "a default of the source is copied as a value";
}

TEST(EditStyleLook, HotTrackRaisesTheBorderOfASelectedEditor) {
  struct Case {
    TqlEditBorderStyle border;
    bool hotTrack, selected;
    TqlEditBorderStyle lookBorder;
    TqlEditButtonViewStyle lookButton;  // from btsDefault
  };
  const Case cases[] = {
      {xbsNone, true, true, xbsFlat, btsFlat},     // raised to flat, buttons follow it
      {xbsNone, true, false, xbsNone, btsSimple},  // unselected: no border, simple buttons
      {xbsNone, false, true, xbsNone, btsSimple},  // no hot tracking: never raised
      {xbsSingle, true, true, xbsThick, bts3D},
      {xbsSingle, true, false, xbsSingle, btsHotFlat},
      {xbsFlat, true, true, xbs3D, bts3D},
      {xbsThick, true, true, xbsThick, bts3D},  // thick and 3-D stay
      {xbs3D, true, true, xbs3D, bts3D},
  };
  for (const Case& c : cases) {
    FakeEditor editor;
    editor.style->SetBorderStyle(c.border);
    editor.style->SetHotTrack(c.hotTrack);
    TqlEditLook look = ResolveEditLook(*editor.style, c.selected);
    EXPECT_EQ(look.BorderStyle, c.lookBorder)
        << c.border << " hot " << c.hotTrack << " sel " << c.selected;
    EXPECT_EQ(look.ButtonStyle, c.lookButton)
        << c.border << " hot " << c.hotTrack << " sel " << c.selected;
  }
}

TEST(EditStyleLook, ButtonTransparenceAndExplicitButtonStyle) {
  struct Case {
    TqlEditButtonTransparence transparence;
    bool selected, transparent;
  };
  const Case cases[] = {{ebtNone, false, false},
                        {ebtAlways, true, true},
                        {ebtInactive, false, true},
                        {ebtInactive, true, false},
                        {ebtHideInactive, false, false}};
  for (const Case& c : cases) {
    FakeEditor editor;
    editor.style->SetButtonTransparence(c.transparence);
    EXPECT_EQ(ResolveEditLook(*editor.style, c.selected).TransparentButtons, c.transparent)
        << c.transparence << " selected " << c.selected;
  }
  FakeEditor editor;
  editor.style->SetButtonStyle(btsSimple);
  editor.style->SetBorderStyle(xbs3D);
  EXPECT_EQ(ResolveEditLook(*editor.style, true).ButtonStyle, btsSimple)
      << "only btsDefault follows the border";
}

TEST(EditStyleController, BracketAndLoadingNotifyOnce) {
  TqlEditStyleController controller(nullptr);
  FakeEditor editor;
  editor.SetStyleController(&controller);
  std::vector<TqlStyledEditor*> links;
  controller.OnStyleChanged = [&](TObject* sender, TqlStyledEditor* link) {
    EXPECT_EQ(sender, &controller);
    links.push_back(link);
  };
  struct Step {
    const char* what;
    std::function<void()> act;
    int restyles;
  };
  const Step steps[] = {
      {"same value: nothing", [&] { controller.SetBorderStyle(xbs3D); }, 0},
      {"a change", [&] { controller.SetBorderStyle(xbsFlat); }, 1},
      {"three changes in a bracket",
       [&] {
         controller.BeginUpdate();
         controller.SetShadow(true);
         controller.SetHotTrack(true);
         controller.SetEdges({edgTop});
         controller.EndUpdate();
       },
       1},
      {"restore defaults", [&] { controller.RestoreDefaults(); }, 1},
      {"restore defaults again: nothing differs", [&] { controller.RestoreDefaults(); }, 0},
      {"assign from another controller",
       [&] {
         TqlEditStyleController other(nullptr);
         other.SetShadow(true);
         other.SetEdges({edgLeft});
         controller.Assign(other);
       },
       1},
      {"loading: changes wait for the end",
       [&] {
         controller.BeginLoading();
         controller.SetBorderColor(clRed);
         controller.SetShadow(true);
         controller.EndLoading();
       },
       1},
      {"unpaired EndUpdate: nothing", [&] { controller.EndUpdate(); }, 0},
  };
  for (const Step& step : steps) {
    int before = editor.restyles;
    size_t linksBefore = links.size();
    step.act();
    EXPECT_EQ(editor.restyles - before, step.restyles) << step.what;
    EXPECT_EQ(links.size() - linksBefore, size_t(step.restyles)) << step.what << ": OnStyleChanged";
  }
  for (TqlStyledEditor* link : links) EXPECT_EQ(link, &editor);
}

TEST(EditStyleController, DefaultControllerRestylesOnlyEditorsWithoutOwnController) {
  DefaultControllerRestorer restore;
  auto own = std::make_unique<TqlEditStyleController>(nullptr);
  FakeEditor follower, owned;
  owned.SetStyleController(own.get());
  int followerBefore = follower.restyles, ownedBefore = owned.restyles;
  DefaultEditStyleController().SetShadow(true);
  EXPECT_EQ(follower.restyles - followerBefore, 1);
  EXPECT_EQ(owned.restyles - ownedBefore, 0) << "its own controller decides its look";
  EXPECT_FALSE(owned.style->Shadow());

  // Removing the own controller: the editor drops it and follows the default one.
  own.reset();
  EXPECT_EQ(owned.StyleController(), nullptr);
  EXPECT_EQ(owned.restyles - ownedBefore, 1);
  EXPECT_TRUE(owned.style->Shadow());
}

TEST(EditStyleController, EditorLeavingDuringNotificationIsSkipped) {
  TqlEditStyleController controller(nullptr);
  auto second = std::make_unique<FakeEditor>();
  struct Killer : FakeEditor {
    std::unique_ptr<FakeEditor>* victim = nullptr;
    void StyleChanged() override {
      if (victim) victim->reset();
    }
  } first;
  first.SetStyleController(&controller);
  second->SetStyleController(&controller);
  first.victim = &second;
  controller.SetShadow(true);  // must not reach the destroyed second editor
  EXPECT_EQ(controller.LinkedEditors().size(), 1u);
}

TEST(EditStyle, DestroyingTheStyleUnlinksTheEditorFromTheDefaultController) {
  const auto& links = DefaultEditStyleController().LinkedEditors();
  size_t before = links.size();
  {
    FakeEditor editor;
    EXPECT_EQ(links.size(), before + 1);
  }
  EXPECT_EQ(links.size(), before);
}

TEST(CheckEditStyleController, DefaultsAreNoBorderAnd3DButtonsAndRestoreGivesThemBack) {
  struct Case {
    const char* name;
    TqlEditStyleController* controller;
    TqlEditBorderStyle border;
    TqlEditButtonViewStyle button;
  };
  TqlCheckEditStyleController own(nullptr);
  TqlEditStyleController plain(nullptr);
  const Case cases[] = {
      {"a new check controller", &own, xbsNone, bts3D},
      {"the shared check controller", &DefaultCheckEditStyleController(), xbsNone, bts3D},
      {"a plain controller keeps its own defaults", &plain, xbs3D, btsDefault},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TqlEditStyleController& controller = *c.controller;
    EXPECT_EQ(controller.BorderStyle(), c.border);
    EXPECT_EQ(controller.ButtonStyle(), c.button);
    EXPECT_EQ(controller.BorderColor(), clWindowFrame) << "the other values as any controller";
    EXPECT_EQ(controller.Edges(), kAllEditEdges);

    FakeEditor editor;
    editor.SetStyleController(&controller);
    controller.SetBorderStyle(xbsThick);
    controller.SetButtonStyle(btsHotFlat);
    controller.SetShadow(true);
    int before = editor.restyles;
    controller.RestoreDefaults();
    EXPECT_EQ(editor.restyles - before, 1) << "restored in one bracket: one notification";
    EXPECT_EQ(controller.BorderStyle(), c.border);
    EXPECT_EQ(controller.ButtonStyle(), c.button);
    EXPECT_FALSE(controller.Shadow());
    EXPECT_EQ(editor.style->BorderStyle(), c.border) << "the linked editor reads them";
  }
}

}  // namespace
