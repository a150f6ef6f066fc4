// The main window.
#include "frmSkirmish.h"

frmSkirmish::frmSkirmish(QWidget* parent) : QWidget(parent) {
  setWindowTitle(QStringLiteral(" Skirmish Setup - C&C Renegade"));
  setFixedSize(503, 490);
}
