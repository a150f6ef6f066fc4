// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the game before the window exists: the install path the registry names, the folders
// of that installation and the map files of its Data folder. The look runs on a thread of its
// own, begun before the application connects to the display, so that it is done, or nearly,
// when the window's start-up asks for it.
#pragma once

#include <QString>
#include <QStringList>

#include <thread>

namespace corvane {

class RegistryStore;

// The installation whose program is `gameExePath`.
struct GameFolders {
  QString installFolder;  // the program's folder
  QString dataFolder;     // the Data folder in it, named without regard to letter case
  bool found = false;     // the program is a file in a folder, and that folder holds Data
};

// The folders of the installation whose program is `gameExePath`; `found` is false, and the
// folders those known so far, when the program is not an existing file, has no folder part, or
// its folder holds no Data folder.
GameFolders gameFoldersOf(const QString& gameExePath);

// What the look found.
struct GameLook {
  QString installPath;   // the registry's InstallPath value, as ReadRegistryValue reads it
  GameFolders folders;   // gameFoldersOf(installPath)
  QStringList mixFiles;  // mixFilesIn(folders.dataFolder) when found, else empty
};

class GameLookAhead {
 public:
  // Begins the look in `registry`, which must outlive this object, on a thread of its own.
  explicit GameLookAhead(RegistryStore& registry);
  // Waits for the look to end.
  ~GameLookAhead();

  GameLookAhead(const GameLookAhead&) = delete;
  GameLookAhead& operator=(const GameLookAhead&) = delete;

  // What the look found; waits for it to end.
  const GameLook& result();

 private:
  GameLook look_;
  std::thread thread_;
};

}  // namespace corvane
