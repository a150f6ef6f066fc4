// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The path tests start-up uses: FileExists, GetDirectory, names compared without regard to
// letter case as Windows compares them, and finding a child that way.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CaseFolding.h"
#include "Paths.h"
#include "Rows.h"
#include "TempFolder.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

// The platform's separator, and the other one, which is no separator to these functions.
const std::string kSeparator(1, kPathSeparator);
const std::string kOther = kPathSeparator == '/' ? "\\" : "/";

TEST(Paths, FileExistsForFilesAndFoldersAndNothingElse) {
  TempFolder folder;
  testing::writeFile(folder.path() / "Renegade/Renegade.exe", "MZ");
  fs::create_directories(folder.path() / "Renegade/Data");
  std::vector<std::string> missing = {"Renegade/Missing.exe", "Renegade/Renegade.exe/Data",
                                      "Renegade/R*.exe"};
#ifndef _WIN32
  fs::create_symlink("Nowhere", folder.path() / "Renegade/Dangling");
  missing.insert(missing.end(), {"Renegade/Dangling", "renegade/data"});  // letter case counts
#endif
  const std::string root = folder.path().string() + kSeparator;
  for (const char* path :
       {"Renegade/Renegade.exe", "Renegade/Data/", "Renegade/Data/../Renegade.exe"}) {
    EXPECT_TRUE(FileExists(root + path)) << path;
  }
  for (const std::string& path : missing) EXPECT_FALSE(FileExists(root + path)) << path;
  EXPECT_FALSE(FileExists(""));
}

TEST(Paths, GetDirectoryCutsAtTheLastSeparator) {
  const std::string& s = kSeparator;
  EXPECT_EQ(GetDirectory(s + "games" + s + "Renegade" + s + "Renegade.exe"),
            s + "games" + s + "Renegade");
  EXPECT_EQ(GetDirectory(s + "games" + s + "Renegade" + s), s + "games" + s + "Renegade");
  EXPECT_EQ(GetDirectory(s + "games" + s + "Renegade" + kOther + "Renegade.exe"), s + "games");
  EXPECT_EQ(GetDirectory("Error"), "");
}

struct ChildRow {
  const char* name;
  std::vector<std::string> entries;  // folders to create
  std::string wanted;
  std::string found;
};

class ChildPath : public ::testing::TestWithParam<ChildRow> {};

TEST_P(ChildPath, FindsTheEntryIgnoringLetterCaseExactSpellingFirst) {
  TempFolder folder;
  for (const std::string& entry : GetParam().entries) {
    if (!fs::create_directory(folder.path() / pathFromUtf8(entry))) {
      GTEST_SKIP() << "this file system holds one of names that differ in letter case alone";
    }
  }
  EXPECT_EQ(childPathIgnoringCase(folder.path().string() + kSeparator, GetParam().wanted),
            folder.path().string() + kSeparator + GetParam().found);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ChildPath,
    ::testing::Values(ChildRow{"OtherCaseOnDisk", {"DATA"}, "Data", "DATA"},
                      ChildRow{"ExactSpellingPreferred", {"DATA", "Data", "data"}, "data", "data"},
                      ChildRow{"FirstInByteOrderWithoutExact", {"data", "DATA"}, "Data", "DATA"},
                      ChildRow{"NoMatchKeepsTheName", {"Maps", "Data2"}, "Data", "Data"},
                      ChildRow{"NonAsciiLettersOfOtherCase",
                               {"Reneg\xC3\xA4"
                                "de"},
                               "RENEG\xC3\x84"
                               "DE",
                               "Reneg\xC3\xA4"
                               "de"}),
    testing::RowName());

struct CaseRow {
  const char* name;
  std::string left;
  std::string right;
  bool equal;
};

class NamesIgnoringCase : public ::testing::TestWithParam<CaseRow> {};

TEST_P(NamesIgnoringCase, CompareBySimpleCaseFolding) {
  EXPECT_EQ(equalIgnoringCase(GetParam().left, GetParam().right), GetParam().equal);
  EXPECT_EQ(equalIgnoringCase(GetParam().right, GetParam().left), GetParam().equal);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Paths, NamesIgnoringCase, ::testing::Values(
    CaseRow{"AsciiLetters", "Renegade.EXE", "rENEGADE.exe", true},
    CaseRow{"AsciiNonLettersStay", "[@`{", "{`@[", false},
    CaseRow{"LatinOneSupplement", "M\xC3\x9CLLER \xC3\x86\xC3\x98", "m\xC3\xBCller \xC3\xA6\xC3\xB8", true},
    CaseRow{"LatinOneSignsAreNoLetters", "\xC3\x97", "\xC3\xB7", false},  // U+00D7, U+00F7
    CaseRow{"LatinExtendedEveryOther", "\xC5\x81\xC3\xB3" "d\xC5\xBA", "\xC5\x82\xC3\x93" "D\xC5\xB9", true},
    CaseRow{"CapitalYWithDiaeresis", "\xC5\xB8", "\xC3\xBF", true},  // U+0178, U+00FF
    CaseRow{"GreekFinalSigma", "\xCE\xA3\xCE\x9F\xCE\xA3", "\xCF\x83\xCE\xBF\xCF\x82", true},
    CaseRow{"MicroSignIsMu", "\xC2\xB5", "\xCE\x9C", true},
    CaseRow{"Cyrillic", "\xD0\x98\xD0\x93\xD0\xA0\xD0\xAB \xD0\x81", "\xD0\xB8\xD0\xB3\xD1\x80\xD1\x8B \xD1\x91", true},
    CaseRow{"CyrillicEveryOther", "\xD2\x90\xD3\x98", "\xD2\x91\xD3\x99", true},  // Ґ Ә
    CaseRow{"VietnameseLatinExtendedAdditional", "TR\xE1\xBA\xA0M", "tr\xE1\xBA\xA1m", true},
    CaseRow{"CapitalSharpS", "STRA\xE1\xBA\x9E" "E", "stra\xC3\x9F" "e", true},
    CaseRow{"SharpSIsNoDoubleS", "Stra\xC3\x9F" "e", "Strasse", false},
    CaseRow{"DottedCapitalIIsNoI", "\xC4\xB0", "i", false},
    CaseRow{"LetterAgainstItsNeighbour", "\xC3\x84", "\xC3\xA5", false},
    CaseRow{"CombiningMarkIsNotPrecomposed", "a\xCC\x88", "\xC3\xA4", false},
    CaseRow{"InvalidBytesEqualOnlyThemselves", "a\xC3", "A\xC3", true},
    CaseRow{"InvalidByteIsNoLetter", "\xC4", "\xC3\xA4", false},
    CaseRow{"ShorterIsNotEqual", "Reneg\xC3\xA4", "Reneg\xC3\xA4" "de", false}),
    testing::RowName());
// clang-format on

}  // namespace
}  // namespace corvane
