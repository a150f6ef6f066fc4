// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the game on Linux: which Wine prefixes are searched and in what order, which value
// answers, and how the Windows path it holds becomes a local path; the prefixes of Lutris' game
// files. Each test builds a fake home holding prefixes in Wine's own format (one real registry
// file of Wine's among them), and Lutris' files as PyYAML writes them.
#include <gtest/gtest.h>
#include <zlib.h>

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

std::string gunzip(const fs::path& path) {
  std::string text;
  gzFile file = gzopen(path.string().c_str(), "rb");
  char buffer[65536];
  for (int count; file != nullptr && (count = gzread(file, buffer, sizeof buffer)) > 0;) {
    text.append(buffer, static_cast<std::size_t>(count));
  }
  if (file != nullptr) gzclose(file);
  return text;
}

struct InstallRow {
  const char* name;
  Pairs prefixes;  // folder below the home, its system.reg
  // Below the home (UTF-8): "link -> target", a folder ending in '/', or a file.
  std::vector<std::string> entries;
  std::string expected;  // "<home>" stands for the home
  std::string winePrefix = "";
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
      fs::create_directories(home / fs::path(std::u8string(entry.begin(), entry.end())));
    } else {
      writeFile(home / fs::path(std::u8string(entry.begin(), entry.end())), "");
    }
  }
  std::optional<std::string> winePrefix;
  if (!row.winePrefix.empty()) winePrefix = withHome(row.winePrefix, home);
  WinePrefixRegistry store(home.string(), winePrefix);
  testing::RecordingShell shell;
  EXPECT_EQ(ReadRegistryValue(store, shell, R"(HKEY_LOCAL_MACHINE\Software\Westwood\Renegade)",
                              "InstallPath"),
            withHome(row.expected, home));
}

const std::string kBottle = ".local/share/bottles/bottles/Renegade";
const std::string kProton = ".steam/steam/steamapps/compatdata/2229890/pfx";
const std::string kFlatpakProton =
    ".var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/compatdata/2229890/pfx";
