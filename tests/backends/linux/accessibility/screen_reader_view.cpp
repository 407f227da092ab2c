#include "backends/linux/accessibility/screen_reader_view.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/program_copy.h"

extern char** environ;

namespace screen_reader {

namespace {

namespace fs = std::filesystem;

const char* const kListenedKinds[] = {
    "object:state-changed:visible", "object:state-changed:showing",
    "object:state-changed:checked", "object:state-changed:focused",
    "object:property-change:accessible-description", "object:property-change:accessible-value"};

struct Listening {
  AtspiEventListener* listener = nullptr;
  std::vector<Event> events;
};

Listening listening;

void Record(AtspiEvent* event, void*) {
  Event seen;
  seen.type = event->type != nullptr ? event->type : "";
  seen.source = NameOf(event->source);
  seen.detail1 = event->detail1;
  if (G_VALUE_HOLDS_STRING(&event->any_data) && g_value_get_string(&event->any_data) != nullptr)
    seen.text = g_value_get_string(&event->any_data);
  listening.events.push_back(seen);
  g_boxed_free(ATSPI_TYPE_EVENT, event);
}

Display* XServer() {
  static Display* const server = XOpenDisplay(nullptr);
  return server;
}

// A zone whose clock reads 12:40:00 now.
std::string ZoneAtTwelveForty() {
  const long utc = static_cast<long>(std::time(nullptr) % 86400);
  long ahead = ((12 * 3600 + 40 * 60 - utc) % 86400 + 86400) % 86400;
  if (ahead > 43200) ahead -= 86400;
  const long size = ahead < 0 ? -ahead : ahead;
  std::ostringstream zone;
  // POSIX zones count west of UTC as positive.
  zone << "QRV" << (ahead < 0 ? "+" : "-") << size / 3600 << ":" << size / 60 % 60 << ":"
       << size % 60;
  return zone.str();
}

pid_t Spawn(const std::string& folder) {
  std::vector<std::string> environment;
  for (char** variable = environ; *variable != nullptr; ++variable) {
    const std::string entry = *variable;
    const std::string key = entry.substr(0, entry.find('='));
    if (key != "TZ" && key != "HOME" && key != "XDG_RUNTIME_DIR" && key != "WAYLAND_DISPLAY" &&
        key != "QT_QPA_PLATFORM")
      environment.push_back(entry);
  }
  fs::create_directory(folder + "/home");
  fs::create_directory(folder + "/run");
  fs::permissions(folder + "/run", fs::perms::owner_all);
  environment.push_back("TZ=" + ZoneAtTwelveForty());
  environment.push_back("HOME=" + folder + "/home");
  environment.push_back("XDG_RUNTIME_DIR=" + folder + "/run");
  environment.push_back("QT_QPA_PLATFORM=xcb");
  std::vector<char*> envp;
  for (std::string& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);
  std::string program = folder + "/quorvel";
  char* argv[] = {program.data(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, (folder + "/errors.txt").c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv, envp.data()) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

Accessible ApplicationOf(pid_t pid) {
  AtspiAccessible* desktop = atspi_get_desktop(0);
  Accessible found;
  const int count = atspi_accessible_get_child_count(desktop, nullptr);
  for (int i = 0; i < count && !found; ++i) {
    Accessible application(atspi_accessible_get_child_at_index(desktop, i, nullptr));
    if (application && static_cast<pid_t>(atspi_accessible_get_process_id(application.get(), nullptr)) == pid)
      found = std::move(application);
  }
  g_object_unref(desktop);
  return found;
}

// The program's mapped top-level window: Qt marks its windows with the pid.
Window WindowOf(pid_t pid) {
  Display* server = XServer();
  const Atom pid_atom = XInternAtom(server, "_NET_WM_PID", False);
  Window root = 0, parent = 0, *children = nullptr, found = 0;
  unsigned count = 0;
  XQueryTree(server, DefaultRootWindow(server), &root, &parent, &children, &count);
  for (unsigned i = 0; i < count && found == 0; ++i) {
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, left = 0;
    unsigned char* value = nullptr;
    XWindowAttributes attributes;
    if (XGetWindowAttributes(server, children[i], &attributes) && attributes.map_state == IsViewable &&
        XGetWindowProperty(server, children[i], pid_atom, 0, 1, False, XA_CARDINAL, &type, &format,
                           &items, &left, &value) == Success &&
        value != nullptr && items == 1 && *reinterpret_cast<unsigned long*>(value) == static_cast<unsigned long>(pid))
      found = children[i];
    if (value != nullptr) XFree(value);
  }
  if (children != nullptr) XFree(children);
  return found;
}

}  // namespace

void StartListening() {
  listening.listener = atspi_event_listener_new(Record, nullptr, nullptr);
  for (const char* kind : kListenedKinds)
    atspi_event_listener_register(listening.listener, kind, nullptr);
}

void StopListening() {
  for (const char* kind : kListenedKinds)
    atspi_event_listener_deregister(listening.listener, kind, nullptr);
  g_object_unref(listening.listener);
  listening.listener = nullptr;
}

const std::vector<Event>& Events() { return listening.events; }
void ClearEvents() { listening.events.clear(); }

bool HasEvent(const Event& wanted) {
  for (const Event& event : listening.events)
    if (event.type == wanted.type && event.source == wanted.source &&
        event.detail1 == wanted.detail1 && event.text == wanted.text)
      return true;
  return false;
}

bool WaitFor(const std::function<bool()>& condition, double seconds) {
  const auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::milliseconds(static_cast<int>(seconds * 1000));
  for (;;) {
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

RunningProgram::RunningProgram() {
  char name[] = "/tmp/quorvel-a11y-XXXXXX";
  folder_ = mkdtemp(name);
  test_program::CopyProgramInto(folder_);
  pid_ = Spawn(folder_);
  if (pid_ <= 0) return;
  Accessible application;
  WaitFor([&] { return (application = ApplicationOf(pid_)) != nullptr; }, 15);
  if (!application) return;
  Accessible frame(atspi_accessible_get_child_at_index(application.get(), 0, nullptr));
  if (frame && WaitFor([&] { return HasState(frame.get(), ATSPI_STATE_SHOWING); }, 10))
    frame_ = std::move(frame);
}

RunningProgram::~RunningProgram() {
  frame_.reset();
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    int status = 0;
    WaitFor([&] { return waitpid(pid_, &status, WNOHANG) == pid_; }, 5) ||
        (kill(pid_, SIGKILL) == 0 && waitpid(pid_, &status, 0) == pid_);
  }
  fs::remove_all(folder_);
}

Accessible RunningProgram::Named(const std::string& name) const {
  if (!frame_) return nullptr;
  const int count = atspi_accessible_get_child_count(frame_.get(), nullptr);
  for (int i = 0; i < count; ++i) {
    Accessible child(atspi_accessible_get_child_at_index(frame_.get(), i, nullptr));
    if (child && NameOf(child.get()) == name) return child;
  }
  return nullptr;
}

bool RunningProgram::Focus(const std::string& name) {
  if (!HasState(frame_.get(), ATSPI_STATE_ACTIVE)) {
    const Window window = WindowOf(pid_);
    if (window == 0) return false;
    XSetInputFocus(XServer(), window, RevertToPointerRoot, CurrentTime);
    XSync(XServer(), False);
    if (!WaitFor([&] { return HasState(frame_.get(), ATSPI_STATE_ACTIVE); })) return false;
  }
  const Accessible control = Named(name);
  if (!control) return false;
  atspi_component_grab_focus(ATSPI_COMPONENT(control.get()), nullptr);
  return WaitFor([&] { return HasState(control.get(), ATSPI_STATE_FOCUSED); });
}

std::string RunningProgram::Errors() const {
  std::ifstream file(folder_ + "/errors.txt");
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string NameOf(AtspiAccessible* object) {
  gchar* name = object != nullptr ? atspi_accessible_get_name(object, nullptr) : nullptr;
  const std::string text = name != nullptr ? name : "";
  g_free(name);
  return text;
}

std::string RoleOf(AtspiAccessible* object) {
  gchar* role = atspi_accessible_get_role_name(object, nullptr);
  const std::string text = role != nullptr ? role : "";
  g_free(role);
  return text;
}

std::string DescriptionOf(AtspiAccessible* object) {
  gchar* description = atspi_accessible_get_description(object, nullptr);
  const std::string text = description != nullptr ? description : "";
  g_free(description);
  return text;
}

bool HasState(AtspiAccessible* object, AtspiStateType state) {
  if (object == nullptr) return false;
  // Asked afresh: a cached set would lag behind the events.
  atspi_accessible_clear_cache(object);
  AtspiStateSet* states = atspi_accessible_get_state_set(object);
  const bool has = states != nullptr && atspi_state_set_contains(states, state);
  if (states != nullptr) g_object_unref(states);
  return has;
}

void PressKey(const std::string& keysym) {
  Display* server = XServer();
  const KeyCode key = XKeysymToKeycode(server, XStringToKeysym(keysym.c_str()));
  XTestFakeKeyEvent(server, key, True, CurrentTime);
  XTestFakeKeyEvent(server, key, False, CurrentTime);
  XSync(server, False);
}

namespace {

void PointerTo(int x, int y) {
  XTestFakeMotionEvent(XServer(), -1, x, y, CurrentTime);
  XSync(XServer(), False);
}

AtspiRect* ExtentsOf(AtspiAccessible* object) {
  return atspi_component_get_extents(ATSPI_COMPONENT(object), ATSPI_COORD_TYPE_SCREEN, nullptr);
}

}  // namespace

void PointAt(AtspiAccessible* object) {
  AtspiRect* box = ExtentsOf(object);
  if (box == nullptr) return;
  PointerTo(box->x + 8, box->y + box->height / 2);  // a check box takes its text and tick
  g_free(box);
}

void PointAtCorner(AtspiAccessible* frame) {
  AtspiRect* box = ExtentsOf(frame);
  if (box == nullptr) return;
  PointerTo(box->x + 3, box->y + 3);
  g_free(box);
}

}  // namespace screen_reader
