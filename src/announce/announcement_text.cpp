#include "announce/announcement_text.h"

#include <cstddef>
#include <string_view>

#include "rules/evaluate_rules.h"
#include "text/text_case.h"

namespace {

// The rules' marker is "ALARM! ": its first six letters, in any case, make an
// alarm, and the seventh character goes with them whatever it is.
const std::size_t kAlarmPrefixLength = std::string_view(kAlarmMarker).size();
const std::size_t kAlarmMarkerLength = kAlarmPrefixLength - 1;
const std::string kLowerMarker = LowerAscii(std::string_view(kAlarmMarker, kAlarmMarkerLength));
const std::size_t kMaxSoundPathLength = 255;

}  // namespace

Announcement ReadAnnouncement(const std::string& text) {
  Announcement announcement;
  announcement.alarm = LowerAscii(text.substr(0, kAlarmMarkerLength)) == kLowerMarker;
  if (!announcement.alarm)
    announcement.payload = text;
  else if (text.size() > kAlarmPrefixLength)
    announcement.payload = text.substr(kAlarmPrefixLength);
  return announcement;
}

std::string SoundFilePath(const std::string& payload) {
  return payload.substr(0, kMaxSoundPathLength);
}
