// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Corvane's entry point: runs start-up and, unless the user ended the program there, the main
// window's event loop.
#include <QApplication>

#include "Application.h"

int main(int argc, char* argv[]) {
  corvane::Program program(argc, argv);
  return program.started() ? QApplication::exec() : 0;  // not started: the user chose Cancel
}
