// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Names compared without regard to letter case the way Windows and Wine compare file names:
// by Unicode's simple case folding, not by ASCII letters alone.
#pragma once

#include <string_view>

namespace corvane {

// The simple case folding of `codePoint` (Unicode's CaseFolding.txt, statuses C and S): "A"
// gives "a", "Ä" gives "ä", "Σ" and "ς" give "σ", "Ж" gives "ж", "ẞ" gives "ß", "µ" (micro sign)
// gives "μ". Covered are Basic Latin through Cyrillic Supplement (U+0000 to U+052F) and Latin
// Extended Additional and Greek Extended (U+1E00 to U+1FFF); every other code point, and every
// one there without a folding (like "İ" and "ı", whose folding is Turkic only), is its own
// folding. One code point always folds to one: "ß" does not turn into "ss".
char32_t simpleCaseFold(char32_t codePoint);

// True when the UTF-8 texts `left` and `right` are equal once every character is replaced by
// its simple case folding. Bytes that are not valid UTF-8 compare only with the same bytes.
// No normalisation: "ä" as one character and as "a" with a combining diaeresis differ, as they
// do for Windows.
bool equalIgnoringCase(std::string_view left, std::string_view right);

}  // namespace corvane
