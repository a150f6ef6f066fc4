// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Build tool: draws the program's SVG icon as the PNG files of the desktop's icon theme, or as
// one Windows icon file.
//
//   corvane_icon_renderer <icon.svg> <output folder> <size>...
//   corvane_icon_renderer --ico <icon.svg> <output.ico> <size>...
//
// The first writes <output folder>/<size>x<size>/apps/<icon name>.png for each size; the second
// one .ico file holding the icon at each size (up to 256), 32-bit with alpha: PNG-compressed at
// 256 pixels, as Windows' own icons are, uncompressed below, which every reader of icons takes.
// Each picture is square with a transparent background. Exits with 0 when every file was
// written, 1 on a wrong call, an unreadable SVG file, or a file that could not be written.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <QtEndian>

#include <cstdio>
#include <vector>

namespace {

QImage draw(QSvgRenderer& renderer, int side) {
  QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer.render(&painter, QRectF(0, 0, side, side));
  painter.end();
  return image;
}

void append16(QByteArray& bytes, quint16 value) {
  const quint16 little = qToLittleEndian(value);
  bytes.append(reinterpret_cast<const char*>(&little), sizeof little);
}

void append32(QByteArray& bytes, quint32 value) {
  const quint32 little = qToLittleEndian(value);
  bytes.append(reinterpret_cast<const char*>(&little), sizeof little);
}

// One picture of an icon file: a PNG file at 256 pixels, else a bitmap without its file header
// (height doubled for the mask), its rows bottom-up, then the 1-bit mask of transparent pixels.
QByteArray iconPicture(const QImage& drawn) {
  QByteArray bytes;
  if (drawn.width() >= 256) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    drawn.save(&buffer, "PNG");
    return bytes;
  }
  const QImage image = drawn.convertToFormat(QImage::Format_ARGB32);
  const int side = image.width();
  const int maskRowBytes = ((side + 31) / 32) * 4;
  append32(bytes, 40);  // the size of the header
  append32(bytes, static_cast<quint32>(side));
  append32(bytes, static_cast<quint32>(side * 2));
  append16(bytes, 1);   // planes
  append16(bytes, 32);  // bits per pixel
  append32(bytes, 0);   // uncompressed
  append32(bytes, static_cast<quint32>(side * side * 4 + maskRowBytes * side));
  for (int i = 0; i < 4; ++i) append32(bytes, 0);  // resolution and palette: unused
  for (int y = side - 1; y >= 0; --y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < side; ++x) append32(bytes, row[x]);  // B, G, R, A in memory
  }
  for (int y = side - 1; y >= 0; --y) {
    QByteArray mask(maskRowBytes, '\0');
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < side; ++x) {
      if (qAlpha(row[x]) == 0) mask[x / 8] = static_cast<char>(mask[x / 8] | (0x80 >> (x % 8)));
    }
    bytes.append(mask);
  }
  return bytes;
}

bool writeIcon(const QString& file, const std::vector<QImage>& images) {
  QByteArray head;
  append16(head, 0);
  append16(head, 1);  // an icon, not a cursor
  append16(head, static_cast<quint16>(images.size()));
  QByteArray pictures;
  quint32 offset = static_cast<quint32>(6 + 16 * images.size());
  for (const QImage& image : images) {
    const QByteArray picture = iconPicture(image);
    const int side = image.width();
    head.append(static_cast<char>(side >= 256 ? 0 : side));  // 0 stands for 256
    head.append(static_cast<char>(side >= 256 ? 0 : side));
    head.append('\0');  // no palette
    head.append('\0');
    append16(head, 1);
    append16(head, 32);
    append32(head, static_cast<quint32>(picture.size()));
    append32(head, offset);
    offset += static_cast<quint32>(picture.size());
    pictures.append(picture);
  }
  QFile out(file);
  return out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(head) == head.size() &&
         out.write(pictures) == pictures.size() && out.flush();
}

}  // namespace

int main(int argc, char* argv[]) {
  const bool ico = argc > 1 && QByteArray(argv[1]) == "--ico";
  const int first = ico ? 2 : 1;
  if (argc < first + 3) {
    std::fprintf(stderr,
                 "usage: %s <icon.svg> <output folder> <size>...\n"
                 "       %s --ico <icon.svg> <output.ico> <size>...\n",
                 argv[0], argv[0]);
    return 1;
  }
  const QString svgPath = QString::fromLocal8Bit(argv[first]);
  const QString output = QString::fromLocal8Bit(argv[first + 1]);
  QSvgRenderer renderer(svgPath);
  if (!renderer.isValid()) {
    std::fprintf(stderr, "%s: not a valid SVG picture\n", argv[first]);
    return 1;
  }
  const QString iconName = QFileInfo(svgPath).completeBaseName();
  std::vector<QImage> images;
  for (int index = first + 2; index < argc; ++index) {
    bool isNumber = false;
    const int side = QString::fromLatin1(argv[index]).toInt(&isNumber);
    if (!isNumber || side <= 0 || (ico && side > 256)) {
      std::fprintf(stderr, "%s: not a size in pixels\n", argv[index]);
      return 1;
    }
    const QImage image = draw(renderer, side);
    if (ico) {
      images.push_back(image);
      continue;
    }
    const QString folder = QStringLiteral("%1/%2x%2/apps").arg(output).arg(side);
    const QString file = QStringLiteral("%1/%2.png").arg(folder, iconName);
    if (!QDir().mkpath(folder) || !image.save(file, "PNG")) {
      std::fprintf(stderr, "%s: cannot be written\n", qPrintable(file));
      return 1;
    }
  }
  if (ico && !writeIcon(output, images)) {
    std::fprintf(stderr, "%s: cannot be written\n", qPrintable(output));
    return 1;
  }
  return 0;
}
