// Reading and writing the skirmish settings file.
#include "SkirmishSettings.h"

#include <QFile>

#include <array>
#include <optional>
#include <string>

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
  for (std::size_t i = 0; i < kPrefix.size(); ++i) {
    const char c = key[i];
    const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (lower != kPrefix[i]) return false;
  }
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
    settings.*rule.member = readValue(document, rule.key, "yes") == "yes";
  }

  int count = 0;
  for (int n = 2; n <= 100; ++n) {
    if (!readValue(document, mapKey(n), "").empty()) ++count;
  }
  for (int n = 1; n <= count + 1; ++n) {
    const std::string name = readValue(document, mapKey(n), "");
    if (!name.empty()) settings.rotation.append(fromWindows1252(name));
  }
  return settings;
}

bool writeSkirmishSettings(IniDocument& document, const SkirmishSettings& settings) {
  bool written = writeText(document, kTimeLimitKey, settings.timeLimitMinutes) &&
                 writeText(document, kCreditsKey, settings.startingCredits);
  if (written && settings.radarMode >= 0 && settings.radarMode <= 2) {
    written = document.setValue(kSettingsSection, kRadarKey, std::to_string(settings.radarMode));
  }
  for (const OnOffKey& rule : kOnOffKeys) {
    if (!written) break;
    written = document.setValue(kSettingsSection, rule.key, settings.*rule.member ? "yes" : "no");
  }
  if (!written) return false;

  document.removeKeysIf(kSettingsSection, isMapKeyName);
  for (qsizetype p = 0; p < settings.rotation.size(); ++p) {
    const std::optional<std::string> name = toWindows1252(settings.rotation[p]);
    if (!name || !document.setValue(kSettingsSection, mapKey(static_cast<int>(p) + 1), *name)) {
      return false;
    }
  }
  return true;
}

SkirmishSettings loadSkirmishSettings(const QString& path) {
  return readSkirmishSettings(IniDocument::load(localPath(path)));
}

FileStatus saveSkirmishSettings(const QString& path, const SkirmishSettings& settings) {
  IniDocument document = IniDocument::load(localPath(path));
  if (document.origin() == IniDocument::Origin::Unreadable) {
    return FileStatus::failure(document.loadError());
  }
  if (!writeSkirmishSettings(document, settings)) {
    return FileStatus::failure(
        "A value holds a character or a line break that the settings file cannot hold.");
  }
  // An existing file that already holds exactly these settings is left alone: the game reloads
  // the file whenever its modification time changes.
  if (document.origin() == IniDocument::Origin::Read && !document.modified()) {
    return FileStatus::success();
  }
  return document.save(localPath(path));
}

std::string localPath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

}  // namespace corvane
