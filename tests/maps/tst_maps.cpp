// Tests of the available-map scan, the rotation marks and the map list model.
#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "AvailableMaps.h"
#include "MapListModel.h"

using corvane::MapListModel;

namespace {

void touch(const QString& path) {
  QFile file(path);
  QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
}

}  // namespace

class tst_Maps : public QObject {
  Q_OBJECT

 private slots:
  void listsMixFilesLikeWindows();
  void leavesOutNamesTheFileCannotHold_data();
  void leavesOutNamesTheFileCannotHold();
  void scanLeavesOutMissionFiles();
  void marks_data();
  void marks();
  void addableRowsSkipMarked();
  void unmarksEveryMatch();
  void modelRemovesRows_data();
  void modelRemovesRows();
  void modelMovesRows_data();
  void modelMovesRows();
  void modelShiftsRows_data();
  void modelShiftsRows();
};

void tst_Maps::listsMixFilesLikeWindows() {
  QTemporaryDir dir;
  for (const char* name :
       {"b.mix", "A.MIX", "c.Mix", "always.dat", ".hidden.mix", "mix", "a.mixx"}) {
    touch(dir.filePath(QString::fromLatin1(name)));
  }
  QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.mix")));
  QCOMPARE(
      corvane::mixFilesIn(dir.path()),
      (QStringList{QStringLiteral("A.MIX"), QStringLiteral("b.mix"), QStringLiteral("c.Mix")}));
  // ASCII names and others sort together, each by its name in lower case.
  for (const QString& name : {QStringLiteral("\u00C4rger.mix"), QStringLiteral("Zebra.mix"),
                              QStringLiteral("\u00E4pfel.MIX"), QStringLiteral("b.MIX")}) {
    touch(dir.filePath(name));
  }
  QCOMPARE(corvane::mixFilesIn(dir.path()),
           (QStringList{QStringLiteral("A.MIX"), QStringLiteral("b.MIX"), QStringLiteral("b.mix"),
                        QStringLiteral("c.Mix"), QStringLiteral("Zebra.mix"),
                        QStringLiteral("\u00E4pfel.MIX"), QStringLiteral("\u00C4rger.mix")}));
  QCOMPARE(corvane::mixFilesIn(dir.filePath(QStringLiteral("missing"))), QStringList());
}

void tst_Maps::leavesOutNamesTheFileCannotHold_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<bool>("listed");
  QTest::newRow("plain") << QStringLiteral("C&C_Field.mix") << true;
  QTest::newRow("Windows-1252 letters") << QStringLiteral("C&C_M\u00FCller\u2122.mix") << true;
  QTest::newRow("line break") << QStringLiteral("C&C_a\nb.mix") << false;
  QTest::newRow("carriage return") << QStringLiteral("C&C_a\rb.mix") << false;
  QTest::newRow("tab") << QStringLiteral("C&C_a\tb.mix") << false;
  QTest::newRow("delete") << QStringLiteral("C&C_a\x7F" "b.mix") << false;
  QTest::newRow("outside the code page") << QStringLiteral("C&C_\u65E5\u672C.mix") << false;
  QTest::newRow("begins with the mark") << QStringLiteral("+++ C&C_Field.mix") << false;
}

void tst_Maps::leavesOutNamesTheFileCannotHold() {
  QFETCH(QString, name);
  QTemporaryDir dir;
  touch(dir.filePath(name));
  QFETCH(bool, listed);
  QCOMPARE(corvane::mixFilesIn(dir.path()).contains(name), listed);
}

void tst_Maps::scanLeavesOutMissionFiles() {
  QStringList files = corvane::MissionMapNames();
  files += {QStringLiteral("m05.mix"), QStringLiteral("M14.mix"), QStringLiteral("C&C_Under.mix"),
            QStringLiteral("skirmish00.mix")};
  QCOMPARE(corvane::ScanAvailableMaps(files),
           (QStringList{QStringLiteral("m05.mix"), QStringLiteral("M14.mix"),
                        QStringLiteral("C&C_Under.mix"), QStringLiteral("skirmish00.mix")}));
  QCOMPARE(corvane::MissionMapNames().size(), qsizetype(15));
}

void tst_Maps::marks_data() {
  QTest::addColumn<QStringList>("available");
  QTest::addColumn<QStringList>("rotation");
  QTest::addColumn<QList<int>>("marked");
  const QStringList available = {"a.mix", "B.mix", "c.mix", "a.mix"};
  QTest::newRow("each entry of a named map")
      << available << QStringList{"a.mix"} << QList<int>{0, 3};
  QTest::newRow("letter case counts") << available << QStringList{"b.mix"} << QList<int>{};
  QTest::newRow("named twice, marked once")
      << available << QStringList{"c.mix", "c.mix"} << QList<int>{2};
  QTest::newRow("missing map marks nothing") << available << QStringList{"x.mix"} << QList<int>{};
  QTest::newRow("empty name marks nothing") << available << QStringList{""} << QList<int>{};
  QTest::newRow("marked entry is not marked again")
      << QStringList{"+++ a.mix"} << QStringList{"a.mix"} << QList<int>{};
}

