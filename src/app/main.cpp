// Corvane's entry point: runs start-up and, unless the user ended the program there, shows the
// main window.
#include <QApplication>

#include "Application.h"
#include "Desktop.h"
#include "GameLookAhead.h"
#include "Registry.h"
#include "frmSkirmish.h"

int main(int argc, char* argv[]) {
  // Looking for the game needs no display: it goes on while the application connects to one.
  const auto registry = corvane::openSystemRegistry();
  corvane::GameLookAhead lookAhead(*registry);
  QApplication app(argc, argv);
  corvane::setUpApplication();
  corvane::QtDesktop desktop;
  frmSkirmish window(desktop);
  if (!window.Form_Load(lookAhead)) return 0;  // the user chose Cancel
  window.show();
  return QApplication::exec();
}
