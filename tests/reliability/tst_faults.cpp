// Faults met through the window: the settings file deleted or changed by another program between
// load and save, the Data folder gone while the program runs, and a settings file that is a
// symbolic link.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "NumericField.h"
#include "ScriptedDesktop.h"
#include "WindowFixture.h"

namespace {

const QByteArray kGameFile =
    "; written by hand\r\n[Settings]\r\nTimeLimitMinutes=45\r\nPort=4848\n"
    "MapName01=C&C_Field.mix\r\nMapName02=C&C_Under.mix\r\n\r\n[Other]\r\nMapName01=keep.mix\r\n";

// The settings lines of a window that loaded kGameFile and whose time limit was set to 60.
const QByteArray kWindowSettingsLines =
    "TimeLimitMinutes=60\r\nStartingCredits=10000\r\nRadarMode=2\r\nIsTeamChangingAllowed=yes\r\n"
    "BaseDestructionEndsGame=yes\r\nBeaconPlacementEndsGame=yes\r\nCanRepairBuildings=yes\r\n"
    "SpawnWeapons=yes\r\nIsFriendlyFirePermitted=yes\r\n";
const QByteArray kWindowMapLines = "MapName01=C&C_Field.mix\r\nMapName02=C&C_Under.mix\r\n";

const QStringList kMaps = {QStringLiteral("C&C_Field.mix"), QStringLiteral("C&C_Under.mix")};

// Names in `folder` that are temporary files of a save.
QStringList temporaryFilesIn(const QString& folder) {
  return QDir(folder).entryList({QStringLiteral(".*.corvane-*")},
                                QDir::Files | QDir::Hidden | QDir::System);
}

// Clicks Save and answers Yes to its question.
void clickSave(ScriptedDesktop& desktop, frmSkirmish& window) {
  desktop.messageAnswers.enqueue(QMessageBox::Yes);
  QTest::mouseClick(window.cmdSave, Qt::LeftButton);
}

}  // namespace

class tst_Faults : public QObject {
  Q_OBJECT

 private slots:
  void fileChangedBetweenLoadAndSave_data();
  void fileChangedBetweenLoadAndSave();
  void dataFolderGoneWhileRunning_data();
  void dataFolderGoneWhileRunning();
  void settingsFileIsASymbolicLink_data();
  void settingsFileIsASymbolicLink();
};

void tst_Faults::fileChangedBetweenLoadAndSave_data() {
  QTest::addColumn<bool>("deleted");
  QTest::addColumn<QByteArray>("fileAtSave");  // what another program left, when not deleted
  QTest::addColumn<QByteArray>("expected");

  const QByteArray fresh = "[Settings]\r\n" + kWindowSettingsLines + kWindowMapLines;
  QTest::newRow("deleted") << true << QByteArray() << fresh;
  QTest::newRow("emptied") << false << QByteArray() << fresh;
  // The game rewrote the file meanwhile: its new lines are what the save keeps.
  QTest::newRow("rewritten by the game")
      << false
      << QByteArray(
             "[Settings]\r\nTimeLimitMinutes=45\r\nMaxPlayers=8\r\n[Server]\r\nPort=4849\r\n")
      << QByteArray("[Settings]\r\nTimeLimitMinutes=60\r\nMaxPlayers=8\r\n" +
                    kWindowSettingsLines.mid(QByteArray("TimeLimitMinutes=60\r\n").size()) +
                    kWindowMapLines + "[Server]\r\nPort=4849\r\n");
}

void tst_Faults::fileChangedBetweenLoadAndSave() {
  QFETCH(bool, deleted);
  QFETCH(QByteArray, fileAtSave);
  QFETCH(QByteArray, expected);
  ScriptedDesktop desktop;
  GameFolder game(kMaps);
  game.writeSettings(kGameFile);
  frmSkirmish window(desktop);
  findGame(window, game);
  window.show();
  QCOMPARE(rotationEntries(window), kMaps);
  window.txtTime->setText(QStringLiteral("60"));

  if (deleted) {
    QVERIFY(QFile::remove(game.settingsPath()));
  } else {
    game.writeSettings(fileAtSave);
  }
  clickSave(desktop, window);

  QCOMPARE(desktop.messages.size(), 1);  // the question only: the game needs the file back
  QCOMPARE(game.readSettings(), expected);
  QVERIFY(temporaryFilesIn(game.data).isEmpty());
}

void tst_Faults::dataFolderGoneWhileRunning_data() {
  QTest::addColumn<bool>("replacedByFile");
  QTest::addColumn<QString>("reason");
  QTest::newRow("removed") << false << QString::fromLocal8Bit(std::strerror(ENOENT));
  QTest::newRow("replaced by a file") << true << QString::fromLocal8Bit(std::strerror(ENOTDIR));
}

