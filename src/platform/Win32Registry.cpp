// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The registry store on Windows: the system registry itself, read through the ANSI functions.
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>

#include "Registry.h"

namespace corvane {

namespace {

// Converts text between two code pages (CP_ACP, CP_UTF8) through UTF-16.
std::string convertCodePage(const std::string& text, UINT from, UINT to) {
  if (text.empty()) return {};
  const int wideLength =
      MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (wideLength <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), wide.data(), wideLength);
  const int length =
      WideCharToMultiByte(to, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string converted(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(to, 0, wide.data(), wideLength, converted.data(), length, nullptr, nullptr);
  return converted;
}

HKEY predefinedKey(RootKeyHandle root) {
  switch (root) {
    case root_keys::kClassesRoot:
      return HKEY_CLASSES_ROOT;
    case root_keys::kCurrentUser:
      return HKEY_CURRENT_USER;
    case root_keys::kLocalMachine:
      return HKEY_LOCAL_MACHINE;
    case root_keys::kUsers:
      return HKEY_USERS;
    case root_keys::kPerformanceData:
      return HKEY_PERFORMANCE_DATA;
    case root_keys::kCurrentConfig:
      return HKEY_CURRENT_CONFIG;
    case root_keys::kDynData:
      return HKEY_DYN_DATA;
    default:
      return nullptr;
  }
}

class Win32RegistryStore final : public RegistryStore {
 public:
  // Opens the key for reading in the 32-bit view (where a 32-bit installer writes on 64-bit
  // Windows) and queries the value into a 255-byte buffer: a value that needs more, with its
  // NUL, cannot be read. Paths need no mapping here.
  RegistryAnswer lookUp(RootKeyHandle root, const std::string& subKey,
                        const std::string& valueName) override {
    const HKEY rootKey = predefinedKey(root);
    if (rootKey == nullptr) return RegistryAnswer::keyMissing();

    HKEY key = nullptr;
    const std::string ansiSubKey = convertCodePage(subKey, CP_UTF8, CP_ACP);
    if (RegOpenKeyExA(rootKey, ansiSubKey.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &key) !=
        ERROR_SUCCESS) {
      return RegistryAnswer::keyMissing();
    }

    char buffer[255];
    std::memset(buffer, ' ', sizeof buffer);
    DWORD size = sizeof buffer;
    DWORD type = 0;
    const std::string ansiValueName = convertCodePage(valueName, CP_UTF8, CP_ACP);
    const LONG status = RegQueryValueExA(key, ansiValueName.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return RegistryAnswer::valueMissing();

    // The value's text ends at its NUL (or at the end of what was written when it has none).
    const std::size_t written = size < sizeof buffer ? size : sizeof buffer;
    const void* nul = std::memchr(buffer, '\0', written);
    const std::size_t length =
        nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - buffer) : written;
    return RegistryAnswer::found(convertCodePage(std::string(buffer, length), CP_ACP, CP_UTF8));
  }
};

}  // namespace

std::unique_ptr<RegistryStore> openSystemRegistry() {
  return std::make_unique<Win32RegistryStore>();
}

}  // namespace corvane
