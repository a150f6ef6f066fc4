// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Editing the rotation through real mouse and key events: Add, Remove, the double-clicks, the
// buttons following the selections, and moving entries.
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

#include "GameWindow.h"

using corvane::testing::GameWindow;

namespace {

const QStringList kMaps = {"C&C_A.mix", "C&C_B.mix", "C&C_C.mix", "C&C_D.mix"};

QByteArray rotationOf(const QStringList& maps) {
  QByteArray lines = "[Settings]\r\n";
  for (int n = 0; n < maps.size(); ++n) {
    lines += corvane::mapKeyName(n + 1).toLatin1() + '=' + maps[n].toLatin1() + "\r\n";
  }
  return lines;
}

}  // namespace

class tst_Rotation : public QObject {
  Q_OBJECT

 private slots:
  void addTakesTheSelectedUnmarkedMaps() {
    GameWindow t(kMaps, rotationOf({"C&C_X.mix", "C&C_A.mix"}));
    frmSkirmish& w = t.window;
    GameWindow::click(w.lstRenData, 0);  // a marked map: nothing to add
    QTest::mouseClick(w.cmdAdd, Qt::LeftButton);
    GameWindow::click(w.lstRenData, 1);
    GameWindow::click(w.lstRenData, 3, Qt::ControlModifier);
    QTest::mouseClick(w.cmdAdd, Qt::LeftButton);
    QTest::mouseClick(w.cmdAdd, Qt::LeftButton);  // the same selection again adds nothing
    QCOMPARE(t.rotation(), (QStringList{"C&C_X.mix", "C&C_A.mix", "C&C_B.mix", "C&C_D.mix"}));
    QCOMPARE(t.available(),
             (QStringList{"+++ C&C_A.mix", "+++ C&C_B.mix", "C&C_C.mix", "+++ C&C_D.mix"}));
    GameWindow::click(w.lstRenData, 2, {}, true);
    QCOMPARE(t.rotation().last(), QStringLiteral("C&C_C.mix"));
  }

  void removeTakesEverySelectedEntryAndItsMark() {
    GameWindow t(kMaps, rotationOf({"C&C_A.mix", "C&C_B.mix", "C&C_Gone.mix", "C&C_C.mix",
                                    "c&c_d.mix", "C&C_D.mix", "C&C_C.mix"}));
    frmSkirmish& w = t.window;
    GameWindow::click(w.lstMaps, 0);
    GameWindow::click(w.lstMaps, 2, Qt::ShiftModifier);
    GameWindow::click(w.lstMaps, 4, Qt::ControlModifier);
    GameWindow::click(w.lstMaps, 6, Qt::ControlModifier);
    QTest::mouseClick(w.cmdRemove, Qt::LeftButton);
    QCOMPARE(t.rotation(), (QStringList{"C&C_C.mix", "C&C_D.mix"}));
    // A removed map loses its mark even while another copy stays, so that it can be added again;
    // marks compare letter case.
    QCOMPARE(t.available(), (QStringList{"C&C_A.mix", "C&C_B.mix", "C&C_C.mix", "+++ C&C_D.mix"}));
    GameWindow::click(w.lstMaps, 0, {}, true);
    QCOMPARE(t.rotation(), QStringList{"C&C_D.mix"});
  }

  void buttonsFollowTheSelections() {
    GameWindow t(kMaps, rotationOf({"C&C_A.mix"}));
    frmSkirmish& w = t.window;
    QVERIFY(!w.cmdAdd->isEnabled());
    QVERIFY(!w.cmdRemove->isEnabled());
    GameWindow::click(w.lstRenData, 2);
    GameWindow::click(w.lstMaps, 0);
    QVERIFY(w.cmdAdd->isEnabled());
    QVERIFY(w.cmdRemove->isEnabled());
    // A Load refills both lists with nothing selected.
    t.desktop.fileAnswers.enqueue(t.game.path());
    QTest::mouseClick(w.cmdLoad, Qt::LeftButton);
    QCOMPARE(t.rotation(), QStringList{"C&C_A.mix"});
    QVERIFY(!w.cmdAdd->isEnabled());
    QVERIFY(!w.cmdRemove->isEnabled());
    GameWindow::click(w.lstRenData, 2);
    GameWindow::click(w.lstMaps, 0);
    GameWindow::click(w.lstRenData, 2, Qt::ControlModifier);  // deselects
    QVERIFY(!w.cmdAdd->isEnabled());
    QTest::mouseClick(w.cmdRemove, Qt::LeftButton);
    QVERIFY(!w.cmdRemove->isEnabled());
    // Also after a removal of many entries, which the list takes in one reset.
    w.lstMaps->mapModel()->setEntries(QList<QString>(70, QStringLiteral("C&C_A.mix")));
    w.lstMaps->selectAll();
    QTest::mouseClick(w.cmdRemove, Qt::LeftButton);
    QCOMPARE(t.rotation(), QStringList());
    QVERIFY(!w.cmdRemove->isEnabled());
  }

