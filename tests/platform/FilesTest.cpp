// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The INI engine on real files: crash-safe replacing, links, refusals, calls that change nothing,
// how a path loads, and the removal of temporary files that killed saves left behind; on
// Windows, replacing against the system's attributes and sharing rules.
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

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

std::size_t entriesIn(const fs::path& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

// A call that changes nothing does not touch the file: the game reloads it when its time changes.
TEST(Replacing, CallsThatChangeNothingLeaveTheFileUnwritten) {
  TempFolder folder;
  writeFile(folder.file("s.ini"), kSettings);
  // An hour ago, as the file system holds it: any rewrite would set it to now.
  fs::last_write_time(folder.file("s.ini"),
                      fs::file_time_type::clock::now() - std::chrono::hours(1));
  const fs::file_time_type before = fs::last_write_time(folder.file("s.ini"));
  ReadINIValue(folder.file("s.ini"), "Settings", "RadarMode", "2");
  EXPECT_TRUE(DeleteINIKey(folder.file("s.ini"), "Settings", "TimeLimitMinutes").ok);
  EXPECT_TRUE(DeleteINIKey(folder.file("s.ini"), "Other", "RadarMode").ok);
  EXPECT_TRUE(WriteINIValue(folder.file("s.ini"), "Settings", "RadarMode", "1").ok);
  EXPECT_TRUE(DeleteINIKey(folder.file("missing.ini"), "Settings", "RadarMode").ok);
  EXPECT_EQ(fs::last_write_time(folder.file("s.ini")), before);
  EXPECT_EQ(entriesIn(folder.path()), 1u);
}

// Paths are UTF-8: a folder whose name no ANSI code page of Windows holds is read and replaced.
TEST(Replacing, AnyFolderNameTheSystemAllows) {
  TempFolder folder;
  const std::string file = folder.file("Карты 地图/svrcfg_skirmish.ini");
  writeFile(fs::path(std::u8string(file.begin(), file.end())), kSettings);
  ASSERT_TRUE(IniDocument::fromBytes("[Settings]\r\nRadarMode=0\r\n").save(file).ok);
  EXPECT_EQ(ReadINIValue(file, "Settings", "RadarMode", "2"), "0");
}

#ifdef _WIN32

// The system's words for `error`, as the engine reports them (UTF-8).
std::string systemReason(DWORD error) {
  wchar_t wide[512] = {};
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                 wide, 512, nullptr);
  char text[1024] = {};
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof text, nullptr, nullptr);
  std::string reason = text;
  while (!reason.empty() && std::strchr("\r\n .", reason.back()) != nullptr) reason.pop_back();
  return reason;
}

DWORD attributesOf(const std::string& path) {
  return GetFileAttributesA(path.c_str());
}

TEST(Replacing, KeepsHiddenAndSystemAttributesAndRefusesReadOnlyFiles) {
  TempFolder folder;
  writeFile(folder.file("s.ini"), kSettings);
  ASSERT_TRUE(SetFileAttributesA(folder.file("s.ini").c_str(),
                                 FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  ASSERT_TRUE(WriteINIValue(folder.file("s.ini"), "Settings", "RadarMode", "2").ok);
  EXPECT_EQ(attributesOf(folder.file("s.ini")) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
            DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM});
  EXPECT_EQ(readFile(folder.file("s.ini")), "[Settings]\nRadarMode=2\r\nSpawnWeapons=no\n");

  writeFile(folder.file("read-only.ini"), kSettings);
  ASSERT_TRUE(SetFileAttributesA(folder.file("read-only.ini").c_str(), FILE_ATTRIBUTE_READONLY));
  const FileStatus refused = WriteINIValue(folder.file("read-only.ini"), "Settings", "Key", "1");
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.error, systemReason(ERROR_ACCESS_DENIED));
  EXPECT_EQ(readFile(folder.file("read-only.ini")), kSettings);
  SetFileAttributesA(folder.file("read-only.ini").c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(entriesIn(folder.path()), 2u);
}

TEST(Replacing, FailsWhileAnotherProgramHoldsTheFileWithoutDeleteSharing) {
  TempFolder folder;
  writeFile(folder.file("s.ini"), kSettings);
  const HANDLE held = CreateFileA(folder.file("s.ini").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const FileStatus written = WriteINIValue(folder.file("s.ini"), "Settings", "RadarMode", "2");
  CloseHandle(held);
  EXPECT_FALSE(written.ok);
  EXPECT_FALSE(written.error.empty());
  EXPECT_EQ(readFile(folder.file("s.ini")), kSettings);
  EXPECT_EQ(entriesIn(folder.path()), 1u);  // no temporary file left
  EXPECT_TRUE(WriteINIValue(folder.file("s.ini"), "Settings", "RadarMode", "2").ok);  // let go
}

// A device is neither read nor written, and a file over the limit is not read.
TEST(Loading, DevicesAndFilesOverTheLimitAreNotRead) {
  TempFolder folder;
  const std::string large = folder.file("large.ini");
  writeFile(large, kSettings);
  fs::resize_file(large, (std::uintmax_t{256} << 20) + 1);  // one byte over 256 MB
  for (const auto& [path, why] :
       {std::pair{std::string("NUL"), kDeviceReason},
        std::pair{std::string("\\\\.\\NUL"), kDeviceReason}, std::pair{large, kTooLargeReason}}) {
    SCOPED_TRACE(path);
    const IniDocument loaded = IniDocument::load(path);
    EXPECT_EQ(loaded.origin(), IniDocument::Origin::Unreadable);
    EXPECT_EQ(loaded.loadError(), why);
    EXPECT_EQ(WriteINIValue(path, "Settings", "RadarMode", "2").error,
              std::string("The file could not be read: ") + why);
  }
  EXPECT_EQ(fs::file_size(large), (std::uintmax_t{256} << 20) + 1);
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

enum class Kind { Regular, NamedPipe, LinkToZero, LinkToNull, Socket, Folder, Oversized };

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
    case Kind::LinkToZero:
    case Kind::LinkToNull: {
      // The system's device, which only root could replace; as root a device like it in the
      // test's folder, so that a fault replaces that one.
      const bool zero = kind == Kind::LinkToZero;
      std::string device = zero ? "/dev/zero" : "/dev/null";
      if (::geteuid() == 0) {
        device = path + (zero ? ".zero" : ".null");
        ASSERT_EQ(::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, zero ? 5 : 3)), 0);
      }
      fs::create_symlink(device, path);
      break;
    }
    case Kind::Socket: {
      const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
      sockaddr_un address{};
      address.sun_family = AF_UNIX;
      ASSERT_LT(path.size(), sizeof address.sun_path);
      std::strcpy(address.sun_path, path.c_str());
      ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
      ::close(fd);
      break;
    }
    case Kind::Folder:
      fs::create_directory(path);
      break;
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
                      KindRow{"LinkToDevNull", Kind::LinkToNull, kDeviceReason},
                      KindRow{"Socket", Kind::Socket, kSocketReason},
                      KindRow{"Folder", Kind::Folder, "Is a directory"},
                      KindRow{"LargerThanTheLimit", Kind::Oversized, kTooLargeReason}),
    testing::RowName());

