// The settings save sequence on real server and settings files: everything else comes back whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "IniDocument.h"
#include "ReferenceIni.h"

namespace corvane {
namespace {

using testing::ReferenceIni;

const std::string kCorpus = std::string(CORVANE_TEST_DATA) + "/corpus/";

// The nine settings keys in the order they are written, with a value for each.
const std::vector<std::pair<std::string, std::string>> kSettings = {
    {"TimeLimitMinutes", "45"},
    {"StartingCredits", "2500"},
    {"RadarMode", "0"},
    {"IsTeamChangingAllowed", "yes"},
    {"BaseDestructionEndsGame", "no"},
    {"BeaconPlacementEndsGame", "yes"},
    {"CanRepairBuildings", "no"},
    {"SpawnWeapons", "yes"},
    {"IsFriendlyFirePermitted", "no"}};
const std::vector<std::string> kRotation = {"C&C_Walls_Flying.mix", "C&C_Field.mix",
                                            "C&C_Hourglass.mix", "C&C_Islands.mix",
                                            "C&C_Under.mix"};

bool isWrittenKey(const std::string& key) {
  return testing::isMapKey(key) ||
         std::any_of(kSettings.begin(), kSettings.end(), [&](const auto& setting) {
           return ReferenceIni::sameName(setting.first, key);
         });
}

// The lines of `ini` less the entries of the written keys in its first Settings section.
std::vector<std::string> linesNotWritten(const ReferenceIni& ini) {
  const auto [header, end] = ini.section("Settings");
  std::vector<std::string> kept;
  for (std::size_t i = 0; i < ini.lines.size(); ++i) {
    const auto entry = ReferenceIni::entry(ini.lines[i]);
    if (i > header && i < end && entry && isWrittenKey(entry->first)) continue;
    kept.push_back(ini.lines[i]);
  }
  return kept;
}

// The keys of the first Settings section in file order, less the map keys, the nine settings
// keys spelled as the program writes them.
std::vector<std::string> settingsKeyOrder(const ReferenceIni& ini) {
  const auto [header, end] = ini.section("Settings");
  std::vector<std::string> keys;
  for (std::size_t i = header + 1; i < end; ++i) {
    const auto entry = ReferenceIni::entry(ini.lines[i]);
    if (!entry || testing::isMapKey(entry->first)) continue;
    keys.push_back(entry->first);
    for (const auto& setting : kSettings) {
      if (ReferenceIni::sameName(keys.back(), setting.first)) keys.back() = setting.first;
    }
  }
  return keys;
}

class CorpusRoundTrip : public ::testing::TestWithParam<std::string> {};

TEST_P(CorpusRoundTrip, SaveSequenceChangesOnlyTheWrittenKeys) {
  std::ifstream in(kCorpus + GetParam(), std::ios::binary);
  const std::string original{std::istreambuf_iterator<char>(in), {}};
  IniDocument document = IniDocument::load(kCorpus + GetParam());
  ASSERT_EQ(document.bytes(), original);
  const ReferenceIni before(original);

  for (const auto& [key, value] : kSettings) ASSERT_TRUE(document.setValue("Settings", key, value));
  document.removeKeysIf("Settings", testing::isMapKey);
  for (std::size_t n = 0; n < kRotation.size(); ++n) {
    ASSERT_TRUE(document.setValue("Settings", "MapName0" + std::to_string(n + 1), kRotation[n]));
  }
  const ReferenceIni after(document.bytes());

  std::vector<std::string> expectedLines = linesNotWritten(before);
  if (before.section("Settings").first == before.lines.size()) {
    expectedLines.push_back("[Settings]\r\n");  // a new section at the end
  }
  EXPECT_EQ(linesNotWritten(after), expectedLines);
  for (const auto& [key, value] : kSettings) EXPECT_EQ(document.value("Settings", key, ""), value);
  EXPECT_FALSE(document.contains("Settings", "MapName00"));

  // Keys already in the file keep their places; missing ones of the nine follow them, and the
  // rotation comes last.
  std::vector<std::string> expectedOrder = settingsKeyOrder(before);
  for (const auto& [key, value] : kSettings) {
    if (!before.value("Settings", key)) expectedOrder.push_back(key);
  }
  EXPECT_EQ(settingsKeyOrder(after), expectedOrder);
  const auto [header, end] = after.section("Settings");
  std::vector<std::string> lastEntries;
  for (std::size_t i = header + 1; i < end; ++i) {
    if (ReferenceIni::entry(after.lines[i]))
      lastEntries.push_back(ReferenceIni::content(after.lines[i]));
  }
  ASSERT_GE(lastEntries.size(), kRotation.size());
  for (std::size_t n = 0; n < kRotation.size(); ++n) {
    EXPECT_EQ(lastEntries[lastEntries.size() - kRotation.size() + n],
              "MapName0" + std::to_string(n + 1) + "=" + kRotation[n]);
  }
}

std::vector<std::string> corpusFiles() {
  std::vector<std::string> names;
  for (const char* folder : {"", "derived/"}) {
    for (const auto& file : std::filesystem::directory_iterator(kCorpus + folder)) {
      if (file.path().extension() == ".ini")
        names.push_back(folder + file.path().filename().string());
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

INSTANTIATE_TEST_SUITE_P(Ini, CorpusRoundTrip, ::testing::ValuesIn(corpusFiles()),
                         [](const auto& info) {
                           std::string name = info.param;
                           std::replace_if(
                               name.begin(), name.end(),
                               [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); },
                               '_');
                           return name;
                         });

}  // namespace
}  // namespace corvane
