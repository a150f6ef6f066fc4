// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A generated home folder with 20 Wine prefixes, each with a 5 MB system.reg, for the benchmarks
// of finding the game on Linux; only the last prefix searched holds the game's key and the game.
#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace corvane::bench {

inline constexpr const char* kGameKeyPath = "HKEY_LOCAL_MACHINE\\Software\\Westwood\\Renegade";
inline constexpr std::size_t kRegistryFileBytes = 5u * 1024u * 1024u;
inline constexpr int kLutrisPrefixes = 3;
inline constexpr int kBottles = 15;  // with ~/.wine and one Proton prefix: 20 prefixes

// A system.reg of a 64-bit prefix of about kRegistryFileBytes, made of key blocks like the ones
// Wine writes (class registrations, long hex values with continuation lines). When `withGameKey`,
// the game's key (under Wow6432Node, its InstallPath "C:\Westwood\Renegade\Renegade.exe") stands
// about three fifths into the file.
inline std::string systemRegistryText(bool withGameKey) {
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

// Writes `contents` to `path`, creating its folders; an existing file is replaced.
inline void writeFile(const std::filesystem::path& path, const std::string& contents) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << contents;
}

// The generated home folder and the files the benchmarks need to know.
struct FakeWineHome {
  std::filesystem::path home;
  // The 20 system.reg files, in the order the prefixes are searched.
  std::vector<std::filesystem::path> registryFiles;
  // The game's folder in the last prefix (its drive_c/Westwood/Renegade), holding Renegade.exe;
  // the game's key names the executable there.
  std::filesystem::path gameFolder;
};

// Creates, in the temporary folder, a home with ~/.wine, a Proton prefix of the game, 3 Lutris
// prefixes (with their game files) and 15 bottles, each with drive_c, a dosdevices/c: link to it
// and a system.reg of kRegistryFileBytes; only the last prefix searched (the last bottle) holds
// the game's key. Throws std::filesystem::filesystem_error when the folders cannot be made.
inline FakeWineHome createFakeWineHome() {
  namespace fs = std::filesystem;
  FakeWineHome fake;
  fake.home =
      fs::temp_directory_path() / ("corvane-bench-home-" + std::to_string(std::random_device()()));
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
    fs::create_directories(prefixes[i] / "drive_c");
    fs::create_directories(prefixes[i] / "dosdevices");
    fs::create_directory_symlink("../drive_c", prefixes[i] / "dosdevices" / "c:");
    writeFile(prefixes[i] / "system.reg", last ? systemRegistryText(true) : filler);
    fake.registryFiles.push_back(prefixes[i] / "system.reg");
  }
  fake.gameFolder = prefixes.back() / "drive_c/Westwood/Renegade";
  writeFile(fake.gameFolder / "Renegade.exe", "MZ");
  return fake;
}

// Removes the home folder and everything in it; errors are ignored.
inline void removeFakeWineHome(const FakeWineHome& fake) {
  std::error_code error;
  std::filesystem::remove_all(fake.home, error);
}

}  // namespace corvane::bench
