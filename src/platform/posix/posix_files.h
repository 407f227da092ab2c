// The POSIX save, which each POSIX backend wraps in its own
// platform::ReplaceFileAtomically (the Linux program first makes its
// configuration folder; the fake saves as it is).
#pragma once

#include <string>

namespace posix {

// Writes `bytes` to a locked temporary file in the folder of `path`, flushes
// it and renames it over `path`. On failure the old file stays whole and the
// temporary file is gone.
bool ReplaceFileAtomically(const std::string& path, const std::string& bytes);

}  // namespace posix