void tst_Faults::dataFolderGoneWhileRunning() {
  QFETCH(bool, replacedByFile);
  QFETCH(QString, reason);
  ScriptedDesktop desktop;
  GameFolder game(kMaps);
  game.writeSettings(kGameFile);
  frmSkirmish window(desktop);
  findGame(window, game);
  window.show();
  window.txtTime->setText(QStringLiteral("60"));
  const QStringList available = availableEntries(window);
  const QStringList rotation = rotationEntries(window);

  QVERIFY(QDir(game.data).removeRecursively());
  if (replacedByFile) QVERIFY(QFile(game.data).open(QIODevice::WriteOnly));

  for (int attempt = 1; attempt <= 2; ++attempt) {  // a second try fails the same way
    clickSave(desktop, window);
    QCOMPARE(desktop.messages.size(), 2 * attempt);
    const ShownMessage& warning = desktop.messages.back();
    QCOMPARE(warning.icon, QMessageBox::Warning);
    QVERIFY2(warning.text.contains(QDir::toNativeSeparators(game.settingsPath())),
             qPrintable(warning.text));
    QVERIFY2(warning.text.contains(reason), qPrintable(warning.text));
    QCOMPARE(window.txtTime->text(), QStringLiteral("60"));
    QCOMPARE(availableEntries(window), available);
    QCOMPARE(rotationEntries(window), rotation);
    QCOMPARE(window.comDLG.FileName, game.settingsPath());
  }

  // Once the folder is back, the window's contents save as they stood.
  if (replacedByFile) QVERIFY(QFile::remove(game.data));
  QVERIFY(QDir().mkpath(game.data));
  clickSave(desktop, window);
  QCOMPARE(desktop.messages.size(), 5);
  QCOMPARE(game.readSettings(), "[Settings]\r\n" + kWindowSettingsLines + kWindowMapLines);
}

void tst_Faults::settingsFileIsASymbolicLink_data() {
  QTest::addColumn<QString>("linkText");  // what the link in Data holds; {root} is the game folder
  QTest::addColumn<QString>("targetName");  // the file it leads to, under the game folder
  QTest::addColumn<QString>("middleLink");  // a second link on the way, or ""

  QTest::newRow("absolute") << "{root}/Profiles/skirmish.ini"
                            << "Profiles/skirmish.ini"
                            << "";
  QTest::newRow("relative") << "../Profiles/skirmish.ini"
                            << "Profiles/skirmish.ini"
                            << "";
  QTest::newRow("in the same folder") << "skirmish-real.ini"
                                      << "Data/skirmish-real.ini"
                                      << "";
  QTest::newRow("chain of two links") << "../Profiles/current.ini"
                                      << "Profiles/skirmish.ini"
                                      << "Profiles/current.ini";
}

void tst_Faults::settingsFileIsASymbolicLink() {
  namespace fs = std::filesystem;
  QFETCH(QString, linkText);
  QFETCH(QString, targetName);
  QFETCH(QString, middleLink);
  ScriptedDesktop desktop;
  GameFolder game(kMaps);
  const QString root = game.root.path();
  const QString target = root + u'/' + targetName;
  QVERIFY(QDir().mkpath(QFileInfo(target).path()));
  {
    QFile file(target);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(kGameFile);
  }
  linkText.replace(QStringLiteral("{root}"), root);
  const fs::path link = game.settingsPath().toStdString();
  fs::create_symlink(linkText.toStdString(), link);
  if (!middleLink.isEmpty()) {
    fs::create_symlink(QFileInfo(targetName).fileName().toStdString(),
                       (root + u'/' + middleLink).toStdString());
  }

  frmSkirmish window(desktop);
  findGame(window, game);
  window.show();
  QCOMPARE(window.txtTime->text(), QStringLiteral("45"));  // read through the link
  QCOMPARE(rotationEntries(window), kMaps);
  window.txtTime->setText(QStringLiteral("60"));
  clickSave(desktop, window);

  QCOMPARE(desktop.messages.size(), 1);
  QVERIFY(fs::is_symlink(link));
  QCOMPARE(QString::fromStdString(fs::read_symlink(link).string()), linkText);
  if (!middleLink.isEmpty()) QVERIFY(fs::is_symlink((root + u'/' + middleLink).toStdString()));
  QFile written(target);
  QVERIFY(written.open(QIODevice::ReadOnly));
  QCOMPARE(written.readAll(),
           QByteArray("; written by hand\r\n[Settings]\r\nTimeLimitMinutes=60\r\nPort=4848\n" +
                      kWindowSettingsLines.mid(QByteArray("TimeLimitMinutes=60\r\n").size()) +
                      kWindowMapLines + "\r\n[Other]\r\nMapName01=keep.mix\r\n"));
  QVERIFY(temporaryFilesIn(game.data).isEmpty());
  QVERIFY(temporaryFilesIn(QFileInfo(target).path()).isEmpty());
}

QTEST_MAIN(tst_Faults)
#include "tst_faults.moc"
