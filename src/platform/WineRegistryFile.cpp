// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// One registry file of a Wine prefix, searched in place for one value.
#include "WineRegistryFile.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>
#include <utility>

#include "Paths.h"

namespace corvane {

namespace {

constexpr std::string_view kHeaderLine = "WINE REGISTRY Version 2";
constexpr char32_t kReplacementCharacter = 0xFFFD;

// Walks the lines of a text: each line without its LF and without one CR before it.
class LineCursor {
 public:
  LineCursor(std::string_view text, std::size_t start) : text_(text), next_(start) {}

  // The next line, or false at the end of the text.
  bool next(std::string_view& line) {
    if (next_ >= text_.size()) return false;
    const char* begin = text_.data() + next_;
    const std::size_t rest = text_.size() - next_;
    const void* newline = std::memchr(begin, '\n', rest);
    std::size_t length = rest;
    if (newline != nullptr) {
      length = static_cast<std::size_t>(static_cast<const char*>(newline) - begin);
      next_ += length + 1;
    } else {
      next_ = text_.size();
    }
    if (length > 0 && begin[length - 1] == '\r') --length;
    line = std::string_view(begin, length);
    return true;
  }

  // Where the line after the one last returned begins.
  std::size_t nextLineStart() const { return next_; }

 private:
  std::string_view text_;
  std::size_t next_;
};

std::string_view withoutLeadingBlanks(std::string_view line) {
  std::size_t blanks = 0;
  while (blanks < line.size() && (line[blanks] == ' ' || line[blanks] == '\t')) ++blanks;
  return line.substr(blanks);
}

char asciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalIgnoringAsciiCase(std::string_view left, std::string_view right) {
  return left.size() == right.size() &&
         std::equal(left.begin(), left.end(), right.begin(),
                    [](char a, char b) { return asciiLower(a) == asciiLower(b); });
}

// Decoded text goes, byte by byte, to a sink: `bool put(char)`, false to stop the decoding.

// Collects the decoded text.
class TextSink {
 public:
  explicit TextSink(std::string& out) : out_(out) {}
  bool put(char byte) {
    out_ += byte;
    return true;
  }

 private:
  std::string& out_;
};

// Compares the decoded text with up to 64 names without regard to ASCII letter case, as it
// comes, and stops it as soon as no name can match any more. Nothing is stored.
class NameMatcher {
 public:
  explicit NameMatcher(const std::vector<std::string>& names)
      : names_(names), count_(std::min<std::size_t>(names.size(), 64)) {}

  void start() {
    candidates_ = count_ == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count_) - 1;
    length_ = 0;
  }

  bool put(char byte) {
    const char lower = asciiLower(byte);
    for (std::uint64_t rest = candidates_; rest != 0; rest &= rest - 1) {
      const int index = std::countr_zero(rest);
      const std::string& name = names_[static_cast<std::size_t>(index)];
      if (length_ >= name.size() || asciiLower(name[length_]) != lower) {
        candidates_ &= ~(std::uint64_t{1} << index);
      }
    }
    ++length_;
    return candidates_ != 0;
  }

  // The index of the first name that the whole decoded text equals, if any.
  std::optional<std::size_t> matchedName() const {
    for (std::uint64_t rest = candidates_; rest != 0; rest &= rest - 1) {
      const auto index = static_cast<std::size_t>(std::countr_zero(rest));
      if (names_[index].size() == length_) return index;
    }
    return std::nullopt;
  }

 private:
  const std::vector<std::string>& names_;
  std::size_t count_;
  std::uint64_t candidates_ = 0;
  std::size_t length_ = 0;
};

// Turns escaped UTF-16 code units and raw bytes into UTF-8 for a sink, joining surrogate pairs.
// Every call returns false once the sink has stopped.
template <typename Sink>
class Utf16ToUtf8 {
 public:
  explicit Utf16ToUtf8(Sink& sink) : sink_(sink) {}

  bool codeUnit(char32_t unit) {
    const bool isHigh = unit >= 0xD800 && unit <= 0xDBFF;
    const bool isLow = unit >= 0xDC00 && unit <= 0xDFFF;
    if (pendingHigh_ != 0) {
      if (isLow) {
        const char32_t joined = 0x10000 + ((pendingHigh_ - 0xD800) << 10) + (unit - 0xDC00);
        pendingHigh_ = 0;
        return putCodePoint(joined);
      }
      if (!finish()) return false;
    }
    if (isHigh) {
      pendingHigh_ = unit;
      return true;
    }
    return putCodePoint(isLow ? kReplacementCharacter : unit);
  }

