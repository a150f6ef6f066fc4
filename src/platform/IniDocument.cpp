// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The INI profile engine: parsing a file into sections of lines, lookups, edits and saving.
#include "IniDocument.h"

#include <algorithm>
#include <cstring>

#include "ReplaceFile.h"

namespace corvane {
namespace {

// Sections of at most this many lines and bytes are searched line by line; larger ones get a key
// index, so that no lookup scans a long section (or one very long line) again.
constexpr std::size_t kLinearSearchLines = 32;
constexpr std::size_t kLinearSearchBytes = 4096;

constexpr std::string_view kCrLf = "\r\n";

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

char lowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view trimBlanks(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::size_t firstNonBlank(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  return i;
}

// Where the name of a header line stands: [begin, end) within the content, blanks trimmed.
struct HeaderName {
  bool isHeader = false;
  std::size_t begin = 0;
  std::size_t end = 0;
};

HeaderName headerNameOf(std::string_view content) {
  const std::size_t open = firstNonBlank(content);
  if (open == content.size() || content[open] != '[') return {};
  const std::size_t close = content.find(']', open + 1);
  if (close == std::string_view::npos) return {};
  HeaderName name{true, open + 1, close};
  while (name.begin < name.end && isBlank(content[name.begin])) ++name.begin;
  while (name.end > name.begin && isBlank(content[name.end - 1])) --name.end;
  return name;
}

// The key and value of an entry line, blanks trimmed. `isEntry` is false for blank lines,
// comment lines and lines without '='. Only called for lines that are not headers.
struct Entry {
  bool isEntry = false;
  std::string_view key;
  std::string_view value;
};

Entry entryOf(std::string_view content) {
  const std::size_t start = firstNonBlank(content);
  if (start == content.size() || content[start] == ';') return {};
  const std::size_t equals = content.find('=', start);
  if (equals == std::string_view::npos) return {};
  return {true, trimBlanks(content.substr(start, equals - start)),
          trimBlanks(content.substr(equals + 1))};
}

bool holdsLineBreakOrNul(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
}

}  // namespace

// --- names -----------------------------------------------------------------------------------

std::size_t IniDocument::NameHash::operator()(std::string_view name) const noexcept {
  std::size_t hash = 14695981039346656037ull;  // FNV-1a over the lower-cased bytes
  for (char c : name) {
    hash ^= static_cast<unsigned char>(lowerAscii(c));
    hash *= 1099511628211ull;
  }
  return hash;
}

bool IniDocument::NameEqual::operator()(std::string_view left,
                                        std::string_view right) const noexcept {
  if (left.size() != right.size()) return false;
  for (std::size_t i = 0; i < left.size(); ++i) {
    if (lowerAscii(left[i]) != lowerAscii(right[i])) return false;
  }
  return true;
}

// --- reading ---------------------------------------------------------------------------------

IniDocument IniDocument::fromBytes(std::string bytes) {
  IniDocument document;
  document.original_ = std::move(bytes);
  document.origin_ = Origin::Read;
  const std::string& text = document.original_;
  const char* data = text.data();
  const std::size_t total = text.size();

  Section* section = &document.sections_.front();
  std::size_t position = 0;
  while (position < total) {
    const void* found = std::memchr(data + position, '\n', total - position);
    Line line;
    line.offset = position;
    std::size_t next;
    if (found) {
      const std::size_t newline = static_cast<std::size_t>(static_cast<const char*>(found) - data);
      const bool hasCr = newline > position && data[newline - 1] == '\r';
      line.length = newline - position - (hasCr ? 1 : 0);
      line.ending = hasCr ? Ending::CRLF : Ending::LF;
      next = newline + 1;
    } else {
      line.length = total - position;
      next = total;
    }

    const std::string_view content(data + position, line.length);
    const HeaderName header = headerNameOf(content);
    if (header.isHeader) {
      section->originalSize = position - section->originalBegin;
      section->size = section->originalSize;
      document.sections_.emplace_back();
      section = &document.sections_.back();
      section->originalBegin = position;
      document.sectionsByName_.try_emplace(
          std::string(content.substr(header.begin, header.end - header.begin)),
          document.sections_.size() - 1);
    }
    section->lines.push_back(line);
    position = next;
  }
  section->originalSize = total - section->originalBegin;
  section->size = section->originalSize;
  return document;
}

IniDocument IniDocument::load(const std::string& path) {
  FileContents file = readFileContents(path);
  switch (file.outcome) {
    case FileContents::Outcome::Read: {
      IniDocument document = fromBytes(std::move(file.bytes));
      document.stamp_ = file.stamp;
      return document;
    }
    case FileContents::Outcome::Missing:
      return IniDocument();
    case FileContents::Outcome::Failed:
      break;
  }
  IniDocument document;
  document.origin_ = Origin::Unreadable;
  document.loadError_ = std::move(file.error);
  return document;
}

std::string_view IniDocument::endingOf(const Line& line) {
  switch (line.ending) {
    case Ending::LF:
      return kCrLf.substr(1);
    case Ending::CRLF:
      return kCrLf;
    case Ending::None:
      break;
  }
  return {};
}

std::string_view IniDocument::contentOf(const Line& line) const {
  const std::string& store = line.written ? written_ : original_;
  return std::string_view(store).substr(line.offset, line.length);
}

std::size_t IniDocument::findSection(std::string_view name) const {
  const auto found = sectionsByName_.find(trimBlanks(name));
  return found == sectionsByName_.end() ? kUnknown : found->second;
}

std::size_t IniDocument::findEntry(const Section& section, std::string_view key) const {
  key = trimBlanks(key);
  const NameIndex* index = section.keys.index.get();
  if (!index && section.lines.size() <= kLinearSearchLines && section.size <= kLinearSearchBytes) {
    for (std::size_t i = 1; i < section.lines.size(); ++i) {
      const Entry entry = entryOf(contentOf(section.lines[i]));
      if (entry.isEntry && NameEqual()(entry.key, key)) return i;
    }
    return kUnknown;
  }
  if (!index) {
    auto built = std::make_unique<NameIndex>();
    built->reserve(section.lines.size());
    for (std::size_t i = 1; i < section.lines.size(); ++i) {
      const Entry entry = entryOf(contentOf(section.lines[i]));
      if (entry.isEntry) built->try_emplace(std::string(entry.key), i);
    }
    index = built.get();
    section.keys.index = std::move(built);
  }
  const auto found = index->find(key);
  return found == index->end() ? kUnknown : found->second;
}

std::size_t IniDocument::lastEntryOf(const Section& section) const {
  if (section.lastEntry == kUnknown) {
    std::size_t position = section.lines.size();
    while (position > 1 && !entryOf(contentOf(section.lines[position - 1])).isEntry) --position;
    section.lastEntry = position > 1 ? position - 1 : 0;
  }
  return section.lastEntry;
}

std::string IniDocument::value(std::string_view section, std::string_view key,
                               std::string_view fallback) const {
  const std::size_t found = findSection(section);
  if (found == kUnknown) return std::string(fallback);
  const Section& lines = sections_[found];
  const std::size_t entry = findEntry(lines, key);
  if (entry == kUnknown) return std::string(fallback);
  std::string_view value = entryOf(contentOf(lines.lines[entry])).value;
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

bool IniDocument::contains(std::string_view section, std::string_view key) const {
  const std::size_t found = findSection(section);
  return found != kUnknown && findEntry(sections_[found], key) != kUnknown;
}

std::string_view IniDocument::entryLine(std::string_view section, std::string_view key) const {
  const std::size_t found = findSection(section);
  if (found == kUnknown) return {};
  const std::size_t entry = findEntry(sections_[found], key);
  return entry == kUnknown ? std::string_view()
                           : trimBlanks(contentOf(sections_[found].lines[entry]));
}

std::vector<std::string_view> IniDocument::entryKeys(std::string_view section) const {
  std::vector<std::string_view> keys;
  const std::size_t found = findSection(section);
  if (found == kUnknown) return keys;
  const std::vector<Line>& lines = sections_[found].lines;
  for (std::size_t i = 1; i < lines.size(); ++i) {  // after the header
    const Entry entry = entryOf(contentOf(lines[i]));
    if (entry.isEntry) keys.push_back(entry.key);
  }
  return keys;
}

std::string IniDocument::bytes() const {
  if (!modified_) return original_;
  std::size_t total = 0;
  for (const Section& section : sections_) total += section.size;
  std::string text;
  text.reserve(total);
  for (const Section& section : sections_) {
    for (const Line& line : section.lines) {
      text += contentOf(line);
      text += endingOf(line);
    }
  }
  return text;
}

// --- editing ---------------------------------------------------------------------------------

IniDocument::Line IniDocument::storeLine(std::initializer_list<std::string_view> parts,
                                         Ending ending) {
  Line line;
  line.offset = written_.size();
  for (std::string_view part : parts) written_ += part;
  line.length = written_.size() - line.offset;
  line.ending = ending;
  line.written = true;
  return line;
}

void IniDocument::replaceLine(Section& section, std::size_t position, const Line& line) {
  section.size = section.size - sizeOf(section.lines[position]) + sizeOf(line);
  section.lines[position] = line;
}

void IniDocument::addLineBreak(Section& section, std::size_t position) {
  Line& line = section.lines[position];
  if (line.ending != Ending::None) return;
  line.ending = Ending::CRLF;
  section.size += kCrLf.size();
  sectionChanged(section);
}

void IniDocument::renameHeader(Section& section, std::string_view name) {
  const HeaderName spelled = headerNameOf(contentOf(section.lines.front()));
  if (contentOf(section.lines.front()).substr(spelled.begin, spelled.end - spelled.begin) == name) {
    return;
  }
  // A copy: the header may already live in written_, which storeLine() appends to.
  const std::string header(contentOf(section.lines.front()));
  const Line renamed = storeLine({std::string_view(header).substr(0, spelled.begin), name,
                                  std::string_view(header).substr(spelled.end)},
                                 section.lines.front().ending);
  replaceLine(section, 0, renamed);
}

void IniDocument::appendSection(std::string_view name, std::string_view key,
                                std::string_view value) {
  for (auto it = sections_.rbegin(); it != sections_.rend(); ++it) {
    if (!it->lines.empty()) {
      addLineBreak(*it, it->lines.size() - 1);
      break;
    }
  }
  Section section;
  section.appended = true;
  section.originalBegin = original_.size();
  section.lines.push_back(storeLine({"[", name, "]"}, Ending::CRLF));
  section.lines.push_back(storeLine({key, "=", value}, Ending::CRLF));
  section.size = sizeOf(section.lines[0]) + sizeOf(section.lines[1]);
  section.lastEntry = 1;
  sections_.push_back(std::move(section));
  sectionsByName_.try_emplace(std::string(name), sections_.size() - 1);
  sectionChanged(sections_.back());
}

bool IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
  const std::string_view name = trimBlanks(section);
  if (holdsLineBreakOrNul(section) || holdsLineBreakOrNul(key) || holdsLineBreakOrNul(value)) {
    return false;
  }
  key = trimBlanks(key);
  if (name.empty() || section.find(']') != std::string_view::npos || key.empty() ||
      key.front() == ';' || key.front() == '[' || key.find('=') != std::string_view::npos) {
    return false;
  }

  const std::size_t found = findSection(name);
  if (found == kUnknown) {
    appendSection(name, key, value);
    return true;
  }
  Section& target = sections_[found];
  renameHeader(target, name);

  const std::size_t entry = findEntry(target, key);
  if (entry != kUnknown) {
    const std::string_view current = contentOf(target.lines[entry]);
    const bool alreadyWritten =
        current.size() == key.size() + 1 + value.size() && current.substr(0, key.size()) == key &&
        current[key.size()] == '=' && current.substr(key.size() + 1) == value;
    if (!alreadyWritten) replaceLine(target, entry, storeLine({key, "=", value}, Ending::CRLF));
  } else {
    const std::size_t after = lastEntryOf(target);
    addLineBreak(target, after);
    const Line line = storeLine({key, "=", value}, Ending::CRLF);
    target.lines.insert(target.lines.begin() + static_cast<std::ptrdiff_t>(after + 1), line);
    target.size += sizeOf(line);
    target.lastEntry = after + 1;
    if (target.keys.index) target.keys.index->try_emplace(std::string(key), after + 1);
  }
  sectionChanged(target);
  return true;
}

bool IniDocument::removeKey(std::string_view section, std::string_view key) {
  const std::size_t found = findSection(section);
  if (found == kUnknown) return false;
  Section& target = sections_[found];
  const std::size_t entry = findEntry(target, key);
  if (entry == kUnknown) return false;
  target.size -= sizeOf(target.lines[entry]);
  target.lines.erase(target.lines.begin() + static_cast<std::ptrdiff_t>(entry));
  target.keys.index.reset();
  target.lastEntry = kUnknown;
  sectionChanged(target);
  return true;
}

std::size_t IniDocument::removeKeysIf(std::string_view section,
                                      const std::function<bool(std::string_view key)>& matches) {
  const std::size_t found = findSection(section);
  if (found == kUnknown) return 0;
  Section& target = sections_[found];
  std::size_t kept = 1;
  for (std::size_t i = 1; i < target.lines.size(); ++i) {
    const Line line = target.lines[i];
    const Entry entry = entryOf(contentOf(line));
    if (entry.isEntry && matches(entry.key)) {
      target.size -= sizeOf(line);
    } else {
      target.lines[kept++] = line;
    }
  }
  const std::size_t removed = target.lines.size() - kept;
  if (removed == 0) return 0;
  target.lines.resize(kept);
  target.keys.index.reset();
  target.lastEntry = kUnknown;
  sectionChanged(target);
  return removed;
}

// --- modification tracking -------------------------------------------------------------------

// Bytes equal those loaded exactly when no section was added and every section has its loaded
// bytes: headers cannot be removed or written by an edit, so sections pair up one to one.
void IniDocument::sectionChanged(Section& section) {
  const bool differs =
      section.appended || section.size != section.originalSize || !sameAsLoaded(section);
  if (differs != section.differs) {
    section.differs = differs;
    differs ? ++differingSections_ : --differingSections_;
  }
  modified_ = differingSections_ > 0;
}

bool IniDocument::sameAsLoaded(const Section& section) const {
  std::size_t position = section.originalBegin;
  for (const Line& line : section.lines) {
    const bool untouched = !line.written && line.offset == position;
    if (!untouched && original_.compare(position, line.length, contentOf(line)) != 0) {
      return false;
    }
    position += line.length;
    const std::string_view ending = endingOf(line);
    if (original_.compare(position, ending.size(), ending) != 0) return false;
    position += ending.size();
  }
  return true;
}

// --- saving ----------------------------------------------------------------------------------

FileStatus IniDocument::save(const std::string& path) const {
  if (origin_ == Origin::Unreadable) {
    return FileStatus::failure("The file could not be read: " + loadError_);
  }
  return replaceFileContents(path, bytes());
}

}  // namespace corvane
