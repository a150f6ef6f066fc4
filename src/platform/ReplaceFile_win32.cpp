// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a whole file and replacing a file crash-safely on Windows.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "ReplaceFile.h"
#include "TemporaryNames.h"

namespace corvane {
namespace {

std::string utf8Of(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

std::wstring wideOfUtf8(std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
  return wide;
}

// Paths arrive as UTF-8, so that any folder name the system allows can be named, whatever the
// system's ANSI code page holds.
std::wstring widePath(const std::string& path) {
  return wideOfUtf8(path);
}

// The system's text for an error code (UTF-8), without the final full stop and line break.
std::string reason(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message =
      length ? utf8Of(std::wstring_view(text, length)) : "Error " + std::to_string(error);
  LocalFree(text);
  while (!message.empty() && std::string_view("\r\n .").find(message.back()) != std::string::npos) {
    message.pop_back();
  }
  return message;
}

// Closes a handle when it goes out of scope, unless closed before.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  HANDLE get() const { return handle_; }
  bool close() {
    const bool closed = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

// How often, and how far apart, the rename over a file that is held open is tried.
constexpr int kMoveAttempts = 40;
constexpr DWORD kMoveRetryMilliseconds = 25;

std::wstring randomSuffix() {
  static std::uint64_t counter = 0;
  std::uint64_t state = GetTickCount64() ^ (std::uint64_t{GetCurrentProcessId()} << 32) ^
                        (++counter * 0x9E3779B97F4A7C15ull);
  state ^= state >> 31;
  state *= 0xBF58476D1CE4E5B9ull;
  state ^= state >> 29;
  std::wstring suffix;
  for (int i = 0; i < 6; ++i, state /= 62) {
    suffix += L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"[state % 62];
  }
  return suffix;
}

// True when no process of id `id` runs any more. A process this one may not look at counts as
// running.
bool processEnded(std::uint64_t id) {
  if (id == 0 || id > MAXDWORD) return false;
  const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(id));
  if (process == nullptr) return GetLastError() == ERROR_INVALID_PARAMETER;
  const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
  CloseHandle(process);
  return ended;
}

// Removes from `folder` (with its final separator) the temporary files of the file named `name`
// left by processes that no longer run, such as a save killed halfway; those of running
// processes, this one included, stay. Failures are ignored: stale files cost space only.
void removeStaleTemporaries(const std::wstring& folder, const std::wstring& name) {
  const std::string prefix = temporaryPrefixOf(utf8Of(name));
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((folder + wideOfUtf8(prefix) + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::uint64_t creator = creatorOfTemporary(utf8Of(found.cFileName), prefix);
    if (creator != GetCurrentProcessId() && processEnded(creator)) {
      DeleteFileW((folder + found.cFileName).c_str());
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

// The file a path finally leads to, links followed; the path itself when it cannot be opened.
std::wstring finalPath(const std::wstring& path) {
  FileHandle file(CreateFileW(path.c_str(), 0,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) return path;
  std::wstring resolved(MAX_PATH, L'\0');
  DWORD length = GetFinalPathNameByHandleW(file.get(), resolved.data(),
                                           static_cast<DWORD>(resolved.size()), 0);
  if (length >= resolved.size()) {
    resolved.resize(length);
    length = GetFinalPathNameByHandleW(file.get(), resolved.data(), length, 0);
  }
  if (length == 0 || length >= resolved.size()) return path;
  resolved.resize(length);
  return resolved;
}

std::int64_t fileTimeValue(const FILETIME& time) {
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                   time.dwLowDateTime);
}

FileStamp stampOf(HANDLE file) {
  FileStamp stamp;
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandle(file, &information) ||
      (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return stamp;
  }
  stamp.known = true;
  stamp.volume = information.dwVolumeSerialNumber;
  stamp.file = (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) |
               information.nFileIndexLow;
  stamp.size =
      (static_cast<std::uint64_t>(information.nFileSizeHigh) << 32) | information.nFileSizeLow;
  stamp.modified = fileTimeValue(information.ftLastWriteTime);
  return stamp;
}

FileStamp stampOfPath(const std::wstring& path) {
  // Opened for its attributes alone: no reading, and no sharing refused to anyone.
  FileHandle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.get() == INVALID_HANDLE_VALUE ? FileStamp{} : stampOf(file.get());
}

}  // namespace

FileStamp currentStamp(const std::string& path) {
  return stampOfPath(widePath(path));
}

FileContents readFileContents(const std::string& path) {
  FileContents contents;
  FileHandle file(CreateFileW(widePath(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return contents;
    contents.outcome = FileContents::Outcome::Failed;
    contents.error = reason(error);
    return contents;
  }
  const auto fail = [&contents](std::string why) {
    contents.outcome = FileContents::Outcome::Failed;
    contents.error = std::move(why);
    contents.bytes.clear();
    return contents;
  };
  // Devices (NUL, CON, COM1...) and pipes are not files to read settings from.
  switch (GetFileType(file.get())) {
    case FILE_TYPE_DISK:
      break;
    case FILE_TYPE_PIPE:
      return fail(kNamedPipeReason);
    case FILE_TYPE_CHAR:
      return fail(kDeviceReason);
    default:
      return fail(kOtherKindReason);
  }
  contents.stamp = stampOf(file.get());
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  if ((fileTimeValue(now) - contents.stamp.modified) * 100 < kUnsettledNanoseconds) {
    contents.stamp.known = false;
  }
  LARGE_INTEGER size{};
  GetFileSizeEx(file.get(), &size);
  if (static_cast<unsigned long long>(size.QuadPart) > kLargestReadableFileBytes) {
    return fail(kTooLargeReason);
  }
  std::string& bytes = contents.bytes;
  bytes.resize(size.QuadPart > 0 ? static_cast<std::size_t>(size.QuadPart) + 1 : 4096);
  std::size_t filled = 0;
  for (;;) {
    if (filled > kLargestReadableFileBytes) return fail(kTooLargeReason);
    if (filled == bytes.size()) {
      bytes.resize(std::min(bytes.size() * 2, kLargestReadableFileBytes + 1));
    }
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - filled, 1 << 30));
    DWORD got = 0;
    if (!ReadFile(file.get(), bytes.data() + filled, wanted, &got, nullptr)) {
      return fail(reason(GetLastError()));
    }
    if (got == 0) break;
    filled += got;
  }
  bytes.resize(filled);
  contents.outcome = FileContents::Outcome::Read;
  return contents;
}

FileStatus replaceFileContents(const std::string& path, std::string_view bytes) {
  const std::wstring target = finalPath(widePath(path));
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      return FileStatus::failure(reason(ERROR_ACCESS_DENIED));
    }
    if (attributes & FILE_ATTRIBUTE_READONLY)
      return FileStatus::failure(reason(ERROR_ACCESS_DENIED));
  }

  const std::size_t slash = target.find_last_of(L"\\/");
  const std::size_t nameAt = slash == std::wstring::npos ? 0 : slash + 1;
  const std::wstring folder = target.substr(0, nameAt);
  const std::wstring name = target.substr(nameAt);
  const std::wstring hiddenName = folder + wideOfUtf8(temporaryPrefixOf(utf8Of(name))) +
                                  std::to_wstring(GetCurrentProcessId()) + L"-";
  std::wstring temporary;
  HANDLE created = INVALID_HANDLE_VALUE;
  for (int attempt = 0; created == INVALID_HANDLE_VALUE; ++attempt) {
    temporary = hiddenName;
    temporary += randomSuffix();  // (operator+ here draws a false -Wrestrict warning of GCC 12)
    created = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD error = GetLastError();
    if (created == INVALID_HANDLE_VALUE && (error != ERROR_FILE_EXISTS || attempt == 100)) {
      return FileStatus::failure(reason(error));
    }
  }

  FileHandle file(created);
  DWORD error = 0;
  while (!bytes.empty() && error == 0) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 30));
    if (WriteFile(file.get(), bytes.data(), chunk, &written, nullptr)) {
      bytes.remove_prefix(written);
    } else {
      error = GetLastError();
    }
  }
  if (error == 0 && !FlushFileBuffers(file.get())) error = GetLastError();
  if (!file.close() && error == 0) error = GetLastError();
  // The new file takes the old one's attributes that say how it is shown and kept.
  constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                          FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  if (error == 0 && attributes != INVALID_FILE_ATTRIBUTES && (attributes & kKept) != 0 &&
      !SetFileAttributesW(temporary.c_str(), attributes & kKept)) {
    error = GetLastError();
  }
  // A file that another program has open (the game reading it, a virus scanner, a search
  // indexer) cannot be replaced until it lets go, however it shares it: try again for a second.
  for (int attempt = 0; error == 0; ++attempt) {
    if (MoveFileExW(temporary.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      break;
    }
    const DWORD moveError = GetLastError();
    if ((moveError != ERROR_ACCESS_DENIED && moveError != ERROR_SHARING_VIOLATION) ||
        attempt == kMoveAttempts - 1) {
      error = moveError;
    } else {
      Sleep(kMoveRetryMilliseconds);
    }
  }
  if (error != 0) {
    DeleteFileW(temporary.c_str());
    return FileStatus::failure(reason(error));
  }
  removeStaleTemporaries(folder, name);
  FileStatus saved = FileStatus::success();
  saved.stamp = stampOfPath(target);  // a move keeps the file's index and times
  return saved;
}

}  // namespace corvane
