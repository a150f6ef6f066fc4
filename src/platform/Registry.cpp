// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Reading one text value of the system registry.
#include "Registry.h"

#include <array>
#include <string_view>
#include <utility>

#include "ProgramInfo.h"

namespace corvane {

namespace {

constexpr std::string_view kRequiredKeyPathStart = "HKEY_";
constexpr const char* kErrorResult = "Error";

// Characters of UTF-8 text: each one is a single byte in a single-byte ANSI code page.
std::size_t characterCount(std::string_view utf8) {
  std::size_t count = 0;
  for (const char byte : utf8) {
    if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80) ++count;
  }
  return count;
}

}  // namespace

RootKeyHandle GetRootKey(const std::string& rootName) {
  static constexpr std::array<std::pair<std::string_view, RootKeyHandle>, 7> kRootKeys{{
      {"HKEY_CLASSES_ROOT", root_keys::kClassesRoot},
      {"HKEY_CURRENT_USER", root_keys::kCurrentUser},
      {"HKEY_LOCAL_MACHINE", root_keys::kLocalMachine},
      {"HKEY_USERS", root_keys::kUsers},
      {"HKEY_PERFORMANCE_DATA", root_keys::kPerformanceData},
      {"HKEY_CURRENT_CONFIG", root_keys::kCurrentConfig},
      {"HKEY_DYN_DATA", root_keys::kDynData},
  }};
  for (const auto& [name, handle] : kRootKeys) {
    if (name == rootName) return handle;
  }
  return root_keys::kNone;
}

ParsedKeyPath ParseKeyPath(const std::string& keyPath, Shell& shell) {
  if (!keyPath.starts_with(kRequiredKeyPathStart) || keyPath.ends_with('\\')) {
    shell.showNotice(program::kName, "Incorrect Format:\n\n" + keyPath);
    return {};
  }
  const std::size_t firstBackslash = keyPath.find('\\');
  if (firstBackslash == std::string::npos) return {GetRootKey(keyPath), {}};
  return {GetRootKey(keyPath.substr(0, firstBackslash)), keyPath.substr(firstBackslash + 1)};
}

std::string ReadRegistryValue(RegistryStore& store, Shell& shell, const std::string& keyPath,
                              const std::string& valueName) {
  const ParsedKeyPath parsed = ParseKeyPath(keyPath, shell);
  if (parsed.root == root_keys::kNone) return {};

  RegistryAnswer answer = store.lookUp(parsed.root, parsed.subKey, valueName);
  if (answer.outcome != RegistryAnswer::Outcome::Found) return kErrorResult;
  if (characterCount(answer.text) > kLongestRegistryValue) return kErrorResult;

  std::string value = std::move(answer.text);
  value.erase(0, value.find_first_not_of(' '));
  if (value.empty() || !answer.toLocalPath) return value;

  std::optional<std::string> localPath = answer.toLocalPath(value);
  if (!localPath) return kErrorResult;
  return std::move(*localPath);
}

}  // namespace corvane
