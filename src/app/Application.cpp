// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The application-wide settings of a Corvane process, and its start-up.
#include "Application.h"

#include <QApplication>
#include <QFontDatabase>
#include <QScreen>

#include "SvgPicture.h"

namespace corvane {

void setUpApplication() {
  // The first text laid out reads the system's font list; read it on another thread meanwhile.
  widgets::runInBackground([] { QFontDatabase::families(); });
  QApplication::setApplicationName(QStringLiteral("Corvane"));
  QApplication::setDesktopFileName(QStringLiteral("io.github.corvane.Corvane"));
  // An X11 window carries its icon at these sizes, drawn while start-up goes on.
  QList<QSize> drawAhead;
  if (QGuiApplication::platformName() == QLatin1String("xcb")) {
    const qreal scale = QGuiApplication::primaryScreen() != nullptr
                            ? QGuiApplication::primaryScreen()->devicePixelRatio()
                            : 1.0;
    for (const int side : {16, 32, 64, 128}) drawAhead.append(QSize(side, side) * scale);
  }
  QApplication::setWindowIcon(
      widgets::iconFromSvg(QStringLiteral(":/pictures/corvane.svg"), drawAhead));
}

Program::Program(int& argc, char** argv)
    : registry_(openSystemRegistry()), lookAhead_(*registry_), application_(argc, argv) {
  setUpApplication();
  window_ = std::make_unique<frmSkirmish>(desktop_);
  started_ = window_->Form_Load(lookAhead_);
  if (started_) window_->show();
}

Program::~Program() = default;

}  // namespace corvane
