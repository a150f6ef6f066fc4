// Tests of editing the rotation: Add, Remove, the double-clicks, the buttons following the
// selections, and moving entries, all through real mouse and key events.
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

#include "ScriptedDesktop.h"
#include "WindowFixture.h"

namespace {

// Clicks entry `row` of `list` with `modifiers` (Ctrl toggles, Shift extends).
void clickRow(corvane::MapListView* list, int row, Qt::KeyboardModifiers modifiers = {}) {
  const QRect rect = list->visualRect(list->model()->index(row, 0));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, rect.center());
}

void doubleClickRow(corvane::MapListView* list, int row) {
  const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

struct RotationWindow {
  ScriptedDesktop desktop;
  GameFolder game;
  frmSkirmish window{desktop};

  RotationWindow(const QStringList& maps, const QByteArray& settings) : game(maps) {
    game.writeSettings("[Settings]\r\n" + settings);
    findGame(window, game);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
  }
};

const QStringList kFourMaps = {"C&C_A.mix", "C&C_B.mix", "C&C_C.mix", "C&C_D.mix"};

}  // namespace

class tst_Rotation : public QObject {
  Q_OBJECT

 private slots:
  void addAppendsSelectedUnmarkedMaps();
  void addWithNothingToAddChangesNothing();
  void removeTakesEverySelectedEntry();
  void removeOfUnknownMapOnlyDeletes();
  void removeOfOneCopyUnmarksTheMap();
  void removeComparesLetterCase();
  void buttonsFollowSelections();
  void doubleClicksAddAndRemove();
  void altArrowsMoveSelection();
  void ctrlArrowsMoveCursorOnly();
  void dropMovesEntries();
  void saveWritesMovedOrder();
};

void tst_Rotation::addAppendsSelectedUnmarkedMaps() {
  RotationWindow t(kFourMaps, "MapName01=C&C_X.mix\r\n");
  frmSkirmish& w = t.window;
  clickRow(w.lstRenData, 1);
  clickRow(w.lstRenData, 3, Qt::ControlModifier);
  QVERIFY(w.cmdAdd->isEnabled());
  QTest::mouseClick(w.cmdAdd, Qt::LeftButton);
  QCOMPARE(rotationEntries(w), (QStringList{"C&C_X.mix", "C&C_B.mix", "C&C_D.mix"}));
  QCOMPARE(availableEntries(w),
           (QStringList{"C&C_A.mix", "+++ C&C_B.mix", "C&C_C.mix", "+++ C&C_D.mix"}));
  QVERIFY(w.cmdAdd->isEnabled());
  QTest::mouseClick(w.cmdAdd, Qt::LeftButton);  // the same selection again adds nothing
  QCOMPARE(rotationEntries(w).size(), qsizetype(3));
}

void tst_Rotation::addWithNothingToAddChangesNothing() {
  RotationWindow t(kFourMaps, "MapName01=C&C_B.mix\r\n");
  frmSkirmish& w = t.window;
  clickRow(w.lstRenData, 1);  // only a marked entry selected
  QTest::mouseClick(w.cmdAdd, Qt::LeftButton);
  QCOMPARE(rotationEntries(w), QStringList{"C&C_B.mix"});
  w.lstRenData->clearSelection();
  w.lstRenData_DblClick();  // a double-click with no selection
  QCOMPARE(rotationEntries(w), QStringList{"C&C_B.mix"});
}

void tst_Rotation::removeTakesEverySelectedEntry() {
  RotationWindow t(kFourMaps,
                   "MapName01=C&C_A.mix\r\nMapName02=C&C_B.mix\r\nMapName03=C&C_C.mix\r\n"
                   "MapName04=C&C_D.mix\r\nMapName05=C&C_E.mix\r\n");
  frmSkirmish& w = t.window;
  clickRow(w.lstMaps, 0);
  clickRow(w.lstMaps, 1, Qt::ShiftModifier);
  clickRow(w.lstMaps, 3, Qt::ControlModifier);
  QTest::mouseClick(w.cmdRemove, Qt::LeftButton);
  QCOMPARE(rotationEntries(w), (QStringList{"C&C_C.mix", "C&C_E.mix"}));
  QCOMPARE(availableEntries(w),
           (QStringList{"C&C_A.mix", "C&C_B.mix", "+++ C&C_C.mix", "C&C_D.mix"}));
}

