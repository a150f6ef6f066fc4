// Tests of the main window: its controls as created, the editing lock, the focus order, loading
// a settings file into it and the Load button, driven through real events.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include "MapListView.h"
#include "NumericField.h"
#include "ProgramInfo.h"
#include "ScriptedDesktop.h"
#include "WindowFixture.h"
#include "frmAbout.h"
#include "frmSkirmish.h"

namespace {

QList<QWidget*> editingControls(frmSkirmish& w) {
  return {w.lstRenData,  w.lstMaps,       w.cmdLoad,        w.cmdSave,
          w.cmdSaveAs,   w.optRadar[0],   w.optRadar[1],    w.optRadar[2],
          w.txtTime,     w.txtCredits,    w.chkRepair,      w.chkSpawn,
          w.chkFriendly, w.chkTeamChange, w.chkDestruction, w.chkBeacon};
}

// The name of a control of `window` whose caption does not fit its place, or "" when all fit.
QString captionNotFitting(const frmSkirmish& window) {
  for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
    if (button->sizeHint().width() > button->width()) return button->objectName();
  }
  for (const QLabel* label : window.findChildren<QLabel*>()) {
    if (label == window.lblMapvault) continue;  // sized to its own text
    const bool fits = label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                        : label->sizeHint().width() <= label->width();
    if (!fits) return label->objectName();
  }
  return {};
}

}  // namespace

class tst_frmSkirmish : public QObject {
  Q_OBJECT

 private slots:
  void createdWithItsCaptions_data();
  void createdWithItsCaptions();
  void createdWithItsValues();
  void captionsFitWithAnyFont_data();
  void captionsFitWithAnyFont();
  void lockDisablesEditingOnly();
  void linksWorkWhileLocked();
  void aboutButtonKeepsOneAboutWindow();
  void focusOrder();
  void focusStartsOnFirstEnabledControl_data();
  void focusStartsOnFirstEnabledControl();
  void mnemonicsPressButtons();
  void loadFillsWindow();
  void loadMarksAvailableMaps_data();
  void loadMarksAvailableMaps();
  void loadTwiceGivesSameWindow();
  void loadOfMissingFileGivesDefaults();
  void loadKeepsRadarForUnknownValue();
  void loadedFieldsFollowFieldRules_data();
  void loadedFieldsFollowFieldRules();
  void loadButtonRefusesWithoutGame();
  void loadButtonCancelChangesNothing();
  void loadButtonLoadsChosenFile();
};

void tst_frmSkirmish::createdWithItsCaptions_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("caption");
  const QList<std::pair<const char*, const char*>> captions = {
      {"Label6", "Available Maps :"},
      {"cmdAdd", "&Add -->"},
      {"cmdRemove", "<-- &Remove"},
      {"Label8",
       "IMPORTANT : The map rotation will always begin with C&C_Under. Just win/lose the first "
       "game and your custom maps will be next."},
      {"Label7", "Multiplayer Practice Maps :"},
      {"Label1", "Time Limit (Minutes) :"},
      {"txtTime", "300"},
      {"Label2", "Starting Credits :"},
      {"txtCredits", "10000"},
      {"Label3", "Radar Mode :"},
      {"optRadar0", "No players are shown"},
      {"optRadar1", "Only teammates are shown"},
      {"optRadar2", "Everybody is shown"},
      {"chkRepair", "Can Repair Buildings"},
      {"chkSpawn", "Spawn Weapons"},
      {"chkFriendly", "Friendly Fire"},
      {"chkTeamChange", "Allow Team Changing"},
      {"chkDestruction", "Base Destruction Ends Game"},
      {"chkBeacon", "Beacon Placement Ends Game"},
      {"cmdUpdates", "Check For Updates"},
      {"cmdAbout", "About ..."},
      {"cmdLoad", "Load ..."},
      {"cmdSave", "Save"},
      {"cmdSaveAs", "Save As ..."},
      {"Label5",
       "Note : All of the maps listed above will not have any AI enemies to fight against. You "
       "must download special AI versions of each map, you can do so by                       ."},
      {"lblMapvault", "clicking here"},
      {"txtInstallPath", ""},
  };
  for (const auto& [name, caption] : captions) {
    QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(caption);
  }
}

