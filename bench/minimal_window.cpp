// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick of the start-up comparison: the smallest Qt Widgets program, an empty window,
// which ends as soon as that window is on screen (as startup_probe does). Exit status 0 when the
// window was exposed, 1 otherwise.
#include <QApplication>
#include <QWidget>

#include "QuitWhenExposed.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QWidget window;
  window.show();
  const corvane::bench::QuitWhenExposed quitter(window);
  const int result = QApplication::exec();
  return result == 0 && quitter.exposed() ? 0 : 1;
}
