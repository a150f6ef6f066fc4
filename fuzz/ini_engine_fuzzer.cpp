// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the INI engine: a random file and a random sequence of reads and edits,
// checked step by step against the plain reference model of the INI rules.
//
// Input layout: the operations are taken from the end of the input (FuzzedDataProvider reads
// numbers from the back), the file is what is left at the front, so a plain INI file is a good
// seed. Names are drawn from a fixed table and from the names the file itself holds.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "IniDocument.h"
#include "ReferenceIni.h"

namespace {

using corvane::IniDocument;
using corvane::testing::ReferenceIni;

// Stops the run with a message libFuzzer shows beside the input that caused it.
void require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "INI engine check failed: %s\n", what);
  std::abort();
}

const std::vector<std::string> kSectionNames = {
    "Settings", "settings", " SETTINGS ", "Other", "A b", "", " ", "New]", "x\ny", "[Settings"};
const std::vector<std::string> kKeyNames = {"TimeLimitMinutes",
                                            "radarmode",
                                            "MapName01",
                                            "mapname02",
                                            "MapName100",
                                            " K ",
                                            "k",
                                            "",
                                            ";c",
                                            "[x",
                                            "a=b",
                                            "x y",
                                            "\tk",
                                            std::string("n\0", 2)};
const std::vector<std::string> kValues = {"",
                                          "30",
                                          " yes ",
                                          "C&C_Under.mix",
                                          "a=b",
                                          "; not a comment",
                                          "[Other]",
                                          "x\r\ny",
                                          std::string("\0", 1),
                                          std::string(300, 'v')};

// The section names and keys the file holds, as spelled there, plus upper-case forms of them.
void addNamesOfFile(const std::string& file, std::vector<std::string>& sections,
                    std::vector<std::string>& keys) {
  const ReferenceIni model(file);
  for (const std::string& line : model.lines) {
    if (sections.size() + keys.size() > 64) break;
    if (const auto name = ReferenceIni::headerName(line)) {
      sections.push_back(*name);
    } else if (const auto entry = ReferenceIni::entry(line)) {
      keys.push_back(entry->first);
      std::string upper = entry->first;
      for (char& c : upper) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
      keys.push_back(upper);
    }
  }
}

template <typename T>
const T& pick(FuzzedDataProvider& provider, const std::vector<T>& from) {
  return from[provider.ConsumeIntegralInRange<std::size_t>(0, from.size() - 1)];
}

// The key tests that removeKeysIf is run with.
bool matchesPredicate(int predicate, std::string_view key, const std::string& chosen) {
  switch (predicate) {
    case 0:
      return corvane::testing::isMapKey(key);
    case 1:
      return ReferenceIni::sameName(std::string(key), chosen);
    case 2:
      return true;
    default:
      return !key.empty() && !chosen.empty() && (key.front() | 0x20) == (chosen.front() | 0x20);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 64 * 1024) return -1;  // larger inputs find nothing new and slow the run down
  FuzzedDataProvider provider(data, size);
  const int operationCount = provider.ConsumeIntegralInRange<int>(0, 24);
  std::vector<std::uint8_t> script;
  for (int i = 0; i < operationCount * 5; ++i)
    script.push_back(provider.ConsumeIntegral<std::uint8_t>());
  const std::string file = provider.ConsumeRemainingBytesAsString();

  std::vector<std::string> sections = kSectionNames;
  std::vector<std::string> keys = kKeyNames;
  addNamesOfFile(file, sections, keys);

  IniDocument document = IniDocument::fromBytes(file);
  ReferenceIni model(file);
  require(document.bytes() == file, "a document holds the bytes it was made from");
  require(!document.modified(), "a new document is unmodified");

  FuzzedDataProvider steps(script.data(), script.size());
  const std::string kFallback = "\x01 fallback";
  for (int i = 0; i < operationCount; ++i) {
    const int kind = steps.ConsumeIntegralInRange<int>(0, 5);
    const std::string& section = pick(steps, sections);
    const std::string& key = pick(steps, keys);
    const std::string& value = pick(steps, kValues);
    switch (kind) {
      case 0: {  // read
        const auto expected = model.value(section, key);
        require(document.value(section, key, kFallback) == expected.value_or(kFallback),
                "value() matches the model");
        require(document.contains(section, key) == expected.has_value(),
                "contains() matches the model");
        break;
      }
      case 1: {  // write, then read back
        const bool accepted = document.setValue(section, key, value);
        require(accepted == model.setValue(section, key, value), "setValue() accepts as the model");
        if (accepted) {
          require(document.value(section, key, kFallback) == ReferenceIni::trim(value),
                  "a read after a write returns the value written");
        }
        break;
      }
      case 2:  // remove one key
        require(document.removeKey(section, key) == model.removeKey(section, key),
                "removeKey() removes as the model");
        break;
      case 3: {  // remove keys by a test
        const int predicate = steps.ConsumeIntegralInRange<int>(0, 3);
        const auto matches = [&](std::string_view name) {
          return matchesPredicate(predicate, name, key);
        };
        require(document.removeKeysIf(section, matches) == model.removeKeysIf(section, matches),
                "removeKeysIf() removes as many as the model");
        break;
      }
      case 4: {  // a copy must behave as the original (its indexes are rebuilt)
        IniDocument copy = document;
        document = copy;
        break;
      }
      default:  // a read in a copy, whose indexes start empty
        require(IniDocument(document).value(section, key, kFallback) ==
                    model.value(section, key).value_or(kFallback),
                "a copy reads as the model");
        break;
    }
    const std::string bytes = document.bytes();
    require(bytes == model.bytes(), "every byte matches the model after each step");
    require(document.modified() == (bytes != file), "modified() tells whether the bytes changed");
  }
  return 0;
}
