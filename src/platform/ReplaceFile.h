// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The platform's file primitives behind IniDocument: reading a whole file and replacing a file's
// contents crash-safely. One implementation per platform (ReplaceFile_posix.cpp,
// ReplaceFile_win32.cpp), picked by CMake. Internal to the INI engine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "IniDocument.h"

namespace corvane {

// What reading a file found.
struct FileContents {
  enum class Outcome {
    Read,     // `bytes` holds the whole file
    Missing,  // no file at the path (the path or a folder on it does not exist)
    Failed,   // the path exists but could not be read; `error` says why
  };
  Outcome outcome = Outcome::Missing;
  std::string bytes;
  std::string error;
  FileStamp stamp;  // of the file read, taken before its bytes (see FileStamp)
};

// A file modified this recently (in nanoseconds) may change again without a new modification
// time: file systems keep the time at a resolution of up to 2 seconds (FAT; 1 second on some
// others, a clock tick on most), so a stamp of it cannot tell its versions apart.
inline constexpr std::int64_t kUnsettledNanoseconds = 2'000'000'000;

// Settings files hold a few kilobytes; a file larger than this is not read. Reading takes about
// 2.6 ms and 2.8 bytes of memory per kilobyte of file (bench/README.md), so a file at the limit
// still loads in under a second.
inline constexpr std::size_t kLargestReadableFileBytes = 256u * 1024u * 1024u;

// Why a file of this kind is neither read nor replaced: only regular files are.
inline constexpr const char* kNamedPipeReason = "It is a named pipe, not a regular file";
inline constexpr const char* kDeviceReason = "It is a device, not a regular file";
inline constexpr const char* kSocketReason = "It is a socket, not a regular file";
inline constexpr const char* kOtherKindReason = "It is not a regular file";
inline constexpr const char* kTooLargeReason =
    "It is larger than 256 MB, far too large for a settings file";

// Reads the whole file at `path` in one open: its size first, then the bytes, then up to the end
// of the file even when the file grew meanwhile or reports no size. Only a regular file (links
// followed) is read, and only up to kLargestReadableFileBytes: anything else (a folder, a named
// pipe, a device, a socket, a larger file, one that grows past the limit while it is read)
// fails with its reason, without waiting for a pipe's writer. Never throws for file-system
// reasons.
FileContents readFileContents(const std::string& path);

// Replaces the contents of the file at `path` with `bytes` through a temporary file in the same
// folder that is flushed and renamed over the old file. A symbolic link at `path` is followed
// and the file it points to is replaced (a dangling link creates its target). Refuses anything
// but a regular file at the path (a folder, a named pipe, a device...), leaving it as it is, and
// a file marked read-only (no write permission bit at all, whoever runs this).
// The replaced file keeps its permission bits and, where the system allows it, its owner.
// Returns success, or the system's reason with the old file untouched and no temporary file
// left behind. A successful replace also removes temporary files of the same file left by
// saves whose process has ended (killed mid-save); those of running processes stay. (On POSIX
// they are looked for in a listing of the folder, or in the listing that listFolder() took
// earlier in the run when the folder has not changed since: see FolderListing.h.)
FileStatus replaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace corvane
