// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A registry store answering from a table of keys and values.
#pragma once

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>

#include "Registry.h"

namespace corvane::testing {

inline const std::string kGameSubKey = "Software\\Westwood\\Renegade";

class TableRegistry final : public RegistryStore {
 public:
  // The game's install path, where its installer leaves it.
  static TableRegistry withInstallPath(const std::string& path) {
    TableRegistry registry;
    registry.keys_.insert({root_keys::kLocalMachine, kGameSubKey});
    registry.values_[{root_keys::kLocalMachine, kGameSubKey, "InstallPath"}] = path;
    return registry;
  }

  RegistryAnswer lookUp(RootKeyHandle root, const std::string& subKey,
                        const std::string& name) override {
    if (!keys_.contains({root, subKey})) return RegistryAnswer::keyMissing();
    const auto found = values_.find({root, subKey, name});
    return found == values_.end() ? RegistryAnswer::valueMissing()
                                  : RegistryAnswer::found(found->second);
  }

 private:
  std::set<std::pair<RootKeyHandle, std::string>> keys_;
  std::map<std::tuple<RootKeyHandle, std::string, std::string>, std::string> values_;
};

}  // namespace corvane::testing
