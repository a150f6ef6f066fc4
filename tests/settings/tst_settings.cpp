// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file: what a file reads as, what a save writes into it, and its Windows-1252 text.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

#include "GameReading.h"
#include "SkirmishSettings.h"
#include "TempFolder.h"
#include "Windows1252.h"

using corvane::SkirmishSettings;

namespace {

QStringList maps(int first, int last) {
  QStringList names;
  for (int n = first; n <= last; ++n) names.append(QStringLiteral("C&C_Map%1.mix").arg(n));
  return names;
}

QByteArray mapLines(int first, int last) {
  QByteArray lines;
  for (int n = first; n <= last; ++n)
    lines += corvane::mapKeyName(n).toLatin1() + "=C&C_Map" + QByteArray::number(n) + ".mix\r\n";
  return lines;
}

// A settings file in a temporary folder.
struct File {
  QTemporaryDir dir;
  QString path = dir.filePath(QStringLiteral("svrcfg_skirmish.ini"));
  std::string bytes() const { return corvane::testing::readFile(corvane::localPath(path)); }
  void write(const QByteArray& bytes) const {
    corvane::testing::writeFile(corvane::localPath(path), bytes.toStdString());
  }
  std::filesystem::file_time_type modified() const {
    return std::filesystem::last_write_time(std::filesystem::path(path.toStdU16String()));
  }
};

}  // namespace

class tst_Settings : public QObject {
  Q_OBJECT

 private slots:
  void reads_data() {
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QString>("read");  // time, credits, radar, spawn, repair
    QTest::addColumn<QStringList>("rotation");
    QTest::newRow("no file: every default") << QByteArray() << "30 10000 2 1 1" << QStringList();
    QTest::newRow("on/off by the first character in any case, as the game; empty is off")
        << QByteArray("[Settings]\r\nSpawnWeapons=TRUE\r\nCanRepairBuildings=\r\nRadarMode=3\r\n")
        << "30 10000 -1 1 0" << QStringList();
    QTest::newRow("names in any case; values as they are, for the fields")
        << QByteArray("[settings]\nradarmode= 0 \nTIMELIMITMINUTES=1000\nStartingCredits=-5\n")
        << "1000 -5 0 1 1" << QStringList();
    QTest::newRow("a second Settings section is not read")
        << QByteArray("[Settings]\r\nRadarMode=1\r\n[Settings]\r\nSpawnWeapons=no\r\n" +
                      mapLines(1, 1))
        << "30 10000 1 1 1" << QStringList();
    QTest::newRow("MapName00 is never read")
        << "[Settings]\r\nMapName00=x.mix\r\n" + mapLines(1, 4) << "30 10000 2 1 1" << maps(1, 4);
    QTest::newRow("a gap ends the rotation after k+1 entries")
        << "[Settings]\r\n" + mapLines(1, 2) + "MapName04=C&C_Map4.mix\r\n"
        << "30 10000 2 1 1" << maps(1, 2);
    QTest::newRow("every entry counts, past 100: 01 to 150 load whole")
        << "[Settings]\r\n" + mapLines(1, 150) << "30 10000 2 1 1" << maps(1, 150);
    QTest::newRow("an empty entry is skipped, a single digit is no entry")
        << QByteArray("[Settings]\r\nMapName01=\r\nMapName02=C&C_Map2.mix\r\nMapName3=x.mix\r\n")
        << "30 10000 2 1 1" << maps(2, 2);
    QTest::newRow("values are cut after 254 bytes")
        << "[Settings]\r\nTimeLimitMinutes=" + QByteArray(254, '7') +
               "\r\nStartingCredits=" + QByteArray(255, '8') + "\r\n"
        << QString(254, u'7') + u' ' + QString(254, u'8') + " 2 1 1" << QStringList();
  }

  void reads() {
    QFETCH(QByteArray, section);
    const SkirmishSettings s =
        corvane::readSkirmishSettings(corvane::IniDocument::fromBytes(section.toStdString()));
    QTEST(QStringLiteral("%1 %2 %3 %4 %5")
              .arg(s.timeLimitMinutes, s.startingCredits)
              .arg(s.radarMode)
              .arg(int(s.spawnWeapons))
              .arg(int(s.canRepairBuildings)),
          "read");
    QTEST(s.rotation, "rotation");
  }

