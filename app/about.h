#pragma once
// TfrmAbout (unit About): the fixed About dialog. It has no code of its own; the search
// window creates it, shows it modally and frees it (fbtnAboutClick).
#include "platform/ui/form.h"

class TPanel;
class TImage;
class TBevel;
class TLabel;
class TBitBtn;

class TfrmAbout : public TForm {
 public:
  explicit TfrmAbout(TComponent* AOwner);

  TPanel* Panel1 = nullptr;
  TImage* Image1 = nullptr;
  TPanel* Panel2 = nullptr;
  TBevel* Bevel1 = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* Label2 = nullptr;  // the rights notice
  TLabel* Label4 = nullptr;
  TPanel* Panel3 = nullptr;
  TBitBtn* bbtnClose = nullptr;
};

extern TfrmAbout* frmAbout;
