#include "settings/save_notice.h"

namespace {

bool told = false;

struct Reason {
  const char* text;
  bool passing;  // may be gone at the next change, which saves again
};

Reason ReasonFor(platform::SaveResult why) {
  using platform::SaveResult;
  switch (why) {
    case SaveResult::kSaved:
    case SaveResult::kNoFolder:
      break;
    case SaveResult::kFolderShared:
      return {"other users may write into its folder", false};
    case SaveResult::kFolderNotOwn:
      return {"its folder, or a link to it, belongs to another user", false};
    case SaveResult::kNotAFolder:
      return {"something that is not a folder has its folder's name", false};
    case SaveResult::kFolderMissing:
      return {"its folder does not exist", false};
    case SaveResult::kFolderRefused:
      return {"its folder may not be written into", false};
    case SaveResult::kWriteProtected:
      return {"the file is write-protected", false};
    case SaveResult::kNotAFile:
      return {"something that is not a file has its name", false};
    case SaveResult::kBrokenLink:
      return {"the file is a link that leads nowhere", false};
    case SaveResult::kLinkLoop:
      return {"the file is a link that leads round in a circle", false};
    case SaveResult::kInUse:
      return {"another program holds the file open", true};
    case SaveResult::kReadOnlyDisk:
      return {"its disk is read-only", false};
    case SaveResult::kDiskFull:
      return {"the disk is full", true};
    case SaveResult::kDiskError:
      return {"writing it failed", true};
  }
  return {"there is no folder for them", false};
}

void Tell(const std::string& path, const Reason& reason) {
  if (told) return;
  told = true;  // first: changes made while the box waits stay quiet
  const std::string where = path.empty() ? "" : " to " + path;
  platform::ShowStopBox("Quorvel cannot save your settings" + where + ": " + reason.text + ". " +
                            (reason.passing ? "It tries again at the next change."
                                            : "Changes last until Quorvel ends."),
                        "Quorvel");
}

}  // namespace

void ForgetSaveNotice() { told = false; }

void TellSettingsNotSaved(const std::string& path, platform::SaveResult why) {
  Tell(path, ReasonFor(why));
}

void TellUnreadSettingsNotReplaced(const std::string& path) {
  Tell(path, {"the file could not be read at start, and saving would replace it", false});
}
