// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The registry store on Linux: the registry files of the Wine prefixes the game may live in,
// searched in order, and the mapping of the Windows paths they hold to local paths. Built for
// POSIX systems only: Windows reads its own registry (Win32Registry.cpp).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Registry.h"

namespace corvane {

// Steam's id of the game: its Proton prefix is <library>/steamapps/compatdata/2229890/pfx.
inline constexpr std::string_view kGameSteamAppId = "2229890";

class WinePrefixRegistry final : public RegistryStore {
 public:
  // Finds the prefixes below `home` (the user's home folder) and `winePrefix` (the value of
  // WINEPREFIX, when set). Only folders that exist are kept, each once (by its real path), in
  // this order:
  //  1. `winePrefix`;
  //  2. <home>/.wine;
  //  3. <library>/steamapps/compatdata/2229890/pfx of each Steam library: the Steam folders
  //     <home>/.steam/steam, <home>/.local/share/Steam, Steam's Flatpak's
  //     <home>/.var/app/com.valvesoftware.Steam/.local/share/Steam and .../data/Steam, and
  //     Steam's Snap's <home>/snap/steam/common/.local/share/Steam; then the libraries that the
  //     steamapps/libraryfolders.vdf of those folders list, folder by folder, in the order
  //     listed;
  //  4. the Wine prefix of each Lutris game file (*.yml, *.yaml; see lutrisPrefixIn) in
  //     <home>/.config/lutris/games and <home>/.local/share/lutris/games, files in name order;
  //  5. each folder of <home>/.local/share/bottles/bottles and of
  //     <home>/.var/app/com.usebottles.bottles/data/bottles/bottles, in name order.
  // Reads only folder listings and the small Steam and Lutris files; no registry file is read
  // here. Reads nothing from the environment itself.
  WinePrefixRegistry(std::string home, std::optional<std::string> winePrefix);

  // The prefixes found, in the order they are searched.
  const std::vector<std::string>& prefixes() const { return prefixes_; }

  // Searches the prefixes in order: HKEY_LOCAL_MACHINE in system.reg, HKEY_CURRENT_USER in
  // user.reg; any other root has no keys. In each prefix the registry's views come in order: in
  // a prefix whose file says "#arch=win32" a key under Software is looked up where named;
  // otherwise Software\Wow6432Node\... comes first, then the key as named. Registry keys
  // outlive the programs they name, so a value found is taken only when it leads to the game:
  // the first value, in that order, whose text, with its leading blanks removed and mapped
  // through its prefix (localPathInPrefix), leads to an installed game (gameInstallAt of
  // Paths.h) answers at once, and no later file is read. When none does, the first value found
  // answers (start-up then finds no game there and asks). Every answer maps paths through the
  // prefix it came from. When no prefix holds the value as text: ValueMissing when some prefix
  // has the key, else KeyMissing.
  RegistryAnswer lookUp(RootKeyHandle root, const std::string& subKey,
                        const std::string& valueName) override;

  // The local path that the Windows path `windowsPath` ("C:\Westwood\Renegade\Renegade.exe")
  // stands for in `prefix`. The drive letter (either case) is resolved through the link
  // <prefix>/dosdevices/<letter>: ("c:" before "C:"); each further part, between '\' or '/',
  // is the entry of that folder of the same name without regard to letter case (see
  // childPathIgnoringCase: exact spelling first), or stays as written when there is none. Empty
  // parts are dropped, except that a trailing separator stays as a trailing '/'. Nothing when the
  // path does not start with a letter, ':' and a separator, or when the drive has no link to an
  // existing folder.
  static std::optional<std::string> localPathInPrefix(const std::string& prefix,
                                                      std::string_view windowsPath);

 private:
  std::vector<std::string> prefixes_;
};

}  // namespace corvane
