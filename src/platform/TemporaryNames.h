// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The names of the temporary files a save writes before it renames them over the file, on every
// platform: ".<file name>.corvane-<process id>-<random part>", hidden where a leading '.' hides,
// and telling which process made them, so that a later save can remove those of ended ones.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

// The start of the temporary names for the file named `fileName`, up to and including
// "corvane-": the process id and "-" follow.
std::string temporaryPrefixOf(std::string_view fileName);

// The process id in `name`, a temporary name that starts with `prefix`; 0 when `name` is not such
// a name (the id must be decimal and above 0, followed by '-' and a non-empty random part).
std::uint64_t creatorOfTemporary(std::string_view name, std::string_view prefix);

}  // namespace corvane
