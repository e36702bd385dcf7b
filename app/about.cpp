#include "app/about.h"

#include "app/app_resources.h"
#include "app/app_texts.h"
#include "platform/ui/bevel.h"
#include "platform/ui/bit_btn.h"
#include "platform/ui/image.h"
#include "platform/ui/label.h"
#include "platform/ui/panel.h"

TfrmAbout* frmAbout = nullptr;

namespace {

TFont songFont(TFontCharset charset, int height, TColor color, TFontStyles style = {}) {
  TFont font;
  font.SetName("宋体");
  font.SetCharset(charset);
  font.SetHeight(height);
  font.SetColor(color);
  font.SetStyle(style);
  return font;
}

TPanel* makePanel(TfrmAbout* form, const char* name, TAlign align, TRect bounds, int tabOrder) {
  auto* panel = new TPanel(form);
  panel->SetName(name);
  panel->SetParent(form);
  panel->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
  panel->SetAlign(align);
  panel->SetBevelOuter(bvNone);
  panel->SetTabOrder(tabOrder);
  return panel;
}

TLabel* makeLabel(TfrmAbout* form, TWinControl* parent, const char* name, TRect bounds,
                  const std::string& caption) {
  auto* label = new TLabel(form);
  label->SetName(name);
  label->SetParent(parent);
  label->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
  label->SetCaption(caption);
  return label;
}

}  // namespace

TfrmAbout::TfrmAbout(TComponent* AOwner) : TForm(AOwner) {
  BeginLoading();
  SetName("frmAbout");
  SetBorderStyle(bsDialog);
  SetCaption("关于");
  SetBounds(249, 130, Width(), Height());
  SetClientWidth(405);
  SetClientHeight(226);
  SetPosition(poDesigned);
  SetColor(clBtnFace);
  SetFont(songFont(ANSI_CHARSET, -13, clWindowText));

  Panel1 = makePanel(this, "Panel1", alLeft, Bounds(0, 0, 121, 180), 0);
  Image1 = new TImage(this);
  Image1->SetName("Image1");
  Image1->SetParent(Panel1);
  Image1->SetBounds(0, 0, 121, 180);
  Image1->SetAlign(alClient);
  TResourceBytes bmp = AboutBitmap();
  TBitmap picture;
  picture.LoadFromBmpBytes(bmp.Data, bmp.Size);
  Image1->Picture().Assign(picture);
  Image1->SetStretch(true);

  Panel2 = makePanel(this, "Panel2", alClient, Bounds(121, 0, 284, 180), 1);
  Bevel1 = new TBevel(this);
  Bevel1->SetName("Bevel1");
  Bevel1->SetParent(Panel2);
  Bevel1->SetBounds(2, 3, 282, 70);
  Bevel1->SetStyle(bsRaised);

  Label1 = makeLabel(this, Panel2, "Label1", Bounds(23, 26, 234, 21), "Quillon");
  Label1->SetFont(songFont(ANSI_CHARSET, -21, clBlack, {fsBold}));
  Label3 = makeLabel(this, Panel2, "Label3", Bounds(7, 106, 272, 15), "Velmara");
  Label3->SetFont(songFont(ANSI_CHARSET, -15, clWindowText, {fsBold}));
  Label2 = makeLabel(this, Panel2, "Label2", Bounds(7, 133, 167, 18), RightsNoticeText());
  Label2->SetAutoSize(false);
  Label2->SetWordWrap(true);
  Label2->SetFont(songFont(ANSI_CHARSET, -13, clBlack));
  Label4 = makeLabel(this, Panel2, "Label4", Bounds(7, 155, 77, 13), "Version 1.0");

  Panel3 = makePanel(this, "Panel3", alBottom, Bounds(0, 180, 405, 46), 2);
  bbtnClose = new TBitBtn(this);
  bbtnClose->SetName("bbtnClose");
  bbtnClose->SetParent(Panel3);
  bbtnClose->SetBounds(319, 9, 75, 25);
  bbtnClose->SetCaption("退出");
  bbtnClose->SetKind(bkClose);
  bbtnClose->SetTabOrder(0);

  EndLoading();
  DoCreate();
}
