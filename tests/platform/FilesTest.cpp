// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The INI engine on real files: crash-safe replacing (on Windows, against attributes and sharing),
// refusals, how a path loads, the kinds of file it takes, and killed saves' temporary files.
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/fanotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstring>
#include <functional>
#include <thread>

#ifndef _WIN32
#include "FolderListing.h"
#endif
#include "IniDocument.h"
#include "IniProfile.h"
#include "ReplaceFile.h"
#include "Rows.h"
#include "TempFolder.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

const std::string kSettings = "[Settings]\nRadarMode=1\nSpawnWeapons=no\n";

// Paths are UTF-8: a folder whose name no ANSI code page of Windows holds is read and replaced.
TEST(Replacing, AnyFolderNameTheSystemAllows) {
  TempFolder folder;
  const std::string file = folder.file("Карты 地图/svrcfg_skirmish.ini");
  writeFile(fs::path(std::u8string(file.begin(), file.end())), kSettings);
  ASSERT_TRUE(IniDocument::fromBytes("[Settings]\r\nRadarMode=0\r\n").save(file).ok);
  EXPECT_EQ(ReadINIValue(file, "Settings", "RadarMode", "2"), "0");
}

std::size_t entriesIn(const fs::path& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

#ifdef _WIN32
// Hidden and system attributes stay; a read-only file, or one that another program holds without
// delete sharing, is refused and left as it was, with no temporary file beside it.
TEST(Replacing, KeepsAttributesAndRefusesWhatItMayNotReplace) {
  TempFolder folder;
  const std::string file = folder.file("s.ini");
  writeFile(file, kSettings);
  constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  ASSERT_TRUE(SetFileAttributesA(file.c_str(), kKept));
  ASSERT_TRUE(WriteINIValue(file, "Settings", "RadarMode", "2").ok);
  EXPECT_EQ(GetFileAttributesA(file.c_str()) & kKept, kKept);
  const HANDLE held = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(WriteINIValue(file, "Settings", "RadarMode", "0").ok);
  CloseHandle(held);
  ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(WriteINIValue(file, "Settings", "RadarMode", "0").error.empty());
  SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(readFile(file), "[Settings]\nRadarMode=2\r\nSpawnWeapons=no\n");
  EXPECT_EQ(entriesIn(folder.path()), 1u);
}

#else

struct stat statusOf(const std::string& path) {
  struct stat result {};
  ::lstat(path.c_str(), &result);
  return result;
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

// --- files that are not settings files --------------------------------------------------------

// Runs `work` in a child process and returns what it returned, or "timed out" when it has not
// finished within `seconds`: a read that waits for a pipe's writer fails the test instead of
// hanging the suite, and one that reads without end runs out of the child's memory (2 GB of
// address space; not under AddressSanitizer, which reserves more) instead of the machine's.
std::string inChildWithin(unsigned seconds, const std::function<std::string()>& work) {
  int out[2];
  if (::pipe(out) != 0) return "no pipe";
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(out[0]);
    ::alarm(seconds);
#if !defined(__SANITIZE_ADDRESS__)
    const rlimit memory{2ull << 30, 2ull << 30};
    ::setrlimit(RLIMIT_AS, &memory);
#endif
    std::string result;
    try {
      result = work();
    } catch (const std::exception& e) {
      result = std::string("threw ") + e.what();
    }
    const ssize_t written = ::write(out[1], result.data(), result.size());
    ::_exit(written == static_cast<ssize_t>(result.size()) ? 0 : 1);
  }
  ::close(out[1]);
  std::string result;
  char buffer[4096];
  for (ssize_t got; (got = ::read(out[0], buffer, sizeof buffer)) > 0;)
    result.append(buffer, static_cast<std::size_t>(got));
  ::close(out[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (WIFSIGNALED(status)) return WTERMSIG(status) == SIGALRM ? "timed out" : "died of a signal";
  return result;
}

enum class Kind { Regular, NamedPipe, LinkToZero, Oversized };

struct KindRow {
  const char* name;
  Kind kind;
  const char* reason;  // why loads and saves refuse it; nullptr for a file they take
};

void make(Kind kind, const std::string& path) {
  switch (kind) {
    case Kind::Regular:
      writeFile(path, kSettings);
      break;
    case Kind::NamedPipe:
      ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
      break;
    case Kind::LinkToZero: {
      // The system's device, which only root could replace; as root a device like it in the
      // test's folder, so that a fault replaces that one.
      std::string device = "/dev/zero";
      if (::geteuid() == 0) {
        device = path + ".zero";
        ASSERT_EQ(::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 5)), 0);
      }
      fs::create_symlink(device, path);
      break;
    }
    case Kind::Oversized:  // sparse: no disk space taken
      writeFile(path, kSettings);
      fs::resize_file(path, (std::uintmax_t{256} << 20) + 1);  // one byte over 256 MB
      break;
  }
}

// What is at `path`: its kind, size and link target, to tell that a refused save left it.
std::string whatIsAt(const std::string& path) {
  struct stat status {};
  if (::lstat(path.c_str(), &status) != 0) return "nothing";
  std::string what = std::to_string(status.st_mode & S_IFMT) + " " + std::to_string(status.st_size);
  if (S_ISLNK(status.st_mode)) what += " -> " + fs::read_symlink(path).string();
  return what;
}

class FileKinds : public ::testing::TestWithParam<KindRow> {};

// Only regular files are read and replaced, and only up to the limit: anything else loads as
// unreadable, without waiting, and a save refuses it with the reason, leaving it as it was.
TEST_P(FileKinds, OnlyRegularFilesWithinTheLimitAreLoadedAndSaved) {
  const KindRow& row = GetParam();
  TempFolder folder;
  const std::string path = folder.file("svrcfg_skirmish.ini");
  make(row.kind, path);
  const std::string before = whatIsAt(path);
  const std::size_t entriesBefore = entriesIn(folder.path());
  // Replacing alone, without the read a save makes first, refuses the same (a larger file is
  // a regular one, which a save may replace).
  const bool replaceAlone = row.reason != nullptr && row.kind != Kind::Oversized;
  const std::string result = inChildWithin(20, [&] {
    const IniDocument loaded = IniDocument::load(path);
    std::string said = loaded.origin() == IniDocument::Origin::Read         ? "read"
                       : loaded.origin() == IniDocument::Origin::Unreadable ? "unreadable"
                                                                            : "missing";
    said += "|" + loaded.loadError();
    const FileStatus written = WriteINIValue(path, "Settings", "RadarMode", "2");
    said += "|" + std::string(written.ok ? "saved" : "refused") + "|" + written.error;
    if (replaceAlone) {
      const FileStatus replaced = IniDocument::fromBytes(kSettings).save(path);
      said += "|" + std::string(replaced.ok ? "saved" : "refused") + "|" + replaced.error;
    }
    return said;
  });
  SCOPED_TRACE(result);
  if (row.reason == nullptr) {
    EXPECT_EQ(result, "read||saved|");
    EXPECT_EQ(readFile(path), "[Settings]\nRadarMode=2\r\nSpawnWeapons=no\n");
    return;
  }
  const std::string refused = std::string("refused|The file could not be read: ") + row.reason;
  std::string expected = std::string("unreadable|") + row.reason + "|" + refused;
  if (replaceAlone) expected += std::string("|refused|") + row.reason;
  EXPECT_EQ(result, expected);
  EXPECT_EQ(whatIsAt(path), before);
  EXPECT_EQ(entriesIn(folder.path()), entriesBefore);  // no temporary file left either
}

INSTANTIATE_TEST_SUITE_P(
    Files, FileKinds,
    ::testing::Values(KindRow{"Regular", Kind::Regular, nullptr},
                      KindRow{"NamedPipe", Kind::NamedPipe, kNamedPipeReason},
                      KindRow{"LinkToDevZero", Kind::LinkToZero, kDeviceReason},
                      KindRow{"LargerThanTheLimit", Kind::Oversized, kTooLargeReason}),
    testing::RowName());

// A file at the limit that grows while it is read is refused. The grower holds the read (a
// permission event) until the file has grown: between the check of its size and the read, always.
TEST(Loading, AFileGrowingPastTheLimitWhileItIsReadIsRefused) {
  TempFolder folder;
  const std::string path = folder.file("s.ini");
  constexpr std::uintmax_t kLimit = std::uintmax_t{256} << 20;  // 256 MB
  writeFile(path, kSettings);
  fs::resize_file(path, kLimit);  // sparse: no disk space taken
  const int reads = ::fanotify_init(FAN_CLASS_CONTENT | FAN_CLOEXEC, O_RDONLY);
  if (reads < 0 || ::fanotify_mark(reads, FAN_MARK_ADD, FAN_ACCESS_PERM, AT_FDCWD, path.c_str())) {
    GTEST_SKIP() << "no fanotify permission events: " << std::strerror(errno);
  }
  std::atomic<bool> done = false;
  std::thread grower([&] {
    for (fanotify_event_metadata event{}; !done && ::read(reads, &event, sizeof event) > 0;) {
      if (fs::file_size(path) == kLimit) fs::resize_file(path, kLimit + 4096);
      const fanotify_response allow{event.fd, FAN_ALLOW};
      EXPECT_EQ(::write(reads, &allow, sizeof allow), ssize_t{sizeof allow});
      ::close(event.fd);
    }
  });
  const FileContents read = readFileContents(path);
  done = true;
  std::ifstream(path).get();  // a read of the test's own, which lets the grower go
  grower.join();
  ::close(reads);
  EXPECT_EQ(read.error + "|" + std::to_string(read.bytes.size()),
            std::string(kTooLargeReason) + "|0");
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

// When the folder was listed (at start-up, for the map list), relative to the leftover's arrival
// (on POSIX, where a save may use that listing).
enum class Listed { AfterLeftover, BeforeLeftover };

struct LeftoverRow {
  const char* name;
  const char* file;  // {ended} and {live} stand for process ids
  Listed listed;
  bool removed;  // by a successful save of svrcfg_skirmish.ini in the same folder
};

class StaleTemporaries : public ::testing::TestWithParam<LeftoverRow> {};

TEST_P(StaleTemporaries, ASaveRemovesOnlyThoseOfItsFileWhoseProcessHasEnded) {
  const LeftoverRow& row = GetParam();
  TempFolder folder;
  const ChildProcess ended(true);
  const ChildProcess live(false);
  ASSERT_NE(ended.pid, 0);
  ASSERT_NE(live.pid, 0);
  std::string name = row.file;
  for (const auto& [field, pid] :
       {std::pair{"{ended}", ended.pid}, std::pair{"{live}", live.pid}}) {
    if (const std::size_t at = name.find(field); at != std::string::npos) {
      name.replace(at, std::strlen(field), std::to_string(pid));
    }
  }
  if (row.listed == Listed::BeforeLeftover) {
    fs::last_write_time(folder.path(), fs::file_time_type::clock::now() - std::chrono::hours(1));
    ASSERT_TRUE(listFolder(folder.path().string()).has_value());  // the leftover then changes it
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
    ::testing::Values(LeftoverRow{"ArrivedAfterTheStartUpListing",
                                  ".svrcfg_skirmish.ini.corvane-{ended}-Ab12Cd",
                                  Listed::BeforeLeftover, true},
                      LeftoverRow{"OfALiveProcess", ".svrcfg_skirmish.ini.corvane-{live}-Ab12Cd",
                                  Listed::AfterLeftover, false},
                      LeftoverRow{"OfAnotherFile", ".other.ini.corvane-{ended}-Ab12Cd",
                                  Listed::AfterLeftover, false},
                      LeftoverRow{"WithoutAProcessId", ".svrcfg_skirmish.ini.corvane-Ab12Cd",
                                  Listed::AfterLeftover, false},
                      LeftoverRow{"NotHidden", "svrcfg_skirmish.ini.corvane-{ended}-Ab12Cd",
                                  Listed::AfterLeftover, false}),
    testing::RowName());

#endif  // _WIN32

}  // namespace
}  // namespace corvane
