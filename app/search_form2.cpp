#include "app/search_form2.h"

#include <algorithm>

#include "app/about.h"
#include "app/app_resources.h"
#include "app/app_texts.h"
#include "app/dm.h"
#include "app/result_menu.h"
#include "dbgrid/db_grid.h"
#include "dbgrid/db_grid_filter.h"
#include "dbgrid/db_grid_column.h"
#include "flat/flat_button.h"
#include "flat/flat_edit.h"
#include "flat/flat_memo.h"
#include "flat/flat_panel.h"
#include "flat/flat_radio_button.h"
#include "platform/core/scope_exit.h"
#include "platform/ui/application.h"
#include "platform/ui/bevel.h"
#include "platform/ui/label.h"
#include "platform/ui/messages.h"

TfrmMain* frmMain = nullptr;

namespace {

constexpr TColor kSideColor = 0xE4A384;   // FlatPanel1, FlatPanel3
constexpr TColor kGroupColor = 0xF7DFD6;  // the three group panels, edits and side buttons

TBitmap glyphFrom(TResourceBytes bytes) {
  TBitmap bmp;
  bmp.LoadFromBmpBytes(bytes.Data, bytes.Size);
  return bmp;
}

template <typename T>
T* place(TfrmMain* form, TWinControl* parent, const char* name, TRect bounds) {
  auto* control = new T(form);
  control->SetName(name);
  control->SetParent(parent);
  control->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
  return control;
}

// A group panel of the left side: the lighter colour, frame lines in the desktop colour.
TFlatPanel* groupPanel(TfrmMain* form, TWinControl* parent, const char* name, TRect bounds,
                       int tabOrder) {
  auto* panel = place<TFlatPanel>(form, parent, name, bounds);
  panel->SetColor(kGroupColor);
  panel->SetColorHighLight(clBackground);
  panel->SetColorShadow(clBackground);
  panel->SetTabOrder(tabOrder);
  return panel;
}

TFlatEdit* searchEdit(TfrmMain* form, TWinControl* parent, const char* name, TRect bounds,
                      int tabOrder) {
  auto* edit = place<TFlatEdit>(form, parent, name, bounds);
  edit->SetColorFlat(kGroupColor);
  edit->SetColorBorder(clBackground);
  edit->SetParentColor(true);
  edit->SetTabOrder(tabOrder);
  return edit;
}

TFlatRadioButton* radio(TfrmMain* form, TWinControl* parent, const char* name, TRect bounds,
                        const char* caption, bool checked, int tabOrder) {
  auto* button = place<TFlatRadioButton>(form, parent, name, bounds);
  button->SetCaption(caption);
  if (checked) {
    button->SetChecked(true);
    button->SetTabStop(true);
  }
  button->SetTabOrder(tabOrder);
  return button;
}

TFlatButton* searchButton(TfrmMain* form, TWinControl* parent, const char* name, TRect bounds,
                          int tabOrder) {
  auto* button = place<TFlatButton>(form, parent, name, bounds);
  button->SetCaption("查询");
  button->SetColorBorder(clBackground);
  button->SetTabOrder(tabOrder);
  return button;
}

TFlatButton* sideButton(TfrmMain* form, TWinControl* parent, const char* name, TRect bounds,
                        const char* caption, TResourceBytes glyph, int tabOrder) {
  auto* button = place<TFlatButton>(form, parent, name, bounds);
  button->SetCaption(caption);
  button->SetGlyph(glyphFrom(glyph));
  button->SetNumGlyphs(2);
  button->SetLayout(blGlyphLeft);
  button->SetColor(kGroupColor);
  button->SetColorBorder(clBackground);
  button->SetParentColor(false);
  button->SetTabOrder(tabOrder);
  return button;
}

// One result grid: the settings both grids share, then its columns (caption, field, width;
// width 0 keeps the width the field gives).
struct GridColumn {
  const char* Caption;
  const char* FieldName;
  int Width;
};
TqlDBGrid* resultGrid(TfrmMain* form, TWinControl* holder, const char* name, const char* keyField,
                      TqlDBGridOptionsDB optionsDB, std::initializer_list<GridColumn> columns) {
  auto* grid = new TqlDBGrid(form);
  grid->SetName(name);
  grid->SetParent(holder);
  grid->SetAlign(alClient);
  grid->SetKeyField(keyField);
  grid->SetDefaultLayout(true);
  grid->SetHeaderPanelRowCount(1);
  grid->SetSummarySeparator(", ");
  grid->SetFont(MakeFont("宋体", -13, GB2312_CHARSET));
  grid->HeaderFont() = MakeFont("宋体", -13, GB2312_CHARSET);
  grid->BandFont() = MakeFont("MS Sans Serif", -11, DEFAULT_CHARSET);
  grid->PreviewFont() = MakeFont("MS Sans Serif", -11, DEFAULT_CHARSET);
  grid->PreviewFont().SetColor(clBlue);
  grid->SetHeaderColor(0xE0E9EF);
  grid->SetLookAndFeel(lfUltraFlat);
  grid->SetOptionsBehavior({edgoAutoSort, edgoDragScroll, edgoEnterShowEditor, edgoImmediateEditor,
                            edgoTabThrough, edgoVertThrough});
  grid->SetOptionsDB(optionsDB);
  for (const GridColumn& c : columns) {
    auto* column = grid->CreateColumn<TqlDBGridColumn>();
    column->SetCaption(c.Caption);
    column->SetFieldName(c.FieldName);
    if (c.Width > 0) column->SetWidth(c.Width);
  }
  return grid;
}

TLabel* listCaption(TfrmMain* form, TWinControl* parent, const char* name, TPoint at,
                    const char* caption) {
  auto* label = new TLabel(form);
  label->SetName(name);
  label->SetParent(parent);
  label->SetLeft(at.X);
  label->SetTop(at.Y);
  label->SetCaption(caption);
  label->SetFont(MakeFont("宋体", -13, ANSI_CHARSET));
  label->SetTransparent(true);
  return label;
}

}  // namespace

