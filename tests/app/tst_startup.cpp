// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: finding the game from the registry or a folder the player picks, the question and
// its answers, the lock, and the game's settings file loaded.
#include <QDir>
#include <QPushButton>
#include <QTest>

#include "GameWindow.h"
#include "NumericField.h"
#include "TempFolder.h"

using corvane::testing::GameFolder;
using corvane::testing::TableRegistry;

class tst_Startup : public QObject {
  Q_OBJECT

 private slots:
  void registryPathForms_data() {
    QTest::addColumn<QString>("value");          // of InstallPath, below a scratch folder
    QTest::addColumn<QString>("installFolder");  // "" when the game is not found
    QTest::newRow("the executable") << "Game/Renegade.exe" << QStringLiteral("Game");
    QTest::newRow("a folder: its parent is taken")
        << "Westwood/Renegade" << QStringLiteral("Westwood");
    QTest::newRow("a folder without Data") << "Empty/Renegade.exe" << QString();
  }

  void registryPathForms() {
    QFETCH(QString, value);
    QFETCH(QString, installFolder);
    QTemporaryDir scratch;
    const auto writeFile = [&scratch](const char* name, const char* bytes) {
      corvane::testing::writeFile(scratch.filePath(name).toStdU16String(), bytes);
    };
    writeFile("Game/Renegade.exe", "");
    writeFile("Game/DATA/SvrCfg_Skirmish.INI", "[Settings]\r\nTimeLimitMinutes=12\r\n");
    writeFile("Empty/Renegade.exe", "");
    QDir().mkpath(scratch.filePath("Westwood/Renegade"));
    QDir().mkpath(scratch.filePath("Westwood/Data"));
    ScriptedDesktop desktop;
    desktop.messageAnswers.enqueue(QMessageBox::No);
    // The registry names paths with the system's separators.
    TableRegistry registry = TableRegistry::withInstallPath(
        QDir::toNativeSeparators(scratch.filePath(value)).toStdString());
    frmSkirmish window(desktop);
    QVERIFY(window.Form_Load(registry));
    QCOMPARE(window.GameFound, !installFolder.isEmpty());
    QCOMPARE(desktop.messages.size(), installFolder.isEmpty() ? 1 : 0);
    QCOMPARE(window.txtTime->isEnabled(), window.GameFound);
    if (installFolder == "Game") {  // Data and the settings file found in any letter case
      QCOMPARE(window.InstallFolder, QDir::toNativeSeparators(scratch.filePath(installFolder)));
      QCOMPARE(window.comDLG.FileName,
               QDir::toNativeSeparators(scratch.filePath("Game/DATA/SvrCfg_Skirmish.INI")));
      QCOMPARE(window.txtTime->text(), QStringLiteral("12"));
    }
  }

  void answersToTheQuestion_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("picked");  // "game", "empty" (a folder without Data), "" cancels
    QTest::addColumn<bool>("goesOn");
    QTest::addColumn<bool>("found");
    QTest::newRow("Cancel ends the program") << int(QMessageBox::Cancel) << "" << false << false;
    QTest::newRow("No opens the window locked") << int(QMessageBox::No) << "" << true << false;
    QTest::newRow("Yes, the picker cancelled: locked")
        << int(QMessageBox::Yes) << "" << true << false;
    QTest::newRow("Yes, a folder without Data: locked")
        << int(QMessageBox::Yes) << "empty" << true << false;
    QTest::newRow("Yes, the game's folder: loaded")
        << int(QMessageBox::Yes) << "game" << true << true;
  }

  void answersToTheQuestion() {
    QFETCH(int, answer);
    QFETCH(QString, picked);
    GameFolder game({QStringLiteral("C&C_Field.mix")});
    game.write("[Settings]\r\nStartingCredits=777\r\n");
    QTemporaryDir empty;
    ScriptedDesktop desktop;
    desktop.messageAnswers.enqueue(static_cast<QMessageBox::StandardButton>(answer));
    desktop.fileAnswers.enqueue(picked == "game"    ? game.root.path()
                                : picked == "empty" ? empty.path()
                                                    : QString());
    TableRegistry registry;  // holds nothing
    frmSkirmish window(desktop);
    QTEST(window.Form_Load(registry), "goesOn");
    QCOMPARE(desktop.messages.size(), 1);  // one question, never a second message
    QCOMPARE(desktop.messages.front().buttons,
             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(desktop.folderRequests.size(), answer == QMessageBox::Yes ? 1 : 0);
    QTEST(window.GameFound, "found");
    QCOMPARE(window.txtCredits->isEnabled(), window.GameFound);
    QVERIFY(window.cmdAbout->isEnabled());
    QCOMPARE(window.txtCredits->text(), QString::fromLatin1(window.GameFound ? "777" : "10000"));
  }
};

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
