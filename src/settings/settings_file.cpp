#include "settings/settings_file.h"

#include <string_view>
#include <type_traits>

#include "platform/platform.h"
#include "settings/save_notice.h"
#include "settings/settings_keys.h"
#include "text/blanks.h"
#include "text/number_text.h"
#include "text/text_case.h"

namespace {

constexpr char kCtrlZ = 26;  // old editors' end-of-file mark: nothing after it counts

// The settings file that this run found but could not read: saving over it
// would replace settings the user never saw with the defaults.
std::string unreadable_settings_file;

template <typename Field>
constexpr bool kIsText = std::is_same_v<std::decay_t<Field>, std::string>;

// The keys are plain ASCII, so ASCII lower-casing finds every one of them.
bool IsKey(std::string_view key, std::string_view name) {
  return key.size() == name.size() && LowerAscii(key) == LowerAscii(name);
}

void ApplyLine(std::string_view line, SettingsRecord& settings) {
  // Only the first colon splits, so "C:\x.wav" and "7:00" keep theirs. A line
  // without one is both key and value.
  const size_t colon = line.find(':');
  const std::string_view key = TrimBlanks(line.substr(0, colon));
  const std::string_view value =
      TrimBlanks(colon == std::string_view::npos ? line : line.substr(colon + 1));
  if (value.empty()) return;
  ForEachSetting(settings, [&](const char* name, auto& field) {
    if (!IsKey(key, name)) return;
    if constexpr (kIsText<decltype(field)>) {
      field = std::string(value);
    } else {
      field = IntegerFromText(value);
    }
  });
}

}  // namespace

SettingsRecord DefaultSettings() {
  SettingsRecord defaults;
  defaults.Say = {1, 1, 1, 1, 0, 0, 0, 0, 0, 0};
  defaults.Speak.fill(1);
  defaults.Hour12 = 1;
  defaults.Hour24 = 0;
  defaults.ConfirmAlarm = 1;
  defaults.AutomaticStartup = 0;
  defaults.Alarm1time = "7:00";
  defaults.Alarm2time = "9:00";
  return defaults;
}

std::string SettingsFileText(const SettingsRecord& settings) {
  std::string text;
  ForEachSetting(settings, [&text](const char* name, const auto& field) {
    text += name;
    text += ": ";
    if constexpr (kIsText<decltype(field)>) {
      text += field;
    } else {
      text += NumberToText(field);
    }
    text += "\r\n";
  });
  return text;
}

void ApplySettingsFileText(const std::string& bytes, SettingsRecord& settings) {
  const std::string_view data = bytes;
  size_t pos = 0;
  while (pos < data.size() && data[pos] != kCtrlZ) {
    // CR LF, CR alone and LF alone each end a line: a file edited on Linux or
    // checked out by git may have lost its CRs.
    size_t end = data.find_first_of("\r\n\x1a", pos);
    if (end == std::string_view::npos) end = data.size();
    ApplyLine(data.substr(pos, end - pos), settings);
    pos = end;
    if (pos < data.size() && data[pos] != kCtrlZ) pos += data.compare(pos, 2, "\r\n") == 0 ? 2 : 1;
  }
}

bool IsWholeSettingsFile(const std::string& bytes) {
  size_t pos = 0;
  bool whole = true;
  const SettingsRecord keys{};
  ForEachSetting(keys, [&](const char* name, const auto&) {
    const std::string prefix = std::string(name) + ": ";
    const size_t end = bytes.find_first_of("\r\x1a", pos);
    whole = whole && bytes.compare(pos, prefix.size(), prefix) == 0 && end != std::string::npos &&
            bytes.compare(end, 2, "\r\n") == 0;
    if (whole) pos = end + 2;
  });
  return whole && pos == bytes.size();
}

std::string SettingsPath() { return platform::SettingsFolder() + "quorvel.ini"; }

void LoadSettings() {
  Settings = DefaultSettings();
  unreadable_settings_file.clear();
  ForgetSaveNotice();
  if (platform::SettingsFolder().empty()) return;
  const std::string path = SettingsPath();
  // Only at start-up: a save killed half-way leaves its temporary file.
  platform::RemoveAbandonedSaves(path, IsWholeSettingsFile);
  if (!platform::IsOrdinaryFile(path)) return;
  std::string bytes;
  if (!platform::ReadWholeFile(path, bytes)) {
    unreadable_settings_file = path;
    return;
  }
  ApplySettingsFileText(bytes, Settings);
}

void SaveSettings() {
  if (platform::SettingsFolder().empty()) {
    const platform::RefusedFolder refused = platform::WhyNoSettingsFolder();
    TellSettingsNotSaved(refused.folder.empty() ? "" : refused.folder + "quorvel.ini", refused.why);
    return;
  }
  const std::string path = SettingsPath();
  if (path == unreadable_settings_file) {
    TellUnreadSettingsNotReplaced(path);
    return;
  }
  // A failed save leaves the last good file; the next change tries again.
  const platform::SaveResult result =
      platform::ReplaceFileAtomically(path, SettingsFileText(Settings));
  if (result == platform::SaveResult::kSaved)
    ForgetSaveNotice();
  else
    TellSettingsNotSaved(path, result);
}
