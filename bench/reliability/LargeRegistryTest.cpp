// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Wine registry files of tens of megabytes and lines of megabytes: searched to their end.
#include <gtest/gtest.h>

#include <string>

#include "TempFolder.h"
#include "WineRegistryFile.h"

namespace corvane {
namespace {

const std::string kHeader = "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n";
const std::string kGameKeyLine = "[Software\\\\Westwood\\\\Renegade] 1796584329\n";
const std::string kGameKey = "Software\\Westwood\\Renegade";

TEST(LargeRegistryFile, FiftyMegabytesAreSearchedToTheEnd) {
  testing::TempFolder folder;
  std::string text = kHeader;
  text.reserve(50u * 1024u * 1024u + 1024u);
  for (std::size_t i = 0; text.size() < 50u * 1024u * 1024u; ++i) {
    text += "[Software\\\\Classes\\\\CLSID\\\\{" + std::to_string(i) +
            "}\\\\InprocServer32] 1796584327\n#time=1dd85b5afb639f0\n"
            "@=\"C:\\\\windows\\\\system32\\\\ole32.dll\"\n\"ThreadingModel\"=\"Both\"\n\n";
  }
  text += kGameKeyLine + "\"InstallPath\"=\"C:\\\\last\"\n";
  testing::writeFile(folder.file("system.reg"), text);
  const WineRegistryFile file = WineRegistryFile::load(folder.file("system.reg"));
  EXPECT_EQ(file.findValue(kGameKey, "InstallPath").text, "C:\\last");
}

TEST(LargeRegistryFile, LinesOfMegabytesAreRead) {
  const std::string longText(4u * 1024u * 1024u, 'x');
  const WineRegistryFile file = WineRegistryFile::fromText(
      kHeader + "[" + std::string(3u * 1024u * 1024u, 'k') + "]\n\"InstallPath\"=\"no\"\n" +
      kGameKeyLine + "\"" + std::string(2u * 1024u * 1024u, 'n') + "\"=\"no\"\n" +
      "\"InstallPath\"=\"" + longText + "\"\n");
  EXPECT_EQ(file.findValue(kGameKey, "InstallPath").text, longText);
  EXPECT_EQ(WineRegistryFile::fromText(kHeader + "[" + std::string(20u * 1024u * 1024u, '\\'))
                .findValue(kGameKey, "InstallPath")
                .outcome,
            WineValueLookup::Outcome::KeyMissing);
}

}  // namespace
}  // namespace corvane
