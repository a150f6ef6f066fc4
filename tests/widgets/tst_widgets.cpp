// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The widgets the windows share: fitting a text into a fixed box, and a link label answering to
// activation only.
#include <QSignalSpy>
#include <QtTest>

#include "LinkLabel.h"
#include "TextFitting.h"

using namespace corvane::widgets;

Q_DECLARE_METATYPE(TextFlow)

namespace {

const QString kSentence = QStringLiteral(
    "This simple application makes it easy to change the gameplay settings of the practice mode "
    "and enables you to add your own maps.");

}  // namespace

class tst_Widgets : public QObject {
  Q_OBJECT

 private slots:
  void fontFitsTheBox_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<TextFlow>("flow");
    // The box in parts of the text's own width and line height at 10 pt, so that rows hold
    // whatever fonts the machine has.
    QTest::addColumn<qreal>("widthShare");
    QTest::addColumn<qreal>("heightInLines");
    QTest::addColumn<bool>("smaller");
    QTest::newRow("one line that fits")
        << "Homepage:" << TextFlow::SingleLine << 1.0 << 1.0 << false;
    QTest::newRow("one line a fifth too wide")
        << kSentence << TextFlow::SingleLine << 0.8 << 1.0 << true;
    QTest::newRow("wrapped text a line too long")
        << kSentence << TextFlow::WrapWords << 0.4 << 2.2 << true;
    QTest::newRow("a word wider than the box")
        << "Multiplayer" << TextFlow::WrapWords << 0.7 << 5.0 << true;
  }

  void fontFitsTheBox() {
    QFETCH(QString, text);
    QFETCH(TextFlow, flow);
    QFETCH(qreal, widthShare);
    QFETCH(qreal, heightInLines);
    QFont font;
    font.setPointSizeF(10);
    const QFontMetrics metrics(font);
    const QSize box(qRound(metrics.horizontalAdvance(text) * widthShare),
                    qRound(metrics.lineSpacing() * heightInLines));
    const QFont fitted = fontFittingBox(text, font, box, flow);
    QTEST(fitted.pointSizeF() < 10, "smaller");
    QCOMPARE(fitted.family(), font.family());
    if (fitted.pointSizeF() > kSmallestFittedPointSize) {
      // The largest size that fits, to a quarter point.
      QVERIFY(textFitsBox(text, fitted, box, flow));
      QFont larger = fitted;
      larger.setPointSizeF(fitted.pointSizeF() + 0.25);
      QVERIFY(fitted.pointSizeF() == 10 || !textFitsBox(text, larger, box, flow));
    }
  }

  void linkAnswersToActivationOnly() {
    LinkLabel link;
    link.setText(QStringLiteral("https://example.org"));
    link.show();
    QVERIFY(QTest::qWaitForWindowExposed(&link));
    QSignalSpy clicks(&link, &LinkLabel::clicked);
    QTest::mouseClick(&link, Qt::RightButton);
    QTest::mousePress(&link, Qt::LeftButton);
    QTest::mouseRelease(&link, Qt::LeftButton, {}, QPoint(link.width() + 20, -20));  // moved off
    QTest::keyClick(&link, Qt::Key_A);
    QCOMPARE(clicks.count(), 0);
    QTest::mouseClick(&link, Qt::LeftButton);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space})
      QTest::keyClick(&link, key);
    QCOMPARE(clicks.count(), 4);
  }
};

QTEST_MAIN(tst_Widgets)
#include "tst_widgets.moc"
