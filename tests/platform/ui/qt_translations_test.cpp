// The toolkit's own texts follow the locale given at start-up, and a later locale replaces
// the earlier one rather than stacking on it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocale>
#include <string>

#include "platform/ui/qt_translations.h"
#include "platform/ui/toolkit.h"

namespace {

// The line editor's context-menu entry for undo, as the toolkit would show it now.
std::string UndoEntry() { return QCoreApplication::translate("QLineEdit", "&Undo").toStdString(); }

TEST(ToolkitTranslations, TheEditorMenuSpeaksTheLocaleLanguage) {
  EnsureTestApplication();
  struct Case {
    const char* locale;
    bool found;
    std::string undo;
  };
  const Case cases[] = {
      {"zh_CN", true, "撤消(&U)"},
      {"C", false, "&Undo"},  // no translation: the built-in English, the Chinese one gone
      {"zh_TW", true, "復原(&U)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.locale);
    EXPECT_EQ(InstallToolkitTranslations(QLocale(c.locale)), c.found);
    EXPECT_EQ(UndoEntry(), c.undo);
  }
  InstallToolkitTranslations(QLocale::c());
}

}  // namespace
