// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Save and Save As through the window: the question, the bytes written, and what a failed save
// shows and leaves behind, also when the file or its folder changed after the load.
#include <QCheckBox>
#include <QFileSystemWatcher>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "GameWindow.h"
#include "NumericField.h"

using corvane::testing::GameWindow;
using corvane::testing::native;

namespace {

const QByteArray kGameFile =
    "; written by hand\r\n[Settings]\r\nTimeLimitMinutes=45\r\nPort=4848\r\n"
    "MapName00=C&C_Under.mix\r\nMapName01=C&C_Field.mix\r\nMapName02=C&C_Under.mix\r\n\r\n"
    "[Other]\r\nMapName01=keep.mix\r\n";
const QStringList kMaps = {"C&C_Field.mix", "C&C_Under.mix"};

// The settings lines of the window that loaded kGameFile, with the time limit set to 60.
const QByteArray kWindowLines =
    "TimeLimitMinutes=60\r\nStartingCredits=10000\r\nRadarMode=2\r\nIsTeamChangingAllowed=yes\r\n"
    "BaseDestructionEndsGame=yes\r\nBeaconPlacementEndsGame=yes\r\nCanRepairBuildings=yes\r\n"
    "SpawnWeapons=yes\r\nIsFriendlyFirePermitted=yes\r\nMapName01=C&C_Field.mix\r\n"
    "MapName02=C&C_Under.mix\r\n";

}  // namespace

class tst_Saving : public QObject {
  Q_OBJECT

 private slots:
  void saveWritesTheWindowAfterAsking() {
    GameWindow t(kMaps, kGameFile);
    frmSkirmish& w = t.window;
    QTest::keyClicks(w.txtCredits, QStringLiteral("5"));  // 10000 is full: nothing typed
    w.txtCredits->selectAll();
    QTest::keyClicks(w.txtCredits, QStringLiteral("2500"));
    QTest::mouseClick(w.optRadar[0], Qt::LeftButton);
    QTest::mouseClick(w.chkSpawn, Qt::LeftButton);
    t.save(QMessageBox::No);
    QCOMPARE(t.game.read(), kGameFile);
    t.save(QMessageBox::Yes);
    QCOMPARE(t.desktop.messages.size(), 2);  // the questions only: a save that works says nothing
    QCOMPARE(t.desktop.messages.back().text, "Save settings to " + native(t.game.path()) + "?");
    QCOMPARE(t.game.read(),
             QByteArray("; written by hand\r\n[Settings]\r\nTimeLimitMinutes=45\r\nPort=4848\r\n"
                        "MapName01=C&C_Field.mix\r\nMapName02=C&C_Under.mix\r\n"
                        "StartingCredits=2500\r\nRadarMode=0\r\nIsTeamChangingAllowed=yes\r\n"
                        "BaseDestructionEndsGame=yes\r\nBeaconPlacementEndsGame=yes\r\n"
                        "CanRepairBuildings=yes\r\nSpawnWeapons=no\r\n"
                        "IsFriendlyFirePermitted=yes\r\n\r\n[Other]\r\nMapName01=keep.mix\r\n"));
  }

  void saveAsWritesTheChosenFileAndMakesItCurrent() {
    GameWindow t(kMaps, kGameFile);
    frmSkirmish& w = t.window;
    w.txtTime->setText(QStringLiteral("60"));
    QTest::mouseClick(w.cmdSaveAs, Qt::LeftButton);  // cancelled: nothing written
    QCOMPARE(native(t.desktop.fileRequests.front().fileName), native(t.game.path()));
    // A choice that cannot be saved (a folder) leaves the current file as it was.
    t.desktop.fileAnswers.enqueue(t.game.data);
    QTest::mouseClick(w.cmdSaveAs, Qt::LeftButton);
    QCOMPARE(t.desktop.messages.size(), 1);
    QCOMPARE(native(w.comDLG.FileName), native(t.game.path()));
    const QString other = t.game.path(QStringLiteral("other.ini"));
    t.desktop.fileAnswers.enqueue(other);
    QTest::mouseClick(w.cmdSaveAs, Qt::LeftButton);
    QCOMPARE(t.game.read(QStringLiteral("other.ini")), "[Settings]\r\n" + kWindowLines);
    QCOMPARE(t.game.read(), kGameFile);
    QCOMPARE(native(w.comDLG.FileName), native(other));  // Save now asks about the new file
  }

