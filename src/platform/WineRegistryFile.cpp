// One registry file of a Wine prefix, searched in place for one value.
#include "WineRegistryFile.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <system_error>
#include <utility>

#include "Paths.h"

namespace corvane {

namespace {

constexpr std::string_view kHeaderLine = "WINE REGISTRY Version 2";
constexpr std::size_t kUnlimited = std::numeric_limits<std::size_t>::max();
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
    lineStart_ = static_cast<std::size_t>(begin - text_.data());
    if (length > 0 && begin[length - 1] == '\r') --length;
    line = std::string_view(begin, length);
    return true;
  }

  // Where the line last returned begins, and where the one after it begins.
  std::size_t lineStart() const { return lineStart_; }
  std::size_t nextLineStart() const { return next_; }

 private:
  std::string_view text_;
  std::size_t next_;
  std::size_t lineStart_ = 0;
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

void appendUtf8(std::string& out, char32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (codePoint >> 18));
    out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

// Turns escaped UTF-16 code units into UTF-8, joining surrogate pairs.
class Utf16ToUtf8 {
 public:
  explicit Utf16ToUtf8(std::string& out) : out_(out) {}

  void codeUnit(char32_t unit) {
    const bool isHigh = unit >= 0xD800 && unit <= 0xDBFF;
    const bool isLow = unit >= 0xDC00 && unit <= 0xDFFF;
    if (pendingHigh_ != 0) {
      if (isLow) {
        appendUtf8(out_, 0x10000 + ((pendingHigh_ - 0xD800) << 10) + (unit - 0xDC00));
        pendingHigh_ = 0;
        return;
      }
      finish();
    }
    if (isHigh) {
      pendingHigh_ = unit;
    } else if (isLow) {
      appendUtf8(out_, kReplacementCharacter);
    } else {
      appendUtf8(out_, unit);
    }
  }

  void rawByte(char byte) {
    finish();
    out_ += byte;
  }

  // Ends the text: a high surrogate still waiting for its pair becomes U+FFFD.
  void finish() {
    if (pendingHigh_ == 0) return;
    appendUtf8(out_, kReplacementCharacter);
    pendingHigh_ = 0;
  }

