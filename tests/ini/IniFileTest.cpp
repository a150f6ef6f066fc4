// The INI engine on real files: loading, crash-safe replacing, links, refusals and no-op calls.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <thread>

#include "IniDocument.h"
#include "IniProfile.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

// A fresh temporary folder per test, removed afterwards.
class IniFiles : public ::testing::Test {
 public:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "corvane-ini-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string path(const std::string& name) const { return (folder_ / name).string(); }

  void write(const std::string& name, const std::string& bytes, fs::perms mode = fs::perms(0644)) {
    std::ofstream(path(name), std::ios::binary) << bytes;
    fs::permissions(path(name), mode);
  }

  std::string read(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  struct stat status(const std::string& name) const {
    struct stat result {};
    EXPECT_EQ(::lstat(path(name).c_str(), &result), 0) << name;
    return result;
  }

  // Every entry of the folder with its type, permission bits and contents.
  std::map<std::string, std::string> snapshot() const {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(folder_)) {
      const fs::file_status kind = entry.symlink_status();
      const std::string name = entry.path().lexically_relative(folder_).string();
      std::string& description = entries[name];
      description = std::to_string(static_cast<int>(kind.type())) + " " +
                    std::to_string(static_cast<int>(kind.permissions())) + " ";
      if (fs::is_regular_file(kind)) description += read(name);
    }
    return entries;
  }

  fs::path folder_;
};

const std::string kSettings = "[Settings]\nRadarMode=1\nSpawnWeapons=no\n";

TEST_F(IniFiles, WriteCreatesAMissingFileWithCrLfLines) {
  ASSERT_TRUE(WriteINIValue(path("new.ini"), "Settings", "Key", "Value").ok);
  EXPECT_EQ(read("new.ini"), "[Settings]\r\nKey=Value\r\n");
  EXPECT_EQ(snapshot().size(), 1u);
}

TEST_F(IniFiles, SaveReplacesTheFileAndKeepsItsPermissionBits) {
  write("s.ini", kSettings, fs::perms(0640));
  const ino_t before = status("s.ini").st_ino;
  ASSERT_TRUE(WriteINIValue(path("s.ini"), "Settings", "RadarMode", "2").ok);
  EXPECT_NE(status("s.ini").st_ino, before);  // a new file renamed over the old one
  ASSERT_TRUE(DeleteINIKey(path("s.ini"), "Settings", "SpawnWeapons").ok);
  EXPECT_EQ(read("s.ini"), "[Settings]\nRadarMode=2\r\n");
  EXPECT_EQ(status("s.ini").st_mode & 07777, 0640u);
  EXPECT_EQ(snapshot().size(), 1u);  // and no temporary file left
}

TEST_F(IniFiles, SymbolicLinksAreWrittenThroughAndStayLinks) {
  fs::create_directory(path("real"));
  write("real/s.ini", kSettings);
  fs::create_symlink("real/s.ini", path("link.ini"));
  fs::create_symlink("link.ini", path("link2.ini"));
  fs::create_symlink("real/created.ini", path("dangling.ini"));

  ASSERT_TRUE(WriteINIValue(path("link2.ini"), "Settings", "RadarMode", "0").ok);
  ASSERT_TRUE(WriteINIValue(path("dangling.ini"), "Settings", "Key", "Value").ok);

  EXPECT_EQ(read("real/s.ini"), "[Settings]\nRadarMode=0\r\nSpawnWeapons=no\n");
  EXPECT_EQ(read("real/created.ini"), "[Settings]\r\nKey=Value\r\n");
  for (const char* link : {"link.ini", "link2.ini", "dangling.ini"}) {
    EXPECT_TRUE(fs::is_symlink(path(link))) << link;
  }
  EXPECT_EQ(snapshot().size(), 6u);
}

