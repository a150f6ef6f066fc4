// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The temporary files' names.
#include "TemporaryNames.h"

#include <charconv>

namespace corvane {

std::string temporaryPrefixOf(std::string_view fileName) {
  std::string prefix = ".";
  prefix += fileName;
  prefix += ".corvane-";
  return prefix;
}

std::uint64_t creatorOfTemporary(std::string_view name, std::string_view prefix) {
  if (!name.starts_with(prefix)) return 0;
  name.remove_prefix(prefix.size());
  const std::size_t dash = name.find('-');
  if (dash == 0 || dash == std::string_view::npos || dash + 1 == name.size()) return 0;
  std::uint64_t id = 0;
  const auto [end, error] = std::from_chars(name.data(), name.data() + dash, id);
  if (error != std::errc() || end != name.data() + dash) return 0;
  return id;
}

}  // namespace corvane
