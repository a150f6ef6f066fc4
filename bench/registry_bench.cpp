// Speed of finding the game on Linux: building the Wine prefix store of a home folder with 20
// prefixes, each with a 5 MB system.reg, and reading the game's install path from it, as
// start-up does once. The files are generated into a temporary folder, removed at the end.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "Registry.h"
#include "Shell.h"
#include "WinePrefixRegistry.h"

namespace {

namespace fs = std::filesystem;
using corvane::ReadRegistryValue;
using corvane::WinePrefixRegistry;

constexpr const char* kGameKeyPath = "HKEY_LOCAL_MACHINE\\Software\\Westwood\\Renegade";
constexpr std::size_t kRegistryFileBytes = 5u * 1024u * 1024u;
constexpr int kLutrisPrefixes = 3;
constexpr int kBottles = 15;  // with ~/.wine and one Proton prefix: 20 prefixes

class SilentShell final : public corvane::Shell {
 public:
  void openTarget(const std::string&) override {}
  void showNotice(const std::string&, const std::string&) override {}
};

// A system.reg of a 64-bit prefix of about kRegistryFileBytes, made of key blocks like the
// ones Wine writes (class registrations, long hex values with continuation lines), with the
// game's key somewhere in the middle when `withGameKey`.
std::string systemRegistryText(bool withGameKey) {
  std::string text =
      "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=win64\n\n";
  text.reserve(kRegistryFileBytes + 4096);
  bool gameKeyWritten = !withGameKey;
  for (unsigned i = 0; text.size() < kRegistryFileBytes; ++i) {
    char guid[40];
    std::snprintf(guid, sizeof guid, "{%08X-1234-5678-9ABC-%012X}", i * 2654435761u, i);
    text += "[Software\\\\Classes\\\\CLSID\\\\";
    text += guid;
    text +=
        "\\\\InprocServer32] 1796584327\n#time=1dd85b5afb639f0\n"
        "@=\"C:\\\\windows\\\\system32\\\\ole32.dll\"\n\"ThreadingModel\"=\"Both\"\n\n";
    if (i % 16 == 0) {
      text += "[Software\\\\Microsoft\\\\Cryptography\\\\Providers\\\\";
      text += guid;
      text += "] 1796584327\n#time=1dd85b5afb639f0\n\"Blob\"=hex:";
      for (int byte = 0; byte < 120; ++byte) text += byte % 25 == 24 ? "5c,00,\\\n  " : "5c,00,";
      text += "00\n\n";
    }
    if (!gameKeyWritten && text.size() > kRegistryFileBytes * 3 / 5) {
      text +=
          "[Software\\\\Wow6432Node\\\\Westwood\\\\Renegade] 1796584329\n#time=1dd85b5b0c07266\n"
          "\"InstallPath\"=\"C:\\\\Westwood\\\\Renegade\\\\Renegade.exe\"\n"
          "\"Language\"=dword:00000000\n\n";
      gameKeyWritten = true;
    }
  }
  return text;
}

void writeFile(const fs::path& path, const std::string& contents) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << contents;
}

void makePrefix(const fs::path& prefix, const std::string& systemReg) {
  fs::create_directories(prefix / "drive_c");
  fs::create_directories(prefix / "dosdevices");
  fs::create_directory_symlink("../drive_c", prefix / "dosdevices" / "c:");
  writeFile(prefix / "system.reg", systemReg);
}

// The fake home: ~/.wine, a Proton prefix, Lutris prefixes and bottles; only the last prefix
// searched (the last bottle) holds the game's key, and only there is the game installed.
struct FakeHome {
  fs::path home;
  std::vector<fs::path> registryFiles;
  fs::path firstPrefix;
};

FakeHome createFakeHome() {
  FakeHome fake;
  fake.home = fs::temp_directory_path() /
              ("corvane-registry-bench-" + std::to_string(std::random_device()()));
  const std::string filler = systemRegistryText(false);
  std::vector<fs::path> prefixes = {
      fake.home / ".wine",
      fake.home / ".local/share/Steam/steamapps/compatdata/2229890/pfx",
  };
  for (int i = 0; i < kLutrisPrefixes; ++i) {
    const fs::path prefix = fake.home / ("Games/game-" + std::to_string(i));
    writeFile(fake.home / (".config/lutris/games/game-" + std::to_string(i) + ".yml"),
              "game:\n  exe: drive_c/game.exe\n  prefix: " + prefix.string() + "\n");
    prefixes.push_back(prefix);
  }
  for (int i = 0; i < kBottles; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "bottle-%02d", i);
    prefixes.push_back(fake.home / ".local/share/bottles/bottles" / name);
  }
  for (std::size_t i = 0; i < prefixes.size(); ++i) {
    const bool last = i + 1 == prefixes.size();
    makePrefix(prefixes[i], last ? systemRegistryText(true) : filler);
    fake.registryFiles.push_back(prefixes[i] / "system.reg");
  }
  writeFile(prefixes.back() / "drive_c/Westwood/Renegade/Renegade.exe", "MZ");
  fake.firstPrefix = prefixes.front();
  return fake;
}

std::optional<FakeHome> createdFakeHome;

FakeHome& fakeHome() {
  if (!createdFakeHome) createdFakeHome = createFakeHome();
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
  std::error_code error;
  if (createdFakeHome) fs::remove_all(createdFakeHome->home, error);
  return 0;
}