  bool rawByte(char byte) { return finish() && sink_.put(byte); }

  // Ends the text: a high surrogate still waiting for its pair becomes U+FFFD.
  bool finish() {
    if (pendingHigh_ == 0) return true;
    pendingHigh_ = 0;
    return putCodePoint(kReplacementCharacter);
  }

 private:
  bool putCodePoint(char32_t codePoint) {
    char bytes[4];
    int count = 0;
    if (codePoint < 0x80) {
      bytes[count++] = static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
      bytes[count++] = static_cast<char>(0xC0 | (codePoint >> 6));
      bytes[count++] = static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
      bytes[count++] = static_cast<char>(0xE0 | (codePoint >> 12));
      bytes[count++] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
      bytes[count++] = static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
      bytes[count++] = static_cast<char>(0xF0 | (codePoint >> 18));
      bytes[count++] = static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
      bytes[count++] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
      bytes[count++] = static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    for (int i = 0; i < count; ++i) {
      if (!sink_.put(bytes[i])) return false;
    }
    return true;
  }

  Sink& sink_;
  char32_t pendingHigh_ = 0;
};

int hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Decodes the escaped text of `line` from `pos` up to the first unescaped `terminator` into
// `sink`. Returns true with `pos` just past the terminator; false when the line ends first or
// the sink stops the decoding.
template <typename Sink>
bool decodeEscaped(std::string_view line, std::size_t& pos, char terminator, Sink& sink) {
  Utf16ToUtf8<Sink> decoder(sink);
  while (pos < line.size()) {
    const char c = line[pos];
    if (c == terminator) {
      ++pos;
      return decoder.finish();
    }
    if (c != '\\') {
      if (!decoder.rawByte(c)) return false;
      ++pos;
      continue;
    }
    if (pos + 1 >= line.size()) return false;
    const char escaped = line[pos + 1];
    pos += 2;
    bool going = true;
    switch (escaped) {
      case 'a':
        going = decoder.codeUnit('\a');
        break;
      case 'b':
        going = decoder.codeUnit('\b');
        break;
      case 'e':
        going = decoder.codeUnit(0x1B);
        break;
      case 'f':
        going = decoder.codeUnit('\f');
        break;
      case 'n':
        going = decoder.codeUnit('\n');
        break;
      case 'r':
        going = decoder.codeUnit('\r');
        break;
      case 't':
        going = decoder.codeUnit('\t');
        break;
      case 'v':
        going = decoder.codeUnit('\v');
        break;
      case 'x': {
        char32_t unit = 0;
        int digits = 0;
        while (digits < 4 && pos < line.size() && hexDigitValue(line[pos]) >= 0) {
          unit = unit * 16 + static_cast<char32_t>(hexDigitValue(line[pos]));
          ++pos;
          ++digits;
        }
        going = digits == 0 ? decoder.rawByte('x') : decoder.codeUnit(unit);
        break;
      }
      case '0':
      case '1':
      case '2':
      case '3':
      case '4':
      case '5':
      case '6':
      case '7': {
        char32_t unit = static_cast<char32_t>(escaped - '0');
        int digits = 1;
        while (digits < 3 && pos < line.size() && line[pos] >= '0' && line[pos] <= '7') {
          unit = unit * 8 + static_cast<char32_t>(line[pos] - '0');
          ++pos;
          ++digits;
        }
        going = decoder.codeUnit(unit);
        break;
      }
      default:
        going = decoder.rawByte(escaped);
        break;
    }
    if (!going) return false;
  }
  return false;
}

// Reads hex data ("43,00,3a,00") from `data` into `bytes`: bytes of one or two hex digits,
// separated by commas and blanks. A backslash at the end of a line says that the data goes on
// in the next line of `lines` (after its leading blanks), as Wine writes long data. False when
// the data is malformed or a continuation line is missing.
bool readHexBytes(std::string_view data, LineCursor& lines, std::string& bytes) {
  std::size_t pos = 0;
  while (pos < data.size()) {
    const char c = data[pos];
    if (c == ' ' || c == '\t' || c == ',') {
      ++pos;
    } else if (c == '\\') {
      if (!withoutLeadingBlanks(data.substr(pos + 1)).empty() || !lines.next(data)) return false;
      data = withoutLeadingBlanks(data);
      pos = 0;
    } else {
      int value = hexDigitValue(c);
      if (value < 0) return false;
      ++pos;
      if (pos < data.size() && hexDigitValue(data[pos]) >= 0) {
        value = value * 16 + hexDigitValue(data[pos]);
        ++pos;
      }
      bytes += static_cast<char>(value);
    }
  }
  return true;
}

// The UTF-8 text of string data stored as UTF-16LE bytes (an odd last byte is dropped).
std::string textOfUtf16Bytes(std::string_view bytes) {
  std::string text;
  TextSink sink(text);
  Utf16ToUtf8<TextSink> decoder(sink);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    decoder.codeUnit(static_cast<unsigned char>(bytes[i]) |
                     static_cast<char32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8);
  }
  decoder.finish();
  return text;
}

// What a value line says about the value asked for.
enum class ValueLineMatch {
  OtherLine,  // not a valid value line, or a value of another name
  Text,       // the value asked for, with text data
  NotText,    // the value asked for, with data of another kind
};

// Matches one line of a key's block against the value name `valueNameMatcher` looks for; the
// data of a matching text value goes to `text`. String data written as hex bytes may go on in
// the lines after it, which are then taken from `followingLines`.
ValueLineMatch matchValueLine(std::string_view trimmedLine, LineCursor& followingLines,
                              NameMatcher& valueNameMatcher, std::string& text) {
  std::size_t pos = 1;
  valueNameMatcher.start();
  if (trimmedLine.starts_with('"')) {
    if (!decodeEscaped(trimmedLine, pos, '"', valueNameMatcher)) return ValueLineMatch::OtherLine;
  } else if (!trimmedLine.starts_with('@')) {
    return ValueLineMatch::OtherLine;
  }
  if (!valueNameMatcher.matchedName()) return ValueLineMatch::OtherLine;

  std::string_view rest = withoutLeadingBlanks(trimmedLine.substr(pos));
  if (!rest.starts_with('=')) return ValueLineMatch::OtherLine;
  rest = withoutLeadingBlanks(rest.substr(1));

  std::size_t dataStart = 0;
  std::string decoded;
  if (rest.starts_with("hex(1):") || rest.starts_with("hex(2):")) {
    // A string that Wine could not write as "...": UTF-16LE bytes, often without the NUL.
    std::string bytes;
    if (!readHexBytes(rest.substr(7), followingLines, bytes)) return ValueLineMatch::OtherLine;
    decoded = textOfUtf16Bytes(bytes);
  } else if (rest.starts_with('"')) {
    dataStart = 1;
  } else if (rest.starts_with("str:\"")) {
    dataStart = 5;
  } else if (rest.starts_with("str(2):\"")) {
    dataStart = 8;
  } else if (rest.starts_with("dword:") || rest.starts_with("hex:") || rest.starts_with("hex(") ||
             rest.starts_with("str(")) {
    return ValueLineMatch::NotText;
  } else {
    return ValueLineMatch::OtherLine;
  }
  if (dataStart > 0) {
    TextSink sink(decoded);
    if (!decodeEscaped(rest, dataStart, '"', sink)) return ValueLineMatch::OtherLine;
  }
  decoded.resize(std::min(decoded.size(), decoded.find('\0')));
  text = std::move(decoded);
  return ValueLineMatch::Text;
}

// Calls `visit(lineStart, trimmedLine, nextLineStart)` for each key line of `text` from
// `start` (a line start) on: each line whose first byte other than blanks is '['. Only the
// '[' bytes of the text are looked at closely, so a file is passed over at memchr speed.
template <typename Visit>
void forEachKeyLine(std::string_view text, std::size_t start, Visit visit) {
  const char* data = text.data();
  std::size_t pos = start;
  while (pos < text.size()) {
    const void* bracket = std::memchr(data + pos, '[', text.size() - pos);
    if (bracket == nullptr) return;
    const auto at = static_cast<std::size_t>(static_cast<const char*>(bracket) - data);
    std::size_t lineStart = at;
    while (lineStart > pos && (data[lineStart - 1] == ' ' || data[lineStart - 1] == '\t')) {
      --lineStart;
    }
    const void* newline = std::memchr(data + at, '\n', text.size() - at);
    const std::size_t lineEnd =
        newline != nullptr ? static_cast<std::size_t>(static_cast<const char*>(newline) - data)
                           : text.size();
    const std::size_t nextLineStart = newline != nullptr ? lineEnd + 1 : text.size();
    if (lineStart == 0 || data[lineStart - 1] == '\n') {
      std::string_view line = text.substr(at, lineEnd - at);
      if (line.ends_with('\r')) line.remove_suffix(1);
      visit(lineStart, line, nextLineStart);
    }
    pos = nextLineStart;
  }
}

// The text range of a key's value lines: from the line after its key line to the next key line.
struct KeyBlock {
  std::size_t begin;
  std::size_t end;
};

}  // namespace

