#pragma once
// For end-to-end tests of the built program only: when the environment variable
// QUILLON_TEST_MESSAGEBOX is "stderr", every message box is written to standard error as
// "caption|flags|text" (one line per box, the text's line breaks kept) and answered with OK,
// so a headless run cannot block on a box. Any other value, or none, leaves the real boxes.
// Returns true when the redirect is installed.
bool InstallMessageBoxRedirectFromEnvironment();
