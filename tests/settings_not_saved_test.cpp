// A change that cannot be saved tells the user where and why, once until a
// save works again; the change itself stays for the run. (What each file on disk gives is the
// hostile settings folder test's.)
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "platform/control_ids.h"
#include "support/test_files.h"
#include "window/start_up.h"
#include "window_test_support.h"

namespace {

using platform::SaveResult;

constexpr int kAscending = kRuleRows[SayAscending].rule_box;
constexpr int kHourProg = kRuleRows[SayHourProg].rule_box;
constexpr int kAlarm1 = kRuleRows[SayAlarm1].rule_box;

void Toggle(int rule_box) {
  fake::Control(rule_box).check ^= 1;
  Click(rule_box);
}

// One run: three rule boxes clicked, the second while the message box waits,
// as the window stays usable then. Returns the message boxes shown.
std::vector<std::string> RunClickingThreeRules() {
  fake::OnStopBox([] { Toggle(kHourProg); });
  fake::OnRunMainWindow([] {
    Toggle(kAscending);
    Toggle(kAlarm1);
  });
  fake::ClearCalls();
  RunQuorvel(0, nullptr);
  std::vector<std::string> boxes;
  for (const std::string& call : fake::Calls())
    if (call.rfind("ShowStopBox", 0) == 0) boxes.push_back(call);
  return boxes;
}

class SettingsNotSaved : public ::testing::Test {
 protected:
  void SetUp() override { fake::Reset(); }
};

TEST_F(SettingsNotSaved, TheFirstChangeThatCannotBeSavedTellsWhereAndWhyOnceARun) {
  const std::string box = "ShowStopBox Quorvel|Quorvel cannot save your settings";
  const std::string lasting = ". Changes last until Quorvel ends.";
  const struct {
    const char* what;
    void (*make)(const std::string& folder);
    std::string told;  // after "cannot save your settings"; @ stands for the test's folder
  } cases[] = {
      {"no home folder",
       [](const std::string&) { fake::RefuseSettingsFolder("", SaveResult::kNoFolder); },
       ": there is no folder for them" + lasting},
      {"a configuration folder others may write",
       [](const std::string&) {
         fake::RefuseSettingsFolder("/home/u/.config/quorvel/", SaveResult::kFolderShared);
       },
       " to /home/u/.config/quorvel/quorvel.ini: other users may write into its folder" + lasting},
      {"a folder gone", [](const std::string& f) { fake::SetProgramFolder(f + "gone/"); },
       " to @gone/quorvel.ini: its folder does not exist" + lasting},
  };
  for (const auto& c : cases) {
    fake::Reset();
    const std::string folder = fake::ProgramFolderPath();
    c.make(folder);
    std::string told = c.told;
    if (told.find('@') != std::string::npos) told.replace(told.find('@'), 1, folder);
    for (int run = 1; run <= 2; ++run) {
      EXPECT_EQ(RunClickingThreeRules(), std::vector<std::string>{box + told})
          << c.what << ", run " << run;
      // Each run starts from the defaults: nothing was saved.
      EXPECT_EQ(Settings.Say[SayAscending], 0) << c.what;
      EXPECT_EQ(Settings.Say[SayHourProg], 1) << "changed while the box waits";
      EXPECT_EQ(Settings.Say[SayAlarm1], 1) << c.what;
    }
    EXPECT_TRUE(test_files::Entries(folder).empty()) << c.what;
  }
}

// A full disk or a file held open may be gone at the next change, which
// saves everything then.
TEST_F(SettingsNotSaved, AFailureThatMayPassSaysTheNextChangeTriesAgain) {
  std::vector<std::string> boxes;
  {
    test_files::FileSizeLimit limit(10);
    boxes = RunClickingThreeRules();
  }
  EXPECT_EQ(boxes, std::vector<std::string>{"ShowStopBox Quorvel|Quorvel cannot save your "
                                            "settings to " +
                                            SettingsPath() +
                                            ": writing it failed. It tries again at the next "
                                            "change."});
  Toggle(kAscending);
  EXPECT_EQ(SettingsFileOnDisk(), SettingsFileText(Settings));
  EXPECT_EQ(fake::CountCalls("ShowStopBox"), 1);
}

// A save that works ends a spell of failures: the next failure is new, and
// its changes would be lost as well, so it is told again; within a spell only
// the first change is. Each step is a change: 'f' while writes fail (a full
// disk), 'p' with the file made write-protected, 's' saved.
TEST_F(SettingsNotSaved, AFailureAfterASaveThatWorkedIsToldAgain) {
  const std::string failed = ": writing it failed. It tries again at the next change.";
  const std::string write_protected =
      ": the file is write-protected. Changes last until Quorvel ends.";
  const struct {
    const char* steps;
    std::vector<std::string> told;  // each box's text after the file's path
  } rows[] = {
      {"fff", {failed}},
      {"fsf", {failed, failed}},
      {"fsssp", {failed, write_protected}},
      {"ppsfp", {write_protected, failed}},
      {"psfsp", {write_protected, failed, write_protected}},
      {"sss", {}},
  };
  for (const auto& row : rows) {
    StartWithFreshWindow();
    LoadSettings();
    SaveSettings();  // a file to write-protect
    fake::ClearCalls();
    for (const char* step = row.steps; *step != '\0'; ++step) {
      ::chmod(SettingsPath().c_str(), *step == 'p' ? 0444 : 0644);
      test_files::FileSizeLimit limit(*step == 'f' ? 10 : RLIM_INFINITY);
      Toggle(kAscending);
    }
    ::chmod(SettingsPath().c_str(), 0644);
    std::vector<std::string> expected;
    for (const std::string& told : row.told)
      expected.push_back("ShowStopBox Quorvel|Quorvel cannot save your settings to " +
                         SettingsPath() + told);
    std::vector<std::string> boxes;
    for (const std::string& call : fake::Calls())
      if (call.rfind("ShowStopBox", 0) == 0) boxes.push_back(call);
    EXPECT_EQ(boxes, expected) << row.steps;
  }
}

}  // namespace
