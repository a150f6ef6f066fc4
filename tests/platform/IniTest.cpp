// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The INI engine: what it reads from edge-case files and what its edits write. (Random files and
// edit sequences checked against a plain reference model are the fuzzer's: fuzz/.)
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <set>
#endif

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
        ReadRow{"NamesIgnoreLetterCaseAndBlanksAreTrimmed", "case_and_blanks.ini", "RadarMode", "2",
                "1"},
        ReadRow{"TabsAreBlanks", "case_and_blanks.ini", "SpawnWeapons", "yes", "no"},
        ReadRow{"EmptyValueIsNotTheFallback", "case_and_blanks.ini", "BeaconPlacementEndsGame",
                "yes", ""},
        ReadRow{"SemicolonsInValuesAreText", "case_and_blanks.ini", "Motd", "",
                "hello ; not a comment"},
        ReadRow{"EnclosingQuotesAreDropped", "case_and_blanks.ini", "ConfigName", "",
                "Quoted  name"},
        ReadRow{"CommentedOutKeyIsMissing", "case_and_blanks.ini", "CanRepairBuildings", "yes",
                "yes"},
        ReadRow{"LineWithoutEqualsIsNoKey", "case_and_blanks.ini", "IsDedicated", "d", "d"},
        ReadRow{"FirstOfTwoKeysWins", "duplicate_sections.ini", "RadarMode", "2", "0"},
        ReadRow{"SecondSectionOfTheNameIsNotSearched", "duplicate_sections.ini", "SpawnWeapons",
                "yes", "yes"},
        ReadRow{"TextBeforeTheFirstSectionBelongsToNone", "text_before_section.ini", "RadarMode",
                "2", "2"},
        ReadRow{"ByteOrderMarkHidesTheFirstHeader", "bom.ini", "RadarMode", "2", "2"},
        ReadRow{"CrOnlyFileIsOneLine", "cr_only.ini", "RadarMode", "2", "2"},
        ReadRow{"LastLineWithoutLineBreak", "no_final_newline.ini", "TimeLimitMinutes", "30", "45"},
        ReadRow{"LongValueIsCutTo254Bytes", "long_value.ini", "MapName01", "",
                std::string(testing::readFile(kData + "ini/long_value.ini"), 22, 254)},
        ReadRow{"NulBytesAreText", "nul_bytes.ini", "wGameTitle", "", std::string("R\0e\0n\0", 6)},
        ReadRow{"MissingFileGivesTheFallback", "no_such_file.ini", "RadarMode", "2", "2"}),
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

