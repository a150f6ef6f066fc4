// A picture drawn from an SVG file at the screen's own resolution.
#include "SvgPicture.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace corvane::about {

SvgPicture::SvgPicture(const QString& path, QWidget* parent)
    : QWidget(parent), renderer_(new QSvgRenderer(path, this)) {
  setFixedSize(sizeHint());
}

QSize SvgPicture::sizeHint() const {
  return hasPicture() ? renderer_->defaultSize() : QSize(0, 0);
}

bool SvgPicture::hasPicture() const {
  return renderer_->isValid();
}

void SvgPicture::paintEvent(QPaintEvent*) {
  if (!hasPicture()) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer_->render(&painter, QRectF(rect()));
}

QIcon iconFromSvg(const QString& path) {
  QSvgRenderer renderer(path);
  QIcon icon;
  if (!renderer.isValid()) return icon;
  for (const int side : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, side, side));
    painter.end();
    icon.addPixmap(QPixmap::fromImage(image));
  }
  return icon;
}

}  // namespace corvane::about
