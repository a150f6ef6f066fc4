// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A new empty folder for a test, removed with all it holds when the test ends, and the few file
// operations tests need on it. Standard C++ only.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

namespace corvane::testing {

namespace fs = std::filesystem;

class TempFolder {
 public:
  TempFolder() {
    const std::string name = "corvane-test-" + std::to_string(std::random_device{}());
    fs::create_directory(fs::temp_directory_path() / name);  // throws when it cannot
    path_ = fs::canonical(fs::temp_directory_path() / name);
  }
  ~TempFolder() {
    std::error_code error;
    fs::remove_all(path_, error);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const fs::path& path() const { return path_; }
  // The path of `name` (UTF-8) in the folder, as UTF-8 text: the platform layer's form of paths.
  std::string file(std::string_view name) const {
    const std::u8string text =
        (path_ / fs::path(std::u8string(name.begin(), name.end()))).u8string();
    return {text.begin(), text.end()};
  }

 private:
  fs::path path_;
};

inline std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Writes `bytes` as the whole file, creating its folders.
inline void writeFile(const fs::path& path, std::string_view bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace corvane::testing
