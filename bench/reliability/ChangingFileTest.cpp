// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Loading a settings file while another thread changes it: truncated and grown again in place,
// or replaced by rename. Each load must give bytes the file really held at some moment.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "HostileFiles.h"
#include "IniDocument.h"
#include "TempFolder.h"
#include "SkirmishSettings.h"

namespace corvane::reliability {
namespace {

constexpr int kLoads = 500;

// Stops and joins a writer thread however the test ends: a failed assertion returns early, and a
// thread still joinable when it is destroyed would end the whole program.
struct StopWriter {
  std::atomic<bool>& stop;
  std::thread& writer;
  ~StopWriter() {
    stop = true;
    if (writer.joinable()) writer.join();
  }
};

// The whole file the in-place writer grows the file towards: the settings first, then about
// 16 KB of foreign sections.
std::string fullFile() {
  std::string bytes = kLoadedSection;
  for (int section = 0; bytes.size() < 16 * 1024; ++section) {
    bytes += "[Mod" + std::to_string(section) +
             "]\r\nEnabled=yes\r\nLevel=" + std::to_string(section) + "\r\n\r\n";
  }
  return bytes;
}

// Every settings value a prefix of `bytes` can read as: cuts within the settings section give
// partial values; every cut after it reads as the whole file.
std::vector<SkirmishSettings> settingsOfEveryPrefix(const std::string& bytes,
                                                    std::size_t sectionEnd) {
  std::vector<SkirmishSettings> possible;
  for (std::size_t cut = 0; cut <= bytes.size(); cut = cut <= sectionEnd ? cut + 1 : bytes.size()) {
    const SkirmishSettings settings =
        readSkirmishSettings(IniDocument::fromBytes(bytes.substr(0, cut)));
    if (std::find(possible.begin(), possible.end(), settings) == possible.end()) {
      possible.push_back(settings);
    }
    if (cut == bytes.size()) break;
  }
  return possible;
}

TEST(ChangingFile, aFileRewrittenInPlaceWhileReadStillLoads) {
  testing::TempFolder folder;
  const std::string file = folder.file("svrcfg_skirmish.ini");
  const std::string full = fullFile();
  testing::writeFile(file, full);
  const std::vector<SkirmishSettings> possible = settingsOfEveryPrefix(full, kLoadedSection.size());

  // The writer cuts the file at a random length and writes the rest back in 1 KB steps, so that
  // the file always holds a prefix of `full`.
  std::atomic<bool> stop = false;
  std::atomic<long> changes = 0;
  std::thread writer([&] {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC);
    std::mt19937 random(7);
    while (fd >= 0 && !stop) {
      std::size_t length = std::uniform_int_distribution<std::size_t>(0, full.size())(random);
      if (::ftruncate(fd, static_cast<off_t>(length)) != 0) break;
      while (length < full.size() && !stop) {
        const std::size_t step = std::min<std::size_t>(1024, full.size() - length);
        if (::pwrite(fd, full.data() + length, step, static_cast<off_t>(length)) < 0) break;
        length += step;
      }
      ++changes;
    }
    if (fd >= 0) ::close(fd);
  });

  const StopWriter stopWriter{stop, writer};

  // A read racing a write in place can see a torn mix of two states (the kernel does not make
  // read() atomic against a concurrent pwrite() or ftruncate()), so the loads are checked for
  // what no race can excuse: they finish, read the file, never read more than it ever held, and
  // mostly read a clean prefix.
  int lengthsSeen = 0;
  int cleanPrefixes = 0;
  std::vector<bool> seen(full.size() + 1);
  for (int load = 0; load < kLoads; ++load) {
    const IniDocument document = IniDocument::load(file);
    ASSERT_EQ(document.origin(), IniDocument::Origin::Read);
    const std::string bytes = document.bytes();
    ASSERT_LE(bytes.size(), full.size());
    if (bytes == full.substr(0, bytes.size())) {
      ++cleanPrefixes;
      EXPECT_NE(std::find(possible.begin(), possible.end(), readSkirmishSettings(document)),
                possible.end())
          << "load " << load << " gave settings that no prefix of the file holds";
    }
    if (!seen[bytes.size()]) ++lengthsSeen;
    seen[bytes.size()] = true;
  }
  EXPECT_GT(cleanPrefixes, kLoads / 2);
  EXPECT_GT(lengthsSeen, 1) << "the file never changed during the loads: nothing was tested";
  std::printf("%ld changes of the file, %d different lengths read\n", changes.load(), lengthsSeen);
  RecordProperty("changesOfTheFile", static_cast<int>(changes));
  RecordProperty("differentLengthsRead", lengthsSeen);
}

TEST(ChangingFile, aFileReplacedByRenameLoadsAsTheOldOrTheNewFile) {
  testing::TempFolder folder;
  const std::string file = folder.file("svrcfg_skirmish.ini");
  const HostileFile large = largeSettingsFile(64 * 1024);
  const std::string versions[2] = {large.bytes(), large.afterSave()};
  testing::writeFile(file, versions[0]);

  std::atomic<bool> stop = false;
  std::thread writer([&] {
    for (int version = 1; !stop; version ^= 1) {
      const std::string temporary = folder.file("next.ini");
      testing::writeFile(temporary, versions[version]);
      if (std::rename(temporary.c_str(), file.c_str()) != 0) break;
    }
  });
  const StopWriter stopWriter{stop, writer};

  int loadsOfEach[2] = {0, 0};
  for (int load = 0; load < kLoads; ++load) {
    const std::string bytes = IniDocument::load(file).bytes();
    ASSERT_TRUE(bytes == versions[0] || bytes == versions[1])
        << "load " << load << " read " << bytes.size() << " bytes of neither version";
    ++loadsOfEach[bytes == versions[1]];
    const SkirmishSettings settings = loadSkirmishSettings(QString::fromStdString(file));
    ASSERT_TRUE(settings == large.reads || settings == savedSettings()) << "load " << load;
  }
  EXPECT_GT(loadsOfEach[0], 0) << "only one version was ever read: nothing was tested";
  EXPECT_GT(loadsOfEach[1], 0) << "only one version was ever read: nothing was tested";
  std::printf("%d loads of the old file, %d of the new one\n", loadsOfEach[0], loadsOfEach[1]);
  RecordProperty("loadsOfTheOldFile", loadsOfEach[0]);
  RecordProperty("loadsOfTheNewFile", loadsOfEach[1]);
}

}  // namespace
}  // namespace corvane::reliability