TEST_F(IniFiles, LoadReadsToTheEndOfAFileThatReportsNoSize) {
  ASSERT_EQ(::mkfifo(path("pipe.ini").c_str(), 0600), 0);
  const std::string bytes = "[Settings]\r\n" + std::string(3 * 4096, ';') + "\r\nRadarMode=0\r\n";
  std::thread writer([&] { std::ofstream(path("pipe.ini"), std::ios::binary) << bytes; });
  const IniDocument document = IniDocument::load(path("pipe.ini"));
  writer.join();
  EXPECT_EQ(document.origin(), IniDocument::Origin::Read);
  EXPECT_EQ(document.bytes(), bytes);
}

// --- refused writes leave the folder exactly as it was ---------------------------------------

struct RefusalRow {
  const char* name;
  std::function<std::string(IniFiles&)> prepare;  // returns the file name to write
  const char* reason;
};

void PrintTo(const RefusalRow& row, std::ostream* out) {
  *out << row.name;
}

class RefusedWrites : public IniFiles, public ::testing::WithParamInterface<RefusalRow> {};

TEST_P(RefusedWrites, ChangeNothingAndSayWhy) {
  const std::string name = GetParam().prepare(*this);
  const auto before = snapshot();
  const FileStatus written = WriteINIValue(path(name), "Settings", "RadarMode", "2");
  EXPECT_FALSE(written.ok);
  EXPECT_NE(written.error.find(GetParam().reason), std::string::npos) << written.error;
  const FileStatus deleted = DeleteINIKey(path(name), "Settings", "RadarMode");
  if (!deleted.ok) {  // there is no key to delete behind a file used as a folder
    EXPECT_NE(deleted.error.find(GetParam().reason), std::string::npos) << deleted.error;
  }
  EXPECT_EQ(snapshot(), before);
}

