// Test helpers: a new empty folder removed afterwards, and whole-file reads, writes and folder
// listings on it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace corvane::reliability {

namespace fs = std::filesystem;

// A new empty folder under the system's temporary folder (TMPDIR), by its real path; removed
// with all it holds when the object goes.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      const fs::path candidate =
          fs::temp_directory_path() / ("corvane-reliability-" + std::to_string(random()));
      std::error_code error;
      if (fs::create_directory(candidate, error)) path_ = fs::canonical(candidate);
    }
    if (path_.empty()) ADD_FAILURE() << "cannot create a temporary folder";
  }
  ~ScratchFolder() {
    std::error_code error;
    if (!path_.empty()) fs::remove_all(path_, error);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const fs::path& path() const { return path_; }
  std::string file(std::string_view name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

// The whole file at `path`; "" when it cannot be read.
inline std::string readWholeFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Writes `contents` as the whole file at `path`.
inline void writeWholeFile(const fs::path& path, std::string_view contents) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
  if (!out) ADD_FAILURE() << "cannot write " << path;
}

// The names in `folder` (hidden ones included), sorted.
inline std::vector<std::string> namesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace corvane::reliability
