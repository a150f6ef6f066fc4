// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The game's reading of a settings file compared with the window's.
#include "GameReading.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>

#include "GameIniReader.h"
#include "Windows1252.h"

namespace corvane {
namespace {

// The game reads the rotation from MapName01 to MapName99.
constexpr int kGameRotationEntries = 99;

const QString kSaving = QStringLiteral("; saving writes what the window shows.");

// How the game takes a practice value.
enum class Kind { Number, Radar, OnOff };
struct Rule {
  const char* key;
  Kind kind;
  long long highest = 0;  // of the numbers the game accepts
};
constexpr std::array<Rule, 9> kRules = {{
    {"TimeLimitMinutes", Kind::Number, 999},
    {"StartingCredits", Kind::Number, 999'999},
    {"RadarMode", Kind::Radar},
    {"IsTeamChangingAllowed", Kind::OnOff},
    {"BaseDestructionEndsGame", Kind::OnOff},
    {"BeaconPlacementEndsGame", Kind::OnOff},
    {"CanRepairBuildings", Kind::OnOff},
    {"SpawnWeapons", Kind::OnOff},
    {"IsFriendlyFirePermitted", Kind::OnOff},
}};

// What the game makes of a value: the number (or 1 and 0 for on and off) it plays, or none when
// it ignores the value and keeps its own setting.
using Meaning = std::optional<long long>;

// C's atoi: blanks, a sign, then digits up to the first other character ("25min" is 25, "abc"
// and "\"45\"" are 0). Held at a trillion rather than overflowing: any such number is out of range.
long long leadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  long long number = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    number = std::min(number * 10 + (text[i] - '0'), 1'000'000'000'000LL);
  }
  return negative ? -number : number;
}

Meaning meaningOf(const Rule& rule, std::string_view value) {
  if (rule.kind == Kind::OnOff) {
    const std::optional<bool> on = onOffValue(value);
    return on ? Meaning(*on ? 1 : 0) : std::nullopt;
  }
  const long long number = leadingNumber(value);
  if (rule.kind == Kind::Radar) return number >= 0 && number <= 2 ? number : 1;
  return number >= 0 && number <= rule.highest ? Meaning(number) : std::nullopt;
}

// The middle of a note: what the game makes of the value `meaning` stands for.
QString gameMakes(const Rule& rule, const Meaning& meaning) {
  if (rule.kind == Kind::OnOff && !meaning) {
    return QStringLiteral(
        "which the game reads as neither on nor off, so it keeps its own setting");
  }
  if (rule.kind == Kind::OnOff) {
    return *meaning ? QStringLiteral("which the game reads as on")
                    : QStringLiteral("which the game reads as off");
  }
  if (!meaning) {
    return QStringLiteral("which is outside the game's range of 0 to %1, so the game ignores it")
        .arg(rule.highest);
  }
  return QStringLiteral("which the game reads as %1").arg(*meaning);
}

// The note on an entry line (it holds '=') that the window reads and the game does not.
QString unreadNote(std::string_view line) {
  std::string_view value = line.substr(line.find('=') + 1);
  value = value.substr(0, value.find(';'));
  const bool empty = std::all_of(value.begin(), value.end(), [](char c) {
    return std::isspace(static_cast<unsigned char>(c));
  });
  return QStringLiteral("The file holds \u201C%1\u201D, which the game %2")
             .arg(fromWindows1252(std::string(line)),
                  empty ? QStringLiteral("ignores, as it holds no value")
                        : QStringLiteral("does not read, as it matches names only in their "
                                         "exact letter case")) +
         kSaving;
}

// A map name as the game reads it back from a save: cut at ';', blanks trimmed.
QString gameMapName(QString name) {
  name.truncate(name.indexOf(u';') < 0 ? name.size() : name.indexOf(u';'));
  return name.trimmed();
}

}  // namespace

bool GameReadingNotes::any() const {
  return !rules.isEmpty() || std::any_of(rotation.begin(), rotation.end(),
                                         [](const QString& n) { return !n.isEmpty(); });
}

GameReadingNotes gameReadingNotes(const IniDocument& file, const SkirmishSettings& shown) {
  GameReadingNotes notes;
  const auto game = readSectionAsTheGame(file.bytes(), kSettingsSection);

  const std::array<PracticeValue, 9> saved = practiceValues(shown);
  for (const Rule& rule : kRules) {
    const std::string_view line = file.entryLine(kSettingsSection, rule.key);
    const auto read = game.find(std::string_view(rule.key));
    if (read == game.end()) {
      if (!line.empty()) notes.rules.insert(QString::fromLatin1(rule.key), unreadNote(line));
      continue;
    }
    const auto shownValue = std::find_if(
        saved.begin(), saved.end(),
        [&rule](const PracticeValue& v) { return std::string_view(v.key) == rule.key; });
    const Meaning meaning = meaningOf(rule, read->second);
    // No radar option shown differs from whatever the game plays.
    const Meaning written = shownValue->value
                                ? meaningOf(rule, toWindows1252(*shownValue->value).value_or(""))
                                : Meaning(-1);
    if (meaning == written) continue;
    const QString holds = line.empty()
                              ? QString::fromLatin1(rule.key) + u'=' + fromWindows1252(read->second)
                              : fromWindows1252(std::string(line));
    notes.rules.insert(
        QString::fromLatin1(rule.key),
        QStringLiteral("The file holds \u201C%1\u201D, %2").arg(holds, gameMakes(rule, meaning)) +
            kSaving);
  }

  int played = 0;  // the game plays MapName01 to MapName(played)
  while (played < kGameRotationEntries && game.contains(mapKeyName(played + 1).toStdString())) {
    ++played;
  }
  const QList<int> numbers = rotationEntryNumbers(file);
  for (qsizetype row = 0; row < shown.rotation.size(); ++row) {
    QString note;
    const std::string key = mapKeyName(static_cast<int>(row) + 1).toStdString();
    if (row < played) {
      const QString name = fromWindows1252(game.find(key)->second);
      if (name != gameMapName(shown.rotation[row])) {
        note = QStringLiteral(
                   "The file holds \u201C%1=%2\u201D, so the game looks for a map file "
                   "named \u201C%2\u201D")
                   .arg(QString::fromStdString(key), name) +
               kSaving;
      }
    } else if (row < kGameRotationEntries) {
      const QString holds = row < numbers.size()
                                ? fromWindows1252(std::string(file.entryLine(
                                      kSettingsSection, mapKeyName(numbers[row]).toStdString())))
                                : QString::fromStdString(key);
      note = QStringLiteral(
                 "The file holds \u201C%1\u201D, which the game does not play, as it "
                 "reads the rotation from MapName01 on, in that letter case, up to the "
                 "first number missing")
                 .arg(holds) +
             kSaving;
    }
    notes.rotation.append(note);
  }
  return notes;
}

}  // namespace corvane
