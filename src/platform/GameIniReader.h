// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// How the game itself reads its settings file: a stricter reader than the profile functions.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace corvane {

// The entries of section `section` of the file `bytes` as the game reads them, key -> value.
// The game's rules:
//  - A line ends at LF; every CR is dropped (so a file with CR-only line endings is one line);
//    bytes after the 511th of a line are dropped; blanks around the line are trimmed.
//  - Text before the first header line is skipped; when the first header line is also the last
//    line of the file (no LF after it), the game reads nothing.
//  - A header line starts with '[' and holds a ']'; the name is between them, blanks trimmed.
//    A UTF-8 byte-order mark before it therefore hides it.
//  - ';' anywhere in a line starts a comment, inside a value too. Then a line is an entry when it
//    holds '=' with a key before it and a value after it (blanks around both trimmed); lines
//    without '=', with an empty key or an empty value are ignored. Quotation marks stay.
//  - Section and key names match byte for byte, letter case included. Of two sections of one
//    name the first is read; of two entries of one key in it, the first.
// A missing section gives no entries.
std::map<std::string, std::string, std::less<>> readSectionAsTheGame(std::string_view bytes,
                                                                     std::string_view section);

}  // namespace corvane