void tst_Rotation::removeOfUnknownMapOnlyDeletes() {
  RotationWindow t(kFourMaps, "MapName01=C&C_Gone.mix\r\nMapName02=C&C_A.mix\r\n");
  frmSkirmish& w = t.window;
  clickRow(w.lstMaps, 0);
  QTest::mouseClick(w.cmdRemove, Qt::LeftButton);
  QCOMPARE(rotationEntries(w), QStringList{"C&C_A.mix"});
  QCOMPARE(availableEntries(w).front(), QStringLiteral("+++ C&C_A.mix"));
}

void tst_Rotation::removeOfOneCopyUnmarksTheMap() {
  RotationWindow t(kFourMaps, "MapName01=C&C_A.mix\r\nMapName02=C&C_A.mix\r\n");
  frmSkirmish& w = t.window;
  clickRow(w.lstMaps, 1);
  QTest::mouseClick(w.cmdRemove, Qt::LeftButton);
  QCOMPARE(rotationEntries(w), QStringList{"C&C_A.mix"});
  QCOMPARE(availableEntries(w).front(), QStringLiteral("C&C_A.mix"));
  clickRow(w.lstRenData, 0);
  QTest::mouseClick(w.cmdAdd, Qt::LeftButton);  // so the map can be added once more
  QCOMPARE(rotationEntries(w), (QStringList{"C&C_A.mix", "C&C_A.mix"}));
}

void tst_Rotation::removeComparesLetterCase() {
  RotationWindow t(kFourMaps, "MapName01=C&C_A.mix\r\nMapName02=c&c_a.mix\r\n");
  frmSkirmish& w = t.window;
  clickRow(w.lstMaps, 1);
  QTest::mouseClick(w.cmdRemove, Qt::LeftButton);
  QCOMPARE(availableEntries(w).front(), QStringLiteral("+++ C&C_A.mix"));
}

void tst_Rotation::buttonsFollowSelections() {
  RotationWindow t(kFourMaps, "MapName01=C&C_A.mix\r\n");
  frmSkirmish& w = t.window;
  QVERIFY(!w.cmdAdd->isEnabled());
  QVERIFY(!w.cmdRemove->isEnabled());
  clickRow(w.lstRenData, 2);
  clickRow(w.lstMaps, 0);
  QVERIFY(w.cmdAdd->isEnabled());
  QVERIFY(w.cmdRemove->isEnabled());
  clickRow(w.lstRenData, 2, Qt::ControlModifier);  // deselects
  QVERIFY(!w.cmdAdd->isEnabled());
  clickRow(w.lstRenData, 3);
  QTest::mouseClick(w.cmdRemove, Qt::LeftButton);
  QVERIFY(!w.cmdRemove->isEnabled());
  QVERIFY(w.cmdAdd->isEnabled());  // the available list still has its selection
}

void tst_Rotation::doubleClicksAddAndRemove() {
  RotationWindow t(kFourMaps, "");
  frmSkirmish& w = t.window;
  doubleClickRow(w.lstRenData, 2);
  QCOMPARE(rotationEntries(w), QStringList{"C&C_C.mix"});
  QCOMPARE(availableEntries(w)[2], QStringLiteral("+++ C&C_C.mix"));
  doubleClickRow(w.lstMaps, 0);
  QCOMPARE(rotationEntries(w), QStringList{});
  QCOMPARE(availableEntries(w)[2], QStringLiteral("C&C_C.mix"));
}

