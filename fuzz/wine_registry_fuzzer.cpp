// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the Wine registry file reader: any text, looked up with the game's key
// paths and with a key and a value named in the text itself.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "WineRegistryFile.h"

namespace {

using corvane::WineRegistryFile;
using corvane::WineValueLookup;

void require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "Wine registry check failed: %s\n", what);
  std::abort();
}

// The text between the first '[' and the next ']' of the input, as a key path may be spelled
// (escaped backslashes are taken as they stand: a look-up must cope with any text).
std::string firstBracketedName(std::string_view text) {
  const std::size_t open = text.find('[');
  if (open == std::string_view::npos) return "Software";
  const std::size_t close = text.find(']', open);
  return std::string(
      text.substr(open + 1, (close == std::string_view::npos ? text.size() : close) - open - 1));
}

// The text between the first pair of '"' of the input.
std::string firstQuotedName(std::string_view text) {
  const std::size_t open = text.find('"');
  if (open == std::string_view::npos) return "InstallPath";
  const std::size_t close = text.find('"', open + 1);
  if (close == std::string_view::npos) return "InstallPath";
  return std::string(text.substr(open + 1, close - open - 1));
}

bool sameLookup(const WineValueLookup& left, const WineValueLookup& right) {
  return left.outcome == right.outcome && left.text == right.text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Real registry files are a few megabytes; the fuzzer needs far less to reach every branch.
  if (size > 256 * 1024) return -1;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const WineRegistryFile file = WineRegistryFile::fromText(text);

  const std::vector<std::string> keyPaths = {"Software\\Wow6432Node\\Westwood\\Renegade",
                                             "Software\\Westwood\\Renegade",
                                             firstBracketedName(text), "", "Software"};
  const std::vector<std::string> valueNames = {"InstallPath", "", firstQuotedName(text)};

  for (const std::string& valueName : valueNames) {
    const std::vector<WineValueLookup> together = file.findValueInEachKey(keyPaths, valueName);
    require(together.size() == keyPaths.size(), "one look-up for each key");
    for (std::size_t i = 0; i < keyPaths.size(); ++i) {
      const WineValueLookup lookup = file.findValue(keyPaths[i], valueName);
      if (!file.hasHeader()) {
        require(lookup.outcome == WineValueLookup::Outcome::KeyMissing,
                "a file without its header holds no key");
      }
      if (lookup.outcome != WineValueLookup::Outcome::Found) {
        require(lookup.text.empty(), "text is empty unless the value is found");
      }
      require(lookup.text.find('\0') == std::string::npos, "a value ends at its first NUL");
      require(sameLookup(together[i], lookup),
              "one pass over several keys finds in each what a look-up of that key alone finds");
    }
  }
  return 0;
}
