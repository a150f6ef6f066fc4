// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Build tool: draws the program's SVG icon as the PNG files of the desktop's icon theme.
//
//   corvane_icon_renderer <icon.svg> <output folder> <size>...
//
// writes <output folder>/<size>x<size>/apps/<icon name>.png for each size, square, with a
// transparent background. Exits with 0 when every file was written, 1 on a wrong call, an
// unreadable SVG file, or a file that could not be written.
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char* argv[]) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s <icon.svg> <output folder> <size>...\n", argv[0]);
    return 1;
  }
  const QString svgPath = QString::fromLocal8Bit(argv[1]);
  const QString outputFolder = QString::fromLocal8Bit(argv[2]);
  QSvgRenderer renderer(svgPath);
  if (!renderer.isValid()) {
    std::fprintf(stderr, "%s: not a valid SVG picture\n", argv[1]);
    return 1;
  }
  const QString iconName = QFileInfo(svgPath).completeBaseName();
  for (int index = 3; index < argc; ++index) {
    bool isNumber = false;
    const int side = QString::fromLatin1(argv[index]).toInt(&isNumber);
    if (!isNumber || side <= 0) {
      std::fprintf(stderr, "%s: not a size in pixels\n", argv[index]);
      return 1;
    }
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, side, side));
    painter.end();
    const QString folder = QStringLiteral("%1/%2x%2/apps").arg(outputFolder).arg(side);
    const QString file = QStringLiteral("%1/%2.png").arg(folder, iconName);
    if (!QDir().mkpath(folder) || !image.save(file, "PNG")) {
      std::fprintf(stderr, "%s: cannot be written\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}
