#pragma once
// Texts of the application's windows.
#include <string>

// The splash window's preface, set into its label when the window is created.
const std::string& PrefaceText();
// The help panel's usage notes.
const std::string& UsageNotesText();
// The About window's one-line rights notice.
const std::string& RightsNoticeText();
