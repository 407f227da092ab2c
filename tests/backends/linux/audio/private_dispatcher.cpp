#include "private_dispatcher.h"

#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

std::string Module(const std::string& folder, const std::string& name, double seconds) {
  // sd_generic runs this through the shell; "\\n" is its way to a newline.
  std::ostringstream text;
  text << "GenericExecuteSynth \"printf '%s %s %s\\\\n' $VOICE $RATE \\\"$DATA\\\" >> " << folder
       << "/" << name << ".txt; sleep " << seconds << "\"\n"
       << "GenericLanguage \"en\" \"en\" \"utf-8\"\n"
       << "AddVoice \"en\" \"MALE1\" \"male-voice\"\n"
       << "AddVoice \"en\" \"FEMALE1\" \"female-voice\"\n";
  return text.str();
}

bool Gone(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string number, name, state;
  return !(stat >> number >> name >> state) || state == "Z";
}

}  // namespace

PrivateDispatcher::PrivateDispatcher(const Setup& setup) {
  char name[] = "/tmp/quorvel-speechd-XXXXXX";
  folder_ = mkdtemp(name);
  const std::string config = folder_ + "/config/speech-dispatcher";
  std::filesystem::create_directories(config + "/modules");
  std::filesystem::create_directories(folder_ + "/home");
  std::filesystem::create_directories(folder_ + "/run");
  Configure(setup.user_lines);
  WriteFile(config + "/modules/rec.conf", Module(folder_, "rec", setup.seconds_per_text));
  WriteFile(config + "/modules/own.conf", Module(folder_, "own", setup.seconds_per_text));
  const std::pair<const char*, std::string> environment[] = {
      {"HOME", folder_ + "/home"},
      {"XDG_CONFIG_HOME", folder_ + "/config"},
      {"XDG_RUNTIME_DIR", folder_ + "/run"},
      // The library keeps the first runtime folder it saw for the whole
      // process; the address is read at each connection.
      {"SPEECHD_ADDRESS", "unix_socket:" + folder_ + "/run/speech-dispatcher/speechd.sock"}};
  for (const auto& [variable, value] : environment) {
    const char* old = getenv(variable);
    saved_environment_.emplace_back(variable, old == nullptr ? "" : old);
    setenv(variable, value.c_str(), 1);
  }
}

PrivateDispatcher::~PrivateDispatcher() {
  Stop(SIGTERM);
  for (const auto& [variable, value] : saved_environment_) {
    if (value.empty())
      unsetenv(variable.c_str());
    else
      setenv(variable.c_str(), value.c_str(), 1);
  }
  std::filesystem::remove_all(folder_);
}

void PrivateDispatcher::Configure(const std::string& user_lines) {
  WriteFile(folder_ + "/config/speech-dispatcher/speechd.conf",
            "AudioOutputMethod \"alsa\"\nAudioALSADevice \"null\"\n"
            "AddModule \"rec\" \"sd_generic\" \"rec.conf\"\n"
            "AddModule \"own\" \"sd_generic\" \"own.conf\"\n"
            "DefaultModule rec\n" +
                user_lines + "\n");
}

std::string PrivateDispatcher::SpokenFile(const std::string& module) const {
  return folder_ + "/" + module + ".txt";
}

std::vector<std::string> PrivateDispatcher::Spoken(const std::string& module) const {
  std::vector<std::string> lines;
  std::ifstream file(SpokenFile(module));
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

pid_t PrivateDispatcher::Daemon() const {
  pid_t pid = 0;
  std::ifstream(folder_ + "/run/speech-dispatcher/pid/speech-dispatcher.pid") >> pid;
  return pid > 0 && !Gone(pid) ? pid : 0;
}

void PrivateDispatcher::Kill() { Stop(SIGKILL); }

void PrivateDispatcher::Stop(int signal) {
  const pid_t daemon = Daemon();
  if (daemon == 0) return;
  kill(daemon, signal);
  for (int polls = 0; !Gone(daemon); ++polls) {
    if (polls == 250) kill(daemon, SIGKILL);  // 5 s
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}
