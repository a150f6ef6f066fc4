// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing the skirmish settings file.
#include "SkirmishSettings.h"

#include <algorithm>
#include <array>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Windows1252.h"

namespace corvane {
namespace {

// Longest value the Windows profile reader hands back (its buffer of 255 holds the NUL).
constexpr std::size_t kMaxValueBytes = 254;

constexpr const char* kTimeLimitKey = "TimeLimitMinutes";
constexpr const char* kCreditsKey = "StartingCredits";
constexpr const char* kRadarKey = "RadarMode";

// The six on/off rules, in the order they are read and written.
struct OnOffKey {
  const char* key;
  bool SkirmishSettings::*member;
};
constexpr std::array<OnOffKey, 6> kOnOffKeys = {{
    {"IsTeamChangingAllowed", &SkirmishSettings::teamChangingAllowed},
    {"BaseDestructionEndsGame", &SkirmishSettings::baseDestructionEndsGame},
    {"BeaconPlacementEndsGame", &SkirmishSettings::beaconPlacementEndsGame},
    {"CanRepairBuildings", &SkirmishSettings::canRepairBuildings},
    {"SpawnWeapons", &SkirmishSettings::spawnWeapons},
    {"IsFriendlyFirePermitted", &SkirmishSettings::friendlyFirePermitted},
}};

std::string mapKey(int position) {
  return mapKeyName(position).toStdString();
}

bool sameName(std::string_view left, std::string_view right) {
  const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
  return left.size() == right.size() &&
         std::equal(left.begin(), left.end(), right.begin(),
                    [&lower](char a, char b) { return lower(a) == lower(b); });
}

// The number n of a key spelled as mapKeyName(n) spells it, in any letter case ("MapName07",
// "mapname150"); -1 for any other key ("MapName007", "MapName7", "Port"). Numbers of more than
// nine digits count as 999999999.
int mapKeyNumber(std::string_view key) {
  if (!isMapKeyName(key)) return -1;
  const std::string_view digits = key.substr(std::string_view("MapName").size());
  if (digits.size() > 2 && digits.front() == '0') return -1;
  if (digits.size() > 9) return 999'999'999;
  int n = 0;
  for (const char digit : digits) n = n * 10 + (digit - '0');
  return n;
}

// The position of `key` among the nine practice keys (any letter case), or -1.
int practiceKeyIndex(std::string_view key) {
  if (sameName(key, kTimeLimitKey)) return 0;
  if (sameName(key, kCreditsKey)) return 1;
  if (sameName(key, kRadarKey)) return 2;
  for (std::size_t i = 0; i < kOnOffKeys.size(); ++i) {
    if (sameName(key, kOnOffKeys[i].key)) return static_cast<int>(i) + 3;
  }
  return -1;
}

std::string readValue(const IniDocument& document, const std::string& key,
                      std::string_view fallback) {
  std::string value = document.value(kSettingsSection, key, fallback);
  if (value.size() > kMaxValueBytes) value.resize(kMaxValueBytes);
  return value;
}

bool writeText(IniDocument& document, const char* key, const QString& text) {
  const std::optional<std::string> bytes = toWindows1252(text);
  return bytes && document.setValue(kSettingsSection, key, *bytes);
}

}  // namespace

QString mapKeyName(int position) {
  return QStringLiteral("MapName%1").arg(position, 2, 10, QLatin1Char('0'));
}

bool isMapKeyName(std::string_view key) {
  constexpr std::string_view kPrefix = "mapname";
  if (key.size() < kPrefix.size() + 2) return false;
  if (!sameName(key.substr(0, kPrefix.size()), kPrefix)) return false;
  for (std::size_t i = kPrefix.size(); i < key.size(); ++i) {
    if (key[i] < '0' || key[i] > '9') return false;
  }
  return true;
}

SkirmishSettings readSkirmishSettings(const IniDocument& document) {
  SkirmishSettings settings;
  settings.timeLimitMinutes = fromWindows1252(readValue(document, kTimeLimitKey, "30"));
  settings.startingCredits = fromWindows1252(readValue(document, kCreditsKey, "10000"));

  const std::string radar = readValue(document, kRadarKey, "2");
  settings.radarMode = (radar == "0" || radar == "1" || radar == "2")
                           ? radar[0] - '0'
                           : SkirmishSettings::kNoRadarMode;

  for (const OnOffKey& rule : kOnOffKeys) {
    settings.*rule.member = onOffValue(readValue(document, rule.key, "yes")).value_or(false);
  }
  for (const int n : rotationEntryNumbers(document)) {
    settings.rotation.append(fromWindows1252(readValue(document, mapKey(n), "")));
  }
  return settings;
}

std::optional<bool> onOffValue(std::string_view value) {
  if (value.empty()) return std::nullopt;
  if (std::string_view("YyTt1").find(value.front()) != std::string_view::npos) return true;
  if (std::string_view("NnFf0").find(value.front()) != std::string_view::npos) return false;
  return std::nullopt;
}

QList<int> rotationEntryNumbers(const IniDocument& document) {
  std::set<int> numbered;
  for (const std::string_view key : document.entryKeys(kSettingsSection)) {
    if (const int n = mapKeyNumber(key); n >= 2) numbered.insert(n);
  }
  int count = 0;
  for (const int n : numbered) {
    if (!readValue(document, mapKey(n), "").empty()) ++count;
  }
  QList<int> numbers;
  for (int n = 1; n <= count + 1; ++n) {
    if (!readValue(document, mapKey(n), "").empty()) numbers.append(n);
  }
  return numbers;
}

std::array<PracticeValue, 9> practiceValues(const SkirmishSettings& settings) {
  const bool radarShown = settings.radarMode >= 0 && settings.radarMode <= 2;
  std::array<PracticeValue, 9> values = {{
      {kTimeLimitKey, settings.timeLimitMinutes},
      {kCreditsKey, settings.startingCredits},
      {kRadarKey, radarShown ? std::optional(QString::number(settings.radarMode)) : std::nullopt},
  }};
  for (std::size_t i = 0; i < kOnOffKeys.size(); ++i) {
    const bool on = settings.*kOnOffKeys[i].member;
    values[i + 3] = {kOnOffKeys[i].key, on ? QStringLiteral("yes") : QStringLiteral("no")};
  }
  return values;
}

bool writeSkirmishSettings(IniDocument& document, const SkirmishSettings& settings) {
  for (const PracticeValue& practice : practiceValues(settings)) {
    if (practice.value && !writeText(document, practice.key, *practice.value)) return false;
  }

  // The game refuses a key named twice in its section ("Duplicate CRC in INI file."): of each
  // practice key only the first entry stays, the one just written and the one both read.
  std::array<bool, 9> seen{};
  document.removeKeysIf(kSettingsSection, [&seen](std::string_view key) {
    const int rule = practiceKeyIndex(key);
    return rule >= 0 && std::exchange(seen[static_cast<std::size_t>(rule)], true);
  });
  // The rotation goes into MapName01 to MapNameN where the file has them, so that an unchanged
  // rotation leaves its lines as they were; then every other map entry goes (MapName00, numbers
  // past N, a second entry of a number, spellings such as MapName007), so that no removed map
  // can come back on the next load.
  const qsizetype count = settings.rotation.size();
  for (qsizetype p = 0; p < count; ++p) {
    const std::optional<std::string> name = toWindows1252(settings.rotation[p]);
    if (!name || !document.setValue(kSettingsSection, mapKey(static_cast<int>(p) + 1), *name)) {
      return false;
    }
  }
  std::vector<char> kept(static_cast<std::size_t>(count) + 1, 0);
  document.removeKeysIf(kSettingsSection, [&kept, count](std::string_view key) {
    if (!isMapKeyName(key)) return false;
    const int n = mapKeyNumber(key);
    return n < 1 || n > count || std::exchange(kept[static_cast<std::size_t>(n)], 1) != 0;
  });
  return true;
}

SkirmishSettings loadSkirmishSettings(const QString& path) {
  return readSkirmishSettings(IniDocument::load(localPath(path)));
}

FileStatus saveSkirmishSettings(const QString& path, const SkirmishSettings& settings) {
  return saveSkirmishSettings(path, settings, {}).status;
}

SaveOutcome saveSkirmishSettings(const QString& path, const SkirmishSettings& settings,
                                 const std::function<bool(const IniDocument& onDisk)>& proceed) {
  SaveOutcome outcome;
  IniDocument document = IniDocument::load(localPath(path));
  if (document.origin() == IniDocument::Origin::Unreadable) {
    outcome.status = FileStatus::failure(document.loadError());
    return outcome;
  }
  if (proceed && !proceed(document)) {
    outcome.stopped = true;
    outcome.status = FileStatus::failure("The save was cancelled.");
    return outcome;
  }
  if (!writeSkirmishSettings(document, settings)) {
    outcome.status = FileStatus::failure(
        "A value holds a character or a line break that the settings file cannot hold.");
    return outcome;
  }
  // An existing file that already holds exactly these settings is left alone: the game reloads
  // the file whenever its modification time changes.
  outcome.stamp = document.stamp();
  if (document.origin() != IniDocument::Origin::Read || document.modified()) {
    outcome.status = document.save(localPath(path));
    outcome.stamp = outcome.status.stamp;
  }
  if (outcome.status.ok) {
    outcome.written = readSkirmishSettings(document);
    outcome.document = std::move(document);
  }
  return outcome;
}

std::string localPath(const QString& path) {
  return path.toStdString();
}

}  // namespace corvane