// The game's installer's InstallPath, escaped as in the file, and the game there in `prefix`:
// its program and its Data folder.
const std::string kGamePath = R"(C:\\Westwood\\Renegade\\Renegade.exe)";
std::vector<std::string> gameIn(const std::string& prefix, const std::string& data = "Data") {
  return {prefix + "/drive_c/Westwood/Renegade/Renegade.exe",
          prefix + "/drive_c/Westwood/Renegade/" + data + "/"};
}
std::string gameExeIn(const std::string& prefix) {
  return "<home>/" + prefix + "/drive_c/Westwood/Renegade/Renegade.exe";
}
template <typename... Lists>
std::vector<std::string> joined(const Lists&... lists) {
  std::vector<std::string> all;
  (all.insert(all.end(), lists.begin(), lists.end()), ...);
  return all;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Prefixes, WinePrefixInstall, ::testing::Values(
    InstallRow{"RealWin64SystemRegUnderWow6432Node",
               {{".wine", gunzip(fs::path(CORVANE_TEST_DATA) / "wine/win64-wow6432-system.reg.gz")}},
               {}, "<home>/.wine/drive_c/Westwood/Renegade/Renegade.exe"},
    InstallRow{"Win64PrefersWow6432Node",
               {{".wine", registryText("win64", keyBlock(kPlainKey, R"("C:\\Plain.exe")") +
                                                    keyBlock(kWowKey, R"("C:\\Wow.exe")"))}},
               {}, "<home>/.wine/drive_c/Wow.exe"},
    InstallRow{"Win32DoesNotLookUnderWow6432Node",
               {{".wine", registryText("win32", keyBlock(kWowKey, R"("C:\\Wow.exe")"))}}, {}, "Error"},
    InstallRow{"EscapedNonAsciiPartsMatchedIgnoringCase",
               {{".wine", gameRegistry(R"(c:\\SPIELE\\M\xfcller\\RENEGADE.EXE)")}},
               {".wine/drive_c/Spiele/M\xC3\xBCller/Renegade.exe"},
               "<home>/.wine/drive_c/Spiele/M\xC3\xBCller/Renegade.exe"},
    InstallRow{"MissingPartsKeptAsWritten", {{".wine", gameRegistry(R"(C:\\WESTWOOD\\Renegade\\)")}},
               {".wine/drive_c/Westwood/x"}, "<home>/.wine/drive_c/Westwood/Renegade/"},
    InstallRow{"UpperCaseDriveLinkOutsideThePrefix", {{".wine", gameRegistry(R"(d:\\Renegade.exe)")}},
               {".wine/dosdevices/D: -> <home>/disk", "disk/x"}, "<home>/disk/Renegade.exe"},
    InstallRow{"DeviceEntryIsNotADrive", {{".wine", gameRegistry(R"(D:\\Renegade.exe)")}},
               {".wine/dosdevices/d:: -> <home>"}, "Error"},
    InstallRow{"WineprefixWinsOverDotWine",
               {{".wine", gameRegistry(R"(C:\\DotWine.exe)")}, {"custom", gameRegistry(R"(C:\\Custom.exe)")}},
               {}, "<home>/custom/drive_c/Custom.exe", "<home>/custom"},
    InstallRow{"ValueOfAnotherKindPassedOverForALaterPrefix",
               {{".wine", registryText("win32", keyBlock(kPlainKey, "dword:1"))},
                {kBottle, gameRegistry(R"(C:\\Bottle.exe)")}},
               {}, "<home>/" + kBottle + "/drive_c/Bottle.exe"},
    InstallRow{"AnsweringPrefixMapsThroughItsOwnDrives",
               {{".wine", gameRegistry(R"(D:\\Renegade.exe)")}, {kBottle, gameRegistry(R"(D:\\Renegade.exe)")}},
               {kBottle + "/dosdevices/d: -> <home>"}, "Error"},
    InstallRow{"StaleDotWineKeyPassedOverForProton",
               {{".wine", gameRegistry(kGamePath)}, {kProton, gameRegistry(kGamePath)}},
               gameIn(kProton), gameExeIn(kProton)},
    InstallRow{"StaleWow6432NodeValuePassedOverForTheKeyAsNamed",
               {{".wine", registryText("win64", keyBlock(kWowKey, R"("C:\\Old\\Renegade.exe")") +
                                                    keyBlock(kPlainKey, "\"" + kGamePath + "\""))}},
               gameIn(".wine"), gameExeIn(".wine")},
    InstallRow{"ProgramWithoutDataFolderIsStale",
               {{".wine", gameRegistry(kGamePath)}, {kBottle, gameRegistry(kGamePath)}},
               joined(gameIn(".wine", "Maps"), gameIn(kBottle)),
               gameExeIn(kBottle)},
    InstallRow{"DataFolderInAnyLetterCase",
               {{".wine", gameRegistry(kGamePath)}, {kBottle, gameRegistry(kGamePath)}},
               joined(gameIn(".wine", "DATA"), gameIn(kBottle)), gameExeIn(".wine")},
    InstallRow{"DocumentedOrderWinsBetweenTwoGames",
               {{kBottle, gameRegistry(kGamePath)}, {kProton, gameRegistry(kGamePath)}},
               joined(gameIn(kBottle), gameIn(kProton)), gameExeIn(kProton)},
    InstallRow{"StaleEverywhereTheFirstValueAnswers",
               {{".wine", gameRegistry(R"(C:\\Gone\\Renegade.exe)")}, {kProton, gameRegistry(kGamePath)}},
               {kProton + "/drive_c/Westwood/Renegade/Renegade.exe"}, "<home>/.wine/drive_c/Gone/Renegade.exe"},
    InstallRow{"FlatpakSteamBehindAStaleDotWine",
               {{".wine", gameRegistry(kGamePath)}, {kFlatpakProton, gameRegistry(kGamePath)}},
               gameIn(kFlatpakProton), gameExeIn(kFlatpakProton)},
    InstallRow{"NonAsciiLettersOfOtherCase",
               {{".wine", gameRegistry(R"(C:\\GAMES\\RENEG\x00c4DE\\RENEGADE.EXE)")}},
               {".wine/drive_c/Games/Reneg\xC3\xA4" "de/Renegade.exe"},
               "<home>/.wine/drive_c/Games/Reneg\xC3\xA4" "de/Renegade.exe"},
    InstallRow{"Hex1StringWithoutItsNul",
               {{".wine", registryText("win64", keyBlock(kWowKey,
                   "hex(1):43,00,3a,00,5c,00,57,00,65,00,73,00,74,00,77,00,6f,00,6f,00,64,00,5c,\\\n"
                   "  00,52,00,2e,00,65,00,78,00,65,00"))}},
               {}, "<home>/.wine/drive_c/Westwood/R.exe"}),
    testing::RowName());
// clang-format on

