// Where the settings live: beside a portable copy, else in the user's
// configuration folder; never in a folder that someone else may write.
#include "backends/linux/settings_folder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <grp.h>
#include <pwd.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>

namespace {

using linux_files::ChooseSettingsFolder;
using platform::SaveResult;
namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

std::string MakeTemporaryFolder(const char* name) {
  std::string pattern = std::string("/tmp/") + name + "-XXXXXX";
  return std::string(::mkdtemp(pattern.data())) + "/";
}

std::string DatabaseHome() {
  const passwd* entry = ::getpwuid(::geteuid());
  return entry != nullptr ? entry->pw_dir : "";
}

constexpr gid_t kUsersGroup = 100;  // "users", shared by everyone useradd makes without a group

gid_t PrimaryGroup() { return ::getpwuid(::geteuid())->pw_gid; }

// Whether useradd's rule holds for root here, as on Debian: a group named
// root, listing nobody, no other user's primary group. The rows that give
// a folder root's group need it, and need root.
bool RootsGroupIsRootsAlone() {
  if (::geteuid() != 0) return false;
  const group* root = ::getgrgid(0);
  if (root == nullptr || std::string(root->gr_name) != "root" || root->gr_mem[0] != nullptr)
    return false;
  bool alone = true;
  ::setpwent();
  while (const passwd* entry = ::getpwent())
    alone = alone && (entry->pw_gid != 0 || entry->pw_uid == 0);
  ::endpwent();
  return alone;
}

// Lets `uid` write into `folder` through an access list (the mode's group
// bits then show the list's mask: 0775).
void LetWrite(const std::string& folder, uid_t uid) {
  struct Entry {
    std::uint16_t tag, permissions;
    std::uint32_t id;
  };
  constexpr std::uint32_t kAnyone = ~0u;
  const Entry entries[] = {{0x01, 7, kAnyone}, {0x02, 7, uid}, {0x04, 5, kAnyone},
                           {0x10, 7, kAnyone}, {0x20, 5, kAnyone}};
  std::string list = std::string("\x02\0\0\0", 4);
  list.append(reinterpret_cast<const char*>(entries), sizeof entries);
  ASSERT_EQ(::setxattr(folder.c_str(), "system.posix_acl_access", list.data(), list.size(), 0), 0);
}

TEST(SettingsFolder, AGroupIsTheUsersOwnOnlyWhenItCanHoldNobodyElse) {
  using linux_files::GroupMembers;
  const struct {
    const char* what;
    GroupMembers group;
    bool private_group;
  } cases[] = {
      {"useradd's own group", {"ana", {}, {}}, true},
      {"listing the user alone", {"ana", {"ana"}, {}}, true},
      {"another name", {"staff", {}, {}}, false},
      {"listing another user", {"ana", {"ana", "bo"}, {}}, false},
      {"another user's primary group too", {"ana", {}, {"bo"}}, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(linux_files::IsPrivateGroupOf("ana", c.group), c.private_group) << c.what;
}

TEST(SettingsFolder, APortableCopyKeepsItsSettingsBesideItElseTheConfigurationFolderDoes) {
  const std::string base = MakeTemporaryFolder("quorvel-portable");
  const std::string home = DatabaseHome() + "/.config/quorvel/";
  const struct {
    const char* what;
    std::string program;
    const char* xdg;
    const char* home;
    mode_t mode;  // given to the program folder when it is under `base`
    uid_t owner;
    gid_t group;
    std::string chosen;
  } cases[] = {
      {"portable", base + "own/", "/x/config", "/home/ana", 0755, ::geteuid(), PrimaryGroup(),
       base + "own/"},
      {"installed", "/usr/bin/", "/x/config", "/home/ana", 0, 0, 0, "/x/config/quorvel/"},
      {"installed, no XDG", "/opt/quorvel/", nullptr, "/home/ana", 0, 0, 0,
       "/home/ana/.config/quorvel/"},
      {"relative XDG", "/usr/local/bin/", "relative/path", "/home/ana/", 0, 0, 0,
       "/home/ana/.config/quorvel/"},
      {"gone", base + "gone/", "", "/home/ana", 0, 0, 0, "/home/ana/.config/quorvel/"},
      {"anyone may write", base + "shared/", nullptr, "/home/ana", 0777, ::geteuid(),
       PrimaryGroup(), "/home/ana/.config/quorvel/"},
      {"a shared group may write", base + "group/", nullptr, "/home/ana", 0775, ::geteuid(),
       kUsersGroup, "/home/ana/.config/quorvel/"},
      {"another user's", base + "theirs/", nullptr, "/home/ana", 0755, kNobody, kNobody,
       "/home/ana/.config/quorvel/"},
      {"/tmp", "/tmp/", nullptr, "/home/ana", 0, 0, 0, "/home/ana/.config/quorvel/"},
      {"no HOME", "", nullptr, nullptr, 0, 0, 0, home},
      {"relative HOME", "", nullptr, "ana", 0, 0, 0, home},
  };
  for (const auto& c : cases) {
    if (c.mode != 0) {
      fs::create_directory(c.program);
      ::chmod(c.program.c_str(), c.mode);
      if (::chown(c.program.c_str(), c.owner, c.group) != 0) {
        std::printf("[ SKIPPED  ] %s: giving a folder to another user or group needs root\n",
                    c.what);
        continue;
      }
    }
    EXPECT_EQ(ChooseSettingsFolder(c.program, c.xdg, c.home), c.chosen) << c.what;
  }
  fs::remove_all(base);
}

// A configuration folder that is there must be the user's own: a link or a
// folder someone else planted there is not used at all.
TEST(SettingsFolder, AConfigurationFolderThatIsNotTheUsersOwnIsNotUsed) {
  const struct {
    const char* what;
    void (*make)(const std::string& folder);
    SaveResult why;  // what is wrong with it; missing or kSaved: used
  } cases[] = {
      {"missing", [](const std::string&) {}, SaveResult::kFolderMissing},
      {"own", [](const std::string& f) { ::mkdir(f.c_str(), 0700); }, SaveResult::kSaved},
      {"a file", [](const std::string& f) { ::close(::creat(f.c_str(), 0600)); },
       SaveResult::kNotAFolder},
      {"a link to nowhere", [](const std::string& f) { ::symlink("gone", f.c_str()); },
       SaveResult::kNotAFolder},
      {"own link to an own folder",
       [](const std::string& f) {
         ::mkdir((f + "-real").c_str(), 0700);
         ::symlink((f + "-real").c_str(), f.c_str());
       },
       SaveResult::kSaved},
      {"anyone may write",
       [](const std::string& f) {
         ::mkdir(f.c_str(), 0777);
         ::chmod(f.c_str(), 0777);
       },
       SaveResult::kFolderShared},
      {"another user's folder",
       [](const std::string& f) {
         ::mkdir(f.c_str(), 0700);
         ::lchown(f.c_str(), kNobody, kNobody);
       },
       SaveResult::kFolderNotOwn},
      {"another user's link to an own folder",
       [](const std::string& f) {
         ::mkdir((f + "-real").c_str(), 0700);
         ::symlink((f + "-real").c_str(), f.c_str());
         ::lchown(f.c_str(), kNobody, kNobody);
       },
       SaveResult::kFolderNotOwn},
      // umask 002, as for a user of Debian's useradd
      {"root's group may write, root's group alone",
       [](const std::string& f) {
         ::mkdir(f.c_str(), 0775);
         ::chmod(f.c_str(), 0775);
       },
       SaveResult::kSaved},
      {"a shared group may write",
       [](const std::string& f) {
         ::mkdir(f.c_str(), 0775);
         ::chmod(f.c_str(), 0775);
         ::chown(f.c_str(), 0, kUsersGroup);
       },
       SaveResult::kFolderShared},
      {"root's group alone, an access list lets another user write",
       [](const std::string& f) {
         ::mkdir(f.c_str(), 0755);
         LetWrite(f, kNobody);
       },
       SaveResult::kFolderShared},
  };
  for (const auto& c : cases) {
    if (::geteuid() != 0 && std::string(c.what).find("another user") != std::string::npos) {
      std::printf("[ SKIPPED  ] %s: giving a file to another user needs root\n", c.what);
      continue;
    }
    if (std::string(c.what).find("root's group") != std::string::npos &&
        !RootsGroupIsRootsAlone()) {
      std::printf("[ SKIPPED  ] %s: needs root, and root's group root's alone\n", c.what);
      continue;
    }
    const std::string xdg = MakeTemporaryFolder("quorvel-xdg");
    c.make(xdg + "quorvel");
    const bool used = c.why == SaveResult::kSaved || c.why == SaveResult::kFolderMissing;
    EXPECT_EQ(ChooseSettingsFolder("", xdg.c_str(), nullptr), used ? xdg + "quorvel/" : "")
        << c.what;
    EXPECT_EQ(linux_files::FolderProblem(xdg + "quorvel/"), c.why) << c.what;
    fs::remove_all(xdg);
  }
}

TEST(SettingsFolder, TheConfigurationFolderIsMadePrivateAndOnlyInsideTheUsersOwn) {
  const std::string base = MakeTemporaryFolder("quorvel-make");
  ASSERT_TRUE(linux_files::MakePrivateFolder(base + "config/quorvel/"));
  for (const char* made : {"config", "config/quorvel"}) {
    struct stat info;
    ASSERT_EQ(::stat((base + made).c_str(), &info), 0) << made;
    EXPECT_EQ(info.st_mode & 07777, 0700u) << made;
  }
  if (::geteuid() == 0) {
    ::mkdir((base + "theirs").c_str(), 0755);
    ::chown((base + "theirs").c_str(), kNobody, kNobody);
    EXPECT_FALSE(linux_files::MakePrivateFolder(base + "theirs/quorvel/"));
    EXPECT_FALSE(fs::exists(base + "theirs/quorvel"));
  } else {
    std::printf("[ SKIPPED  ] a folder of another user's: making one needs root\n");
  }
  fs::remove_all(base);
}

TEST(SettingsFolder, AReadOnlyProgramFolderFallsBackToTheConfigurationFolder) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting a read-only folder needs root";
  char pattern[] = "/tmp/quorvel-readonly-XXXXXX";
  const std::string folder = ::mkdtemp(pattern);
  ASSERT_EQ(::mount("tmpfs", folder.c_str(), "tmpfs", MS_RDONLY, "size=64k,mode=0755"), 0);
  EXPECT_EQ(ChooseSettingsFolder(folder + "/", nullptr, "/home/ana"),
            "/home/ana/.config/quorvel/");
  ::umount(folder.c_str());
  ::rmdir(folder.c_str());
}

}  // namespace
