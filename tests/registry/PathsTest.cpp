// Tests of the path tests and helpers that start-up uses: FileExists, DirectoryExists,
// GetDirectory and childPathIgnoringCase.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "Paths.h"
#include "TemporaryFolder.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing_support::TemporaryFolder;
using testing_support::writeFile;

// --- FileExists and DirectoryExists ---------------------------------------------------------

struct ExistsRow {
  const char* name;
  std::string relativePath;  // below the test's folder; "" stands for the empty path itself
  bool exists;
};

void PrintTo(const ExistsRow& row, std::ostream* out) {
  *out << row.name;
}

class PathExistsTest : public ::testing::TestWithParam<ExistsRow> {
 protected:
  // Renegade/Renegade.exe, Renegade/Data/, and on systems with symbolic links a link to the
  // Data folder and a link to nothing.
  void SetUp() override {
    writeFile(folder_.path() / "Renegade" / "Renegade.exe", "MZ");
    fs::create_directories(folder_.path() / "Renegade" / "Data");
#ifndef _WIN32
    fs::create_directory_symlink("Data", folder_.path() / "Renegade" / "DataLink");
    fs::create_symlink("Nowhere", folder_.path() / "Renegade" / "Dangling");
#endif
  }
  std::string pathOf(const std::string& relativePath) const {
    return relativePath.empty() ? std::string() : folder_.string() + "/" + relativePath;
  }
  TemporaryFolder folder_;
};

TEST_P(PathExistsTest, FileExistsForFilesAndFolders) {
  EXPECT_EQ(FileExists(pathOf(GetParam().relativePath)), GetParam().exists);
}

TEST_P(PathExistsTest, DirectoryExistsForFoldersAndFiles) {
  EXPECT_EQ(DirectoryExists(pathOf(GetParam().relativePath)), GetParam().exists);
}

const ExistsRow kExistsRows[] = {
    {"file", "Renegade/Renegade.exe", true},
    {"folder", "Renegade/Data", true},
    {"folder_with_trailing_separator", "Renegade/Data/", true},
    {"missing_file", "Renegade/Missing.exe", false},
    {"missing_folder", "Renegade/Data/Maps", false},
    {"below_a_file", "Renegade/Renegade.exe/Data", false},
    {"wildcard_is_not_a_pattern", "Renegade/R*.exe", false},
    {"question_mark_is_not_a_pattern", "Renegade/Dat?", false},
    {"empty_path", "", false},
    {"relative_folder_part", "Renegade/Data/../Renegade.exe", true},
#ifndef _WIN32
    {"link_to_folder", "Renegade/DataLink", true},
    {"link_to_nothing", "Renegade/Dangling", false},
    {"other_letter_case_is_another_name", "renegade/data", false},
#endif
};

INSTANTIATE_TEST_SUITE_P(Paths, PathExistsTest, ::testing::ValuesIn(kExistsRows),
                         [](const auto& info) { return std::string(info.param.name); });

// --- GetDirectory ---------------------------------------------------------------------------

struct DirectoryRow {
  const char* name;
  std::string path;
  std::string directory;
};

void PrintTo(const DirectoryRow& row, std::ostream* out) {
  *out << row.name;
}

class GetDirectoryTest : public ::testing::TestWithParam<DirectoryRow> {};

TEST_P(GetDirectoryTest, CutsAtTheLastSeparator) {
  EXPECT_EQ(GetDirectory(GetParam().path), GetParam().directory);
}

