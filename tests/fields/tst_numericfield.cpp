// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The numeric fields: typed keys, pastes and text set by the program all end as a number.
#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>

#include "NumericField.h"

using corvane::NumericField;

class tst_NumericField : public QObject {
  Q_OBJECT

 private slots:
  void typedKeys_data() {
    QTest::addColumn<QString>("initial");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QString>("typed");  // "\b" is Backspace
    QTest::addColumn<QString>("result");
    QTest::newRow("letters, signs, blanks and points are dropped") << "" << 5 << "a-1 +2.e/"
                                                                   << "12";
    QTest::newRow("zeros only become 0") << "" << 5 << "000"
                                         << "0";
    QTest::newRow("deleting every digit leaves 0") << "12" << 5 << "\b\b\b"
                                                   << "0";
    // The 0 put into a cleared field is replaced by what is typed next, not followed by it.
    QTest::newRow("credits cleared and typed anew") << "10000" << 5 << "\b\b\b\b\b10000"
                                                    << "10000";
  }

  void typedKeys() {
    QFETCH(QString, initial);
    QFETCH(int, maxLength);
    QFETCH(QString, typed);
    NumericField field(initial, maxLength);
    field.show();
    field.setText(initial);
    field.end(false);
    for (const QChar c : typed) {
      if (c == u'\b') {
        QTest::keyClick(&field, Qt::Key_Backspace);
      } else {
        QTest::keyClicks(&field, QString(c));
      }
    }
    QTEST(field.text(), "result");
  }

  void pastedAndSetText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result");
    QTest::newRow("a number") << "250"
                              << "250";
    QTest::newRow("too long, cut to the limit") << "12345"
                                                << "123";
    QTest::newRow("leading zeros stay") << "009"
                                        << "009";
    QTest::newRow("cut to zeros") << "0009"
                                  << "0";
    for (const char* text : {"abc", "-5", "1.5", " 42", "+42", "1e3", "\u0661"}) {
      QTest::newRow(text) << QString::fromUtf8(text) << "0";
    }
  }

  void pastedAndSetText() {
    QFETCH(QString, text);
    NumericField field(QStringLiteral("300"), 3);
    field.show();
    QSignalSpy changes(&field, &QLineEdit::textChanged);
    field.setText(text);  // a repair raises one more change, and no further one
    QTEST(field.text(), "result");
    QCOMPARE(changes.count(), field.text() == text.left(3) ? 1 : 2);
    QApplication::clipboard()->setText(text);
    field.selectAll();
    QTest::keyClick(&field, Qt::Key_V, Qt::ControlModifier);
    QTEST(field.text(), "result");
  }
};

QTEST_MAIN(tst_NumericField)
#include "tst_numericfield.moc"
