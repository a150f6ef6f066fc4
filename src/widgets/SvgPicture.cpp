// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A picture drawn from an SVG file at the screen's own resolution.
#include "SvgPicture.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>
#include <QThreadPool>

#include <functional>
#include <future>
#include <memory>
#include <utility>

namespace corvane::widgets {

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

QImage drawnImage(QSvgRenderer& renderer, const QSize& size,
                  QImage::Format format = QImage::Format_ARGB32_Premultiplied) {
  QImage image(size, format);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer.render(&painter, QRectF(QPointF(0, 0), size));
  return image;
}

}  // namespace

QImage drawSvg(const QString& path, const QSize& size, QImage::Format format) {
  if (size.isEmpty()) return {};
  QSvgRenderer renderer(path);
  return renderer.isValid() ? drawnImage(renderer, size, format) : QImage();
}

namespace {

// The threads of background work: two, so that reading the fonts and drawing the pictures of a
// window opening go on side by side while the window's own thread waits for the fonts. A thread
// ends as soon as no work is left for it, so that what it kept for itself (its font cache, for
// one) is cleared then and not when the program ends.
class BackgroundThread final : public QThreadPool {
 public:
  BackgroundThread() {
    setMaxThreadCount(2);
    setExpiryTimeout(0);
  }
};

QThreadPool& backgroundThread() {
  static BackgroundThread pool;
  // Drawing needs the application's graphics state: the application waits for what is still
  // being done before it takes that state down (post routines run first in its destructor).
  static QPointer<QCoreApplication> waitingApplication;
  if (waitingApplication != QCoreApplication::instance()) {
    waitingApplication = QCoreApplication::instance();
    qAddPostRoutine([] { backgroundThread().waitForDone(); });
  }
  return pool;
}

}  // namespace

void runInBackground(std::function<void()> work) {
  backgroundThread().start(std::move(work));
}

std::shared_future<QImage> drawSvgAhead(const QString& path, const QSize& size,
                                        QImage::Format format) {
  auto task = std::make_shared<std::packaged_task<QImage()>>(
      [path, size, format] { return drawSvg(path, size, format); });
  std::shared_future<QImage> drawn = task->get_future().share();
  runInBackground([task] { (*task)(); });
  return drawn;
}

namespace {

QString drawnKey(const QSize& size, QIcon::Mode mode) {
  return QStringLiteral("%1x%2/%3").arg(size.width()).arg(size.height()).arg(mode);
}

// An icon that draws its SVG picture at the size asked for when it is asked for, and keeps each
// pixmap it drew. It offers no fixed sizes: a window system that takes fixed sizes asks for
// its usual ones. Modes other than Normal are derived from the Normal pixmap by the style.
class SvgIconEngine final : public QIconEngine {
 public:
  using DrawnAhead = QHash<QString, std::shared_future<QImage>>;

  SvgIconEngine(std::shared_ptr<QSvgRenderer> renderer, DrawnAhead drawnAhead)
      : renderer_(std::move(renderer)), drawnAhead_(std::move(drawnAhead)) {}

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    if (size.isEmpty()) return {};
    const QString key = drawnKey(size, mode);
    if (const auto drawn = drawn_.constFind(key); drawn != drawn_.constEnd()) return *drawn;
    QPixmap result;
    if (mode == QIcon::Normal) {
      const std::shared_future<QImage> ahead = drawnAhead_.take(key);
      result = QPixmap::fromImage(ahead.valid() ? ahead.get() : drawnImage(*renderer_, size));
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

  QIconEngine* clone() const override { return new SvgIconEngine(renderer_, drawnAhead_); }
  QString key() const override { return QStringLiteral("SvgIconEngine"); }
  bool isNull() override { return !renderer_->isValid(); }

 private:
  std::shared_ptr<QSvgRenderer> renderer_;
  DrawnAhead drawnAhead_;  // by drawnKey, until first asked for
  QHash<QString, QPixmap> drawn_;
};

}  // namespace

QIcon iconFromSvg(const QString& path, const QList<QSize>& drawAhead) {
  auto renderer = std::make_shared<QSvgRenderer>(path);
  if (!renderer->isValid()) return {};
  SvgIconEngine::DrawnAhead drawnAhead;
  for (const QSize& size : drawAhead) {
    if (!size.isEmpty()) drawnAhead.insert(drawnKey(size, QIcon::Normal), drawSvgAhead(path, size));
  }
  return QIcon(new SvgIconEngine(std::move(renderer), std::move(drawnAhead)));
}

}  // namespace corvane::widgets