INSTANTIATE_TEST_SUITE_P(
    Ini, Writing,
    ::testing::Values(
        WriteRow{"ReplacedLineEndsInCrLf", "[Settings]\nA=1\nB=2\n", "Settings", "A", "5",
                 "[Settings]\nA=5\r\nB=2\n"},
        WriteRow{"SameValueLeavesTheLineAlone", "[Settings]\nA=1\n", "Settings", "A", "1",
                 "[Settings]\nA=1\n"},
        WriteRow{"NamesTakeTheCallersSpelling", "[ settings ] ; rules\nradarmode = 1\n", "Settings",
                 "RadarMode", "1", "[ Settings ] ; rules\nRadarMode=1\r\n"},
        WriteRow{"NewKeyFollowsTheLastEntry", "[Settings]\r\nA=1\r\n\r\n; end\r\n[Other]\r\n",
                 "Settings", "D", "4", "[Settings]\r\nA=1\r\nD=4\r\n\r\n; end\r\n[Other]\r\n"},
        WriteRow{"LastLineGetsALineBreakFirst", "[Other]\nX=1", "Settings", "A", "1",
                 "[Other]\nX=1\r\n[Settings]\r\nA=1\r\n"},
        WriteRow{"NewFile", "", "Settings", "Key", "Value", "[Settings]\r\nKey=Value\r\n"},
        WriteRow{"FirstOfTwoSectionsAndKeys", "[Settings]\nA=1\nA=2\n[settings]\nB=2\n", "Settings",
                 "A", "3", "[Settings]\nA=3\r\nA=2\n[settings]\nB=2\n"},
        WriteRow{"SectionBehindAByteOrderMarkIsNew", "\xEF\xBB\xBF[Settings]\r\n", "Settings", "A",
                 "2", "\xEF\xBB\xBF[Settings]\r\n[Settings]\r\nA=2\r\n"},
        WriteRow{"CommentLookingLikeTheKeyIsNoEntry", "[Settings]\n;A=1\n", "Settings", "A", "2",
                 "[Settings]\nA=2\r\n;A=1\n"},
        WriteRow{"BlanksAroundTheKeyAreNotPartOfIt", kTwo, " Settings ", " \tB ", "4",
                 "[Settings]\r\nA=1\r\nB=4\r\n[Other]\r\nC=3\r\n"},
        WriteRow{"RefusesACommentMarkBehindBlanks", kTwo, "Settings", " ;A", "1", kTwo, false},
        WriteRow{"RefusesEqualsInTheKey", kTwo, "Settings", "A=B", "1", kTwo, false},
        WriteRow{"RefusesALineBreakInTheValue", kTwo, "Settings", "A", "1\nB=2", kTwo, false},
        WriteRow{"RefusesABracketInTheSection", kTwo, "Set]tings", "A", "1", kTwo, false}),
    RowName());

TEST(Modified, EditsThatRestoreTheLoadedBytesLeaveTheDocumentUnmodified) {
  const std::string game = "[Settings]\r\nRadarMode=2\r\nMapName01=a.mix\r\nMapName02=b.mix\r\n";
  IniDocument document = IniDocument::fromBytes(game);
  ASSERT_TRUE(document.setValue("Settings", "RadarMode", "1"));
  EXPECT_TRUE(document.modified());
  ASSERT_TRUE(document.setValue("Settings", "RadarMode", "2"));
  EXPECT_EQ(document.removeKeysIf("Settings",
                                  [](std::string_view key) { return key.starts_with("Map"); }),
            2u);
  ASSERT_TRUE(document.setValue("Settings", "MapName01", "a.mix"));
  EXPECT_TRUE(document.modified());
  ASSERT_TRUE(document.setValue("Settings", "MapName02", "b.mix"));
  EXPECT_FALSE(document.modified());
  EXPECT_EQ(document.bytes(), game);
}

// A section of many lines gets a key index; it answers as the line-by-line search does.
TEST(LargeSections, FindTheFirstOfTwoKeys) {
  std::string bytes = "[Settings]\r\n";
  for (int n = 0; n < 40; ++n)
    bytes += "Key" + std::to_string(n) + "=" + std::to_string(n) + "\r\n";
  IniDocument document = IniDocument::fromBytes(bytes + "a=first\r\nA=second\r\n");
  EXPECT_EQ(document.value("settings", "A", ""), "first");
  ASSERT_TRUE(document.setValue("Settings", "A", "3"));
  EXPECT_TRUE(document.bytes().ends_with("A=3\r\nA=second\r\n"));
  EXPECT_EQ(document.value("Settings", "Key39", ""), "39");
}

#ifdef _WIN32
// --- against the Windows profile functions ---------------------------------------------------
//
// ReadINIValue answers every lookup of every data file as GetPrivateProfileStringA does, and
// the same edits through the engine and through WritePrivateProfileStringA leave files that read
// the same. Where Wine answers otherwise than Windows, the engine keeps to Windows.

namespace fs = std::filesystem;
using Lookup = std::pair<std::string, std::string>;  // section, key

// A fallback without trailing blanks: the Windows reader cuts those off a fallback, the engine
// hands it back as given.
const std::string kFallback = "fallback";

