// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: the editing lock, captions that fit any desktop font, and
// loading a settings file into it, driven through real events.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>

#include "GameWindow.h"
#include "NumericField.h"
#include "ProgramInfo.h"
#include "TextFitting.h"

using corvane::testing::GameWindow;
using corvane::testing::native;

namespace {

const QStringList kMaps = {"C&C_Under.mix", "M01.mix", "m05.mix", "C&C_Field.mix",
                           "Skirmish00.mix"};

// The objectName of a control whose caption does not fit its place, or "" when all fit.
QString captionNotFitting(const frmSkirmish& window) {
  for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
    if (button->sizeHint().width() > button->width()) return button->objectName();
  }
  for (const QLabel* label : window.findChildren<QLabel*>()) {
    const bool fits = label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                        : label->sizeHint().width() <= label->width();
    if (!fits && label != window.lblMapvault) return label->objectName();
  }
  return {};
}

}  // namespace

class tst_frmSkirmish : public QObject {
  Q_OBJECT

 private slots:
  void lockDisablesEditingOnly() {
    ScriptedDesktop desktop;
    frmSkirmish w(desktop);
    w.EnableEditing(false);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    for (QWidget* control : QList<QWidget*>{
             w.lstRenData, w.lstMaps, w.cmdLoad, w.cmdSave, w.cmdSaveAs, w.optRadar[0],
             w.optRadar[1], w.optRadar[2], w.txtTime, w.txtCredits, w.chkRepair, w.chkSpawn,
             w.chkFriendly, w.chkTeamChange, w.chkDestruction, w.chkBeacon}) {
      QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));
    }
    QCOMPARE(QApplication::focusWidget(), w.cmdAbout);  // the first enabled control
    QTest::mouseClick(w.cmdUpdates, Qt::LeftButton);    // links work while locked
    QTest::mouseClick(w.lblMapvault, Qt::LeftButton);
    QCOMPARE(desktop.openedTargets,
             (QStringList{corvane::program::kUpdatesPage, corvane::program::kAiMapsPage}));
  }

  // The limits the window sets on its controls, each at its edge: the digits a field takes, the
  // rotation entries the game plays.
  void controlsKeepTheirLimits_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("count");  // digits typed, or rotation entries
    QTest::addColumn<int>("taken");  // digits kept, or entries played
    QTest::newRow("time limit: 3 digits") << "txtTime" << 3 << 3;
    QTest::newRow("time limit: not 4") << "txtTime" << 4 << 3;
    QTest::newRow("credits: 5 digits") << "txtCredits" << 5 << 5;
    QTest::newRow("credits: not 6") << "txtCredits" << 6 << 5;
    QTest::newRow("rotation: 99 entries played") << "lstMaps" << 99 << 99;
    QTest::newRow("rotation: not 100") << "lstMaps" << 100 << 99;
  }
  void controlsKeepTheirLimits() {
    QFETCH(QString, control);
    QFETCH(int, count);
    ScriptedDesktop desktop;
    frmSkirmish w(desktop);
    int taken = 0;
    if (control == "lstMaps") {
      w.lstMaps->mapModel()->setEntries(QStringList(count, QStringLiteral("C&C_A.mix")));
      while (taken < count && w.lstMaps->mapModel()->reason(taken).isEmpty()) ++taken;
    } else {
      auto* field = w.findChild<QLineEdit*>(control);
      field->clear();
      QTest::keyClicks(field, QString(count, u'7'));
      taken = int(field->text().size());
    }
    QTEST(taken, "taken");
  }

  void captionsFitAnyFontAtTheLargestSize_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("pointSize");
    QTest::newRow("desktop default") << QString() << 0;
    QTest::newRow("large sans") << "DejaVu Sans" << 12;
    QTest::newRow("monospace") << "DejaVu Sans Mono" << 9;
  }

  void captionsFitAnyFontAtTheLargestSize() {
    QFETCH(QString, family);
    QFETCH(int, pointSize);
    const QFont original = QApplication::font();
    const auto restore = qScopeGuard([&original] { QApplication::setFont(original); });
    if (!family.isEmpty()) QApplication::setFont(QFont(family, pointSize));
    ScriptedDesktop desktop;
    frmSkirmish window(desktop);
    QCOMPARE(captionNotFitting(window), QString());
    QVERIFY(corvane::widgets::drawsThinLetters(window.font()));  // no letter left out
    QVERIFY(window.Label5->geometry().intersects(window.lblMapvault->geometry()));
    const qreal fitted = window.font().pointSizeF();
    if (fitted < QApplication::font().pointSizeF()) {  // no smaller than it must be
      QFont larger = window.font();
      larger.setPointSizeF(fitted + 0.25);
      window.setFont(larger);
      QVERIFY2(!captionNotFitting(window).isEmpty(), qPrintable(QString::number(fitted)));
    }
  }

  void loadFillsTheWindow_data() {
    QTest::addColumn<QByteArray>("file");  // null: no file
    QTest::addColumn<QStringList>("available");
    QTest::addColumn<QStringList>("rotation");
    QTest::addColumn<QString>("time");
    QTest::addColumn<int>("radar");
    QTest::addColumn<QString>("checked");  // the check boxes checked
    const QStringList plain = {"C&C_Field.mix", "C&C_Under.mix", "m05.mix"};
    const QString all =
        QStringLiteral("chkRepair chkSpawn chkFriendly chkTeamChange chkDestruction chkBeacon");
    QTest::newRow("no file: the defaults")
        << QByteArray() << plain << QStringList() << "30" << 2 << all;
    QTest::newRow("every setting; a map in the rotation is marked")
        << QByteArray(
               "[Settings]\r\nTimeLimitMinutes=1000\r\nRadarMode=1\r\n"
               "IsTeamChangingAllowed=no\r\nBaseDestructionEndsGame=yes\r\n"
               "BeaconPlacementEndsGame=no\r\nCanRepairBuildings=yes\r\nSpawnWeapons=Yes\r\n"
               "IsFriendlyFirePermitted=no\r\nMapName01=C&C_Under.mix\r\n")
        << QStringList{"C&C_Field.mix", "+++ C&C_Under.mix", "m05.mix"}
        << QStringList{"C&C_Under.mix"} << "100" << 1 << "chkRepair chkSpawn chkDestruction";
    QTest::newRow("missing, mission, other-case and twice-named maps")
        << QByteArray(
               "[Settings]\r\nTimeLimitMinutes=abc\r\nRadarMode=3\r\nMapName01=C&C_Gone.mix\r\n"
               "MapName02=M01.mix\r\nMapName03=c&c_under.mix\r\nMapName04=C&C_Field.mix\r\n"
               "MapName05=C&C_Field.mix\r\n")
        << QStringList{"+++ C&C_Field.mix", "C&C_Under.mix", "m05.mix"}
        << QStringList{"C&C_Gone.mix", "M01.mix", "c&c_under.mix", "C&C_Field.mix", "C&C_Field.mix"}
        << "0" << 0 << all;
  }

  void loadFillsTheWindow() {
    QFETCH(QByteArray, file);
    GameWindow t(kMaps, QByteArray("[Settings]\r\nRadarMode=0\r\n"));
    if (file.isNull()) {
      QVERIFY(QFile::remove(t.game.path()));
    } else {
      t.game.write(file);
    }
    t.window.LoadSettings(t.game.path());
    QTEST(t.available(), "available");
    QTEST(t.rotation(), "rotation");
    QTEST(t.window.txtTime->text(), "time");
    QFETCH(int, radar);
    QVERIFY(t.window.optRadar[radar]->isChecked());  // an unknown radar mode keeps the one shown
    QStringList checked;
    for (const QCheckBox* box : t.window.findChildren<QCheckBox*>()) {
      if (box->isChecked()) checked.append(box->objectName());
    }
    QTEST(checked.join(u' '), "checked");
    QVERIFY(file.isNull() != QFile::exists(t.game.path()));  // a load never creates the file
  }

  void loadButtonLoadsTheChosenFileOnly() {
    GameWindow t({}, "[Settings]\r\nMapName01=C&C_Field.mix\r\n");
    t.window.txtTime->setText(QStringLiteral("77"));
    t.desktop.messageAnswers << QMessageBox::No << QMessageBox::No;  // not saved first
    QTest::mouseClick(t.window.cmdLoad, Qt::LeftButton);             // cancelled: nothing changes
    QCOMPARE(t.window.txtTime->text(), QStringLiteral("77"));
    QCOMPARE(t.rotation(), QStringList{"C&C_Field.mix"});
    const QString other = t.game.write("[Settings]\r\nStartingCredits=400\r\n", "other.ini");
    t.desktop.fileAnswers.enqueue(other);
    QTest::mouseClick(t.window.cmdLoad, Qt::LeftButton);
    QCOMPARE(t.desktop.fileRequests.size(), 2);
    QCOMPARE(native(t.desktop.fileRequests.front().folder), native(t.game.data));
    QCOMPARE(t.window.txtCredits->text(), QStringLiteral("400"));
    QCOMPARE(t.rotation(), QStringList());
    QCOMPARE(native(t.window.comDLG.FileName), native(other));  // a later Save writes there
  }

  void marksWhereTheGameReadsOtherwise_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("marked");  // controls, and rotation entries as lstMaps:row
    QTest::addColumn<QString>("says");    // in a note
    QFile rewritten(QStringLiteral(CORVANE_TEST_DATA "/corpus/mpdemo_svrcfg_cnc.ini"));
    QVERIFY(rewritten.open(QIODevice::ReadOnly));
    QTest::newRow("a file the game rewrote itself")
        << rewritten.readAll().replace("\n", "\r\n") << QString() << QString();
    QTest::newRow("numbers shown as the game reads them")
        << QByteArray("[Settings]\r\nTimeLimitMinutes=045\r\nStartingCredits=abc\r\n") << QString()
        << QString();
    QTest::newRow("quoted numbers")
        << QByteArray("[Settings]\r\nTimeLimitMinutes=\"45\"\r\nRadarMode='1'\r\n")
        << "grpRadar txtTime"
        << "reads as 0";
    QTest::newRow("quoted map names")
        << QByteArray("[Settings]\r\nMapName01='C&C_Field.mix'\r\nMapName02=\"C&C_Under.mix\"\r\n")
        << "lstMaps:0 lstMaps:1"
        << "named \u201C'C&C_Field.mix'\u201D";
    QTest::newRow("a time out of range, cut")
        << QByteArray("[Settings]\r\nTimeLimitMinutes=1440") << "txtTime"
        << "range of 0 to 999";
    QTest::newRow("credits the field repairs")
        << QByteArray("[Settings]\r\nStartingCredits=25min") << "txtCredits"
        << "reads as 25";
    QTest::newRow("radar mode 7") << QByteArray("[Settings]\r\nRadarMode=7") << "grpRadar"
                                  << "reads as 1";
    QTest::newRow("on/off read neither way")
        << QByteArray("[Settings]\r\nSpawnWeapons=maybe") << "chkSpawn"
        << "neither on nor off";
    QTest::newRow("a key in other letter case")
        << QByteArray("[Settings]\r\nradarmode=0") << "grpRadar"
        << "exact letter case";
    QTest::newRow("the header in other letter case")
        << QByteArray("[SETTINGS]\r\nSpawnWeapons=no\r\nMapName01=C&C_Field.mix")
        << "chkSpawn lstMaps:0"
        << "exact letter case";
  }

  void marksWhereTheGameReadsOtherwise() {
    QFETCH(QByteArray, file);
    GameWindow t(kMaps, file);
    const auto notes = [&t] {
      QMap<QString, QString> noted;  // by control, sorted
      for (const QWidget* control : t.window.findChildren<QWidget*>()) {
        const QString note = control->accessibleDescription();
        if (!note.isEmpty() && control->toolTip().contains(note.toHtmlEscaped()))
          noted.insert(control->objectName(), note);
      }
      for (int row = 0; row < t.rotation().size(); ++row) {
        const QString note = t.window.lstMaps->mapModel()->note(row);
        if (!note.isEmpty()) noted.insert(QStringLiteral("lstMaps:%1").arg(row), note);
      }
      return noted;
    };
    QTEST(notes().keys().join(u' '), "marked");
    QFETCH(QString, says);
    QVERIFY(QStringList(notes().values()).join(u' ').contains(says));
    for (const QString& note : notes())
      QVERIFY(note.endsWith(u"saving writes what the window shows."));
    QCOMPARE(t.window.hasUnsavedEdits(), !notes().isEmpty());  // closing asks
    t.save();  // the file then holds what the window shows
    QVERIFY(notes().isEmpty());
    QVERIFY(!t.window.hasUnsavedEdits());
  }

  void dialogsProposeTheFileAsSpelledOnDisk_data() {
    QTest::addColumn<QString>("loaded");  // below the game's folder; "" for none
    QTest::newRow("the game's file, in its own letter case") << QString();
    QTest::newRow("another file of the Data folder, once loaded") << "Data/Other.ini";
    QTest::newRow("a file elsewhere, once loaded: the game's file") << "Presets/Other.ini";
  }

  void dialogsProposeTheFileAsSpelledOnDisk() {
    QFETCH(QString, loaded);
    GameWindow t(kMaps, "[Settings]\r\n", QStringLiteral("SvrCfg_Skirmish.INI"));
    if (!loaded.isEmpty()) {
      const QString path = t.game.root.filePath(loaded);
      QDir().mkpath(QFileInfo(path).path());
      QFile(path).open(QIODevice::WriteOnly);
      t.desktop.fileAnswers.enqueue(path);
      QTest::mouseClick(t.window.cmdLoad, Qt::LeftButton);
      QCOMPARE(native(t.window.comDLG.FileName), native(path));
      t.desktop.fileRequests.clear();
    }
    QTest::mouseClick(t.window.cmdLoad, Qt::LeftButton);  // both cancelled
    QTest::mouseClick(t.window.cmdSaveAs, Qt::LeftButton);
    QCOMPARE(t.desktop.fileRequests.size(), 2);
    for (const corvane::FileDialogRequest& request : t.desktop.fileRequests) {  // Load and Save As
      QCOMPARE(native(QDir(request.folder).absoluteFilePath(request.fileName)),
               native(t.game.path(QStringLiteral("SvrCfg_Skirmish.INI"))));
    }
  }
};

QTEST_MAIN(tst_frmSkirmish)
#include "tst_frmskirmish.moc"
