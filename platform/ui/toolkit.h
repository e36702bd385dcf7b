#pragma once
// The few calls into the toolkit that the pure control-tree code needs (qt_toolkit.cpp).
#include <string>

// Creates the toolkit's application object once (tests call it through EnsureTestApplication).
void ToolkitInit(int argc, char** argv);
// Handles pending events; with wait, blocks until at least one arrives.
void ToolkitProcessEvents(bool wait);
// A real, modal message box; returns IDOK / IDCANCEL / IDYES / IDNO.
int ToolkitMessageBox(const std::string& text, const std::string& caption, int flags);
// For tests: creates the toolkit (headless) and the `Application` object if missing.
void EnsureTestApplication();
