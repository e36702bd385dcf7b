#include "platform/ui/message_box_redirect.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/ui/application.h"

bool InstallMessageBoxRedirectFromEnvironment() {
  const char* mode = std::getenv("QUILLON_TEST_MESSAGEBOX");
  if (!mode || std::string(mode) != "stderr") return false;
  SetMessageBoxHook([](const std::string& text, const std::string& caption, int flags) {
    std::fprintf(stderr, "%s|0x%X|%s\n", caption.c_str(), unsigned(flags), text.c_str());
    std::fflush(stderr);
    return int(IDOK);
  });
  return true;
}
