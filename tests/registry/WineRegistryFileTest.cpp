// Tests of the Wine registry file reader: the format's escapes and value kinds, and files that
// are damaged, huge or not registry files at all.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "TemporaryFolder.h"
#include "WineRegistryFile.h"

namespace corvane {
namespace {

using testing_support::TemporaryFolder;
using testing_support::writeFile;
using Outcome = WineValueLookup::Outcome;
using namespace std::string_literals;

const std::string kHeader =
    "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=win32\n\n";
const std::string kGameKeyLine =
    "[Software\\\\Westwood\\\\Renegade] 1796584329\n#time=1dd85b5b0c07266\n";
const std::string kGameKey = "Software\\Westwood\\Renegade";

// --- Look-ups in well-formed and damaged text -----------------------------------------------

struct LookupRow {
  const char* name;
  std::string fileText;
  std::string keyPath;
  std::string valueName;
  Outcome outcome;
  std::string text;
};

void PrintTo(const LookupRow& row, std::ostream* out) {
  *out << row.name;
}

class WineRegistryLookupTest : public ::testing::TestWithParam<LookupRow> {};

TEST_P(WineRegistryLookupTest, FindsWhatTheFileHolds) {
  const LookupRow& row = GetParam();
  const WineRegistryFile file = WineRegistryFile::fromText(row.fileText);
  const WineValueLookup lookup = file.findValue(row.keyPath, row.valueName);
  EXPECT_EQ(lookup.outcome, row.outcome);
  EXPECT_EQ(lookup.text, row.text);
}

// A row whose file is the header, the game's key line and `valueLines`; looks up InstallPath.
LookupRow gameValueRow(const char* name, const std::string& valueLines, Outcome outcome,
                       const std::string& text) {
  return {name, kHeader + kGameKeyLine + valueLines, kGameKey, "InstallPath", outcome, text};
}

INSTANTIATE_TEST_SUITE_P(
    ValueLines, WineRegistryLookupTest,
    ::testing::Values(
        gameValueRow("plain_string", "\"InstallPath\"=\"C:\\\\Westwood\\\\Renegade.exe\"\n",
                     Outcome::Found, "C:\\Westwood\\Renegade.exe"),
        gameValueRow("str_prefix", "\"InstallPath\"=str:\"C:\\\\x\"\n", Outcome::Found, "C:\\x"),
        gameValueRow("expandable_string", "\"InstallPath\"=str(2):\"%ProgramFiles%\\\\x\"\n",
                     Outcome::Found, "%ProgramFiles%\\x"),
        gameValueRow("empty_string", "\"InstallPath\"=\"\"\n", Outcome::Found, ""),
        gameValueRow("blanks_inside_kept", "\"InstallPath\"=\"  C:\\\\x  \"\n", Outcome::Found,
                     "  C:\\x  "),
        gameValueRow("value_name_ignores_case", "\"installpath\"=\"C:\\\\x\"\n", Outcome::Found,
                     "C:\\x"),
        gameValueRow("escaped_quote_and_backslash", "\"InstallPath\"=\"a\\\"b\\\\c\"\n",
                     Outcome::Found, "a\"b\\c"),
        gameValueRow("c_escapes", "\"InstallPath\"=\"\\a\\b\\t\\n\\v\\f\\r\\e\"\n", Outcome::Found,
                     "\a\b\t\n\v\f\r\x1B"),
        gameValueRow("octal_escapes", "\"InstallPath\"=\"\\101\\0011\\1x\"\n", Outcome::Found,
                     "A\x01"
                     "1\x01x"),
        gameValueRow("hex_escape_latin", "\"InstallPath\"=\"M\\xfcller\"\n", Outcome::Found,
                     "M\xC3\xBCller"),
        gameValueRow("hex_escape_at_most_four_digits", "\"InstallPath\"=\"A\\x00e41\"\n",
                     Outcome::Found,
                     "A\xC3\xA4"
                     "1"),
        gameValueRow("hex_escape_cjk", "\"InstallPath\"=\"\\x65e5\\x672c\"\n", Outcome::Found,
                     "\xE6\x97\xA5\xE6\x9C\xAC"),
        gameValueRow("surrogate_pair_joined", "\"InstallPath\"=\"\\xd83d\\xde00!\"\n",
                     Outcome::Found, "\xF0\x9F\x98\x80!"),
        gameValueRow("lone_high_surrogate_replaced", "\"InstallPath\"=\"\\xd83dx\"\n",
                     Outcome::Found, "\xEF\xBF\xBDx"),
        gameValueRow("lone_low_surrogate_replaced", "\"InstallPath\"=\"\\xde00\"\n", Outcome::Found,
                     "\xEF\xBF\xBD"),
        gameValueRow("raw_utf8_kept", "\"InstallPath\"=\"M\xC3\xBCller\"\n", Outcome::Found,
                     "M\xC3\xBCller"),
        gameValueRow("other_escaped_character_stands_for_itself", "\"InstallPath\"=\"\\q\\[\"\n",
                     Outcome::Found, "q["),
        gameValueRow("value_ends_at_nul", "\"InstallPath\"=\"C:\\\\x\\0junk\"\n", Outcome::Found,
                     "C:\\x"),
        gameValueRow("crlf_line_endings",
                     "\"Language\"=dword:00000000\r\n\"InstallPath\"=\"C:\\\\x\"\r\n",
                     Outcome::Found, "C:\\x"),
        gameValueRow(
            "comment_and_options_passed_over",
            "#class=\"x\"\n;\"InstallPath\"=\"commented\"\n#link\n\"InstallPath\"=\"C:\\\\x\"\n",
            Outcome::Found, "C:\\x"),
        gameValueRow("hex_continuation_lines_passed_over",
                     "\"Blob\"=hex:22,49,6e,73,74,61,6c,6c,50,61,74,68,22,3d,22,00,00,00,00,00,\\\n"
                     "  00,00,00\n\"InstallPath\"=\"C:\\\\x\"\n",
                     Outcome::Found, "C:\\x"),
        gameValueRow("dword_is_not_text", "\"InstallPath\"=dword:0000002a\n", Outcome::ValueMissing,
                     ""),
        gameValueRow("hex_is_not_text", "\"InstallPath\"=hex:43,00,3a,00\n", Outcome::ValueMissing,
                     ""),
        gameValueRow("multi_string_is_not_text", "\"InstallPath\"=str(7):\"a\\0b\\0\"\n",
                     Outcome::ValueMissing, ""),
        gameValueRow("later_line_of_a_value_counts",
                     "\"InstallPath\"=\"C:\\\\old\"\n\"InstallPath\"=\"C:\\\\new\"\n",
                     Outcome::Found, "C:\\new"),
        gameValueRow("later_line_of_another_kind_counts",
                     "\"InstallPath\"=\"C:\\\\x\"\n\"InstallPath\"=dword:00000001\n",
                     Outcome::ValueMissing, ""),
        gameValueRow("other_value_only", "\"Language\"=dword:00000000\n", Outcome::ValueMissing,
                     ""),
        gameValueRow("shorter_value_name_is_another_value", "\"Install\"=\"C:\\\\x\"\n",
                     Outcome::ValueMissing, ""),
        gameValueRow("value_name_is_not_a_prefix", "\"InstallPathX\"=\"C:\\\\x\"\n",
                     Outcome::ValueMissing, ""),
        gameValueRow("truncated_string", "\"InstallPath\"=\"C:\\\\Westw", Outcome::ValueMissing,
                     ""),
        gameValueRow("truncated_after_backslash", "\"InstallPath\"=\"C:\\", Outcome::ValueMissing,
                     ""),
        gameValueRow("unclosed_string_then_valid_line",
                     "\"InstallPath\"=\"C:\\\\broken\n\"InstallPath\"=\"C:\\\\x\"\n",
                     Outcome::Found, "C:\\x"),
        gameValueRow("truncated_value_name", "\"InstallPa", Outcome::ValueMissing, ""),
        gameValueRow("unknown_data_kind_ignored",
                     "\"InstallPath\"=\"C:\\\\x\"\n\"InstallPath\"=bogus\n", Outcome::Found,
                     "C:\\x"),
        gameValueRow("nul_bytes_in_lines", "\"Lang\0uage\"=\"\0\"\n\"InstallPath\"=\"C:\\\\x\"\n"s,
                     Outcome::Found, "C:\\x")),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Keys, WineRegistryLookupTest,
    ::testing::Values(
        LookupRow{"key_name_ignores_case", kHeader + kGameKeyLine + "\"InstallPath\"=\"C:\\\\x\"\n",
                  "SOFTWARE\\westwood\\RENEGADE", "InstallPath", Outcome::Found, "C:\\x"},
        LookupRow{"default_value", kHeader + kGameKeyLine + "@=\"C:\\\\x\"\n", kGameKey, "",
                  Outcome::Found, "C:\\x"},
        LookupRow{"default_value_is_not_a_named_one", kHeader + kGameKeyLine + "@=\"C:\\\\x\"\n",
                  kGameKey, "InstallPath", Outcome::ValueMissing, ""},
        LookupRow{"missing_key", kHeader + "[Software\\\\Other]\n\"InstallPath\"=\"x\"\n", kGameKey,
                  "InstallPath", Outcome::KeyMissing, ""},
        LookupRow{"longer_key_is_another_key",
                  kHeader + "[Software\\\\Westwood\\\\RenegadeX]\n\"InstallPath\"=\"x\"\n",
                  kGameKey, "InstallPath", Outcome::KeyMissing, ""},
        LookupRow{"parent_key_is_another_key",
                  kHeader + "[Software\\\\Westwood]\n\"InstallPath\"=\"x\"\n", kGameKey,
                  "InstallPath", Outcome::KeyMissing, ""},
        LookupRow{"sub_key_is_another_key",
                  kHeader + "[Software\\\\Westwood\\\\Renegade\\\\Sub]\n\"InstallPath\"=\"x\"\n",
                  kGameKey, "InstallPath", Outcome::KeyMissing, ""},
        LookupRow{"block_ends_at_the_next_key",
                  kHeader + kGameKeyLine + "\n[Software\\\\Zzz]\n\"InstallPath\"=\"x\"\n", kGameKey,
                  "InstallPath", Outcome::ValueMissing, ""},
        LookupRow{"value_before_any_key_belongs_to_none",
                  kHeader + "\"InstallPath\"=\"x\"\n" + kGameKeyLine, kGameKey, "InstallPath",
                  Outcome::ValueMissing, ""},
        LookupRow{"key_occurring_twice_later_value_counts",
                  kHeader + kGameKeyLine + "\"InstallPath\"=\"C:\\\\old\"\n\n[Software\\\\B]\n" +
                      kGameKeyLine + "\"InstallPath\"=\"C:\\\\new\"\n",
                  kGameKey, "InstallPath", Outcome::Found, "C:\\new"},
        LookupRow{"value_in_the_first_of_two_blocks",
                  kHeader + kGameKeyLine + "\"InstallPath\"=\"C:\\\\x\"\n\n" + kGameKeyLine,
                  kGameKey, "InstallPath", Outcome::Found, "C:\\x"},
        LookupRow{"escaped_bracket_in_key_name",
                  kHeader + "[Software\\\\Odd\\]Name] 1\n\"InstallPath\"=\"x\"\n",
                  "Software\\Odd]Name", "InstallPath", Outcome::Found, "x"},
        LookupRow{"escaped_non_ascii_key_name",
                  kHeader + "[Software\\\\M\\xfcller] 1\n\"InstallPath\"=\"x\"\n",
                  "Software\\M\xC3\xBCller", "InstallPath", Outcome::Found, "x"},
        LookupRow{"escaped_value_name", kHeader + kGameKeyLine + "\"Install\\\"Path\"=\"x\"\n",
                  kGameKey, "Install\"Path", Outcome::Found, "x"},
        LookupRow{"indented_lines", kHeader + "  " + kGameKeyLine + "\t\"InstallPath\"=\"x\"\n",
                  kGameKey, "InstallPath", Outcome::Found, "x"},
        LookupRow{"truncated_key_line", kHeader + "[Software\\\\Westwood\\\\Rene", kGameKey,
                  "InstallPath", Outcome::KeyMissing, ""},
        LookupRow{"file_without_newline_at_end", kHeader + kGameKeyLine + "\"InstallPath\"=\"x\"",
                  kGameKey, "InstallPath", Outcome::Found, "x"},
        LookupRow{"missing_header", kGameKeyLine + "\"InstallPath\"=\"x\"\n", kGameKey,
                  "InstallPath", Outcome::KeyMissing, ""},
        LookupRow{"other_version",
                  "WINE REGISTRY Version 1\n" + kGameKeyLine + "\"InstallPath\"=\"x\"\n", kGameKey,
                  "InstallPath", Outcome::KeyMissing, ""},
        LookupRow{"header_after_byte_order_mark",
                  "\xEF\xBB\xBF" + kHeader + kGameKeyLine + "\"InstallPath\"=\"x\"\n", kGameKey,
                  "InstallPath", Outcome::KeyMissing, ""},
        LookupRow{"header_with_crlf",
                  "WINE REGISTRY Version 2\r\n\r\n" + kGameKeyLine + "\"InstallPath\"=\"x\"\r\n",
                  kGameKey, "InstallPath", Outcome::Found, "x"},
        LookupRow{"empty_text", "", kGameKey, "InstallPath", Outcome::KeyMissing, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WineRegistryCandidateKeysTest, FirstCandidateHoldingTheValueAnswers) {
  const WineRegistryFile file = WineRegistryFile::fromText(
      kHeader + "[Software\\\\Wow6432Node\\\\Westwood\\\\Renegade]\n\"Language\"=dword:0\n\n" +
      "[Software\\\\Westwood\\\\Renegade]\n\"InstallPath\"=\"C:\\\\plain\"\n");
  const std::vector<std::string> candidates = {"Software\\Wow6432Node\\Westwood\\Renegade",
                                               kGameKey};
  EXPECT_EQ(file.findValueInKeys(candidates, "InstallPath").text, "C:\\plain");
  EXPECT_EQ(file.findValueInKeys(candidates, "Language").outcome, Outcome::ValueMissing);
  EXPECT_EQ(file.findValueInKeys(candidates, "Missing").outcome, Outcome::ValueMissing);
  EXPECT_EQ(file.findValueInKeys({"Software\\Nothing", "Software\\Else"}, "InstallPath").outcome,
            Outcome::KeyMissing);
}

TEST(WineRegistryCandidateKeysTest, PreferenceOrderNotFileOrderDecides) {
  const WineRegistryFile file = WineRegistryFile::fromText(
      kHeader +
      "[Software\\\\A]\n\"InstallPath\"=\"a\"\n\n[Software\\\\B]\n\"InstallPath\"=\"b\"\n");
  EXPECT_EQ(file.findValueInKeys({"Software\\B", "Software\\A"}, "InstallPath").text, "b");
  EXPECT_EQ(file.findValueInKeys({"Software\\A", "Software\\B"}, "InstallPath").text, "a");
}

// --- Architecture ---------------------------------------------------------------------------

struct ArchitectureRow {
  const char* name;
  std::string fileText;
  WineArchitecture architecture;
};

void PrintTo(const ArchitectureRow& row, std::ostream* out) {
  *out << row.name;
}

class WineRegistryArchitectureTest : public ::testing::TestWithParam<ArchitectureRow> {};

TEST_P(WineRegistryArchitectureTest, ReadsTheArchLine) {
  EXPECT_EQ(WineRegistryFile::fromText(GetParam().fileText).architecture(),
            GetParam().architecture);
}

INSTANTIATE_TEST_SUITE_P(
    ArchLines, WineRegistryArchitectureTest,
    ::testing::Values(
        ArchitectureRow{"win32", "WINE REGISTRY Version 2\n\n#arch=win32\n",
                        WineArchitecture::Win32},
        ArchitectureRow{"win64", "WINE REGISTRY Version 2\n;; x\n\n#arch=win64\n\n[A]\n",
                        WineArchitecture::Win64},
        ArchitectureRow{"win64_crlf", "WINE REGISTRY Version 2\r\n#arch=win64\r\n",
                        WineArchitecture::Win64},
        ArchitectureRow{"none", "WINE REGISTRY Version 2\n\n[A]\n", WineArchitecture::Unknown},
        ArchitectureRow{"after_first_key_ignored", "WINE REGISTRY Version 2\n\n[A]\n#arch=win64\n",
                        WineArchitecture::Unknown},
        ArchitectureRow{"without_header_ignored", "#arch=win64\n", WineArchitecture::Unknown}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Files on disk: real, huge, damaged, not files ------------------------------------------

// A deterministic stream of arbitrary bytes, newlines and brackets included.
std::string garbageBytes(std::size_t count, std::uint32_t seed) {
  std::string bytes(count, '\0');
  for (char& byte : bytes) {
    seed = seed * 1664525u + 1013904223u;
    byte = static_cast<char>(seed >> 24);
  }
  return bytes;
}

TEST(WineRegistryFileOnDiskTest, MissingFileHoldsNothing) {
  TemporaryFolder folder;
  const WineRegistryFile file = WineRegistryFile::load((folder.path() / "system.reg").string());
  EXPECT_FALSE(file.hasHeader());
  EXPECT_EQ(file.findValue(kGameKey, "InstallPath").outcome, Outcome::KeyMissing);
}

TEST(WineRegistryFileOnDiskTest, FolderHoldsNothing) {
  TemporaryFolder folder;
  std::filesystem::create_directory(folder.path() / "system.reg");
  EXPECT_FALSE(WineRegistryFile::load((folder.path() / "system.reg").string()).hasHeader());
}

#ifndef _WIN32
TEST(WineRegistryFileOnDiskTest, NamedPipeIsNotOpenedAndHoldsNothing) {
  // Opening a pipe without a writer would block for ever.
  TemporaryFolder folder;
  const std::string pipe = (folder.path() / "system.reg").string();
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_FALSE(WineRegistryFile::load(pipe).hasHeader());
}
#endif

TEST(WineRegistryFileOnDiskTest, GarbageAroundAValidKeyLeavesTheKeyReadable) {
  TemporaryFolder folder;
  const std::string text = kHeader + garbageBytes(200000, 7) + "\n" + kGameKeyLine +
                           "\"InstallPath\"=\"C:\\\\x\"\n" + garbageBytes(200000, 11);
  writeFile(folder.path() / "system.reg", text);
  const WineRegistryFile file = WineRegistryFile::load((folder.path() / "system.reg").string());
  const WineValueLookup lookup = file.findValue(kGameKey, "InstallPath");
  EXPECT_EQ(lookup.outcome, Outcome::Found);
  EXPECT_EQ(lookup.text, "C:\\x");
}

TEST(WineRegistryFileOnDiskTest, GarbageWithoutHeaderHoldsNothing) {
  TemporaryFolder folder;
  writeFile(folder.path() / "system.reg",
            garbageBytes(300000, 3) + "\n" + kGameKeyLine + "\"InstallPath\"=\"x\"\n");
  const WineRegistryFile file = WineRegistryFile::load((folder.path() / "system.reg").string());
  EXPECT_FALSE(file.hasHeader());
  EXPECT_EQ(file.findValue(kGameKey, "InstallPath").outcome, Outcome::KeyMissing);
}

TEST(WineRegistryFileOnDiskTest, FiftyMegabyteFileIsSearchedToItsEnd) {
  TemporaryFolder folder;
  std::string text = kHeader;
  text.reserve(50u * 1024u * 1024u + 1024u);
  for (std::size_t i = 0; text.size() < 50u * 1024u * 1024u; ++i) {
    text += "[Software\\\\Classes\\\\CLSID\\\\{" + std::to_string(i) +
            "}\\\\InprocServer32] 1796584327\n#time=1dd85b5afb639f0\n"
            "@=\"C:\\\\windows\\\\system32\\\\ole32.dll\"\n\"ThreadingModel\"=\"Both\"\n\n";
  }
  text += kGameKeyLine + "\"InstallPath\"=\"C:\\\\last\"\n";
  writeFile(folder.path() / "system.reg", text);
  const WineRegistryFile file = WineRegistryFile::load((folder.path() / "system.reg").string());
  EXPECT_EQ(file.findValue(kGameKey, "InstallPath").text, "C:\\last");
}

TEST(WineRegistryFileOnDiskTest, LinesOfMegabytesAreRead) {
  const std::string longText(4u * 1024u * 1024u, 'x');
  const WineRegistryFile file = WineRegistryFile::fromText(
      kHeader + "[" + std::string(3u * 1024u * 1024u, 'k') + "]\n\"InstallPath\"=\"no\"\n" +
      kGameKeyLine + "\"" + std::string(2u * 1024u * 1024u, 'n') + "\"=\"no\"\n" +
      "\"InstallPath\"=\"" + longText + "\"\n");
  const WineValueLookup lookup = file.findValue(kGameKey, "InstallPath");
  EXPECT_EQ(lookup.outcome, Outcome::Found);
  EXPECT_EQ(lookup.text, longText);
}

TEST(WineRegistryFileOnDiskTest, OneHugeLineWithoutNewlineHoldsNothing) {
  const WineRegistryFile file =
      WineRegistryFile::fromText(kHeader + "[" + std::string(20u * 1024u * 1024u, '\\'));
  EXPECT_EQ(file.findValue(kGameKey, "InstallPath").outcome, Outcome::KeyMissing);
}

}  // namespace
}  // namespace corvane
