// Tests of the registry value reader: root names, key-path parsing and the three results of
// `ReadRegistryValue`, against a store that answers from a table.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "Registry.h"
#include "Shell.h"

namespace corvane {
namespace {

// Records every notice instead of showing it.
class RecordingShell final : public Shell {
 public:
  struct Notice {
    std::string title;
    std::string text;
  };
  void openTarget(const std::string& target) override { openedTargets.push_back(target); }
  void showNotice(const std::string& title, const std::string& text) override {
    notices.push_back({title, text});
  }
  std::vector<std::string> openedTargets;
  std::vector<Notice> notices;
};

// A store answering from a table of keys and values; remembers what it was asked.
class TableStore final : public RegistryStore {
 public:
  struct Question {
    RootKeyHandle root;
    std::string subKey;
    std::string valueName;
  };

  void addKey(RootKeyHandle root, const std::string& subKey) { keys_.insert({root, subKey}); }
  void addValue(RootKeyHandle root, const std::string& subKey, const std::string& valueName,
                const std::string& text) {
    addKey(root, subKey);
    values_[{root, subKey, valueName}] = text;
  }
  // Makes the store map paths through `mapping`, which sees every path it is given.
  void mapPathsWith(std::function<std::optional<std::string>(const std::string&)> mapping) {
    mapping_ = std::move(mapping);
  }

  RegistryAnswer lookUp(RootKeyHandle root, const std::string& subKey,
                        const std::string& valueName) override {
    questions.push_back({root, subKey, valueName});
    if (!keys_.contains({root, subKey})) return RegistryAnswer::keyMissing();
    const auto value = values_.find({root, subKey, valueName});
    if (value == values_.end()) return RegistryAnswer::valueMissing();
    RegistryAnswer answer = RegistryAnswer::found(value->second);
    if (mapping_) {
      answer.toLocalPath = [this](const std::string& windowsPath) {
        mappedPaths.push_back(windowsPath);
        return mapping_(windowsPath);
      };
    }
    return answer;
  }

  std::vector<Question> questions;
  std::vector<std::string> mappedPaths;