  void failedSaveWarnsAndKeepsWindowAndFile_data() {
    QTest::addColumn<QString>("fault");
    QTest::newRow("read-only file") << "read-only file";
#ifndef Q_OS_WIN  // Windows keeps a folder that a program watches until the watch ends
    QTest::newRow("Data folder gone") << "folder gone";
    QTest::newRow("Data folder replaced by a file") << "folder is a file";
#endif
    QTest::newRow("a folder in the file's place") << "folder";
  }

  void failedSaveWarnsAndKeepsWindowAndFile() {
    QFETCH(QString, fault);
    GameWindow t(kMaps, kGameFile);
    frmSkirmish& w = t.window;
    w.txtTime->setText(QStringLiteral("60"));
    const QStringList available = t.available();
    const QString data = t.game.data;
    if (fault == "read-only file") QFile::setPermissions(t.game.path(), QFileDevice::ReadOwner);
    if (fault.startsWith("folder ")) QVERIFY(QDir(data).removeRecursively());
    if (fault == "folder is a file") QVERIFY(QFile(data).open(QIODevice::WriteOnly));
    if (fault == "folder") w.comDLG.FileName = data;
    t.save();
    QCOMPARE(t.desktop.messages.size(), 2);
    const ShownMessage& warning = t.desktop.messages.back();
    QCOMPARE(warning.icon, QMessageBox::Warning);
    QVERIFY2(warning.text.contains(native(w.comDLG.FileName)), qPrintable(warning.text));
    QCOMPARE(w.txtTime->text(), QStringLiteral("60"));
    QCOMPARE(t.available(), available);
    QCOMPARE(t.rotation(), kMaps);
    if (fault.startsWith("folder ")) {  // once the folder is back, the window saves as it stood
      QFile::remove(data);
      QVERIFY(QDir().mkpath(data));
      t.save();
      QCOMPARE(t.game.read(), "[Settings]\r\n" + kWindowLines);
    } else {
      QCOMPARE(t.game.read(), kGameFile);
      QCOMPARE(QDir(data).entryList(QDir::Files | QDir::Hidden).size(), 3);  // no leftovers
    }
  }

  void saveAfterAnotherProgramChangedTheFile_data() {
    QTest::addColumn<QByteArray>("changed");  // null: deleted
    QTest::addColumn<bool>("asks");           // about the other program's change, not as usual
    QTest::addColumn<int>("answer");
    QTest::addColumn<QByteArray>("saved");  // null: the changed file stays
    // How the file was changed, when not written as usual: "renamed" over it, its size and time
    // those of the file as loaded long before; "in place", at the time it had when loaded
    // right after it was written (a change within the time's resolution).
    QTest::addColumn<QString>("how");
    const QByteArray rewritten =
        "[Settings]\r\nTimeLimitMinutes=45\r\nMaxPlayers=8\r\n[Server]\r\nPort=4849\r\n";
    QTest::newRow("deleted") << QByteArray() << false << int(QMessageBox::Yes)
                             << "[Settings]\r\n" + kWindowLines << QString();
    QTest::newRow("rewritten by the game, saved over: its new lines stay")
        << rewritten << true << int(QMessageBox::Yes)
        << "[Settings]\r\nTimeLimitMinutes=60\r\nMaxPlayers=8\r\n" +
               kWindowLines.mid(QByteArray("TimeLimitMinutes=60\r\n").size()) +
               "[Server]\r\nPort=4849\r\n"
        << QString();
    QTest::newRow("rewritten by the game, not saved over")
        << rewritten << true << int(QMessageBox::No) << QByteArray() << QString();
    QTest::newRow("other lines than the settings changed")
        << kGameFile + "[More]\r\nA=1\r\n"
        << false << int(QMessageBox::No) << QByteArray() << QString();
    const QByteArray sameSize =
        QByteArray(kGameFile).replace("TimeLimitMinutes=45", "TimeLimitMinutes=20");
    QTest::newRow("renamed over, the same size and time: another file")
        << sameSize << true << int(QMessageBox::No) << QByteArray() << "renamed";
    QTest::newRow("rewritten in place right after the load, the same size and time")
        << sameSize << true << int(QMessageBox::No) << QByteArray() << "in place";
  }

