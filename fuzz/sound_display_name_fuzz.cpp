// The short name a sound box shows, for any path.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "settings/show_settings.h"

namespace {

// True when `part` can be had from `whole` by deleting characters.
bool IsSubsequence(const std::string& part, const std::string& whole) {
  size_t at = 0;
  for (char c : whole)
    if (at < part.size() && part[at] == c) ++at;
  return at == part.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path(reinterpret_cast<const char*>(data), size);
  const std::string shown = SoundDisplayName(path);
  // "/" counts as a folder separator too, as it does for Windows itself.
  const size_t slash = path.find_last_of("\\/");
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);

  Require(shown.find_first_of("\\/") == std::string::npos, "no folder is shown");
  Require(IsSubsequence(shown, name), "the name only loses characters");
  if (name.find(".wav") == std::string::npos && name.find(".WAV") == std::string::npos)
    Require(shown == name, "a name without .wav or .WAV is shown whole");
  // Every removal takes four bytes.
  Require((name.size() - shown.size()) % 4 == 0, "only whole extensions are removed");
  Require(SoundDisplayName(path) == shown, "the same path, the same name");
  return 0;
}
