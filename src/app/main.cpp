// Corvane's entry point: opens the main window.
#include <QApplication>

#include "frmSkirmish.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  frmSkirmish window;
  window.show();
  return app.exec();
}
