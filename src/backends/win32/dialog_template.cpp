#include "backends/win32/dialog_template.h"

namespace win32 {

namespace {

void AppendWord(std::vector<WORD>& out, unsigned value) { out.push_back(static_cast<WORD>(value)); }

void AppendDword(std::vector<WORD>& out, DWORD value) {
  AppendWord(out, LOWORD(value));
  AppendWord(out, HIWORD(value));
}

// Templates hold UTF-16 text even for ANSI programs; our texts are ASCII.
void AppendText(std::vector<WORD>& out, const char* text) {
  for (const char* c = text; *c != '\0'; ++c) AppendWord(out, static_cast<unsigned char>(*c));
  AppendWord(out, 0);
}

}  // namespace

std::vector<WORD> MainDialogTemplate(const WindowProperties& window) {
  std::vector<WORD> out;
  AppendDword(out, kMainWindowStyle);
  AppendDword(out, kMainWindowExtendedStyle);
  AppendWord(out, 0);  // no items
  AppendWord(out, static_cast<unsigned>(window.x));
  AppendWord(out, static_cast<unsigned>(window.y));
  AppendWord(out, static_cast<unsigned>(window.width));
  AppendWord(out, static_cast<unsigned>(window.height));
  AppendWord(out, 0);  // no menu
  AppendWord(out, 0);  // the standard dialog class
  AppendText(out, "");
  AppendWord(out, static_cast<unsigned>(window.font_points));
  AppendText(out, window.font_face);
  return out;
}

}  // namespace win32
