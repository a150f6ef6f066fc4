// Tests of the Linux registry store: which Wine prefixes are found, in which order, which one
// answers, and how the Windows path it holds becomes a local path. Each test builds a fake home
// folder holding prefixes written in Wine's own format.
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "Registry.h"
#include "TemporaryFolder.h"
#include "WinePrefixRegistry.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing_support::makeLink;
using testing_support::pathFromUtf8Text;
using testing_support::TemporaryFolder;
using testing_support::writeFile;

class QuietShell final : public Shell {
 public:
  void openTarget(const std::string&) override {}
  void showNotice(const std::string&, const std::string& text) override {
    ADD_FAILURE() << "unexpected notice: " << text;
  }
};

const std::string kGameKeyPath = "HKEY_LOCAL_MACHINE\\Software\\Westwood\\Renegade";

std::string registryText(const std::string& architecture, const std::string& blocks) {
  return "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=" +
         architecture + "\n\n" + blocks;
}

// A key block of Wine's format; `escapedKey` and `valueLines` as they stand in the file.
std::string keyBlock(const std::string& escapedKey, const std::string& valueLines) {
  return "[" + escapedKey + "] 1796584329\n#time=1dd85b5b0c07266\n" + valueLines + "\n";
}

// The game's key as Wine writes it, in a 32-bit prefix and in a 64-bit one.
const std::string kPlainKey = R"(Software\\Westwood\\Renegade)";
const std::string kWowKey = R"(Software\\Wow6432Node\\Westwood\\Renegade)";

// The line of the value InstallPath holding `escapedValue` as it stands in the file.
std::string installPathLine(const std::string& escapedValue) {
  return "\"InstallPath\"=\"" + escapedValue + "\"\n";
}

// A registry file whose only key is `escapedKey`, holding InstallPath `escapedValue`.
std::string gameRegistry(const std::string& architecture, const std::string& escapedKey,
                         const std::string& escapedValue) {
  return registryText(architecture, keyBlock(escapedKey, installPathLine(escapedValue)));
}

// The same for the usual 32-bit prefix.
std::string win32GameRegistry(const std::string& escapedValue) {
  return gameRegistry("win32", kPlainKey, escapedValue);
}

const std::string kUsualInstallPath = R"(C:\\Westwood\\Renegade\\Renegade.exe)";
const std::string kUsualGameFile = "Westwood/Renegade/Renegade.exe";

// A prefix as Wine sets one up: drive_c, dosdevices/c: -> ../drive_c, z: -> / and a device
// entry c:: -> /dev/null; `systemReg` as its system.reg when given.
void makePrefix(const fs::path& prefix, const std::optional<std::string>& systemReg) {
  fs::create_directories(prefix / "drive_c" / "windows");
  makeLink(prefix / "dosdevices" / "c:", "../drive_c");
  makeLink(prefix / "dosdevices" / "z:", "/");
  fs::create_symlink("/dev/null", prefix / "dosdevices" / "c::");
  if (systemReg) writeFile(prefix / "system.reg", *systemReg);
}

// An installed game: the file at `relativePath` (UTF-8) below `folder`.
void installGame(const fs::path& folder, const std::string& relativePath) {
  writeFile(folder / pathFromUtf8Text(relativePath), "MZ");
}

std::string gunzipFile(const fs::path& path) {
  std::string text;
  gzFile file = gzopen(path.string().c_str(), "rb");
  if (file == nullptr) {
    ADD_FAILURE() << "cannot open " << path;
    return text;
  }
  char buffer[65536];
  int count = 0;
  while ((count = gzread(file, buffer, sizeof buffer)) > 0) text.append(buffer, count);
  gzclose(file);
  return text;
}

const fs::path kRealWin64SystemReg =
    fs::path(CORVANE_TEST_DATA) / "wine" / "win64-wow6432-system.reg.gz";

std::string replaceHome(std::string text, const fs::path& home) {
  const std::string marker = "<home>";
  for (std::size_t at = text.find(marker); at != std::string::npos; at = text.find(marker)) {
    text.replace(at, marker.size(), home.string());
  }
  return text;
}

// --- The game's install path, read through ReadRegistryValue --------------------------------

