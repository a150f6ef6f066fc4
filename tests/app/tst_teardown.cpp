// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Ending the application right after the window is made, never shown: the pictures drawn ahead
// for it may still be in the drawing then, and the application must not take the graphics state
// down beneath them. Several applications, one after another, each with its window. Exit status
// 0 when every application ended cleanly (a fault here crashes, or the sanitizers report it).
#include <QApplication>

#include "Application.h"
#include "Desktop.h"
#include "frmSkirmish.h"

int main(int argc, char* argv[]) {
  for (int round = 0; round < 5; ++round) {
    QApplication app(argc, argv);
    corvane::setUpApplication();
    corvane::QtDesktop desktop;
    const frmSkirmish window(desktop);
  }
  return 0;
}
