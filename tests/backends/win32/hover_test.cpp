// The cursor resting on a rule box shows that rule's next matching time.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "backends/win32/program_session.h"
#include "backends/win32/recorder.h"

using namespace wine_test;

namespace {

constexpr COLORREF kHover = RGB(255, 170, 170);

// WM_SETCURSOR as the system sends it for a mouse move over `target`.
void RestCursorOn(HWND main, HWND target) {
  ::SendMessageA(main, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

bool CaptionShown(HWND main) { return ::IsWindowVisible(Control(main, 1009)) != 0; }

}  // namespace

TEST(HoverDisplay, RuleBoxShowsItsNextMatchUntilTheCursorLeaves) {
  struct Case {
    const char* clock;
    int rule_box;
    const char* shown;
  };
  const Case cases[] = {
      {"12:40:00", 1001, "1:23"},   // ascending, found as 01:23 in the 12-hour trial
      {"09:59:30", 1013, "10:00"},  // hour progression
      {"14:00:00", 1013, "2:00"},   // the current minute itself
      {"08:00:00", 1014, "4:20"},   // 4-20 needs no search
  };
  RunProgram([&](HWND main) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.clock);
      FixClock(c.clock);
      RestCursorOn(main, Control(main, c.rule_box));
      EXPECT_EQ(Text(main, 1010), c.shown);
      EXPECT_TRUE(CaptionShown(main));
      EXPECT_EQ(AskColours(main, c.rule_box).brush, kHover);
      EXPECT_EQ(AskColours(main, c.rule_box).background, kHover);

      RestCursorOn(main, Control(main, 1010));  // onto the clock label
      EXPECT_FALSE(CaptionShown(main));
      EXPECT_NE(AskColours(main, c.rule_box).brush, kHover);
      EXPECT_EQ(Text(main, 1010), c.shown) << "the label waits for the next tick";
    }
  });
}

TEST(HoverDisplay, MovingFromRuleToRuleMovesTheHighlightAndTheWindowEndsIt) {
  RunProgram([](HWND main) {
    FixClock("12:40:00");
    RestCursorOn(main, Control(main, 1001));
    RestCursorOn(main, Control(main, 1005));
    EXPECT_NE(AskColours(main, 1001).brush, kHover);
    EXPECT_EQ(AskColours(main, 1005).brush, kHover);
    EXPECT_EQ(Text(main, 1010), "1:01");

    RestCursorOn(main, main);  // the window's own background
    EXPECT_FALSE(CaptionShown(main));
    EXPECT_NE(AskColours(main, 1005).brush, kHover);

    // The next tick writes the current time back.
    ::SendMessageA(main, WM_TIMER, 1000, 0);
    EXPECT_EQ(Text(main, 1010), "12:40");
  });
}
