// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The Wine prefix of a game installed by Lutris, read from the game's file (YAML, as Lutris
// writes it with PyYAML) under ~/.config/lutris/games or ~/.local/share/lutris/games.
#pragma once

#include <optional>
#include <string>

namespace corvane {

// The Wine prefix that the Lutris game file whose whole text is `yamlText` names: the text
// value of `prefix` in the file's `game` mapping, read by a YAML parser, so in any of YAML's
// forms (plain, single- or double-quoted with escapes such as "\xE9", folded onto further
// lines), and nowhere else (a "prefix:" line inside another value's text is that value's).
// A value that is "~", "$HOME" or "${HOME}", or starts with one of them and '/', has that part
// replaced by `home` (UTF-8 paths). Nothing when the text is not YAML, holds no such value, or
// the value is empty or not a text.
std::optional<std::string> lutrisPrefixIn(const std::string& yamlText, const std::string& home);

}  // namespace corvane
