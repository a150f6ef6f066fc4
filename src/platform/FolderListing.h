// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Listing a folder in one pass, and the hidden names of that listing remembered while the folder
// stays unchanged, so that the map scan at start-up and a later save's search for stale temporary
// files share one listing of the Data folder. POSIX only (FolderListing_posix.cpp); on Windows
// the map scan lists through Qt and saves leave no temporaries to search for.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace corvane {

// One entry of a folder.
struct FolderEntry {
  std::string name;          // as the system spells it, without the folder
  bool regularFile = false;  // a regular file, or a symbolic link that leads to one
};

// The entries of `folder` ("" is the working folder) other than "." and "..", in the order the
// system lists them, the folder opened once and read to its end; only entries whose kind the
// listing does not give (symbolic links, file systems without entry types) cost one status call
// each. Nothing when the folder cannot be opened or read. Also remembers, for
// hiddenNamesOfUnchangedFolder(), the names beginning with '.' that it found.
std::optional<std::vector<FolderEntry>> listFolder(const std::string& folder);

// The names beginning with '.' that the last listFolder() of the folder at `folder` in this
// process found, when that folder has not changed since: the same folder (device and inode), its
// modification and status-change times as they were when it was listed. Nothing when it has
// changed, was never listed, or cannot be examined. A change made within the file system's
// timestamp resolution of the listing (a few milliseconds on Linux) can go unnoticed.
std::optional<std::vector<std::string>> hiddenNamesOfUnchangedFolder(const std::string& folder);

}  // namespace corvane
