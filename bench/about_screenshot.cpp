// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the About window, as it opens, into a PNG file: about_screenshot <file.png>. The picture
// has the window's client area at the scale factor in effect (QT_SCALE_FACTOR).
#include <QApplication>
#include <QPixmap>
#include <cstdio>

#include "RecordingShell.h"  // tests/support
#include "frmAbout.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <file.png>\n", argv[0]);
    return 1;
  }
  corvane::testing::RecordingShell shell;
  frmAbout window(shell);
  window.setAttribute(Qt::WA_DeleteOnClose, false);
  window.show();
  QApplication::processEvents();
  if (!window.grab().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "%s: cannot be written\n", argv[1]);
    return 1;
  }
  return 0;
}
