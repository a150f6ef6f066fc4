// Tests of the settings file format: what a file reads as, what a save writes, and the
// Windows-1252 text of the file.
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <iterator>

#include "IniDocument.h"
#include "SkirmishSettings.h"
#include "Windows1252.h"

using corvane::IniDocument;
using corvane::SkirmishSettings;

namespace {

std::string readFile(const QString& path) {
  std::ifstream in(corvane::localPath(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void writeFile(const QString& path, const std::string& bytes) {
  std::ofstream(corvane::localPath(path), std::ios::binary) << bytes;
}

QStringList mapKeysIn(const std::string& bytes) {
  QStringList keys;
  for (const QString& line : QString::fromLatin1(bytes).split(QStringLiteral("\r\n"))) {
    if (line.startsWith(QStringLiteral("MapName"), Qt::CaseInsensitive))
      keys.append(line.section(u'=', 0, 0));
  }
  return keys;
}

QStringList numberedMaps(int first, int last) {
  QStringList maps;
  for (int n = first; n <= last; ++n) maps.append(QStringLiteral("C&C_Map%1.mix").arg(n));
  return maps;
}

std::string mapLines(int first, int last) {
  std::string lines;
  for (int n = first; n <= last; ++n) {
    lines += corvane::mapKeyName(n).toStdString() + "=C&C_Map" + std::to_string(n) + ".mix\r\n";
  }
  return lines;
}

}  // namespace

class tst_Settings : public QObject {
  Q_OBJECT

 private slots:
  void readsRules_data();
  void readsRules();
  void readsRotation_data();
  void readsRotation();
  void missingFileGivesDefaults();
  void writesRotationKeys_data();
  void writesRotationKeys();
  void saveOfFewerMapsLeavesNoOldEntry();
  void newFileHasExactContent();
  void saveKeepsForeignLinesAndKeyPlaces();
  void saveRefusesUnreadableFile();
  void saveRefusesNameOutsideCodePage();
  void mapNamesRoundTripAsWindows1252();
  void mapKeyNames_data();
  void mapKeyNames();
  void codePageRoundTripsEveryByte();
};

void tst_Settings::readsRules_data() {
  QTest::addColumn<QByteArray>("section");
  QTest::addColumn<QString>("timeLimit");
  QTest::addColumn<QString>("credits");
  QTest::addColumn<int>("radar");
  QTest::addColumn<bool>("spawn");
  QTest::addColumn<bool>("friendlyFire");

  QTest::newRow("empty section gives every default") << QByteArray("[Settings]\r\n") << "30"
                                                     << "10000" << 2 << true << true;
  QTest::newRow("key with empty value reads unchecked, missing key checked")
      << QByteArray("[Settings]\r\nSpawnWeapons=\r\n") << "30"
      << "10000" << 2 << false << true;
  QTest::newRow("only lower-case yes is on")
      << QByteArray("[Settings]\r\nIsFriendlyFirePermitted=Yes\r\nSpawnWeapons=yes\r\n") << "30"
      << "10000" << 2 << true << false;
  QTest::newRow("radar 3 selects no option") << QByteArray("[Settings]\r\nRadarMode=3\r\n") << "30"
                                             << "10000" << -1 << true << true;
  QTest::newRow("empty radar selects no option")
      << QByteArray("[Settings]\r\nRadarMode=\r\n") << "30"
      << "10000" << -1 << true << true;
  QTest::newRow("radar framed by blanks reads as its digit")
      << QByteArray("[Settings]\r\nRadarMode= 1 \r\n") << "30"
      << "10000" << 1 << true << true;
  QTest::newRow("names in any letter case are found")
      << QByteArray("[settings]\nradarmode=0\ntimelimitminutes=45\nSTARTINGCREDITS=500\n") << "45"
      << "500" << 0 << true << true;
  QTest::newRow("values come as they are, for the fields to judge")
      << QByteArray("[Settings]\r\nTimeLimitMinutes=1000\r\nStartingCredits=-5\r\n") << "1000"
      << "-5" << 2 << true << true;
  QTest::newRow("a second Settings section is not read")
      << QByteArray("[Settings]\r\nRadarMode=1\r\n[Settings]\r\nRadarMode=0\r\n") << "30"
      << "10000" << 1 << true << true;
}

void tst_Settings::readsRules() {
  QFETCH(QByteArray, section);
  const SkirmishSettings settings =
      corvane::readSkirmishSettings(IniDocument::fromBytes(section.toStdString()));
  QFETCH(QString, timeLimit);
  QCOMPARE(settings.timeLimitMinutes, timeLimit);
  QFETCH(QString, credits);
  QCOMPARE(settings.startingCredits, credits);
  QFETCH(int, radar);
  QCOMPARE(settings.radarMode, radar);
  QFETCH(bool, spawn);
  QCOMPARE(settings.spawnWeapons, spawn);
  QFETCH(bool, friendlyFire);
  QCOMPARE(settings.friendlyFirePermitted, friendlyFire);
}

void tst_Settings::readsRotation_data() {
  QTest::addColumn<QByteArray>("mapLines");
  QTest::addColumn<QStringList>("rotation");

  QTest::newRow("MapName00 is never read")
      << QByteArray(("MapName00=C&C_Map0.mix\r\n" + mapLines(1, 4)).c_str()) << numberedMaps(1, 4);
  QTest::newRow("a gap ends the rotation at k+1")
      << QByteArray((mapLines(1, 2) + "MapName05=C&C_Map5.mix\r\n").c_str()) << numberedMaps(1, 2);
  QTest::newRow("entries 01 to 101 load the first 100")
      << QByteArray(mapLines(1, 101).c_str()) << numberedMaps(1, 100);
  QTest::newRow("one map named twice loads twice")
      << QByteArray("MapName01=C&C_Under.mix\r\nMapName02=C&C_Under.mix\r\n")
      << QStringList{"C&C_Under.mix", "C&C_Under.mix"};
  QTest::newRow("an empty entry is skipped, a later one read")
      << QByteArray("MapName01=\r\nMapName02=C&C_Field.mix\r\n") << QStringList{"C&C_Field.mix"};
  QTest::newRow("single-digit keys are not map entries")
      << QByteArray("MapName1=C&C_Field.mix\r\n") << QStringList{};
}

void tst_Settings::readsRotation() {
  QFETCH(QByteArray, mapLines);
  const IniDocument document = IniDocument::fromBytes("[Settings]\r\n" + mapLines.toStdString());
  QFETCH(QStringList, rotation);
  QCOMPARE(corvane::readSkirmishSettings(document).rotation, rotation);
}

void tst_Settings::missingFileGivesDefaults() {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("svrcfg_skirmish.ini"));
  QCOMPARE(corvane::loadSkirmishSettings(path), SkirmishSettings{});
  QVERIFY(!QFile::exists(path));
}

void tst_Settings::writesRotationKeys_data() {
  QTest::addColumn<QByteArray>("before");
  QTest::addColumn<int>("maps");
  QTest::addColumn<QStringList>("keys");

  const auto keys = [](int last) {
    QStringList list;
    for (int n = 1; n <= last; ++n) list.append(corvane::mapKeyName(n));
    return list;
  };
  QTest::newRow("9 maps are 01 to 09") << QByteArray() << 9 << keys(9);
  QTest::newRow("12 maps are 01 to 12") << QByteArray() << 12 << keys(12);
  QTest::newRow("3 maps over 01 to 07 leave 01 to 03")
      << QByteArray(mapLines(1, 7).c_str()) << 3 << keys(3);
  QTest::newRow("3 maps over 00 to 05 leave 01 to 03")
      << QByteArray(mapLines(0, 5).c_str()) << 3 << keys(3);
  QTest::newRow("no maps leave no entry") << QByteArray(mapLines(1, 3).c_str()) << 0 << keys(0);
  QTest::newRow("100 maps end with MapName100") << QByteArray() << 100 << keys(100);
  QTest::newRow("a duplicate entry does not survive")
      << QByteArray("MapName02=a.mix\r\nmapname02=b.mix\r\n") << 1 << keys(1);
}

void tst_Settings::writesRotationKeys() {
  QFETCH(QByteArray, before);
  QFETCH(int, maps);
  IniDocument document = IniDocument::fromBytes("[Settings]\r\n" + before.toStdString());
  SkirmishSettings settings;
  settings.rotation = numberedMaps(1, maps);
  QVERIFY(corvane::writeSkirmishSettings(document, settings));
  QFETCH(QStringList, keys);
  QCOMPARE(mapKeysIn(document.bytes()), keys);
  QCOMPARE(corvane::readSkirmishSettings(document).rotation, settings.rotation);
}

void tst_Settings::saveOfFewerMapsLeavesNoOldEntry() {
  // A save of 100 maps writes MapName100; a later save of 99 must not leave it behind, or the
  // next load would bring the removed map back.
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("svrcfg_skirmish.ini"));
  SkirmishSettings settings;
  settings.rotation = numberedMaps(1, 100);
  QVERIFY(corvane::saveSkirmishSettings(path, settings).ok);
  settings.rotation = numberedMaps(1, 99);
  QVERIFY(corvane::saveSkirmishSettings(path, settings).ok);
  QCOMPARE(corvane::loadSkirmishSettings(path).rotation, numberedMaps(1, 99));
  QVERIFY(readFile(path).find("MapName100") == std::string::npos);
}

void tst_Settings::newFileHasExactContent() {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("new.ini"));
  SkirmishSettings settings;
  settings.rotation = {QStringLiteral("C&C_Field.mix"), QStringLiteral("C&C_Under.mix")};
  settings.spawnWeapons = false;
  settings.radarMode = 0;
  QVERIFY(corvane::saveSkirmishSettings(path, settings).ok);
  QCOMPARE(readFile(path),
           std::string("[Settings]\r\nTimeLimitMinutes=30\r\nStartingCredits=10000\r\n"
                       "RadarMode=0\r\nIsTeamChangingAllowed=yes\r\nBaseDestructionEndsGame=yes\r\n"
                       "BeaconPlacementEndsGame=yes\r\nCanRepairBuildings=yes\r\n"
                       "SpawnWeapons=no\r\nIsFriendlyFirePermitted=yes\r\n"
                       "MapName01=C&C_Field.mix\r\nMapName02=C&C_Under.mix\r\n"));
}

