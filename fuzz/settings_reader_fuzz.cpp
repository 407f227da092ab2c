// Any bytes as quorvel.ini: reading must not crash, and what a save writes
// must read back as the very same settings and the very same bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "settings/settings_file.h"

namespace {

bool SameSettings(const SettingsRecord& a, const SettingsRecord& b) {
  return a.Say == b.Say && a.Speak == b.Speak && a.SFX == b.SFX && a.Hour12 == b.Hour12 &&
         a.Hour24 == b.Hour24 && a.ConfirmAlarm == b.ConfirmAlarm &&
         a.AutomaticStartup == b.AutomaticStartup && a.Alarm1time == b.Alarm1time &&
         a.Alarm2time == b.Alarm2time;
}

size_t CountOf(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string file(reinterpret_cast<const char*>(data), size);
  SettingsRecord first = DefaultSettings();
  ApplySettingsFileText(file, first);

  const std::string saved = SettingsFileText(first);
  // A value can never carry a CR or an LF, so a save is always exactly 36 lines.
  Require(CountOf(saved, "\r") == 36 && CountOf(saved, "\n") == 36 &&
              CountOf(saved, "\r\n") == 36,
          "a save writes 36 lines");
  Require(saved.size() >= 2 && saved.compare(saved.size() - 2, 2, "\r\n") == 0,
          "nothing follows the last line end");

  SettingsRecord second = DefaultSettings();
  ApplySettingsFileText(saved, second);
  Require(SameSettings(first, second), "a saved file reads back as the settings saved");
  Require(SettingsFileText(second) == saved, "saving again writes the same bytes");
  return 0;
}
