#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <cstdlib>

#include "platform/core/exception.h"

#include "platform/ui/application.h"
#include "platform/ui/qt_translations.h"
#include "platform/ui/toolkit.h"

namespace {
int fakeArgc = 1;
char fakeName[] = "quillon";
char* fakeArgv[] = {fakeName, nullptr};
}  // namespace

void ToolkitInit(int argc, char** argv) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance())) return;
  if (QCoreApplication::instance())
    throw Exception("The window system was started without widgets (text was measured before start-up)");
  // Qt keeps references to argc/argv for the whole run, so it gets static ones (the program
  // takes no command line).
  new QApplication(fakeArgc, fakeArgv);
  QApplication::setQuitOnLastWindowClosed(false);
  // Double clicks, wheel lines and the cursor blink follow the classic defaults.
  QApplication::setDoubleClickInterval(500);
  QApplication::setWheelScrollLines(3);
  // The editors' context menus and the message boxes' buttons speak the user's language.
  InstallToolkitTranslations(QLocale::system());
}

void ToolkitProcessEvents(bool wait) {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents(wait ? QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents);
  QCoreApplication::sendPostedEvents();
}

int ToolkitMessageBox(const std::string& text, const std::string& caption, int flags) {
  QMessageBox box;
  box.setWindowTitle(QString::fromStdString(caption));
  box.setText(QString::fromStdString(text));
  switch (flags & 0xF0) {
    case MB_ICONERROR: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONWARNING: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
    default: break;
  }
  switch (flags & 0x0F) {
    case MB_OKCANCEL: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MB_YESNO: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    default: box.setStandardButtons(QMessageBox::Ok); break;
  }
  box.setWindowModality(Qt::ApplicationModal);
  switch (box.exec()) {
    case QMessageBox::Cancel: return IDCANCEL;
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    default: return IDOK;
  }
}

void EnsureTestApplication() {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ToolkitInit(0, nullptr);
  if (!Application) Application = new TApplication();
}
