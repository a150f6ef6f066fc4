// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The INI engine: what it reads from edge-case files and what its edits write. (Random files and
// edit sequences checked against a plain reference model are the fuzzer's: fuzz/.)
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "IniDocument.h"
#include "IniProfile.h"
#include "Rows.h"
#include "TempFolder.h"

namespace corvane {
namespace {

using testing::RowName;

const std::string kData = std::string(CORVANE_TEST_DATA) + "/";

// --- reading: the single-call read of the Settings section -----------------------------------

struct ReadRow {
  const char* name;
  const char* file;
  const char* key;
  const char* fallback;
  std::string expected;
};

class Reading : public ::testing::TestWithParam<ReadRow> {};

TEST_P(Reading, ReadINIValueGivesWhatTheGameReads) {
  const ReadRow& row = GetParam();
  EXPECT_EQ(ReadINIValue(kData + "ini/" + row.file, "Settings", row.key, row.fallback),
            row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Ini, Reading,
    ::testing::Values(
        ReadRow{"NamesIgnoreCaseAndBlanks", "case_and_blanks.ini", "RadarMode", "2", "1"},
        ReadRow{"TabsAreBlanks", "case_and_blanks.ini", "SpawnWeapons", "yes", "no"},
        ReadRow{"SemicolonsInValuesAreText", "case_and_blanks.ini", "Motd", "",
                "hello ; not a comment"},
        ReadRow{"LineWithoutEqualsIsNoKey", "case_and_blanks.ini", "IsDedicated", "d", "d"},
        ReadRow{"FirstOfTwoKeysWins", "duplicate_sections.ini", "RadarMode", "2", "0"},
        ReadRow{"TextBeforeAnySectionIsNone", "text_before_section.ini", "RadarMode", "2", "2"},
        ReadRow{"ByteOrderMarkHidesTheFirstHeader", "bom.ini", "RadarMode", "2", "2"},
        ReadRow{"CrOnlyFileIsOneLine", "cr_only.ini", "RadarMode", "2", "2"},
        ReadRow{"LastLineWithoutLineBreak", "no_final_newline.ini", "TimeLimitMinutes", "30", "45"},
        ReadRow{"LongValueIsCutTo254Bytes", "long_value.ini", "MapName01", "",
                std::string(testing::readFile(kData + "ini/long_value.ini"), 22, 254)},
        ReadRow{"NulBytesAreText", "nul_bytes.ini", "wGameTitle", "", std::string("R\0e\0n\0", 6)}),
    RowName());

// Quotation marks are dropped only as a pair of one kind around the whole value.
TEST(Values, QuotationMarksOfAPairAroundTheValueAreDropped) {
  const IniDocument document = IniDocument::fromBytes(
      "[Settings]\nA=\" two  words \"\nB='x'\nC=\"x'\nD=\"\nE=''\nF=x\"\nG=\"x\"y\n");
  const std::pair<const char*, const char*> values[] = {
      {"A", " two  words "}, {"B", "x"},     {"C", "\"x'"}, {"D", "\""}, {"E", ""},
      {"F", "x\""},          {"G", "\"x\"y"}};
  for (const auto& [key, value] : values) EXPECT_EQ(document.value("Settings", key, "-"), value);
}

// --- writing: setValue on a document ----------------------------------------------------------

struct WriteRow {
  const char* name;
  std::string before;
  const char* section;
  std::string key;
  std::string value;
  std::string after;
  bool accepted = true;
};

class Writing : public ::testing::TestWithParam<WriteRow> {};

TEST_P(Writing, SetValueGivesTheExpectedBytes) {
  const WriteRow& row = GetParam();
  IniDocument document = IniDocument::fromBytes(row.before);
  EXPECT_EQ(document.setValue(row.section, row.key, row.value), row.accepted);
  EXPECT_EQ(document.bytes(), row.after);
  EXPECT_EQ(document.modified(), row.after != row.before);
}

const std::string kTwo = "[Settings]\r\nA=1\r\nB=2\r\n[Other]\r\nC=3\r\n";
// A section of many lines, which the engine searches through a key index.
std::string manyKeys() {
  std::string bytes = "[Settings]\r\n";
  for (int n = 0; n < 40; ++n) bytes += "Key" + std::to_string(n) + "=x\r\n";
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Ini, Writing,
    ::testing::Values(
        WriteRow{"SameValueLeavesTheLineAlone", "[Settings]\nA=1\n", "Settings", "A", "1",
                 "[Settings]\nA=1\n"},
        WriteRow{"NamesTakeTheCallersSpelling", "[ settings ] ; rules\nradarmode = 1\n", "Settings",
                 "RadarMode", "1", "[ Settings ] ; rules\nRadarMode=1\r\n"},
        WriteRow{"NewKeyFollowsTheLastEntry", "[Settings]\r\nA=1\r\n\r\n; end\r\n[Other]\r\n",
                 "Settings", "D", "4", "[Settings]\r\nA=1\r\nD=4\r\n\r\n; end\r\n[Other]\r\n"},
        WriteRow{"FirstOfTwoSectionsAndKeys", "[Settings]\nA=1\nA=2\n[settings]\nB=2\n", "Settings",
                 "A", "3", "[Settings]\nA=3\r\nA=2\n[settings]\nB=2\n"},
        WriteRow{"SectionBehindAByteOrderMarkIsNew", "\xEF\xBB\xBF[Settings]\r\n", "Settings", "A",
                 "2", "\xEF\xBB\xBF[Settings]\r\n[Settings]\r\nA=2\r\n"},
        WriteRow{"LargeSectionFindsTheFirstOfTwoKeys", manyKeys() + "a=1\r\nA=2\r\n", "Settings",
                 "A", "3", manyKeys() + "A=3\r\nA=2\r\n"},
        WriteRow{"CommentLookingLikeTheKeyIsNoEntry", "[Settings]\n;A=1\n", "Settings", "A", "2",
                 "[Settings]\nA=2\r\n;A=1\n"},
        WriteRow{"BlanksAroundTheKeyAreNotPartOfIt", kTwo, " Settings ", " \tB ", "4",
                 "[Settings]\r\nA=1\r\nB=4\r\n[Other]\r\nC=3\r\n"},
        WriteRow{"RefusesACommentMarkBehindBlanks", kTwo, "Settings", " ;A", "1", kTwo, false},
        WriteRow{"RefusesEqualsInTheKey", kTwo, "Settings", "A=B", "1", kTwo, false},
        WriteRow{"RefusesALineBreakInTheValue", kTwo, "Settings", "A", "1\nB=2", kTwo, false},
        WriteRow{"RefusesABracketInTheSection", kTwo, "Set]tings", "A", "1", kTwo, false}),
    RowName());

}  // namespace
}  // namespace corvane