  void saveAfterAnotherProgramChangedTheFile() {
    QFETCH(QByteArray, changed);
    QFETCH(int, answer);
    QFETCH(QByteArray, saved);
    GameWindow t(kMaps, kGameFile);
    t.window.txtTime->setText(QStringLiteral("60"));
    QFETCH(QString, how);
    namespace fs = std::filesystem;
    const fs::path file = t.game.path().toStdU16String();
    if (!how.isEmpty()) {
      // Loaded again at a time of whole seconds, which every system keeps exactly: just now, or
      // an hour before for "renamed".
      auto loadedAt = std::chrono::floor<std::chrono::seconds>(fs::last_write_time(file));
      if (how == "renamed") loadedAt -= std::chrono::hours(1);
      fs::last_write_time(file, loadedAt);
      t.window.LoadSettings(t.game.path());
      t.window.txtTime->setText(QStringLiteral("60"));
      if (how == "renamed") {
        const fs::path other = t.game.write(changed, QStringLiteral("other.ini")).toStdU16String();
        fs::last_write_time(other, loadedAt);
        fs::rename(other, file);
      } else {
        t.game.write(changed);
        fs::last_write_time(file, loadedAt);
      }
    } else if (changed.isNull()) {
      QVERIFY(QFile::remove(t.game.path()));
    } else {
      t.game.write(changed);
    }
    t.save(QMessageBox::StandardButton(answer));
    QCOMPARE(t.desktop.messages.size(), 1);
    const ShownMessage& question = t.desktop.messages.front();
    QFETCH(bool, asks);
    QCOMPARE(
        question.text.contains(QStringLiteral("Another program changed ") + native(t.game.path())),
        asks);
    QCOMPARE(question.title, QStringLiteral("Save"));
    QCOMPARE(question.defaultButton, asks ? QMessageBox::No : QMessageBox::Yes);
    QCOMPARE(t.game.read(), saved.isNull() ? changed : saved);
    // Not saved: the window keeps its edits, and asks again at the next save.
    QCOMPARE(t.window.hasUnsavedEdits(), answer == QMessageBox::No);
    QCOMPARE(t.window.txtTime->text(), QStringLiteral("60"));
  }