std::string PrefixFilter(const std::string& fieldName, const std::string& text) {
  std::string literal;
  for (char c : text) {
    literal += c;
    if (c == '\'') literal += '\'';
  }
  return fieldName + " LIKE '" + literal + "*'";
}

TfrmMain::TfrmMain(TComponent* AOwner) : TForm(AOwner) {
  BeginLoading();
  SetName("frmMain");
  SetCaption("Quillon");
  SetBounds(Left(), Top(), 808, 580);
  SetPosition(poDefault);
  SetWindowState(wsMaximized);
  SetColor(clBtnFace);
  SetFont(MakeFont("MS Sans Serif", -11, DEFAULT_CHARSET));

  // --- left side: the search groups and the buttons ---
  FlatPanel1 = place<TFlatPanel>(this, this, "FlatPanel1", Bounds(0, 0, 281, 553));
  FlatPanel1->SetAlign(alLeft);
  FlatPanel1->SetColor(kSideColor);
  FlatPanel1->SetFont(MakeFont("宋体", -12, GB2312_CHARSET));
  FlatPanel1->SetTabOrder(0);

  FlatPanel6 = groupPanel(this, FlatPanel1, "FlatPanel6", Bounds(8, 8, 265, 113), 0);
  frbPY = radio(this, FlatPanel6, "frbPY", Bounds(12, 16, 89, 17), "不良反应拼音", true, 1);
  fedPY = searchEdit(this, FlatPanel6, "fedPY", Bounds(112, 16, 145, 18), 0);
  frbName = radio(this, FlatPanel6, "frbName", Bounds(11, 48, 97, 17), "不良反应名称", false, 2);
  fedName = searchEdit(this, FlatPanel6, "fedName", Bounds(112, 48, 145, 18), 3);
  fedName->SetEnabled(false);
  fbtnSearchPY = searchButton(this, FlatPanel6, "fbtnSearchPY", Bounds(190, 72, 65, 25), 4);

  FlatPanel7 = groupPanel(this, FlatPanel1, "FlatPanel7", Bounds(8, 141, 265, 89), 2);
  Label1 = place<TLabel>(this, FlatPanel7, "Label1", Bounds(24, 20, 72, 12));
  Label1->SetCaption("不良反应英文");
  fedEnglish = searchEdit(this, FlatPanel7, "fedEnglish", Bounds(112, 18, 145, 18), 0);
  fbtnSearchEnglish = searchButton(this, FlatPanel7, "fbtnSearchEnglish", Bounds(191, 48, 65, 25), 1);

  FlatPanel8 = groupPanel(this, FlatPanel1, "FlatPanel8", Bounds(8, 248, 265, 113), 3);
  frbljqgCode = radio(this, FlatPanel8, "frbljqgCode", Bounds(16, 16, 89, 17), "累及器官代码", true, 0);
  fedljqgCode = searchEdit(this, FlatPanel8, "fedljqgCode", Bounds(112, 16, 145, 18), 1);
  frbljqgName = radio(this, FlatPanel8, "frbljqgName", Bounds(16, 48, 89, 17), "累及器官名称", false, 2);
  fedljqgName = searchEdit(this, FlatPanel8, "fedljqgName", Bounds(112, 48, 145, 18), 3);
  fedljqgName->SetEnabled(false);
  fbtnljqg = searchButton(this, FlatPanel8, "fbtnljqg", Bounds(190, 72, 65, 25), 4);

  Bevel1 = place<TBevel>(this, FlatPanel1, "Bevel1", Bounds(0, 384, 281, 2));
  Bevel1->SetShape(bsTopLine);

  fbtnExit = sideButton(this, FlatPanel1, "fbtnExit", Bounds(8, 464, 81, 25), "退出", ExitGlyphBitmap(), 4);
  fbtnHelp = sideButton(this, FlatPanel1, "fbtnHelp", Bounds(100, 464, 81, 25), "帮助", HelpGlyphBitmap(), 1);
  fbtnAbout = sideButton(this, FlatPanel1, "fbtnAbout", Bounds(192, 464, 81, 25), "关于", AboutGlyphBitmap(), 5);

  // --- right side: the two captioned grid holders ---
  FlatPanel3 = place<TFlatPanel>(this, this, "FlatPanel3", Bounds(281, 0, 519, 553));
  FlatPanel3->SetAlign(alClient);
  FlatPanel3->SetColor(kSideColor);
  FlatPanel3->SetTabOrder(1);
  Label2 = listCaption(this, FlatPanel3, "Label2", {11, 5}, "不良反应列表");
  FlatPanel4 = place<TFlatPanel>(this, FlatPanel3, "FlatPanel4", Bounds(2, 24, 500, 281));
  FlatPanel4->SetParentColor(true);
  FlatPanel4->SetTabOrder(0);
  Label3 = listCaption(this, FlatPanel3, "Label3", {11, 312}, "累及系统和器官列表");
  FlatPanel2 = place<TFlatPanel>(this, FlatPanel3, "FlatPanel2", Bounds(0, 328, 505, 233));
  FlatPanel2->SetParentColor(true);
  FlatPanel2->SetTabOrder(1);
  // The grids' places: upper holder for the terms, lower for their organ systems.
  const TqlDBGridOptionsDB optionsDB{edgoCancelOnExit, edgoCanNavigation, edgoLoadAllRecords,
                                     edgoUseBookmarks};
  qlGridBLFY = resultGrid(this, FlatPanel4, "qlGridBLFY", "TID", optionsDB,
                          {{"拼音缩写", "PY", 0},
                           {"中文", "NAME", 0},
                           {"英文", "ENAME", 0},
                           {"ADR代码", "TID", 0},
                           {"系统-器官代码", "SID1", 0},
                           {"系统-器官代码", "SID2", 0},
                           {"系统-器官代码", "SID3", 0}});
  qlGridBLFY->Filter().SetFilterStatus(fsNone);  // no filter panel under the terms
  qlGridBLFY->SetDataSource(DataModule1->dsBLFY);
  qlGridLJQG = resultGrid(this, FlatPanel2, "qlGridLJQG", "SID",
                          optionsDB + TqlDBGridOptionsDB{edgoConfirmDelete},
                          {{"系统-器官代码", "SID", 96}, {"中文", "NAME", 113}, {"英文", "ENAME", 124}});
  qlGridLJQG->SetDataSource(DataModule1->dsLJQG);

  // --- help panel over the right side ---
  fpnlText = place<TFlatPanel>(this, this, "fpnlText", Bounds(281, 0, 519, 553));
  fpnlText->SetAlign(alClient);
  fpnlText->SetVisible(false);
  fpnlText->SetTransparent(true);
  fpnlText->SetParentColor(true);
  fpnlText->SetFont(MakeFont("宋体", -13, ANSI_CHARSET));
  fpnlText->SetTabOrder(2);
  fmeText = place<TFlatMemo>(this, fpnlText, "fmeText", Bounds(1, 1, 517, 551));
  fmeText->SetAlign(alClient);
  fmeText->SetColorFlat(clCream);
  fmeText->SetReadOnly(true);
  fmeText->SetScrollBars(ssVertical);
  fmeText->Lines().SetText(UsageNotesText());

  SetActiveControl(frbPY);

  // --- events ---
  frbPY->OnClick = [this](TObject* s) { frbPYClick(s); };
  frbName->OnClick = [this](TObject* s) { frbPYClick(s); };
  frbljqgCode->OnClick = [this](TObject* s) { frbljqgCodeClick(s); };
  frbljqgName->OnClick = [this](TObject* s) { frbljqgCodeClick(s); };
  fedPY->OnKeyDown = [this](TObject* s, uint16_t& k, TShiftState sh) { fedPYKeyDown(s, k, sh); };
  fedName->OnKeyDown = [this](TObject* s, uint16_t& k, TShiftState sh) { fedPYKeyDown(s, k, sh); };
  fedEnglish->OnKeyDown = [this](TObject* s, uint16_t& k, TShiftState sh) { fedEnglishKeyDown(s, k, sh); };
  fedljqgCode->OnKeyDown = [this](TObject* s, uint16_t& k, TShiftState sh) { fedljqgCodeKeyDown(s, k, sh); };
  fedljqgName->OnKeyDown = [this](TObject* s, uint16_t& k, TShiftState sh) { fedljqgCodeKeyDown(s, k, sh); };
  fbtnSearchPY->OnClick = [this](TObject* s) { fbtnSearchPYClick(s); };
  fbtnSearchEnglish->OnClick = [this](TObject* s) { fbtnSearchEnglishClick(s); };
  fbtnljqg->OnClick = [this](TObject* s) { fbtnljqgClick(s); };
  fbtnHelp->OnClick = [this](TObject* s) { fbtnHelpClick(s); };
  fbtnAbout->OnClick = [this](TObject* s) { fbtnAboutClick(s); };
  fbtnExit->OnClick = [this](TObject* s) { fbtnExitClick(s); };

  // --- beside the designed window: the result grids' menu; the upper grid is the one in
  // FlatPanel4, its caption names an exported file ---
  resultMenu_ = std::make_unique<TResultGridMenu>(
      [this] { return qlGridLJQG->Parent() == FlatPanel4 ? qlGridLJQG : qlGridBLFY; },
      [this] {
        const std::string& caption = Label2->Caption();
        return caption.substr(std::min(caption.find_first_not_of(' '), caption.size()));
      });
  resultMenu_->Attach(qlGridBLFY);
  resultMenu_->Attach(qlGridLJQG);

  EndLoading();
  DoCreate();
}

