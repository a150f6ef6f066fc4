// Corvane's entry point: runs start-up and, unless the user ended the program there, shows the
// main window.
#include <QApplication>

#include "Desktop.h"
#include "frmSkirmish.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Corvane"));
  corvane::QtDesktop desktop;
  frmSkirmish window(desktop);
  window.EnableEditing(false);
  window.show();
  return QApplication::exec();
}
