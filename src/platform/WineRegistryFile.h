// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// One registry file of a Wine prefix (system.reg, user.reg), searched in place for one value.
//
// The format, as Wine writes it:
//   WINE REGISTRY Version 2
//   ;; All keys relative to REGISTRY\\Machine
//
//   #arch=win64
//
//   [Software\\Wow6432Node\\Westwood\\Renegade] 1796584329
//   #time=1dd85b5b0c07266
//   "InstallPath"="C:\\Westwood\\Renegade\\Renegade.exe"
//   "Language"=dword:00000000
//
// Rules of this reader:
//  - The first line must be exactly "WINE REGISTRY Version 2" (a CR before its LF allowed);
//    a file without it holds nothing.
//  - Lines end at LF, one CR before it is dropped. Blanks (space, tab) at the start of a line
//    are passed over. Lines starting with ';' are comments.
//  - A line starting with '[' opens a key; its name runs to the first unescaped ']'. The value
//    lines up to the next key line belong to that key. Every other line (blank, '#' options,
//    the continuation lines of long hex data, unrecognised text) is passed over.
//  - A value line is `@=` (the default value, name "") or `"name"=` followed by the data.
//    Text data is `"..."`, `str:"..."` or `str(2):"..."`, or the UTF-16LE bytes of a string
//    (with or without its closing NUL) as `hex(1):43,00,3a,00` or `hex(2):...`, which go on in
//    the next line after a line ending in `,\`; every other kind (dword, hex, other hex(N),
//    multi-strings) is not text. A string without its closing quote, or malformed hex data,
//    makes the line invalid.
//  - Escapes in names and strings: \\ \" \a \b \t \n \v \f \r \e, up to 3 octal digits, and
//    \x with up to 4 hex digits, each a UTF-16 code unit (surrogate pairs are joined, a lone
//    surrogate becomes U+FFFD); any other escaped character stands for itself. Unescaped bytes
//    are taken as UTF-8 as they stand. The result is UTF-8; a value ends at its first NUL.
//  - Key and value names compare without regard to ASCII letter case.
//  - When a key or a value occurs more than once, the last one in the file counts, as when
//    Wine loads the file.
// The file is never built into a tree: a look-up scans the text once for the key lines it
// needs and decodes only the value lines of their blocks.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// The `#arch=` line of a registry file.
enum class WineArchitecture {
  Unknown,  // no such line before the first key
  Win32,    // "#arch=win32"
  Win64,    // "#arch=win64"
};

// The outcome of looking up one value.
struct WineValueLookup {
  enum class Outcome {
    KeyMissing,    // none of the keys asked for is in the file
    ValueMissing,  // a key is there but holds no text value of that name
    Found,         // `text` holds the value
  };
  Outcome outcome = Outcome::KeyMissing;
  std::string text;  // UTF-8, empty unless Found
};

class WineRegistryFile {
 public:
  // Files larger than this are not read (real ones hold a few megabytes).
  static constexpr std::size_t kLargestFileBytes = 256u * 1024u * 1024u;

  // An empty file, holding nothing.
  WineRegistryFile() = default;

  // The registry file whose whole text is `text`.
  static WineRegistryFile fromText(std::string text);

  // Reads the file at `path` once (UTF-8 path). A path that is missing, not a regular file,
  // unreadable or larger than kLargestFileBytes gives a file holding nothing. Never throws
  // for file-system reasons.
  static WineRegistryFile load(const std::string& path);

  // True when the text starts with the header line; otherwise every look-up finds no key.
  bool hasHeader() const { return hasHeader_; }

  WineArchitecture architecture() const { return architecture_; }

  // The value `valueName` of the key `keyPath` (its parts joined by single backslashes, no
  // escapes, relative to the file's root as its key lines are).
  WineValueLookup findValue(std::string_view keyPath, std::string_view valueName) const;

  // The same for several keys (up to 64; any further key is missing), searched in one pass:
  // one look-up for each of `keyPaths`, in the same order, each what findValue gives.
  std::vector<WineValueLookup> findValueInEachKey(const std::vector<std::string>& keyPaths,
                                                  std::string_view valueName) const;

 private:
  explicit WineRegistryFile(std::string text);

  std::string text_;
  bool hasHeader_ = false;
  std::size_t headerLineEnd_ = 0;  // where the line after the header begins
  WineArchitecture architecture_ = WineArchitecture::Unknown;
};

}  // namespace corvane