void tst_Maps::marks() {
  QFETCH(QStringList, available);
  QFETCH(QStringList, rotation);
  QFETCH(QList<int>, marked);
  QCOMPARE(corvane::rowsToMark(available, rotation), marked);
}

void tst_Maps::addableRowsSkipMarked() {
  const QStringList available = {"a.mix", "+++ b.mix", "c.mix", "d.mix"};
  QCOMPARE(corvane::addableRows(available, {1, 3}), (QList<int>{3}));
  QCOMPARE(corvane::addableRows(available, {}), QList<int>{});
  QCOMPARE(corvane::addableRows(available, {1}), QList<int>{});
}

void tst_Maps::unmarksEveryMatch() {
  const QStringList available = {"+++ a.mix", "a.mix", "+++ A.mix", "+++ a.mix", "+++ b.mix"};
  QCOMPARE(corvane::rowsToUnmark(available, {"a.mix"}), (QList<int>{0, 3}));
  QCOMPARE(corvane::rowsToUnmark(available, {"x.mix"}), QList<int>{});
}

void tst_Maps::modelRemovesRows_data() {
  QTest::addColumn<int>("count");
  QTest::addColumn<QList<int>>("rows");
  QTest::newRow("adjacent and scattered") << 8 << QList<int>{0, 1, 4, 7};
  QTest::newRow("everything") << 5 << QList<int>{0, 1, 2, 3, 4};
  QTest::newRow("many scattered rows, reset path") << 300 << [] {
    QList<int> rows;
    for (int row = 0; row < 300; row += 3) rows.append(row);
    return rows;
  }();
}

void tst_Maps::modelRemovesRows() {
  QFETCH(int, count);
  QFETCH(QList<int>, rows);
  MapListModel model;
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
  QStringList entries;
  for (int i = 0; i < count; ++i) entries.append(QString::number(i));
  model.setEntries(entries);
  model.removeRowList(rows);
  QStringList expected;
  for (int i = 0; i < count; ++i) {
    if (!rows.contains(i)) expected.append(QString::number(i));
  }
  QCOMPARE(model.entries(), expected);
}

void tst_Maps::modelMovesRows_data() {
  QTest::addColumn<QList<int>>("rows");
  QTest::addColumn<int>("destination");
  QTest::addColumn<QString>("order");
  QTest::addColumn<QList<int>>("newRows");
  QTest::newRow("one entry to the top") << QList<int>{3} << 0 << "30124" << QList<int>{0};
  QTest::newRow("one entry to the end") << QList<int>{1} << 5 << "02341" << QList<int>{4};
  QTest::newRow("scattered entries gather in order")
      << QList<int>{0, 2, 4} << 2 << "10243" << QList<int>{1, 2, 3};
  QTest::newRow("drop on itself changes nothing") << QList<int>{2} << 2 << "01234" << QList<int>{2};
  QTest::newRow("drop just below itself changes nothing")
      << QList<int>{2} << 3 << "01234" << QList<int>{2};
}

void tst_Maps::modelMovesRows() {
  QFETCH(QList<int>, rows);
  QFETCH(int, destination);
  MapListModel model;
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
  model.setEntries({"0", "1", "2", "3", "4"});
  QFETCH(QList<int>, newRows);
  QCOMPARE(model.moveRowList(rows, destination), newRows);
  QFETCH(QString, order);
  QCOMPARE(model.entries().join(QString()), order);
}

void tst_Maps::modelShiftsRows_data() {
  QTest::addColumn<QList<int>>("rows");
  QTest::addColumn<int>("step");
  QTest::addColumn<QString>("order");
  QTest::addColumn<QList<int>>("newRows");
  QTest::newRow("up one") << QList<int>{2} << -1 << "02134" << QList<int>{1};
  QTest::newRow("down one") << QList<int>{2} << 1 << "01324" << QList<int>{3};
  QTest::newRow("top entry stays, the one below it too")
      << QList<int>{0, 1, 3} << -1 << "01324" << QList<int>{0, 1, 2};
  QTest::newRow("bottom entry stays") << QList<int>{4} << 1 << "01234" << QList<int>{4};
  QTest::newRow("scattered entries each move")
      << QList<int>{1, 3} << 1 << "02143" << QList<int>{2, 4};
}

void tst_Maps::modelShiftsRows() {
  QFETCH(QList<int>, rows);
  QFETCH(int, step);
  MapListModel model;
  model.setEntries({"0", "1", "2", "3", "4"});
  QFETCH(QList<int>, newRows);
  QCOMPARE(model.shiftRows(rows, step), newRows);
  QFETCH(QString, order);
  QCOMPARE(model.entries().join(QString()), order);
}

QTEST_GUILESS_MAIN(tst_Maps)
#include "tst_maps.moc"
