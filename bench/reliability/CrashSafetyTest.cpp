// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Crash safety of the save: a helper process that saves in a loop is killed with SIGKILL at
// random moments, and the file must always be the old or the new file, whole; temporary files
// left by killed saves are removed by the next save.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "CrashSaveSettings.h"
#include "IniDocument.h"
#include "TempFolder.h"
#include "SkirmishSettings.h"

extern char** environ;

namespace corvane::reliability {
namespace {

constexpr int kKills = 500;
// The longest wait between the helper's first save and its kill. A save takes from a fraction
// of a millisecond (page cache) to several (fsync on a busy disk); the kills must land in every
// step of it, so the wait spans a few saves.
constexpr int kLongestWaitMicroseconds = 6000;

const std::string kFileName = "svrcfg_skirmish.ini";

// The names in `folder`, sorted.
std::vector<std::string> namesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The temporary-file names that saves of `fileName` by process `pid` use, up to the random part.
std::string temporaryPrefix(const std::string& fileName, pid_t pid) {
  return "." + fileName + ".corvane-" + std::to_string(pid) + "-";
}

// A running crash_save_helper whose standard output is read through a pipe.
class SavingHelper {
 public:
  explicit SavingHelper(const std::string& file) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return;
    output_ = ends[0];
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    std::string program = CORVANE_CRASH_SAVE_HELPER;
    std::string argument = file;
    char* arguments[] = {program.data(), argument.data(), nullptr};
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, arguments, environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
  }
  ~SavingHelper() {
    if (pid_ > 0) killAndReap();
    if (output_ >= 0) ::close(output_);
  }
  SavingHelper(const SavingHelper&) = delete;
  SavingHelper& operator=(const SavingHelper&) = delete;

  pid_t pid() const { return pid_; }

  // Waits for the helper's first byte; false when it ended without sending "R".
  bool waitUntilReady() {
    char first = 0;
    while (true) {
      const ssize_t got = ::read(output_, &first, 1);
      if (got < 0 && errno == EINTR) continue;
      return got == 1 && first == 'R';
    }
  }

  // Kills the helper with SIGKILL and waits for it; true when SIGKILL is what ended it (not an
  // exit of its own, which means a save failed).
  bool killAndReap() {
    ::kill(pid_, SIGKILL);
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
  }

  // The number of saves the helper completed (after it has ended).
  int completedSaves() {
    int saves = 0;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(output_, buffer, sizeof buffer)) != 0) {
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) break;
      for (ssize_t i = 0; i < got; ++i) saves += buffer[i] == '.';
    }
    return saves;
  }

 private:
  pid_t pid_ = -1;
  int output_ = -1;
};

TEST(CrashSafety, aSaveKilledAtAnyMomentLeavesTheOldOrTheNewFileWhole) {
  testing::TempFolder folder;
  const std::string file = folder.file(kFileName);
  testing::writeFile(file, kForeignSettingsFile);
  const QString path = QString::fromStdString(file);

  // The two files the helper alternates between, saved here the way it saves them (the first
  // save of each set rewrites lines that later saves keep).
  ASSERT_TRUE(saveSkirmishSettings(path, crashTestSettings(0)).ok);
  ASSERT_TRUE(saveSkirmishSettings(path, crashTestSettings(1)).ok);
  const std::string second = testing::readFile(file);
  ASSERT_TRUE(saveSkirmishSettings(path, crashTestSettings(0)).ok);
  const std::string first = testing::readFile(file);
  ASSERT_TRUE(saveSkirmishSettings(path, crashTestSettings(1)).ok);
  ASSERT_EQ(testing::readFile(file), second) << "saves of the two sets must alternate two files";
  ASSERT_TRUE(saveSkirmishSettings(path, crashTestSettings(0)).ok);
  ASSERT_EQ(testing::readFile(file), first) << "saves of the two sets must alternate two files";
  ASSERT_NE(first, second);
  ASSERT_NE(second.find("[Bots]\r\nCount=6\nNames=Havoc;Sakura;Gunner\r\n"), std::string::npos);

  const unsigned seed = std::random_device()();
  SCOPED_TRACE("random seed " + std::to_string(seed));
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> wait(0, kLongestWaitMicroseconds);
  int killsDuringSave = 0;
  int completedSaves = 0;
  for (int kill = 1; kill <= kKills; ++kill) {
    SavingHelper helper(file);
    ASSERT_GT(helper.pid(), 0) << "cannot start " << CORVANE_CRASH_SAVE_HELPER;
    ASSERT_TRUE(helper.waitUntilReady()) << "the helper ended before saving";
    std::this_thread::sleep_for(std::chrono::microseconds(wait(random)));
    const pid_t pid = helper.pid();
    ASSERT_TRUE(helper.killAndReap()) << "the helper stopped by itself: a save failed";
    completedSaves += helper.completedSaves();

    const std::string now = testing::readFile(file);
    ASSERT_TRUE(now == first || now == second)
        << "after kill " << kill << " the file holds " << now.size() << " bytes that are neither "
        << "the old nor the new file (" << first.size() << " or " << second.size() << " bytes)";
    for (const std::string& name : namesIn(folder.path())) {
      if (name.starts_with(temporaryPrefix(kFileName, pid))) ++killsDuringSave;
    }
  }
  // Without kills inside saves this test would prove nothing.
  EXPECT_GT(killsDuringSave, 0) << "no kill landed while a temporary file existed";
  RecordProperty("kills", kKills);
  RecordProperty("killsWhileATemporaryFileExisted", killsDuringSave);
  RecordProperty("savesCompletedByTheHelpers", completedSaves);
  std::printf("%d kills, %d of them while a temporary file existed; %d saves completed\n", kKills,
              killsDuringSave, completedSaves);

  // The last save must change the file (a save of the settings it already holds writes
  // nothing), so that it replaces the file and clears what the kills left.
  const bool holdsSecond = testing::readFile(file) == second;
  ASSERT_TRUE(saveSkirmishSettings(path, crashTestSettings(holdsSecond ? 0 : 1)).ok);
  EXPECT_EQ(testing::readFile(file), holdsSecond ? first : second);
  EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{kFileName})
      << "the save after the kills must remove the temporary files they left";
}

}  // namespace
}  // namespace corvane::reliability
