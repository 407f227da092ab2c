#include "settings/show_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "fake/fake_platform.h"
#include "platform/control_ids.h"
#include "settings/settings_file.h"

namespace {

class ShowSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::Reset();
    Settings = DefaultSettings();
  }
};

int CheckOf(int id) { return fake::Control(id).check; }

std::string PickerShows(int picker) {
  const fake::ControlState& state = fake::Control(picker);
  const std::string minute = std::to_string(state.picker_minute);
  return std::to_string(state.picker_hour) + ":" + (minute.size() < 2 ? "0" : "") + minute;
}

TEST_F(ShowSettingsTest, ShowsTheDefaults) {
  for (const RuleRow& row : kRuleRows) fake::Control(row.sound_box).text = "stale";
  ShowSettings();
  for (int rule = 0; rule < kRuleCount; ++rule) {
    const RuleRow& row = kRuleRows[rule];
    EXPECT_EQ(CheckOf(row.rule_box), rule < 4 ? 1 : 0) << rule;
    EXPECT_EQ(CheckOf(row.speak_radio), 1) << rule;
    EXPECT_EQ(CheckOf(row.sfx_radio), 0) << rule;
    EXPECT_EQ(fake::Control(row.sound_box).text, "") << rule;
  }
  EXPECT_EQ(CheckOf(Use12HourBox), 1);
  EXPECT_EQ(CheckOf(Use24HourBox), 0);
  EXPECT_EQ(CheckOf(ConfirmAlarmBox), 1);
  EXPECT_EQ(CheckOf(AutomaticStartupBox), 0);
  EXPECT_EQ(PickerShows(AlarmPicker1), "7:00");
  EXPECT_EQ(PickerShows(AlarmPicker2), "9:00");
  EXPECT_FALSE(std::filesystem::exists(SettingsPath()));
}

TEST_F(ShowSettingsTest, PicksEachRowsRadioAndSpeaksWithoutASound) {
  const struct {
    std::int32_t speak;
    const char* sound;
    bool sfx_checked;
    std::int32_t speak_after;
    const char* shown;
  } cases[] = {
      {0, "", false, 1, ""},
      {0, "C:\\Sounds\\bell.wav", true, 0, "bell"},
      {-1, "C:\\Sounds\\gong.WAV", false, -1, "gong"},
      {2, "", false, 1, ""},
  };
  for (const auto& c : cases) {
    for (int rule = 0; rule < kRuleCount; ++rule) {
      Settings.Speak[rule] = c.speak;
      Settings.SFX[rule] = c.sound;
      fake::Control(kRuleRows[rule].speak_radio).check = 1;
      fake::Control(kRuleRows[rule].sfx_radio).check = 1;
    }
    ShowSettings();
    for (int rule = 0; rule < kRuleCount; ++rule) {
      const RuleRow& row = kRuleRows[rule];
      EXPECT_EQ(CheckOf(row.sfx_radio), c.sfx_checked ? 1 : 0) << c.speak << c.sound;
      EXPECT_EQ(CheckOf(row.speak_radio), c.sfx_checked ? 0 : 1) << c.speak << c.sound;
      EXPECT_EQ(Settings.Speak[rule], c.speak_after) << c.speak << c.sound;
      EXPECT_EQ(fake::Control(row.sound_box).text, c.shown) << c.speak << c.sound;
    }
  }
}

TEST_F(ShowSettingsTest, EachBoxShowsItsOwnFlag) {
  Settings.Hour24 = 1;
  Settings.ConfirmAlarm = 0;
  Settings.AutomaticStartup = 1;
  Settings.Say[SayAscending] = 0;
  Settings.Say[SayAlarm2] = 1;
  ShowSettings();
  EXPECT_EQ(CheckOf(Use12HourBox), 1);
  EXPECT_EQ(CheckOf(Use24HourBox), 1);
  EXPECT_EQ(CheckOf(ConfirmAlarmBox), 0);
  EXPECT_EQ(CheckOf(AutomaticStartupBox), 1);
  EXPECT_EQ(CheckOf(kRuleRows[SayAscending].rule_box), 0);
  EXPECT_EQ(CheckOf(kRuleRows[SayAlarm2].rule_box), 1);
}

// Numbers are read as in the file and taken as 16-bit values; a text that
// gives no time of day shows the alarm's default time, and stays as read.
TEST_F(ShowSettingsTest, ReadsAlarmTimesLikeNumbersWithoutChangingThem) {
  const struct {
    const char* text;
    const char* shown;  // null: each picker's default
  } cases[] = {
      {"7:5", "7:05"},       {"19:30", "19:30"},     {"8", "8:00"},   {"6:15:40", "6:15"},
      {" 6 : 07", "6:07"},   {"1.5:2.5", "2:02"},    {"&H10:&H1E", "16:30"},
      {"abc:", "0:00"},      {"65543:65541", "7:05"}, {"7:60", nullptr}, {"24:00", nullptr},
      {"-1:00", nullptr},    {"70000:1", nullptr},   {"1e20:65536", nullptr},
      {"1:32768", nullptr},
  };
  for (const auto& c : cases) {
    Settings.Alarm1time = c.text;
    Settings.Alarm2time = c.text;
    ShowSettings();
    EXPECT_EQ(PickerShows(AlarmPicker1), c.shown ? c.shown : "7:00") << c.text;
    EXPECT_EQ(PickerShows(AlarmPicker2), c.shown ? c.shown : "9:00") << c.text;
    EXPECT_EQ(Settings.Alarm1time, c.text);
  }
}

TEST(SoundDisplayName, ShowsTheFileNameWithoutItsWavEnding) {
  const struct {
    const char* path;
    const char* shown;
  } cases[] = {
      {"C:\\Windows\\Media\\chimes.wav", "chimes"},
      {"D:\\Sounds\\Bell.WAV", "Bell"},
      {"D:\\Sounds\\Gong.Wav", "Gong.Wav"},
      {"D:\\Sounds\\two.wav.wav", "two"},
      {"", ""},
      {"C:\\Sounds\\", ""},
      {"/home/me/bell.wav", "bell"},
      {"C:\\a/b\\c/d.wav", "d"},
      {"plain.wav", "plain"},
      {"C:\\a.wav\\b.wav.txt", "b.txt"},
      {"C:\\a.w.WAVav", "a.wav"},  // .wav goes first, then .WAV
      {"C:\\a.w.wavav", "a.wav"},  // one pass: what the removal joins stays
  };
  for (const auto& c : cases) EXPECT_EQ(SoundDisplayName(c.path), c.shown) << c.path;
}

}  // namespace
