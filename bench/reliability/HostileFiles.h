// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile settings files of any size (very large, one huge line, very many sections, random
// bytes, NUL bytes), what loading each must give, and what a save must leave of it. Used by the
// soak tests (a few megabytes) and by hostile_bench.cpp (up to 100 MB).
#pragma once

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>

#include "SkirmishSettings.h"

namespace corvane::reliability {

// A settings section that sets every key, as a player's file may hold it.
inline const std::string kLoadedSection =
    "[Settings]\r\nTimeLimitMinutes=25\r\nStartingCredits=500\r\nRadarMode=1\r\n"
    "IsTeamChangingAllowed=no\r\nBaseDestructionEndsGame=yes\r\nBeaconPlacementEndsGame=no\r\n"
    "CanRepairBuildings=yes\r\nSpawnWeapons=no\r\nIsFriendlyFirePermitted=yes\r\n"
    "MapName01=C&C_Field.mix\r\nMapName02=C&C_Under.mix\r\nMapName03=C&C_Islands.mix\r\n\r\n";

// What kLoadedSection reads as.
inline SkirmishSettings loadedSettings() {
  SkirmishSettings settings;
  settings.timeLimitMinutes = QStringLiteral("25");
  settings.startingCredits = QStringLiteral("500");
  settings.radarMode = 1;
  settings.teamChangingAllowed = false;
  settings.beaconPlacementEndsGame = false;
  settings.spawnWeapons = false;
  settings.rotation = {QStringLiteral("C&C_Field.mix"), QStringLiteral("C&C_Under.mix"),
                       QStringLiteral("C&C_Islands.mix")};
  return settings;
}

// The settings the tests save into a hostile file, and the lines that saving them writes.
inline SkirmishSettings savedSettings() {
  SkirmishSettings settings;
  settings.timeLimitMinutes = QStringLiteral("20");
  settings.startingCredits = QStringLiteral("750");
  settings.radarMode = 0;
  settings.canRepairBuildings = false;
  settings.rotation = {QStringLiteral("C&C_Walls_Flying.mix"), QStringLiteral("C&C_Hourglass.mix")};
  return settings;
}
inline const std::string kSavedLines =
    "TimeLimitMinutes=20\r\nStartingCredits=750\r\nRadarMode=0\r\nIsTeamChangingAllowed=yes\r\n"
    "BaseDestructionEndsGame=yes\r\nBeaconPlacementEndsGame=yes\r\nCanRepairBuildings=no\r\n"
    "SpawnWeapons=yes\r\nIsFriendlyFirePermitted=yes\r\n"
    "MapName01=C&C_Walls_Flying.mix\r\nMapName02=C&C_Hourglass.mix\r\n";

// A hostile file: `before`, then the settings section `section` ("" when the file has none),
// then `after`.
struct HostileFile {
  std::string before;
  std::string section;
  std::string after;
  SkirmishSettings reads;  // what loading the file gives

  std::string bytes() const { return before + section + after; }

  // The file after savedSettings() was saved into it: the section holds the saved lines (then
  // its blank line), or, in a file without one, a new section ends the file; every other byte
  // stays.
  std::string afterSave() const {
    if (!section.empty()) return before + "[Settings]\r\n" + kSavedLines + "\r\n" + after;
    const std::string old = bytes();
    const bool lineBreakNeeded = !old.empty() && old.back() != '\n';
    return old + (lineBreakNeeded ? "\r\n" : "") + "[Settings]\r\n" + kSavedLines;
  }
};

// About `bytes` of foreign sections with comments, blank lines and LF and CRLF lines, the
// settings section a third of the way in.
inline HostileFile largeSettingsFile(std::size_t bytes) {
  HostileFile file{"; server settings\r\n", kLoadedSection, "", loadedSettings()};
  for (std::size_t section = 0; file.before.size() + file.after.size() < bytes; ++section) {
    std::string& part = file.before.size() < bytes / 3 ? file.before : file.after;
    part += "[Mod" + std::to_string(section) + "]\r\n; options of this mod\n";
    for (int key = 0; key < 20; ++key) {
      part += "Option" + std::to_string(key) + " = value " + std::to_string(section * key) +
              (key % 3 ? "\r\n" : "\n");
    }
    part += "\r\n";
  }
  return file;
}

// A file whose foreign key `Motd` holds one line of `lineBytes` bytes, before the settings.
inline HostileFile oneLongLine(std::size_t lineBytes) {
  return {"[Server]\r\nMotd=" + std::string(lineBytes, 'w') + "\r\n", kLoadedSection,
          "[Other]\r\nKey=1\r\n", loadedSettings()};
}

// A settings section whose StartingCredits value is `valueBytes` digits: it reads as its first
// 254, and the save replaces the line.
inline HostileFile longSettingsValue(std::size_t valueBytes) {
  std::string section = kLoadedSection;
  const std::string credits = "StartingCredits=500";
  section.replace(section.find(credits), credits.size(),
                  "StartingCredits=" + std::string(valueBytes, '7'));
  SkirmishSettings reads = loadedSettings();
  reads.startingCredits = QString(254, u'7');
  return {"; credits\r\n", section, "", reads};
}

// `count` foreign sections of one entry each, the settings section last.
inline HostileFile manySections(int count) {
  HostileFile file{"", kLoadedSection, "", loadedSettings()};
  for (int section = 0; section < count; ++section) {
    file.before +=
        "[Section" + std::to_string(section) + "]\r\nKey=" + std::to_string(section) + "\r\n";
  }
  return file;
}

// `bytes` random bytes (from `seed`): no settings section, so it reads as the defaults.
inline HostileFile randomBytes(std::size_t bytes, std::uint64_t seed) {
  std::mt19937_64 random(seed);
  std::string noise(bytes, '\0');
  for (std::size_t i = 0; i < bytes; i += 8) {
    const std::uint64_t word = random();
    for (std::size_t b = 0; b < 8 && i + b < bytes; ++b)
      noise[i + b] = static_cast<char>(word >> (8 * b));
  }
  return {noise, "", "", SkirmishSettings()};
}

// NUL bytes in foreign lines and in a comment, then the settings, then `bytes` NUL bytes without
// a line break, as a file system may leave the end of a file after a power cut.
inline HostileFile nulBytes(std::size_t bytes) {
  using namespace std::string_literals;
  return {"; a \0 in a comment\r\n[Server]\r\nName=Pr\0ctice\r\n\0\0\0=\0\r\n"s, kLoadedSection,
          std::string(bytes, '\0'), loadedSettings()};
}

}  // namespace corvane::reliability