TEST(WinePrefixDiscovery, FindsEveryKindOfPrefixOnceInOrder) {
  testing::TempFolder folder;
  const fs::path home = folder.path();
  const std::vector<std::string> prefixes = {
      "custom",
      ".wine",
      ".steam/steam/steamapps/compatdata/2229890/pfx",
      ".var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/compatdata/2229890/pfx",
      ".var/app/com.valvesoftware.Steam/data/Steam/steamapps/compatdata/2229890/pfx",
      "snap/steam/common/.local/share/Steam/steamapps/compatdata/2229890/pfx",
      "Library2/steamapps/compatdata/2229890/pfx",
      "Library3/steamapps/compatdata/2229890/pfx",
      "FlatpakLibrary/steamapps/compatdata/2229890/pfx",
      "Games/a",
      "Games/b",
      "Games/d",
      ".local/share/bottles/bottles/Alpha",
      ".local/share/bottles/bottles/Zeta",
      ".var/app/com.usebottles.bottles/data/bottles/bottles/Beta"};
  for (const std::string& prefix : prefixes) fs::create_directories(home / prefix);
  fs::create_directories(home / "Games/notes");
  makeLink(home / ".local/share/Steam", "../../.steam/steam");  // one Steam folder, two names
  for (const auto& [file, text] :
       Pairs{{".steam/steam/steamapps/libraryfolders.vdf",
              "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"<home>/.local/share/"
              "Steam\"\n\t}\n"
              "\t\"1\"\n\t{\n\t\t\"path\"\t\t\"<home>/Library2\"\n\t\t\"apps\"\n\t\t{\n\t\t}\n\t}\n"
              "\t\"2\"\n\t{\n\t\t\"path\"\t\t\"<home>/Missing\"\n\t}\n\t\"3\"\t\t\"<home>/"
              "Library3\"\n}\n"},
             {".var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/libraryfolders.vdf",
              "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"<home>/"
              "FlatpakLibrary\"\n\t}\n}\n"},
             {".config/lutris/games/b.yml", "game:\n  prefix: <home>/Games/b\n"},
             {".config/lutris/games/a.yml", "game:\n  prefix: \"~/Games/a\"\n"},
             {".config/lutris/games/c.yml", "game:\n  prefix: ~/Games/missing\n"},
             {".config/lutris/games/e.yml", "game:\n  prefix: ~/.wine\n"},
             {".config/lutris/games/notes.txt", "prefix: ~/Games/notes\n"},
             {".local/share/lutris/games/d.yaml", "game:\n  prefix: ~/Games/d # mine\n"}}) {
    writeFile(home / file, withHome(text, home));
  }
  std::vector<std::string> expected;
  for (const std::string& prefix : prefixes) expected.push_back((home / prefix).string());
  EXPECT_EQ(WinePrefixRegistry(home.string(), (home / "custom").string()).prefixes(), expected);
}

struct LutrisRow {
  const char* name;
  std::string gameFile;  // as PyYAML writes it; "<home>" stands for the home
  std::string prefix;    // the prefix found, below the home; "" for none
};

class LutrisGameFiles : public ::testing::TestWithParam<LutrisRow> {};

TEST_P(LutrisGameFiles, GivesThePrefixOfTheGame) {
  const LutrisRow& row = GetParam();
  testing::TempFolder folder;
  const fs::path& home = folder.path();
  fs::create_directories(home / "Games/old");  // a decoy a careless reader finds
  std::vector<std::string> expected;
  if (!row.prefix.empty()) {
    const fs::path prefix = home / fs::path(std::u8string(row.prefix.begin(), row.prefix.end()));
    fs::create_directories(prefix);
    expected.push_back(prefix.string());
  }
  writeFile(home / ".local/share/lutris/games/renegade-1690000000.yml",
            withHome(row.gameFile, home));
  EXPECT_EQ(WinePrefixRegistry(home.string(), std::nullopt).prefixes(), expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Lutris, LutrisGameFiles, ::testing::Values(
    LutrisRow{"DoubleQuotedWithHexEscapes",
              "game:\n  exe: drive_c/Westwood/Renegade/Renegade.exe\n"
              "  prefix: \"<home>/Games/Reneg\\xE4de\"\nname: Renegade\n",
              "Games/Reneg\xC3\xA4" "de"},
    LutrisRow{"LongValueFoldedOntoTheNextLine",
              "game:\n  exe: drive_c/Westwood/Renegade/Renegade.exe\n"
              "  prefix: <home>/Games/Command and Conquer Renegade with the Community Patch\n"
              "    and AI Maps\n",
              "Games/Command and Conquer Renegade with the Community Patch and AI Maps"},
    LutrisRow{"LongDoubleQuotedValueFoldedWithAnEscapedBlank",
              "game:\n  exe: drive_c/Westwood/Renegade/Renegade.exe\n"
              "  prefix: \"<home>/Games/Command and Conquer Reneg\\xE4de with the Community Patch\\\n"
              "    \\ and AI Maps\"\n",
              "Games/Command and Conquer Reneg\xC3\xA4" "de with the Community Patch and AI Maps"},
    LutrisRow{"PrefixLineInABlockTextBeforeTheGamesPrefix",
              "game:\n  args: |\n    -nointro\n    prefix: <home>/Games/old\n"
              "  exe: drive_c/Westwood/Renegade/Renegade.exe\n  prefix: <home>/Games/renegade\n",
              "Games/renegade"},
    LutrisRow{"HomeVariableExpanded",
              "game:\n  exe: drive_c/Westwood/Renegade/Renegade.exe\n  prefix: $HOME/Games/renegade\n"
              "system:\n  disable_runtime: true\n",
              "Games/renegade"},
    LutrisRow{"BracedHomeVariableExpanded", "game:\n  prefix: ${HOME}/Games/renegade\n", "Games/renegade"},
    LutrisRow{"PrefixOutsideTheGameSection", "system:\n  prefix: <home>/Games/old\n", ""},
    LutrisRow{"NotYaml", "game: [\n  prefix: <home>/Games/old\n", ""}),
    testing::RowName());
// clang-format on

}  // namespace
}  // namespace corvane
