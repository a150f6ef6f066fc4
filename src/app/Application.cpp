// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The application-wide settings of a Corvane process, and its start-up.
#include "Application.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QScreen>

#include <utility>

#include "SvgPicture.h"
#include "TextFitting.h"

namespace corvane {

QString legibleFamily(const QString& asked, const QString& resolved, const QStringList& available) {
  const QStringList sansSerif = widgets::sansSerifFamilies();
  if (resolved.compare(asked, Qt::CaseInsensitive) == 0 ||
      sansSerif.contains(resolved, Qt::CaseInsensitive)) {
    return resolved;
  }
  for (const QString& family : sansSerif) {
    if (available.contains(family, Qt::CaseInsensitive)) return family;
  }
  return resolved;
}

void setUpApplication() {
  // The first text laid out reads the system's font list; read it on another thread meanwhile.
  widgets::runInBackground([] { QFontDatabase::families(); });
#ifdef Q_OS_WIN
  const QFont systemFont = QApplication::font();
  const QString drawnIn = QFontInfo(systemFont).family();
  const QString family = legibleFamily(systemFont.family(), drawnIn, QFontDatabase::families());
  if (family != drawnIn) {
    QFont font = systemFont;
    font.setFamily(family);
    QApplication::setFont(font);
  }
#endif
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

namespace {
constexpr char kSessionBusVariable[] = "DBUS_SESSION_BUS_ADDRESS";
}  // namespace

Program::NoBusOfItsOwn::NoBusOfItsOwn() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
  // The bus library's own places for the session bus: the address in the environment, else
  // the socket "bus" in the user's runtime folder. A screen reader may also name its bus itself.
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  const bool bus = !qEnvironmentVariableIsEmpty(kSessionBusVariable) ||
                   !qEnvironmentVariableIsEmpty("AT_SPI_BUS_ADDRESS") ||
                   (!runtime.isEmpty() && QFileInfo::exists(QDir(runtime).filePath(QStringLiteral("bus"))));
  engaged_ = !bus;
  if (engaged_) qputenv(kSessionBusVariable, "disabled:");
#endif
}

void Program::NoBusOfItsOwn::release() {
  if (std::exchange(engaged_, false)) qunsetenv(kSessionBusVariable);
}

Program::Program(int& argc, char** argv)
    : registry_(openSystemRegistry()), lookAhead_(*registry_), application_(argc, argv) {
  // Qt's accessibility asks for the session bus now, rather than at the first widget.
  QAccessible::isActive();
  noBusOfItsOwn_.release();
  setUpApplication();
  window_ = std::make_unique<frmSkirmish>(desktop_);
  started_ = window_->Form_Load(lookAhead_);
  if (started_) window_->show();
}

Program::~Program() = default;

}  // namespace corvane
