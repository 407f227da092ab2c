// What the window draws on a real X server: the pixels read back from it,
// with the real pointer moved by the server.
#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <functional>

#include "backends/linux/window/window_session.h"
#include "platform/control_ids.h"

namespace {

const QColor kHover(255, 170, 170);
const QColor kWhite(255, 255, 255);
const QColor kClockGreen(0, 128, 0);

using PixelTest = std::function<bool(QRgb)>;

QImage Drawn() {
  QWidget* window = linux_window::MainWindow();
  return window->screen()->grabWindow(window->winId()).toImage();
}

QRect Where(int id) { return linux_window::Control(id)->geometry(); }

QColor WindowGrey() { return linux_window::MainWindow()->palette().color(QPalette::Window); }

PixelTest Is(const QColor& colour) {
  return [rgb = colour.rgb()](QRgb pixel) {
    return qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel)) == rgb;
  };
}

// Red text, also where its edges blend into the background.
bool Reddish(QRgb pixel) { return qRed(pixel) >= 200 && qGreen(pixel) <= 80 && qBlue(pixel) <= 80; }

int CountIn(const QImage& image, const QRect& area, const PixelTest& test) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) count += test(image.pixel(x, y)) ? 1 : 0;
  return count;
}

double ShareOf(const QImage& image, const QRect& area, const PixelTest& test) {
  return static_cast<double>(CountIn(image, area, test)) / (area.width() * area.height());
}

// The outermost ring of pixels of `area`.
bool OutlineIs(const QImage& image, const QRect& area, const PixelTest& test) {
  const int ring = 2 * (area.width() + area.height()) - 4;
  return CountIn(image, area, test) - CountIn(image, area.adjusted(1, 1, -1, -1), test) == ring;
}

// The server shows what was drawn a little later than the widget changed.
bool DrawnSoon(const std::function<bool(const QImage&)>& condition) {
  return QTest::qWaitFor([&] { return condition(Drawn()); }, 3000);
}

void MovePointerTo(const QPoint& in_window) {
  QWidget* window = linux_window::MainWindow();
  QCursor::setPos(window->screen(), window->mapToGlobal(in_window));
}

// The window tests' session, on the X server. On xcb Qt runs a D-Bus thread
// and hands it work inside Qt and glib, which are not built for
// ThreadSanitizer: it reports races in their wake-ups that are not this
// program's, so these tests skip under it. The window's own threads are
// checked on the offscreen platform.
class WindowPixels : public LinuxWindow {
 protected:
  static void SetUpTestSuite() {
    if (!kUnderThreadSanitizer) LinuxWindow::SetUpTestSuite();
  }
  void SetUp() override {
    if (kUnderThreadSanitizer)
      GTEST_SKIP() << "skipped under ThreadSanitizer: Qt's xcb platform runs a D-Bus thread in Qt "
                      "and glib code it cannot follow";
    LinuxWindow::SetUp();
  }

 private:
#ifdef __SANITIZE_THREAD__
  static constexpr bool kUnderThreadSanitizer = true;
#else
  static constexpr bool kUnderThreadSanitizer = false;
#endif
};

TEST_F(WindowPixels, AHoveredRuleIsPaintedPinkWithTheRedCaptionUntilThePointerLeaves) {
  test_machine::SetClock("12:40:00");
  Run([] {
    ASSERT_TRUE(QTest::qWaitFor([] { return TextOf(ClockDisplay) == "12:40"; }, 3000));
    const QRect box = Where(1001), caption = Where(NextTimeCaption);
    MovePointerTo(QPoint(3, 3));
    EXPECT_TRUE(DrawnSoon([&](const QImage& drawn) {
      return ShareOf(drawn, box, Is(kHover)) == 0 && ShareOf(drawn, caption, Is(WindowGrey())) == 1;
    })) << "no highlight and no caption before the hover";
    MovePointerTo(box.center());
    ASSERT_TRUE(QTest::qWaitFor([] { return TextOf(ClockDisplay) == "1:23"; }, 3000));
    EXPECT_TRUE(DrawnSoon([&](const QImage& drawn) {
      return ShareOf(drawn, box, Is(WindowGrey())) == 0 && ShareOf(drawn, box, Is(kHover)) > 0.75;
    })) << "the whole check box in the hover colour, around its tick box and text";
    EXPECT_TRUE(DrawnSoon([&](const QImage& drawn) {
      return CountIn(drawn, caption, Reddish) > 20;
    })) << "the red caption";

    MovePointerTo(QPoint(3, 3));
    ASSERT_TRUE(QTest::qWaitFor([] { return TextOf(ClockDisplay) == "12:40"; }, 3000));
    EXPECT_TRUE(DrawnSoon([&](const QImage& drawn) {
      return ShareOf(drawn, box, Is(kHover)) == 0 && ShareOf(drawn, box, Is(WindowGrey())) > 0.75;
    })) << "the check box back in the window's grey";
    EXPECT_TRUE(DrawnSoon([&](const QImage& drawn) {
      return ShareOf(drawn, caption, Is(WindowGrey())) == 1;
    })) << "the caption gone";
  });
}

