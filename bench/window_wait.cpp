// Starts a program and reports how long it took until a window of the given
// title was viewable on the X display: prints "PID MILLISECONDS" and leaves the
// program running for the caller to end.
//
//   window_wait TITLE TIMEOUT_SECONDS PROGRAM [ARGUMENT...]
//
// One X connection is opened before the program starts, and windows are
// checked as the server reports them being created, mapped or renamed (with a
// full tree scan every 20 ms as a net), so the time is the program's own, not
// the cost of starting a new `xdotool search` for every look: on a busy
// machine each such search takes some 100 ms, and its --sync mode waits
// longer still between looks.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

Display* display = nullptr;
Atom net_wm_name = None;
Atom utf8_string = None;

// Windows come and go while we look at them; a vanished one is not ours.
int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

double NowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// The title as a window manager would show it: _NET_WM_NAME, else WM_NAME.
std::string TitleOf(Window window) {
  std::string title;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, left = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, net_wm_name, 0, 1024, False, utf8_string, &type, &format,
                         &count, &left, &data) == Success &&
      data != nullptr && type == utf8_string && format == 8) {
    title.assign(reinterpret_cast<char*>(data), count);
    XFree(data);
    return title;
  }
  if (data != nullptr) XFree(data);
  char* name = nullptr;
  if (XFetchName(display, window, &name) && name != nullptr) {
    title = name;
    XFree(name);
  }
  return title;
}

// Viewable means mapped with all its ancestors, as `xdotool search
// --onlyvisible` takes it.
bool IsWanted(Window window, const std::string& wanted) {
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) return false;
  return attributes.map_state == IsViewable && TitleOf(window) == wanted;
}

bool ScanTree(Window parent, const std::string& wanted, int depth) {
  Window root_return, parent_return, *children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, parent, &root_return, &parent_return, &children, &count)) return false;
  bool found = false;
  for (unsigned int i = 0; i < count && !found; ++i)
    found = IsWanted(children[i], wanted) || (depth < 3 && ScanTree(children[i], wanted, depth + 1));
  if (children != nullptr) XFree(children);
  return found;
}

// Hears of a window's later renames and of mappings below it.
void Watch(Window window) {
  XSelectInput(display, window, PropertyChangeMask | SubstructureNotifyMask);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s TITLE TIMEOUT_SECONDS PROGRAM [ARGUMENT...]\n", argv[0]);
    return 2;
  }
  const std::string wanted = argv[1];
  const double timeout_ms = std::atof(argv[2]) * 1e3;
  display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "window_wait: cannot open the display\n");
    return 1;
  }
  XSetErrorHandler(IgnoreErrors);
  net_wm_name = XInternAtom(display, "_NET_WM_NAME", False);
  utf8_string = XInternAtom(display, "UTF8_STRING", False);
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  if (ScanTree(root, wanted, 0)) {
    std::fprintf(stderr, "window_wait: a window named \"%s\" is already shown\n", wanted.c_str());
    return 1;
  }
  XSync(display, False);

  const double start = NowMs();
  const pid_t child = fork();
  if (child < 0) return 1;
  if (child == 0) {
    close(ConnectionNumber(display));
    // Our standard output carries only the result: a caller reading it to its
    // end must not wait for the program too.
    dup2(STDERR_FILENO, STDOUT_FILENO);
    execvp(argv[3], argv + 3);
    std::perror("window_wait: exec");
    _exit(127);
  }

  double next_scan = start + 20;
  for (;;) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      Window window = None;
      if (event.type == CreateNotify) {
        window = event.xcreatewindow.window;
        Watch(window);
      } else if (event.type == MapNotify) {
        window = event.xmap.window;
      } else if (event.type == PropertyNotify) {
        window = event.xproperty.window;
      }
      if (window != None && IsWanted(window, wanted)) {
        std::printf("%d %.1f\n", static_cast<int>(child), NowMs() - start);
        return 0;
      }
    }
    const double now = NowMs();
    if (now >= next_scan) {
      // A window created before we watched it, or mapped below a parent we
      // do not watch.
      if (ScanTree(root, wanted, 0)) {
        std::printf("%d %.1f\n", static_cast<int>(child), NowMs() - start);
        return 0;
      }
      next_scan = now + 20;
    }
    int status = 0;
    if (waitpid(child, &status, WNOHANG) == child) {
      std::fprintf(stderr, "window_wait: %s ended before showing its window\n", argv[3]);
      return 1;
    }
    if (now - start > timeout_ms) {
      std::fprintf(stderr, "window_wait: no window named \"%s\" after %.0f s\n", wanted.c_str(),
                   timeout_ms / 1e3);
      kill(child, SIGTERM);
      return 1;
    }
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    poll(&connection, 1, 20);
  }
}
