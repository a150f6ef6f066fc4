// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the game's install path: ReadRegistryValue's key paths and results against a table
// store; and the Wine registry file format with its escapes, value kinds and damaged files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RecordingShell.h"
#include "Registry.h"
#include "Rows.h"
#include "TableRegistry.h"
#include "WineRegistryFile.h"

namespace corvane {
namespace {

using testing::kGameSubKey;
using testing::RowName;
using Outcome = WineValueLookup::Outcome;

// --- ReadRegistryValue ----------------------------------------------------------------------

struct ReadRow {
  const char* name;
  std::string keyPath;
  std::string stored;  // InstallPath of the game's key
  std::string expected;
  bool notice = false;  // the "Incorrect Format" notice is shown
};

class ReadRegistryValueTest : public ::testing::TestWithParam<ReadRow> {};

TEST_P(ReadRegistryValueTest, GivesTheValueErrorOrNothing) {
  const ReadRow& row = GetParam();
  testing::TableRegistry store = testing::TableRegistry::withInstallPath(row.stored);
  testing::RecordingShell shell;
  EXPECT_EQ(ReadRegistryValue(store, shell, row.keyPath, "InstallPath"), row.expected);
  const std::vector<std::string> notices = {"Corvane: Incorrect Format:\n\n" + row.keyPath};
  EXPECT_EQ(shell.notices, row.notice ? notices : std::vector<std::string>{});
}

const std::string kKey = "HKEY_LOCAL_MACHINE\\" + kGameSubKey;

std::string repeated(const std::string& unit, int count) {
  return count > 0 ? unit + repeated(unit, count - 1) : "";
}
const std::string kExe = "C:\\Westwood\\Renegade\\Renegade.exe";

INSTANTIATE_TEST_SUITE_P(
    Registry, ReadRegistryValueTest,
    ::testing::Values(ReadRow{"UnknownRootAfterTheRightStartIsQuiet",
                              "HKEY_local_machine\\" + kGameSubKey, kExe, ""},
                      ReadRow{"TrailingBackslashIsMalformed", kKey + "\\", kExe, "", true},
                      ReadRow{"LeadingBlanksRemoved", kKey, "   " + kExe, kExe},
                      ReadRow{"254NonAsciiCharactersReadWhole", kKey, repeated("\xC3\xBC", 254),
                              repeated("\xC3\xBC", 254)},
                      ReadRow{"255NonAsciiCharactersReadError", kKey, repeated("\xC3\xBC", 255),
                              "Error"}),
    RowName());

// --- the Wine registry file -----------------------------------------------------------------

const std::string kHeader =
    "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n"
    "#arch=win32\n\n";
const std::string kGameKeyLine =
    "[Software\\\\Westwood\\\\Renegade] 1796584329\n#time=1dd85b5b0c07266\n";

struct LookupRow {
  const char* name;
  std::string lines;  // after the header and the game's key line
  std::string text;
};

class WineRegistryLookup : public ::testing::TestWithParam<LookupRow> {};

TEST_P(WineRegistryLookup, FindsWhatTheFileHolds) {
  const LookupRow& row = GetParam();
  const WineValueLookup lookup = WineRegistryFile::fromText(kHeader + kGameKeyLine + row.lines)
                                     .findValue(kGameSubKey, "InstallPath");
  EXPECT_EQ(lookup.outcome, Outcome::Found);
  EXPECT_EQ(lookup.text, row.text);
}

INSTANTIATE_TEST_SUITE_P(
    Registry, WineRegistryLookup,
    ::testing::Values(
        LookupRow{"NamesIgnoreCaseBlanksInsideKept", "\"installpath\"=\"  C:\\\\x  \"\n",
                  "  C:\\x  "},
        LookupRow{"EscapedQuoteBackslashAndControls", "\"InstallPath\"=\"a\\\"b\\\\c\\t\\e\"\n",
                  "a\"b\\c\t\x1B"},
        LookupRow{"HexEscapeOfAtMostFourDigits", "\"InstallPath\"=\"M\\xfcller\\x00e41\"\n",
                  "M\xC3\xBCller\xC3\xA4"
                  "1"},
        LookupRow{"ValueEndsAtNul", "\"InstallPath\"=\"C:\\\\x\\0junk\"\n", "C:\\x"},
        LookupRow{"Hex1StringWithoutItsNul",
                  "\"InstallPath\"=hex(1):43,00,3a,00,5c,00,78,00,2e,00,65,00,78,00,65,00\n",
                  "C:\\x.exe"}),
    RowName());

}  // namespace
}  // namespace corvane