struct InstallRow {
  const char* name;
  std::function<void(const fs::path& home)> buildHome;
  std::string expected;  // "<home>" stands for the fake home
  std::string keyPath = kGameKeyPath;
  std::optional<std::string> winePrefix = std::nullopt;  // "<home>" as above
};

void PrintTo(const InstallRow& row, std::ostream* out) {
  *out << row.name;
}

class WinePrefixInstallTest : public ::testing::TestWithParam<InstallRow> {};

TEST_P(WinePrefixInstallTest, ReadsTheLocalPathOfTheGame) {
  const InstallRow& row = GetParam();
  TemporaryFolder home;
  row.buildHome(home.path());
  std::optional<std::string> winePrefix;
  if (row.winePrefix) winePrefix = replaceHome(*row.winePrefix, home.path());
  WinePrefixRegistry store(home.string(), winePrefix);
  QuietShell shell;
  EXPECT_EQ(ReadRegistryValue(store, shell, row.keyPath, "InstallPath"),
            replaceHome(row.expected, home.path()));
}

const std::string kDotWineGame = "<home>/.wine/drive_c/Westwood/Renegade/Renegade.exe";
const std::string kBottle = ".local/share/bottles/bottles/Renegade";

std::string crlfLines(const std::string& text) {
  std::string crlf;
  for (const char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return crlf;
}

const std::string kLibraryFoldersVdf =
    "\"libraryfolders\"\n{\n"
    "\t\"0\"\n\t{\n\t\t\"path\"\t\t\"<home>/.local/share/Steam\"\n"
    "\t\t\"apps\"\n\t\t{\n\t\t\t\"220\"\t\t\"4096\"\n\t\t}\n\t}\n"
    "\t\"1\"\n\t{\n\t\t\"path\"\t\t\"<home>/Games/SteamLibrary\"\n"
    "\t\t\"apps\"\n\t\t{\n\t\t\t\"2229890\"\t\t\"1048576\"\n\t\t}\n\t}\n}\n";
const std::string kProtonPrefix = "Games/SteamLibrary/steamapps/compatdata/2229890/pfx";
const std::string kProtonInstallPath =
    R"(C:\\Program Files (x86)\\Steam\\steamapps\\common\\Renegade\\Renegade.exe)";
const std::string kProtonGameFile =
    "Program Files (x86)/Steam/steamapps/common/Renegade/Renegade.exe";

const std::string kLutrisGameFile =
    "game:\n"
    "  exe: <home>/Games/cc-renegade/drive_c/Westwood/Renegade/Renegade.exe\n"
    "  prefix: <home>/Games/cc-renegade\n"
    "system: {}\n"
    "wine:\n"
    "  version: lutris-GE\n";

const InstallRow kInstallRows[] = {
    // Where the key is, by the prefix's architecture.
    {"win32_prefix",
     [](const fs::path& home) {
       makePrefix(home / ".wine", win32GameRegistry(kUsualInstallPath));
       installGame(home / ".wine/drive_c", kUsualGameFile);
     },
     kDotWineGame},
    {"real_win64_system_reg_under_wow6432node",
     [](const fs::path& home) {
       makePrefix(home / ".wine", gunzipFile(kRealWin64SystemReg));
       installGame(home / ".wine/drive_c", kUsualGameFile);
     },
     kDotWineGame},
    {"win64_prefers_wow6432node",
     [](const fs::path& home) {
       makePrefix(home / ".wine",
                  registryText("win64", keyBlock(kPlainKey, installPathLine(R"(C:\\Plain.exe)")) +
                                            keyBlock(kWowKey, installPathLine(R"(C:\\Wow.exe)"))));
     },
     "<home>/.wine/drive_c/Wow.exe"},
    {"win64_falls_back_to_the_key_as_named",
     [](const fs::path& home) {
       makePrefix(home / ".wine", gameRegistry("win64", kPlainKey, kUsualInstallPath));
     },
     kDotWineGame},
    {"win64_wow6432node_key_without_the_value_falls_back",
     [](const fs::path& home) {
       makePrefix(
           home / ".wine",
           registryText("win64", keyBlock(kWowKey, "\"Language\"=dword:0\n") +
                                     keyBlock(kPlainKey, installPathLine(kUsualInstallPath))));
     },
     kDotWineGame},
    {"win32_does_not_look_under_wow6432node",
     [](const fs::path& home) {
       makePrefix(home / ".wine", gameRegistry("win32", kWowKey, kUsualInstallPath));
     },
     "Error"},
    {"crlf_line_endings",
     [](const fs::path& home) {
       makePrefix(home / ".wine", crlfLines(gameRegistry("win64", kWowKey, kUsualInstallPath)));
     },
     kDotWineGame},

    // Mapping the Windows path to the local one.
    {"escaped_non_ascii_folder",
     [](const fs::path& home) {
       makePrefix(home / ".wine", win32GameRegistry(R"(C:\\Spiele\\M\xfcller\\Renegade.exe)"));
       installGame(home / ".wine/drive_c", "Spiele/M\xC3\xBCller/Renegade.exe");
     },
     "<home>/.wine/drive_c/Spiele/M\xC3\xBCller/Renegade.exe"},
    {"escaped_character_outside_the_bmp",
     [](const fs::path& home) {
       makePrefix(home / ".wine", win32GameRegistry(R"(C:\\Games\xd83c\xdfae\\Renegade.exe)"));
       installGame(home / ".wine/drive_c", "Games\xF0\x9F\x8E\xAE/Renegade.exe");
     },
     "<home>/.wine/drive_c/Games\xF0\x9F\x8E\xAE/Renegade.exe"},
    {"parts_matched_without_regard_to_case",
     [](const fs::path& home) {
       makePrefix(home / ".wine", win32GameRegistry(R"(c:\\WESTWOOD\\renegade\\RENEGADE.EXE)"));
       installGame(home / ".wine/drive_c", kUsualGameFile);
     },
     kDotWineGame},
    {"exact_spelling_preferred",
     [](const fs::path& home) {
       makePrefix(home / ".wine", win32GameRegistry(R"(C:\\Games\\renegade\\game.exe)"));
       installGame(home / ".wine/drive_c", "Games/Renegade/game.exe");
       installGame(home / ".wine/drive_c", "Games/renegade/game.exe");
     },
     "<home>/.wine/drive_c/Games/renegade/game.exe"},
    {"missing_parts_kept_as_written",
     [](const fs::path& home) {
       makePrefix(home / ".wine", win32GameRegistry(R"(C:\\WESTWOOD\\Renegade\\Renegade.exe)"));
       fs::create_directories(home / ".wine/drive_c/Westwood");
     },
     kDotWineGame},
    {"trailing_backslash_kept_as_slash",
     [](const fs::path& home) {
       makePrefix(home / ".wine", win32GameRegistry(R"(C:\\Westwood\\Renegade\\)"));
       fs::create_directories(home / ".wine/drive_c/Westwood/Renegade");
     },
     "<home>/.wine/drive_c/Westwood/Renegade/"},
    {"leading_blanks_removed_before_mapping",
     [](const fs::path& home) {
       makePrefix(home / ".wine", win32GameRegistry("  " + kUsualInstallPath));
     },
     kDotWineGame},
    {"c_drive_linked_outside_the_prefix",
     [](const fs::path& home) {
       makePrefix(home / ".wine", win32GameRegistry(kUsualInstallPath));
       fs::remove(home / ".wine/dosdevices/c:");
       makeLink(home / ".wine/dosdevices/c:", home / "windows-disk");
       installGame(home / "windows-disk", kUsualGameFile);
     },
     "<home>/windows-disk/Westwood/Renegade/Renegade.exe"},
    {"upper_case_drive_link",
     [](const fs::path& home) {
       makePrefix(home / ".wine", win32GameRegistry(R"(d:\\Renegade\\Renegade.exe)"));
       makeLink(home / ".wine/dosdevices/D:", home / "second-disk");
       installGame(home / "second-disk", "Renegade/Renegade.exe");
     },
     "<home>/second-disk/Renegade/Renegade.exe"},
    {"z_drive_is_the_file_system_root",
     [](const fs::path& home) {
       std::string escaped = "Z:";
       for (const char c : home.string() + "/games/Renegade.exe") {
         escaped += c == '/' ? std::string(R"(\\)") : std::string(1, c);
       }
       makePrefix(home / ".wine", win32GameRegistry(escaped));
       installGame(home / "games", "Renegade.exe");
     },
     "<home>/games/Renegade.exe"},
    {"empty_value_reads_empty",
     [](const fs::path& home) { makePrefix(home / ".wine", win32GameRegistry("")); }, ""},
    {"drive_without_link_reads_error",
     [](const fs::path& home) {
       makePrefix(home / ".wine", win32GameRegistry(R"(D:\\Games\\Renegade.exe)"));
     },
     "Error"},
    {"device_entry_is_not_a_drive",
     [](const fs::path& home) {
       makePrefix(home / ".wine", win32GameRegistry(R"(D:\\Games\\Renegade.exe)"));
       makeLink(home / ".wine/dosdevices/d::", home);
     },
     "Error"},
    {"dangling_drive_link_reads_error",
     [](const fs::path& home) {
       makePrefix(home / ".wine", win32GameRegistry(kUsualInstallPath));
       fs::remove_all(home / ".wine/drive_c");
     },
     "Error"},
    {"relative_path_reads_error",
     [](const fs::path& home) {
       makePrefix(home / ".wine", win32GameRegistry(R"(Renegade\\Renegade.exe)"));
     },
     "Error"},
    {"network_path_reads_error",
     [](const fs::path& home) {
       makePrefix(home / ".wine", win32GameRegistry(R"(\\\\server\\share\\Renegade.exe)"));
     },
     "Error"},
    {"drive_without_backslash_reads_error",
     [](const fs::path& home) {
       makePrefix(home / ".wine", win32GameRegistry(R"(C:Renegade.exe)"));
     },
     "Error"},

    // Which file and which prefix answers.
    {"no_prefix_reads_error", [](const fs::path&) {}, "Error"},
    {"prefix_without_system_reg_reads_error",
     [](const fs::path& home) { makePrefix(home / ".wine", std::nullopt); }, "Error"},
    {"missing_value_reads_error",
     [](const fs::path& home) {
       makePrefix(home / ".wine",
                  registryText("win32", keyBlock(kPlainKey, "\"Language\"=dword:0\n")));
     },
     "Error"},
    {"current_user_reads_user_reg",
     [](const fs::path& home) {
       makePrefix(home / ".wine", std::nullopt);
       writeFile(home / ".wine/user.reg", win32GameRegistry(R"(C:\\User\\Renegade.exe)"));
     },
     "<home>/.wine/drive_c/User/Renegade.exe", "HKEY_CURRENT_USER\\Software\\Westwood\\Renegade"},
    {"local_machine_does_not_read_user_reg",
     [](const fs::path& home) {
       makePrefix(home / ".wine", std::nullopt);
       writeFile(home / ".wine/user.reg", win32GameRegistry(kUsualInstallPath));
     },
     "Error"},
    {"other_roots_have_no_keys",
     [](const fs::path& home) {
       makePrefix(home / ".wine", win32GameRegistry(kUsualInstallPath));
       writeFile(home / ".wine/userdef.reg", win32GameRegistry(kUsualInstallPath));
     },
     "Error", "HKEY_USERS\\Software\\Westwood\\Renegade"},
    {"wineprefix_wins_over_dot_wine",
     [](const fs::path& home) {
       makePrefix(home / ".wine", win32GameRegistry(R"(C:\\DotWine.exe)"));
       makePrefix(home / "custom", win32GameRegistry(R"(C:\\Custom.exe)"));
     },
     "<home>/custom/drive_c/Custom.exe", kGameKeyPath, "<home>/custom"},
    {"dot_wine_answers_when_wineprefix_lacks_the_key",
     [](const fs::path& home) {
       makePrefix(home / ".wine", win32GameRegistry(R"(C:\\DotWine.exe)"));
       makePrefix(home / "custom", registryText("win32", ""));
     },
     "<home>/.wine/drive_c/DotWine.exe", kGameKeyPath, "<home>/custom"},
    {"value_beats_key_without_value_in_an_earlier_prefix",
     [](const fs::path& home) {
       makePrefix(home / ".wine",
                  registryText("win32", keyBlock(kPlainKey, "\"Language\"=dword:0\n")));
       makePrefix(home / kBottle, win32GameRegistry(R"(C:\\Bottle.exe)"));
     },
     "<home>/" + kBottle + "/drive_c/Bottle.exe"},
    {"value_of_another_kind_is_passed_over",
     [](const fs::path& home) {
       makePrefix(home / ".wine",
                  registryText("win32", keyBlock(kPlainKey, "\"InstallPath\"=dword:1\n")));
       makePrefix(home / kBottle, win32GameRegistry(R"(C:\\Bottle.exe)"));
     },
     "<home>/" + kBottle + "/drive_c/Bottle.exe"},
    {"answering_prefix_maps_through_its_own_drives",
     [](const fs::path& home) {
       makePrefix(home / ".wine", win32GameRegistry(R"(D:\\Renegade.exe)"));
       makePrefix(home / kBottle, win32GameRegistry(R"(D:\\Renegade.exe)"));
       makeLink(home / kBottle / "dosdevices/d:", home);
     },
     "Error"},

    // Prefixes of Steam, Lutris and Bottles.
    {"proton_prefix_in_a_library_listed_only_in_libraryfolders",
     [](const fs::path& home) {
       fs::create_directories(home / ".local/share/Steam/steamapps/compatdata/220/pfx");
       makeLink(home / ".steam/steam", "../.local/share/Steam");
       writeFile(home / ".local/share/Steam/steamapps/libraryfolders.vdf",
                 replaceHome(kLibraryFoldersVdf, home));
       makePrefix(home / kProtonPrefix, gameRegistry("win64", kWowKey, kProtonInstallPath));
       installGame(home / kProtonPrefix / "drive_c", kProtonGameFile);
     },
     "<home>/" + kProtonPrefix + "/drive_c/" + kProtonGameFile},
    {"lutris_prefix",
     [](const fs::path& home) {
       writeFile(home / ".config/lutris/games/cc-renegade-1712345678.yml",
                 replaceHome(kLutrisGameFile, home));
       makePrefix(home / "Games/cc-renegade", win32GameRegistry(kUsualInstallPath));
     },
     "<home>/Games/cc-renegade/drive_c/Westwood/Renegade/Renegade.exe"},
    {"lutris_prefix_quoted_with_tilde_in_newer_location",
     [](const fs::path& home) {
       writeFile(home / ".local/share/lutris/games/renegade.yml",
                 "game:\n  prefix: '~/Games/My Renegade'\n");
       makePrefix(home / "Games/My Renegade", win32GameRegistry(R"(C:\\Renegade.exe)"));
     },
     "<home>/Games/My Renegade/drive_c/Renegade.exe"},
    {"bottles_bottle",
     [](const fs::path& home) {
       makePrefix(home / kBottle, win32GameRegistry(R"(C:\\Renegade.exe)"));
     },
     "<home>/" + kBottle + "/drive_c/Renegade.exe"},
    {"bottles_flatpak_bottle",
     [](const fs::path& home) {
       makePrefix(home / ".var/app/com.usebottles.bottles/data/bottles/bottles/Gaming",
                  win32GameRegistry(R"(C:\\Renegade.exe)"));
     },
     "<home>/.var/app/com.usebottles.bottles/data/bottles/bottles/Gaming/drive_c/Renegade.exe"},
};

INSTANTIATE_TEST_SUITE_P(Prefixes, WinePrefixInstallTest, ::testing::ValuesIn(kInstallRows),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Which prefixes are found, and their order ----------------------------------------------

TEST(WinePrefixDiscoveryTest, FindsEveryKindOfPrefixOnceInOrder) {
  TemporaryFolder folder;
  const fs::path home = folder.path();
  for (const char* prefix :
       {"custom", ".wine", ".local/share/Steam/steamapps/compatdata/2229890/pfx",
        "Library2/steamapps/compatdata/2229890/pfx", "Library3/steamapps/compatdata/2229890/pfx",
        "Games/a", "Games/b", "Games/d", ".local/share/bottles/bottles/Zeta",
        ".local/share/bottles/bottles/Alpha",
        ".var/app/com.usebottles.bottles/data/bottles/bottles/Beta"}) {
    fs::create_directories(home / prefix);
  }
  fs::create_directories(home / "Library4/steamapps");  // no prefix of the game there
  makeLink(home / ".steam/steam", "../.local/share/Steam");
  writeFile(home / ".local/share/Steam/steamapps/libraryfolders.vdf",
            replaceHome("\"libraryfolders\"\n{\n"
                        "\t\"0\"\n\t{\n\t\t\"path\"\t\t\"<home>/.local/share/Steam\"\n\t}\n"
                        "\t\"1\"\n\t{\n\t\t\"path\"\t\t\"<home>/Library2\"\n\t}\n"
                        "\t\"2\"\n\t{\n\t\t\"path\"\t\t\"<home>/Missing\"\n\t}\n"
                        "\t\"3\"\n\t{\n\t\t\"path\"\t\t\"<home>/Library4\"\n\t}\n"
                        "\t\"4\"\t\t\"<home>/Library3\"\n}\n",
                        home));
  writeFile(home / ".config/lutris/games/b.yml",
            replaceHome("game:\n  prefix: <home>/Games/b\n", home));
  writeFile(home / ".config/lutris/games/a.yml", "game:\n  prefix: \"~/Games/a\"\n");
  writeFile(home / ".config/lutris/games/c.yml", "game:\n  prefix: ~/Games/missing\n");
  writeFile(home / ".config/lutris/games/e.yml", "game:\n  prefix: ~/.wine\n");
  writeFile(home / ".config/lutris/games/notes.txt", "prefix: ~/Games/notes\n");
  fs::create_directories(home / "Games/notes");
  writeFile(home / ".local/share/lutris/games/d.yaml", "game:\n  prefix: ~/Games/d # mine\n");

  const WinePrefixRegistry store(home.string(), (home / "custom").string());

  const std::vector<std::string> expected = {
      (home / "custom").string(),
      (home / ".wine").string(),
      (home / ".steam/steam/steamapps/compatdata/2229890/pfx").string(),
      (home / "Library2/steamapps/compatdata/2229890/pfx").string(),
      (home / "Library3/steamapps/compatdata/2229890/pfx").string(),
      (home / "Games/a").string(),
      (home / "Games/b").string(),
      (home / "Games/d").string(),
      (home / ".local/share/bottles/bottles/Alpha").string(),
      (home / ".local/share/bottles/bottles/Zeta").string(),
      (home / ".var/app/com.usebottles.bottles/data/bottles/bottles/Beta").string(),
  };
  EXPECT_EQ(store.prefixes(), expected);
}

TEST(WinePrefixDiscoveryTest, WineprefixNamingDotWineIsSearchedOnce) {
  TemporaryFolder folder;
  fs::create_directories(folder.path() / ".wine");
  const WinePrefixRegistry store(folder.string(), folder.string() + "/./.wine/");
  EXPECT_EQ(store.prefixes().size(), 1u);
}

TEST(WinePrefixDiscoveryTest, EmptyHomeFindsOnlyWineprefix) {
  TemporaryFolder folder;
  fs::create_directories(folder.path() / "prefix");
  const WinePrefixRegistry store("", (folder.path() / "prefix").string());
  EXPECT_EQ(store.prefixes(), std::vector<std::string>{(folder.path() / "prefix").string()});
}

TEST(WinePrefixDiscoveryTest, OldStyleLibraryFoldersFile) {
  TemporaryFolder folder;
  const fs::path home = folder.path();
  fs::create_directories(home / "Old/steamapps/compatdata/2229890/pfx");
  writeFile(home / ".steam/steam/steamapps/libraryfolders.vdf",
            replaceHome("\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\t\"1712345678\"\n"
                        "\t\"ContentStatsID\"\t\t\"-123\"\n\t\"1\"\t\t\"<home>/Old\"\n}\n",
                        home));
  const WinePrefixRegistry store(home.string(), std::nullopt);
  EXPECT_EQ(store.prefixes(),
            std::vector<std::string>{(home / "Old/steamapps/compatdata/2229890/pfx").string()});
}

}  // namespace
}  // namespace corvane
