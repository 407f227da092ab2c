#include "settings/settings_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "fake/fake_platform.h"
#include "support/test_files.h"

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

void ExpectSame(const SettingsRecord& actual, const SettingsRecord& expected, const char* what) {
  EXPECT_EQ(SettingsFileText(actual), SettingsFileText(expected)) << what;
}

// The file text of the defaults with some "Key: value" lines changed, so a
// case names only what it changes and still checks all 36 settings.
std::string DefaultsWith(const std::vector<std::string>& changed) {
  std::string text = "\n" + SettingsFileText(DefaultSettings());
  for (const std::string& line : changed) {
    const size_t at = text.find("\n" + line.substr(0, line.find(": ") + 2));
    if (at == std::string::npos) {
      ADD_FAILURE() << "no such key: " << line;
      continue;
    }
    text.replace(at + 1, text.find('\r', at) - at - 1, line);
  }
  return text.substr(1);
}

TEST(SettingsFileReader, AppliesTheLinesOnTopOfTheDefaults) {
  const struct {
    const char* what;
    std::string bytes;
    std::vector<std::string> changed;
  } cases[] = {
      {"CR LF",
       "SayAscending: 0\r\nSFXAlarm1: C:\\Snd\\a:b.wav\r\nAlarm1time: 7:5\r\n",
       {"SayAscending: 0", "SFXAlarm1: C:\\Snd\\a:b.wav", "Alarm1time: 7:5"}},
      {"CR only",
       "SayAscending: 0\rSayDescending: 0\rSay420: 1",
       {"SayAscending: 0", "SayDescending: 0", "Say420: 1"}},
      {"LF only",
       "Say420: 1\nSayAscending: 0\nAlarm2time: 6:00\n",
       {"Say420: 1", "SayAscending: 0", "Alarm2time: 6:00"}},
      {"LF only, a text first",
       "Alarm2time: 6:00\nSayAscending: 0",
       {"Alarm2time: 6:00", "SayAscending: 0"}},
      {"mixed line ends",
       "\nSayAscending: 0\n\rSFXAlarm1: a.wav\r\n\nSay420: 1\r\r\nSayAlarm1: 1\n",
       {"SayAscending: 0", "SFXAlarm1: a.wav", "Say420: 1", "SayAlarm1: 1"}},
      {"Ctrl-Z",
       std::string("Alarm1time: 6:3\x1a") + "0\r\nSayAscending: 0\r\n",
       {"Alarm1time: 6:3"}},
      {"BOM",
       std::string("\xEF\xBB\xBF") + "SayAscending: 0\r\nSayDescending: 0\r\n",
       {"SayDescending: 0"}},
      {"case and blanks",
       "SAYASCENDING :   0\r\n  sfxSay420  :  a b.wav  \r\n",
       {"SayAscending: 0", "SFXSay420: a b.wav"}},
      {"tabs",
       "SayAscending\t: 0\r\nAlarm1time:\t8:00\r\nSayDescending: \t0\r\n",
       {"Alarm1time: \t8:00", "SayDescending: 0"}},
      {"no colon",
       "12hour\r\n24hour\r\nsfxalarm1\r\nSayAscending\r\nhello\r\n",
       {"12hour: 12", "24hour: 24", "SFXAlarm1: sfxalarm1", "SayAscending: 0"}},
      {"later wins",
       "Say420: 5\r\nSay420: 3\r\nSFXAlarm2: x.wav\r\nSFXAlarm2:  \r\n",
       {"Say420: 3", "SFXAlarm2: x.wav"}},
      {"empty values", "SayAscending:\r\nAlarm1time:   \r\n\r\n:\r\n", {}},
      {"out of range",
       "SayAscending: 1e20\r\nSayDescending: -1e20\r\n24hour: &HFFFFFFFFFF\r\n",
       {"SayAscending: 2147483647", "SayDescending: -2147483648", "24hour: 2147483647"}},
      {"rounding",
       "Say420: 1.5\r\nSayAlarm1: 2.5\r\nSayAlarm2: -1\r\nSayAscending: 0.5\r\nConfirmAlarm: "
       "on\r\n",
       {"Say420: 2", "SayAlarm1: 2", "SayAlarm2: -1", "SayAscending: 0", "ConfirmAlarm: 0"}},
  };
  for (const auto& c : cases) {
    SettingsRecord read = DefaultSettings();
    ApplySettingsFileText(c.bytes, read);
    EXPECT_EQ(SettingsFileText(read), DefaultsWith(c.changed)) << c.what;
  }
}

// A leftover of a half-done save may become the settings file: only one the
// save wrote to its end, whatever the settings in it.
TEST(SettingsFileReader, OnlyAWholeSaveCountsAsWhole) {
  SettingsRecord odd = DefaultSettings();
  odd.SFX[SayAscending] = "/snd/a\nb.wav";
  odd.Say[Say420] = -7;
  const std::string whole = SettingsFileText(DefaultSettings());
  for (const std::string& text : {whole, SettingsFileText(odd)}) {
    EXPECT_TRUE(IsWholeSettingsFile(text));
    for (size_t cut = 0; cut < text.size(); ++cut)
      EXPECT_FALSE(IsWholeSettingsFile(text.substr(0, cut))) << "cut at " << cut;
  }
  std::string swapped = whole;
  swapped.replace(0, swapped.find("\r\n", 20), "SayDescending: 1\r\nSayAscending: 1");
  for (const std::string& text : {whole + "x", whole + "\r\n", whole.substr(2),
                                  "sayascending" + whole.substr(12), swapped,
                                  DefaultsWith({"Alarm1time: 7\r00"})})
    EXPECT_FALSE(IsWholeSettingsFile(text)) << text;
}

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::Reset();
    Settings = {};
  }
};

