// The path tests start-up uses: FileExists, GetDirectory and finding a child without regard to
// letter case.
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

TEST(Paths, FileExistsForFilesAndFoldersAndNothingElse) {
  TempFolder folder;
  testing::writeFile(folder.path() / "Renegade/Renegade.exe", "MZ");
  fs::create_directories(folder.path() / "Renegade/Data");
  fs::create_symlink("Nowhere", folder.path() / "Renegade/Dangling");
  const std::string root = folder.path().string() + "/";
  for (const char* path :
       {"Renegade/Renegade.exe", "Renegade/Data/", "Renegade/Data/../Renegade.exe"}) {
    EXPECT_TRUE(FileExists(root + path)) << path;
  }
  for (const char* path : {"Renegade/Missing.exe", "Renegade/Renegade.exe/Data", "Renegade/R*.exe",
                           "Renegade/Dangling", "renegade/data"}) {
    EXPECT_FALSE(FileExists(root + path)) << path;
  }
  EXPECT_FALSE(FileExists(""));
}

TEST(Paths, GetDirectoryCutsAtTheLastSeparator) {
  EXPECT_EQ(GetDirectory("/games/Renegade/Renegade.exe"), "/games/Renegade");
  EXPECT_EQ(GetDirectory("/games/Renegade/"), "/games/Renegade");
  EXPECT_EQ(GetDirectory("/games/C:\\Renegade.exe"), "/games");
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
  for (const std::string& entry : GetParam().entries) fs::create_directory(folder.path() / entry);
  EXPECT_EQ(childPathIgnoringCase(folder.path().string() + "/", GetParam().wanted),
            folder.path().string() + "/" + GetParam().found);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ChildPath,
    ::testing::Values(ChildRow{"OtherCaseOnDisk", {"DATA"}, "Data", "DATA"},
                      ChildRow{"ExactSpellingPreferred", {"DATA", "Data", "data"}, "data", "data"},
                      ChildRow{"FirstInByteOrderWithoutExact", {"data", "DATA"}, "Data", "DATA"},
                      ChildRow{"NoMatchKeepsTheName", {"Maps", "Data2"}, "Data", "Data"}),
    testing::RowName());

}  // namespace
}  // namespace corvane
