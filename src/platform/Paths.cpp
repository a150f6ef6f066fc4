// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Path tests and path text helpers.
#include "Paths.h"

#include <optional>
#include <system_error>

#include "CaseFolding.h"

namespace corvane {

namespace {

bool entryExists(const std::string& path) {
  if (path.empty()) return false;
  std::error_code error;
  return std::filesystem::exists(pathFromUtf8(path), error);
}

std::string joinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == kPathSeparator) return folder + name;
  return folder + kPathSeparator + name;
}

// `name` with the letter case of each ASCII letter turned round: "Data" gives "dATA".
std::string withAsciiCaseTurned(std::string name) {
  for (char& c : name) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    } else if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    }
  }
  return name;
}

// True when `folder` surely holds an entry spelled exactly `name`, found without listing the
// folder: an entry of that name exists while none of the name with every ASCII letter's case
// turned round does, so the file system tells the two spellings apart there and the entry found
// is the one spelled exactly. False when unsure: the name has no ASCII letter, both spellings
// lead to an entry (a file system that ignores letter case), or an entry cannot be examined.
bool spelledExactlyInCaseSensitiveFolder(const std::string& folder, const std::string& name) {
  const std::string turned = withAsciiCaseTurned(name);
  if (turned == name) return false;
  std::error_code error;
  if (!std::filesystem::exists(
          std::filesystem::symlink_status(pathFromUtf8(joinPath(folder, name)), error))) {
    return false;
  }
  const std::filesystem::file_status turnedStatus =
      std::filesystem::symlink_status(pathFromUtf8(joinPath(folder, turned)), error);
  return turnedStatus.type() == std::filesystem::file_type::not_found;
}

}  // namespace

bool FileExists(const std::string& path) {
  return entryExists(path);
}

bool DirectoryExists(const std::string& path) {
  return entryExists(path);
}

std::string GetDirectory(const std::string& path) {
  const std::size_t lastSeparator = path.rfind(kPathSeparator);
  if (lastSeparator == std::string::npos) return {};
  return path.substr(0, lastSeparator);
}

std::string childPathIgnoringCase(const std::string& folder, const std::string& name) {
  if (spelledExactlyInCaseSensitiveFolder(folder, name)) return joinPath(folder, name);
  std::optional<std::string> bestMatch;
  std::error_code error;
  std::filesystem::directory_iterator entries(
      pathFromUtf8(folder), std::filesystem::directory_options::skip_permission_denied, error);
  for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
    const std::string entryName = utf8FromPath(entries->path().filename());
    if (entryName == name) return joinPath(folder, entryName);
    if (equalIgnoringCase(entryName, name) && (!bestMatch || entryName < *bestMatch)) {
      bestMatch = entryName;
    }
  }
  return joinPath(folder, bestMatch.value_or(name));
}

GameInstall gameInstallAt(const std::string& gameExePath) {
  GameInstall install;
  if (!FileExists(gameExePath)) return install;
  install.installFolder = GetDirectory(gameExePath);
  if (install.installFolder.empty()) return install;
  install.dataFolder = childPathIgnoringCase(install.installFolder, "Data");
  install.found = DirectoryExists(install.dataFolder);
  return install;
}

std::filesystem::path pathFromUtf8(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8FromPath(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return std::string(utf8.begin(), utf8.end());
}

}  // namespace corvane
