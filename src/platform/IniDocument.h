// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The INI profile engine: an INI file held in memory as its exact bytes, with the lookups and
// edits of the Win32 profile functions, and a crash-safe save.
//
// Rules (the same for the document and for the single-call functions in IniProfile.h):
//  - Text is bytes. Nothing is decoded; callers convert to and from Windows-1252 themselves.
//  - A line ends at LF. Its content is the bytes before the LF, less one CR right before it.
//    Every line keeps its own ending (CRLF, LF, or none for a last line without a line break).
//  - A section header is a line whose first non-blank byte is '[' and that has a ']' after it;
//    the name is the text between '[' and the first ']', blanks (space, tab) trimmed.
//    Lines before the first header belong to no section and are never searched.
//  - A comment line is one whose first non-blank byte is ';'. An entry is any other non-header
//    line holding '='; its key is the text before the first '=', its value the text after it,
//    both with blanks trimmed. A value read that starts and ends with the same quotation mark
//    (" or ') is read without the two, as the Windows profile reader hands it back; the line
//    keeps them. Nothing else (inline ';', escapes) is interpreted.
//  - Section and key names are compared without regard to ASCII letter case. Of two sections
//    of one name only the first is used; of two entries of one key in it only the first.
//    A UTF-8 byte-order mark is kept as bytes of the first line, so a header behind it is not a
//    header (this is also how the game reads the file).
//  - Lines the engine writes end in CRLF. A replaced entry becomes "Key=Value" in the caller's
//    spelling of the key; the header of a section written into takes the caller's spelling of
//    the name. A new entry goes right after the section's last entry (or right after its header
//    when it has none); a new section goes at the end of the file. Where the line that a new
//    line follows has no line break, CRLF is added to it first.
//  - Every other byte of the file stays as it was.
//  - Names that callers pass are taken with blanks around them trimmed.
//  - Lookups build per-section indexes on first use, also through const functions: a document
//    is not for use by two threads at once.
//  - File paths are UTF-8 text on every system (on Windows too, whatever its ANSI code page), as
//    are the reasons of failures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace corvane {

// One version of a file, told from others without reading it: which file it is (device and
// inode, or volume and file index), its size and its last modification time. A stamp that is
// not `known` equals no version. Two equal known stamps are taken for the same bytes; a stamp
// taken while the file's modification time was too recent for that (a change within the time's
// resolution can leave it as it was) is not known.
struct FileStamp {
  bool known = false;
  std::uint64_t volume = 0;
  std::uint64_t file = 0;
  std::uint64_t size = 0;
  std::int64_t modified = 0;  // in the system's units (nanoseconds, or 100 ns on Windows)

  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of the file at `path` as it is now (links followed), without opening it; not known
// when there is no regular file there.
FileStamp currentStamp(const std::string& path);

// The outcome of a file operation. `ok` false carries the system's reason in `error` (UTF-8, for
// example "Permission denied"), ready to be shown to the user after the file's name.
struct FileStatus {
  bool ok = true;
  std::string error;
  FileStamp stamp;  // after a successful replace: the file it left (see IniDocument::save)

  static FileStatus success() { return {}; }
  static FileStatus failure(std::string why) {
    FileStatus status;
    status.ok = false;
    status.error = std::move(why);
    return status;
  }
};

class IniDocument {
 public:
  // How load() found the file.
  enum class Origin {
    Missing,     // no file at the path: the document is empty, a save creates the file
    Read,        // the file was read whole
    Unreadable,  // the path exists but could not be read (a folder, no permission, I/O error)
  };

  IniDocument() = default;

  // A document holding exactly these bytes; its origin is Origin::Read.
  static IniDocument fromBytes(std::string bytes);

  // Reads the file at `path` once. A missing file gives an empty document (Origin::Missing);
  // an unreadable one gives an empty document with Origin::Unreadable and the reason in
  // loadError(). Never throws for file-system reasons.
  static IniDocument load(const std::string& path);

  Origin origin() const { return origin_; }
  // The stamp of the file as load() read it (not known for a document from elsewhere, or for a
  // file changed too recently to tell its versions apart by stamp).
  const FileStamp& stamp() const { return stamp_; }
  const std::string& loadError() const { return loadError_; }

  // The value of the first entry `key` in the first section `section`, blanks trimmed and
  // enclosing quotation marks removed; `fallback` when the section or the key is missing. An
  // entry with nothing after '=' reads as "", not as the fallback. No length limit (see
  // ReadINIValue for the 254 cut, made after the quotation marks are gone).
  std::string value(std::string_view section, std::string_view key,
                    std::string_view fallback) const;

  // True when the first section `section` holds an entry `key`.
  bool contains(std::string_view section, std::string_view key) const;

  // The line of the first entry `key` of the first section `section`, blanks around it trimmed
  // and quotation marks kept (for example `TimeLimitMinutes="45"`); "" when there is none.
  std::string_view entryLine(std::string_view section, std::string_view key) const;

  // The keys of every entry of the first section `section`, as spelled in the file and in file
  // order, duplicates included; none when the section is missing.
  std::vector<std::string_view> entryKeys(std::string_view section) const;

