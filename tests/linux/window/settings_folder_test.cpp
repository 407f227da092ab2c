// Where the settings live: beside a portable copy, else in the user's
// configuration folder.
#include "platform/linux/settings_folder.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>

namespace {

using linux_files::ChooseSettingsFolder;

TEST(SettingsFolder, APortableCopyKeepsItsSettingsBesideItElseTheConfigurationFolderDoes) {
  char pattern[] = "/tmp/quorvel-portable-XXXXXX";
  const std::string portable = std::string(::mkdtemp(pattern)) + "/";
  const struct {
    std::string program;
    const char* xdg;
    const char* home;
    std::string chosen;
  } cases[] = {
      {portable, "/x/config", "/home/ana", portable},
      {"/usr/bin/", "/x/config", "/home/ana", "/x/config/quorvel/"},
      {"/opt/quorvel/", nullptr, "/home/ana", "/home/ana/.config/quorvel/"},
      {"/usr/local/bin/", "relative/path", "/home/ana/", "/home/ana/.config/quorvel/"},
      {portable + "gone/", "", "/home/ana", "/home/ana/.config/quorvel/"},
      {"", nullptr, nullptr, "/tmp/.config/quorvel/"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ChooseSettingsFolder(c.program, c.xdg, c.home), c.chosen) << c.program;
  std::filesystem::remove_all(portable);
}

TEST(SettingsFolder, AReadOnlyProgramFolderFallsBackToTheConfigurationFolder) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting a read-only folder needs root";
  char pattern[] = "/tmp/quorvel-readonly-XXXXXX";
  const std::string folder = ::mkdtemp(pattern);
  ASSERT_EQ(::mount("tmpfs", folder.c_str(), "tmpfs", MS_RDONLY, "size=64k"), 0);
  EXPECT_EQ(ChooseSettingsFolder(folder + "/", nullptr, "/home/ana"),
            "/home/ana/.config/quorvel/");
  ::umount(folder.c_str());
  ::rmdir(folder.c_str());
}

}  // namespace