WineRegistryFile::WineRegistryFile(std::string text) : text_(std::move(text)) {
  LineCursor lines(text_, 0);
  std::string_view line;
  if (!lines.next(line) || line != kHeaderLine) return;
  hasHeader_ = true;
  headerLineEnd_ = lines.nextLineStart();
  while (lines.next(line)) {
    const std::string_view trimmed = withoutLeadingBlanks(line);
    if (trimmed.starts_with('[')) break;
    if (trimmed == "#arch=win32") architecture_ = WineArchitecture::Win32;
    if (trimmed == "#arch=win64") architecture_ = WineArchitecture::Win64;
  }
}

WineRegistryFile WineRegistryFile::fromText(std::string text) {
  return WineRegistryFile(std::move(text));
}

WineRegistryFile WineRegistryFile::load(const std::string& path) {
  const std::filesystem::path filePath = pathFromUtf8(path);
  std::error_code error;
  if (!std::filesystem::is_regular_file(filePath, error)) return {};
  const std::uintmax_t size = std::filesystem::file_size(filePath, error);
  if (error || size > kLargestFileBytes) return {};

  std::ifstream in(filePath, std::ios::binary);
  if (!in) return {};
  std::string text(static_cast<std::size_t>(size), '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  return WineRegistryFile(std::move(text));
}

WineValueLookup WineRegistryFile::findValue(std::string_view keyPath,
                                            std::string_view valueName) const {
  return findValueInEachKey({std::string(keyPath)}, valueName).front();
}

std::vector<WineValueLookup> WineRegistryFile::findValueInEachKey(
    const std::vector<std::string>& keyPaths, std::string_view valueName) const {
  std::vector<WineValueLookup> lookups(keyPaths.size());
  if (!hasHeader_ || keyPaths.empty()) return lookups;

  // One pass over the key lines: where the blocks of the wanted keys lie.
  std::vector<std::vector<KeyBlock>> blocksByKey(keyPaths.size());
  std::vector<KeyBlock>* openBlocks = nullptr;
  NameMatcher keyMatcher(keyPaths);
  forEachKeyLine(text_, headerLineEnd_,
                 [&](std::size_t lineStart, std::string_view line, std::size_t nextLineStart) {
                   if (openBlocks != nullptr) openBlocks->back().end = lineStart;
                   openBlocks = nullptr;
                   std::size_t pos = 1;  // past '['
                   keyMatcher.start();
                   if (!decodeEscaped(line, pos, ']', keyMatcher)) return;
                   if (const std::optional<std::size_t> key = keyMatcher.matchedName()) {
                     openBlocks = &blocksByKey[*key];
                     openBlocks->push_back({nextLineStart, text_.size()});
                   }
                 });

  const std::vector<std::string> valueNames = {std::string(valueName)};
  NameMatcher valueNameMatcher(valueNames);
  std::string_view line;

  for (std::size_t key = 0; key < keyPaths.size(); ++key) {
    if (blocksByKey[key].empty()) continue;
    std::optional<std::string> value;  // the last line of the value counts
    for (const KeyBlock& block : blocksByKey[key]) {
      LineCursor blockLines(std::string_view(text_).substr(0, block.end), block.begin);
      while (blockLines.next(line)) {
        std::string text;
        switch (matchValueLine(withoutLeadingBlanks(line), blockLines, valueNameMatcher, text)) {
          case ValueLineMatch::Text:
            value = std::move(text);
            break;
          case ValueLineMatch::NotText:
            value.reset();
            break;
          case ValueLineMatch::OtherLine:
            break;
        }
      }
    }
    lookups[key] = value ? WineValueLookup{WineValueLookup::Outcome::Found, std::move(*value)}
                         : WineValueLookup{WineValueLookup::Outcome::ValueMissing, {}};
  }
  // The key matcher gives a key named twice to its first place only.
  for (std::size_t key = 1; key < keyPaths.size(); ++key) {
    for (std::size_t earlier = 0; earlier < key; ++earlier) {
      if (equalIgnoringAsciiCase(keyPaths[key], keyPaths[earlier])) {
        lookups[key] = lookups[earlier];
        break;
      }
    }
  }
  return lookups;
}

}  // namespace corvane