void tst_Settings::saveKeepsForeignLinesAndKeyPlaces() {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("svrcfg_skirmish.ini"));
  writeFile(path,
            "; practice settings\n[Settings]\nSpawnWeapons=no\nPort=4848\nMapName01=old.mix\n"
            "RadarMode=1\n\n[Other]\nMapName01=keep.mix\n");
  SkirmishSettings settings;
  settings.rotation = {QStringLiteral("new.mix")};
  QVERIFY(corvane::saveSkirmishSettings(path, settings).ok);
  QCOMPARE(readFile(path),
           std::string("; practice settings\n[Settings]\nSpawnWeapons=yes\r\nPort=4848\n"
                       "RadarMode=2\r\nTimeLimitMinutes=30\r\nStartingCredits=10000\r\n"
                       "IsTeamChangingAllowed=yes\r\nBaseDestructionEndsGame=yes\r\n"
                       "BeaconPlacementEndsGame=yes\r\nCanRepairBuildings=yes\r\n"
                       "IsFriendlyFirePermitted=yes\r\nMapName01=new.mix\r\n\n"
                       "[Other]\nMapName01=keep.mix\n"));
}

void tst_Settings::saveRefusesUnreadableFile() {
  // A path that cannot be read (here a folder) is never replaced by a file of our keys alone.
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("folder.ini"));
  QVERIFY(QDir().mkdir(path));
  const corvane::FileStatus status = corvane::saveSkirmishSettings(path, SkirmishSettings{});
  QVERIFY(!status.ok);
  QVERIFY(!status.error.empty());
  QVERIFY(QFileInfo(path).isDir());
}