  void anotherProgramsChangeIsLoadedWhileNothingIsUnsaved() {
    GameWindow t(kMaps, kGameFile);
    frmSkirmish& w = t.window;
    GameWindow::click(w.lstRenData, 0);  // "+++ C&C_Field.mix"
    GameWindow::click(w.lstMaps, 1);     // "C&C_Under.mix"
    const auto rotation = [](const char* first, const char* second) {
      return QByteArray("[Settings]\r\nTimeLimitMinutes=20\r\nMapName01=") + first +
             "\r\nMapName02=" + second + "\r\n";
    };
    t.game.write(rotation("C&C_Under.mix", "C&C_Gone.mix"));  // rewritten in place
    QTRY_COMPARE(t.rotation(), (QStringList{"C&C_Under.mix", "C&C_Gone.mix"}));
    QCOMPARE(w.txtTime->text(), QStringLiteral("20"));
    QVERIFY(!w.hasUnsavedEdits());
    // The selected entries that are still listed stay selected.
    QCOMPARE(w.lstMaps->selectedRows(), QList<int>{0});
    QCOMPARE(w.lstRenData->selectedRows(), QList<int>{0});
    QCOMPARE(t.available().front(), QStringLiteral("C&C_Field.mix"));

    // Corvane's own saves are never taken for another program's change. The file is still
    // watched after a file with the same settings was renamed over it (as a save replaces it),
    // and after it was deleted and made again; each step waits until the watch noticed it.
    const auto* watcher = w.fileWatch().findChild<QFileSystemWatcher*>();
    QSignalSpy fileNoticed(watcher, &QFileSystemWatcher::fileChanged);
    QSignalSpy folderNoticed(watcher, &QFileSystemWatcher::directoryChanged);
    // Noticed, and the file read after the moment the watch lets it settle.
    const auto* settling = w.fileWatch().findChild<QTimer*>();
    const auto noticed = [&] {
      return (!fileNoticed.isEmpty() || !folderNoticed.isEmpty()) && !settling->isActive();
    };
    QTest::mouseClick(w.chkSpawn, Qt::LeftButton);
    t.save();
    QTest::mouseClick(w.chkSpawn, Qt::LeftButton);
    t.save();
    QTRY_VERIFY(noticed());
    fileNoticed.clear();
    folderNoticed.clear();
    QFile replacement(t.game.path(QStringLiteral("new.ini")));
    QVERIFY(replacement.open(QIODevice::WriteOnly));
    replacement.write(t.game.read() + "[Other]\r\nA=1\r\n");
    replacement.close();
    std::error_code renamed;  // over the file, as a program that saves safely does
    std::filesystem::rename(replacement.fileName().toStdU16String(), t.game.path().toStdU16String(),
                            renamed);
    QVERIFY(!renamed);
    QTRY_VERIFY(noticed());
    t.game.write(rotation("C&C_Field.mix", "C&C_Field.mix"));
    QTRY_COMPARE(t.rotation(), (QStringList{"C&C_Field.mix", "C&C_Field.mix"}));
    fileNoticed.clear();
    folderNoticed.clear();
    QVERIFY(QFile::remove(t.game.path()));
    QTRY_VERIFY(noticed());
    t.game.write(rotation("C&C_Under.mix", "C&C_Field.mix"));
    QTRY_COMPARE(t.rotation(), (QStringList{"C&C_Under.mix", "C&C_Field.mix"}));
    for (const ShownMessage& question : t.desktop.messages) {  // Save's usual question only
      QVERIFY(question.text.startsWith(u"Save settings to "));
    }

    // With unsaved edits nothing is loaded.
    QTest::mouseClick(w.chkSpawn, Qt::LeftButton);
    QSignalSpy changed(&w.fileWatch(), &corvane::SettingsFileWatch::changed);
    t.game.write(rotation("C&C_Under.mix", "C&C_Under.mix"));
    QTRY_VERIFY(!changed.isEmpty());
    QCOMPARE(t.rotation(), (QStringList{"C&C_Under.mix", "C&C_Field.mix"}));
    QVERIFY(w.hasUnsavedEdits());
  }

  void unsavedMeansDifferent_data() {
    QTest::addColumn<QString>("edit");
    QTest::addColumn<bool>("unsaved");
    QTest::newRow("the time limit typed over with its own value") << "45" << false;
    QTest::newRow("a box ticked twice") << "tick tick" << false;
    QTest::newRow("an entry moved down") << "down" << true;
  }
  void unsavedMeansDifferent() {
    QFETCH(QString, edit);
    GameWindow t(kMaps, kGameFile);
    frmSkirmish& w = t.window;
    GameWindow::click(w.lstMaps, 0);
    for (const QString& step : edit.split(u' ')) {
      if (step == "tick") QTest::mouseClick(w.chkSpawn, Qt::LeftButton);
      if (step == "down" || step == "up")
        QTest::keyClick(w.lstMaps, step == "up" ? Qt::Key_Up : Qt::Key_Down, Qt::AltModifier);
      if (step[0].isDigit()) {
        w.txtTime->selectAll();
        QTest::keyClicks(w.txtTime, step);
      }
    }
    QTEST(w.hasUnsavedEdits(), "unsaved");
    QFETCH(bool, unsaved);
    QCOMPARE(w.close(), !unsaved);  // the question is cancelled
  }

