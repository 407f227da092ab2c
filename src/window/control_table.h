// The main window as data: every backend builds the same window from it.
#pragma once

#include <array>

enum class ControlKind {
  RuleCheckBox,
  PlainCheckBox,
  DisabledCheckBox,
  SpeakRadio,
  SfxRadio,
  SoundBox,
  BrowseButton,
  AlarmPicker,
  CaptionLabel,
  ClockLabel,
};

// Rectangles are in dialog units of the window's 8-point "MS Sans Serif".
struct ControlSpec {
  int id;
  ControlKind kind;
  const char* text;
  int x, y, width, height;
};

constexpr int kControlCount = 58;

// In creation order, which is also the tab order.
extern const std::array<ControlSpec, kControlCount> kControls;

// The table's text of control `id`, "" for an id that is no control.
const char* ControlText(int id);

struct Rgb {
  unsigned char red, green, blue;
};

struct WindowProperties {
  const char* title;
  int x, y, width, height;  // dialog units; x and y give way to centring
  const char* font_face;
  int font_points;
  const char* clock_font_face;
  int clock_font_points;
  int clock_font_weight;
  const char* picker_format;
  const char* icon_name;
  Rgb caption_text;
  Rgb clock_text;
  Rgb clock_background;
  Rgb hover_background;
};

extern const WindowProperties kWindow;
