// A picture drawn from an SVG file at the screen's own resolution.
#include "SvgPicture.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

#include <memory>
#include <utility>

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

namespace {

// An icon that draws its SVG picture at the size asked for when it is asked for, and keeps each
// pixmap it drew. It offers no fixed sizes: a window system that takes fixed sizes asks for
// its usual ones. Modes other than Normal are derived from the Normal pixmap by the style.
class SvgIconEngine final : public QIconEngine {
 public:
  explicit SvgIconEngine(std::shared_ptr<QSvgRenderer> renderer) : renderer_(std::move(renderer)) {}

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    if (size.isEmpty()) return {};
    const QString key = QStringLiteral("%1x%2/%3").arg(size.width()).arg(size.height()).arg(mode);
    if (const auto drawn = drawn_.constFind(key); drawn != drawn_.constEnd()) return *drawn;
    QPixmap result;
    if (mode == QIcon::Normal) {
      QImage image(size, QImage::Format_ARGB32_Premultiplied);
      image.fill(Qt::transparent);
      QPainter painter(&image);
      painter.setRenderHint(QPainter::Antialiasing);
      renderer_->render(&painter, QRectF(QPointF(0, 0), size));
      painter.end();
      result = QPixmap::fromImage(image);
    } else {
      result = pixmap(size, QIcon::Normal, state);
      if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        QStyleOption option;
        option.palette = QGuiApplication::palette();
        result = QApplication::style()->generatedIconPixmap(mode, result, &option);
      }
    }
    drawn_.insert(key, result);
    return result;
  }

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    const qreal scale = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1;
    QPixmap drawn = pixmap(rect.size() * scale, mode, state);
    drawn.setDevicePixelRatio(scale);
    painter->drawPixmap(rect, drawn);
  }

  QIconEngine* clone() const override { return new SvgIconEngine(renderer_); }
  QString key() const override { return QStringLiteral("SvgIconEngine"); }
  bool isNull() override { return !renderer_->isValid(); }

 private:
  std::shared_ptr<QSvgRenderer> renderer_;
  QHash<QString, QPixmap> drawn_;
};

}  // namespace

QIcon iconFromSvg(const QString& path) {
  auto renderer = std::make_shared<QSvgRenderer>(path);
  if (!renderer->isValid()) return {};
  return QIcon(new SvgIconEngine(std::move(renderer)));
}

}  // namespace corvane::about
