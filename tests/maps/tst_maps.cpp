// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
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
    QStringList names = QStringLiteral(
                            "b.mix|A.MIX|c.Mix|always.dat|a.mixx|\u00C4rger.mix|Zebra.mix|"
                            "\u00E4pfel.MIX|+++ x.mix|C&C_\u65E5.mix|C&C_M\u00FCller\u2122.mix")
                            .split(u'|');
    QStringList listed = {"+++ x.mix",      "A.MIX", "b.mix",     "C&C_M\u00FCller\u2122.mix",
                          "C&C_\u65E5.mix", "c.Mix", "Zebra.mix", "\u00E4pfel.MIX",
                          "\u00C4rger.mix"};
#ifndef Q_OS_WIN
    // Names only POSIX file systems hold: a second letter case of a name, a tab; and a hidden
    // file, which there is one whose name begins with '.'.
    names += {"b.MIX", "C&C_a\tb.mix", ".hidden.mix"};
    listed.insert(2, QStringLiteral("b.MIX"));
    listed.insert(4, QStringLiteral("C&C_a\tb.mix"));
#endif
    for (const QString& name : names) {
      QVERIFY(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
    }
    // Letter case ignored in the extension and the order (names equal so in their own order);
    // hidden files and folders are left out, names the game cannot play are listed.
    QCOMPARE(corvane::mixFilesIn(dir.path()), listed);
    QCOMPARE(corvane::mixFilesIn(dir.filePath(QStringLiteral("missing"))), QStringList());
    // Mission files are left out of the available maps by their exact names.
    QCOMPARE(corvane::ScanAvailableMaps({"M05.mix", "m05.mix", "Skirmish00.mix", "C&C_Under.mix"}),
             (QStringList{"m05.mix", "C&C_Under.mix"}));
  }

  void tellsWhyTheGameWillNotPlayAMap_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("dataFiles");  // the Data folder's maps; empty: `name` alone
    QTest::addColumn<QString>("says");           // a word of the reason; empty: it plays
    const auto row = [](const char* tag, const QString& name, const QString& says,
                        const QStringList& dataFiles = {}) {
      QTest::newRow(tag) << name << dataFiles << says;
    };
    row("plain", "C&C_Under.mix", "");
    row("27 characters", "C&C_Twenty_Seven_Chars1.mix", "");
    row("28 characters", "C&C_Twenty_Seven_Chars12.mix", "27");
    row("a semicolon", "C&C_A;B.mix", "semicolon");
    row("a blank in front", " lead.mix", "blank");
    row("a tab", "C&C_a\tb.mix", "control");
    row("a character Windows-1252 lacks", "C&C_\u65E5.mix", "Windows-1252");
    row("the mark in front", "+++ C&C_A.mix", "+++");
    row("not in the Data folder", "C&C_Gone.mix", "Data folder", {"C&C_Under.mix"});
    row("in it in another letter case", "c&c_under.MIX", "", {"C&C_Under.mix"});
    row("in it in another case of a non-ASCII letter", "\u00C4RGER.mix", "", {"\u00E4rger.mix"});
  }

  void tellsWhyTheGameWillNotPlayAMap() {
    QFETCH(QString, name);
    QFETCH(QStringList, dataFiles);
    QFETCH(QString, says);
    const QString why =
        corvane::rotationReasons({name}, dataFiles.isEmpty() ? QStringList{name} : dataFiles)
            .value(0, QStringLiteral("none"));
    if (says.isEmpty()) QCOMPARE(why, QString());
    if (!says.isEmpty()) QVERIFY2(why.contains(says), qPrintable(why));
    // A file of the Data folder shows the same reason in Available Maps as in the rotation.
    if (dataFiles.isEmpty()) QCOMPARE(corvane::unplayableReason(name), why);
  }

  void marksAddsAndUnmarksPlayableMapsOnly() {
    // The last two are files the game cannot play: their names are never marks.
    const QStringList available = {"a.mix", "B.mix", "+++ c.mix", "a.mix", "+++ a.mix", "d;.mix"};
    const QStringList reasons = {"", "", "", "", "unplayable", "unplayable"};
    QCOMPARE(
        corvane::rowsToMark(available, reasons, {"a.mix", "b.mix", "c.mix", "a.mix", "d;.mix"}),
        (QList<int>{0, 3}));
    QCOMPARE(corvane::addableRows(available, reasons, {1, 2, 3, 4, 5, 9}), (QList<int>{1, 3}));
    const QStringList marked = {"+++ a.mix", "a.mix",     "+++ A.mix",
                                "+++ a.mix", "+++ b.mix", "+++ a.mix"};
    QCOMPARE(corvane::rowsToUnmark(marked, {"", "", "", "", "", "unplayable"}, {"a.mix", "x.mix"}),
             (QList<int>{0, 3}));
  }

  void findsTheSameEntriesAfterTheListChanged() {
    // Names are compared without the mark, the second copy of a name found as the second.
    const QStringList before = {"a.mix", "+++ b.mix", "a.mix", "c.mix"};
    QCOMPARE(corvane::sameEntryRows(before, {1, 2, 3}, {"b.mix", "a.mix", "+++ a.mix", "a.mix"}),
             (QList<int>{0, 2}));
    QCOMPARE(corvane::sameEntryRows(before, {0}, {"c.mix"}), QList<int>());
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
    const QStringList texts =
        entries(tag.contains(u"many") ? 200 : 10).split(QString(), Qt::SkipEmptyParts);
    // Every third entry carries a reason, its own text; the entries from row 8 on, the limit's.
    // Every other one, a note.
    QStringList reasons;
    QStringList notes;
    for (int row = 0; row < texts.size(); ++row) {
      reasons.append(row % 3 ? "" : texts[row]);
      notes.append(row % 2 ? "" : texts[row]);
    }
    model.setEntries(texts, reasons);
    model.setNotes(notes);
    model.setRowLimit(8, QStringLiteral("late"));
    QList<int> moved;
    if (tag.startsWith(u"remove")) model.removeRowList(rows);
    if (tag.startsWith(u"drop")) moved = model.moveRowList(rows, to);
    if (tag.startsWith(u"shift")) moved = model.shiftRows(rows, to);
    QTEST(moved, "newRows");
    QCOMPARE(model.entries().join(QString()), order);
    for (int row = 0; row < model.rowCount(); ++row) {
      const QString text = model.entries()[row];
      const QString own = reasons[texts.indexOf(text)];
      QCOMPARE(model.reason(row), own.isEmpty() && row >= 8 ? QStringLiteral("late") : own);
      QCOMPARE(model.note(row), notes[texts.indexOf(text)]);
    }
  }
};

QTEST_GUILESS_MAIN(tst_Maps)
#include "tst_maps.moc"
