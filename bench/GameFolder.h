// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Generated Data folders for the benchmarks: empty practice maps, the mission files and settings
// files with a rotation of some of the maps.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include "AvailableMaps.h"
#include "SkirmishSettings.h"

namespace corvane::bench {

// Practice map number `number`: "C&C_Practice00042.mix".
inline QString practiceMapName(int number) {
  return QStringLiteral("C&C_Practice%1.mix").arg(number, 5, 10, QLatin1Char('0'));
}

// A settings file with the nine rules and `rotation` as MapName01, MapName02, ..., CRLF endings.
inline QByteArray settingsFileBytes(const QStringList& rotation) {
  QByteArray bytes =
      "[Settings]\r\nTimeLimitMinutes=45\r\nStartingCredits=5000\r\nRadarMode=1\r\n"
      "IsTeamChangingAllowed=yes\r\nBaseDestructionEndsGame=yes\r\nBeaconPlacementEndsGame=no\r\n"
      "CanRepairBuildings=yes\r\nSpawnWeapons=yes\r\nIsFriendlyFirePermitted=no\r\n";
  for (qsizetype i = 0; i < rotation.size(); ++i) {
    bytes += corvane::mapKeyName(static_cast<int>(i) + 1).toLatin1() + '=' +
             rotation[i].toLatin1() + "\r\n";
  }
  return bytes;
}

// Writes `bytes` as the whole file at `path`; false when it cannot be written.
inline bool writeBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// `count` of the practice maps 1 to `practiceMaps`, spread evenly over them, in ascending order.
inline QStringList spreadPracticeMaps(int practiceMaps, int count) {
  QStringList maps;
  maps.reserve(count);
  for (int i = 0; i < count; ++i) {
    maps.append(practiceMapName(1 + static_cast<int>(qint64(i) * practiceMaps / count)));
  }
  return maps;
}

// Fills the folder `data` (made if missing) with `practiceMaps` empty practice maps and the 15
// mission files, a settings file "svrcfg_skirmish.ini" whose rotation names `rotationMaps` of the
// practice maps spread evenly over them, and "no_rotation.ini" with the same rules and no maps.
// Returns false when a file cannot be written.
inline bool fillDataFolder(const QString& data, int practiceMaps, int rotationMaps) {
  if (!QDir().mkpath(data)) return false;
  QStringList names = corvane::MissionMapNames();
  for (int number = 1; number <= practiceMaps; ++number) names.append(practiceMapName(number));
  for (const QString& name : names) {
    if (!writeBytes(data + u'/' + name, {})) return false;
  }
  const QStringList rotation = spreadPracticeMaps(practiceMaps, rotationMaps);
  return writeBytes(data + QStringLiteral("/svrcfg_skirmish.ini"), settingsFileBytes(rotation)) &&
         writeBytes(data + QStringLiteral("/no_rotation.ini"), settingsFileBytes({}));
}

}  // namespace corvane::bench
