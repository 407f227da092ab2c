#include "announce/announcement_text.h"

#include <cstddef>

#include "text/text_case.h"

namespace {

const char kAlarmMarker[] = "alarm!";
const std::size_t kAlarmMarkerLength = sizeof kAlarmMarker - 1;
// The marker is followed by a blank, which goes with it.
const std::size_t kAlarmPrefixLength = kAlarmMarkerLength + 1;
const std::size_t kMaxSoundPathLength = 255;

}  // namespace

Announcement ReadAnnouncement(const std::string& text) {
  Announcement announcement;
  announcement.alarm = LowerAscii(text.substr(0, kAlarmMarkerLength)) == kAlarmMarker;
  if (!announcement.alarm)
    announcement.payload = text;
  else if (text.size() > kAlarmPrefixLength)
    announcement.payload = text.substr(kAlarmPrefixLength);
  return announcement;
}

std::string SoundFilePath(const std::string& payload) {
  return payload.substr(0, kMaxSoundPathLength);
}