  void mapsTheGameCannotPlayAreGreyedWithTheirReason() {
    const QString tooLong = QStringLiteral("C&C_Twenty_Seven_Chars12.mix");
    QStringList rotation(98, QStringLiteral("C&C_A.mix"));  // the game plays 99 entries
    rotation << QStringLiteral("C&C_Gone.mix") << QStringLiteral("c&c_b.MIX");
    GameWindow t(kMaps + QStringList{" lead.mix", tooLong, "+++ C&C_B.mix"}, rotationOf(rotation));
    frmSkirmish& w = t.window;
    QStringList available = {" lead.mix", "+++ C&C_B.mix", "+++ C&C_A.mix", "C&C_B.mix",
                             "C&C_C.mix", "C&C_D.mix",     tooLong};
    QCOMPARE(t.available(), available);
    const auto tip = [](corvane::MapListView* list, int row) {
      return list->model()->index(row, 0).data(Qt::ToolTipRole).toString();
    };
    for (int row = 0; row < available.size(); ++row) {
      QCOMPARE(tip(w.lstRenData, row).isEmpty(), row >= 2 && row <= 5);
    }
    // Files the game cannot play are never selected, not by a click, a double-click or Ctrl+A,
    // and never added or marked.
    GameWindow::click(w.lstRenData, 0, {}, true);
    QVERIFY(!w.cmdAdd->isEnabled());
    QCOMPARE(t.rotation(), rotation);
    // Ranges take the rows that can be selected, also from or to a greyed first or last row.
    GameWindow::click(w.lstRenData, 4, Qt::ShiftModifier);  // from the top: nothing selected yet
    QCOMPARE(w.lstRenData->selectedRows(), (QList<int>{2, 3, 4}));
    QTest::keyClick(w.lstRenData, Qt::Key_End);
    QTest::keyClick(w.lstRenData, Qt::Key_Home, Qt::ShiftModifier);
    QCOMPARE(w.lstRenData->selectedRows(), (QList<int>{2, 3, 4, 5}));
    GameWindow::click(w.lstRenData, 3);
    GameWindow::click(w.lstRenData, 6, Qt::ShiftModifier);
    QCOMPARE(w.lstRenData->selectedRows(), (QList<int>{3, 4, 5}));
    QTest::keyClick(w.lstRenData, Qt::Key_A, Qt::ControlModifier);
    QTest::mouseClick(w.cmdAdd, Qt::LeftButton);
    QCOMPARE(t.rotation(), (rotation + QStringList{"C&C_B.mix", "C&C_C.mix", "C&C_D.mix"}));
    for (const int row : {3, 4, 5}) available[row].prepend(corvane::RotationMark);
    QCOMPARE(t.available(), available);

    // The rotation's entry missing from the Data folder and those after the 99th are greyed but
    // stay: they move, and save, as any other.
    const int last = 98;  // the last row the game plays
    QVERIFY(tip(w.lstMaps, last).contains(u"Data folder"));
    QVERIFY(tip(w.lstMaps, last - 1).isEmpty());
    QVERIFY(!tip(w.lstMaps, last + 1).isEmpty());  // in the Data folder, but too late
    GameWindow::click(w.lstMaps, last + 1);
    QTest::keyClick(w.lstMaps, Qt::Key_Up, Qt::AltModifier);
    QCOMPARE(tip(w.lstMaps, last), QString());
    QVERIFY(tip(w.lstMaps, last + 1).contains(u"Data folder"));
    GameWindow::click(w.lstMaps, last - 1);
    QTest::keyClick(w.lstMaps, Qt::Key_Down, Qt::AltModifier);
    QTest::keyClick(w.lstMaps, Qt::Key_Down, Qt::AltModifier);
    QVERIFY(!tip(w.lstMaps, last + 1).isEmpty());  // a "C&C_A.mix", now too late
    GameWindow::click(w.lstMaps, last - 3);
    const auto look = [&w](int row) {
      const QRect rect = w.lstMaps->visualRect(w.lstMaps->model()->index(row, 0));
      return w.lstMaps->viewport()->grab(rect).toImage();
    };
    QVERIFY(look(last + 1) != look(last - 2));  // both "C&C_A.mix", the first greyed
    t.save();
    QVERIFY(t.game.read().contains("MapName103=C&C_D.mix"));
    QVERIFY(t.game.read().contains("MapName99=C&C_Gone.mix"));
  }

