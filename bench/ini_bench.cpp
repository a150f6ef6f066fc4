// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the INI engine: loading and saving a settings file, and how a save grows with the
// rotation. `ini_bench --once-load FILE` and `--once-save FILE` do one load or one save and
// exit (for counting system calls); `--write-sample FILE` writes the settings file measured.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "IniDocument.h"

namespace {

using corvane::IniDocument;

constexpr const char* kSection = "Settings";

// The nine settings keys with the values a save writes.
constexpr std::pair<const char*, const char*> kSettings[] = {{"TimeLimitMinutes", "45"},
                                                             {"StartingCredits", "2500"},
                                                             {"RadarMode", "1"},
                                                             {"IsTeamChangingAllowed", "yes"},
                                                             {"BaseDestructionEndsGame", "no"},
                                                             {"BeaconPlacementEndsGame", "yes"},
                                                             {"CanRepairBuildings", "yes"},
                                                             {"SpawnWeapons", "no"},
                                                             {"IsFriendlyFirePermitted", "no"}};

std::string mapKey(int position) {
  char key[24];
  std::snprintf(key, sizeof key, "MapName%02d", position);
  return key;
}

std::string mapName(int position) {
  return "C&C_Practice_" + std::to_string(position) + ".mix";
}

// A settings file as players have them: a commented header, the Settings section with the nine
// keys, other server keys and `maps` map entries, then 20 other sections and a closing comment:
// `maps` map entries and 200 other lines.
std::string settingsFile(int maps) {
  std::string text =
      "; Practice settings\r\n; edited by hand and by the game\r\n\r\n[Settings]\r\n";
  for (const auto& [key, value] : kSettings) text += std::string(key) + "=" + value + "\r\n";
  text += "ConfigName=Default C&C Server Settings\r\nIsDedicated=no\r\nMaxPlayers=8\r\n";
  for (int n = 0; n < maps; ++n) text += mapKey(n) + "=" + mapName(n % 13) + "\r\n";
  text += "\r\n";
  for (int slot = 1; slot <= 20; ++slot) {
    text += "[Slave" + std::to_string(slot) +
            "]\r\n; a server slot\r\nEnable=no\r\nPort=" + std::to_string(4848 + slot) +
            "\r\nBandwidthUp=0\r\nPassword=\r\nMaxPlayers=16\r\nGameTitle=Practice server\r\n\r\n";
  }
  return text + "; end of the server slots\r\n;\r\n; keep this file in the Data folder\r\n";
}

// "MapName" in any letter case followed by two or more digits.
bool isMapKey(std::string_view key) {
  constexpr std::string_view kPrefix = "mapname";
  if (key.size() < kPrefix.size() + 2) return false;
  for (std::size_t i = 0; i < kPrefix.size(); ++i) {
    if ((key[i] | 0x20) != kPrefix[i]) return false;
  }
  return key.find_first_not_of("0123456789", kPrefix.size()) == std::string_view::npos;
}

// What the program does on Save: the nine keys, the old map entries out, the rotation in.
void saveSequence(IniDocument& document, int maps) {
  for (const auto& [key, value] : kSettings) document.setValue(kSection, key, value);
  document.removeKeysIf(kSection, isMapKey);
  for (int n = 1; n <= maps; ++n) document.setValue(kSection, mapKey(n), mapName(n % 7));
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A temporary folder holding the settings file, removed at exit.
const std::string& samplePath() {
  static const std::string path = [] {
    std::string folder = (std::filesystem::temp_directory_path() / "ini-bench-XXXXXX").string();
    if (!::mkdtemp(folder.data())) std::abort();
    static const std::string removeAtExit = folder;
    std::atexit([] { std::filesystem::remove_all(removeAtExit); });
    writeFile(folder + "/svrcfg_skirmish.ini", settingsFile(100));
    return folder + "/svrcfg_skirmish.ini";
  }();
  return path;
}

void BM_Load(benchmark::State& state) {
  for (auto _ : state) {
    IniDocument document = IniDocument::load(samplePath());
    benchmark::DoNotOptimize(document);
  }
}
BENCHMARK(BM_Load);

void BM_Save(benchmark::State& state) {
  for (auto _ : state) {
    IniDocument document = IniDocument::load(samplePath());
    saveSequence(document, 100);
    if (!document.save(samplePath()).ok) state.SkipWithError("save failed");
  }
}
BENCHMARK(BM_Save)->Unit(benchmark::kMicrosecond);

// The same without the disk: parse, edit, produce the bytes.
void BM_SaveSequenceInMemory(benchmark::State& state) {
  const int maps = static_cast<int>(state.range(0));
  const std::string bytes = settingsFile(maps);
  for (auto _ : state) {
    IniDocument document = IniDocument::fromBytes(bytes);
    saveSequence(document, maps);
    benchmark::DoNotOptimize(document.bytes());
  }
  state.SetComplexityN(maps);
}
BENCHMARK(BM_SaveSequenceInMemory)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(5000)
    ->Arg(20000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMicrosecond);

// A lookup in the last of 100,000 sections.
void BM_LookupAmongManySections(benchmark::State& state) {
  std::string bytes;
  for (int n = 0; n < 100000; ++n) bytes += "[Section" + std::to_string(n) + "]\r\nKey=1\r\n";
  const IniDocument document = IniDocument::fromBytes(bytes);
  for (auto _ : state) benchmark::DoNotOptimize(document.value("section99999", "key", ""));
}
BENCHMARK(BM_LookupAmongManySections);

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3) {
    const std::string_view mode = argv[1];
    const std::string path = argv[2];
    if (mode == "--write-sample") {
      writeFile(path, settingsFile(100));
      return 0;
    }
    if (mode == "--once-load") {
      return IniDocument::load(path).origin() == IniDocument::Origin::Read ? 0 : 1;
    }
    if (mode == "--once-save") {
      IniDocument document = IniDocument::load(path);
      saveSequence(document, 100);
      return document.save(path).ok ? 0 : 1;
    }
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
