// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The path tests start-up uses: FileExists, and finding a child of a folder by a name compared
// without regard to letter case, as Windows compares names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Paths.h"
#include "Rows.h"
#include "TempFolder.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

// The platform's separator.
const std::string kSeparator(1, kPathSeparator);

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
    ::testing::Values(ChildRow{"ExactSpellingPreferred", {"DATA", "Data", "data"}, "data", "data"},
                      ChildRow{"NonAsciiLettersOfOtherCase",
                               {"Reneg\xC3\xA4"
                                "de"},
                               "RENEG\xC3\x84"
                               "DE",
                               "Reneg\xC3\xA4"
                               "de"}),
    testing::RowName());

}  // namespace
}  // namespace corvane
