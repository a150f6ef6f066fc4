// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Single-call INI profile access: each call reads the file afresh and, for a change, replaces
// it at once. The rules are those of IniDocument.h; these three are the program's names for them.
#pragma once

#include <string>

#include "IniDocument.h"

namespace corvane {

// The value of `key` in `section` of the file, cut to its first 254 bytes; `fallback` when the
// file, the section or the key is missing, or the file cannot be read. Never creates the file.
std::string ReadINIValue(const std::string& fileName, const std::string& section,
                         const std::string& key, const std::string& fallback);

// Sets `key` in `section` to `value`, creating the file or the section when missing. The old
// file stays whole when this fails; the status says why (a refused name or value included).
FileStatus WriteINIValue(const std::string& fileName, const std::string& section,
                         const std::string& key, const std::string& value);

// Removes the first entry `key` of `section`. Leaves the file alone (not even rewritten) when
// the file, the section or the key is missing.
FileStatus DeleteINIKey(const std::string& fileName, const std::string& section,
                        const std::string& key);

}  // namespace corvane