void tst_frmSkirmish::createdWithItsCaptions() {
  ScriptedDesktop desktop;
  frmSkirmish window(desktop);
  QFETCH(QString, name);
  QObject* control = window.findChild<QObject*>(name);
  QVERIFY2(control, qPrintable(name));
  const QVariant text = control->property("text");
  QFETCH(QString, caption);
  QCOMPARE(text.toString(), caption);
}

void tst_frmSkirmish::createdWithItsValues() {
  ScriptedDesktop desktop;
  frmSkirmish window(desktop);
  QCOMPARE(window.windowTitle(), QStringLiteral(" Skirmish Setup - C&C Renegade"));
  QCOMPARE(window.size(), QSize(503, 490));
  QCOMPARE(window.minimumSize(), window.maximumSize());
  QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
  QVERIFY(window.windowFlags() & Qt::WindowMinimizeButtonHint);
  QVERIFY(window.optRadar[2]->isChecked());
  for (QCheckBox* box : window.findChildren<QCheckBox*>()) QVERIFY(!box->isChecked());
  QCOMPARE(window.lstRenData->model()->rowCount(), 0);
  QCOMPARE(window.lstMaps->model()->rowCount(), 0);
  QVERIFY(!window.cmdAdd->isEnabled());
  QVERIFY(!window.cmdRemove->isEnabled());
  QCOMPARE(window.txtTime->maxLength(), 3);
  QCOMPARE(window.txtCredits->maxLength(), 5);
  QVERIFY(!window.GameFound);
  QVERIFY(window.comDLG.FileName.isEmpty());
  QCOMPARE(window.lstMaps->selectionMode(), QAbstractItemView::ExtendedSelection);
  QCOMPARE(window.lstRenData->selectionMode(), QAbstractItemView::ExtendedSelection);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QVERIFY(!window.txtInstallPath->isVisible());
}

void tst_frmSkirmish::captionsFitWithAnyFont_data() {
  QTest::addColumn<QString>("family");
  QTest::addColumn<qreal>("pointSize");
  QTest::newRow("desktop default") << QString() << 0.0;
  QTest::newRow("large sans") << "DejaVu Sans" << 12.0;
  QTest::newRow("wide monospace") << "DejaVu Sans Mono" << 10.0;
  QTest::newRow("monospace") << "DejaVu Sans Mono" << 9.0;
  QTest::newRow("serif") << "DejaVu Serif" << 10.0;
}

void tst_frmSkirmish::captionsFitWithAnyFont() {
  QFETCH(QString, family);
  QFETCH(qreal, pointSize);
  const QFont original = QApplication::font();
  const auto restoreFont = qScopeGuard([&original] { QApplication::setFont(original); });
  if (!family.isEmpty()) QApplication::setFont(QFont(family, static_cast<int>(pointSize)));
  ScriptedDesktop desktop;
  frmSkirmish window(desktop);
  QCOMPARE(captionNotFitting(window), QString());
  QVERIFY(window.rect().contains(window.lblMapvault->geometry()));
  QVERIFY(window.Label5->geometry().intersects(window.lblMapvault->geometry()));

  // The text is made no smaller than it must be: a quarter point more would not fit.
  const qreal asked = family.isEmpty() ? original.pointSizeF() : static_cast<int>(pointSize);
  const qreal fitted = window.font().pointSizeF();
  if (fitted < asked) {
    QFont larger = window.font();
    larger.setPointSizeF(fitted + 0.25);
    window.setFont(larger);
    QVERIFY2(!captionNotFitting(window).isEmpty(), qPrintable(QString::number(fitted)));
  }
}