 private:
  std::string& out_;
  char32_t pendingHigh_ = 0;
};

int hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Decodes the escaped text of `line` from `pos` up to the first unescaped `terminator` into
// `out` (UTF-8). Returns true with `pos` just past the terminator. Returns false when the line
// ends first, or as soon as `out` grows beyond `longestWanted` bytes (the caller only wants to
// compare it with a text of that length).
bool decodeEscaped(std::string_view line, std::size_t& pos, char terminator, std::string& out,
                   std::size_t longestWanted) {
  Utf16ToUtf8 decoder(out);
  while (pos < line.size()) {
    if (out.size() > longestWanted) return false;
    const char c = line[pos];
    if (c == terminator) {
      decoder.finish();
      ++pos;
      return out.size() <= longestWanted;
    }
    if (c != '\\') {
      decoder.rawByte(c);
      ++pos;
      continue;
    }
    if (pos + 1 >= line.size()) return false;
    const char escaped = line[pos + 1];
    pos += 2;
    switch (escaped) {
      case 'a':
        decoder.codeUnit('\a');
        break;
      case 'b':
        decoder.codeUnit('\b');
        break;
      case 'e':
        decoder.codeUnit(0x1B);
        break;
      case 'f':
        decoder.codeUnit('\f');
        break;
      case 'n':
        decoder.codeUnit('\n');
        break;
      case 'r':
        decoder.codeUnit('\r');
        break;
      case 't':
        decoder.codeUnit('\t');
        break;
      case 'v':
        decoder.codeUnit('\v');
        break;
      case 'x': {
        char32_t unit = 0;
        int digits = 0;
        while (digits < 4 && pos < line.size() && hexDigitValue(line[pos]) >= 0) {
          unit = unit * 16 + static_cast<char32_t>(hexDigitValue(line[pos]));
          ++pos;
          ++digits;
        }
        if (digits == 0) {
          decoder.rawByte('x');
        } else {
          decoder.codeUnit(unit);
        }
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
        decoder.codeUnit(unit);
        break;
      }
      default:
        decoder.rawByte(escaped);
        break;
    }
  }
  return false;
}

// The name of a key line ("[Software\\Westwood] 1796584329" gives Software\Westwood), when it
// is no longer than `longestWanted` bytes.
std::optional<std::string> keyLineName(std::string_view trimmedLine, std::size_t longestWanted) {
  std::string name;
  std::size_t pos = 1;  // past '['
  if (!decodeEscaped(trimmedLine, pos, ']', name, longestWanted)) return std::nullopt;
  return name;
}

// What a value line says about the value asked for.
enum class ValueLineMatch {
  OtherLine,  // not a valid value line, or a value of another name
  Text,       // the value asked for, with text data
  NotText,    // the value asked for, with data of another kind
};

ValueLineMatch matchValueLine(std::string_view trimmedLine, std::string_view valueName,
                              std::string& text) {
  std::size_t pos = 0;
  std::string name;
  if (trimmedLine.starts_with('@')) {
    pos = 1;
  } else if (trimmedLine.starts_with('"')) {
    pos = 1;
    if (!decodeEscaped(trimmedLine, pos, '"', name, valueName.size())) {
      return ValueLineMatch::OtherLine;
    }
  } else {
    return ValueLineMatch::OtherLine;
  }
  if (!equalIgnoringAsciiCase(name, valueName)) return ValueLineMatch::OtherLine;

  std::string_view rest = withoutLeadingBlanks(trimmedLine.substr(pos));
  if (!rest.starts_with('=')) return ValueLineMatch::OtherLine;
  rest = withoutLeadingBlanks(rest.substr(1));

  std::size_t dataStart = 0;
  if (rest.starts_with('"')) {
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
  std::string decoded;
  if (!decodeEscaped(rest, dataStart, '"', decoded, kUnlimited)) return ValueLineMatch::OtherLine;
  decoded.resize(std::min(decoded.size(), decoded.find('\0')));
  text = std::move(decoded);
  return ValueLineMatch::Text;
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
  return findValueInKeys({std::string(keyPath)}, valueName);
}

WineValueLookup WineRegistryFile::findValueInKeys(
    const std::vector<std::string>& keyPathsByPreference, std::string_view valueName) const {
  if (!hasHeader_ || keyPathsByPreference.empty()) return {};

  std::size_t longestKeyPath = 0;
  for (const std::string& keyPath : keyPathsByPreference) {
    longestKeyPath = std::max(longestKeyPath, keyPath.size());
  }

  // One pass over the key lines: where the blocks of the wanted keys lie.
  std::vector<std::vector<KeyBlock>> blocksByKey(keyPathsByPreference.size());
  std::vector<KeyBlock>* openBlocks = nullptr;
  LineCursor lines(text_, 0);
  std::string_view line;
  lines.next(line);  // the header
  while (lines.next(line)) {
    const std::string_view trimmed = withoutLeadingBlanks(line);
    if (!trimmed.starts_with('[')) continue;
    if (openBlocks != nullptr) openBlocks->back().end = lines.lineStart();
    openBlocks = nullptr;
    const std::optional<std::string> name = keyLineName(trimmed, longestKeyPath);
    if (!name) continue;
    for (std::size_t i = 0; i < keyPathsByPreference.size(); ++i) {
      if (equalIgnoringAsciiCase(*name, keyPathsByPreference[i])) {
        openBlocks = &blocksByKey[i];
        openBlocks->push_back({lines.nextLineStart(), text_.size()});
        break;
      }
    }
  }

  bool anyKeyFound = false;
  for (const std::vector<KeyBlock>& blocks : blocksByKey) {
    if (blocks.empty()) continue;
    anyKeyFound = true;
    std::optional<std::string> value;  // the last line of the value counts
    for (const KeyBlock& block : blocks) {
      LineCursor blockLines(std::string_view(text_).substr(0, block.end), block.begin);
      while (blockLines.next(line)) {
        std::string text;
        switch (matchValueLine(withoutLeadingBlanks(line), valueName, text)) {
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
    if (value) return {WineValueLookup::Outcome::Found, std::move(*value)};
  }
  return {
      anyKeyFound ? WineValueLookup::Outcome::ValueMissing : WineValueLookup::Outcome::KeyMissing,
      {}};
}

}  // namespace corvane