// A file at the limit that grows as soon as it is opened, while it is read: the read ends, refused
// or with what the file held within the limit, never with more.
TEST(Loading, AFileGrowingPastTheLimitWhileItIsReadIsRefused) {
  TempFolder folder;
  const std::string path = folder.file("s.ini");
  constexpr std::uintmax_t kLimit = std::uintmax_t{256} << 20;  // 256 MB
  writeFile(path, kSettings);
  fs::resize_file(path, kLimit);  // sparse: no disk space taken
  const int opened = ::inotify_init1(IN_CLOEXEC);
  ASSERT_GE(::inotify_add_watch(opened, path.c_str(), IN_OPEN), 0);
  std::thread grower([&] {
    char event[sizeof(inotify_event) + 256];
    if (::read(opened, event, sizeof event) > 0) fs::resize_file(path, kLimit + 4096);
  });
  const std::string result = inChildWithin(20, [&] {
    const FileContents read = readFileContents(path);
    return read.error + "|" + std::to_string(read.bytes.size());
  });
  std::ifstream(path).close();  // lets the grower go should the child never have opened the file
  grower.join();
  ::close(opened);
  EXPECT_TRUE(result == std::string(kTooLargeReason) + "|0" ||
              result == "|" + std::to_string(kLimit))
      << result;
}

#endif  // _WIN32

// --- temporary files left by killed saves -----------------------------------------------------

// A child process that runs until the object goes, or (`ended`) one that has ended already.
#ifdef _WIN32
struct ChildProcess {
  PROCESS_INFORMATION process{};
  unsigned long pid = 0;
  explicit ChildProcess(bool ended) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    wchar_t command[] = L"cmd.exe /c exit";
    // A suspended process runs, as far as others can tell, until it is ended.
    if (!CreateProcessW(nullptr, command, nullptr, nullptr, FALSE,
                        ended ? CREATE_NO_WINDOW : CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process)) {
      return;
    }
    pid = process.dwProcessId;
    if (ended) WaitForSingleObject(process.hProcess, INFINITE);
  }
  ~ChildProcess() {
    if (pid == 0) return;
    TerminateProcess(process.hProcess, 0);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
};
unsigned long ownProcessId() {
  return GetCurrentProcessId();
}
#else
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
pid_t ownProcessId() {
  return ::getpid();
}
#endif

// When the folder was listed (at start-up, for the map list), relative to the leftover's arrival
// (on POSIX, where a save may use that listing).
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
  ASSERT_NE(ended.pid, 0);
  ASSERT_NE(live.pid, 0);
  std::string name = row.file;
  for (const auto& [field, pid] : {std::pair{"{ended}", ended.pid}, std::pair{"{live}", live.pid},
                                   std::pair{"{self}", ownProcessId()}}) {
    if (const std::size_t at = name.find(field); at != std::string::npos) {
      name.replace(at, std::strlen(field), std::to_string(pid));
    }
  }
#ifndef _WIN32
  if (row.listed == Listed::BeforeLeftover) {
    fs::last_write_time(folder.path(), fs::file_time_type::clock::now() - std::chrono::hours(1));
    ASSERT_TRUE(listFolder(folder.path().string()).has_value());  // the leftover then changes it
  }
#endif
  writeFile(folder.path() / name, "[Settings]\r\nTimeLimitMinutes=1");
#ifndef _WIN32
  if (row.listed == Listed::AfterLeftover) {
    ASSERT_TRUE(listFolder(folder.path().string()).has_value());
  }
#endif
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