void tst_frmSkirmish::lockDisablesEditingOnly() {
  ScriptedDesktop desktop;
  frmSkirmish window(desktop);
  for (int twice = 0; twice < 2; ++twice) {
    window.EnableEditing(false);
    for (QWidget* control : editingControls(window)) {
      QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));
    }
    for (QWidget* control :
         {static_cast<QWidget*>(window.cmdAbout), static_cast<QWidget*>(window.cmdUpdates),
          static_cast<QWidget*>(window.lblMapvault)}) {
      QVERIFY2(control->isEnabled(), qPrintable(control->objectName()));
    }
  }
  window.EnableEditing(true);
  for (QWidget* control : editingControls(window)) QVERIFY(control->isEnabled());
  QVERIFY(!window.cmdAdd->isEnabled());
  QVERIFY(!window.cmdRemove->isEnabled());
  // Texts and values are not touched by the lock.
  QCOMPARE(window.txtTime->text(), QStringLiteral("300"));
  QVERIFY(window.optRadar[2]->isChecked());
}

void tst_frmSkirmish::linksWorkWhileLocked() {
  ScriptedDesktop desktop;
  frmSkirmish window(desktop);
  window.EnableEditing(false);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QTest::mouseClick(window.cmdUpdates, Qt::LeftButton);
  QTest::mouseClick(window.cmdUpdates, Qt::LeftButton);
  QTest::mouseClick(window.lblMapvault, Qt::LeftButton);
  QCOMPARE(desktop.openedTargets,
           (QStringList{corvane::program::kUpdatesPage, corvane::program::kUpdatesPage,
                        corvane::program::kAiMapsPage}));
  QVERIFY(window.lblMapvault->cursor().shape() == Qt::PointingHandCursor);
}

void tst_frmSkirmish::aboutButtonKeepsOneAboutWindow() {
  ScriptedDesktop desktop;
  auto window = std::make_unique<frmSkirmish>(desktop);
  window->EnableEditing(false);  // About works while the editing controls are locked
  window->show();
  QTest::mouseClick(window->cmdAbout, Qt::LeftButton);
  QTest::mouseClick(window->cmdAbout, Qt::LeftButton);
  const auto openAboutWindows = [] {
    QList<frmAbout*> found;
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (auto* about = qobject_cast<frmAbout*>(top); about && about->isVisible()) {
        found.append(about);
      }
    }
    return found;
  };
  QCOMPARE(openAboutWindows().size(), 1);
  QPointer<frmAbout> about = openAboutWindows().front();
  QVERIFY(!about->parentWidget());
  QVERIFY(!about->isModal());
  window.reset();  // closing the main window leaves the About window open
  QVERIFY(about && about->isVisible());
  about->close();
  QTRY_VERIFY(!about);  // closing unloads it
}

void tst_frmSkirmish::focusOrder() {
  ScriptedDesktop desktop;
  GameFolder game({QStringLiteral("C&C_Field.mix")});
  frmSkirmish window(desktop);
  findGame(window, game);
  window.LoadSettings(window.comDLG.FileName);
  window.cmdAdd->setEnabled(true);
  window.cmdRemove->setEnabled(true);
  window.show();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  const QList<QWidget*> order = {
      window.txtTime,       window.chkRepair,      window.chkSpawn,    window.chkFriendly,
      window.chkTeamChange, window.chkDestruction, window.chkBeacon,   window.txtCredits,
      window.optRadar[0],   window.optRadar[1],    window.optRadar[2], window.lstMaps,
      window.cmdAdd,        window.cmdRemove,      window.cmdSaveAs,   window.lstRenData,
      window.cmdLoad,       window.cmdAbout,       window.cmdUpdates,  window.cmdSave};
  QCOMPARE(QApplication::focusWidget(), window.txtTime);
  for (qsizetype i = 1; i < order.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), order[i]->objectName());
  }
  // Disabled controls are skipped.
  window.cmdAdd->setEnabled(false);
  window.cmdRemove->setEnabled(false);
  window.lstMaps->setFocus();
  QTest::keyClick(window.lstMaps, Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget(), window.cmdSaveAs);
}