  // The numbers the game takes, at the edges of its ranges; a note on any other says so.
  void gameRanges_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("ignored");
    QTest::newRow("999 minutes") << "TimeLimitMinutes" << QByteArray("999") << false;
    QTest::newRow("1000 minutes") << "TimeLimitMinutes" << QByteArray("1000") << true;
    QTest::newRow("999999 credits") << "StartingCredits" << QByteArray("999999") << false;
    QTest::newRow("1000000 credits") << "StartingCredits" << QByteArray("1000000") << true;
  }
  void gameRanges() {
    QFETCH(QString, key);
    QFETCH(QByteArray, value);
    const QByteArray file = "[Settings]\r\n" + key.toLatin1() + '=' + value + "\r\n";
    const QString note =
        corvane::gameReadingNotes(corvane::IniDocument::fromBytes(file.toStdString()), {})
            .rules.value(key);
    QVERIFY(!note.isEmpty());  // the window shows the default
    QTEST(note.contains(u"range"), "ignored");
  }

  // A save writes its keys in their places, and keeps no second entry of one of them (the game
  // refuses a key named twice in a section); every other line stays.
  void savesOnlyItsKeysAndTheirPlaces() {
    File file;
    file.write(
        "; practice\n[Settings]\nSpawnWeapons=no\nPort=4848\nMapName01=old.mix\nMapName1=x\n"
        "RadarMode=1\nspawnweapons=no\nPort=4849\n\n[Other]\nMapName01=keep.mix\nA=1\nA=2\n");
    SkirmishSettings settings;
    settings.canRepairBuildings = false;
    settings.rotation = {QStringLiteral("new.mix")};
    QVERIFY(corvane::saveSkirmishSettings(file.path, settings).ok);
    QCOMPARE(
        file.bytes(),
        "; practice\n[Settings]\nSpawnWeapons=yes\r\nPort=4848\nMapName01=new.mix\r\nMapName1=x\n"
        "RadarMode=2\r\nPort=4849\nTimeLimitMinutes=30\r\nStartingCredits=10000\r\n"
        "IsTeamChangingAllowed=yes\r\nBaseDestructionEndsGame=yes\r\nBeaconPlacementEndsGame="
        "yes\r\n"
        "CanRepairBuildings=no\r\nIsFriendlyFirePermitted=yes\r\n\n[Other]\nMapName01=keep.mix\n"
        "A=1\nA=2\n");
  }

  void saveOfFewerMapsLeavesNoOldEntry() {
    // MapName100 of a save of 100 maps must not survive a save of 99: it would load again.
    File file;
    file.write("[Settings]\r\n" + mapLines(0, 5) + "mapname02=b.mix\r\nMapName007=x.mix\r\n");
    for (const int count : {100, 99, 3}) {
      SkirmishSettings settings;
      settings.rotation = maps(1, count);
      QVERIFY(corvane::saveSkirmishSettings(file.path, settings).ok);
      QCOMPARE(corvane::loadSkirmishSettings(file.path).rotation, maps(1, count));
    }
    // The entries the file had stay in their places.
    QVERIFY(file.bytes().starts_with(("[Settings]\r\n" + mapLines(1, 3)).toStdString()));
    QCOMPARE(QByteArray::fromStdString(file.bytes()).count("MapName"), 3);
  }

  void saveOfWhatTheFileHoldsLeavesItUntouched() {
    // The game reloads the file whenever its modification time changes.
    File file;
    file.write("[Settings]\nTimeLimitMinutes=45\nMapName01=a.mix\n");
    SkirmishSettings settings;
    settings.timeLimitMinutes = QStringLiteral("45");
    settings.rotation = {QStringLiteral("a.mix")};
    QVERIFY(corvane::saveSkirmishSettings(file.path, settings).ok);  // writes the keys it lacked
    const std::filesystem::file_time_type before = file.modified();
    QVERIFY(corvane::saveSkirmishSettings(file.path, corvane::loadSkirmishSettings(file.path)).ok);
    QVERIFY(file.modified() == before);
  }

  // Paths reach the file whole, also a folder's name that no ANSI code page of Windows holds.
  void savesAndLoadsInAnyFolder() {
    QTemporaryDir dir;
    const QString folder =
        dir.filePath(QStringLiteral("\u041A\u0430\u0440\u0442\u044B \u5730\u56FE"));
    QVERIFY(QDir().mkpath(folder));
    SkirmishSettings settings;
    settings.timeLimitMinutes = QStringLiteral("45");
    const QString path = folder + QStringLiteral("/svrcfg_skirmish.ini");
    QVERIFY(corvane::saveSkirmishSettings(path, settings).ok);
    QCOMPARE(corvane::loadSkirmishSettings(path), settings);
  }

  void codePageRoundTripsEveryByte() {
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    const QString text = corvane::fromWindows1252(all);
    QCOMPARE(text.mid(0x7F, 3), QStringLiteral("\u20AC\u0081\u201A"));  // the euro sign at 0x80
    QCOMPARE(text[0x99 - 1], QChar(0x2122));
    QCOMPARE(corvane::toWindows1252(text), std::optional<std::string>(all));
    QVERIFY(!corvane::toWindows1252(QStringLiteral("\u0100")));
  }
};

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_settings.moc"
