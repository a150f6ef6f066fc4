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
    QTest::addColumn<QString>("initial");  // of a field of 5 digits
    QTest::addColumn<QString>("typed");    // "\b" is Backspace
    QTest::addColumn<QString>("result");
    const auto row = [](const char* tag, const char* from, const char* typed, const char* to) {
      QTest::newRow(tag) << QString(from) << QString(typed) << QString(to);
    };
    row("letters, signs, blanks and points are dropped", "", "a-1 +2.e/", "12");
    row("zeros only become 0", "", "000", "0");
    row("deleting every digit leaves 0", "12", "\b\b\b", "0");
    // The 0 put into a cleared field is replaced by what is typed next, not followed by it.
    row("credits cleared and typed anew", "10000", "\b\b\b\b\b10000", "10000");
  }

  void typedKeys() {
    QFETCH(QString, initial);
    QFETCH(QString, typed);
    NumericField field(initial, 5);
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
    const auto row = [](const char* text, const char* result, const char* tag = nullptr) {
      QTest::newRow(tag ? tag : text) << QString::fromUtf8(text) << QString::fromUtf8(result);
    };
    row("250", "250", "a number");
    row("12345", "123", "too long, cut to the limit");
    row("009", "009", "leading zeros stay");
    row("0009", "0", "cut to zeros");
    for (const char* text : {"abc", "-5", "1.5", " 42", "+42", "1e3", "\u0661"}) row(text, "0");
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
