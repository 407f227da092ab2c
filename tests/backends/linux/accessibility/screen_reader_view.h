// The real program as a screen reader meets it: started on the tests' X
// server and accessibility bus, read through AT-SPI (libatspi) and driven by
// the X server's own pointer and keys (XTest).
#pragma once

#include <atspi/atspi.h>
#include <sys/types.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace screen_reader {

struct Unref {
  void operator()(void* object) const { g_object_unref(object); }
};
using Accessible = std::unique_ptr<AtspiAccessible, Unref>;

// One AT-SPI event as a screen reader receives it.
struct Event {
  std::string type;    // "object:state-changed:visible"
  std::string source;  // the source's name
  int detail1 = 0;
  std::string text;  // any_data when it is a text
};

// Listens, for the whole test program, to the events the tests look at:
// registered before any program starts, which reads the listeners' kinds
// once as it starts.
void StartListening();
void StopListening();
// The events since the last ClearEvents.
const std::vector<Event>& Events();
void ClearEvents();
bool HasEvent(const Event& wanted);

// Runs the main loop that delivers AT-SPI events until `condition` holds or
// `seconds` pass; whether it held.
bool WaitFor(const std::function<bool()>& condition, double seconds = 5);

// The program in a fresh folder of its own, its clock at 12:40:00 local time
// as it starts (a time zone of its own), default settings.
class RunningProgram {
 public:
  RunningProgram();
  ~RunningProgram();
  bool Started() const { return frame_ != nullptr; }
  AtspiAccessible* Frame() const { return frame_.get(); }
  // The window's child with this accessible name, null when none.
  Accessible Named(const std::string& name) const;
  // The window holds the X keyboard focus, then `name` Qt's.
  bool Focus(const std::string& name);
  std::string Errors() const;

 private:
  std::string folder_;
  pid_t pid_ = -1;
  Accessible frame_;
};

std::string NameOf(AtspiAccessible* object);
std::string RoleOf(AtspiAccessible* object);
std::string DescriptionOf(AtspiAccessible* object);
bool HasState(AtspiAccessible* object, AtspiStateType state);

// Presses and releases the key with this X keysym name ("Up", "Home", "1").
void PressKey(const std::string& keysym);
// Moves the pointer onto the middle of `object`, or onto the window's top
// left corner.
void PointAt(AtspiAccessible* object);
void PointAtCorner(AtspiAccessible* frame);

}  // namespace screen_reader
