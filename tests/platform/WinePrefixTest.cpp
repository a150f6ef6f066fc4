// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the game on Linux: which Wine prefixes are searched and in what order, which value
// answers, and how the Windows path it holds becomes a local path; the prefixes of Lutris' game
// files. Each test builds a fake home holding prefixes in Wine's own format, and Lutris' files as
// PyYAML writes them.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "LutrisGameFile.h"
#include "RecordingShell.h"
#include "Registry.h"
#include "Rows.h"
#include "TempFolder.h"
#include "WinePrefixRegistry.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::writeFile;
using Pairs = std::vector<std::pair<std::string, std::string>>;

std::string registryText(const std::string& arch, const std::string& blocks) {
  return "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=" + arch +
         "\n\n" + blocks;
}
// A key block of Wine's format holding InstallPath, `value` escaped as in the file.
std::string keyBlock(const std::string& escapedKey, const std::string& value) {
  return "[" + escapedKey + "] 1796584329\n#time=1dd85b5b0c07266\n\"InstallPath\"=" + value +
         "\n\n";
}
const std::string kPlainKey = R"(Software\\Westwood\\Renegade)";
const std::string kWowKey = R"(Software\\Wow6432Node\\Westwood\\Renegade)";
// A 32-bit prefix's registry holding the game's install path.
std::string gameRegistry(const std::string& escapedPath) {
  return registryText("win32", keyBlock(kPlainKey, "\"" + escapedPath + "\""));
}

std::string withHome(std::string text, const fs::path& home) {
  for (std::size_t at; (at = text.find("<home>")) != std::string::npos;)
    text.replace(at, 6, home.string());
  return text;
}

// Copies the tree at `from` into `home`, with "<home>" in its files standing for the home.
void copyHome(const fs::path& from, const fs::path& home) {
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(from)) {
    if (entry.is_regular_file())
      writeFile(home / fs::relative(entry.path(), from), withHome(testing::readFile(entry), home));
  }
}
const fs::path kLutrisFiles = fs::path(CORVANE_TEST_DATA) / "lutris";

void makeLink(const fs::path& link, const fs::path& target) {
  fs::create_directories(link.parent_path());
  fs::create_symlink(target, link);
}

// A prefix as Wine sets one up: drive_c, dosdevices/c: -> ../drive_c, z: -> / and the device
// entry c:: -> /dev/null, with `systemReg` as its system.reg.
void makePrefix(const fs::path& prefix, const std::string& systemReg) {
  fs::create_directories(prefix / "drive_c" / "windows");
  makeLink(prefix / "dosdevices" / "c:", "../drive_c");
  makeLink(prefix / "dosdevices" / "z:", "/");
  makeLink(prefix / "dosdevices" / "c::", "/dev/null");
  writeFile(prefix / "system.reg", systemReg);
}

struct InstallRow {
  const char* name;
  Pairs prefixes;  // folder below the home, its system.reg
  // Below the home: "link -> target", a folder ending in '/', or a file.
  std::vector<std::string> entries;
  std::string expected;  // "<home>" stands for the home
};

class WinePrefixInstall : public ::testing::TestWithParam<InstallRow> {};

TEST_P(WinePrefixInstall, ReadsTheLocalPathOfTheGame) {
  const InstallRow& row = GetParam();
  testing::TempFolder folder;
  const fs::path& home = folder.path();
  for (const auto& [prefix, systemReg] : row.prefixes) makePrefix(home / prefix, systemReg);
  for (const std::string& entry : row.entries) {
    const std::size_t arrow = entry.find(" -> ");
    if (arrow != std::string::npos) {
      makeLink(home / entry.substr(0, arrow), withHome(entry.substr(arrow + 4), home));
    } else if (entry.ends_with('/')) {
      fs::create_directories(home / entry);
    } else {
      writeFile(home / entry, "");
    }
  }
  WinePrefixRegistry store(home.string(), std::nullopt);
  testing::RecordingShell shell;
  EXPECT_EQ(ReadRegistryValue(store, shell, R"(HKEY_LOCAL_MACHINE\Software\Westwood\Renegade)",
                              "InstallPath"),
            withHome(row.expected, home));
}

