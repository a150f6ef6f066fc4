// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The Wine prefix of a game installed by Lutris, read from the game's YAML file.
#include "LutrisGameFile.h"

#include <yaml-cpp/yaml.h>

#include <string_view>

namespace corvane {

std::optional<std::string> lutrisPrefixIn(const std::string& yamlText, const std::string& home) {
  std::string folder;
  try {
    const YAML::Node file = YAML::Load(yamlText);
    if (!file.IsMap()) return std::nullopt;
    const YAML::Node game = file["game"];
    if (!game.IsMap()) return std::nullopt;
    const YAML::Node prefix = game["prefix"];
    if (!prefix.IsScalar()) return std::nullopt;
    folder = prefix.Scalar();
  } catch (const YAML::Exception&) {
    return std::nullopt;  // not YAML, or damaged
  }
  if (folder.empty()) return std::nullopt;

  for (const std::string_view homeName : {"~", "$HOME", "${HOME}"}) {
    if (folder == homeName) return home;
    if (folder.size() > homeName.size() && folder.starts_with(homeName) &&
        folder[homeName.size()] == '/') {
      std::string rest = folder.substr(homeName.size());
      if (home.ends_with('/')) rest.erase(0, 1);
      return home + rest;
    }
  }
  return folder;
}

}  // namespace corvane
