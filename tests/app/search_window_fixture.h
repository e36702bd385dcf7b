#pragma once
// The search window as the program shows it, on a copy of the sample database in a temporary
// working directory: the data module and the window are made afresh for each test.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/dm.h"
#include "app/search_form2.h"
#include "app_test_support.h"
#include "flat/flat_edit.h"
#include "platform/ui/application.h"
#include "platform/ui/messages.h"
#include "platform/ui/toolkit.h"

class SearchWindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    EnsureTestApplication();
    DataModule1 = new TDataModule1(Application);
    frmMain = new TfrmMain(Application);
    w = frmMain;
    w->Show();
  }
  void TearDown() override {
    delete frmMain;
    frmMain = nullptr;
    delete DataModule1;
    DataModule1 = nullptr;
  }

  // Types into an edit (which takes the focus first, as a click on it gives it) and presses
  // Enter there.
  void typeAndEnter(TFlatEdit* edit, const std::string& text) {
    edit->SetFocus();
    edit->SetText(text);
    w->HandleKeyDown(VK_RETURN, {});
  }

  TempWorkingDir dir{/*withDatabase=*/true};
  TfrmMain* w = nullptr;
};
