// Corvane's entry point: runs start-up and, unless the user ended the program there, shows the
// main window.
#include <QApplication>

#include "Application.h"
#include "Desktop.h"
#include "Registry.h"
#include "frmSkirmish.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  corvane::setUpApplication();
  corvane::QtDesktop desktop;
  frmSkirmish window(desktop);
  const auto registry = corvane::openSystemRegistry();
  if (!window.Form_Load(*registry)) return 0;  // the user chose Cancel
  window.show();
  return QApplication::exec();
}
