// A connection to speech-dispatcher, the desktop's speech service, as the
// client "quorvel": the user's configuration chooses module, voice, language,
// rate and volume, and a screen reader's messages go first.
//
// No call here waits on the daemon for long: every library call runs on the
// connection's own thread, and a daemon that does not answer in time is given
// up (its thread left behind) and not tried again for a while.
#pragma once

#include <string>

namespace dispatcher_voice {

struct Connection;

// Connects, starting the daemon if the user's setup allows it. Null when it
// is not installed, cannot start, refuses, does not answer, or failed lately.
Connection* Connect();
// Queues `text` once the previous text is over. False when the daemon did not
// take it (it went away or stopped answering since the connection was made).
bool Speak(Connection* connection, const std::string& text);
// Returns when the daemon reports the text spoken or cancelled, or when it
// goes away; after a bound far above any phrase it cancels the text. False
// when the daemon stopped answering, so the text may never be heard.
bool WaitUntilDone(Connection* connection);
// Never waits: the connection's thread closes it.
void Disconnect(Connection* connection);

}  // namespace dispatcher_voice