TfrmMain::~TfrmMain() = default;

// --- handlers ---------------------------------------------------------------------------------

void TfrmMain::frbPYClick(TObject*) {
  SetEditState(frbPY->Checked(), fedPY);
  SetEditState(frbName->Checked(), fedName);
}

void TfrmMain::frbljqgCodeClick(TObject*) {
  SetEditState(frbljqgCode->Checked(), fedljqgCode);
  SetEditState(frbljqgName->Checked(), fedljqgName);
}

void TfrmMain::fbtnSearchPYClick(TObject*) {
  if (frbPY->Checked()) ApplySearch(DataModule1->adoqryBLFY, "PY", fedPY->Text());
  if (frbName->Checked()) ApplySearch(DataModule1->adoqryBLFY, "Name", fedName->Text());
}

void TfrmMain::fbtnSearchEnglishClick(TObject*) {
  ApplySearch(DataModule1->adoqryBLFY, "EName", fedEnglish->Text());
}

void TfrmMain::fbtnljqgClick(TObject*) {
  if (frbljqgCode->Checked()) ApplySearch(DataModule1->adoqryLJQG2, "SID", fedljqgCode->Text());
  if (frbljqgName->Checked()) ApplySearch(DataModule1->adoqryLJQG2, "Name", fedljqgName->Text());
}

