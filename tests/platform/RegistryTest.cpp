// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the game's install path: ReadRegistryValue's key paths and results against a table
// store and, on Windows, against the system registry itself; and the Wine registry file format
// with its escapes, value kinds and damaged files.
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "RecordingShell.h"
#include "Registry.h"
#include "Rows.h"
#include "TableRegistry.h"
#include "TempFolder.h"
#include "WineRegistryFile.h"

namespace corvane {
namespace {

using namespace std::string_literals;
using testing::kGameSubKey;
using testing::RowName;
using Outcome = WineValueLookup::Outcome;

// --- ReadRegistryValue ----------------------------------------------------------------------

struct ReadRow {
  const char* name;
  std::string keyPath;
  std::optional<std::string> stored;  // InstallPath of the game's key; nothing for no value
  std::string expected;
  bool notice = false;  // the "Incorrect Format" notice is shown
};

class ReadRegistryValueTest : public ::testing::TestWithParam<ReadRow> {};

TEST_P(ReadRegistryValueTest, GivesTheValueErrorOrNothing) {
  const ReadRow& row = GetParam();
  testing::TableRegistry store;
  store.key(root_keys::kLocalMachine, kGameSubKey);
  if (row.stored) store.value(root_keys::kLocalMachine, kGameSubKey, "InstallPath", *row.stored);
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
    ::testing::Values(
        ReadRow{"ValueOfTheKey", kKey, kExe, kExe},
        ReadRow{"MissingKey", "HKEY_LOCAL_MACHINE\\Software\\Westwood\\Other", kExe, "Error"},
        ReadRow{"MissingValue", kKey, std::nullopt, "Error"},
        ReadRow{"UnknownRootAfterTheRightStartIsQuiet", "HKEY_local_machine\\" + kGameSubKey, kExe,
                ""},
        ReadRow{"LowerCaseStartIsMalformed", "hkey_local_machine\\" + kGameSubKey, kExe, "", true},
        ReadRow{"TrailingBackslashIsMalformed", kKey + "\\", kExe, "", true},
        ReadRow{"LeadingBlanksRemoved", kKey, "   " + kExe, kExe},
        ReadRow{"TrailingBlanksAndTabsKept", kKey, "\t" + kExe + " ", "\t" + kExe + " "},
        ReadRow{"255CharactersReadError", kKey, std::string(255, 'x'), "Error"},
        ReadRow{"BlanksCountTowardsTheLength", kKey, std::string(251, ' ') + "C:\\x", "Error"},
        ReadRow{"254NonAsciiCharactersReadWhole", kKey, repeated("\xC3\xBC", 254),
                repeated("\xC3\xBC", 254)},
        ReadRow{"255NonAsciiCharactersReadError", kKey, repeated("\xC3\xBC", 255), "Error"}),
    RowName());

#ifdef _WIN32
// The game's key in the 32-bit view of the registry, where its 32-bit installer leaves it on
// 64-bit Windows, as the 64-bit program sees that view.
const wchar_t kGameKey32[] = L"Software\\Wow6432Node\\Westwood\\Renegade";

std::wstring wide(const std::string& utf8) {
  std::wstring text(utf8.size(), L'\0');
  text.resize(static_cast<std::size_t>(
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(),
                          static_cast<int>(text.size()))));
  return text;
}

// The table's rows against the system registry: each row's value written into the 32-bit view,
// read through RegQueryValueExA.
TEST_P(ReadRegistryValueTest, GivesTheSameFromTheWindowsRegistry) {
  const ReadRow& row = GetParam();
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kGameKey32, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  RegDeleteValueW(key, L"InstallPath");
  if (row.stored) {
    const std::wstring value = wide(*row.stored);
    ASSERT_EQ(
        RegSetValueExW(key, L"InstallPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
        ERROR_SUCCESS);
  }
  RegCloseKey(key);
  testing::RecordingShell shell;
  EXPECT_EQ(ReadRegistryValue(*openSystemRegistry(), shell, row.keyPath, "InstallPath"),
            row.expected);
}
#endif

// --- the Wine registry file -----------------------------------------------------------------

const std::string kHeader =
    "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n"
    "#arch=win32\n\n";
const std::string kGameKeyLine =
    "[Software\\\\Westwood\\\\Renegade] 1796584329\n#time=1dd85b5b0c07266\n";

struct LookupRow {
  const char* name;
  std::string lines;  // after the header and the game's key line
  Outcome outcome;
  std::string text;
  std::string file = kHeader + kGameKeyLine;  // what comes before `lines`
  std::string key = kGameSubKey;
};

class WineRegistryLookup : public ::testing::TestWithParam<LookupRow> {};

TEST_P(WineRegistryLookup, FindsWhatTheFileHolds) {
  const LookupRow& row = GetParam();
  const WineValueLookup lookup =
      WineRegistryFile::fromText(row.file + row.lines).findValue(row.key, "InstallPath");
  EXPECT_EQ(lookup.outcome, row.outcome);
  EXPECT_EQ(lookup.text, row.text);
}

INSTANTIATE_TEST_SUITE_P(
    Registry, WineRegistryLookup,
    ::testing::Values(
        LookupRow{"PlainString", "\"InstallPath\"=\"C:\\\\Westwood\\\\x.exe\"\n", Outcome::Found,
                  "C:\\Westwood\\x.exe"},
        LookupRow{"NamesIgnoreCaseBlanksInsideKept", "\"installpath\"=\"  C:\\\\x  \"\n",
                  Outcome::Found, "  C:\\x  "},
        LookupRow{"EscapedQuoteBackslashAndControls", "\"InstallPath\"=\"a\\\"b\\\\c\\t\\e\"\n",
                  Outcome::Found, "a\"b\\c\t\x1B"},
        LookupRow{"HexEscapeOfAtMostFourDigits", "\"InstallPath\"=\"M\\xfcller\\x00e41\"\n",
                  Outcome::Found,
                  "M\xC3\xBCller\xC3\xA4"
                  "1"},
        LookupRow{"SurrogatePairJoinedLoneOnesReplaced",
                  "\"InstallPath\"=\"\\xd83d\\xde00\\xd83dx\\xde00\"\n", Outcome::Found,
                  "\xF0\x9F\x98\x80\xEF\xBF\xBDx\xEF\xBF\xBD"},
        LookupRow{"CommentsAndHexContinuationsPassedOver",
                  ";\"InstallPath\"=\"no\"\n\"Blob\"=hex:22,49,6e,22,3d,22,\\\n  00\n"
                  "\"InstallPath\"=\"C:\\\\x\"\r\n",
                  Outcome::Found, "C:\\x"},
        LookupRow{"ValueEndsAtNul", "\"InstallPath\"=\"C:\\\\x\\0junk\"\n", Outcome::Found,
                  "C:\\x"},
        LookupRow{"LaterLineCounts",
                  "\"InstallPath\"=\"C:\\\\x\"\n\"InstallPath\"=dword:00000001\n",
                  Outcome::ValueMissing, ""},
        LookupRow{"OtherNamesOnly", "\"Install\"=\"a\"\n\"InstallPathX\"=\"b\"\n",
                  Outcome::ValueMissing, ""},
        LookupRow{"UnclosedStringThenAGoodLine",
                  "\"InstallPath\"=\"C:\\\\broken\n\"InstallPath\"=\"C:\\\\x\"\n\"InstallPa",
                  Outcome::Found, "C:\\x"},
        LookupRow{"KeyNamesCompareWholeIgnoringCase",
                  "[Software\\\\Westwood\\\\RenegadeX]\n\"InstallPath\"=\"no\"\n"
                  "[software\\\\WESTWOOD\\\\renegade\\\\Sub]\n\"InstallPath\"=\"no\"\n"
                  "[SOFTWARE\\\\westwood\\\\RENEGADE] 1\n\"InstallPath\"=\"yes\"\n",
                  Outcome::Found, "yes", kHeader},
        LookupRow{"EscapedKeyName", "[Software\\\\M\\xfcller\\]] 1\n\"InstallPath\"=\"x\"\n",
                  Outcome::Found, "x", kHeader, "Software\\M\xC3\xBCller]"},
        LookupRow{"Hex1StringWithoutItsNul",
                  "\"InstallPath\"=hex(1):43,00,3a,00,5c,00,78,00,2e,00,65,00,78,00,65,00\n",
                  Outcome::Found, "C:\\x.exe"},
        LookupRow{"Hex2StringOverLinesUpToItsNul",
                  "\"InstallPath\"=hex(2):43,00,3a,00,5c,00,4d,00,fc,00,6c,00,6c,00,65,00,72,\\\n"
                  "  00,5c,00,3d,d8,00,de,00,00,78,00\r\n\"Language\"=dword:00000000\n",
                  Outcome::Found, "C:\\M\xC3\xBCller\\\xF0\x9F\x98\x80"},
        LookupRow{"Hex1WithoutItsContinuationLine",
                  "\"InstallPath\"=\"C:\\\\x\"\n\"InstallPath\"=hex(1):43,00,\\\n", Outcome::Found,
                  "C:\\x"},
        LookupRow{"MultiStringIsNotText", "\"InstallPath\"=hex(7):43,00,00,00,00,00\n",
                  Outcome::ValueMissing, ""},
        LookupRow{"NoHeaderNoKeys", "\"InstallPath\"=\"x\"\n", Outcome::KeyMissing, "",
                  "\xEF\xBB\xBF" + kHeader + kGameKeyLine}),
    RowName());

TEST(WineRegistryFileTest, FilesThatAreNotRegistryFilesHoldNothingAndNeverBlock) {
  testing::TempFolder folder;
  std::filesystem::create_directory(folder.file("folder.reg"));
#ifndef _WIN32
  ASSERT_EQ(::mkfifo(folder.file("pipe.reg").c_str(), 0600), 0);  // opening it would block
#endif
  std::string garbage(300000, '\0');
  for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>(i * 7919 >> 3);
  testing::writeFile(folder.file("garbage.reg"),
                     garbage + "\n" + kGameKeyLine + "\"InstallPath\"=\"x\"\n");
  for (const char* name : {"missing.reg", "folder.reg", "pipe.reg", "garbage.reg"}) {
    const WineRegistryFile file = WineRegistryFile::load(folder.file(name));
    EXPECT_FALSE(file.hasHeader()) << name;
    EXPECT_EQ(file.findValue(kGameSubKey, "InstallPath").outcome, Outcome::KeyMissing) << name;
  }
  testing::writeFile(folder.file("system.reg"), kHeader + garbage + "\n" + kGameKeyLine +
                                                    "\"InstallPath\"=\"C:\\\\x\"\n" + garbage);
  EXPECT_EQ(
      WineRegistryFile::load(folder.file("system.reg")).findValue(kGameSubKey, "InstallPath").text,
      "C:\\x");
}

}  // namespace
}  // namespace corvane
