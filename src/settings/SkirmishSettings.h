// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The skirmish settings file: its keys, their defaults and value forms, the numbering of the map
// entries, and reading and writing them through the INI engine.
//
// All keys live in the section "Settings". The nine rule keys are read and written in this order:
// TimeLimitMinutes, StartingCredits, RadarMode, IsTeamChangingAllowed, BaseDestructionEndsGame,
// BeaconPlacementEndsGame, CanRepairBuildings, SpawnWeapons, IsFriendlyFirePermitted; then the
// rotation as MapName01, MapName02, ... (at least two digits). Text on disk is Windows-1252.
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <string_view>

#include "IniDocument.h"

namespace corvane {

inline constexpr char kSettingsSection[] = "Settings";

// The values of one settings file, as the window shows them.
struct SkirmishSettings {
  QString timeLimitMinutes = QStringLiteral("30");
  QString startingCredits = QStringLiteral("10000");
  // 0, 1 or 2; kNoRadarMode when the file's value selects no radar option.
  int radarMode = 2;
  bool teamChangingAllowed = true;
  bool baseDestructionEndsGame = true;
  bool beaconPlacementEndsGame = true;
  bool canRepairBuildings = true;
  bool spawnWeapons = true;
  bool friendlyFirePermitted = true;
  QStringList rotation;  // map file names in the order of play

  static constexpr int kNoRadarMode = -1;
  friend bool operator==(const SkirmishSettings&, const SkirmishSettings&) = default;
};

// "MapName" followed by `position` with at least two digits: MapName01, MapName10, MapName100.
QString mapKeyName(int position);

// True for a key the settings file uses for the rotation: "MapName" (any letter case) followed
// by two or more digits.
bool isMapKeyName(std::string_view key);

// How the game reads an on/off value: by its first character, in any letter case. Y, T or 1 is
// on (true), N, F or 0 off (false); any other value, an empty one too, is neither (nullopt).
std::optional<bool> onOffValue(std::string_view value);

// The numbers n of the map entries (MapName01, MapName02, ...) the rotation of `document` is
// read from, in order: with k the number of non-empty entries numbered 2 and up, however high
// (MapName02 ... MapName99, MapName100, MapName150 ...), those of 1 to k+1 that are not empty.
// So every entry of a rotation written without gaps is read, and a gap ends the rotation early
// as the game's own numbering does. A key counts only as mapKeyName() spells it (any case).
QList<int> rotationEntryNumbers(const IniDocument& document);

// The settings `document` holds. Missing keys take their defaults (all on/off rules on, time
// limit "30", credits "10000", radar 2, no maps). An on/off rule is on when onOffValue() says
// on, off otherwise; RadarMode "0", "1" or "2" selects that mode, anything else kNoRadarMode.
// The rotation: the non-empty entries of rotationEntryNumbers(), in order. Values longer than
// 254 bytes are cut to 254, as the Windows profile reader does.
SkirmishSettings readSkirmishSettings(const IniDocument& document);

// A practice key and the value a save writes under it.
struct PracticeValue {
  const char* key = nullptr;
  std::optional<QString> value;  // none: the key is left as it is (no radar option shown)
};

// The nine practice keys in the order they are written, each with the value a save of
// `settings` writes: the fields' texts unchanged, the radar mode as "0", "1" or "2" (none for
// kNoRadarMode or any other number), "yes" or "no" for each on/off rule.
std::array<PracticeValue, 9> practiceValues(const SkirmishSettings& settings);

// Writes `settings` into `document`: the nine rule keys in order (practiceValues()), then removes
// the later entries of any of the nine named twice (the game refuses a key named twice in its
// section); then writes MapName01 to MapNameN (each in place of the file's first entry of that
// number, any letter case, else after the section's last entry) and removes every other map
// entry of the section (MapName00, numbers past N, a later entry of a number, spellings such as
// MapName007), so that no removed map can come back on the next load. Every other line stays as
// it was, and so do the lines of an unchanged rotation. Returns false, with `document` possibly part-written, when a value cannot
// be written to the file (a character Windows-1252 lacks, a line break).
bool writeSkirmishSettings(IniDocument& document, const SkirmishSettings& settings);

// Reads the file at `path` once; a missing or unreadable file gives the defaults.
SkirmishSettings loadSkirmishSettings(const QString& path);

// Reads the file at `path` once, writes `settings` into it and replaces it once. On failure the
// file stays as it was and the status says why.
FileStatus saveSkirmishSettings(const QString& path, const SkirmishSettings& settings);

// What a save did: its status; whether `proceed` stopped it (the file then untouched, the status
// a failure); and on success the settings the file now holds, as a load would read them, the
// file itself as written and its stamp (that of the file read when it was left alone).
struct SaveOutcome {
  FileStatus status;
  bool stopped = false;
  SkirmishSettings written;
  IniDocument document;
  FileStamp stamp;
};

// The same save with a say before it writes: `proceed` sees the file as read (its origin tells a
// missing file) and the save goes on only when it returns true.
SaveOutcome saveSkirmishSettings(const QString& path, const SkirmishSettings& settings,
                                 const std::function<bool(const IniDocument& onDisk)>& proceed);

// A file path as the platform layer takes it: UTF-8, on Windows too (the ANSI code page of
// Windows cannot name every folder).
std::string localPath(const QString& path);

}  // namespace corvane
