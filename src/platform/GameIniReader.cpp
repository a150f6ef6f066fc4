// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The game's reading of a settings file.
#include "GameIniReader.h"

#include <cctype>

namespace corvane {
namespace {

// The longest line the game keeps: its line buffer holds 512 bytes with the closing NUL.
constexpr std::size_t kLongestLine = 511;

std::string_view trimmed(std::string_view text) {
  const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool isHeader(std::string_view line) {
  return !line.empty() && line.front() == '[' && line.find(']') != std::string_view::npos;
}

}  // namespace

std::map<std::string, std::string, std::less<>> readSectionAsTheGame(std::string_view bytes,
                                                                     std::string_view section) {
  std::map<std::string, std::string, std::less<>> entries;
  bool inSection = false;  // in the first section named `section`
  bool seenSection = false;
  bool seenHeader = false;
  std::size_t position = 0;
  while (position < bytes.size()) {
    const std::size_t end = bytes.find('\n', position);
    const bool lastLine = end == std::string_view::npos;
    std::string line;
    for (const char c :
         bytes.substr(position, lastLine ? std::string_view::npos : end - position)) {
      if (c != '\r' && line.size() < kLongestLine) line.push_back(c);
    }
    position = lastLine ? bytes.size() : end + 1;
    std::string_view text = trimmed(line);

    if (isHeader(text)) {
      if (!seenHeader && lastLine) break;  // the game stops before a header at the very end
      seenHeader = true;
      const std::string_view name = trimmed(text.substr(1, text.find(']') - 1));
      inSection = !seenSection && name == section;
      seenSection = seenSection || inSection;
      continue;
    }
    if (!inSection) continue;
    text = trimmed(text.substr(0, text.find(';')));
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = trimmed(text.substr(0, equals));
    const std::string_view value = trimmed(text.substr(equals + 1));
    if (!key.empty() && !value.empty()) entries.try_emplace(std::string(key), value);
  }
  return entries;
}

}  // namespace corvane
