// Reading an announcement text: alarm or not, and what it carries.
#pragma once

#include <string>

struct Announcement {
  bool alarm = false;
  // What is left once the alarm marker is gone: a sound file path or a
  // phrase; empty when there is nothing to announce.
  std::string payload;
};

// An alarm starts with "alarm!" in any letter case; the marker and the one
// character after it are not part of the payload.
Announcement ReadAnnouncement(const std::string& text);

// The part of a sound payload handed to the sound player: at most 255
// characters, the most a Windows path may hold.
std::string SoundFilePath(const std::string& payload);
