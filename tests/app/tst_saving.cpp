// Tests of Save and Save As: the question, the dialog, the bytes written, and what a failed
// save shows and leaves behind.
#include <QCheckBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTest>

#include <sys/fsuid.h>
#include <unistd.h>

#include "NumericField.h"
#include "ScriptedDesktop.h"
#include "WindowFixture.h"

namespace {

const QByteArray kGameFile =
    "; written by hand\r\n[Settings]\r\nTimeLimitMinutes=45\r\nPort=4848\r\n"
    "MapName00=C&C_Under.mix\r\nMapName01=C&C_Field.mix\r\nMapName02=C&C_Under.mix\r\n\r\n"
    "[Other]\r\nMapName01=keep.mix\r\n";

// While alive, file permissions are checked as for an ordinary user even when the tests run as
// root (CI does), so a folder without write permission refuses new files as it would for a
// player.
class OrdinaryUserPermissions {
 public:
  OrdinaryUserPermissions() {
    if (geteuid() == 0) setfsuid(65534);
  }
  ~OrdinaryUserPermissions() {
    if (geteuid() == 0) setfsuid(0);
  }
};

}  // namespace

class tst_Saving : public QObject {
  Q_OBJECT

 private slots:
  void saveAsksFirst();
  void saveNoWritesNothing();
  void saveWritesWindowIntoFile();
  void saveAsRefusesWithoutGame();
  void saveAsOffersGameFile();
  void saveAsCancelWritesNothing();
  void saveAsChangesCurrentFile();
  void failedSaveWarnsAndKeepsFile_data();
  void failedSaveWarnsAndKeepsFile();
  void diskFullSaveWarnsAndKeepsFile();
};

void tst_Saving::saveAsksFirst() {
  ScriptedDesktop desktop;
  GameFolder game({});
  frmSkirmish window(desktop);
  findGame(window, game);
  window.show();
  QTest::mouseClick(window.cmdSave, Qt::LeftButton);
  QCOMPARE(desktop.messages.size(), 1);
  const ShownMessage& question = desktop.messages.front();
  QCOMPARE(question.text, QStringLiteral("Save settings to ") + game.settingsPath() + u'?');
  QCOMPARE(question.title, QStringLiteral("Save"));
  QCOMPARE(question.icon, QMessageBox::Question);
  QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No);
  QCOMPARE(question.defaultButton, QMessageBox::Yes);
}

void tst_Saving::saveNoWritesNothing() {
  ScriptedDesktop desktop;
  GameFolder game({});
  game.writeSettings(kGameFile);
  frmSkirmish window(desktop);
  findGame(window, game);
  window.txtTime->setText(QStringLiteral("99"));
  window.show();
  desktop.messageAnswers.enqueue(QMessageBox::No);
  QTest::mouseClick(window.cmdSave, Qt::LeftButton);
  QCOMPARE(game.readSettings(), kGameFile);
}

void tst_Saving::saveWritesWindowIntoFile() {
  ScriptedDesktop desktop;
  GameFolder game({QStringLiteral("C&C_Field.mix"), QStringLiteral("C&C_Under.mix")});
  game.writeSettings(kGameFile);
  frmSkirmish window(desktop);
  findGame(window, game);
  window.show();
  QTest::keyClicks(window.txtCredits, QStringLiteral("5"));  // 10000 is full: nothing typed
  window.txtCredits->selectAll();
  QTest::keyClicks(window.txtCredits, QStringLiteral("2500"));
  QTest::mouseClick(window.optRadar[0], Qt::LeftButton);
  QTest::mouseClick(window.chkSpawn, Qt::LeftButton);
  desktop.messageAnswers.enqueue(QMessageBox::Yes);
  QTest::mouseClick(window.cmdSave, Qt::LeftButton);
  QCOMPARE(desktop.messages.size(), 1);  // the question only: a save that works says nothing
  QCOMPARE(game.readSettings(),
           QByteArray("; written by hand\r\n[Settings]\r\nTimeLimitMinutes=45\r\nPort=4848\r\n"
                      "StartingCredits=2500\r\nRadarMode=0\r\nIsTeamChangingAllowed=yes\r\n"
                      "BaseDestructionEndsGame=yes\r\nBeaconPlacementEndsGame=yes\r\n"
                      "CanRepairBuildings=yes\r\nSpawnWeapons=no\r\n"
                      "IsFriendlyFirePermitted=yes\r\nMapName01=C&C_Field.mix\r\n"
                      "MapName02=C&C_Under.mix\r\n\r\n[Other]\r\nMapName01=keep.mix\r\n"));
}

