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
//    both with blanks trimmed. Nothing else (quotes, inline ';') is interpreted.
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
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace corvane {

// The outcome of a file operation. `ok` false carries the system's reason in `error` (for
// example "Permission denied"), ready to be shown to the user after the file's name.
struct FileStatus {
  bool ok = true;
  std::string error;

  static FileStatus success() { return {}; }
  static FileStatus failure(std::string why) { return {false, std::move(why)}; }
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

  // A document holding exactly these bytes.
  static IniDocument fromBytes(std::string bytes);

  // Reads the file at `path` once. A missing file gives an empty document (Origin::Missing);
  // an unreadable one gives an empty document with Origin::Unreadable and the reason in
  // loadError(). Never throws for file-system reasons.
  static IniDocument load(const std::string& path);

  Origin origin() const { return origin_; }
  const std::string& loadError() const { return loadError_; }

  // The value of the first entry `key` in the first section `section`, blanks trimmed;
  // `fallback` when the section or the key is missing. An entry with nothing after '='
  // reads as "", not as the fallback. No length limit (see ReadINIValue for the 254 cut).
  std::string value(std::string_view section, std::string_view key,
                    std::string_view fallback) const;

  // True when the first section `section` holds an entry `key`.
  bool contains(std::string_view section, std::string_view key) const;

  // Sets `key` to `value` in `section` as the rules above say. Returns false, changing
  // nothing, when a name or the value holds CR, LF or NUL, when the key is empty, starts with
  // blanks or ';' or '[' or holds '=', or when the section name is empty or holds ']'.
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

  // True when an edit has changed the bytes since load() or fromBytes().
  bool modified() const { return modified_; }

  // Replaces the file at `path` with bytes(), crash-safely: the bytes go into a new temporary
  // file in the same folder, are flushed to disk, and the temporary file is renamed over the
  // old one, which keeps its permission bits (and owner, where allowed). When `path` is a
  // symbolic link the file it points to is replaced and the link stays. On failure the old
  // file is untouched, the temporary file is removed, and the status says why. A document
  // whose origin is Unreadable is never saved (its bytes are not the file's).
  FileStatus save(const std::string& path) const;

 private:
  struct Section;
  // ... implementation details
  Origin origin_ = Origin::Missing;
  std::string loadError_;
  bool modified_ = false;
};

}  // namespace corvane
