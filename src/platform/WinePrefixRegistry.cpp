// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The registry store on Linux: the registry files of the Wine prefixes, searched in order for
// a value that leads to the game.
#include "WinePrefixRegistry.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <system_error>
#include <utility>

#include "LutrisGameFile.h"
#include "Paths.h"
#include "WineRegistryFile.h"

namespace corvane {

namespace fs = std::filesystem;

namespace {

// Steam's and Lutris' files are a few kilobytes; anything far larger is not one of them.
constexpr std::uintmax_t kLargestSmallFileBytes = 4u * 1024u * 1024u;

char asciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
char asciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool equalIgnoringAsciiCase(std::string_view left, std::string_view right) {
  return left.size() == right.size() &&
         std::equal(left.begin(), left.end(), right.begin(),
                    [](char a, char b) { return asciiLower(a) == asciiLower(b); });
}

std::optional<std::string> readSmallTextFile(const fs::path& path) {
  std::error_code error;
  if (!fs::is_regular_file(path, error)) return std::nullopt;
  const std::uintmax_t size = fs::file_size(path, error);
  if (error || size > kLargestSmallFileBytes) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

template <typename Visit>
void forEachLine(std::string_view text, Visit visit) {
  while (!text.empty()) {
    const std::size_t newline = text.find('\n');
    visit(text.substr(0, newline));
    if (newline == std::string_view::npos) break;
    text.remove_prefix(newline + 1);
  }
}

// The entries of `folder` in byte order of their names; none when it cannot be listed.
std::vector<fs::path> sortedEntries(const fs::path& folder) {
  std::vector<fs::path> entries;
  std::error_code error;
  fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    entries.push_back(it->path());
  }
  std::sort(entries.begin(), entries.end(), [](const fs::path& a, const fs::path& b) {
    return a.filename().native() < b.filename().native();
  });
  return entries;
}

// Folders that exist, each once by its real path, in the order added.
class DistinctFolders {
 public:
  void add(const fs::path& folder) {
    std::error_code error;
    if (!fs::is_directory(folder, error)) return;
    const fs::path realPath = fs::canonical(folder, error);
    if (error) return;
    if (realPaths_.insert(realPath.native()).second) folders_.push_back(folder);
  }
  const std::vector<fs::path>& folders() const { return folders_; }

