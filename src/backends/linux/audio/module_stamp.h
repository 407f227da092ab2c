// What the program checks first in each of its modules' tables, before
// anything else is called: a module of another build (a package upgraded
// while the clock runs) may have another table.
#pragma once

#include <cstddef>

namespace linux_audio {

struct ModuleStamp {
  std::size_t size;  // of the whole table
  const char* version;
};

}  // namespace linux_audio