void tst_Saving::saveAsRefusesWithoutGame() {
  ScriptedDesktop desktop;
  frmSkirmish window(desktop);
  window.cmdSaveAs->setEnabled(true);  // reachable only if the lock were bypassed
  window.show();
  QTest::mouseClick(window.cmdSaveAs, Qt::LeftButton);
  QCOMPARE(desktop.messages.size(), 1);
  QCOMPARE(desktop.messages[0].text,
           QStringLiteral("You cannot save - Renegade is not installed."));
  QCOMPARE(desktop.messages[0].title, QStringLiteral("Error"));
  QCOMPARE(desktop.messages[0].icon, QMessageBox::Warning);
  QVERIFY(desktop.saveRequests.isEmpty());
}

void tst_Saving::saveAsOffersGameFile() {
  ScriptedDesktop desktop;
  GameFolder game({});
  frmSkirmish window(desktop);
  findGame(window, game);
  window.show();
  QTest::mouseClick(window.cmdSaveAs, Qt::LeftButton);
  QCOMPARE(desktop.saveRequests.size(), 1);
  const corvane::FileDialogRequest& request = desktop.saveRequests.front();
  QCOMPARE(request.title, QStringLiteral("Save Settings"));
  QCOMPARE(request.folder, game.data);
  QCOMPARE(request.fileName, game.settingsPath());
  QCOMPARE(request.filter, QStringLiteral("Configuration Settings (*.ini)"));
  QCOMPARE(request.defaultSuffix, QStringLiteral("ini"));
}

void tst_Saving::saveAsCancelWritesNothing() {
  ScriptedDesktop desktop;
  GameFolder game({});
  game.writeSettings(kGameFile, QStringLiteral("other.ini"));
  frmSkirmish window(desktop);
  findGame(window, game);
  window.LoadSettings(game.settingsPath(QStringLiteral("other.ini")));
  window.comDLG.FileName = game.settingsPath(QStringLiteral("other.ini"));
  window.txtTime->setText(QStringLiteral("12"));
  window.show();
  QTest::mouseClick(window.cmdSaveAs, Qt::LeftButton);  // no answer queued: cancel
  QVERIFY(!QFile::exists(game.settingsPath()));
  QCOMPARE(game.readSettings(QStringLiteral("other.ini")), kGameFile);
  QCOMPARE(window.comDLG.FileName, game.settingsPath(QStringLiteral("other.ini")));
}

void tst_Saving::saveAsChangesCurrentFile() {
  ScriptedDesktop desktop;
  GameFolder game({});
  frmSkirmish window(desktop);
  findGame(window, game);
  window.show();
  const QString other = game.settingsPath(QStringLiteral("other.ini"));
  desktop.fileAnswers.enqueue(other);
  QTest::mouseClick(window.cmdSaveAs, Qt::LeftButton);
  QVERIFY(game.readSettings(QStringLiteral("other.ini")).startsWith("[Settings]\r\n"));
  QVERIFY(!QFile::exists(game.settingsPath()));
  QTest::mouseClick(window.cmdSave, Qt::LeftButton);  // asks about the new file
  QCOMPARE(desktop.messages.back().text, QStringLiteral("Save settings to ") + other + u'?');
}

void tst_Saving::failedSaveWarnsAndKeepsFile_data() {
  QTest::addColumn<QString>("fault");
  QTest::newRow("read-only file") << "read-only file";
  QTest::newRow("read-only folder") << "read-only folder";
  QTest::newRow("missing folder") << "missing folder";
  QTest::newRow("a folder in the file's place") << "folder";
}

