// Announce with any text, over the fake machine with instant waits and an
// alarm box the user dismisses at once. What reaches the sound player, the
// voice and the alarm box is checked against the rules for reading the text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "announce/announcer.h"
#include "announce/speech.h"
#include "fake/fake_platform.h"
#include "fuzz_check.h"

namespace {

std::string AsciiLower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

struct Expected {
  bool alarm;
  std::string payload;
  bool sound;
};

Expected Classify(const std::string& text) {
  Expected e{};
  e.alarm = text.size() >= 6 && AsciiLower(text.substr(0, 6)) == "alarm!";
  e.payload = !e.alarm ? text : text.size() > 7 ? text.substr(7) : "";
  e.sound = AsciiLower(e.payload).find(".wav") != std::string::npos;
  return e;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

// The calls that show what was announced; thread and voice housekeeping
// is left out.
std::vector<std::string> AnnouncingCalls() {
  std::vector<std::string> kept;
  for (const std::string& call : fake::Calls())
    if (StartsWith(call, "PlaySound") || StartsWith(call, "StopSound") ||
        StartsWith(call, "ShowStopBox") || StartsWith(call, "Speak "))
      kept.push_back(call);
  return kept;
}

const std::string kBox = "ShowStopBox It's time!|Your alarm is going off! Are you ready?";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fake::Reset();
  fake::SetSleepScale(0);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  fake::ClearCalls();
  Announce(text);
  fake::JoinThreads();
  Require(SpeechBusyCount == 0, "every finished utterance leaves the busy count");

  const Expected e = Classify(text);
  const std::vector<std::string> calls = AnnouncingCalls();
  if (e.payload.empty()) {
    Require(calls.empty(), "an empty payload announces nothing");
    return 0;
  }
  if (e.sound) {
    const std::string path = e.payload.substr(0, 255);
    const std::vector<std::string> wanted =
        e.alarm ? std::vector<std::string>{"PlaySoundLoop " + path, kBox, "StopSound"}
                : std::vector<std::string>{"PlaySoundSync " + path};
    Require(calls == wanted, "a sound file is played, at most 255 bytes of its path");
    return 0;
  }
  if (!e.alarm) {
    Require(calls == std::vector<std::string>{"Speak " + e.payload}, "a phrase is spoken once");
    return 0;
  }
  size_t boxes = 0, utterances = 0;
  for (const std::string& call : calls) {
    if (call == kBox) ++boxes;
    else if (call == "Speak Alarm! " + e.payload) ++utterances;
    else Require(false, "a spoken alarm only speaks its phrase and shows its box");
  }
  Require(boxes == 1 && utterances >= 1, "a spoken alarm shows one box and speaks at least once");
  return 0;
}