void tst_frmSkirmish::focusStartsOnFirstEnabledControl_data() {
  QTest::addColumn<bool>("unlocked");
  QTest::addColumn<QString>("first");
  QTest::newRow("unlocked: the time limit") << true << "txtTime";
  QTest::newRow("locked: the About button") << false << "cmdAbout";
}

void tst_frmSkirmish::focusStartsOnFirstEnabledControl() {
  ScriptedDesktop desktop;
  frmSkirmish window(desktop);
  QFETCH(bool, unlocked);
  window.EnableEditing(unlocked);
  window.show();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  QFETCH(QString, first);
  QCOMPARE(QApplication::focusWidget()->objectName(), first);
}

void tst_frmSkirmish::mnemonicsPressButtons() {
  ScriptedDesktop desktop;
  GameFolder game({QStringLiteral("C&C_Field.mix"), QStringLiteral("C&C_Under.mix")});
  frmSkirmish window(desktop);
  findGame(window, game);
  window.LoadSettings(window.comDLG.FileName);
  window.show();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  window.lstRenData->setFocus();
  QTest::keyClick(window.lstRenData, Qt::Key_Down);  // selects the second map
  QVERIFY(window.cmdAdd->isEnabled());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::AltModifier);
  // A mnemonic presses its button with the button's short animation.
  QTRY_COMPARE(window.lstMaps->mapModel()->entries(), QStringList{"C&C_Under.mix"});
  window.lstMaps->setFocus();
  QTest::keyClick(window.lstMaps, Qt::Key_Space);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_R, Qt::AltModifier);
  QTRY_COMPARE(window.lstMaps->mapModel()->entries(), QStringList{});
}

void tst_frmSkirmish::loadFillsWindow() {
  ScriptedDesktop desktop;
  GameFolder game({QStringLiteral("C&C_Field.mix")});
  frmSkirmish window(desktop);
  findGame(window, game);
  const QString file = game.writeSettings(
      "[Settings]\r\nTimeLimitMinutes=45\r\nStartingCredits=2500\r\nRadarMode=1\r\n"
      "IsTeamChangingAllowed=no\r\nBaseDestructionEndsGame=yes\r\nBeaconPlacementEndsGame=no\r\n"
      "CanRepairBuildings=yes\r\nSpawnWeapons=Yes\r\nIsFriendlyFirePermitted=yes\r\n"
      "MapName01=C&C_Field.mix\r\n");
  window.LoadSettings(file);
  QCOMPARE(window.txtTime->text(), QStringLiteral("45"));
  QCOMPARE(window.txtCredits->text(), QStringLiteral("2500"));
  QVERIFY(window.optRadar[1]->isChecked());
  QVERIFY(!window.chkTeamChange->isChecked());
  QVERIFY(window.chkDestruction->isChecked());
  QVERIFY(!window.chkBeacon->isChecked());
  QVERIFY(window.chkRepair->isChecked());
  QVERIFY(!window.chkSpawn->isChecked());
  QVERIFY(window.chkFriendly->isChecked());
  QCOMPARE(window.lstMaps->mapModel()->entries(), QStringList{"C&C_Field.mix"});
  QCOMPARE(window.lstRenData->mapModel()->entries(), QStringList{"+++ C&C_Field.mix"});
}

