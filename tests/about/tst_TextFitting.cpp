// Tests of fitting a text into a fixed box by setting it smaller.
#include <QFontMetrics>
#include <QtTest>

#include "TextFitting.h"

using corvane::about::fontFittingBox;
using corvane::about::kSmallestFittedPointSize;
using corvane::about::textFitsBox;
using corvane::about::TextFlow;

Q_DECLARE_METATYPE(TextFlow)

namespace {

// What the fitted font should be.
enum class Outcome {
  Unchanged,       // the text fits in the font as it is
  LargestFitting,  // smaller, and the next quarter point up would not fit
  Smallest,        // nothing fits: the smallest size
};

const QString kSentence = QStringLiteral(
    "This simple application makes it easy to change the gameplay settings of the practice mode "
    "and enables you to add your own maps.");

}  // namespace

Q_DECLARE_METATYPE(Outcome)

class TestTextFitting : public QObject {
  Q_OBJECT

 private slots:
  void fontFitsTheBox_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<TextFlow>("flow");
    // The box, in parts of the text's own width and line height at 10 pt: rows stay true
    // whatever fonts the machine has.
    QTest::addColumn<qreal>("widthShare");
    QTest::addColumn<qreal>("heightInLines");
    QTest::addColumn<Outcome>("outcome");

    QTest::newRow("one line that fits")
        << QStringLiteral("Homepage:") << TextFlow::SingleLine << 1.0 << 1.0 << Outcome::Unchanged;
    QTest::newRow("one line a fifth too wide")
        << kSentence << TextFlow::SingleLine << 0.8 << 1.0 << Outcome::LargestFitting;
    QTest::newRow("one line, box too low for any size")
        << QStringLiteral("Homepage:") << TextFlow::SingleLine << 2.0 << 0.3 << Outcome::Smallest;
    QTest::newRow("wrapped text that fits in three lines")
        << kSentence << TextFlow::WrapWords << 0.4 << 3.2 << Outcome::Unchanged;
    QTest::newRow("wrapped text with a line too many")
        << kSentence << TextFlow::WrapWords << 0.4 << 2.2 << Outcome::LargestFitting;
    QTest::newRow("a word wider than the box")
        << QStringLiteral("Multiplayer") << TextFlow::WrapWords << 0.7 << 5.0
        << Outcome::LargestFitting;
    QTest::newRow("wrapped text in a box far too small")
        << kSentence << TextFlow::WrapWords << 0.02 << 1.0 << Outcome::Smallest;
    QTest::newRow("empty text") << QString() << TextFlow::WrapWords << 0.0 << 0.0
                                << Outcome::Unchanged;
  }

  void fontFitsTheBox() {
    QFETCH(QString, text);
    QFETCH(TextFlow, flow);
    QFETCH(qreal, widthShare);
    QFETCH(qreal, heightInLines);
    QFETCH(Outcome, outcome);

    QFont font;
    font.setPointSizeF(10);
    const QFontMetrics metrics(font);
    const QSize box(qRound(metrics.horizontalAdvance(text) * widthShare),
                    qRound(metrics.lineSpacing() * heightInLines));

    const QFont fitted = fontFittingBox(text, font, box, flow);

    switch (outcome) {
      case Outcome::Unchanged:
        QCOMPARE(fitted, font);
        break;
      case Outcome::LargestFitting: {
        QVERIFY(fitted.pointSizeF() < font.pointSizeF());
        QVERIFY(fitted.pointSizeF() > kSmallestFittedPointSize);
        QVERIFY(textFitsBox(text, fitted, box, flow));
        QFont oneStepLarger = fitted;
        oneStepLarger.setPointSizeF(fitted.pointSizeF() + 0.25);
        QVERIFY(!textFitsBox(text, oneStepLarger, box, flow));
        break;
      }
      case Outcome::Smallest:
        QCOMPARE(fitted.pointSizeF(), kSmallestFittedPointSize);
        break;
    }
    QCOMPARE(fitted.family(), font.family());
  }

  void fontSizedInPixelsIsLeftAsItIs() {
    QFont font;
    font.setPixelSize(14);
    QCOMPARE(fontFittingBox(kSentence, font, QSize(10, 10), TextFlow::WrapWords), font);
  }
};

QTEST_MAIN(TestTextFitting)
#include "tst_TextFitting.moc"
