// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a whole file and replacing a file crash-safely on POSIX systems.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <optional>
#include <string_view>
#include <vector>

#include "FolderListing.h"
#include "ReplaceFile.h"
#include "TemporaryNames.h"

namespace corvane {
namespace {

std::string reason(int error) {
  return std::strerror(error);
}

// Closes a file descriptor when it goes out of scope, unless released.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // Closes now and returns close()'s result (0, or -1 with errno set).
  int close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

// Why a file of mode `mode` is not read or replaced, or "" for a regular file.
std::string kindReason(mode_t mode) {
  if (S_ISREG(mode)) return {};
  if (S_ISDIR(mode)) return reason(EISDIR);
  if (S_ISFIFO(mode)) return kNamedPipeReason;
  if (S_ISCHR(mode) || S_ISBLK(mode)) return kDeviceReason;
  if (S_ISSOCK(mode)) return kSocketReason;
  return kOtherKindReason;
}

FileStamp stampOf(const struct stat& status) {
  FileStamp stamp;
  stamp.known = S_ISREG(status.st_mode);
  stamp.volume = static_cast<std::uint64_t>(status.st_dev);
  stamp.file = static_cast<std::uint64_t>(status.st_ino);
  stamp.size = static_cast<std::uint64_t>(status.st_size);
  stamp.modified = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 +
                   status.st_mtim.tv_nsec;
  return stamp;
}

// The stamp of a file about to be read, known only when its modification time is settled.
FileStamp settledStampOf(const struct stat& status) {
  FileStamp stamp = stampOf(status);
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  const std::int64_t nowNs = static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
  if (nowNs - stamp.modified < kUnsettledNanoseconds) stamp.known = false;
  return stamp;
}

// The folder part of a path including its final '/', or "" for a bare file name.
std::string folderPrefixOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Six characters from [A-Za-z0-9] that differ from call to call and from process to process.
std::string randomSuffix() {
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  static std::uint64_t counter = 0;
  std::uint64_t state =
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
      (static_cast<std::uint64_t>(::getpid()) << 32) ^ (++counter * 0x9E3779B97F4A7C15ull);
  state ^= state >> 31;  // splitmix64 finaliser
  state *= 0xBF58476D1CE4E5B9ull;
  state ^= state >> 27;
  state *= 0x94D049BB133111EBull;
  state ^= state >> 31;
  std::string suffix;
  for (int i = 0; i < 6; ++i) {
    suffix += kAlphabet[state % 62];
    state /= 62;
  }
  return suffix;
}

// Follows symbolic links from `path` to the file they lead to. `exists` tells whether that file
// exists; `status` is its lstat when it does. Returns the failure's errno, or 0.
int resolveLinks(const std::string& path, std::string& target, bool& exists, struct stat& status) {
  constexpr int kMaxLinks = 40;
  target = path;
  for (int links = 0;; ++links) {
    if (::lstat(target.c_str(), &status) != 0) {
      if (errno != ENOENT) return errno;
      exists = false;
      return 0;
    }
    if (!S_ISLNK(status.st_mode)) {
      exists = true;
      return 0;
    }
    if (links == kMaxLinks) return ELOOP;
    std::string destination(static_cast<std::size_t>(status.st_size) + 256, '\0');
    const ssize_t length = ::readlink(target.c_str(), destination.data(), destination.size());
    if (length < 0) return errno;
    destination.resize(static_cast<std::size_t>(length));
    target = destination.starts_with('/') ? destination : folderPrefixOf(target) + destination;
  }
}

// Removes from `folder` (with its final '/', or "" for the current folder) the temporary files
// of `fileName` left by processes that no longer run, such as a save killed halfway. A temporary
// file of a live process (this one included), or of one this process may not signal, is kept.
// The candidates are `knownHiddenNames` when given (the hidden names of a listing of the folder
// taken earlier, the folder unchanged since), otherwise the folder is listed here.
// Failures are ignored: stale files cost space only.
void removeStaleTemporaries(const std::string& folder, std::string_view fileName,
                            const std::optional<std::vector<std::string>>& knownHiddenNames) {
  const std::string prefix = temporaryPrefixOf(fileName);
  const pid_t self = ::getpid();
  const auto removeIfStale = [&](const char* name) {
    const std::uint64_t id = creatorOfTemporary(name, prefix);
    const auto creator = static_cast<pid_t>(id);
    if (id == 0 || static_cast<std::uint64_t>(creator) != id || creator == self) return;
    if (::kill(creator, 0) == 0 || errno != ESRCH) return;
    ::unlink((folder + name).c_str());
  };
  if (knownHiddenNames) {
    for (const std::string& name : *knownHiddenNames) removeIfStale(name.c_str());
    return;
  }
  DIR* listing = ::opendir(folder.empty() ? "." : folder.c_str());
  if (listing == nullptr) return;
  while (const dirent* entry = ::readdir(listing)) removeIfStale(entry->d_name);
  ::closedir(listing);
}

int writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

// Writes, flushes and closes the temporary file; returns the failure's errno, or 0.
int fillTemporaryFile(FileDescriptor& file, std::string_view bytes, bool keepStatus,
                      const struct stat& status) {
  if (const int error = writeAll(file.get(), bytes)) return error;
  if (keepStatus) {
    if (::fchown(file.get(), status.st_uid, status.st_gid) != 0) {
      // Only the owner or root may give a file away; the new file then stays ours.
    }
    if (::fchmod(file.get(), status.st_mode & 07777) != 0) return errno;
  }
  if (::fsync(file.get()) != 0) return errno;
  if (file.close() != 0) return errno;
  return 0;
}

}  // namespace

FileContents readFileContents(const std::string& path) {
  FileContents contents;
  const auto fail = [&contents](std::string why) {
    contents.outcome = FileContents::Outcome::Failed;
    contents.error = std::move(why);
    contents.bytes.clear();
    return contents;
  };
  // The kind is known before the file is opened: opening a device can do something of its own.
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return contents;
    return fail(reason(errno));
  }
  if (std::string why = kindReason(status.st_mode); !why.empty()) return fail(std::move(why));
  // Should a named pipe take the file's place meanwhile, O_NONBLOCK keeps open() from waiting
  // for a writer, and fstat() tells what was opened.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return contents;
    return fail(reason(errno));
  }
  FileDescriptor file(fd);
  if (::fstat(fd, &status) != 0) return fail(reason(errno));
  if (std::string why = kindReason(status.st_mode); !why.empty()) return fail(std::move(why));
  if (static_cast<std::uintmax_t>(status.st_size) > kLargestReadableFileBytes) {
    return fail(kTooLargeReason);
  }
  contents.stamp = settledStampOf(status);
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  // One byte more than the size, so that an unchanged file is read in one call plus the call
  // that finds the end; files that report no size (or grow) are read in growing blocks, never
  // past one byte over the limit.
  std::string& bytes = contents.bytes;
  bytes.resize(status.st_size > 0 ? static_cast<std::size_t>(status.st_size) + 1 : 4096);
  std::size_t filled = 0;
  for (;;) {
    if (filled > kLargestReadableFileBytes) return fail(kTooLargeReason);
    if (filled == bytes.size()) {
      bytes.resize(std::min(bytes.size() * 2, kLargestReadableFileBytes + 1));
    }
    const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
    if (got < 0) {
      if (errno == EINTR) continue;
      return fail(reason(errno));
    }
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
  }
  bytes.resize(filled);
  contents.outcome = FileContents::Outcome::Read;
  return contents;
}

