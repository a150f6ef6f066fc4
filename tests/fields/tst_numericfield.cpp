// Tests of the numeric fields, driven by real key events, pastes and program-set text.
#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>

#include "NumericField.h"

using corvane::NumericField;

class tst_NumericField : public QObject {
  Q_OBJECT

 private slots:
  void typedKeys_data();
  void typedKeys();
  void backspaceWorksOnTheLastCharacter();
  void pastedText_data();
  void pastedText();
  void programSetText_data();
  void programSetText();
  void repairRaisesOneMoreChangeOnly();
  void numberRule_data();
  void numberRule();
};

void tst_NumericField::typedKeys_data() {
  QTest::addColumn<QString>("initial");
  QTest::addColumn<int>("maxLength");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("result");
  QTest::newRow("digits are inserted") << "" << 5 << "123"
                                       << "123";
  QTest::newRow("letters, signs, blanks and points are dropped") << "" << 5 << "a-1 +2.e"
                                                                 << "12";
  QTest::newRow("a digit after a lone zero stays") << "0" << 3 << "5"
                                                   << "05";
  QTest::newRow("zeros only become 0") << "" << 5 << "000"
                                       << "0";
  QTest::newRow("no fourth character in the time limit") << "" << 3 << "1234"
                                                         << "123";
  QTest::newRow("no sixth character in the credits") << "" << 5 << "999999"
                                                     << "99999";
}

void tst_NumericField::typedKeys() {
  QFETCH(QString, initial);
  QFETCH(int, maxLength);
  NumericField field(initial, maxLength);
  field.setText(initial);
  field.end(false);
  field.show();
  QFETCH(QString, typed);
  QTest::keyClicks(&field, typed);
  QFETCH(QString, result);
  QCOMPARE(field.text(), result);
}

void tst_NumericField::backspaceWorksOnTheLastCharacter() {
  NumericField field(QStringLiteral("12"), 5);
  field.show();
  field.end(false);
  QTest::keyClick(&field, Qt::Key_Backspace);
  QCOMPARE(field.text(), QStringLiteral("1"));
  QTest::keyClick(&field, Qt::Key_Backspace);
  QCOMPARE(field.text(), QStringLiteral("0"));  // deleting every digit leaves 0
  field.selectAll();
  QTest::keyClick(&field, Qt::Key_Backspace);
  QCOMPARE(field.text(), QStringLiteral("0"));
  QTest::keyClick(&field, Qt::Key_Return);
  QTest::keyClick(&field, Qt::Key_Escape);
  QCOMPARE(field.text(), QStringLiteral("0"));
}

void tst_NumericField::pastedText_data() {
  QTest::addColumn<QString>("clipboard");
  QTest::addColumn<QString>("result");
  QTest::newRow("a number") << "250"
                            << "250";
  QTest::newRow("not a number") << "abc"
                                << "0";
  QTest::newRow("a negative number") << "-5"
                                     << "0";
  QTest::newRow("a decimal number") << "1.5"
                                    << "0";
  QTest::newRow("too long, cut to the limit") << "12345"
                                              << "123";
}

void tst_NumericField::pastedText() {
  NumericField field(QStringLiteral("300"), 3);
  field.show();
  QFETCH(QString, clipboard);
  QApplication::clipboard()->setText(clipboard);
  field.selectAll();
  QTest::keyClick(&field, Qt::Key_V, Qt::ControlModifier);
  QFETCH(QString, result);
  QCOMPARE(field.text(), result);
}

void tst_NumericField::programSetText_data() {
  QTest::addColumn<int>("maxLength");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("result");
  QTest::newRow("four-digit time limit shows three") << 3 << "1000"
                                                     << "100";
  QTest::newRow("six-digit credits show five") << 5 << "999999"
                                               << "99999";
  QTest::newRow("not a number") << 3 << "abc"
                                << "0";
  QTest::newRow("negative") << 3 << "-5"
                            << "0";
  QTest::newRow("empty") << 5 << ""
                         << "0";
  QTest::newRow("leading zeros stay") << 5 << "00250"
                                      << "00250";
  QTest::newRow("cut to zeros") << 3 << "0009"
                                << "0";
}

void tst_NumericField::programSetText() {
  QFETCH(int, maxLength);
  NumericField field(QStringLiteral("1"), maxLength);
  QFETCH(QString, text);
  field.setText(text);
  QFETCH(QString, result);
  QCOMPARE(field.text(), result);
}

void tst_NumericField::repairRaisesOneMoreChangeOnly() {
  NumericField field(QStringLiteral("5"), 3);
  QSignalSpy changes(&field, &QLineEdit::textChanged);
  field.setText(QStringLiteral("x"));
  QCOMPARE(changes.count(), 2);  // "x", and the repair to "0" (which causes no further change)
  QCOMPARE(field.text(), QStringLiteral("0"));
}

void tst_NumericField::numberRule_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("repaired");
  QTest::newRow("plain number") << "42"
                                << "42";
  QTest::newRow("zero") << "0"
                        << "0";
  QTest::newRow("blanks around") << " 42 "
                                 << "0";
  QTest::newRow("sign") << "+42"
                        << "0";
  QTest::newRow("exponent") << "1e3"
                            << "0";
  QTest::newRow("separator") << "1,000"
                             << "0";
  QTest::newRow("non-ASCII digits") << "\u0661\u0662"
                                    << "0";
}

void tst_NumericField::numberRule() {
  QFETCH(QString, text);
  QFETCH(QString, repaired);
  QCOMPARE(corvane::repairedFieldText(text), repaired);
}

QTEST_MAIN(tst_NumericField)
#include "tst_numericfield.moc"