void tst_frmSkirmish::loadMarksAvailableMaps_data() {
  QTest::addColumn<QByteArray>("mapLines");
  QTest::addColumn<QStringList>("available");
  QTest::addColumn<QStringList>("rotation");
  QTest::newRow("a map in the rotation is marked in its place")
      << QByteArray("MapName01=C&C_Under.mix\r\n")
      << QStringList{"C&C_Field.mix", "+++ C&C_Under.mix", "m05.mix"}
      << QStringList{"C&C_Under.mix"};
  QTest::newRow("a map missing from the folder marks nothing")
      << QByteArray("MapName01=C&C_Gone.mix\r\n")
      << QStringList{"C&C_Field.mix", "C&C_Under.mix", "m05.mix"} << QStringList{"C&C_Gone.mix"};
  QTest::newRow("a mission file loads into the rotation only")
      << QByteArray("MapName01=M01.mix\r\n")
      << QStringList{"C&C_Field.mix", "C&C_Under.mix", "m05.mix"} << QStringList{"M01.mix"};
  QTest::newRow("other letter case marks nothing")
      << QByteArray("MapName01=c&c_under.mix\r\n")
      << QStringList{"C&C_Field.mix", "C&C_Under.mix", "m05.mix"} << QStringList{"c&c_under.mix"};
  QTest::newRow("a map named twice is marked once")
      << QByteArray("MapName01=C&C_Field.mix\r\nMapName02=C&C_Field.mix\r\n")
      << QStringList{"+++ C&C_Field.mix", "C&C_Under.mix", "m05.mix"}
      << QStringList{"C&C_Field.mix", "C&C_Field.mix"};
  QTest::newRow("no map entries mark nothing")
      << QByteArray() << QStringList{"C&C_Field.mix", "C&C_Under.mix", "m05.mix"} << QStringList{};
}

void tst_frmSkirmish::loadMarksAvailableMaps() {
  ScriptedDesktop desktop;
  GameFolder game({QStringLiteral("C&C_Under.mix"), QStringLiteral("M01.mix"),
                   QStringLiteral("m05.mix"), QStringLiteral("C&C_Field.mix"),
                   QStringLiteral("Skirmish00.mix"), QStringLiteral("always.dat")});
  frmSkirmish window(desktop);
  findGame(window, game);
  QFETCH(QByteArray, mapLines);
  window.LoadSettings(game.writeSettings("[Settings]\r\n" + mapLines));
  QFETCH(QStringList, available);
  QCOMPARE(window.lstRenData->mapModel()->entries(), available);
  QFETCH(QStringList, rotation);
  QCOMPARE(window.lstMaps->mapModel()->entries(), rotation);
}

void tst_frmSkirmish::loadTwiceGivesSameWindow() {
  ScriptedDesktop desktop;
  GameFolder game({QStringLiteral("C&C_Field.mix"), QStringLiteral("C&C_Under.mix")});
  frmSkirmish window(desktop);
  findGame(window, game);
  const QString file = game.writeSettings("[Settings]\r\nMapName01=C&C_Under.mix\r\n");
  window.LoadSettings(file);
  const QStringList available = window.lstRenData->mapModel()->entries();
  window.LoadSettings(file);
  QCOMPARE(window.lstRenData->mapModel()->entries(), available);
  QCOMPARE(window.lstMaps->mapModel()->entries(), QStringList{"C&C_Under.mix"});
}

void tst_frmSkirmish::loadOfMissingFileGivesDefaults() {
  ScriptedDesktop desktop;
  GameFolder game({QStringLiteral("C&C_Field.mix")});
  frmSkirmish window(desktop);
  findGame(window, game);
  window.optRadar[0]->setChecked(true);
  window.LoadSettings(game.data + QStringLiteral("/missing.ini"));
  QCOMPARE(window.txtTime->text(), QStringLiteral("30"));
  QCOMPARE(window.txtCredits->text(), QStringLiteral("10000"));
  QVERIFY(window.optRadar[2]->isChecked());
  for (QCheckBox* box : window.findChildren<QCheckBox*>()) QVERIFY(box->isChecked());
  QCOMPARE(window.lstMaps->mapModel()->rowCount(), 0);
  QCOMPARE(window.lstRenData->mapModel()->entries(), QStringList{"C&C_Field.mix"});
  QVERIFY(!QFile::exists(game.data + QStringLiteral("/missing.ini")));
}

void tst_frmSkirmish::loadKeepsRadarForUnknownValue() {
  ScriptedDesktop desktop;
  GameFolder game({});
  frmSkirmish window(desktop);
  findGame(window, game);
  window.optRadar[0]->setChecked(true);
  window.LoadSettings(game.writeSettings("[Settings]\r\nRadarMode=3\r\n"));
  QVERIFY(window.optRadar[0]->isChecked());
}