#ifdef _WIN32
INSTANTIATE_TEST_SUITE_P(
    Paths, GetDirectoryTest,
    ::testing::Values(
        DirectoryRow{"executable", "C:\\Westwood\\Renegade\\Renegade.exe",
                     "C:\\Westwood\\Renegade"},
        DirectoryRow{"trailing_backslash", "C:\\Games\\Renegade\\", "C:\\Games\\Renegade"},
        DirectoryRow{"drive_root_file", "C:\\Renegade.exe", "C:"},
        DirectoryRow{"network_path", "\\\\server\\share\\game.exe", "\\\\server\\share"},
        DirectoryRow{"no_separator", "Error", ""}, DirectoryRow{"empty", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });
#else
INSTANTIATE_TEST_SUITE_P(
    Paths, GetDirectoryTest,
    ::testing::Values(
        DirectoryRow{"executable", "/games/Westwood/Renegade/Renegade.exe",
                     "/games/Westwood/Renegade"},
        DirectoryRow{"trailing_separator_removed_alone", "/games/Renegade/", "/games/Renegade"},
        DirectoryRow{"file_in_the_root", "/Renegade.exe", ""},
        DirectoryRow{"relative_path", "Renegade/Renegade.exe", "Renegade"},
        DirectoryRow{"no_separator", "Error", ""},
        DirectoryRow{"backslash_is_part_of_a_name", "/games/C:\\Renegade.exe", "/games"},
        DirectoryRow{"doubled_separator", "/games//Renegade.exe", "/games/"},
        DirectoryRow{"empty", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });
#endif

// --- childPathIgnoringCase ------------------------------------------------------------------

struct ChildRow {
  const char* name;
  std::vector<std::string> entries;  // folders to create; names with a dot are files
  std::string wanted;
  std::string expectedName;
};

void PrintTo(const ChildRow& row, std::ostream* out) {
  *out << row.name;
}

class ChildPathTest : public ::testing::TestWithParam<ChildRow> {};

TEST_P(ChildPathTest, FindsTheEntryIgnoringLetterCase) {
  const ChildRow& row = GetParam();
  TemporaryFolder folder;
  for (const std::string& entry : row.entries) {
    if (entry.find('.') != std::string::npos) {
      writeFile(folder.path() / entry, "");
    } else {
      fs::create_directory(folder.path() / entry);
    }
  }
  // Names that differ only in letter case cannot all exist where the file system ignores case.
  std::size_t created = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.path())) ++created;
  if (created != row.entries.size()) GTEST_SKIP() << "the file system ignores letter case";

  EXPECT_EQ(childPathIgnoringCase(folder.string(), row.wanted),
            folder.string() + kPathSeparator + row.expectedName);
}

INSTANTIATE_TEST_SUITE_P(
    Names, ChildPathTest,
    ::testing::Values(
        ChildRow{"exact_name", {"Data"}, "Data", "Data"},
        ChildRow{"lower_case_on_disk", {"data"}, "Data", "data"},
        ChildRow{"upper_case_on_disk", {"DATA"}, "Data", "DATA"},
        ChildRow{"file_matched_too",
                 {"SVRCFG_SKIRMISH.INI"},
                 "svrcfg_skirmish.ini",
                 "SVRCFG_SKIRMISH.INI"},
        ChildRow{"exact_spelling_preferred", {"DATA", "Data", "data"}, "data", "data"},
        ChildRow{"first_in_byte_order_without_exact", {"data", "DATA"}, "Data", "DATA"},
        ChildRow{"no_match_keeps_the_name", {"Maps", "Data2", "Dat"}, "Data", "Data"},
        ChildRow{"empty_folder_keeps_the_name", {}, "Data", "Data"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ChildPathJoinTest, MissingFolderKeepsTheName) {
  TemporaryFolder folder;
  const std::string missing = folder.string() + "/Missing";
  EXPECT_EQ(childPathIgnoringCase(missing, "Data"), missing + kPathSeparator + "Data");
}

TEST(ChildPathJoinTest, FolderEndingInASeparatorIsNotDoubled) {
  TemporaryFolder folder;
  fs::create_directory(folder.path() / "data");
  EXPECT_EQ(childPathIgnoringCase(folder.string() + kPathSeparator, "Data"),
            folder.string() + kPathSeparator + "data");
}

}  // namespace
}  // namespace corvane
