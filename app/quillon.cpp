// quillon: the terminology browser. No command line, no configuration: it reads ADR.mdb from
// the working directory.
#include "app/quillon_program.h"
#include "platform/ui/application.h"
#include "platform/ui/message_box_redirect.h"

int main(int argc, char** argv) {
  // Only the end-to-end tests set QUILLON_TEST_MESSAGEBOX; see message_box_redirect.h.
  InstallMessageBoxRedirectFromEnvironment();
  return RunProgram(argc, argv, QuillonProgram);
}
