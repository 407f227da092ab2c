// The repeaters' life: StartSpokenAlarm starts one for each spoken alarm;
// it owns nothing but its text and keeps going until the alarm's box sets
// its ended flag (EndSpokenAlarm) or a repetition cannot start. The record
// of an alarm lives until both its box and its repeater are done with it.
// Nobody waits for a repeater at the program's end: it is left to stop with
// the process.
#include "announce/alarm_repeater.h"

#include <map>
#include <mutex>

#include "announce/speech.h"

namespace {

struct Alarm {
  std::string text;
  bool ended = false;     // its box was dismissed
  bool repeating = true;  // its repeater has not finished
};

struct Alarms {
  std::mutex lock;
  AlarmToken last = 0;
  std::map<AlarmToken, Alarm> by_token;
};
// Never destroyed: a repeater may still look at it while the process ends.
Alarms& alarms = *new Alarms;

// The repeater's look: the text to speak again, or nothing once its alarm
// was ended.
bool GoOn(AlarmToken token, std::string& text) {
  std::lock_guard<std::mutex> hold(alarms.lock);
  const Alarm& alarm = alarms.by_token.at(token);
  text = alarm.text;
  return !alarm.ended;
}

void RepeaterFinished(AlarmToken token) {
  std::lock_guard<std::mutex> hold(alarms.lock);
  Alarm& alarm = alarms.by_token.at(token);
  if (alarm.ended)
    alarms.by_token.erase(token);
  else
    alarm.repeating = false;  // its box is still up
}

// Thread body. The seam hands a thread one text: a repeater's is its
// alarm's token.
void AlarmRepeater(std::string token_text) {
  const AlarmToken token = std::stoul(token_text);
  std::string text;
  GoOn(token, text);
  // The first repetition is always tried: an alarm is heard at least once.
  do {
    if (SpeechBusyCount.load() == 0 && !StartSpeechTask(text)) break;
    platform::Sleep(150);
  } while (GoOn(token, text));
  RepeaterFinished(token);
}

}  // namespace

SpokenAlarm StartSpokenAlarm(const std::string& text) {
  SpokenAlarm started;
  {
    std::lock_guard<std::mutex> hold(alarms.lock);
    started.token = ++alarms.last;
    alarms.by_token[started.token] = Alarm{text};
  }
  started.repeater = platform::StartThread(AlarmRepeater, std::to_string(started.token));
  if (started.repeater == nullptr) RepeaterFinished(started.token);
  return started;
}

void EndSpokenAlarm(AlarmToken token) {
  std::lock_guard<std::mutex> hold(alarms.lock);
  const auto found = alarms.by_token.find(token);
  if (found == alarms.by_token.end()) return;
  if (found->second.repeating)
    found->second.ended = true;
  else
    alarms.by_token.erase(found);
}

bool AlarmRepeats(AlarmToken token) {
  std::lock_guard<std::mutex> hold(alarms.lock);
  const auto found = alarms.by_token.find(token);
  return found != alarms.by_token.end() && found->second.repeating;
}
