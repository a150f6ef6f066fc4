// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Path tests and path text helpers that start-up uses to find the game's installation.
// Paths are UTF-8 text. None of these functions throws for file-system reasons.
#pragma once

#include <filesystem>
#include <string>

namespace corvane {

// The separator between the folders of a path: '\' on Windows, '/' elsewhere.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// True when a file or a folder exists at `path` (relative paths start at the working folder;
// symbolic links are followed). False for "", a missing path, and a path that cannot be
// examined.
bool FileExists(const std::string& path);

// True when a folder exists at `path`, and also when a file of that path exists; false for "",
// a missing path and a path that cannot be examined. Wildcard characters are ordinary
// characters here.
bool DirectoryExists(const std::string& path);

// The text before the last kPathSeparator of `path`; "" when there is none.
// "/games/Renegade/Renegade.exe" gives "/games/Renegade", "/games/Renegade/" gives
// "/games/Renegade", "/Renegade.exe" gives "", "Renegade.exe" gives "".
std::string GetDirectory(const std::string& path);

// The path of the entry of `folder` whose name equals `name` without regard to letter case, as
// Windows compares names (equalIgnoringCase of CaseFolding.h: "RENEGÄDE" matches "Renegäde"):
// the entry spelled exactly `name` when there is one, otherwise the first matching entry in byte
// order of the names. When `folder` holds no such entry (or cannot be listed), `name`
// as given. The result is `folder`, kPathSeparator and the name (no separator is doubled when
// `folder` already ends in one). Where the file system tells letter case apart and the entry
// spelled exactly `name` exists, two status calls find it and the folder is not listed.
std::string childPathIgnoringCase(const std::string& folder, const std::string& name);

// What the game's install path, a local path of its program (Renegade.exe) as the registry
// names it, leads to.
struct GameInstall {
  std::string installFolder;  // the program's folder; "" when the path leads nowhere
  std::string dataFolder;     // the Data folder in it, named without regard to letter case
  bool found = false;         // a game is installed there
};

// The one rule of whether `gameExePath` leads to an installed game: something exists at the
// path (FileExists), the path has a folder part (a bare name that happens to exist is no
// installation), and that folder holds `Data` in any letter case (childPathIgnoringCase, then
// DirectoryExists). `installFolder` is set whenever the first two hold, `dataFolder` with it.
// Both the registry store that picks among several install paths and start-up ask it.
GameInstall gameInstallAt(const std::string& gameExePath);

// A file-system path from UTF-8 text, and back.
std::filesystem::path pathFromUtf8(const std::string& utf8);
std::string utf8FromPath(const std::filesystem::path& path);

}  // namespace corvane