void tst_Settings::saveRefusesNameOutsideCodePage() {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("svrcfg_skirmish.ini"));
  const std::string before = "[Settings]\r\nMapName01=C&C_Under.mix\r\n";
  writeFile(path, before);
  SkirmishSettings settings;
  settings.rotation = {QStringLiteral("C&C_\u65E5\u672C.mix")};
  QVERIFY(!corvane::saveSkirmishSettings(path, settings).ok);
  QCOMPARE(readFile(path), before);
}

void tst_Settings::mapNamesRoundTripAsWindows1252() {
  // 0x99 is the trade mark sign in Windows-1252, 0x81 a byte the code page leaves undefined.
  const std::string file = "[Settings]\r\nMapName01=C&C_Caf\xE9\x99.mix\r\nMapName02=x\x81.mix\r\n";
  IniDocument document = IniDocument::fromBytes(file);
  const SkirmishSettings settings = corvane::readSkirmishSettings(document);
  QCOMPARE(settings.rotation.front(), QStringLiteral("C&C_Caf\u00E9\u2122.mix"));
  QVERIFY(corvane::writeSkirmishSettings(document, settings));
  QVERIFY(document.bytes().find("MapName01=C&C_Caf\xE9\x99.mix\r\nMapName02=x\x81.mix\r\n") !=
          std::string::npos);
}

void tst_Settings::mapKeyNames_data() {
  QTest::addColumn<QString>("key");
  QTest::addColumn<bool>("isMapKey");
  QTest::newRow("two digits") << "MapName01" << true;
  QTest::newRow("zero") << "MapName00" << true;
  QTest::newRow("three digits") << "MapName100" << true;
  QTest::newRow("other letter case") << "mapNAME07" << true;
  QTest::newRow("one digit") << "MapName1" << false;
  QTest::newRow("no number") << "MapName" << false;
  QTest::newRow("letter after digits") << "MapName01a" << false;
  QTest::newRow("other key") << "MapNames01" << false;
}

void tst_Settings::mapKeyNames() {
  QFETCH(QString, key);
  QFETCH(bool, isMapKey);
  QCOMPARE(corvane::isMapKeyName(key.toStdString()), isMapKey);
}

void tst_Settings::codePageRoundTripsEveryByte() {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  const QString text = corvane::fromWindows1252(all);
  QCOMPARE(text.size(), qsizetype(255));
  QCOMPARE(text[0x80 - 1], QChar(0x20AC));
  QCOMPARE(corvane::toWindows1252(text), std::optional<std::string>(all));
  QVERIFY(!corvane::toWindows1252(QStringLiteral("\u0100")));
}

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_settings.moc"
