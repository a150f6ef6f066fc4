// Corvane's entry point: runs start-up and, unless the user ended the program there, shows the
// main window.
#include <QApplication>

#include "Desktop.h"
#include "Registry.h"
#include "SvgPicture.h"
#include "frmSkirmish.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Corvane"));
  QApplication::setDesktopFileName(QStringLiteral("io.github.corvane.Corvane"));
  QApplication::setWindowIcon(
      corvane::about::iconFromSvg(QStringLiteral(":/pictures/corvane.svg")));
  corvane::QtDesktop desktop;
  frmSkirmish window(desktop);
  const auto registry = corvane::openSystemRegistry();
  if (!window.Form_Load(*registry)) return 0;  // the user chose Cancel
  window.show();
  return QApplication::exec();
}
