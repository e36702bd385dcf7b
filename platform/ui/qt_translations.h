#pragma once
// The toolkit's own texts (the editors' context menus, the message boxes' buttons) in the
// user's language.
#include <QLocale>

// Replaces the toolkit translation installed before with the one for locale, from the
// toolkit's translation folder. Returns false, leaving the toolkit's built-in English, when
// that folder has none for the locale's languages.
bool InstallToolkitTranslations(const QLocale& locale);
