#include "announce/announcer.h"

#include "announce/alarm_repeater.h"
#include "announce/announcement_text.h"
#include "announce/sound_task.h"
#include "announce/speech.h"
#include "announce/started_thread.h"
#include "platform/platform.h"
#include "text/text_case.h"

namespace {

void ShowAlarmBox() {
  platform::ShowStopBox("Your alarm is going off! Are you ready?", "It's time!");
}

void PlaySoundEffect(const std::string& path, bool alarm) {
  if (!alarm) {
    StartSoundTask(path);
    return;
  }
  platform::PlaySoundLoop(path);
  ShowAlarmBox();
  platform::StopSound();
}

void RaiseSpokenAlarm(const std::string& phrase) {
  const SpokenAlarm alarm = StartSpokenAlarm("Alarm! " + phrase);
  // The user must still confirm an alarm that could not be spoken.
  ShowAlarmBox();
  EndSpokenAlarm(alarm.token);
  if (alarm.repeater != nullptr) LetStartedThreadRun(alarm.repeater);
}

}  // namespace

void Announce(const std::string& text) {
  const Announcement announcement = ReadAnnouncement(text);
  if (announcement.payload.empty()) return;
  if (ContainsWav(announcement.payload))
    PlaySoundEffect(SoundFilePath(announcement.payload), announcement.alarm);
  else if (announcement.alarm)
    RaiseSpokenAlarm(announcement.payload);
  else
    StartSpeechTask(announcement.payload);
}