// Green 48-point digits centred on white inside a box frame.
TEST_F(WindowPixels, TheClockIsGreenOnWhiteCentredInAFrame) {
  test_machine::SetClock("12:40:00");
  Run([] {
    const QRect clock = Where(ClockDisplay);
    const QRect inside = clock.adjusted(1, 1, -1, -1);
    QImage drawn;
    ASSERT_TRUE(DrawnSoon([&](const QImage& now) {
      drawn = now;
      return TextOf(ClockDisplay) == "12:40" && ShareOf(now, inside, Is(kClockGreen)) > 0.02;
    })) << "green digits";
    EXPECT_TRUE(OutlineIs(drawn, clock, [](QRgb pixel) { return qGray(pixel) < 140; }))
        << "a frame round the clock";
    EXPECT_GT(ShareOf(drawn, inside, Is(kWhite)), 0.5);
    QRect digits;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
      for (int x = inside.left(); x <= inside.right(); ++x)
        if (Is(kClockGreen)(drawn.pixel(x, y))) digits |= QRect(x, y, 1, 1);
    EXPECT_LE(std::abs(digits.center().x() - inside.center().x()), 3);
    EXPECT_LE(std::abs(digits.center().y() - inside.center().y()), 6);
    const double em = 48 * linux_window::MainWindow()->screen()->logicalDotsPerInchY() / 72;
    EXPECT_GT(digits.height(), 0.6 * em) << "digits of a 48-point face";
  });
}

// The real pointer rests on a rule through an alarm's minute: the alarm
// rings all the same. Then it leaves the window for the desktop, and the
// hover ends as it ends over the window's background.
TEST_F(WindowPixels, AnAlarmRingsUnderARestingPointerAndLeavingTheWindowEndsTheHover) {
  WriteSettingsFile(
      "SayAlarm1: 1\r\nSpeakAlarm1: 0\r\nSFXAlarm1: /sounds/bell.wav\r\nAlarm1time: 12:41\r\n");
  test_machine::SetClock("12:40:50");
  Run([] {
    ASSERT_TRUE(QTest::qWaitFor([] { return TextOf(ClockDisplay) == "12:40"; }, 3000));
    const QRect box = Where(1001), caption = Where(NextTimeCaption);
    MovePointerTo(box.center());
    ASSERT_TRUE(QTest::qWaitFor([] { return TextOf(ClockDisplay) == "1:23"; }, 3000));
    bool rang = false;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
      if (QMessageBox* alarm = OpenBox("It's time!")) {
        rang = test_machine::Called("PlaySoundLoop /sounds/bell.wav");
        Dismiss(alarm);
      }
    });
    user.start(20);
    test_machine::SetClock("12:41:00");
    EXPECT_TRUE(QTest::qWaitFor([&] { return rang; }, 5000)) << "no alarm under the pointer";
    user.stop();

    MovePointerTo(box.center());
    ASSERT_TRUE(QTest::qWaitFor([] { return TextOf(ClockDisplay) == "1:23"; }, 3000));
    QWidget* window = linux_window::MainWindow();
    QCursor::setPos(window->screen(), window->frameGeometry().bottomRight() + QPoint(20, 20));
    EXPECT_TRUE(QTest::qWaitFor([] { return TextOf(ClockDisplay) == "12:41"; }, 3000))
        << "the time back once the pointer left";
    EXPECT_TRUE(DrawnSoon([&](const QImage& drawn) {
      return ShareOf(drawn, caption, Is(WindowGrey())) == 1 && ShareOf(drawn, box, Is(kHover)) == 0;
    })) << "the caption gone and the box grey again";
  });
}

}  // namespace
