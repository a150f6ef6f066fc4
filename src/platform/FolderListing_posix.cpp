// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Listing a folder in one pass on POSIX systems, and the hidden names remembered per folder.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>
#include <string_view>
#include <utility>

#include "FolderListing.h"

namespace corvane {
namespace {

// What identifies a folder and tells whether its entries may have changed.
struct FolderStamp {
  dev_t device = 0;
  ino_t inode = 0;
  timespec modified{};
  timespec statusChanged{};
};

FolderStamp stampOf(const struct stat& status) {
  return {status.st_dev, status.st_ino, status.st_mtim, status.st_ctim};
}

bool sameTime(const timespec& left, const timespec& right) {
  return left.tv_sec == right.tv_sec && left.tv_nsec == right.tv_nsec;
}

// The hidden names of the last listing of each folder listed, with the folder's stamp then.
struct RememberedListing {
  FolderStamp stamp;
  std::vector<std::string> hiddenNames;
};

std::mutex rememberedMutex;
std::map<std::pair<dev_t, ino_t>, RememberedListing>& rememberedListings() {
  static std::map<std::pair<dev_t, ino_t>, RememberedListing> listings;
  return listings;
}

bool leadsToRegularFile(int folderFd, const dirent& entry) {
  if (entry.d_type == DT_REG) return true;
  if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
  struct stat status {};
  return ::fstatat(folderFd, entry.d_name, &status, 0) == 0 && S_ISREG(status.st_mode);
}

}  // namespace

std::optional<std::vector<FolderEntry>> listFolder(const std::string& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(),
                        O_RDONLY | O_NONBLOCK | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  // The stamp from before the reading: a change while the folder is read makes it stale.
  struct stat status {};
  if (::fstat(fd, &status) != 0) {
    ::close(fd);
    return std::nullopt;
  }
  DIR* listing = ::fdopendir(fd);
  if (listing == nullptr) {
    ::close(fd);
    return std::nullopt;
  }
  std::vector<FolderEntry> entries;
  std::vector<std::string> hiddenNames;
  bool complete = true;
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(listing);
    if (entry == nullptr) {
      complete = errno == 0;
      break;
    }
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (name.starts_with('.')) hiddenNames.emplace_back(name);
    entries.push_back({std::string(name), leadsToRegularFile(fd, *entry)});
  }
  ::closedir(listing);
  if (!complete) return std::nullopt;

  const std::lock_guard lock(rememberedMutex);
  rememberedListings()[{status.st_dev, status.st_ino}] = {stampOf(status), std::move(hiddenNames)};
  return entries;
}

std::optional<std::vector<std::string>> hiddenNamesOfUnchangedFolder(const std::string& folder) {
  struct stat status {};
  if (::stat(folder.empty() ? "." : folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
    return std::nullopt;
  }
  const FolderStamp now = stampOf(status);
  const std::lock_guard lock(rememberedMutex);
  const auto remembered = rememberedListings().find({now.device, now.inode});
  if (remembered == rememberedListings().end() ||
      !sameTime(remembered->second.stamp.modified, now.modified) ||
      !sameTime(remembered->second.stamp.statusChanged, now.statusChanged)) {
    return std::nullopt;
  }
  return remembered->second.hiddenNames;
}

}  // namespace corvane
