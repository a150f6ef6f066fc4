// Tests of the program's pictures: each is an SVG picture Qt draws without complaint, at its
// intended size; the main window's backdrop keeps black and white text readable; an icon drawn
// ahead gives the pixmaps of the sizes asked for.
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QtTest>
#include <cmath>

#include "SvgPicture.h"

namespace {

const QString kAppPictures = QStringLiteral(CORVANE_APP_PICTURES);

QImage drawn(const QString& path, qreal scale) {
  QSvgRenderer renderer(path);
  const QSize size = renderer.defaultSize() * scale;
  QImage image(size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
  return image;
}

// Relative luminance of an opaque colour, as the web's contrast guidelines define it.
double luminance(const QColor& colour) {
  const auto linear = [](double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
         0.0722 * linear(colour.blueF());
}

double contrast(double lighter, double darker) {
  return (lighter + 0.05) / (darker + 0.05);
}

}  // namespace

class TestPictures : public QObject {
  Q_OBJECT

 private slots:
  void pictureIsDrawnAtItsSize_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("opaque");
    QTest::newRow("About logo") << ":/about/logo.svg" << QSize(51, 69) << false;
    QTest::newRow("About window icon") << ":/about/window-icon.svg" << QSize(32, 32) << false;
    QTest::newRow("program icon") << kAppPictures + "/corvane.svg" << QSize(256, 256) << false;
    QTest::newRow("main window backdrop")
        << kAppPictures + "/background.svg" << QSize(503, 490) << true;
    for (const char* button : {"updates", "about", "load", "save", "saveas"}) {
      QTest::newRow(button) << kAppPictures + "/" + button + ".svg" << QSize(24, 24) << false;
    }
  }

  void pictureIsDrawnAtItsSize() {
    QFETCH(QString, path);
    QFETCH(QSize, size);
    QFETCH(bool, opaque);
    // Qt warns about SVG features it cannot draw; a picture must need none of them.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));

    QSvgRenderer renderer(path);
    QVERIFY2(renderer.isValid(), qPrintable(path));
    QCOMPARE(renderer.defaultSize(), size);

    const QImage image = drawn(path, 2);
    int drawnPixels = 0;
    int transparentPixels = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const int alpha = image.pixelColor(x, y).alpha();
        if (alpha > 0) ++drawnPixels;
        if (alpha < 255) ++transparentPixels;
      }
    }
    QVERIFY2(drawnPixels > image.width() * image.height() / 3, "hardly anything is drawn");
    if (opaque) QCOMPARE(transparentPixels, 0);
  }

  void backdropKeepsTextReadable_data() {
    QTest::addColumn<QColor>("textColour");
    QTest::addColumn<qreal>("scale");
    QTest::newRow("black text at 100 %") << QColor(Qt::black) << 1.0;
    QTest::newRow("white text at 100 %") << QColor(Qt::white) << 1.0;
    QTest::newRow("black text at 200 %") << QColor(Qt::black) << 2.0;
    QTest::newRow("white text at 200 %") << QColor(Qt::white) << 2.0;
  }

  void backdropKeepsTextReadable() {
    QFETCH(QColor, textColour);
    QFETCH(qreal, scale);
    // The usual minimum contrast for body text (WCAG level AA), at every point of the backdrop.
    constexpr double kMinimumContrast = 4.5;

    const QImage image = drawn(kAppPictures + "/background.svg", scale);
    const double text = luminance(textColour);
    double weakest = 100;
    QPoint weakestPoint;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const double backdrop = luminance(image.pixelColor(x, y));
        const double ratio = text > backdrop ? contrast(text, backdrop) : contrast(backdrop, text);
        if (ratio < weakest) {
          weakest = ratio;
          weakestPoint = QPoint(x, y);
        }
      }
    }
    QVERIFY2(weakest >= kMinimumContrast, qPrintable(QStringLiteral("contrast %1 at %2,%3")
                                                         .arg(weakest)
                                                         .arg(weakestPoint.x())
                                                         .arg(weakestPoint.y())));
  }

  void iconDrawnAheadGivesEachSizeAskedFor_data() {
    QTest::addColumn<QList<QSize>>("drawAhead");
    QTest::newRow("nothing ahead") << QList<QSize>{};
    QTest::newRow("the sizes asked for") << QList<QSize>{{16, 16}, {32, 32}, {20, 20}};
    QTest::newRow("other sizes") << QList<QSize>{{64, 64}, {128, 128}};
    QTest::newRow("an empty size") << QList<QSize>{{0, 0}, {16, 16}};
  }

  void iconDrawnAheadGivesEachSizeAskedFor() {
    QFETCH(QList<QSize>, drawAhead);
    const QString path = kAppPictures + "/corvane.svg";
    const QIcon icon = corvane::about::iconFromSvg(path, drawAhead);
    QVERIFY(!icon.isNull());
    for (const QSize size : {QSize(16, 16), QSize(32, 32), QSize(20, 20)}) {
      const QImage expected = corvane::about::drawSvg(path, size);
      QCOMPARE(expected.size(), size);
      for (int again = 0; again < 2; ++again) {
        const QImage image = icon.pixmap(size).toImage().convertToFormat(expected.format());
        QCOMPARE(image, expected);
      }
    }
  }

  void pictureDrawnAheadIsTheOneAskedFor() {
    const QString path = kAppPictures + "/background.svg";
    std::shared_future<QImage> backdrop = corvane::about::drawSvgAhead(path, QSize(503, 490));
    std::shared_future<QImage> twice = corvane::about::drawSvgAhead(path, QSize(1006, 980));
    std::shared_future<QImage> missing = corvane::about::drawSvgAhead(":/none.svg", {10, 10});
    QCOMPARE(twice.get(), corvane::about::drawSvg(path, QSize(1006, 980)));
    QCOMPARE(backdrop.get(), corvane::about::drawSvg(path, QSize(503, 490)));
    QVERIFY(missing.get().isNull());
  }
};

QTEST_MAIN(TestPictures)
#include "tst_Pictures.moc"