  // Sets `key` to `value` in `section` as the rules above say. Returns false, changing
  // nothing, when a name or the value holds CR, LF or NUL, when the key (blanks around it
  // trimmed) is empty, starts with ';' or '[' or holds '=', or when the section name is empty
  // or holds ']'. (A name of blanks only counts as empty.) True otherwise, also when the file
  // already held exactly this entry and nothing changed.
  bool setValue(std::string_view section, std::string_view key, std::string_view value);

  // Removes the line of the first entry `key` of the first section `section`. Returns true
  // when a line was removed; false (nothing changed) when there was none.
  bool removeKey(std::string_view section, std::string_view key);

  // Removes every entry line of the first section `section` whose key (as spelled in the
  // file) satisfies `matches`, duplicates included, in one pass. Returns how many it removed.
  std::size_t removeKeysIf(std::string_view section,
                           const std::function<bool(std::string_view key)>& matches);

  // The document's bytes: the file as it was read, with the edits made since.
  std::string bytes() const;

  // True when an edit has changed the bytes since load() or fromBytes(). Edits that end up
  // restoring the loaded bytes (a key removed and written back as it was) leave it false.
  bool modified() const { return modified_; }

  // Replaces the file at `path` with bytes(), crash-safely: the bytes go into a new temporary
  // file in the same folder, are flushed to disk, and the temporary file is renamed over the
  // old one, which keeps its permission bits (and owner, where allowed). When `path` is a
  // symbolic link the file it points to is replaced and the link stays. On failure the old
  // file is untouched, the temporary file is removed, and the status says why. A successful
  // save removes temporary files of the same file left by ended processes. A document whose
  // origin is Unreadable is never saved (its bytes are not the file's). The status of a
  // successful save carries the stamp of the file it left, taken from the temporary file before
  // the rename (so always the file this save made), whatever its time.
  FileStatus save(const std::string& path) const;

 private:
  // How a line ends. Only the last line of a document can have no line break.
  enum class Ending : unsigned char { None, LF, CRLF };

  // One line: its content (without the ending) lives either in the bytes that were loaded or,
  // once the engine has written it, in the store of written text.
  struct Line {
    std::size_t offset = 0;
    std::size_t length = 0;
    Ending ending = Ending::None;
    bool written = false;
  };

  // Hashing and comparing names without regard to ASCII letter case; both accept string_view
  // so that lookups need no copy of the name.
  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const noexcept;
  };
  struct NameEqual {
    using is_transparent = void;
    bool operator()(std::string_view left, std::string_view right) const noexcept;
  };
  using NameIndex = std::unordered_map<std::string, std::size_t, NameHash, NameEqual>;

  // A section's key index (key -> position of its first entry line), built on the first lookup
  // in a large section. A copy starts without one and builds its own.
  struct KeyIndexCache {
    std::unique_ptr<NameIndex> index;
    KeyIndexCache() = default;
    KeyIndexCache(const KeyIndexCache&) {}
    KeyIndexCache& operator=(const KeyIndexCache&) {
      index.reset();
      return *this;
    }
    KeyIndexCache(KeyIndexCache&&) noexcept = default;
    KeyIndexCache& operator=(KeyIndexCache&&) noexcept = default;
  };

  static constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);

  // A section: its header line first (the lines before the first header form a section
  // without one), then the lines up to the next header.
  struct Section {
    std::vector<Line> lines;
    std::size_t originalBegin = 0;             // where the section stood in the loaded bytes
    std::size_t originalSize = 0;              // its size there
    std::size_t size = 0;                      // its size now
    bool appended = false;                     // added by an edit, not loaded
    bool differs = false;                      // its bytes now differ from those it was loaded with
    mutable std::size_t lastEntry = kUnknown;  // position of its last entry line; 0 for none
    mutable KeyIndexCache keys;
  };

  static std::string_view endingOf(const Line& line);
  static std::size_t sizeOf(const Line& line) { return line.length + endingOf(line).size(); }
  std::string_view contentOf(const Line& line) const;
  std::size_t findSection(std::string_view name) const;
  std::size_t findEntry(const Section& section, std::string_view key) const;
  std::size_t lastEntryOf(const Section& section) const;
  Line storeLine(std::initializer_list<std::string_view> parts, Ending ending);
  void replaceLine(Section& section, std::size_t position, const Line& line);
  void addLineBreak(Section& section, std::size_t position);
  void appendSection(std::string_view name, std::string_view key, std::string_view value);
  void renameHeader(Section& section, std::string_view name);
  void sectionChanged(Section& section);
  bool sameAsLoaded(const Section& section) const;

  std::string original_;  // the bytes as loaded
  std::string written_;   // text of the lines the engine wrote (grows only)
  std::vector<Section> sections_ = std::vector<Section>(1);
  NameIndex sectionsByName_;  // name -> first section of that name
  std::size_t differingSections_ = 0;
  Origin origin_ = Origin::Missing;
  FileStamp stamp_;
  std::string loadError_;
  bool modified_ = false;
};

}  // namespace corvane
