#include "backends/win32/voice_setup.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <fstream>

#include "announce/speech.h"
#include "backends/win32/program_session.h"

namespace wine_test {

namespace {

// As recording_voice.cpp answers to it.
const wchar_t kVoiceClass[] = L"{4B63E0AF-C94A-430D-8CDF-2131006FF6F4}";
// Wine 8 looks COM classes up in the machine's classes alone, not the
// user's; the test prefix is ours, so the program's ProgID is replaced there.
const wchar_t kProgIdKey[] = L"Software\\Classes\\SAPI.SpVoice";
const std::wstring kServerKey =
    std::wstring(L"Software\\Classes\\CLSID\\") + kVoiceClass + L"\\InprocServer32";

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::string LogPath() {
  char folder[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + "quorvel-voice.log";
}

void SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  const LSTATUS status = ::RegSetKeyValueW(
      HKEY_LOCAL_MACHINE, key.c_str(), name, REG_SZ, value.c_str(),
      static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  ASSERT_EQ(status, ERROR_SUCCESS) << "cannot register the voice";
}

class RecordingVoiceByDefault : public ::testing::Environment {
 public:
  void SetUp() override { UseVoice(VoiceSetup::kRecording); }
};

[[maybe_unused]] const auto* const kByDefault =
    ::testing::AddGlobalTestEnvironment(new RecordingVoiceByDefault);

}  // namespace

void UseVoice(VoiceSetup setup, int phrase_ms) {
  // Alarm repeaters and speech tasks outlive the program run that started
  // them; their late calls belong to no later test. A repeater ends within
  // 300 ms of its alarm's dismissal; its last task counts as busy to its end.
  ::Sleep(400);
  for (int waited = 0; SpeechBusyCount.load() != 0 && waited < 20000; waited += 10) ::Sleep(10);
  ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kProgIdKey);  // Wine's own CurVer goes too
  if (setup != VoiceSetup::kNoProgId) SetValue(std::wstring(kProgIdKey) + L"\\CLSID", nullptr, kVoiceClass);
  const std::string server = ProgramFolder() +
                             (setup == VoiceSetup::kMissingDll ? "missing_voice.dll"
                                                               : "recording_voice.dll");
  SetValue(kServerKey, nullptr, Wide(server));
  SetValue(kServerKey, L"ThreadingModel", L"Apartment");
  ::DeleteFileA(LogPath().c_str());
  ::SetEnvironmentVariableA("QUORVEL_VOICE_LOG", LogPath().c_str());
  ::SetEnvironmentVariableA("QUORVEL_VOICE_MS", std::to_string(phrase_ms).c_str());
}

std::vector<HeardCall> HeardCalls() {
  std::ifstream log(LogPath(), std::ios::binary);
  std::vector<HeardCall> calls;
  HeardCall heard;
  while (log >> heard.ms && log.get() == ' ' && std::getline(log, heard.call))
    calls.push_back(heard);
  return calls;
}

std::vector<std::string> SpokenTexts() {
  std::vector<std::string> texts;
  for (const HeardCall& heard : HeardCalls())
    if (heard.call.compare(0, 6, "Speak ") == 0) texts.push_back(heard.call.substr(6));
  return texts;
}

bool WaitToHearSpeech(size_t count, int timeout_ms) {
  for (int waited = 0;; waited += 10) {
    if (SpokenTexts().size() >= count) return true;
    if (waited >= timeout_ms) return false;
    ::Sleep(10);
  }
}

bool WaitToHear(const std::string& text) {
  for (int waited = 0; waited <= 5000; waited += 10) {
    for (const std::string& spoken : SpokenTexts())
      if (spoken == text) return true;
    ::Sleep(10);
  }
  return false;
}

}  // namespace wine_test
