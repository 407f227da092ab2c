// The options Qt takes from the command line itself, as QGuiApplication,
// QApplication and the X11 platform read them: each with one dash or two,
// some with a value after them, three also as "-name=value".
#include <string>

#include "platform/platform.h"

namespace {

constexpr const char* kWithValue[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "geometry",
    "qwindowtitle", "title", "qwindowicon", "icon", "session", "display", "name", "visual",
    "style", "stylesheet", "qmljsdebugger"};
constexpr const char* kFlags[] = {"reverse", "testability", "widgetcount", "nograb", "dograb"};
constexpr const char* kAlsoWithEquals[] = {"style", "stylesheet", "qmljsdebugger"};

template <std::size_t count>
bool Listed(const char* const (&names)[count], const std::string& name) {
  for (const char* listed : names)
    if (name == listed) return true;
  return false;
}

}  // namespace

namespace platform {

int WindowSystemOptionSize(const std::string& argument) {
  if (argument.size() < 2 || argument[0] != '-') return 0;
  const std::string name = argument.substr(argument[1] == '-' ? 2 : 1);
  if (Listed(kWithValue, name)) return 2;
  if (Listed(kFlags, name)) return 1;
  const std::size_t equals = name.find('=');
  return equals != std::string::npos && Listed(kAlsoWithEquals, name.substr(0, equals)) ? 1 : 0;
}

}  // namespace platform
