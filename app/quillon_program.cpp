#include "app/quillon_program.h"

#include "app/dm.h"
#include "app/search_form2.h"
#include "app/splash_form.h"
#include "platform/ui/application.h"

void QuillonProgram() {
  Application->Initialize();
  Application->CreateForm(DataModule1);
  frmSplash = new TfrmSplash(Application);
  frmSplash->ShowModal();
  Application->CreateForm(frmMain);
  delete frmSplash;
  frmSplash = nullptr;
  Application->Run();
}