 private:
  std::set<std::pair<RootKeyHandle, std::string>> keys_;
  std::map<std::tuple<RootKeyHandle, std::string, std::string>, std::string> values_;
  std::function<std::optional<std::string>(const std::string&)> mapping_;
};

const std::string kGameKey = "Software\\Westwood\\Renegade";

// `unit` written `count` times ("\xC3\xBC" is one character, u with diaeresis, in two bytes).
std::string repeated(const std::string& unit, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += unit;
  return text;
}

// --- GetRootKey -----------------------------------------------------------------------------

struct RootNameRow {
  const char* name;
  std::string rootName;
  RootKeyHandle handle;
};

void PrintTo(const RootNameRow& row, std::ostream* out) {
  *out << row.name;
}

class GetRootKeyTest : public ::testing::TestWithParam<RootNameRow> {};

TEST_P(GetRootKeyTest, GivesTheHandleOfTheName) {
  EXPECT_EQ(GetRootKey(GetParam().rootName), GetParam().handle);
}

INSTANTIATE_TEST_SUITE_P(
    RootNames, GetRootKeyTest,
    ::testing::Values(RootNameRow{"classes_root", "HKEY_CLASSES_ROOT", 0x80000000},
                      RootNameRow{"current_user", "HKEY_CURRENT_USER", 0x80000001},
                      RootNameRow{"local_machine", "HKEY_LOCAL_MACHINE", 0x80000002},
                      RootNameRow{"users", "HKEY_USERS", 0x80000003},
                      RootNameRow{"performance_data", "HKEY_PERFORMANCE_DATA", 0x80000004},
                      RootNameRow{"current_config", "HKEY_CURRENT_CONFIG", 0x80000005},
                      RootNameRow{"dyn_data", "HKEY_DYN_DATA", 0x80000006},
                      RootNameRow{"lower_case_is_unknown", "hkey_local_machine", 0},
                      RootNameRow{"mixed_case_is_unknown", "HKEY_Local_Machine", 0},
                      RootNameRow{"short_name_is_unknown", "HKLM", 0},
                      RootNameRow{"trailing_blank_is_unknown", "HKEY_USERS ", 0},
                      RootNameRow{"prefix_alone_is_unknown", "HKEY_", 0},
                      RootNameRow{"empty_is_unknown", "", 0}),
    [](const auto& info) { return std::string(info.param.name); });

// --- ParseKeyPath ---------------------------------------------------------------------------

struct KeyPathRow {
  const char* name;
  std::string keyPath;
  RootKeyHandle root;
  std::string subKey;
  bool showsNotice;
};

void PrintTo(const KeyPathRow& row, std::ostream* out) {
  *out << row.name;
}

class ParseKeyPathTest : public ::testing::TestWithParam<KeyPathRow> {};

TEST_P(ParseKeyPathTest, SplitsAtTheFirstBackslash) {
  const KeyPathRow& row = GetParam();
  RecordingShell shell;
  const ParsedKeyPath parsed = ParseKeyPath(row.keyPath, shell);
  EXPECT_EQ(parsed.root, row.root);
  EXPECT_EQ(parsed.subKey, row.subKey);
  if (row.showsNotice) {
    ASSERT_EQ(shell.notices.size(), 1u);
    EXPECT_EQ(shell.notices[0].title, "Corvane");
    EXPECT_EQ(shell.notices[0].text, "Incorrect Format:\n\n" + row.keyPath);
  } else {
    EXPECT_TRUE(shell.notices.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    KeyPaths, ParseKeyPathTest,
    ::testing::Values(
        KeyPathRow{"game_key", "HKEY_LOCAL_MACHINE\\" + kGameKey, 0x80000002, kGameKey, false},
        KeyPathRow{"root_alone_is_the_root_key", "HKEY_CURRENT_USER", 0x80000001, "", false},
        KeyPathRow{"only_the_first_backslash_splits", "HKEY_USERS\\.Default\\Software", 0x80000003,
                   ".Default\\Software", false},
        KeyPathRow{"doubled_backslash_stays_in_the_sub_key", "HKEY_LOCAL_MACHINE\\\\Software",
                   0x80000002, "\\Software", false},
        KeyPathRow{"trailing_backslash_is_malformed", "HKEY_LOCAL_MACHINE\\", 0, "", true},
        KeyPathRow{"trailing_backslash_after_sub_key_is_malformed",
                   "HKEY_LOCAL_MACHINE\\" + kGameKey + "\\", 0, "", true},
        KeyPathRow{"empty_path_is_malformed", "", 0, "", true},
        KeyPathRow{"lower_case_start_is_malformed", "hkey_local_machine\\Software", 0, "", true},
        KeyPathRow{"path_without_root_is_malformed", kGameKey, 0, "", true},
        KeyPathRow{"leading_blank_is_malformed", " HKEY_LOCAL_MACHINE\\Software", 0, "", true},
        KeyPathRow{"unknown_root_after_right_start_is_quiet", "HKEY_local_machine\\Software", 0,
                   "Software", false},
        KeyPathRow{"prefix_alone_is_quiet", "HKEY_", 0, "", false}),
    [](const auto& info) { return std::string(info.param.name); });

// --- ReadRegistryValue ----------------------------------------------------------------------

struct ReadRow {
  const char* name;
  std::string keyPath;
  std::string valueName;
  std::optional<std::string> storedValue;  // of InstallPath in the game key; none: no value
  std::string expected;
  bool storeAsked;
};

void PrintTo(const ReadRow& row, std::ostream* out) {
  *out << row.name;
}

class ReadRegistryValueTest : public ::testing::TestWithParam<ReadRow> {};

TEST_P(ReadRegistryValueTest, GivesOneOfTheThreeResults) {
  const ReadRow& row = GetParam();
  TableStore store;
  store.addKey(root_keys::kLocalMachine, kGameKey);
  if (row.storedValue) {
    store.addValue(root_keys::kLocalMachine, kGameKey, "InstallPath", *row.storedValue);
    store.addValue(root_keys::kLocalMachine, "", "InstallPath", "root:" + *row.storedValue);
  }
  RecordingShell shell;

  EXPECT_EQ(ReadRegistryValue(store, shell, row.keyPath, row.valueName), row.expected);
  EXPECT_EQ(!store.questions.empty(), row.storeAsked);
}

const std::string kGamePath = "HKEY_LOCAL_MACHINE\\" + kGameKey;
const std::string kExe = "C:\\Westwood\\Renegade\\Renegade.exe";

INSTANTIATE_TEST_SUITE_P(
    Reads, ReadRegistryValueTest,
    ::testing::Values(
        ReadRow{"value_of_the_key", kGamePath, "InstallPath", kExe, kExe, true},
        ReadRow{"root_key_without_backslash_reads_the_root_value", "HKEY_LOCAL_MACHINE",
                "InstallPath", kExe, "root:" + kExe, true},
        ReadRow{"trailing_backslash_reads_empty", "HKEY_LOCAL_MACHINE\\", "InstallPath", kExe, "",
                false},
        ReadRow{"empty_key_path_reads_empty", "", "InstallPath", kExe, "", false},
        ReadRow{"lower_case_root_reads_empty", "hkey_local_machine\\" + kGameKey, "InstallPath",
                kExe, "", false},
        ReadRow{"unknown_root_reads_empty", "HKEY_local_machine\\" + kGameKey, "InstallPath", kExe,
                "", false},
        ReadRow{"missing_key_reads_error", "HKEY_LOCAL_MACHINE\\Software\\Westwood\\Other",
                "InstallPath", kExe, "Error", true},
        ReadRow{"missing_value_reads_error", kGamePath, "InstallPath", std::nullopt, "Error", true},
        ReadRow{"other_value_name_reads_error", kGamePath, "Language", kExe, "Error", true},
        ReadRow{"empty_value_reads_empty", kGamePath, "InstallPath", "", "", true},
        ReadRow{"leading_blanks_removed", kGamePath, "InstallPath", "   " + kExe, kExe, true},
        ReadRow{"trailing_blanks_kept", kGamePath, "InstallPath", kExe + "  ", kExe + "  ", true},
        ReadRow{"only_blanks_read_empty", kGamePath, "InstallPath", "    ", "", true},
        ReadRow{"leading_tab_is_not_a_blank", kGamePath, "InstallPath", "\t" + kExe, "\t" + kExe,
                true},
        ReadRow{"254_characters_read_whole", kGamePath, "InstallPath", std::string(254, 'x'),
                std::string(254, 'x'), true},
        ReadRow{"255_characters_read_error", kGamePath, "InstallPath", std::string(255, 'x'),
                "Error", true},
        ReadRow{"long_value_reads_error", kGamePath, "InstallPath", std::string(4000, 'x'), "Error",
                true},
        ReadRow{"blanks_count_towards_the_length", kGamePath, "InstallPath",
                std::string(251, ' ') + "C:\\x", "Error", true},
        ReadRow{"254_non_ascii_characters_read_whole", kGamePath, "InstallPath",
                repeated("\xC3\xBC", 254), repeated("\xC3\xBC", 254), true},
        ReadRow{"255_non_ascii_characters_read_error", kGamePath, "InstallPath",
                repeated("\xC3\xBC", 255), "Error", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadRegistryValueNoticeTest, MalformedPathShowsTheFormatNoticeOnce) {
  TableStore store;
  RecordingShell shell;
  ReadRegistryValue(store, shell, "hkey_local_machine\\Software", "InstallPath");
  ASSERT_EQ(shell.notices.size(), 1u);
  EXPECT_EQ(shell.notices[0].title, "Corvane");
  EXPECT_EQ(shell.notices[0].text, "Incorrect Format:\n\nhkey_local_machine\\Software");
}

TEST(ReadRegistryValueNoticeTest, FailedReadShowsNothing) {
  TableStore store;
  RecordingShell shell;
  EXPECT_EQ(ReadRegistryValue(store, shell, kGamePath, "InstallPath"), "Error");
  EXPECT_TRUE(shell.notices.empty());
}

TEST(ReadRegistryValueNoticeTest, AsksTheStoreForTheRootAndSubKey) {
  TableStore store;
  RecordingShell shell;
  ReadRegistryValue(store, shell, "HKEY_CURRENT_USER\\Software\\A", "Value");
  ASSERT_EQ(store.questions.size(), 1u);
  EXPECT_EQ(store.questions[0].root, root_keys::kCurrentUser);
  EXPECT_EQ(store.questions[0].subKey, "Software\\A");
  EXPECT_EQ(store.questions[0].valueName, "Value");
}

// --- ReadRegistryValue with a store that maps paths -----------------------------------------

struct MappingRow {
  const char* name;
  std::string storedValue;
  std::optional<std::string> mapped;  // what the store's mapping gives
  std::string expected;
  std::vector<std::string> pathsMapped;
};

void PrintTo(const MappingRow& row, std::ostream* out) {
  *out << row.name;
}

class ReadMappedValueTest : public ::testing::TestWithParam<MappingRow> {};

TEST_P(ReadMappedValueTest, MapsTheTrimmedValue) {
  const MappingRow& row = GetParam();
  TableStore store;
  store.addValue(root_keys::kLocalMachine, kGameKey, "InstallPath", row.storedValue);
  store.mapPathsWith([&row](const std::string&) { return row.mapped; });
  RecordingShell shell;

  EXPECT_EQ(ReadRegistryValue(store, shell, kGamePath, "InstallPath"), row.expected);
  EXPECT_EQ(store.mappedPaths, row.pathsMapped);
}

INSTANTIATE_TEST_SUITE_P(
    MappedReads, ReadMappedValueTest,
    ::testing::Values(
        MappingRow{"mapped_path_is_the_result",
                   kExe,
                   "/games/Renegade/Renegade.exe",
                   "/games/Renegade/Renegade.exe",
                   {kExe}},
        MappingRow{
            "leading_blanks_removed_before_mapping", "  " + kExe, "/games/x", "/games/x", {kExe}},
        MappingRow{
            "trailing_blanks_reach_the_mapping", kExe + " ", "/games/x", "/games/x", {kExe + " "}},
        MappingRow{"unmappable_path_reads_error",
                   "D:\\Games\\Renegade.exe",
                   std::nullopt,
                   "Error",
                   {"D:\\Games\\Renegade.exe"}},
        MappingRow{"empty_value_is_not_mapped", "", std::nullopt, "", {}},
        MappingRow{"blank_value_is_not_mapped", "   ", std::nullopt, "", {}},
        MappingRow{
            "too_long_value_is_not_mapped", "C:\\" + std::string(252, 'x'), "/x", "Error", {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace corvane
