// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A deliberately plain model of the INI rules (a vector of lines, searched front to back on every
// call), written apart from IniDocument so that the fuzzer can check the engine against it.
#pragma once

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::testing {

class ReferenceIni {
 public:
  explicit ReferenceIni(std::string_view bytes) {
    while (!bytes.empty()) {
      const std::size_t end = std::min(bytes.find('\n'), bytes.size() - 1) + 1;
      lines.emplace_back(bytes.substr(0, end));
      bytes.remove_prefix(end);
    }
  }

  std::vector<std::string> lines;  // each with its own ending

  std::string bytes() const {
    std::string all;
    for (const std::string& line : lines) all += line;
    return all;
  }

  // The line without its ending.
  static std::string content(const std::string& line) {
    if (line.empty() || line.back() != '\n') return line;
    const std::size_t cut = (line.size() >= 2 && line[line.size() - 2] == '\r') ? 2 : 1;
    return line.substr(0, line.size() - cut);
  }

  static std::string trim(std::string text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.back())) text.pop_back();
    while (!text.empty() && blank(text.front())) text.erase(text.begin());
    return text;
  }

  static bool sameName(const std::string& a, const std::string& b) {
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
  }

  // The header's name, or nothing for a line that is not a header.
  static std::optional<std::string> headerName(const std::string& line) {
    const std::string text = content(line);
    const std::size_t open = text.find_first_not_of(" \t");
    if (open == std::string::npos || text[open] != '[') return std::nullopt;
    const std::size_t close = text.find(']', open);
    if (close == std::string::npos) return std::nullopt;
    return trim(text.substr(open + 1, close - open - 1));
  }

  // The entry's key and value, or nothing for a header, comment, blank or '='-less line.
  static std::optional<std::pair<std::string, std::string>> entry(const std::string& line) {
    const std::string text = content(line);
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos || text[start] == ';' || headerName(line)) return std::nullopt;
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos) return std::nullopt;
    return std::pair{trim(text.substr(0, equals)), trim(text.substr(equals + 1))};
  }

  // [header, end) of the first section `name`; header == lines.size() when there is none.
  std::pair<std::size_t, std::size_t> section(const std::string& name) const {
    std::size_t header = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const auto found = headerName(lines[i]);
      if (!found) continue;
      if (header < lines.size()) return {header, i};
      if (sameName(*found, trim(name))) header = i;
    }
    return {header, lines.size()};
  }

  std::size_t find(const std::string& sectionName, const std::string& key) const {
    const auto [header, end] = section(sectionName);
    for (std::size_t i = header + 1; i < end; ++i) {
      const auto found = entry(lines[i]);
      if (found && sameName(found->first, trim(key))) return i;
    }
    return lines.size();
  }

  std::optional<std::string> value(const std::string& sectionName, const std::string& key) const {
    const std::size_t at = find(sectionName, key);
    if (at == lines.size()) return std::nullopt;
    // One pair of matching quotation marks around the whole value is not part of it.
    std::string found = entry(lines[at])->second;
    if (found.size() >= 2 && (found[0] == '"' || found[0] == '\'') && found.back() == found[0]) {
      found = found.substr(1, found.size() - 2);
    }
    return found;
  }

  bool setValue(const std::string& sectionName, const std::string& rawKey,
                const std::string& value) {
    const auto bad = [](const std::string& text) {
      return text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
    };
    const std::string name = trim(sectionName);
    const std::string key = trim(rawKey);
    if (bad(sectionName) || bad(rawKey) || bad(value) || name.empty() ||
        sectionName.find(']') != std::string::npos || key.empty() || key[0] == ';' ||
        key[0] == '[' || key.find('=') != std::string::npos) {
      return false;
    }
    const std::string line = key + "=" + value;
    const auto [header, end] = section(name);
    if (header == lines.size()) {
      endLastLineAt(lines.size());
      lines.push_back("[" + name + "]\r\n");
      lines.push_back(line + "\r\n");
      return true;
    }
    const std::string headerText = content(lines[header]);
    const std::size_t open = headerText.find('[');
    const std::size_t close = headerText.find(']', open);
    const std::size_t nameAt =
        headerText.find(trim(headerText.substr(open + 1, close - open - 1)), open + 1);
    const std::size_t spelled = trim(headerText.substr(open + 1, close - open - 1)).size();
    lines[header].replace(nameAt, spelled, name);

    const std::size_t at = find(name, key);
    if (at != lines.size()) {
      if (content(lines[at]) != line) lines[at] = line + "\r\n";
      return true;
    }
    std::size_t last = header;
    for (std::size_t i = header + 1; i < end; ++i) {
      if (entry(lines[i])) last = i;
    }
    endLastLineAt(last + 1);
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(last + 1), line + "\r\n");
    return true;
  }

  bool removeKey(const std::string& sectionName, const std::string& key) {
    const std::size_t at = find(sectionName, key);
    if (at == lines.size()) return false;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
    return true;
  }

  std::size_t removeKeysIf(const std::string& sectionName,
                           const std::function<bool(std::string_view)>& matches) {
    auto [header, end] = section(sectionName);
    std::size_t removed = 0;
    for (std::size_t i = header + 1; i < end;) {
      const auto found = entry(lines[i]);
      if (found && matches(found->first)) {
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
        --end;
        ++removed;
      } else {
        ++i;
      }
    }
    return removed;
  }

 private:
  // Gives the line before `position` a CRLF when it has no line break.
  void endLastLineAt(std::size_t position) {
    if (position > 0 && lines[position - 1].back() != '\n') lines[position - 1] += "\r\n";
  }
};

// The settings file's map keys: "MapName" (any letter case) and two or more digits.
inline bool isMapKey(std::string_view key) {
  return key.size() >= 9 && ReferenceIni::sameName(std::string(key.substr(0, 7)), "MapName") &&
         key.find_first_not_of("0123456789", 7) == std::string_view::npos;
}

}  // namespace corvane::testing