 private:
  std::set<fs::path::string_type> realPaths_;
  std::vector<fs::path> folders_;
};

// The quoted tokens of one line of a Steam .vdf file ("path"  "/mnt/games/SteamLibrary").
std::vector<std::string> vdfTokens(std::string_view line) {
  std::vector<std::string> tokens;
  std::size_t pos = 0;
  while ((pos = line.find('"', pos)) != std::string_view::npos) {
    std::string token;
    ++pos;
    bool closed = false;
    while (pos < line.size()) {
      char c = line[pos++];
      if (c == '"') {
        closed = true;
        break;
      }
      if (c == '\\' && pos < line.size()) c = line[pos++];
      token += c;
    }
    if (!closed) break;
    tokens.push_back(std::move(token));
  }
  return tokens;
}

bool allDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The libraries a libraryfolders.vdf lists: `"path" "<folder>"` lines, and the
// `"<number>" "<folder>"` lines of the file's older form.
std::vector<fs::path> librariesListedIn(const fs::path& libraryFoldersFile) {
  std::vector<fs::path> libraries;
  const std::optional<std::string> text = readSmallTextFile(libraryFoldersFile);
  if (!text) return libraries;
  forEachLine(*text, [&](std::string_view line) {
    const std::vector<std::string> tokens = vdfTokens(line);
    if (tokens.size() != 2 || tokens[1].empty()) return;
    const bool isPathEntry = equalIgnoringAsciiCase(tokens[0], "path");
    const bool isOldStyleEntry = allDigits(tokens[0]) && tokens[1].front() == '/';
    if (isPathEntry || isOldStyleEntry) libraries.push_back(pathFromUtf8(tokens[1]));
  });
  return libraries;
}

bool isLutrisGameFile(const fs::path& path) {
  const fs::path::string_type extension = path.extension().native();
  return extension == fs::path(".yml").native() || extension == fs::path(".yaml").native();
}

std::vector<fs::path> findPrefixes(const std::string& home,
                                   const std::optional<std::string>& winePrefix) {
  DistinctFolders prefixes;
  if (winePrefix && !winePrefix->empty()) prefixes.add(pathFromUtf8(*winePrefix));
  if (home.empty()) return prefixes.folders();
  const fs::path homeFolder = pathFromUtf8(home);

  prefixes.add(homeFolder / ".wine");

  DistinctFolders steamRoots;
  steamRoots.add(homeFolder / ".steam" / "steam");
  steamRoots.add(homeFolder / ".local" / "share" / "Steam");
  const fs::path steamFlatpak = homeFolder / ".var" / "app" / "com.valvesoftware.Steam";
  steamRoots.add(steamFlatpak / ".local" / "share" / "Steam");
  steamRoots.add(steamFlatpak / "data" / "Steam");
  steamRoots.add(homeFolder / "snap" / "steam" / "common" / ".local" / "share" / "Steam");
  DistinctFolders steamLibraries;
  for (const fs::path& root : steamRoots.folders()) steamLibraries.add(root);
  for (const fs::path& root : steamRoots.folders()) {
    for (const fs::path& library : librariesListedIn(root / "steamapps" / "libraryfolders.vdf")) {
      steamLibraries.add(library);
    }
  }
  for (const fs::path& library : steamLibraries.folders()) {
    prefixes.add(library / "steamapps" / "compatdata" / pathFromUtf8(std::string(kGameSteamAppId)) /
                 "pfx");
  }

  for (const fs::path& gamesFolder : {homeFolder / ".config" / "lutris" / "games",
                                      homeFolder / ".local" / "share" / "lutris" / "games"}) {
    for (const fs::path& gameFile : sortedEntries(gamesFolder)) {
      if (!isLutrisGameFile(gameFile)) continue;
      const std::optional<std::string> text = readSmallTextFile(gameFile);
      if (!text) continue;
      if (const std::optional<std::string> prefix = lutrisPrefixIn(*text, home)) {
        prefixes.add(pathFromUtf8(*prefix));
      }
    }
  }

  for (const fs::path& bottlesFolder :
       {homeFolder / ".local" / "share" / "bottles" / "bottles",
        homeFolder / ".var" / "app" / "com.usebottles.bottles" / "data" / "bottles" / "bottles"}) {
    for (const fs::path& bottle : sortedEntries(bottlesFolder)) prefixes.add(bottle);
  }
  return prefixes.folders();
}

// The keys to try for `subKey`, best first: a key under Software is looked for under
// Software\Wow6432Node first unless the file is of a 32-bit prefix.
std::vector<std::string> candidateKeyPaths(const std::string& subKey,
                                           WineArchitecture architecture) {
  if (architecture == WineArchitecture::Win32) return {subKey};
  const std::size_t firstBackslash = subKey.find('\\');
  const std::string_view firstPart = std::string_view(subKey).substr(0, firstBackslash);
  if (!equalIgnoringAsciiCase(firstPart, "Software")) return {subKey};
  if (firstBackslash == std::string::npos) return {subKey + "\\Wow6432Node", subKey};
  const std::string_view rest = std::string_view(subKey).substr(firstBackslash + 1);
  if (equalIgnoringAsciiCase(rest.substr(0, rest.find('\\')), "Wow6432Node")) return {subKey};
  return {std::string(firstPart) + "\\Wow6432Node\\" + std::string(rest), subKey};
}

bool isWindowsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool isAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The folder that the drive `letter` of `prefix` links to, by its real path.
std::optional<std::string> driveFolder(const std::string& prefix, char letter) {
  const fs::path devices = pathFromUtf8(prefix) / "dosdevices";
  for (const char spelling : {asciiLower(letter), asciiUpper(letter)}) {
    std::error_code error;
    const fs::path target = fs::canonical(devices / std::string{spelling, ':'}, error);
    if (!error && fs::is_directory(target, error)) return utf8FromPath(target);
  }
  return std::nullopt;
}

// True when the value of `answer`, read as ReadRegistryValue reads it (leading blanks
// removed) and mapped to a local path, leads to an installed game (gameInstallAt).
bool leadsToGame(const RegistryAnswer& answer) {
  const std::size_t start = answer.text.find_first_not_of(' ');
  if (start == std::string::npos) return false;
  const std::optional<std::string> localPath = answer.toLocalPath(answer.text.substr(start));
  return localPath && gameInstallAt(*localPath).found;
}

}  // namespace

WinePrefixRegistry::WinePrefixRegistry(std::string home, std::optional<std::string> winePrefix) {
  for (const fs::path& prefix : findPrefixes(home, winePrefix)) {
    prefixes_.push_back(utf8FromPath(prefix));
  }
}

RegistryAnswer WinePrefixRegistry::lookUp(RootKeyHandle root, const std::string& subKey,
                                          const std::string& valueName) {
  const char* fileName = nullptr;
  if (root == root_keys::kLocalMachine) fileName = "system.reg";
  if (root == root_keys::kCurrentUser) fileName = "user.reg";
  if (fileName == nullptr) return RegistryAnswer::keyMissing();

  std::optional<RegistryAnswer> firstFound;
  bool anyKeyFound = false;
  for (const std::string& prefix : prefixes_) {
    const WineRegistryFile file =
        WineRegistryFile::load(utf8FromPath(pathFromUtf8(prefix) / fileName));
    for (WineValueLookup& lookup :
         file.findValueInEachKey(candidateKeyPaths(subKey, file.architecture()), valueName)) {
      if (lookup.outcome == WineValueLookup::Outcome::ValueMissing) anyKeyFound = true;
      if (lookup.outcome != WineValueLookup::Outcome::Found) continue;
      RegistryAnswer answer = RegistryAnswer::found(std::move(lookup.text));
      answer.toLocalPath = [prefix](const std::string& windowsPath) {
        return localPathInPrefix(prefix, windowsPath);
      };
      if (leadsToGame(answer)) return answer;
      if (!firstFound) firstFound = std::move(answer);
    }
  }
  if (firstFound) return std::move(*firstFound);
  return anyKeyFound ? RegistryAnswer::valueMissing() : RegistryAnswer::keyMissing();
}

std::optional<std::string> WinePrefixRegistry::localPathInPrefix(const std::string& prefix,
                                                                 std::string_view windowsPath) {
  if (windowsPath.size() < 3 || !isAsciiLetter(windowsPath[0]) || windowsPath[1] != ':' ||
      !isWindowsSeparator(windowsPath[2])) {
    return std::nullopt;
  }
  std::optional<std::string> localPath = driveFolder(prefix, windowsPath[0]);
  if (!localPath) return std::nullopt;

  std::string_view rest = windowsPath.substr(3);
  while (!rest.empty()) {
    std::size_t partLength = 0;
    while (partLength < rest.size() && !isWindowsSeparator(rest[partLength])) ++partLength;
    if (partLength > 0) {
      *localPath = childPathIgnoringCase(*localPath, std::string(rest.substr(0, partLength)));
    }
    rest.remove_prefix(std::min(rest.size(), partLength + 1));
  }
  if (isWindowsSeparator(windowsPath.back()) && !localPath->ends_with('/')) *localPath += '/';
  return localPath;
}

std::unique_ptr<RegistryStore> openSystemRegistry() {
  const char* home = std::getenv("HOME");
  const char* winePrefix = std::getenv("WINEPREFIX");
  std::optional<std::string> prefix;
  if (winePrefix != nullptr && *winePrefix != '\0') prefix = winePrefix;
  return std::make_unique<WinePrefixRegistry>(home != nullptr ? home : "", std::move(prefix));
}

}  // namespace corvane