  void listsFollowTheDataFolder() {
    GameWindow t(kMaps, rotationOf({"C&C_0.mix", "C&C_A.mix"}));
    frmSkirmish& w = t.window;
    GameWindow::click(w.lstRenData, 1);  // C&C_B.mix
    GameWindow::click(w.lstMaps, 1);
    const auto missing = [&w] {
      return w.lstMaps->model()->index(0, 0).data(Qt::ToolTipRole).toString().contains(u"Data");
    };
    QVERIFY(missing());
    QFile(t.game.path(QStringLiteral("C&C_0.mix"))).open(QIODevice::WriteOnly);  // copied in
    QVERIFY(QFile::remove(t.game.path(QStringLiteral("C&C_C.mix"))));
    QTRY_COMPARE(t.available(),
                 (QStringList{"+++ C&C_0.mix", "+++ C&C_A.mix", "C&C_B.mix", "C&C_D.mix"}));
    QVERIFY(!missing());
    QCOMPARE(w.lstRenData->selectedRows(), QList<int>{2});
    QCOMPARE(w.lstMaps->selectedRows(), QList<int>{1});
    QVERIFY(!w.hasUnsavedEdits());                   // a new file is no edit
    QTest::mouseClick(w.cmdRemove, Qt::LeftButton);  // also with unsaved edits
    QVERIFY(QFile::remove(t.game.path(QStringLiteral("C&C_0.mix"))));
    QTRY_COMPARE(t.available(), (QStringList{"C&C_A.mix", "C&C_B.mix", "C&C_D.mix"}));
    QVERIFY(missing());
    QCOMPARE(t.rotation(), QStringList{"C&C_0.mix"});
  }

  void altArrowsAndDropsMoveEntriesThatSaveInTheirNewOrder() {
    GameWindow t(kMaps, rotationOf(kMaps));
    frmSkirmish& w = t.window;
    const QStringList marks = t.available();
    GameWindow::click(w.lstMaps, 2);
    QTest::keyClick(w.lstMaps, Qt::Key_Up, Qt::AltModifier);
    QTest::keyClick(w.lstMaps, Qt::Key_Up, Qt::AltModifier);
    QTest::keyClick(w.lstMaps, Qt::Key_Up, Qt::AltModifier);        // already at the top: stays
    QTest::keyClick(w.lstMaps, Qt::Key_Down, Qt::ControlModifier);  // the cursor alone moves
    QCOMPARE(t.rotation(), (QStringList{"C&C_C.mix", "C&C_A.mix", "C&C_B.mix", "C&C_D.mix"}));
    QCOMPARE(w.lstMaps->selectedRows(), QList<int>{0});
    QCOMPARE(t.available(), marks);
    // Available Maps has no order to change: there Alt+arrows do not move the selection either.
    GameWindow::click(w.lstRenData, 1);
    QTest::keyClick(w.lstRenData, Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(w.lstRenData->selectedRows(), QList<int>{1});
    QTest::keyClick(w.lstRenData, Qt::Key_Up, Qt::AltModifier);
    QTest::keyClick(w.lstRenData, Qt::Key_Up, Qt::AltModifier);
    QCOMPARE(w.lstRenData->selectedRows(), QList<int>{1});
    QCOMPARE(t.available(), marks);

    // Two entries dropped on the lower half of the last, as the list's own drag carries them;
    // the other list's entries are refused.
    GameWindow::click(w.lstMaps, 1, Qt::ControlModifier);
    const QRect last = w.lstMaps->visualRect(w.lstMaps->model()->index(3, 0));
    const QPointF at(last.center().x(), last.bottom() - 1);
    for (corvane::MapListView* from : {w.lstRenData, w.lstMaps}) {
      QCOMPARE(t.rotation(), (QStringList{"C&C_C.mix", "C&C_A.mix", "C&C_B.mix", "C&C_D.mix"}));
      const std::unique_ptr<QMimeData> data(from->selectionMimeData());
      QDragEnterEvent enter(at.toPoint(), Qt::MoveAction, data.get(), Qt::LeftButton, {});
      QApplication::sendEvent(w.lstMaps->viewport(), &enter);
      QDropEvent drop(at, Qt::MoveAction, data.get(), Qt::LeftButton, {});
      QApplication::sendEvent(w.lstMaps->viewport(), &drop);
    }
    QCOMPARE(t.rotation(), (QStringList{"C&C_B.mix", "C&C_D.mix", "C&C_C.mix", "C&C_A.mix"}));
    QCOMPARE(w.lstMaps->selectedRows(), (QList<int>{2, 3}));
    t.save();
    QVERIFY(t.game.read().contains(rotationOf(t.rotation()).mid(12)));
  }
};

QTEST_MAIN(tst_Rotation)
#include "tst_rotation.moc"
