// Tests of the one listing of a folder that start-up and a later save share: what listFolder()
// tells of each entry, and that a save which takes its candidates for stale temporary files from
// that listing still removes the ones of ended processes, also when the folder changed after it.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "FolderListing.h"
#include "IniDocument.h"
#include "Processes.h"
#include "ScratchFolder.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using reliability::ScratchFolder;
using reliability::writeWholeFile;

const std::string kFileName = "svrcfg_skirmish.ini";

// --- what listFolder() tells of each entry ---------------------------------------------------

struct EntryRow {
  const char* label;
  const char* name;
  bool regularFile;
};

std::ostream& operator<<(std::ostream& out, const EntryRow& row) {
  return out << row.label;
}

// Makes the entries the rows name: a file, a folder, links to each, a dangling link, a hidden
// file and a link to a hidden file.
void makeEntryKinds(const fs::path& folder) {
  writeWholeFile(folder / "map.mix", "");
  writeWholeFile(folder / ".hidden.mix", "");
  fs::create_directory(folder / "folder.mix");
  fs::create_symlink("map.mix", folder / "link_to_file.mix");
  fs::create_symlink("folder.mix", folder / "link_to_folder.mix");
  fs::create_symlink("missing.mix", folder / "dangling.mix");
}

class ListFolderEntries : public ::testing::TestWithParam<EntryRow> {};

TEST_P(ListFolderEntries, tellsRegularFilesAndLinksToThemFromEverythingElse) {
  const EntryRow& row = GetParam();
  ScratchFolder folder;
  makeEntryKinds(folder.path());
  const std::optional<std::vector<FolderEntry>> entries = listFolder(folder.path().string());
  ASSERT_TRUE(entries.has_value());
  EXPECT_EQ(entries->size(), 6u) << "every entry once, without . and ..";
  const auto entry = std::find_if(entries->begin(), entries->end(),
                                  [&row](const FolderEntry& e) { return e.name == row.name; });
  ASSERT_NE(entry, entries->end()) << row.name;
  EXPECT_EQ(entry->regularFile, row.regularFile) << row.name;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ListFolderEntries,
    ::testing::Values(EntryRow{"file", "map.mix", true},
                      EntryRow{"hidden_file", ".hidden.mix", true},
                      EntryRow{"folder", "folder.mix", false},
                      EntryRow{"link_to_a_file", "link_to_file.mix", true},
                      EntryRow{"link_to_a_folder", "link_to_folder.mix", false},
                      EntryRow{"dangling_link", "dangling.mix", false}),
    [](const ::testing::TestParamInfo<EntryRow>& info) { return info.param.label; });

TEST(ListFolder, givesNothingForAMissingFolder) {
  ScratchFolder folder;
  EXPECT_FALSE(listFolder((folder.path() / "missing").string()).has_value());
  EXPECT_FALSE(hiddenNamesOfUnchangedFolder((folder.path() / "missing").string()).has_value());
}

// --- stale temporaries found through the shared listing --------------------------------------

// When the folder that is saved into was listed, relative to the leftover's arrival.
enum class Listing {
  None,             // never: the save lists the folder itself
  AfterLeftover,    // the listing saw the leftover and the folder has not changed since
  BeforeLeftover,   // the leftover arrived later, so the folder changed after the listing
  OfAnotherFolder,  // only some other folder was listed
};

struct LeftoverRow {
  const char* label;
  Listing listing;
  bool processEnded;  // the leftover's process has ended (else it still runs)
  bool removed;       // by the save
};

std::ostream& operator<<(std::ostream& out, const LeftoverRow& row) {
  return out << row.label;
}

class LeftoverWithSharedListing : public ::testing::TestWithParam<LeftoverRow> {};

TEST_P(LeftoverWithSharedListing, aSaveRemovesLeftoversOfEndedProcessesOnly) {
  const LeftoverRow& row = GetParam();
  ScratchFolder folder;
  ScratchFolder otherFolder;
  LiveProcess live;
  writeWholeFile(folder.path() / kFileName, "[Settings]\r\nTimeLimitMinutes=1\r\n");
  const pid_t creator = row.processEnded ? endedProcess() : live.pid();
  const fs::path leftover =
      folder.path() / ("." + kFileName + ".corvane-" + std::to_string(creator) + "-Ab12Cd");
  const auto plantLeftover = [&] { writeWholeFile(leftover, "[Settings]\r\nTimeLimitMinutes=2"); };

  switch (row.listing) {
    case Listing::None:
      plantLeftover();
      break;
    case Listing::AfterLeftover:
      plantLeftover();
      ASSERT_TRUE(listFolder(folder.path().string()).has_value());
      ASSERT_TRUE(hiddenNamesOfUnchangedFolder(folder.path().string() + "/").has_value())
          << "the folder counts as unchanged since its listing";
      break;
    case Listing::BeforeLeftover:
      ASSERT_TRUE(listFolder(folder.path().string()).has_value());
      // Past the timestamp resolution of the file system, so that the folder's times change.
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      plantLeftover();
      ASSERT_FALSE(hiddenNamesOfUnchangedFolder(folder.path().string()).has_value())
          << "the folder counts as changed since its listing";
      break;
    case Listing::OfAnotherFolder:
      ASSERT_TRUE(listFolder(otherFolder.path().string()).has_value());
      plantLeftover();
      break;
  }

  const FileStatus saved =
      IniDocument::fromBytes("[Settings]\r\nTimeLimitMinutes=30\r\n").save(folder.file(kFileName));
  ASSERT_TRUE(saved.ok) << saved.error;
  EXPECT_EQ(fs::exists(leftover), !row.removed) << leftover;
}

INSTANTIATE_TEST_SUITE_P(
    Leftovers, LeftoverWithSharedListing,
    ::testing::Values(LeftoverRow{"folder_never_listed", Listing::None, true, true},
                      LeftoverRow{"seen_by_the_listing", Listing::AfterLeftover, true, true},
                      LeftoverRow{"of_a_live_process_seen_by_the_listing", Listing::AfterLeftover,
                                  false, false},
                      LeftoverRow{"arrived_after_the_listing", Listing::BeforeLeftover, true, true},
                      LeftoverRow{"another_folder_listed", Listing::OfAnotherFolder, true, true}),
    [](const ::testing::TestParamInfo<LeftoverRow>& info) { return info.param.label; });

}  // namespace
}  // namespace corvane
