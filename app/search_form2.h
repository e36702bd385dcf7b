#pragma once
// TfrmMain (unit SearchForm2): the main window. Left: three search groups (terms by pinyin
// abbreviation or Chinese name, terms by English name, organ systems by code or Chinese name)
// and the Exit / Help / About buttons. Right: two captioned grid holders and the help panel
// that can cover them.
//
// Road of a search: a search button or Enter in an edit -> the group's handler reads its
// radio states and edit texts -> ApplySearch(master query, field, text): hide the help panel,
// set the master's prefix filter, report an empty result, then arrange the term or the
// organ-system layout (captions, which grid sits in which holder, cursors, data sources).
//
// The two data-aware grids (qlGridBLFY terms, qlGridLJQG organ systems) never change their
// columns: a search moves them between the holders and binds them to the data sources of its
// master-detail pair; moving through the upper grid moves its master, and the lower grid shows
// the detail of the current record.
#include <memory>
#include <string>

#include "platform/ui/form.h"

class TDataSet;
class TFlatPanel;
class TFlatRadioButton;
class TFlatEdit;
class TFlatButton;
class TFlatMemo;
class TqlDBGrid;
class TLabel;
class TBevel;
class TResultGridMenu;

class TfrmMain : public TForm {
 public:
  explicit TfrmMain(TComponent* AOwner);
  ~TfrmMain() override;

  // Left side.
  TFlatPanel* FlatPanel1 = nullptr;
  TFlatPanel* FlatPanel6 = nullptr;
  TFlatRadioButton* frbPY = nullptr;
  TFlatEdit* fedPY = nullptr;
  TFlatRadioButton* frbName = nullptr;
  TFlatEdit* fedName = nullptr;
  TFlatButton* fbtnSearchPY = nullptr;
  TFlatPanel* FlatPanel7 = nullptr;
  TLabel* Label1 = nullptr;
  TFlatEdit* fedEnglish = nullptr;
  TFlatButton* fbtnSearchEnglish = nullptr;
  TFlatPanel* FlatPanel8 = nullptr;
  TFlatRadioButton* frbljqgCode = nullptr;
  TFlatEdit* fedljqgCode = nullptr;
  TFlatRadioButton* frbljqgName = nullptr;
  TFlatEdit* fedljqgName = nullptr;
  TFlatButton* fbtnljqg = nullptr;
  TBevel* Bevel1 = nullptr;
  TFlatButton* fbtnExit = nullptr;
  TFlatButton* fbtnHelp = nullptr;
  TFlatButton* fbtnAbout = nullptr;
  // Right side.
  TFlatPanel* FlatPanel3 = nullptr;
  TLabel* Label2 = nullptr;       // upper caption
  TFlatPanel* FlatPanel4 = nullptr;  // upper grid holder
  TLabel* Label3 = nullptr;       // lower caption
  TFlatPanel* FlatPanel2 = nullptr;  // lower grid holder
  TqlDBGrid* qlGridBLFY = nullptr;  // the term grid
  TqlDBGrid* qlGridLJQG = nullptr;  // the organ-system grid
  TFlatPanel* fpnlText = nullptr;  // help panel
  TFlatMemo* fmeText = nullptr;

  // Event handlers, as wired in the constructor.
  void frbPYClick(TObject* Sender);
  void frbljqgCodeClick(TObject* Sender);
  void fbtnSearchPYClick(TObject* Sender);
  void fbtnSearchEnglishClick(TObject* Sender);
  void fbtnljqgClick(TObject* Sender);
  void fedPYKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
  void fedEnglishKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
  void fedljqgCodeKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
  void fbtnHelpClick(TObject* Sender);
  void fbtnAboutClick(TObject* Sender);
  void fbtnExitClick(TObject* Sender);

 private:
  void SetEditState(bool enable, TFlatEdit* edit);
  void ApplySearch(TDataSet* query, const std::string& fieldName, const std::string& text);

  // Beside the designed window: the result grids' context menu, Ctrl+C and export
  // (result_menu.h).
  std::unique_ptr<TResultGridMenu> resultMenu_;
};

extern TfrmMain* frmMain;

// The filter expression of a prefix search: "<field> LIKE '<text>*'", with every quote of the
// text doubled so that the text stays one literal ("CROHN'S" -> 'CROHN''S*').
std::string PrefixFilter(const std::string& fieldName, const std::string& text);
