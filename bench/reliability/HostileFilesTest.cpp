// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile settings files of a few megabytes: what loading each gives, and that a save keeps
// every byte outside the settings lines.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "HostileFiles.h"
#include "TempFolder.h"
#include "SkirmishSettings.h"

namespace corvane {

void PrintTo(const SkirmishSettings& settings, std::ostream* out) {
  *out << "{time " << settings.timeLimitMinutes.toStdString() << ", credits "
       << settings.startingCredits.left(20).toStdString() << " (" << settings.startingCredits.size()
       << " characters), radar " << settings.radarMode << ", rules " << settings.teamChangingAllowed
       << settings.baseDestructionEndsGame << settings.beaconPlacementEndsGame
       << settings.canRepairBuildings << settings.spawnWeapons << settings.friendlyFirePermitted
       << ", maps " << settings.rotation.join(u',').toStdString() << "}";
}

namespace reliability {
namespace {

constexpr std::size_t kMegabyte = 1024 * 1024;

struct HostileRow {
  const char* label;
  std::function<HostileFile()> make;
};

std::ostream& operator<<(std::ostream& out, const HostileRow& row) {
  return out << row.label;
}

class HostileFiles : public ::testing::TestWithParam<HostileRow> {};

TEST_P(HostileFiles, loadReadsWhatTheFileHoldsAndSaveKeepsEveryForeignByte) {
  const HostileFile hostile = GetParam().make();
  testing::TempFolder folder;
  const std::string file = folder.file("svrcfg_skirmish.ini");
  testing::writeFile(file, hostile.bytes());
  const QString path = QString::fromStdString(file);

  EXPECT_EQ(loadSkirmishSettings(path), hostile.reads);

  const FileStatus saved = saveSkirmishSettings(path, savedSettings());
  ASSERT_TRUE(saved.ok) << saved.error;
  const std::string written = testing::readFile(file);
  const std::string expected = hostile.afterSave();
  ASSERT_EQ(written.size(), expected.size());
  const auto [differs, _] = std::mismatch(written.begin(), written.end(), expected.begin());
  EXPECT_TRUE(differs == written.end())
      << "first difference at byte " << (differs - written.begin()) << " of " << written.size();
  EXPECT_EQ(loadSkirmishSettings(path), savedSettings());
}

INSTANTIATE_TEST_SUITE_P(
    FewMegabytes, HostileFiles,
    ::testing::Values(HostileRow{"large_file_5MB", [] { return largeSettingsFile(5 * kMegabyte); }},
                      HostileRow{"foreign_line_of_1MB", [] { return oneLongLine(kMegabyte); }},
                      HostileRow{"settings_value_of_1MB",
                                 [] { return longSettingsValue(kMegabyte); }},
                      HostileRow{"100000_sections", [] { return manySections(100000); }},
                      HostileRow{"random_bytes_5MB", [] { return randomBytes(5 * kMegabyte, 1); }},
                      HostileRow{"random_bytes_ending_in_a_line_break",
                                 [] {
                                   HostileFile file = randomBytes(kMegabyte, 2);
                                   file.before.back() = '\n';
                                   return file;
                                 }},
                      HostileRow{"nul_bytes_5MB", [] { return nulBytes(5 * kMegabyte); }}),
    [](const ::testing::TestParamInfo<HostileRow>& info) { return info.param.label; });

}  // namespace
}  // namespace reliability
}  // namespace corvane
