#pragma once
// The search window over a small terminology made for the result grids' menu and export: its
// texts hold double quotes, commas, line breaks and Chinese, and one organ system has no
// terms. Searching the pinyin "Q" finds the three terms in record order; the organ-system
// code "0" finds the three organ systems.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/dm.h"
#include "app/search_form2.h"
#include "app_test_support.h"
#include "dbgrid/db_grid.h"
#include "flat/flat_edit.h"
#include "platform/ui/application.h"
#include "platform/ui/messages.h"
#include "platform/ui/services.h"
#include "platform/ui/toolkit.h"
#include "tools/mdb_writer.h"
#include "tools/terminology_schema.h"

// The terms (PY, NAME, ENAME, TID, SID1, SID2, SID3) and organ systems (SID, NAME, ENAME).
inline std::vector<TMdbRow> ResultTerms() {
  return {{"QA", "引号\"测试\"", "SAY \"HELLO\", WORLD", "0001", "0100", std::nullopt, std::nullopt},
          {"QB", "多行\r\n文本", "LINE ONE\nLINE TWO", "0002", "0100", "0200", std::nullopt},
          {"QC", "头痛", "HEADACHE", "0003", "0200", std::nullopt, std::nullopt}};
}
inline std::vector<TMdbRow> ResultOrganSystems() {
  return {{"0100", "皮肤及其附件损害", "SKIN AND APPENDAGES DISORDERS"},
          {"0200", "神经系统,\"中枢\"", "CENTRAL, \"NERVOUS\""},
          {"0300", "无术语系统", "NO TERMS"}};
}

class ResultsFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    EnsureTestApplication();
    WriteMdbFile(dir.Path() / "ADR.mdb", {{kWhoartTableName, WhoartColumns(), ResultTerms(), {}},
                                          {kLjxtTableName, LjxtColumns(), ResultOrganSystems(), {}}});
    OpenWindow();
  }
  void TearDown() override {
    SetPopupMenuHookForTest(nullptr);
    SetSaveFileDialogHookForTest(nullptr);
    CloseWindow();
  }

  void OpenWindow() {
    DataModule1 = new TDataModule1(Application);
    frmMain = new TfrmMain(Application);
    w = frmMain;
    w->Show();
  }
  void CloseWindow() {
    delete frmMain;
    frmMain = w = nullptr;
    delete DataModule1;
    DataModule1 = nullptr;
  }

  void search(TFlatEdit* edit, const std::string& text) {
    edit->SetFocus();
    edit->SetText(text);
    w->HandleKeyDown(VK_RETURN, {});
  }
  void searchTerms() { search(w->fedPY, "Q"); }
  void searchOrganSystems() { search(w->fedljqgCode, "0"); }

  // A right click on a cell (row index among the shown rows, absolute column) through the
  // window's mouse input. The column is scrolled into view first (the term grid is wider
  // than its holder), keeping the focused row.
  void rightClick(TqlDBGrid* grid, int rowIndex, int column) {
    grid->SetFocusedNodeAndColumn(grid->FocusedNode(), grid->AbsoluteToFocusIndex(column), true);
    TRect cell = grid->CellRect(grid->NodeAtRowIndex(rowIndex), column);
    cell = {std::max(cell.Left, 0), cell.Top, std::min(cell.Right, grid->ClientWidth()), cell.Bottom};
    ASSERT_FALSE(cell.IsEmpty());
    const TPoint at = grid->ClientToForm({(cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2});
    w->HandleMouse(mmMove, mbRight, at, {});
    w->HandleMouse(mmDown, mbRight, at, {ssRight});
    w->HandleMouse(mmUp, mbRight, at, {});
  }

  // Every menu shown: its items; answered with `choose` (-1: dismissed).
  void answerMenusWith(int choose) {
    SetPopupMenuHookForTest([this, choose](const std::vector<TPopupMenuItem>& items, TPoint at) {
      menus.push_back(items);
      menuPoints.push_back(at);
      return choose;
    });
  }
  // The save dialog: answered with a path and a file type (0 XLSX, 1 CSV), or cancelled.
  void answerSaveDialogWith(std::optional<TSaveFileAnswer> answer) {
    SetSaveFileDialogHookForTest([this, answer](const TSaveFileRequest& request) {
      saveRequests.push_back(request);
      return answer;
    });
  }

  TempWorkingDir dir{/*withDatabase=*/false};
  TfrmMain* w = nullptr;
  MessageBoxRecorder boxes;
  std::vector<std::vector<TPopupMenuItem>> menus;
  std::vector<TPoint> menuPoints;
  std::vector<TSaveFileRequest> saveRequests;
};
