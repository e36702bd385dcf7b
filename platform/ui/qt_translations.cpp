#include "platform/ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

bool InstallToolkitTranslations(const QLocale& locale) {
  // One translator for the life of the application; a second call swaps what it holds.
  static QTranslator* installed = nullptr;
  if (installed) {
    QCoreApplication::removeTranslator(installed);
    delete installed;
    installed = nullptr;
  }
  auto translator = std::make_unique<QTranslator>();
  // Tries qtbase_zh_CN.qm, then qtbase_zh.qm, for each of the locale's UI languages.
  if (!translator->load(locale, "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    return false;
  installed = translator.release();
  QCoreApplication::installTranslator(installed);
  return true;
}
