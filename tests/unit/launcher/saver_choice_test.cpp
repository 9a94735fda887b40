#include "launcher/saver_choice.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace orvane::launcher {
namespace {

constexpr char kScr[] = "C:\\My Savers\\Orvane Folder\\Orvane.scr";
constexpr char kScrShort[] = "C:\\MYSAVE~1\\ORVANE~1\\Orvane.scr";

// A registry of two keys and a file system that knows one file by several
// spellings; records what was written and announced.
class FakeSaverStore : public SaverStore {
 public:
  std::map<std::string, StoredText> desktop;
  std::map<std::string, std::string> policy;
  bool installedHere = true;
  std::string shortPath = kScrShort;
  bool writable = true;
  std::vector<std::string> spellingsOfScr = {kScr, kScrShort,
                                             "\"C:\\my savers\\orvane folder\\ORVANE.SCR\""};
  int announced = 0;
  int remembered = 0;
  std::optional<StoredText> rememberedSaver;
  std::optional<std::string> rememberedActive;

  std::optional<StoredText> ReadDesktopValue(const std::string& name) override {
    auto found = desktop.find(name);
    if (found == desktop.end()) return std::nullopt;
    return found->second;
  }
  bool WriteDesktopValue(const std::string& name, const std::string& text) override {
    if (!writable) return false;
    desktop[name] = StoredText{text, 1};
    return true;
  }
  std::optional<std::string> ReadPolicyValue(const std::string& name) override {
    auto found = policy.find(name);
    if (found == policy.end()) return std::nullopt;
    return found->second;
  }
  bool InstalledBySetupHere() override { return installedHere; }
  void RememberEarlierSaver(const std::optional<StoredText>& saver,
                            const std::optional<std::string>& active) override {
    ++remembered;
    rememberedSaver = saver;
    rememberedActive = active;
  }
  std::string ShortPathOf(const std::string&) override { return shortPath; }
  bool NamesSameFile(const std::string& a, const std::string& b) override {
    return IsScr(a) ? IsScr(b) : a == b;
  }
  void AnnounceScreenSaverOn() override { ++announced; }

 private:
  bool IsScr(const std::string& spelling) const {
    for (const auto& known : spellingsOfScr)
      if (spelling == known) return true;
    return false;
  }
};

TEST(StoredSaverValue, ShortFormWhereOneWithoutBlanksExistsElseTheLongPathUnquoted) {
  struct Row {
    const char* why;
    std::string shortPath;
    std::string expected;
  } rows[] = {
      {"a short form exists", kScrShort, kScrShort},
      {"no short names: the call gives the long path back", kScr, kScr},
      {"the call failed", "", kScr},
      {"a short form that still has a blank", "C:\\A B\\Orvane.scr", kScr},
  };
  for (const auto& row : rows)
    EXPECT_EQ(StoredSaverValue(kScr, row.shortPath), row.expected) << row.why;
}

TEST(ChooseOrvane, StoresTheValueSwitchesTheSaverOnAndAnnouncesIt) {
  struct Row {
    const char* why;
    std::string shortPath;
    std::string expectedValue;
  } rows[] = {
      {"short form", kScrShort, kScrShort},
      {"volume without short names", "", kScr},
  };
  for (const auto& row : rows) {
    FakeSaverStore store;
    store.shortPath = row.shortPath;
    store.desktop["ScreenSaveActive"] = {"0", 1};
    EXPECT_EQ(ChooseOrvane(store, kScr), ChoiceOutcome::Chosen) << row.why;
    EXPECT_EQ(store.desktop["SCRNSAVE.EXE"].text, row.expectedValue) << row.why;
    EXPECT_EQ(store.desktop["ScreenSaveActive"].text, "1") << row.why;
    EXPECT_EQ(store.announced, 1) << row.why;
  }
}

TEST(ChooseOrvane, RemembersTheEarlierSaverOnlyWhenItIsAnotherAndSetupInstalledHere) {
  struct Row {
    const char* why;
    std::optional<StoredText> current;
    bool installedHere;
    bool remembers;
  } rows[] = {
      {"another saver, as stored", StoredText{"%SystemRoot%\\System32\\Other.scr", 2}, true, true},
      {"no saver at all", std::nullopt, true, true},
      {"Orvane by its short form", StoredText{kScrShort, 1}, true, false},
      {"Orvane quoted, in another case",
       StoredText{"\"C:\\my savers\\orvane folder\\ORVANE.SCR\"", 1}, true, false},
      {"another saver, but no setup here (a copy from the zip)", StoredText{"C:\\x.scr", 1}, false,
       false},
  };
  for (const auto& row : rows) {
    FakeSaverStore store;
    store.installedHere = row.installedHere;
    if (row.current) store.desktop["SCRNSAVE.EXE"] = *row.current;
    store.desktop["ScreenSaveActive"] = {"0", 1};
    ChooseOrvane(store, kScr);
    EXPECT_EQ(store.remembered, row.remembers ? 1 : 0) << row.why;
    if (!row.remembers) continue;
    EXPECT_EQ(store.rememberedSaver.has_value(), row.current.has_value()) << row.why;
    if (row.current) {
      EXPECT_EQ(store.rememberedSaver->text, row.current->text) << row.why;
      EXPECT_EQ(store.rememberedSaver->type, row.current->type) << row.why;
    }
    EXPECT_EQ(store.rememberedActive, std::optional<std::string>("0")) << row.why;
  }
}

TEST(ChooseOrvane, SaysWhenAPolicyDecidesInsteadOfReportingOrvaneChosen) {
  struct Row {
    const char* why;
    std::map<std::string, std::string> policy;
    ChoiceOutcome expected;
  } rows[] = {
      {"no policy", {}, ChoiceOutcome::Chosen},
      {"policy switches savers on", {{"ScreenSaveActive", "1"}}, ChoiceOutcome::Chosen},
      {"policy switches savers off", {{"ScreenSaveActive", "0"}}, ChoiceOutcome::PolicyDecides},
      {"policy forces another saver",
       {{"SCRNSAVE.EXE", "C:\\Windows\\system32\\scrnsave.scr"}},
       ChoiceOutcome::PolicyDecides},
      {"policy forces Orvane itself", {{"SCRNSAVE.EXE", kScrShort}}, ChoiceOutcome::Chosen},
      {"policy names no saver", {{"SCRNSAVE.EXE", ""}}, ChoiceOutcome::Chosen},
      {"policy forces Orvane but switches savers off",
       {{"SCRNSAVE.EXE", kScr}, {"ScreenSaveActive", "0"}},
       ChoiceOutcome::PolicyDecides},
  };
  for (const auto& row : rows) {
    FakeSaverStore store;
    store.policy = row.policy;
    EXPECT_EQ(ChooseOrvane(store, kScr), row.expected) << row.why;
    // The user's own choice is stored either way, for when the policy goes.
    EXPECT_EQ(store.desktop["SCRNSAVE.EXE"].text, kScrShort) << row.why;
  }
}

TEST(ChooseOrvane, ARefusedWriteIsReportedAndTheSessionStillHearsOfIt) {
  FakeSaverStore store;
  store.writable = false;
  EXPECT_EQ(ChooseOrvane(store, kScr), ChoiceOutcome::NotWritten);
  EXPECT_EQ(store.announced, 1);
}

}  // namespace
}  // namespace orvane::launcher
