// Tests of start-up: finding the game from the registry or a picked folder, the question and its
// answers, the lock, and the settings file loaded.
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "NumericField.h"
#include "Registry.h"
#include "ScriptedDesktop.h"
#include "WindowFixture.h"
#include "WinePrefixRegistry.h"

namespace {

// A registry that holds the game's install path, or nothing at all.
class FakeRegistry : public corvane::RegistryStore {
 public:
  explicit FakeRegistry(std::optional<QString> installPath) : installPath_(installPath) {}
  corvane::RegistryAnswer lookUp(corvane::RootKeyHandle root, const std::string& subKey,
                                 const std::string& valueName) override {
    if (!installPath_ || root != corvane::root_keys::kLocalMachine ||
        subKey != "Software\\Westwood\\Renegade" || valueName != "InstallPath") {
      return corvane::RegistryAnswer::keyMissing();
    }
    return corvane::RegistryAnswer::found(installPath_->toStdString());
  }

 private:
  std::optional<QString> installPath_;
};

const QString kQuestion = QStringLiteral(
    "Renegade was not found on your computer.\nWould you like to choose the folder yourself?");

void writeFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

}  // namespace

class tst_Startup : public QObject {
  Q_OBJECT

 private slots:
  void registryFindsGame();
  void registryPathForms_data();
  void registryPathForms();
  void notFoundAsks();
  void answers_data();
  void answers();
  void dataFolderAndFileInAnyLetterCase();
  void dataFolderWithoutSettingsFile();
  void winePrefixFindsGame();
};

void tst_Startup::registryFindsGame() {
  ScriptedDesktop desktop;
  GameFolder game({QStringLiteral("C&C_Field.mix")});
  game.writeSettings("[Settings]\r\nTimeLimitMinutes=45\r\nMapName01=C&C_Field.mix\r\n");
  const QString exe = game.root.filePath(QStringLiteral("Renegade.exe"));
  writeFile(exe, "");
  FakeRegistry registry(exe);
  frmSkirmish window(desktop);
  QVERIFY(window.Form_Load(registry));
  QVERIFY(desktop.messages.isEmpty());
  QVERIFY(window.GameFound);
  QCOMPARE(window.txtInstallPath->text(), exe);
  QCOMPARE(window.GameExePath, exe);
  QCOMPARE(window.InstallFolder, game.root.path());
  QCOMPARE(window.DataFolder, game.data);
  QCOMPARE(window.File1.path(), game.data);
  QCOMPARE(window.comDLG.FileName, game.settingsPath());
  QVERIFY(window.lstMaps->isEnabled());
  QCOMPARE(window.txtTime->text(), QStringLiteral("45"));
  QCOMPARE(availableEntries(window), QStringList{"+++ C&C_Field.mix"});
}

void tst_Startup::registryPathForms_data() {
  QTest::addColumn<QString>("registryValue");  // relative to a scratch folder
  QTest::addColumn<QString>("dataFolder");     // where Data exists, relative; "" for none
  QTest::addColumn<bool>("found");
  QTest::addColumn<QString>("installFolder");
  QTest::newRow("a folder path: its parent is taken") << "Westwood/Renegade"
                                                      << "Westwood/Renegade/Data" << false << "";
  QTest::newRow("a folder path whose parent holds Data") << "Westwood/Renegade"
                                                         << "Westwood/Data" << true << "Westwood";
  QTest::newRow("a trailing separator is cut") << "Games/Renegade/"
                                               << "Games/Renegade/Data" << true << "Games/Renegade";
  QTest::newRow("an executable in a folder without Data") << "Game/Renegade.exe"
                                                          << "" << false << "";
  QTest::newRow("a path that does not exist") << "Missing/Renegade.exe"
                                              << "Missing/Data" << false << "";
}