  void closingOrLoadingAsksAboutUnsavedEdits_data() {
    QTest::addColumn<bool>("edited");  // the rotation's order changed
    QTest::addColumn<bool>("byLoad");  // Load ... pressed instead of closing
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("goesOn");  // closes, or opens the Load dialog
    QTest::addColumn<bool>("saved");
    const int yes = QMessageBox::Yes;
    QTest::newRow("no edits: no question")
        << false << false << int(QMessageBox::Cancel) << true << false;
    QTest::newRow("Cancel keeps the window")
        << true << false << int(QMessageBox::Cancel) << false << false;
    QTest::newRow("No closes") << true << false << int(QMessageBox::No) << true << false;
    QTest::newRow("Yes saves and closes") << true << false << yes << true << true;
    QTest::newRow("Yes, the save fails: stays") << true << false << yes << false << false;
    QTest::newRow("Load: Cancel") << true << true << int(QMessageBox::Cancel) << false << false;
    QTest::newRow("Load: No opens the dialog")
        << true << true << int(QMessageBox::No) << true << false;
    QTest::newRow("Load: Yes saves, then opens it") << true << true << yes << true << true;
  }
  void closingOrLoadingAsksAboutUnsavedEdits() {
    QFETCH(bool, edited);
    GameWindow t(kMaps, kGameFile);
    if (edited) {
      GameWindow::click(t.window.lstMaps, 0);
      QTest::keyClick(t.window.lstMaps, Qt::Key_Down, Qt::AltModifier);
    }
    if (QTest::currentDataTag() == QByteArray("Yes, the save fails: stays")) {
      QFile::setPermissions(t.game.path(), QFileDevice::ReadOwner);
    }
    QFETCH(int, answer);
    t.desktop.messageAnswers.enqueue(QMessageBox::StandardButton(answer));
    QFETCH(bool, byLoad);
    if (byLoad) QTest::mouseClick(t.window.cmdLoad, Qt::LeftButton);  // the dialog is cancelled
    QTEST(byLoad ? !t.desktop.fileRequests.isEmpty() : t.window.close(), "goesOn");
    QCOMPARE(t.desktop.messages.isEmpty(), !edited);
    if (edited)
      QCOMPARE(t.desktop.messages.front().text, "Save changes to " + native(t.game.path()) + "?");
    QTEST(t.game.read() != kGameFile, "saved");
  }

  void noReloadUnderAnOpenQuestion() {
    // Another program rewrites the file while the Save question is open: the window stays as
    // the player saw it, and that is what Yes saves.
    GameWindow t(kMaps, kGameFile);
    QSignalSpy changed(&t.window.fileWatch(), &corvane::SettingsFileWatch::changed);
    bool first = true;
    t.desktop.whileAsking = [&] {
      if (!std::exchange(first, false)) return;
      t.game.write(QByteArray(kGameFile).replace("TimeLimitMinutes=45", "TimeLimitMinutes=20"));
      QTRY_VERIFY(!changed.isEmpty());
    };
    t.desktop.messageAnswers.enqueue(QMessageBox::Yes);  // to "Another program changed ..."
    t.save();
    QCOMPARE(t.window.txtTime->text(), QStringLiteral("45"));
    QVERIFY(t.game.read().contains("TimeLimitMinutes=45\r\n"));
  }
};

QTEST_MAIN(tst_Saving)
#include "tst_saving.moc"
