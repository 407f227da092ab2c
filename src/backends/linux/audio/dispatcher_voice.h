// A connection to speech-dispatcher, the desktop's speech service, as the
// client "quorvel": the user's configuration chooses module, voice, language,
// rate and volume, and a screen reader's messages go first.
#pragma once

#include <string>

namespace dispatcher_voice {

struct Connection;

// Connects, starting the daemon if the user's setup allows it. Null when it
// is not installed, cannot start or refuses.
Connection* Connect();
// Queues `text` once the previous text is over. False when the daemon did not
// take it (it went away since the connection was made).
bool Speak(Connection* connection, const std::string& text);
// Returns when the daemon reports the text spoken or cancelled, or when the
// daemon goes away; never waits longer than a bound far above any phrase.
void WaitUntilDone(Connection* connection);
void Disconnect(Connection* connection);

}  // namespace dispatcher_voice
