#include "window/choose_sound.h"

#include <algorithm>
#include <string>

#include "announce/sound_task.h"
#include "platform/control_ids.h"
#include "platform/platform.h"
#include "settings/settings_file.h"
#include "settings/show_settings.h"
#include "text/blanks.h"
#include "text/text_case.h"

namespace {

// The sound player takes at most this many characters of a path.
constexpr size_t kSoundPathLimit = 255;

bool IsExistingFile(const std::string& path) {
  return !path.empty() && platform::IsOrdinaryFile(path);
}

// A line break or an end-of-file byte kept in the settings file would split
// it or end it early; no control byte belongs in a path worth keeping.
bool HasControlBytes(const std::string& path) {
  return std::any_of(path.begin(), path.end(),
                     [](char byte) { return static_cast<unsigned char>(byte) < 32; });
}

}  // namespace

void ChooseSound(Rule rule) {
  const platform::OpenFileRequest request{
      "Please select a sound effect", platform::SoundFolder(), "WAV files (*.wav)", "*.wav", "wav"};
  std::string path(TrimBlanks(platform::ChooseOpenFile(request)));

  if (IsExistingFile(path) && (!ContainsWav(path) || HasControlBytes(path))) {
    platform::ShowStopBox(
        "Sorry, I'm a bit stupid and only know how to play old-fashioned WAV files.", "Error");
    path.clear();
  }
  if (!IsExistingFile(path)) return;

  const RuleRow& row = kRuleRows[rule];
  StartSoundTask(path.substr(0, kSoundPathLimit));
  Settings.SFX[rule] = path;
  platform::CheckRadioPair(row.speak_radio, row.sfx_radio, row.sfx_radio);
  Settings.Speak[rule] = 0;
  platform::SetControlText(row.sound_box, SoundDisplayName(path));
  SaveSettings();
}