// The key handlers look at the key code only and leave the key to the edit.
void TfrmMain::fedPYKeyDown(TObject* Sender, uint16_t& Key, TShiftState) {
  if (Key == VK_RETURN) fbtnSearchPYClick(Sender);
}

void TfrmMain::fedEnglishKeyDown(TObject* Sender, uint16_t& Key, TShiftState) {
  if (Key == VK_RETURN) fbtnSearchEnglishClick(Sender);
}

void TfrmMain::fedljqgCodeKeyDown(TObject* Sender, uint16_t& Key, TShiftState) {
  if (Key == VK_RETURN) fbtnljqgClick(Sender);
}

void TfrmMain::fbtnHelpClick(TObject*) { fpnlText->SetVisible(true); }

void TfrmMain::fbtnAboutClick(TObject*) {
  frmAbout = new TfrmAbout(Application);
  // Freed when the modal showing ends, also when it ends with an error.
  ScopeExit freeAbout([] {
    delete frmAbout;
    frmAbout = nullptr;
  });
  frmAbout->ShowModal();
}

void TfrmMain::fbtnExitClick(TObject*) { Close(); }

// --- the search routine -------------------------------------------------------------------------

void TfrmMain::SetEditState(bool enable, TFlatEdit* edit) {
  edit->SetEnabled(enable);
  if (enable)
    edit->SetFocus();
  else
    edit->SetText("");
}