void tst_frmSkirmish::loadedFieldsFollowFieldRules_data() {
  QTest::addColumn<QByteArray>("value");
  QTest::addColumn<QString>("time");
  QTest::newRow("four digits show three") << QByteArray("1000") << "100";
  QTest::newRow("letters show 0") << QByteArray("abc") << "0";
  QTest::newRow("negative shows 0") << QByteArray("-5") << "0";
  QTest::newRow("empty shows 0") << QByteArray("") << "0";
}

void tst_frmSkirmish::loadedFieldsFollowFieldRules() {
  ScriptedDesktop desktop;
  GameFolder game({});
  frmSkirmish window(desktop);
  findGame(window, game);
  QFETCH(QByteArray, value);
  window.LoadSettings(game.writeSettings("[Settings]\r\nTimeLimitMinutes=" + value + "\r\n"));
  QFETCH(QString, time);
  QCOMPARE(window.txtTime->text(), time);
}

void tst_frmSkirmish::loadButtonRefusesWithoutGame() {
  ScriptedDesktop desktop;
  frmSkirmish window(desktop);
  window.cmdLoad->setEnabled(true);  // reachable only if the lock were bypassed
  window.show();
  QTest::mouseClick(window.cmdLoad, Qt::LeftButton);
  QCOMPARE(desktop.messages.size(), 1);
  QCOMPARE(desktop.messages[0].text,
           QStringLiteral("You cannot load - Renegade is not installed."));
  QCOMPARE(desktop.messages[0].title, QStringLiteral("Error"));
  QCOMPARE(desktop.messages[0].icon, QMessageBox::Warning);
  QCOMPARE(desktop.messages[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  QVERIFY(desktop.openRequests.isEmpty());
}

void tst_frmSkirmish::loadButtonCancelChangesNothing() {
  ScriptedDesktop desktop;
  GameFolder game({QStringLiteral("C&C_Field.mix")});
  frmSkirmish window(desktop);
  findGame(window, game);
  window.LoadSettings(game.writeSettings("[Settings]\r\nMapName01=C&C_Field.mix\r\n"));
  const QString current = window.comDLG.FileName;
  window.txtTime->setText(QStringLiteral("77"));
  window.show();
  desktop.fileAnswers.enqueue(QString());  // the user cancels
  QTest::mouseClick(window.cmdLoad, Qt::LeftButton);
  QCOMPARE(desktop.openRequests.size(), 1);
  QCOMPARE(window.comDLG.FileName, current);
  QCOMPARE(window.txtTime->text(), QStringLiteral("77"));
  QCOMPARE(window.lstMaps->mapModel()->entries(), QStringList{"C&C_Field.mix"});
}

void tst_frmSkirmish::loadButtonLoadsChosenFile() {
  ScriptedDesktop desktop;
  GameFolder game({QStringLiteral("C&C_Field.mix")});
  frmSkirmish window(desktop);
  findGame(window, game);
  window.LoadSettings(window.comDLG.FileName);
  const QString other = game.writeSettings("[Settings]\r\nStartingCredits=400\r\n", "other.ini");
  window.show();
  desktop.fileAnswers.enqueue(other);
  QTest::mouseClick(window.cmdLoad, Qt::LeftButton);
  const corvane::FileDialogRequest& request = desktop.openRequests.front();
  QCOMPARE(request.title, QStringLiteral("Load Settings"));
  QCOMPARE(request.folder, game.data);
  QCOMPARE(request.fileName, QStringLiteral("svrcfg_skirmish.ini"));
  QCOMPARE(request.filter, QStringLiteral("Configuration Settings (*.ini)"));
  QCOMPARE(request.defaultSuffix, QStringLiteral("ini"));
  QCOMPARE(window.txtCredits->text(), QStringLiteral("400"));
  QCOMPARE(window.comDLG.FileName, other);  // a later Save writes there
}

QTEST_MAIN(tst_frmSkirmish)
#include "tst_frmskirmish.moc"