TEST_F(SettingsFile, FirstRunStartsFromDefaultsAndSavesExactBytes) {
  LoadSettings();
  EXPECT_FALSE(std::filesystem::exists(SettingsPath()));
  SaveSettings();
  EXPECT_EQ(SettingsPath(), fake::ProgramFolderPath() + "quorvel.ini");
  EXPECT_EQ(test_files::Read(SettingsPath()),
            "SayAscending: 1\r\nSayDescending: 1\r\nSayDescendingEnd1: 1\r\nSaySelfSimilar: 1\r\n"
            "SayHourMinuteMatch: 0\r\nSayHourMinuteMirror: 0\r\nSayHourProg: 0\r\nSay420: 0\r\n"
            "SayAlarm1: 0\r\nSayAlarm2: 0\r\n12hour: 1\r\n24hour: 0\r\nConfirmAlarm: 1\r\n"
            "AutomaticStartup: 0\r\nSpeakSayAscending: 1\r\nSpeakSayDescending: 1\r\n"
            "SpeakSayDescendingEnd1: 1\r\nSpeakSaySelfSimilar: 1\r\nSpeakSayHourMinuteMatch: 1\r\n"
            "SpeakSayHourMinuteMirror: 1\r\nSpeakSayHourProg: 1\r\nSpeakSay420: 1\r\n"
            "SpeakAlarm1: 1\r\nSpeakAlarm2: 1\r\nSFXSayAscending: \r\nSFXSayDescending: \r\n"
            "SFXSayDescendingEnd1: \r\nSFXSaySelfSimilar: \r\nSFXSayHourMinuteMatch: \r\n"
            "SFXSayHourMinuteMirror: \r\nSFXSayHourProg: \r\nSFXSay420: \r\nSFXAlarm1: \r\n"
            "SFXAlarm2: \r\nAlarm1time: 7:00\r\nAlarm2time: 9:00\r\n");
}

TEST_F(SettingsFile, WhatIsSavedLoadsBackUnchanged) {
  SettingsRecord saved;
  saved.Say = {0, 1, -1, 2, 1, 0, 1, kMin, 1, kMax};
  saved.Speak = {0, 0, 1, -1, 0, 7, 0, 1, 0, 0};
  for (int rule = 0; rule < kRuleCount; ++rule)
    saved.SFX[rule] = "C:\\Sounds " + std::to_string(rule) +
                      "\\Gl\xf6"
                      "ck:chen.wav";
  saved.Hour12 = 0, saved.Hour24 = 1, saved.ConfirmAlarm = -1, saved.AutomaticStartup = 1;
  saved.Alarm1time = "0:05", saved.Alarm2time = "7:5";
  Settings = saved;
  SaveSettings();
  Settings = {};
  LoadSettings();
  ExpectSame(Settings, saved, "round trip");
}

TEST_F(SettingsFile, LoadKeepsTheDefaultsWhenThereIsNoReadableFile) {
  const struct {
    const char* what;
    void (*make)(const std::string& path);
  } cases[] = {
      {"missing", [](const std::string&) {}},
      {"folder", [](const std::string& path) { std::filesystem::create_directory(path); }},
      // An ordinary file by every test, yet reading it fails (also for root).
      {"unreadable", [](const std::string& path) { ::symlink("/proc/self/mem", path.c_str()); }},
  };
  for (const auto& c : cases) {
    fake::Reset();
    c.make(SettingsPath());
    Settings.Say.fill(5);
    LoadSettings();
    ExpectSame(Settings, DefaultSettings(), c.what);
  }
}

TEST_F(SettingsFile, SavingIntoAMissingFolderLeavesNothingBehind) {
  const std::string folder = fake::ProgramFolderPath();
  fake::SetProgramFolder(folder + "missing/");
  Settings = DefaultSettings();
  SaveSettings();
  EXPECT_TRUE(std::filesystem::is_empty(folder));
}

TEST_F(SettingsFile, AFailedSaveKeepsTheOldFileWholeAndTheNextSaveSucceeds) {
  const std::string old_text = "SayAscending: 0\r\nAlarm1time: 6:30\r\n";
  test_files::Write(SettingsPath(), old_text);
  Settings = DefaultSettings();
  {
    test_files::FileSizeLimit limit(10);
    SaveSettings();
  }
  EXPECT_EQ(test_files::Read(SettingsPath()), old_text);
  EXPECT_EQ(test_files::Entries(fake::ProgramFolderPath()),
            std::vector<std::string>{"quorvel.ini"});
  SaveSettings();
  EXPECT_EQ(test_files::Read(SettingsPath()), SettingsFileText(DefaultSettings()));
}

}  // namespace
