// The whole program, headless, against the sample database: the start-up order, the splash
// window, searches in the main window, the help panel, the About box twice and the exit, all
// through synthetic input while the program's own message loops run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/about.h"
#include "app/dm.h"
#include "app/quillon_program.h"
#include "app/search_form2.h"
#include "dbgrid/db_grid.h"
#include "app/splash_form.h"
#include "app_test_support.h"
#include "flat/flat_button.h"
#include "flat/flat_edit.h"
#include "flat/flat_panel.h"
#include "flat/flat_radio_button.h"
#include "platform/ui/application.h"
#include "platform/ui/label.h"

namespace {

using Strings = std::vector<std::string>;

bool shown(TCustomForm* form) { return form && form->IsShown(); }

// Types text into a search edit and presses Enter in it. The edit takes the focus first, as a
// click on its text area gives it.
void typeAndEnter(TFlatEdit* edit, const std::string& text) {
  edit->SetFocus();
  edit->SetText(text);
  edit->GetParentForm()->HandleKeyDown(VK_RETURN, {});
}

TEST(QuillonProgramTest, StartsThroughTheSplashSearchesShowsAboutTwiceAndExits) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  TempWorkingDir dir(/*withDatabase=*/true);
  MessageBoxRecorder boxes([] {
    return frmMain ? frmMain->Label2->Caption() + "|" + frmMain->qlGridBLFY->Parent()->Name() : "";
  });
  ScriptDriver script;
  std::vector<TfrmAbout*> aboutWindows;
  int aboutsFreed = 0;

  script.Add("splash is up alone", [] { return shown(frmSplash); }, [] {
    EXPECT_EQ(frmMain, nullptr) << "the search window does not exist yet";
    ASSERT_NE(DataModule1, nullptr);
    EXPECT_TRUE(DataModule1->adoqryBLFY->Active());
    EXPECT_EQ(DataModule1->adoqryBLFY->RecordCount(), 0) << "the stored filter matches nothing";
    EXPECT_EQ(Application->MainForm(), nullptr) << "neither module nor splash is the main form";
    EXPECT_EQ(frmSplash->Label1->Caption().substr(0, 4), "    ");
    ClickControl(frmSplash->fbtnEnter);
  });

  script.Add("search window is up", [] { return shown(frmMain); }, [] {
    EXPECT_EQ(frmSplash, nullptr) << "the splash is freed once the search window exists";
    EXPECT_EQ(Application->MainForm(), frmMain);
    EXPECT_EQ(frmMain->WindowState(), wsMaximized);
    EXPECT_EQ(frmMain->ActiveControl(), frmMain->frbPY);
    EXPECT_EQ(frmMain->Label2->Caption(), "不良反应列表") << "stored caption, no leading space";
    // Pinyin search: the term and, below it, its organ systems.
    typeAndEnter(frmMain->fedPY, "FBZD");
    EXPECT_EQ(ColumnValues(DataModule1->adoqryBLFY, "TID"), Strings{"0711"});
    EXPECT_EQ(ColumnValues(DataModule1->adoqryLJQG, "SID"), (Strings{"0600", "1810"}));
    EXPECT_EQ(frmMain->Label2->Caption(), " 不良反应列表");
    EXPECT_EQ(frmMain->qlGridBLFY->Cursor(), crHandPoint);
  });

  script.Add("help, then About while it shows", nullptr, [] {
    ClickControl(frmMain->fbtnHelp);
    EXPECT_TRUE(frmMain->fpnlText->Visible());
    ClickControl(frmMain->fbtnAbout);  // blocks until the About window closes
  });

  script.Add("first About window", [] { return shown(frmAbout); }, [&] {
    aboutWindows.push_back(frmAbout);
    frmAbout->OnDestroy = [&](TObject*) { ++aboutsFreed; };
    EXPECT_FALSE(frmMain->Enabled()) << "the modal loop disables the search window";
    EXPECT_EQ(frmAbout->Caption(), "关于");
    // By name: this file sees the flat controls, whose header declares the glyph layout too.
    ClickControl(dynamic_cast<TControl*>(frmAbout->FindComponent("bbtnClose")));
  });

  script.Add("About closed and freed", [] { return frmAbout == nullptr; }, [&] {
    EXPECT_EQ(aboutsFreed, 1);
    EXPECT_TRUE(frmMain->Enabled());
    EXPECT_TRUE(frmMain->fpnlText->Visible()) << "the About box does not hide the help";
    for (TCustomForm* form : Application->Forms())
      EXPECT_EQ(dynamic_cast<TfrmAbout*>(form), nullptr) << "no About window between showings";
    ClickControl(frmMain->fbtnAbout);
  });

  script.Add("second About window", [] { return shown(frmAbout); }, [&] {
    aboutWindows.push_back(frmAbout);
    frmAbout->OnDestroy = [&](TObject*) { ++aboutsFreed; };
    frmAbout->Close();  // the close box
  });

  script.Add("English search with an apostrophe", [] { return frmAbout == nullptr; }, [&] {
    EXPECT_EQ(aboutsFreed, 2) << "two windows created and freed";
    typeAndEnter(frmMain->fedEnglish, "CROHN'S");
    EXPECT_FALSE(frmMain->fpnlText->Visible()) << "a search hides the help";
    EXPECT_EQ(ColumnValues(DataModule1->adoqryBLFY, "ENAME"), Strings{"CROHN'S DISEASE"});
    EXPECT_TRUE(boxes.Boxes.empty());
    ClickControl(frmMain->fbtnExit);
  });

  int exitCode = RunProgram(0, nullptr, [&] {
    script.Start();
    QuillonProgram();
  });
  // The program leaves its form variables pointing at freed windows, as the original does.
  frmMain = nullptr;
  DataModule1 = nullptr;
  EXPECT_EQ(exitCode, 0);
  EXPECT_TRUE(script.Finished()) << "stopped before: " << script.Pending();
  EXPECT_EQ(aboutWindows.size(), 2u);
  EXPECT_TRUE(boxes.Boxes.empty());
  EXPECT_EQ(Application, nullptr) << "the application object and its forms are gone";
}

}  // namespace
