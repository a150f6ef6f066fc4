// Random documents and random edit sequences, checked against the plain reference model.
#include <gtest/gtest.h>

#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "IniDocument.h"
#include "ReferenceIni.h"

namespace corvane {
namespace {

using testing::ReferenceIni;

const std::vector<std::string> kSections = {"Settings", "settings", " SETTINGS",
                                            "Other",    "A b",      "New"};
const std::vector<std::string> kKeys = {"K",         "k",          "Key", "MapName01",
                                        "mapname02", "MapName100", "x y"};
const std::vector<std::string> kValues = {"1", "two words",           "", "a;b", "C&C_Under.mix",
                                          "=", std::string("r\0n", 3)};

template <typename T>
const T& pick(std::mt19937& random, const std::vector<T>& from) {
  return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
}

const char* pick(std::mt19937& random, std::initializer_list<const char*> from) {
  return from.begin()[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
}

bool chance(std::mt19937& random, int percent) {
  return std::uniform_int_distribution<int>(1, 100)(random) <= percent;
}

std::string blanks(std::mt19937& random) {
  return pick(random, {"", "", " ", "\t", "  "});
}

std::string randomLine(std::mt19937& random) {
  switch (std::uniform_int_distribution<int>(0, 9)(random)) {
    case 0:
      return blanks(random) + "; " + pick(random, kKeys) + "=commented";
    case 1:
      return blanks(random);
    case 2:
      return pick(random, {"no equals", "[broken", "=no key", "x\ry=cr inside"});
    default:
      return blanks(random) + pick(random, kKeys) + blanks(random) + "=" + blanks(random) +
             pick(random, kValues) + blanks(random);
  }
}

std::string randomDocument(std::mt19937& random) {
  std::vector<std::string> lines;
  for (int i = std::uniform_int_distribution<int>(0, 2)(random); i > 0; --i) {
    lines.push_back(randomLine(random));
  }
  for (int s = std::uniform_int_distribution<int>(0, 4)(random); s > 0; --s) {
    lines.push_back(blanks(random) + "[" + blanks(random) + pick(random, kSections) +
                    blanks(random) + "]" + pick(random, {"", "", " ; note"}));
    const int count = chance(random, 15) ? 48 : 6;  // large sections get a key index
    for (int i = std::uniform_int_distribution<int>(0, count)(random); i > 0; --i) {
      lines.push_back(randomLine(random));
    }
  }
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const bool last = i + 1 == lines.size();
    text += lines[i] + ((last && chance(random, 30)) ? "" : chance(random, 50) ? "\r\n" : "\n");
  }
  return text;
}

TEST(RandomEdits, MatchTheReferenceModel) {
  for (unsigned seed = 1; seed <= 2000; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    const std::string original = randomDocument(random);
    IniDocument document = IniDocument::fromBytes(original);
    ReferenceIni model(original);
    ASSERT_EQ(document.bytes(), original);

    for (int step = 0; step < 16; ++step) {
      const std::string& section = pick(random, kSections);
      const std::string& key = pick(random, kKeys);
      const int operation = std::uniform_int_distribution<int>(0, 9)(random);
      if (operation < 5) {
        const std::string keyOrBad =
            chance(random, 10) ? pick(random, {"a=b", ";k", "", " k"}) : key;
        const std::string value = chance(random, 5) ? "bad\nvalue" : pick(random, kValues);
        const bool accepted = model.setValue(section, keyOrBad, value);
        ASSERT_EQ(document.setValue(section, keyOrBad, value), accepted) << keyOrBad;
        if (accepted) {
          ASSERT_EQ(document.value(section, keyOrBad, "?"), value);
        }
      } else if (operation < 8) {
        ASSERT_EQ(document.removeKey(section, key), model.removeKey(section, key));
      } else if (operation < 9) {
        ASSERT_EQ(document.removeKeysIf(section, testing::isMapKey),
                  model.removeKeysIf(section, testing::isMapKey));
      }
      ASSERT_EQ(document.bytes(), model.bytes());
      ASSERT_EQ(document.modified(), model.bytes() != original);
      ASSERT_EQ(document.value(section, key, "?"), model.value(section, key).value_or("?"));
      ASSERT_EQ(document.contains(section, key), model.value(section, key).has_value());
    }
  }
}

}  // namespace
}  // namespace corvane
