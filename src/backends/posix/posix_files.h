// The POSIX save, which each POSIX backend wraps in its own
// platform::ReplaceFileAtomically (the Linux program first makes its
// configuration folder; the fake saves as it is), and what the save and the
// start-up clean-up share.
#pragma once

#include <sys/stat.h>

#include <string>

#include "platform/platform.h"

namespace posix {

// Writes `bytes` to a locked temporary file in the folder of the file a save
// of `path` lands in (see SaveTarget), flushes it and renames it over that
// file. On failure the old file stays whole and the temporary file is gone.
platform::SaveResult ReplaceFileAtomically(const std::string& path, const std::string& bytes);

// Where a save of `path` lands: `path` itself, or, when it is a link, the
// file at the end of the link's chain, so that the link stays. Anything but
// kSaved when nothing may be written: a dangling link or a loop, something
// that is no regular file, or a file the user may not write (no write
// permission for anyone counts as write-protected, also for root).
platform::SaveResult SaveTarget(const std::string& path, std::string& target);
// What a failed system call's errno means for a save.
platform::SaveResult ResultOfError(int error);
// `path`, or the file its links end at; `path` itself when they lead nowhere.
std::string LinkEnd(const std::string& path);

std::string FolderOf(const std::string& path);
std::string LeafOf(const std::string& path);
// True for the names ReplaceFileAtomically gives the temporary files of a
// file named `leaf`: hidden, and marked as ours, so nobody else uses them.
bool IsTemporaryNameOf(const std::string& name, const std::string& leaf);
bool SameFile(const struct stat& a, const struct stat& b);
// Makes a rename durable: without this a power cut may bring back the old name.
void SyncFolder(const std::string& folder);
// Reads an open file to its end; false on a read error or beyond
// platform::kLargestReadableFile bytes (`bytes` is then empty).
bool ReadOpenFile(int fd, std::string& bytes);

}  // namespace posix
