#include "app/splash_form.h"

#include "app/app_resources.h"
#include "app/app_texts.h"
#include "flat/flat_button.h"
#include "platform/ui/image.h"
#include "platform/ui/label.h"

TfrmSplash* frmSplash = nullptr;

TfrmSplash::TfrmSplash(TComponent* AOwner) : TForm(AOwner) {
  BeginLoading();
  SetName("frmSplash");
  SetBorderStyle(bsNone);
  SetBorderIcons({});
  SetCaption("frmSplash");
  SetClientWidth(792);
  SetClientHeight(573);
  SetColor(clBtnFace);
  SetPosition(poDefault);
  OnCreate = [this](TObject* Sender) { FormCreate(Sender); };

  Image1 = new TImage(this);
  Image1->SetName("Image1");
  Image1->SetParent(this);
  Image1->SetAlign(alClient);
  TResourceBytes jpeg = SplashJpeg();
  Image1->Picture().LoadJpegBytes(jpeg.Data, jpeg.Size);
  Image1->SetStretch(true);

  Label1 = new TLabel(this);
  Label1->SetName("Label1");
  Label1->SetParent(this);
  Label1->SetLeft(56);
  Label1->SetTop(56);
  Label1->SetTransparent(true);
  TFont font;
  font.SetName("楷体_GB2312");
  font.SetCharset(GB2312_CHARSET);
  font.SetHeight(-21);
  font.SetColor(clWindowText);
  Label1->SetFont(font);

  fbtnEnter = new TFlatButton(this);
  fbtnEnter->SetName("fbtnEnter");
  fbtnEnter->SetParent(this);
  fbtnEnter->SetBounds(360, 504, 89, 25);
  fbtnEnter->SetCaption("进入");
  fbtnEnter->SetTransparentMode(tmAlways);
  fbtnEnter->SetColor(clBtnFace);
  fbtnEnter->SetColorFocused(0x6A6A6A);
  fbtnEnter->SetColorDown(clSilver);
  fbtnEnter->SetColorBorder(0x969696);
  font.SetColor(clWhite);
  fbtnEnter->SetFont(font);
  fbtnEnter->SetParentFont(false);
  fbtnEnter->SetParentColor(false);
  fbtnEnter->SetTabOrder(0);
  fbtnEnter->OnClick = [this](TObject* Sender) { fbtnEnterClick(Sender); };

  EndLoading();
  DoCreate();
}

void TfrmSplash::FormCreate(TObject*) { Label1->SetCaption(PrefaceText()); }

void TfrmSplash::fbtnEnterClick(TObject*) { Close(); }
