// The map lists: the maps a Data folder offers, the rotation marks, and the list model's edits.
#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "AvailableMaps.h"
#include "MapListModel.h"

using corvane::MapListModel;

// Entries are single characters: "0", "1", ... in order.
static QString entries(int count) {
  QString text;
  for (int i = 0; i < count; ++i) text += QChar(u'0' + i);
  return text;
}

class tst_Maps : public QObject {
  Q_OBJECT

 private slots:
  void listsTheFolderLikeAWindowsFileList() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.mix")));
    for (const QString name :
         {"b.mix", "A.MIX", "c.Mix", "always.dat", ".hidden.mix", "a.mixx", "\u00C4rger.mix",
          "Zebra.mix", "\u00E4pfel.MIX", "b.MIX", "C&C_a\tb.mix", "C&C_\u65E5.mix", "+++ x.mix",
          "C&C_M\u00FCller\u2122.mix"}) {
      QVERIFY(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
    }
    // Letter case ignored in the extension and the order (names equal so in their own order);
    // hidden files, folders and names the settings file cannot hold are left out.
    QCOMPARE(corvane::mixFilesIn(dir.path()),
             (QStringList{"A.MIX", "b.MIX", "b.mix", "C&C_M\u00FCller\u2122.mix", "c.Mix",
                          "Zebra.mix", "\u00E4pfel.MIX", "\u00C4rger.mix"}));
    QCOMPARE(corvane::mixFilesIn(dir.filePath(QStringLiteral("missing"))), QStringList());
    // Mission files are left out of the available maps by their exact names.
    QCOMPARE(corvane::ScanAvailableMaps({"M05.mix", "m05.mix", "Skirmish00.mix", "C&C_Under.mix"}),
             (QStringList{"m05.mix", "C&C_Under.mix"}));
  }

  void marksAddsAndUnmarks() {
    const QStringList available = {"a.mix", "B.mix", "+++ c.mix", "a.mix"};
    QCOMPARE(corvane::rowsToMark(available, {"a.mix", "b.mix", "c.mix", "a.mix", ""}),
             (QList<int>{0, 3}));
    QCOMPARE(corvane::addableRows(available, {1, 2, 3, 9}), (QList<int>{1, 3}));
    const QStringList marked = {"+++ a.mix", "a.mix", "+++ A.mix", "+++ a.mix", "+++ b.mix"};
    QCOMPARE(corvane::rowsToUnmark(marked, {"a.mix", "x.mix"}), (QList<int>{0, 3}));
  }

  void modelEdits_data() {
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<int>("to");  // a drop before that row, or the step of a shift
    QTest::addColumn<QString>("order");
    QTest::addColumn<QList<int>>("newRows");
    QTest::newRow("remove runs of rows and single ones")
        << QList<int>{0, 1, 4, 6, 7} << 0 << "23589" << QList<int>{};
    QList<int> many;  // more than a view should hear of one by one
    for (int row = 0; row < 200; row += 3) many.append(row);
    QString kept = entries(200);
    for (qsizetype i = many.size() - 1; i >= 0; --i) kept.remove(many[i], 1);
    QTest::newRow("remove many scattered rows") << many << 0 << kept << QList<int>{};
    QTest::newRow("drop at the top") << QList<int>{3} << 0 << "3012456789" << QList<int>{0};
    QTest::newRow("drop at the end") << QList<int>{1} << 10 << "0234567891" << QList<int>{9};
    QTest::newRow("drop gathers scattered rows in order")
        << QList<int>{0, 2, 4} << 2 << "1024356789" << QList<int>{1, 2, 3};
    QTest::newRow("drop just below itself") << QList<int>{2} << 3 << entries(10) << QList<int>{2};
    QTest::newRow("shift up: the top row stays, the one below too")
        << QList<int>{0, 1, 3} << -1 << "0132456789" << QList<int>{0, 1, 2};
    QTest::newRow("shift down, the top row too")
        << QList<int>{0, 2, 9} << +1 << "1032456789" << QList<int>{1, 3, 9};
  }

  void modelEdits() {
    QFETCH(QList<int>, rows);
    QFETCH(int, to);
    QFETCH(QString, order);
    MapListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const QString tag = QTest::currentDataTag();
    model.setEntries(
        entries(tag.contains(u"many") ? 200 : 10).split(QString(), Qt::SkipEmptyParts));
    QList<int> moved;
    if (tag.startsWith(u"remove")) model.removeRowList(rows);
    if (tag.startsWith(u"drop")) moved = model.moveRowList(rows, to);
    if (tag.startsWith(u"shift")) moved = model.shiftRows(rows, to);
    QTEST(moved, "newRows");
    QCOMPARE(model.entries().join(QString()), order);
  }
};

QTEST_GUILESS_MAIN(tst_Maps)
#include "tst_maps.moc"