void tst_Rotation::altArrowsMoveSelection() {
  RotationWindow t(kFourMaps,
                   "MapName01=C&C_A.mix\r\nMapName02=C&C_B.mix\r\nMapName03=C&C_C.mix\r\n");
  frmSkirmish& w = t.window;
  const QStringList marks = availableEntries(w);
  clickRow(w.lstMaps, 2);
  QTest::keyClick(w.lstMaps, Qt::Key_Up, Qt::AltModifier);
  QCOMPARE(rotationEntries(w), (QStringList{"C&C_A.mix", "C&C_C.mix", "C&C_B.mix"}));
  QTest::keyClick(w.lstMaps, Qt::Key_Up, Qt::AltModifier);
  QTest::keyClick(w.lstMaps, Qt::Key_Up, Qt::AltModifier);  // already at the top: stays
  QCOMPARE(rotationEntries(w), (QStringList{"C&C_C.mix", "C&C_A.mix", "C&C_B.mix"}));
  QCOMPARE(w.lstMaps->selectedRows(), QList<int>{0});
  QTest::keyClick(w.lstMaps, Qt::Key_Down, Qt::AltModifier);
  QCOMPARE(rotationEntries(w), (QStringList{"C&C_A.mix", "C&C_C.mix", "C&C_B.mix"}));
  QCOMPARE(availableEntries(w), marks);
  QVERIFY(w.cmdRemove->isEnabled());
}

void tst_Rotation::ctrlArrowsMoveCursorOnly() {
  RotationWindow t(kFourMaps, "MapName01=C&C_A.mix\r\nMapName02=C&C_B.mix\r\n");
  frmSkirmish& w = t.window;
  clickRow(w.lstMaps, 0);
  QTest::keyClick(w.lstMaps, Qt::Key_Down, Qt::ControlModifier);
  QCOMPARE(rotationEntries(w), (QStringList{"C&C_A.mix", "C&C_B.mix"}));
  QCOMPARE(w.lstMaps->selectedRows(), QList<int>{0});
  QCOMPARE(w.lstMaps->currentIndex().row(), 1);
}

void tst_Rotation::dropMovesEntries() {
  RotationWindow t(kFourMaps,
                   "MapName01=C&C_A.mix\r\nMapName02=C&C_B.mix\r\nMapName03=C&C_C.mix\r\n"
                   "MapName04=C&C_D.mix\r\n");
  frmSkirmish& w = t.window;
  clickRow(w.lstMaps, 0);
  clickRow(w.lstMaps, 1, Qt::ControlModifier);
  // Drop the two selected entries, as the list's own drag carries them, on the lower half of
  // the last entry.
  const QRect last = w.lstMaps->visualRect(w.lstMaps->model()->index(3, 0));
  const QPointF at(last.center().x(), last.bottom() - 1);
  const auto dragOnto = [&](QMimeData* data) {
    // Qt delivers a drop only to the widget that accepted the drag's entry.
    QDragEnterEvent enter(at.toPoint(), Qt::MoveAction, data, Qt::LeftButton, {});
    QApplication::sendEvent(w.lstMaps->viewport(), &enter);
    QDragMoveEvent move(at.toPoint(), Qt::MoveAction, data, Qt::LeftButton, {});
    QApplication::sendEvent(w.lstMaps->viewport(), &move);
    QDropEvent drop(at, Qt::MoveAction, data, Qt::LeftButton, {});
    QApplication::sendEvent(w.lstMaps->viewport(), &drop);
  };
  std::unique_ptr<QMimeData> foreign(w.lstRenData->selectionMimeData());
  dragOnto(foreign.get());  // another list's entries are refused
  QCOMPARE(rotationEntries(w), (QStringList{"C&C_A.mix", "C&C_B.mix", "C&C_C.mix", "C&C_D.mix"}));
  std::unique_ptr<QMimeData> own(w.lstMaps->selectionMimeData());
  dragOnto(own.get());
  QCOMPARE(rotationEntries(w), (QStringList{"C&C_C.mix", "C&C_D.mix", "C&C_A.mix", "C&C_B.mix"}));
  QCOMPARE(w.lstMaps->selectedRows(), (QList<int>{2, 3}));
}

void tst_Rotation::saveWritesMovedOrder() {
  RotationWindow t(kFourMaps, "MapName01=C&C_A.mix\r\nMapName02=C&C_B.mix\r\n");
  frmSkirmish& w = t.window;
  clickRow(w.lstMaps, 1);
  QTest::keyClick(w.lstMaps, Qt::Key_Up, Qt::AltModifier);
  t.desktop.messageAnswers.enqueue(QMessageBox::Yes);
  QTest::mouseClick(w.cmdSave, Qt::LeftButton);
  QVERIFY(t.game.readSettings().contains("MapName01=C&C_B.mix\r\nMapName02=C&C_A.mix\r\n"));
}

QTEST_MAIN(tst_Rotation)
#include "tst_rotation.moc"