void tst_Startup::registryPathForms() {
  QFETCH(QString, registryValue);
  QFETCH(QString, dataFolder);
  QFETCH(bool, found);
  QFETCH(QString, installFolder);
  QTemporaryDir scratch;
  if (!dataFolder.isEmpty() && !registryValue.startsWith(QStringLiteral("Missing"))) {
    QDir().mkpath(scratch.filePath(dataFolder));
  }
  if (registryValue.endsWith(QStringLiteral(".exe")) &&
      !registryValue.startsWith(QStringLiteral("Missing"))) {
    writeFile(scratch.filePath(registryValue), "");
  }
  QDir().mkpath(scratch.filePath(QStringLiteral("Westwood/Renegade")));
  ScriptedDesktop desktop;
  desktop.messageAnswers.enqueue(QMessageBox::No);
  FakeRegistry registry(scratch.filePath(registryValue));
  frmSkirmish window(desktop);
  QVERIFY(window.Form_Load(registry));
  QCOMPARE(window.GameFound, found);
  QCOMPARE(desktop.messages.size(), found ? 0 : 1);
  if (found) QCOMPARE(window.InstallFolder, scratch.filePath(installFolder));
}

void tst_Startup::notFoundAsks() {
  ScriptedDesktop desktop;
  desktop.messageAnswers.enqueue(QMessageBox::No);
  FakeRegistry registry(std::nullopt);
  frmSkirmish window(desktop);
  QVERIFY(window.Form_Load(registry));
  QCOMPARE(window.txtInstallPath->text(), QStringLiteral("Error"));
  QCOMPARE(desktop.messages.size(), 1);
  const ShownMessage& question = desktop.messages.front();
  QCOMPARE(question.text, kQuestion);
  QCOMPARE(question.title, QStringLiteral("Renegade"));
  QCOMPARE(question.icon, QMessageBox::Question);
  QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  QCOMPARE(question.defaultButton, QMessageBox::Yes);
  QVERIFY(desktop.folderRequests.isEmpty());
}

void tst_Startup::answers_data() {
  QTest::addColumn<int>("answer");
  QTest::addColumn<QString>("picked");  // "" cancels the picker; "game" the game folder;
                                        // "empty" a folder without Data
  QTest::addColumn<bool>("goesOn");
  QTest::addColumn<bool>("found");
  QTest::newRow("Cancel ends the program") << int(QMessageBox::Cancel) << "" << false << false;
  QTest::newRow("No opens the window locked") << int(QMessageBox::No) << "" << true << false;
  QTest::newRow("Yes and a cancelled picker: locked")
      << int(QMessageBox::Yes) << "" << true << false;
  QTest::newRow("Yes and a folder without Data: locked")
      << int(QMessageBox::Yes) << "empty" << true << false;
  QTest::newRow("Yes and the game's folder: loaded")
      << int(QMessageBox::Yes) << "game" << true << true;
}

void tst_Startup::answers() {
  QFETCH(int, answer);
  QFETCH(QString, picked);
  QFETCH(bool, goesOn);
  QFETCH(bool, found);
  GameFolder game({QStringLiteral("C&C_Field.mix")});
  game.writeSettings("[Settings]\r\nStartingCredits=777\r\n");
  QTemporaryDir empty;
  ScriptedDesktop desktop;
  desktop.messageAnswers.enqueue(static_cast<QMessageBox::StandardButton>(answer));
  desktop.folderAnswers.enqueue(picked == "game"    ? game.root.path()
                                : picked == "empty" ? empty.path()
                                                    : QString());
  FakeRegistry registry(std::nullopt);
  frmSkirmish window(desktop);
  QCOMPARE(window.Form_Load(registry), goesOn);
  QCOMPARE(desktop.messages.size(), 1);  // one question, never a second message
  QCOMPARE(window.GameFound, found);
  QCOMPARE(desktop.folderRequests.size(), answer == QMessageBox::Yes ? 1 : 0);
  if (answer == QMessageBox::Yes) {
    QCOMPARE(desktop.folderRequests.front(),
             QStringLiteral("Renegade Location|") + QDir::homePath());
  }
  QCOMPARE(window.txtCredits->isEnabled(), found);
  QCOMPARE(window.cmdAbout->isEnabled(), true);
  if (found) {
    QCOMPARE(window.GameExePath, game.root.filePath(QStringLiteral("Renegade.exe")));
    QCOMPARE(window.DataFolder, game.data);
    QCOMPARE(window.txtCredits->text(), QStringLiteral("777"));
  } else {
    QCOMPARE(window.txtCredits->text(), QStringLiteral("10000"));
    QVERIFY(window.comDLG.FileName.isEmpty());
  }
}