void TfrmMain::ApplySearch(TDataSet* query, const std::string& fieldName, const std::string& text) {
  fpnlText->SetVisible(false);
  if (!text.empty()) {
    query->SetFilter(PrefixFilter(fieldName, text));
    query->SetFiltered(true);
    if (query->RecordCount() == 0)
      Application->MessageBox("没有匹配的记录", "提示", MB_OK | MB_ICONINFORMATION);
  }
  const bool found = query->RecordCount() > 0;
  if (query == DataModule1->adoqryBLFY) {
    Label2->SetCaption(" 不良反应列表");
    Label3->SetCaption(" 累及系统和器官列表");
    qlGridBLFY->SetParent(FlatPanel4);
    qlGridLJQG->SetParent(FlatPanel2);
    qlGridBLFY->SetCursor(found ? crHandPoint : crDefault);
    qlGridLJQG->SetCursor(crDefault);
    qlGridBLFY->SetDataSource(DataModule1->dsBLFY);
    qlGridLJQG->SetDataSource(DataModule1->dsLJQG);
  }
  if (query == DataModule1->adoqryLJQG2) {
    Label2->SetCaption(" 累及系统和器官列表");
    Label3->SetCaption(" 不良反应列表");
    qlGridBLFY->SetParent(FlatPanel2);
    qlGridLJQG->SetParent(FlatPanel4);
    qlGridBLFY->SetCursor(crDefault);
    qlGridLJQG->SetCursor(found ? crHandPoint : crDefault);
    qlGridBLFY->SetDataSource(DataModule1->dsBLFY2);
    qlGridLJQG->SetDataSource(DataModule1->dsLJQG2);
  }
}
