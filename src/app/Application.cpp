// The application-wide settings of a Corvane process.
#include "Application.h"

#include <QApplication>

#include "SvgPicture.h"

namespace corvane {

void setUpApplication() {
  QApplication::setApplicationName(QStringLiteral("Corvane"));
  QApplication::setDesktopFileName(QStringLiteral("io.github.corvane.Corvane"));
  QApplication::setWindowIcon(about::iconFromSvg(QStringLiteral(":/pictures/corvane.svg")));
}

}  // namespace corvane
