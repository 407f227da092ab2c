// What the speech-dispatcher voice remembers about daemons that failed it, by
// address (SPEECHD_ADDRESS can name another one, which is then tried at once).
#pragma once

#include <string>

namespace dispatcher_voice {

// True when the daemon at `address` refused or did not answer within the last
// minute, or a call to it is still stuck: the next phrases go straight to
// espeak-ng.
bool FailedLately(const std::string& address);
void RememberFailure(const std::string& address);
// A call to the daemon that was given up on, and its return at last.
void RememberStuckCall(const std::string& address);
void ForgetStuckCall(const std::string& address);

}  // namespace dispatcher_voice
