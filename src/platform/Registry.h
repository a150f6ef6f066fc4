// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Reading one text value of the system registry: the key-path parser, the store a registry
// backend implements, and `ReadRegistryValue`, which start-up uses to find the game.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "Shell.h"

namespace corvane {

// A predefined root key, by the registry's own handle number; 0 stands for no root.
using RootKeyHandle = std::uint32_t;

namespace root_keys {
inline constexpr RootKeyHandle kNone = 0;
inline constexpr RootKeyHandle kClassesRoot = 0x80000000;
inline constexpr RootKeyHandle kCurrentUser = 0x80000001;
inline constexpr RootKeyHandle kLocalMachine = 0x80000002;
inline constexpr RootKeyHandle kUsers = 0x80000003;
inline constexpr RootKeyHandle kPerformanceData = 0x80000004;
inline constexpr RootKeyHandle kCurrentConfig = 0x80000005;
inline constexpr RootKeyHandle kDynData = 0x80000006;
}  // namespace root_keys

// A value longer than this many characters does not fit the reader's 255-byte buffer together
// with its terminating NUL, and reads as "Error".
inline constexpr std::size_t kLongestRegistryValue = 254;

// The handle of the root key named `rootName`: "HKEY_CLASSES_ROOT" 0x80000000,
// "HKEY_CURRENT_USER" 0x80000001, "HKEY_LOCAL_MACHINE" 0x80000002, "HKEY_USERS" 0x80000003,
// "HKEY_PERFORMANCE_DATA" 0x80000004, "HKEY_CURRENT_CONFIG" 0x80000005, "HKEY_DYN_DATA"
// 0x80000006. Names compare exactly, letter case included; any other name gives 0.
RootKeyHandle GetRootKey(const std::string& rootName);

// A key path split into its root key and the path of the key below it.
struct ParsedKeyPath {
  RootKeyHandle root = root_keys::kNone;  // 0 when no root is determined
  std::string subKey;                     // "" for the root key itself
};

// Splits `keyPath` ("HKEY_LOCAL_MACHINE\Software\Westwood\Renegade") at its first backslash:
// the root is GetRootKey of the text before it, the sub-key the text after it. A path without
// a backslash names a root key itself (empty sub-key).
// A path that does not start with exactly "HKEY_" (the empty path included) or that ends in a
// backslash is malformed: `shell` shows the notice "Incorrect Format:\n\n" + keyPath titled
// "Corvane", and the result has root 0. A well-formed path with an unknown root name shows
// nothing and also has root 0.
ParsedKeyPath ParseKeyPath(const std::string& keyPath, Shell& shell);

// What a registry backend answers when asked for one value.
struct RegistryAnswer {
  enum class Outcome {
    KeyMissing,    // the key does not exist or cannot be opened for reading
    ValueMissing,  // the key exists but holds no such value, or the value cannot be read as text
    Found,         // `text` holds the value
  };
  Outcome outcome = Outcome::KeyMissing;

  // The value's text in UTF-8, as stored (no blanks removed). Empty unless Found.
  std::string text;

  // Set by a backend whose values name Windows paths that are not local paths as they stand
  // (a Wine prefix): turns such a path into the local path it stands for, or gives nothing
  // when it cannot. Empty when paths need no mapping.
  std::function<std::optional<std::string>(const std::string& windowsPath)> toLocalPath;

  static RegistryAnswer keyMissing() { return {}; }
  static RegistryAnswer valueMissing() { return {Outcome::ValueMissing, {}, {}}; }
  static RegistryAnswer found(std::string text) { return {Outcome::Found, std::move(text), {}}; }
};

// A registry backend: the Windows registry itself, or the registry files of Wine prefixes.
class RegistryStore {
 public:
  virtual ~RegistryStore() = default;

  // The value `valueName` ("" for the key's default value) of the key `subKey` below `root`.
  // `subKey` uses backslashes between its parts and is "" for the root key itself. Key and
  // value names compare as the backend's registry compares them (without regard to case).
  virtual RegistryAnswer lookUp(RootKeyHandle root, const std::string& subKey,
                                const std::string& valueName) = 0;
};

// Reads the text value `valueName` of the key `keyPath` (see ParseKeyPath) from `store`.
// Returns exactly one of:
//  - "" when the key path is malformed (the notice is shown through `shell`) or names an unknown
//    root; the store is not asked;
//  - "Error" when the key or the value is missing or unreadable, when the value has 255
//    characters or more (it would not fit 255 bytes with its NUL in the Windows ANSI code page),
//    or when the store maps paths and cannot map this one;
//  - otherwise the value with its leading spaces removed and its trailing spaces kept (other
//    white space stays), mapped to a local path when the store maps paths. An empty value, or
//    one of spaces only, reads "" (there is nothing to map).
std::string ReadRegistryValue(RegistryStore& store, Shell& shell, const std::string& keyPath,
                              const std::string& valueName);

// The store of the system this program runs on: the Windows registry on Windows; elsewhere the
// registry files of the Wine prefixes found from the environment (HOME and WINEPREFIX), see
// WinePrefixRegistry. Never null.
std::unique_ptr<RegistryStore> openSystemRegistry();

}  // namespace corvane