// Lookups that Wine answers (as given here) otherwise than the engine, which answers with the
// fallback, by file under tests/data. Wine takes a UTF-8 byte-order mark for the file's encoding
// and skips it; the engine keeps it as bytes of the first line, so that the header behind it is
// none, as the game reads the file (Windows knows ANSI files and UTF-16 ones, whose mark is
// another). Wine ends a line at a lone CR too; the engine at LF only, as the game does: the
// whole file is one line, a header with nothing after it in its section.
const std::map<std::string, std::map<Lookup, std::string>> kWineAnswers = {
    {"ini/bom.ini", {{{"Settings", "RadarMode"}, "1"}}},
    {"ini/cr_only.ini", {{{"Settings", "RadarMode"}, "1"}, {{"Settings", "SpawnWeapons"}, "no"}}}};

bool underWine() {
  return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

// The names a profile function lists: each ends in NUL, the list in one more.
std::vector<std::string> namesIn(const std::vector<char>& buffer, DWORD length) {
  std::vector<std::string> names;
  for (std::size_t at = 0; at < length && buffer[at] != '\0'; at += names.back().size() + 1) {
    names.emplace_back(buffer.data() + at);
  }
  return names;
}

// Every key of every section the Windows functions see in `file`, a missing key of each section,
// a missing section and a missing key of Settings.
std::set<Lookup> lookupsIn(const std::string& file) {
  std::set<Lookup> lookups = {{"No Such Section", "RadarMode"}, {"Settings", "NoSuchKey"}};
  std::vector<char> buffer(1 << 20);
  const DWORD size = static_cast<DWORD>(buffer.size());
  for (const std::string& section :
       namesIn(buffer, GetPrivateProfileSectionNamesA(buffer.data(), size, file.c_str()))) {
    lookups.insert({section, "NoSuchKey"});
    const DWORD length =
        GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer.data(), size, file.c_str());
    for (const std::string& key : namesIn(buffer, length)) lookups.insert({section, key});
  }
  return lookups;
}

// Each lookup answers the same through ReadINIValue on `engineFile` as through
// GetPrivateProfileStringA on `windowsFile`, but those of `wine`, each of which must come up.
void expectSameReads(const std::string& windowsFile, const std::string& engineFile,
                     const std::set<Lookup>& lookups, const std::map<Lookup, std::string>& wine) {
  std::size_t met = 0;
  for (const auto& [section, key] : lookups) {
    SCOPED_TRACE("[" + section + "] " + key);
    char buffer[255];
    const std::string windows(
        buffer, GetPrivateProfileStringA(section.c_str(), key.c_str(), kFallback.c_str(), buffer,
                                         sizeof buffer, windowsFile.c_str()));
    // A string of the Windows functions ends at its first NUL; the engine's value holds them.
    const std::string engine = ReadINIValue(engineFile, section, key, kFallback).c_str();
    const auto differs = wine.find({section, key});
    met += differs != wine.end();
    EXPECT_EQ(windows, differs == wine.end() ? engine : differs->second);
    if (differs != wine.end()) {
      EXPECT_EQ(engine, kFallback);
    }
  }
  EXPECT_EQ(met, wine.size());
}

struct DataFile {
  std::string name;
  std::string file;  // under tests/data; "" for none
};

