// Answers to the command line go where a terminal or a launcher's log sees them.
#include <cstdio>
#include <string>

#include "platform/platform.h"

namespace platform {

void PrintAnswer(const std::string& text, bool error) {
  std::FILE* stream = error ? stderr : stdout;
  std::fputs(text.c_str(), stream);
  std::fflush(stream);
}

}  // namespace platform