void tst_Startup::dataFolderAndFileInAnyLetterCase() {
  QTemporaryDir root;
  writeFile(root.filePath(QStringLiteral("DATA/SvrCfg_Skirmish.INI")),
            "[Settings]\r\nTimeLimitMinutes=12\r\n");
  writeFile(root.filePath(QStringLiteral("DATA/C&C_Field.mix")), "");
  writeFile(root.filePath(QStringLiteral("Renegade.exe")), "");
  ScriptedDesktop desktop;
  FakeRegistry registry(root.filePath(QStringLiteral("Renegade.exe")));
  frmSkirmish window(desktop);
  QVERIFY(window.Form_Load(registry));
  QVERIFY(window.GameFound);
  QCOMPARE(window.DataFolder, root.filePath(QStringLiteral("DATA")));
  QCOMPARE(window.comDLG.FileName, root.filePath(QStringLiteral("DATA/SvrCfg_Skirmish.INI")));
  QCOMPARE(window.txtTime->text(), QStringLiteral("12"));
}

void tst_Startup::dataFolderWithoutSettingsFile() {
  GameFolder game({QStringLiteral("C&C_Field.mix")});
  writeFile(game.root.filePath(QStringLiteral("Renegade.exe")), "");
  ScriptedDesktop desktop;
  FakeRegistry registry(game.root.filePath(QStringLiteral("Renegade.exe")));
  frmSkirmish window(desktop);
  QVERIFY(window.Form_Load(registry));
  QVERIFY(window.GameFound);
  QVERIFY(window.txtTime->isEnabled());
  QCOMPARE(window.txtTime->text(), QStringLiteral("30"));
  QVERIFY(window.chkSpawn->isChecked());
  QCOMPARE(window.comDLG.FileName, game.settingsPath());
  QVERIFY(!QFile::exists(game.settingsPath()));  // loading never creates the file
}

void tst_Startup::winePrefixFindsGame() {
  // A home with a Wine prefix in Wine's own format; drive C: is the prefix's drive_c.
  QTemporaryDir home;
  const QString prefix = home.filePath(QStringLiteral(".wine"));
  const QString gameFolder = prefix + QStringLiteral("/drive_c/Westwood/Renegade");
  writeFile(prefix + QStringLiteral("/system.reg"),
            "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n\n"
            "[Software\\\\Westwood\\\\Renegade] 1796583161\n#time=1dd85b2f89b3754\n"
            "\"InstallPath\"=\"C:\\\\Westwood\\\\Renegade\\\\Renegade.exe\"\n");
  QDir().mkpath(prefix + QStringLiteral("/dosdevices"));
  QFile::link(QStringLiteral("../drive_c"), prefix + QStringLiteral("/dosdevices/c:"));
  writeFile(gameFolder + QStringLiteral("/Renegade.exe"), "");
  writeFile(gameFolder + QStringLiteral("/data/svrcfg_skirmish.ini"),
            "[Settings]\r\nRadarMode=0\r\n");
  corvane::WinePrefixRegistry registry(home.path().toStdString(), std::nullopt);
  ScriptedDesktop desktop;
  frmSkirmish window(desktop);
  QVERIFY(window.Form_Load(registry));
  QVERIFY(desktop.messages.isEmpty());
  QCOMPARE(window.DataFolder, gameFolder + QStringLiteral("/data"));
  QVERIFY(window.optRadar[0]->isChecked());
}

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
