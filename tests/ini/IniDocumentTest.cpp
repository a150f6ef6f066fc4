// Tables of the INI engine's reading, writing, deleting and byte-preservation rules.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "IniDocument.h"
#include "IniProfile.h"
#include "ReferenceIni.h"

namespace corvane {
namespace {

const std::string kData = std::string(CORVANE_TEST_DATA) + "/ini/";

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

template <typename Row>
std::string rowName(const ::testing::TestParamInfo<Row>& info) {
  return info.param.name;
}

// --- reading ---------------------------------------------------------------------------------

struct ReadRow {
  const char* name;
  const char* file;
  const char* key;
  const char* fallback;
  std::string expected;
};

void PrintTo(const ReadRow& row, std::ostream* out) {
  *out << row.name;
}

class Reading : public ::testing::TestWithParam<ReadRow> {};

TEST_P(Reading, ReadINIValueGivesTheExpectedText) {
  const ReadRow& row = GetParam();
  EXPECT_EQ(ReadINIValue(kData + row.file, "Settings", row.key, row.fallback), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Ini, Reading,
    ::testing::Values(
        ReadRow{"SectionAndKeyIgnoreLetterCase", "case_and_blanks.ini", "RadarMode", "2", "1"},
        ReadRow{"BlanksAroundKeyAndValueAreTrimmed", "case_and_blanks.ini", "SpawnWeapons", "yes",
                "no"},
        ReadRow{"EmptyValueReadsEmptyNotTheFallback", "case_and_blanks.ini",
                "BeaconPlacementEndsGame", "yes", ""},
        ReadRow{"QuotesAreKeptAsText", "case_and_blanks.ini", "ConfigName", "", "\"Quoted  name\""},
        ReadRow{"SemicolonInsideAValueIsText", "case_and_blanks.ini", "Motd", "",
                "hello ; not a comment"},
        ReadRow{"CommentedOutKeyIsMissing", "case_and_blanks.ini", "CanRepairBuildings", "yes",
                "yes"},
        ReadRow{"LineWithoutEqualsIsNoKey", "case_and_blanks.ini", "IsDedicated", "d", "d"},
        ReadRow{"FirstOfTwoKeysWins", "duplicate_sections.ini", "RadarMode", "2", "0"},
        ReadRow{"SecondSectionOfTheSameNameIsNotSearched", "duplicate_sections.ini", "SpawnWeapons",
                "yes", "yes"},
        ReadRow{"TextBeforeTheFirstSectionIsNotSearched", "text_before_section.ini", "RadarMode",
                "2", "2"},
        ReadRow{"KeyAfterTextBeforeTheFirstSection", "text_before_section.ini", "TimeLimitMinutes",
                "30", "20"},
        ReadRow{"ByteOrderMarkHidesTheFirstHeader", "bom.ini", "RadarMode", "2", "2"},
        ReadRow{"CrOnlyFileIsOneLine", "cr_only.ini", "RadarMode", "2", "2"},
        ReadRow{"LastLineWithoutLineBreak", "no_final_newline.ini", "TimeLimitMinutes", "30", "45"},
        ReadRow{"LongValueIsCutTo254Bytes", "long_value.ini", "MapName01", "",
                std::string(fileBytes(kData + "long_value.ini"), 22, 254)},
        ReadRow{"NulBytesAreText", "nul_bytes.ini", "wGameTitle", "", std::string("R\0e\0n\0", 6)},
        ReadRow{"MissingFileGivesTheFallback", "no_such_file.ini", "RadarMode", "2", "2"}),
    rowName<ReadRow>);

TEST(Reading, SectionAfterAByteOrderMarkLineIsFound) {
  EXPECT_EQ(ReadINIValue(kData + "bom.ini", "other", "KEY", ""), "seen");
}

// --- writing ---------------------------------------------------------------------------------

struct WriteRow {
  const char* name;
  std::string before;
  const char* section;
  std::string key;
  std::string value;
  std::string after;
  bool accepted = true;
};

void PrintTo(const WriteRow& row, std::ostream* out) {
  *out << row.name;
}

class Writing : public ::testing::TestWithParam<WriteRow> {};

TEST_P(Writing, SetValueGivesTheExpectedBytes) {
  const WriteRow& row = GetParam();
  IniDocument document = IniDocument::fromBytes(row.before);
  EXPECT_EQ(document.setValue(row.section, row.key, row.value), row.accepted);
  EXPECT_EQ(document.bytes(), row.after);
  EXPECT_EQ(document.modified(), row.after != row.before);
  if (row.accepted) {
    EXPECT_EQ(document.value(row.section, row.key, "?"), row.value);
  }
}

const std::string kTwoSections = "[Settings]\r\nA=1\r\nB=2\r\n[Other]\r\nC=3\r\n";

INSTANTIATE_TEST_SUITE_P(
    Ini, Writing,
    ::testing::Values(
        WriteRow{"ReplacedValueKeepsTheLineOrder", kTwoSections, "Settings", "A", "9",
                 "[Settings]\r\nA=9\r\nB=2\r\n[Other]\r\nC=3\r\n"},
        WriteRow{"ReplacedLineIsWrittenWithCrLf", "[Settings]\nA=1\nB=2\n", "Settings", "A", "5",
                 "[Settings]\nA=5\r\nB=2\n"},
        WriteRow{"SameKeyAndValueLeavesTheLineAlone", "[Settings]\nA=1\n", "Settings", "A", "1",
                 "[Settings]\nA=1\n"},
        WriteRow{"BlanksAroundAnEntryAreRewritten", "[Settings]\n  a = 1 \n", "Settings", "A", "1",
                 "[Settings]\nA=1\r\n"},
        WriteRow{"KeyTakesTheCallersSpelling", "[Settings]\r\nradarmode=1\r\n", "Settings",
                 "RadarMode", "1", "[Settings]\r\nRadarMode=1\r\n"},
        WriteRow{"HeaderTakesTheCallersSpellingOnly", "[ settings ] ; rules\nA=1\r\n", "Settings",
                 "A", "1", "[ Settings ] ; rules\nA=1\r\n"},
        WriteRow{"NewKeyEndsItsOwnSection", kTwoSections, "settings", "D", "4",
                 "[settings]\r\nA=1\r\nB=2\r\nD=4\r\n[Other]\r\nC=3\r\n"},
        WriteRow{"NewKeyGoesBeforeBlankLinesAndComments",
                 "[Settings]\r\nA=1\r\n\r\n; end of rules\r\n[Other]\r\n", "Settings", "D", "4",
                 "[Settings]\r\nA=1\r\nD=4\r\n\r\n; end of rules\r\n[Other]\r\n"},
        WriteRow{"NewKeyFollowsTheHeaderOfASectionWithoutEntries",
                 "[Settings]\n; none yet\n[Other]\n", "Settings", "D", "4",
                 "[Settings]\nD=4\r\n; none yet\n[Other]\n"},
        WriteRow{"CrLfIsAddedToALastLineWithoutLineBreak", "[Settings]\nA=1", "Settings", "D", "4",
                 "[Settings]\nA=1\r\nD=4\r\n"},
        WriteRow{"NewKeyGoesBeforeAFinalCommentWithoutLineBreak", "[Settings]\nA=1\n; end",
                 "Settings", "D", "4", "[Settings]\nA=1\nD=4\r\n; end"},
        WriteRow{"NewSectionGoesAtTheEnd", "[Other]\nX=1\n", "Settings", "A", "1",
                 "[Other]\nX=1\n[Settings]\r\nA=1\r\n"},
        WriteRow{"NewSectionAfterALastLineWithoutLineBreak", "[Other]\nX=1", "Settings", "A", "1",
                 "[Other]\nX=1\r\n[Settings]\r\nA=1\r\n"},
        WriteRow{"NewFile", "", "Settings", "Key", "Value", "[Settings]\r\nKey=Value\r\n"},
        WriteRow{"TextBeforeTheFirstSectionIsNoSection", "A=1\r\n", "Settings", "A", "2",
                 "A=1\r\n[Settings]\r\nA=2\r\n"},
        WriteRow{"WritesIntoTheFirstOfTwoSections", "[Settings]\nA=1\n[settings]\nB=2\n",
                 "Settings", "B", "3", "[Settings]\nA=1\nB=3\r\n[settings]\nB=2\n"},
        WriteRow{"ReplacesTheFirstOfTwoKeys", "[Settings]\nA=1\nA=2\n", "Settings", "A", "3",
                 "[Settings]\nA=3\r\nA=2\n"},
        WriteRow{"SectionBehindAByteOrderMarkIsNew", "\xEF\xBB\xBF[Settings]\r\nA=1\r\n",
                 "Settings", "A", "2", "\xEF\xBB\xBF[Settings]\r\nA=1\r\n[Settings]\r\nA=2\r\n"},
        WriteRow{"CrOnlyFileIsAHeaderLine", "[Settings]\rA=1\r", "Settings", "A", "2",
                 "[Settings]\rA=1\r\r\nA=2\r\n"},
        WriteRow{"CommentLookingLikeTheKeyIsKept", "[Settings]\n;A=1\n", "Settings", "A", "2",
                 "[Settings]\nA=2\r\n;A=1\n"},
        WriteRow{"RefusesEqualsInTheKey", kTwoSections, "Settings", "A=B", "1", kTwoSections,
                 false},
        WriteRow{"RefusesCrInTheKey", kTwoSections, "Settings", "A\r", "1", kTwoSections, false},
        WriteRow{"RefusesLfInTheValue", kTwoSections, "Settings", "A", "1\nB=2", kTwoSections,
                 false},
        WriteRow{"RefusesNulInTheValue", kTwoSections, "Settings", "A", std::string("1\0", 2),
                 kTwoSections, false},
        WriteRow{"RefusesAnEmptyKey", kTwoSections, "Settings", "", "1", kTwoSections, false},
        WriteRow{"RefusesAKeyStartingWithABlank", kTwoSections, "Settings", " A", "1", kTwoSections,
                 false},
        WriteRow{"RefusesAKeyStartingWithASemicolon", kTwoSections, "Settings", ";A", "1",
                 kTwoSections, false},
        WriteRow{"RefusesAKeyStartingWithABracket", kTwoSections, "Settings", "[A", "1",
                 kTwoSections, false},
        WriteRow{"RefusesAnEmptySection", kTwoSections, "", "A", "1", kTwoSections, false},
        WriteRow{"RefusesABracketInTheSection", kTwoSections, "Set]tings", "A", "1", kTwoSections,
                 false}),
    rowName<WriteRow>);

// --- deleting --------------------------------------------------------------------------------

struct DeleteRow {
  const char* name;
  std::string before;
  const char* key;
  std::string after;  // equal to `before` when nothing is removed
};

void PrintTo(const DeleteRow& row, std::ostream* out) {
  *out << row.name;
}

class Deleting : public ::testing::TestWithParam<DeleteRow> {};

TEST_P(Deleting, RemoveKeyGivesTheExpectedBytes) {
  const DeleteRow& row = GetParam();
  IniDocument document = IniDocument::fromBytes(row.before);
  EXPECT_EQ(document.removeKey("Settings", row.key), row.after != row.before);
  EXPECT_EQ(document.bytes(), row.after);
  EXPECT_EQ(document.modified(), row.after != row.before);
}

INSTANTIATE_TEST_SUITE_P(
    Ini, Deleting,
    ::testing::Values(
        DeleteRow{"RemovesExactlyTheLine", kTwoSections, "B",
                  "[Settings]\r\nA=1\r\n[Other]\r\nC=3\r\n"},
        DeleteRow{"RemovesTheFirstOfTwoKeysWhateverTheCase", "[settings]\nb=1\nB=2\n", "B",
                  "[settings]\nB=2\n"},
        DeleteRow{"RemovesALastLineWithoutLineBreak", "[Settings]\nA=1\nB=2", "B",
                  "[Settings]\nA=1\n"},
        DeleteRow{"KeepsACommentLookingLikeTheKey", "[Settings]\n;A=1\nA=2\n", "A",
                  "[Settings]\n;A=1\n"},
        DeleteRow{"MissingKeyChangesNothing", kTwoSections, "C", kTwoSections},
        DeleteRow{"MissingSectionChangesNothing", "[Other]\nA=1\n", "A", "[Other]\nA=1\n"},
        DeleteRow{"SecondSectionOfTheSameNameIsNotSearched", "[Settings]\nA=1\n[SETTINGS]\nB=2\n",
                  "B", "[Settings]\nA=1\n[SETTINGS]\nB=2\n"}),
    rowName<DeleteRow>);

TEST(Deleting, RemoveKeysIfRemovesEveryMatchingEntryOfTheFirstSection) {
  IniDocument document = IniDocument::fromBytes(
      "[Settings]\nMapName01=a\nX=1\n mapname01 = b\n;MapName02=c\nMapName1=d\n"
      "[Settings]\nMapName03=e\n");
  EXPECT_EQ(document.removeKeysIf("settings", testing::isMapKey), 2u);
  EXPECT_EQ(document.bytes(),
            "[Settings]\nX=1\n;MapName02=c\nMapName1=d\n[Settings]\nMapName03=e\n");
  EXPECT_EQ(document.removeKeysIf("Absent", testing::isMapKey), 0u);
}

// --- modification tracking -------------------------------------------------------------------

TEST(Modified, EditsThatRestoreTheLoadedBytesLeaveTheDocumentUnmodified) {
  const std::string game =
      "[Other]\r\nX=1\r\n[Settings]\r\nRadarMode=2\r\nMapName01=a.mix\r\n"
      "MapName02=b.mix\r\n";
  IniDocument document = IniDocument::fromBytes(game);
  ASSERT_TRUE(document.setValue("Settings", "RadarMode", "1"));
  EXPECT_TRUE(document.modified());
  ASSERT_TRUE(document.setValue("Settings", "RadarMode", "2"));
  EXPECT_EQ(document.removeKeysIf("Settings", [](std::string_view k) { return k != "RadarMode"; }),
            2u);
  EXPECT_TRUE(document.modified());
  ASSERT_TRUE(document.setValue("Settings", "MapName01", "a.mix"));
  EXPECT_TRUE(document.modified());
  ASSERT_TRUE(document.setValue("Settings", "MapName02", "b.mix"));
  EXPECT_FALSE(document.modified());
  EXPECT_EQ(document.bytes(), game);
}

// --- byte preservation -----------------------------------------------------------------------

class Preserving : public ::testing::TestWithParam<std::string> {};

TEST_P(Preserving, UntouchedLinesKeepTheirBytes) {
  const std::string original = fileBytes(kData + GetParam());
  ASSERT_FALSE(original.empty());
  IniDocument document = IniDocument::load(kData + GetParam());
  EXPECT_EQ(document.origin(), IniDocument::Origin::Read);
  EXPECT_EQ(document.bytes(), original);
  EXPECT_FALSE(document.modified());

  // An edit in the middle of the file changes its own lines and nothing else.
  testing::ReferenceIni expected(original);
  ASSERT_TRUE(document.setValue("Settings", "TimeLimitMinutes", "99"));
  ASSERT_TRUE(document.setValue("Other", "Added", "1"));
  expected.setValue("Settings", "TimeLimitMinutes", "99");
  expected.setValue("Other", "Added", "1");
  EXPECT_EQ(document.bytes(), expected.bytes());
}

INSTANTIATE_TEST_SUITE_P(Ini, Preserving,
                         ::testing::Values("bom.ini", "duplicate_sections.ini",
                                           "no_final_newline.ini", "cr_only.ini",
                                           "case_and_blanks.ini", "text_before_section.ini",
                                           "long_value.ini", "nul_bytes.ini", "mixed_endings.ini"),
                         [](const auto& info) {
                           std::string name = info.param.substr(0, info.param.find('.'));
                           std::erase(name, '_');
                           return name;
                         });

}  // namespace
}  // namespace corvane