void tst_Saving::failedSaveWarnsAndKeepsFile() {
  QFETCH(QString, fault);
  ScriptedDesktop desktop;
  GameFolder game({QStringLiteral("C&C_Field.mix")});
  game.writeSettings(kGameFile);
  frmSkirmish window(desktop);
  findGame(window, game);
  QFile::setPermissions(game.root.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                              QFileDevice::ExeOther);
  QFile::setPermissions(game.data, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                       QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                       QFileDevice::ExeOther);
  QString target = game.settingsPath();
  if (fault == "read-only file") {
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::ReadOther);
  } else if (fault == "read-only folder") {
    QFile::setPermissions(game.data, QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                         QFileDevice::ReadOther | QFileDevice::ExeOther);
  } else if (fault == "missing folder") {
    target = game.root.filePath(QStringLiteral("Gone/svrcfg_skirmish.ini"));
  } else {
    target = game.root.filePath(QStringLiteral("Data"));
  }
  window.comDLG.FileName = target;
  window.txtTime->setText(QStringLiteral("77"));
  window.lstRenData->selectAll();
  window.cmdAdd_Click();
  const QStringList rotation = rotationEntries(window);
  window.show();

  desktop.messageAnswers.enqueue(QMessageBox::Yes);
  {
    OrdinaryUserPermissions asPlayer;
    QTest::mouseClick(window.cmdSave, Qt::LeftButton);
  }
  QCOMPARE(desktop.messages.size(), 2);
  const ShownMessage& warning = desktop.messages.back();
  QCOMPARE(warning.icon, QMessageBox::Warning);
  QVERIFY2(warning.text.contains(target), qPrintable(warning.text));
  QCOMPARE(window.txtTime->text(), QStringLiteral("77"));
  QCOMPARE(rotationEntries(window), rotation);
  QCOMPARE(game.readSettings(), kGameFile);
  QCOMPARE(QDir(game.data).entryList(QDir::Files | QDir::Hidden).size(), 2);  // no leftovers
  QFile::setPermissions(game.data,
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void tst_Saving::diskFullSaveWarnsAndKeepsFile() {
  if (geteuid() != 0) QSKIP("mounting a small file system needs root");
  QTemporaryDir mountPoint;
  if (QProcess::execute(QStringLiteral("mount"),
                        {"-t", "tmpfs", "-o", "size=64k", "tmpfs", mountPoint.path()}) != 0) {
    QSKIP("mounting a small file system is not permitted here");
  }
  const auto unmount =
      qScopeGuard([&] { QProcess::execute(QStringLiteral("umount"), {mountPoint.path()}); });
  const QString file = mountPoint.filePath(QStringLiteral("svrcfg_skirmish.ini"));
  {
    QFile settings(file);
    QVERIFY(settings.open(QIODevice::WriteOnly));
    QCOMPARE(settings.write(kGameFile), kGameFile.size());
    settings.close();
    QFile filler(mountPoint.filePath(QStringLiteral("filler")));
    QVERIFY(filler.open(QIODevice::WriteOnly));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
  }
  ScriptedDesktop desktop;
  GameFolder game({});
  frmSkirmish window(desktop);
  findGame(window, game);
  window.comDLG.FileName = file;
  QStringList many;
  for (int i = 0; i < 200; ++i) many.append(QStringLiteral("C&C_Map%1.mix").arg(i));
  window.lstMaps->mapModel()->setEntries(many);
  desktop.messageAnswers.enqueue(QMessageBox::Yes);
  window.cmdSave_Click();
  QCOMPARE(desktop.messages.size(), 2);
  QVERIFY2(desktop.messages.back().text.contains(file), qPrintable(desktop.messages.back().text));
  QFile settings(file);
  QVERIFY(settings.open(QIODevice::ReadOnly));
  QCOMPARE(settings.readAll(), kGameFile);
  QCOMPARE(QDir(mountPoint.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

QTEST_MAIN(tst_Saving)
#include "tst_saving.moc"
