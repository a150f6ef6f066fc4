// The INI engine on real files: crash-safe replacing, links, refusals, calls that change nothing,
// how a path loads, and the removal of temporary files that killed saves left behind.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <thread>

#include "FolderListing.h"
#include "IniDocument.h"
#include "IniProfile.h"
#include "Rows.h"
#include "TempFolder.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

const std::string kSettings = "[Settings]\nRadarMode=1\nSpawnWeapons=no\n";

struct stat statusOf(const std::string& path) {
  struct stat result {};
  ::lstat(path.c_str(), &result);
  return result;
}

std::size_t entriesIn(const fs::path& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(Replacing, ANewFileKeepsThePermissionBitsAndLeavesNoTemporaryFile) {
  TempFolder folder;
  ASSERT_TRUE(WriteINIValue(folder.file("new.ini"), "Settings", "Key", "Value").ok);
  EXPECT_EQ(readFile(folder.file("new.ini")), "[Settings]\r\nKey=Value\r\n");
  writeFile(folder.file("s.ini"), kSettings);
  fs::permissions(folder.file("s.ini"), fs::perms(0640));
  const ino_t before = statusOf(folder.file("s.ini")).st_ino;
  ASSERT_TRUE(WriteINIValue(folder.file("s.ini"), "Settings", "RadarMode", "2").ok);
  EXPECT_NE(statusOf(folder.file("s.ini")).st_ino, before);  // renamed over, not rewritten
  ASSERT_TRUE(DeleteINIKey(folder.file("s.ini"), "Settings", "SpawnWeapons").ok);
  EXPECT_EQ(readFile(folder.file("s.ini")), "[Settings]\nRadarMode=2\r\n");
  EXPECT_EQ(statusOf(folder.file("s.ini")).st_mode & 07777, 0640u);
  EXPECT_EQ(entriesIn(folder.path()), 2u);
}

TEST(Replacing, SymbolicLinksAreWrittenThroughAndStayLinks) {
  TempFolder folder;
  writeFile(folder.file("real/s.ini"), kSettings);
  fs::create_symlink("real/s.ini", folder.file("link.ini"));
  fs::create_symlink("link.ini", folder.file("link2.ini"));
  fs::create_symlink("real/created.ini", folder.file("dangling.ini"));
  ASSERT_TRUE(WriteINIValue(folder.file("link2.ini"), "Settings", "RadarMode", "0").ok);
  ASSERT_TRUE(WriteINIValue(folder.file("dangling.ini"), "Settings", "Key", "Value").ok);
  EXPECT_EQ(readFile(folder.file("real/s.ini")), "[Settings]\nRadarMode=0\r\nSpawnWeapons=no\n");
  EXPECT_EQ(readFile(folder.file("real/created.ini")), "[Settings]\r\nKey=Value\r\n");
  for (const char* link : {"link.ini", "link2.ini", "dangling.ini"}) {
    EXPECT_TRUE(fs::is_symlink(folder.file(link))) << link;
  }
}

// A refused or failed write says why and leaves the file, and the folder, as they were.
TEST(Replacing, RefusedWritesChangeNothing) {
  TempFolder folder;
  writeFile(folder.file("s.ini"), kSettings);
  writeFile(folder.file("read-only.ini"), kSettings);
  fs::permissions(folder.file("read-only.ini"), fs::perms(0444));  // refused even to root
  fs::create_symlink("read-only.ini", folder.file("link.ini"));
  fs::create_directory(folder.file("folder.ini"));
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit{};
  ::getrlimit(RLIMIT_FSIZE, &limit);
  for (const auto& [name, error] : {std::pair{"link.ini", EACCES}, std::pair{"folder.ini", EISDIR},
                                    std::pair{"s.ini/x.ini", ENOTDIR}, std::pair{"s.ini", EFBIG}}) {
    rlimit small = limit;
    if (error == EFBIG) small.rlim_cur = 8;  // a disk that is full after 8 bytes
    ::setrlimit(RLIMIT_FSIZE, &small);
    const FileStatus written = WriteINIValue(folder.file(name), "Settings", "RadarMode", "2");
    ::setrlimit(RLIMIT_FSIZE, &limit);
    EXPECT_NE(written.error.find(std::strerror(error)), std::string::npos) << name << written.error;
  }
  EXPECT_EQ(readFile(folder.file("s.ini")), kSettings);
  EXPECT_EQ(readFile(folder.file("read-only.ini")), kSettings);
  EXPECT_EQ(entriesIn(folder.path()), 4u);
}

// A call that changes nothing does not touch the file: the game reloads it when its time changes.
TEST(Replacing, CallsThatChangeNothingLeaveTheFileUnwritten) {
  TempFolder folder;
  writeFile(folder.file("s.ini"), kSettings);
  const struct stat before = statusOf(folder.file("s.ini"));
  ReadINIValue(folder.file("s.ini"), "Settings", "RadarMode", "2");
  EXPECT_TRUE(DeleteINIKey(folder.file("s.ini"), "Settings", "TimeLimitMinutes").ok);
  EXPECT_TRUE(DeleteINIKey(folder.file("s.ini"), "Other", "RadarMode").ok);
  EXPECT_TRUE(WriteINIValue(folder.file("s.ini"), "Settings", "RadarMode", "1").ok);
  EXPECT_TRUE(DeleteINIKey(folder.file("missing.ini"), "Settings", "RadarMode").ok);
  const struct stat after = statusOf(folder.file("s.ini"));
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
  EXPECT_FALSE(fs::exists(folder.file("missing.ini")));
}

TEST(Loading, TellsMissingFromUnreadableAndReadsFilesWithoutASizeToTheirEnd) {
  TempFolder folder;
  writeFile(folder.file("s.ini"), kSettings);
  EXPECT_EQ(IniDocument::load(folder.file("none.ini")).origin(), IniDocument::Origin::Missing);
  EXPECT_EQ(IniDocument::load(folder.file("s.ini/x.ini")).origin(), IniDocument::Origin::Missing);
  const IniDocument unreadable = IniDocument::load(folder.path().string());
  EXPECT_EQ(unreadable.origin(), IniDocument::Origin::Unreadable);
  EXPECT_EQ(
      unreadable.save(folder.file("s.ini")).error,  // never saved: its bytes are not the file's
      std::string("The file could not be read: ") + std::strerror(EISDIR));
  EXPECT_EQ(readFile(folder.file("s.ini")), kSettings);
  // A /proc file reports a size of 0 and holds more than one read block: all of it is read.
  const std::string maps = IniDocument::load("/proc/self/maps").bytes();
  EXPECT_GT(maps.size(), 4096u);
  EXPECT_EQ(maps.back(), '\n');
}

// --- temporary files left by killed saves -----------------------------------------------------

// A child process that runs until the object goes, or (`ended`) one that has ended already.
struct ChildProcess {
  pid_t pid = ::fork();
  explicit ChildProcess(bool ended) {
    if (pid == 0) {
      if (!ended) ::pause();
      ::_exit(0);
    }
    if (ended) ::waitpid(pid, nullptr, 0);
  }
  ~ChildProcess() {
    if (::kill(pid, SIGKILL) == 0) ::waitpid(pid, nullptr, 0);
  }
};

// When the folder was listed (at start-up, for the map list), relative to the leftover's arrival.
enum class Listed { Never, AfterLeftover, BeforeLeftover };

struct LeftoverRow {
  const char* name;
  const char* file;  // {ended}, {live} and {self} stand for process ids
  Listed listed;
  bool removed;  // by a successful save of svrcfg_skirmish.ini in the same folder
};

class StaleTemporaries : public ::testing::TestWithParam<LeftoverRow> {};

TEST_P(StaleTemporaries, ASaveRemovesOnlyThoseOfItsFileWhoseProcessHasEnded) {
  const LeftoverRow& row = GetParam();
  TempFolder folder;
  const ChildProcess ended(true);
  const ChildProcess live(false);
  std::string name = row.file;
  for (const auto& [field, pid] : {std::pair{"{ended}", ended.pid}, std::pair{"{live}", live.pid},
                                   std::pair{"{self}", ::getpid()}}) {
    if (const std::size_t at = name.find(field); at != std::string::npos) {
      name.replace(at, std::strlen(field), std::to_string(pid));
    }
  }
  if (row.listed == Listed::BeforeLeftover) {
    ASSERT_TRUE(listFolder(folder.path().string()).has_value());
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // past the folder's time stamps
  }
  writeFile(folder.path() / name, "[Settings]\r\nTimeLimitMinutes=1");
  if (row.listed == Listed::AfterLeftover) {
    ASSERT_TRUE(listFolder(folder.path().string()).has_value());
  }
  ASSERT_TRUE(IniDocument::fromBytes("[Settings]\r\n").save(folder.file("svrcfg_skirmish.ini")).ok);
  EXPECT_EQ(fs::exists(folder.path() / name), !row.removed) << name;
}

INSTANTIATE_TEST_SUITE_P(
    Files, StaleTemporaries,
    ::testing::Values(
        LeftoverRow{"OfAnEndedProcess", ".svrcfg_skirmish.ini.corvane-{ended}-Ab12Cd",
                    Listed::Never, true},
        LeftoverRow{"SeenByTheStartUpListing", ".svrcfg_skirmish.ini.corvane-{ended}-Ab12Cd",
                    Listed::AfterLeftover, true},
        LeftoverRow{"ArrivedAfterTheStartUpListing", ".svrcfg_skirmish.ini.corvane-{ended}-Ab12Cd",
                    Listed::BeforeLeftover, true},
        LeftoverRow{"OfALiveProcess", ".svrcfg_skirmish.ini.corvane-{live}-Ab12Cd",
                    Listed::AfterLeftover, false},
        LeftoverRow{"OfThisProcess", ".svrcfg_skirmish.ini.corvane-{self}-Ab12Cd", Listed::Never,
                    false},
        LeftoverRow{"OfAnotherFile", ".other.ini.corvane-{ended}-Ab12Cd", Listed::Never, false},
        LeftoverRow{"WithoutAProcessId", ".svrcfg_skirmish.ini.corvane-Ab12Cd", Listed::Never,
                    false},
        LeftoverRow{"NotHidden", "svrcfg_skirmish.ini.corvane-{ended}-Ab12Cd", Listed::Never,
                    false}),
    testing::RowName());

}  // namespace
}  // namespace corvane
