// Test helpers: a temporary folder removed afterwards, and writing files and links into it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

namespace corvane::testing_support {

namespace fs = std::filesystem;

// A new empty folder under the system's temporary folder, by its real path; removed with all
// it holds when the object goes.
class TemporaryFolder {
 public:
  TemporaryFolder() {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      const fs::path candidate =
          fs::temp_directory_path() / ("corvane-registry-" + std::to_string(random()));
      std::error_code error;
      if (fs::create_directory(candidate, error)) path_ = fs::canonical(candidate);
    }
    if (path_.empty()) ADD_FAILURE() << "cannot create a temporary folder";
  }
  ~TemporaryFolder() {
    std::error_code error;
    if (!path_.empty()) fs::remove_all(path_, error);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  const fs::path& path() const { return path_; }
  std::string string() const { return path_.string(); }

 private:
  fs::path path_;
};

// Writes `contents` as the whole file at `path`, creating its folders.
inline void writeFile(const fs::path& path, std::string_view contents) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
  if (!out) ADD_FAILURE() << "cannot write " << path;
}

// Makes `link` a symbolic link to `target` (kept as given: relative or absolute), creating the
// folders of the link.
inline void makeLink(const fs::path& link, const fs::path& target) {
  fs::create_directories(link.parent_path());
  fs::create_directory_symlink(target, link);
}

inline fs::path pathFromUtf8Text(std::string_view utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace corvane::testing_support
