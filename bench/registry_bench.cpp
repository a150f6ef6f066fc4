// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of finding the game on Linux: building the Wine prefix store of a home folder with 20
// prefixes, each with a 5 MB system.reg, and reading the game's install path from it, as
// start-up does once. The files are generated into a temporary folder, removed at the end.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "FakeWineHome.h"
#include "Registry.h"
#include "Shell.h"
#include "WinePrefixRegistry.h"

namespace {

namespace fs = std::filesystem;
using corvane::ReadRegistryValue;
using corvane::WinePrefixRegistry;
using corvane::bench::kGameKeyPath;
using corvane::bench::kRegistryFileBytes;

class SilentShell final : public corvane::Shell {
 public:
  void openTarget(const std::string&) override {}
  void showNotice(const std::string&, const std::string&) override {}
};

std::optional<corvane::bench::FakeWineHome> createdFakeHome;

corvane::bench::FakeWineHome& fakeHome() {
  if (!createdFakeHome) createdFakeHome = corvane::bench::createFakeWineHome();
  return *createdFakeHome;
}

// Drops the registry files from the page cache, so the next read comes from the disk.
void evictFromPageCache(const std::vector<fs::path>& files) {
  for (const fs::path& file : files) {
    const int descriptor = open(file.c_str(), O_RDONLY);
    if (descriptor < 0) continue;
    fdatasync(descriptor);
    posix_fadvise(descriptor, 0, 0, POSIX_FADV_DONTNEED);
    close(descriptor);
  }
}

void readInstallPath(benchmark::State& state, const std::string& home,
                     const std::optional<std::string>& winePrefix) {
  SilentShell shell;
  WinePrefixRegistry store(home, winePrefix);
  const std::string installPath = ReadRegistryValue(store, shell, kGameKeyPath, "InstallPath");
  if (installPath.empty() || installPath == "Error") state.SkipWithError("game not found");
  benchmark::DoNotOptimize(installPath);
}

// The start-up case measured: 20 prefixes found, the game's key only in the last one, so all
// 20 registry files are read and searched (files in the page cache).
void BM_FindGameInLastOfTwentyPrefixes(benchmark::State& state) {
  const std::string home = fakeHome().home.string();
  for (auto _ : state) readInstallPath(state, home, std::nullopt);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(fakeHome().registryFiles.size()) *
                          static_cast<int64_t>(kRegistryFileBytes));
}
BENCHMARK(BM_FindGameInLastOfTwentyPrefixes)->Unit(benchmark::kMillisecond);

// The same with the registry files dropped from the page cache before each search.
void BM_FindGameInLastOfTwentyPrefixesUncached(benchmark::State& state) {
  const std::string home = fakeHome().home.string();
  for (auto _ : state) {
    state.PauseTiming();
    evictFromPageCache(fakeHome().registryFiles);
    state.ResumeTiming();
    readInstallPath(state, home, std::nullopt);
  }
}
BENCHMARK(BM_FindGameInLastOfTwentyPrefixesUncached)->Unit(benchmark::kMillisecond);

// Finding the 20 prefixes alone: folder listings and the Lutris files, no registry file.
void BM_FindTwentyPrefixes(benchmark::State& state) {
  const std::string home = fakeHome().home.string();
  for (auto _ : state) {
    WinePrefixRegistry store(home, std::nullopt);
    benchmark::DoNotOptimize(store.prefixes().data());
  }
}
BENCHMARK(BM_FindTwentyPrefixes)->Unit(benchmark::kMillisecond);

// No prefix holds the key: all 20 files are searched for both the Wow6432Node key and the key
// as named.
void BM_KeyInNoneOfTwentyPrefixes(benchmark::State& state) {
  const std::string home = fakeHome().home.string();
  SilentShell shell;
  for (auto _ : state) {
    WinePrefixRegistry store(home, std::nullopt);
    benchmark::DoNotOptimize(
        ReadRegistryValue(store, shell, "HKEY_LOCAL_MACHINE\\Software\\Westwood\\Missing", "X"));
  }
}
BENCHMARK(BM_KeyInNoneOfTwentyPrefixes)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (createdFakeHome) corvane::bench::removeFakeWineHome(*createdFakeHome);
  return 0;
}
