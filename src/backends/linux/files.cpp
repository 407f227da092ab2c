// The Linux program's folders, and its save.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "backends/linux/settings_folder.h"
#include "platform/platform.h"
#include "backends/posix/posix_files.h"

namespace platform {

namespace {

namespace fs = std::filesystem;

std::string ProgramFolder() {
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  return error ? std::string() : program.parent_path().string() + "/";
}

}  // namespace

// Decided once: the folder must not change under a running program.
std::string SettingsFolder() {
  static const std::string folder = linux_files::ChooseSettingsFolder(
      ProgramFolder(), std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
  return folder;
}

RefusedFolder WhyNoSettingsFolder() {
  const std::string configuration =
      linux_files::ConfigurationFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
  if (configuration.empty()) return {"", SaveResult::kNoFolder};
  // The folder was refused at start-up; should it have become fit since,
  // it is still not used in this run.
  const SaveResult problem = linux_files::FolderProblem(configuration);
  return {configuration, problem == SaveResult::kSaved ? SaveResult::kFolderRefused : problem};
}

std::string SoundFolder() {
  std::error_code error;
  if (fs::is_directory("/usr/share/sounds", error)) return "/usr/share/sounds/";
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr && home[0] == '/' ? home : "") + "/";
}

// The configuration folder is made, private to the user, when the first save
// needs it, and checked again before each save; a program's own folder is
// never made.
SaveResult ReplaceFileAtomically(const std::string& path, const std::string& bytes) {
  const std::string folder = SettingsFolder();
  if (path.compare(0, folder.size(), folder) == 0 &&
      linux_files::IsConfigurationFolder(folder, std::getenv("XDG_CONFIG_HOME"),
                                         std::getenv("HOME")) &&
      !linux_files::MakePrivateFolder(folder)) {
    const SaveResult problem = linux_files::FolderProblem(folder);
    return problem == SaveResult::kSaved || problem == SaveResult::kFolderMissing
               ? SaveResult::kFolderRefused
               : problem;
  }
  return posix::ReplaceFileAtomically(path, bytes);
}

}  // namespace platform
