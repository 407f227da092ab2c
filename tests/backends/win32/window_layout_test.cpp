// The real window as built from the control table.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backends/win32/program_session.h"
#include "window/control_table.h"

using namespace wine_test;

namespace {

std::string ClassOf(HWND window) {
  char name[64] = {};
  ::GetClassNameA(window, name, sizeof name);
  return name;
}

const char* ExpectedClass(ControlKind kind) {
  switch (kind) {
    case ControlKind::SoundBox: return "Edit";
    case ControlKind::AlarmPicker: return "SysDateTimePick32";
    case ControlKind::CaptionLabel:
    case ControlKind::ClockLabel: return "Static";
    default: return "Button";
  }
}

}  // namespace

TEST(WindowLayout, ControlsFollowTheTableInCreationOrder) {
  RunProgram([](HWND main) {
    std::vector<HWND> children;
    for (HWND c = ::GetWindow(main, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
      children.push_back(c);
    ASSERT_EQ(children.size(), kControls.size());
    for (size_t i = 0; i < kControls.size(); ++i) {
      const ControlSpec& spec = kControls[i];
      SCOPED_TRACE("control " + std::to_string(spec.id));
      const HWND child = children[i];
      EXPECT_EQ(::GetDlgCtrlID(child), spec.id);
      EXPECT_EQ(ClassOf(child), ExpectedClass(spec.kind));
      RECT expected = {spec.x, spec.y, spec.x + spec.width, spec.y + spec.height};
      ::MapDialogRect(main, &expected);
      RECT actual;
      ::GetWindowRect(child, &actual);
      ::MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&actual), 2);
      EXPECT_TRUE(::EqualRect(&actual, &expected));
      if (spec.kind != ControlKind::AlarmPicker) {
        EXPECT_EQ(Text(main, spec.id), spec.text);
      }
      EXPECT_EQ(::IsWindowVisible(child) != 0, spec.kind != ControlKind::CaptionLabel);
    }
  });
}

TEST(WindowLayout, WindowIsAFixedCentredDialogWithItsIconAndFonts) {
  RunProgram([](HWND main) {
    const LONG_PTR style = ::GetWindowLongPtrA(main, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(::GetWindowLongPtrA(main, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);

    RECT client = {0, 0, kWindow.width, kWindow.height}, actual;
    ::MapDialogRect(main, &client);
    ::GetClientRect(main, &actual);
    EXPECT_EQ(actual.right, client.right);
    EXPECT_EQ(actual.bottom, client.bottom);

    RECT frame, work;
    ::GetWindowRect(main, &frame);
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR(frame.left + frame.right, work.left + work.right, 2);
    EXPECT_NEAR(frame.top + frame.bottom, work.top + work.bottom, 2);

    EXPECT_NE(::SendMessageA(main, WM_GETICON, ICON_BIG, 0), 0) << "icon \"0L\" not set";

    LOGFONTA clock = {};
    const auto font = reinterpret_cast<HFONT>(::SendMessageA(Control(main, 1010), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    ::GetObjectA(font, sizeof clock, &clock);
    const HDC screen = ::GetDC(nullptr);
    EXPECT_EQ(clock.lfHeight, -::MulDiv(48, ::GetDeviceCaps(screen, LOGPIXELSY), 72));
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(clock.lfWeight, 700);
    EXPECT_STREQ(clock.lfFaceName, "Courier New");

    EXPECT_EQ(Text(main, 1012), "07:00 AM");
    EXPECT_EQ(Text(main, 1059), "09:00 AM");
  });
}

TEST(WindowLayout, LabelsAnswerColourRequestsWithTheirColours) {
  RunProgram([](HWND main) {
    const Colours caption = AskColours(main, 1009);
    EXPECT_EQ(caption.text, RGB(255, 0, 0));
    EXPECT_EQ(caption.brush, ::GetSysColor(COLOR_BTNFACE));

    const Colours clock = AskColours(main, 1010);
    EXPECT_EQ(clock.text, RGB(0, 128, 0));
    EXPECT_EQ(clock.background, RGB(255, 255, 255));
    EXPECT_EQ(clock.brush, RGB(255, 255, 255));

    const Colours plain = AskColours(main, 1001);
    EXPECT_EQ(plain.text, ::GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_NE(plain.brush, RGB(255, 170, 170));
  });
}