const std::string kBottle = ".local/share/bottles/bottles/Renegade";
const std::string kProton = ".steam/steam/steamapps/compatdata/2229890/pfx";
// The game's installer's InstallPath, escaped as in the file, and the game there in `prefix`:
// its program and its Data folder.
const std::string kGamePath = R"(C:\\Westwood\\Renegade\\Renegade.exe)";
std::vector<std::string> gameIn(const std::string& prefix) {
  return {prefix + "/drive_c/Westwood/Renegade/Renegade.exe",
          prefix + "/drive_c/Westwood/Renegade/Data/"};
}
std::string gameExeIn(const std::string& prefix) {
  return "<home>/" + prefix + "/drive_c/Westwood/Renegade/Renegade.exe";
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Prefixes, WinePrefixInstall, ::testing::Values(
    InstallRow{"Win64PrefersWow6432Node",
               {{".wine", registryText("win64", keyBlock(kPlainKey, R"("C:\\Plain.exe")") +
                                                    keyBlock(kWowKey, R"("C:\\Wow.exe")"))}},
               {}, "<home>/.wine/drive_c/Wow.exe"},
    InstallRow{"UpperCaseDriveLinkOutsideThePrefix", {{".wine", gameRegistry(R"(d:\\Renegade.exe)")}},
               {".wine/dosdevices/D: -> <home>/disk", "disk/x"}, "<home>/disk/Renegade.exe"},
    InstallRow{"ValueOfAnotherKindPassedOverForALaterPrefix",
               {{".wine", registryText("win32", keyBlock(kPlainKey, "dword:1"))},
                {kBottle, gameRegistry(R"(C:\\Bottle.exe)")}},
               {}, "<home>/" + kBottle + "/drive_c/Bottle.exe"},
    InstallRow{"StaleDotWineKeyPassedOverForProton",
               {{".wine", gameRegistry(kGamePath)}, {kProton, gameRegistry(kGamePath)}},
               gameIn(kProton), gameExeIn(kProton)},
    InstallRow{"DataFolderInAnyLetterCase",
               {{".wine", gameRegistry(kGamePath)}, {kBottle, gameRegistry(kGamePath)}},
               {".wine/drive_c/Westwood/Renegade/Renegade.exe", ".wine/drive_c/Westwood/Renegade/DATA/",
                kBottle + "/drive_c/Westwood/Renegade/Renegade.exe", kBottle + "/drive_c/Westwood/Renegade/Data/"},
               gameExeIn(".wine")}),
    testing::RowName());
// clang-format on

TEST(WinePrefixDiscovery, FindsEveryKindOfPrefixOnceInOrder) {
  testing::TempFolder folder;
  const fs::path home = folder.path();
  // Every kind of prefix, in the order they are searched (the player's own first).
  std::vector<std::string> expected;
  std::istringstream listed(testing::readFile(fs::path(CORVANE_TEST_DATA) / "wine/prefixes.txt"));
  for (std::string prefix; std::getline(listed, prefix);) {
    fs::create_directories(home / prefix);
    expected.push_back((home / prefix).string());
  }
  fs::create_directories(home / "Games/notes");
  makeLink(home / ".local/share/Steam", "../../.steam/steam");  // one Steam folder, two names
  // Steam's library lists and Lutris' game files, naming folders of the home.
  copyHome(fs::path(CORVANE_TEST_DATA) / "wine/home", home);
  EXPECT_EQ(WinePrefixRegistry(home.string(), (home / "custom").string()).prefixes(), expected);
}

// Game files of Lutris under tests/data/lutris, as PyYAML writes them, each with the prefix it
// names (below the home) in its first line.
class LutrisGameFiles : public ::testing::TestWithParam<std::string> {};

TEST_P(LutrisGameFiles, GivesThePrefixOfTheGame) {
  testing::TempFolder folder;
  const fs::path& home = folder.path();
  fs::create_directories(home / "Games/old");  // a decoy a careless reader finds
  const std::string text = testing::readFile(kLutrisFiles / (GetParam() + ".yml"));
  const std::string named = text.substr(0, text.find('\n'));
  std::vector<std::string> expected;
  if (const std::size_t at = named.find(": "); at != std::string::npos) {
    const std::string below = named.substr(at + 2);
    const fs::path prefix = home / fs::path(std::u8string(below.begin(), below.end()));
    fs::create_directories(prefix);
    expected.push_back(prefix.string());
  }
  writeFile(home / ".local/share/lutris/games/renegade-1690000000.yml", withHome(text, home));
  EXPECT_EQ(WinePrefixRegistry(home.string(), std::nullopt).prefixes(), expected);
}

std::vector<std::string> lutrisFiles() {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(kLutrisFiles))
    names.push_back(entry.path().stem().string());
  return names;
}
INSTANTIATE_TEST_SUITE_P(Lutris, LutrisGameFiles, ::testing::ValuesIn(lutrisFiles()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace corvane