FileStatus replaceFileContents(const std::string& path, std::string_view bytes) {
  if (path.empty()) return FileStatus::failure(reason(ENOENT));
  std::string target;
  bool exists = false;
  struct stat status {};
  if (const int error = resolveLinks(path, target, exists, status)) {
    return FileStatus::failure(reason(error));
  }
  if (exists) {
    if (std::string why = kindReason(status.st_mode); !why.empty()) {
      return FileStatus::failure(why);
    }
  }
  // A file without any write permission bit is read-only; root could write it, but must not.
  if (exists && (status.st_mode & 0222) == 0) return FileStatus::failure(reason(EACCES));

  const std::string folder = folderPrefixOf(target);
  const std::string fileName = target.substr(folder.size());
  // When the folder was listed earlier in this run (the Data folder at start-up) and has not
  // changed since, that listing's names serve the search for stale temporaries below, which
  // then needs no listing of its own. Taken before this save changes the folder.
  const std::optional<std::vector<std::string>> knownHiddenNames =
      hiddenNamesOfUnchangedFolder(folder);
  const std::string hiddenName =
      folder + temporaryPrefixOf(fileName) + std::to_string(::getpid()) + "-";
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; fd < 0; ++attempt) {
    temporary = hiddenName + randomSuffix();
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && (errno != EEXIST || attempt == 100)) return FileStatus::failure(reason(errno));
  }

  FileDescriptor file(fd);
  int error = fillTemporaryFile(file, bytes, exists, status);
  // The file this save leaves, as it will be under its name (a rename keeps all of the stamp).
  struct stat written {};
  if (error == 0 && ::stat(temporary.c_str(), &written) != 0) error = errno;
  if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temporary.c_str());
    return FileStatus::failure(reason(error));
  }

  // Make the rename itself durable. The file is already replaced, so a failure here is not
  // reported: the new contents are in place either way.
  const int folderFd =
      ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd >= 0) {
    ::fsync(folderFd);
    ::close(folderFd);
  }
  removeStaleTemporaries(folder, fileName, knownHiddenNames);
  FileStatus saved = FileStatus::success();
  saved.stamp = stampOf(written);
  return saved;
}

FileStamp currentStamp(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 ? stampOf(status) : FileStamp{};
}

}  // namespace corvane
