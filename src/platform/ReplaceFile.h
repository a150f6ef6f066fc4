// The platform's file primitives behind IniDocument: reading a whole file and replacing a file's
// contents crash-safely. One implementation per platform (ReplaceFile_posix.cpp,
// ReplaceFile_win32.cpp), picked by CMake. Internal to the INI engine.
#pragma once

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
};

// Reads the whole file at `path` in one open: its size first, then the bytes, then up to the end
// of the file even when the file grew meanwhile or reports no size. Never throws for file-system
// reasons.
FileContents readFileContents(const std::string& path);

// Replaces the contents of the file at `path` with `bytes` through a temporary file in the same
// folder that is flushed and renamed over the old file. A symbolic link at `path` is followed
// and the file it points to is replaced (a dangling link creates its target). Refuses a folder
// at the path and a file marked read-only (no write permission bit at all, whoever runs this).
// The replaced file keeps its permission bits and, where the system allows it, its owner.
// Returns success, or the system's reason with the old file untouched and no temporary file
// left behind. A successful replace also removes temporary files of the same file left by
// saves whose process has ended (killed mid-save); those of running processes stay. (On POSIX
// they are looked for in a listing of the folder, or in the listing that listFolder() took
// earlier in the run when the folder has not changed since: see FolderListing.h.)
FileStatus replaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace corvane
