#include "app/quillon_program.h"

#include "app/app_icon.h"
#include "app/dm.h"
#include "app/search_form2.h"
#include "app/splash_form.h"
#include "platform/ui/application.h"
#include "platform/ui/services.h"

namespace {
// The program's icon on every window, in the sizes title bars and task switchers show.
void setWindowIcon() {
  std::vector<AppIconPicture> pictures;
  for (int size : AppIconWindowSizes()) pictures.push_back(DrawAppIcon(size));
  std::vector<TIconPicture> sizes;
  for (const AppIconPicture& p : pictures) sizes.push_back({&p.Colors, &p.Opacity});
  SetApplicationIcon(sizes);
}
}  // namespace

void QuillonProgram() {
  Application->Initialize();
  setWindowIcon();
  Application->CreateForm(DataModule1);
  frmSplash = new TfrmSplash(Application);
  frmSplash->ShowModal();
  Application->CreateForm(frmMain);
  delete frmSplash;
  frmSplash = nullptr;
  Application->Run();
}