// The .ini and .cfg files of the edge cases and of the corpus.
std::vector<DataFile> dataFiles() {
  std::vector<DataFile> files;
  for (const char* folder : {"ini", "corpus", "corpus/derived"}) {
    for (const fs::directory_entry& entry : fs::directory_iterator(kData + folder)) {
      const std::string extension = entry.path().extension().string();
      if (extension != ".ini" && extension != ".cfg") continue;
      const std::string file = std::string(folder) + "/" + entry.path().filename().string();
      std::string name = file.substr(0, file.size() - extension.size());
      std::replace_if(
          name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
      files.push_back({name, file});
    }
  }
  return files;
}

class WindowsProfile : public ::testing::TestWithParam<DataFile> {};

TEST_P(WindowsProfile, ReadINIValueGivesWhatGetPrivateProfileStringGives) {
  const std::string path = kData + GetParam().file;
  const auto wine = kWineAnswers.find(GetParam().file);
  expectSameReads(
      path, path, lookupsIn(path),
      underWine() && wine != kWineAnswers.end() ? wine->second : std::map<Lookup, std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Ini, WindowsProfile, ::testing::ValuesIn(dataFiles()), RowName());

// --- the same edits through the engine and through WritePrivateProfileStringA ----------------

struct Edit {
  const char* section;
  const char* key;
  const char* value;  // nullptr deletes the key
};

const Edit kEdits[] = {
    {"Settings", "NoSuchKey", nullptr},              // a missing key (and file) deleted
    {"No Such Section", "RadarMode", nullptr},       // a key of a missing section deleted
    {"Settings", "RadarMode", "2"},                  // a changed value, or a new file
    {"Settings", "NewKey", "new"},                   // a new key in an existing section
    {"New Section", "Key", "value"},                 // a new section
    {"Settings", "Padded", " \t padded  value \t"},  // blanks around a value
    {"Settings", "Quoted", "\" quoted \""},          // quotes that keep blanks
    {"Settings", "SpawnWeapons", nullptr},           // a deleted key
    {"settings", "newkey", nullptr},                 // a key written before, deleted
    {"SETTINGS", "radarmode", "3"},                  // changed again, in other letter case
    {"Settings", "MapName00", "C&C_Caf\xE9.mix"},    // a Windows-1252 byte
    {"Settings", "Equals", "a=b;c"},                 // '=' and ';' inside a value
    {" Settings ", " Spaced ", "1"},                 // names with blanks around them
    {"Settings", "Empty", ""},                       // an empty value
};

class WindowsProfileEdits : public ::testing::TestWithParam<DataFile> {};

TEST_P(WindowsProfileEdits, ReadBackAsThoseOfWritePrivateProfileString) {
  testing::TempFolder folder;
  const std::string windowsFile = folder.file("windows.ini");
  const std::string engineFile = folder.file("engine.ini");
  if (!GetParam().file.empty()) {
    fs::copy_file(kData + GetParam().file, windowsFile);
    fs::copy_file(kData + GetParam().file, engineFile);
  }
  std::set<Lookup> lookups;
  for (const Edit& edit : kEdits) {
    SCOPED_TRACE(std::string("[") + edit.section + "] " + edit.key);
    lookups.insert({edit.section, edit.key});
    const bool windows =
        WritePrivateProfileStringA(edit.section, edit.key, edit.value, windowsFile.c_str());
    const bool engine = edit.value == nullptr
                            ? DeleteINIKey(engineFile, edit.section, edit.key).ok
                            : WriteINIValue(engineFile, edit.section, edit.key, edit.value).ok;
    EXPECT_EQ(engine, windows);
    EXPECT_EQ(fs::exists(engineFile), fs::exists(windowsFile));
  }
  // Read as another program would, from the file: Wine answers from what it wrote until then.
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, windowsFile.c_str());
  lookups.merge(lookupsIn(windowsFile));
  lookups.merge(lookupsIn(engineFile));
  expectSameReads(windowsFile, engineFile, lookups, {});
}

INSTANTIATE_TEST_SUITE_P(
    Ini, WindowsProfileEdits,
    ::testing::Values(DataFile{"NoFile", ""},
                      DataFile{"ini_case_and_blanks", "ini/case_and_blanks.ini"},
                      DataFile{"ini_duplicate_sections", "ini/duplicate_sections.ini"},
                      DataFile{"ini_no_final_newline", "ini/no_final_newline.ini"},
                      DataFile{"ini_mixed_endings", "ini/mixed_endings.ini"},
                      DataFile{"corpus_mpdemo_svrcfg_cnc", "corpus/mpdemo_svrcfg_cnc.ini"}),
    RowName());
#endif  // _WIN32

}  // namespace
}  // namespace corvane