INSTANTIATE_TEST_SUITE_P(Ini, RefusedWrites,
                         ::testing::Values(RefusalRow{"ReadOnlyFileEvenForRoot",
                                                      [](IniFiles& files) {
                                                        files.write("s.ini", kSettings,
                                                                    fs::perms(0444));
                                                        return std::string("s.ini");
                                                      },
                                                      "Permission denied"},
                                           RefusalRow{
                                               "ReadOnlyFileBehindALink",
                                               [](IniFiles& files) {
                                                 files.write("s.ini", kSettings, fs::perms(0440));
                                                 fs::create_symlink("s.ini", files.path("l.ini"));
                                                 return std::string("l.ini");
                                               },
                                               "Permission denied"},
                                           RefusalRow{"FolderAtThePath",
                                                      [](IniFiles& files) {
                                                        fs::create_directory(files.path("s.ini"));
                                                        return std::string("s.ini");
                                                      },
                                                      "Is a directory"},
                                           RefusalRow{"FileInsteadOfAFolder",
                                                      [](IniFiles& files) {
                                                        files.write("s.ini", kSettings);
                                                        return std::string("s.ini/x.ini");
                                                      },
                                                      "Not a directory"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(IniFiles, WriteIntoAMissingFolderFailsAndCreatesNothing) {
  const FileStatus status = WriteINIValue(path("missing/s.ini"), "Settings", "RadarMode", "2");
  EXPECT_FALSE(status.ok);
  EXPECT_EQ(status.error, std::strerror(ENOENT));
  EXPECT_TRUE(snapshot().empty());
}

TEST_F(IniFiles, FailedWriteLeavesNoTemporaryFile) {
  write("s.ini", kSettings);
  const auto before = snapshot();
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
  rlimit small = limit;
  small.rlim_cur = 8;  // every write past 8 bytes fails
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const FileStatus status = WriteINIValue(path("s.ini"), "Settings", "RadarMode", "2");
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
  EXPECT_FALSE(status.ok);
  EXPECT_EQ(status.error, std::strerror(EFBIG));
  EXPECT_EQ(snapshot(), before);
}

TEST_F(IniFiles, UnreadableDocumentRefusesToSave) {
  write("s.ini", kSettings);
  const IniDocument folder = IniDocument::load(folder_.string());
  EXPECT_EQ(folder.origin(), IniDocument::Origin::Unreadable);
  EXPECT_EQ(folder.loadError(), std::strerror(EISDIR));
  const FileStatus status = folder.save(path("s.ini"));
  EXPECT_FALSE(status.ok);
  EXPECT_EQ(status.error, "The file could not be read: " + folder.loadError());
  EXPECT_EQ(read("s.ini"), kSettings);
}

// --- calls that change nothing do not touch the file -----------------------------------------

struct NoChangeRow {
  const char* name;
  std::function<bool(const std::string& file)> call;  // returns whether the call reported success
};

void PrintTo(const NoChangeRow& row, std::ostream* out) {
  *out << row.name;
}

class CallsThatChangeNothing : public IniFiles,
                               public ::testing::WithParamInterface<NoChangeRow> {};

TEST_P(CallsThatChangeNothing, LeaveTheFileUnwritten) {
  write("s.ini", kSettings);
  const struct stat before = status("s.ini");
  EXPECT_TRUE(GetParam().call(path("s.ini")));
  EXPECT_TRUE(GetParam().call(path("missing.ini")));
  const struct stat after = status("s.ini");
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
  EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
  EXPECT_FALSE(fs::exists(path("missing.ini")));
  EXPECT_EQ(read("s.ini"), kSettings);
}

INSTANTIATE_TEST_SUITE_P(
    Ini, CallsThatChangeNothing,
    ::testing::Values(NoChangeRow{"ReadOfAKey",
                                  [](const std::string& file) {
                                    ReadINIValue(file, "Settings", "RadarMode", "2");
                                    return true;
                                  }},
                      NoChangeRow{"DeleteOfAMissingKey",
                                  [](const std::string& file) {
                                    return DeleteINIKey(file, "Settings", "TimeLimitMinutes").ok;
                                  }},
                      NoChangeRow{"DeleteInAMissingSection",
                                  [](const std::string& file) {
                                    return DeleteINIKey(file, "Other", "RadarMode").ok;
                                  }},
                      NoChangeRow{"WriteOfTheValueAlreadyThere",
                                  [](const std::string& file) {
                                    return file.ends_with(
                                               "missing.ini") ||  // a write would create it
                                           WriteINIValue(file, "Settings", "RadarMode", "1").ok;
                                  }}),
    [](const auto& info) { return std::string(info.param.name); });

// --- how load() finds a path ------------------------------------------------------------------

struct LoadRow {
  const char* name;
  std::function<std::string(IniFiles&)> prepare;  // returns the path to load
  IniDocument::Origin origin;
};

void PrintTo(const LoadRow& row, std::ostream* out) {
  *out << row.name;
}

class Loading : public IniFiles, public ::testing::WithParamInterface<LoadRow> {};

TEST_P(Loading, TellsHowTheFileWasFound) {
  const IniDocument document = IniDocument::load(GetParam().prepare(*this));
  EXPECT_EQ(document.origin(), GetParam().origin);
  EXPECT_EQ(document.loadError().empty(), GetParam().origin != IniDocument::Origin::Unreadable);
  if (GetParam().origin == IniDocument::Origin::Read) {
    EXPECT_NE(document.bytes(), "");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Ini, Loading,
    ::testing::Values(LoadRow{"MissingFile", [](IniFiles& f) { return f.path("none.ini"); },
                              IniDocument::Origin::Missing},
                      LoadRow{"MissingFolder", [](IniFiles& f) { return f.path("none/s.ini"); },
                              IniDocument::Origin::Missing},
                      LoadRow{"FileInsteadOfAFolder",
                              [](IniFiles& f) {
                                f.write("s.ini", kSettings);
                                return f.path("s.ini/x.ini");
                              },
                              IniDocument::Origin::Missing},
                      LoadRow{"Folder", [](IniFiles& f) { return f.path(""); },
                              IniDocument::Origin::Unreadable},
                      LoadRow{"ProcFileThatReportsNoSize",
                              [](IniFiles&) { return std::string("/proc/self/status"); },
                              IniDocument::Origin::Read}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace corvane
