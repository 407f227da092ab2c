#include "window/say_time.h"

#include <string>

#include "platform/platform.h"
#include "rules/alarm_rules.h"
#include "rules/clock_digits.h"
#include "rules/local_time.h"
#include "settings/settings_file.h"

std::string TimePhrase(const std::string& hh_mm, const SettingsRecord& settings) {
  const ClockDigits digits = ClockDigitsFromText(hh_mm).value_or(ClockDigits{0, 0, 0, 0});
  return AlarmWords(digits, settings.Hour12 == 1);
}

namespace {

// What the window would read at its start, without the start-up's clean-up:
// a command run from a shortcut must leave the settings folder as it is.
SettingsRecord UsersSettings() {
  SettingsRecord settings = DefaultSettings();
  if (platform::SettingsFolder().empty()) return settings;
  const std::string path = SettingsPath();
  std::string bytes;
  if (platform::IsOrdinaryFile(path) && platform::ReadWholeFile(path, bytes))
    ApplySettingsFileText(bytes, settings);
  return settings;
}

}  // namespace

bool SayTimeNow() {
  const std::string phrase = TimePhrase(LocalTimeText(), UsersSettings());
  platform::EnterSpeechThread();
  platform::Voice* voice = platform::CreateVoice();
  if (voice != nullptr) {
    platform::Speak(voice, phrase);
    platform::WaitUntilDone(voice);
    platform::ReleaseVoice(voice);
  }
  platform::LeaveSpeechThread();
  return voice != nullptr;
}
