#pragma once
// TfrmSplash (unit SplashForm): the borderless start-up window with the photograph, the
// preface text and the "进入" button. The main program shows it modally before the search
// window exists and frees it right after creating the search window.
#include "platform/ui/form.h"

class TImage;
class TLabel;
class TFlatButton;

class TfrmSplash : public TForm {
 public:
  explicit TfrmSplash(TComponent* AOwner);

  TImage* Image1 = nullptr;
  TLabel* Label1 = nullptr;
  TFlatButton* fbtnEnter = nullptr;

  // OnCreate: the label gets the preface text.
  void FormCreate(TObject* Sender);
  // OnClick of fbtnEnter: closing the modal window ends its modal loop.
  void fbtnEnterClick(TObject* Sender);
};

extern TfrmSplash* frmSplash;
