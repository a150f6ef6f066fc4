// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Single-call INI profile access: one load, one edit and, when something changed, one save.
#include "IniProfile.h"

namespace corvane {
namespace {

// Longest value handed back: the Windows profile reader's buffer of 255 holds the final NUL.
constexpr std::size_t kMaxValueBytes = 254;

}  // namespace

std::string ReadINIValue(const std::string& fileName, const std::string& section,
                         const std::string& key, const std::string& fallback) {
  const IniDocument document = IniDocument::load(fileName);
  if (document.origin() != IniDocument::Origin::Read) return fallback;
  std::string value = document.value(section, key, fallback);
  if (value.size() > kMaxValueBytes) value.resize(kMaxValueBytes);
  return value;
}

FileStatus WriteINIValue(const std::string& fileName, const std::string& section,
                         const std::string& key, const std::string& value) {
  IniDocument document = IniDocument::load(fileName);
  if (document.origin() == IniDocument::Origin::Unreadable) return document.save(fileName);
  if (!document.setValue(section, key, value)) {
    return FileStatus::failure(
        "The section name, the key or the value cannot be written to an INI file.");
  }
  if (!document.modified() && document.origin() == IniDocument::Origin::Read) {
    return FileStatus::success();
  }
  return document.save(fileName);
}

FileStatus DeleteINIKey(const std::string& fileName, const std::string& section,
                        const std::string& key) {
  IniDocument document = IniDocument::load(fileName);
  if (document.origin() == IniDocument::Origin::Unreadable) return document.save(fileName);
  if (!document.removeKey(section, key)) return FileStatus::success();
  return document.save(fileName);
}

}  // namespace corvane
