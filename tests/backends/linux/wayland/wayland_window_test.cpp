// The real window on a Wayland compositor: what maps, what the compositor is
// told, and that the program says nothing on its way.
#include <cstdio>

#include "backends/linux/wayland/headless_compositor.h"
#include "backends/linux/window/window_session.h"
#include "support/under_thread_sanitizer.h"

extern test_compositor::HeadlessCompositor compositor;

namespace {

// Everything the process writes to its standard error while it lives, Qt's
// warnings among it.
class StandardErrorCapture {
 public:
  StandardErrorCapture() : file_(std::tmpfile()), saved_(dup(STDERR_FILENO)) {
    std::fflush(stderr);
    dup2(fileno(file_), STDERR_FILENO);
  }
  ~StandardErrorCapture() {
    Restore();
    std::fclose(file_);
  }
  std::string Text() {
    Restore();
    std::string text;
    std::rewind(file_);
    for (int c; (c = std::fgetc(file_)) != EOF;) text += static_cast<char>(c);
    return text;
  }

 private:
  void Restore() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    dup2(saved_, STDERR_FILENO);
    close(saved_);
    saved_ = -1;
  }
  std::FILE* file_;
  int saved_;
};

class OnWayland : public LinuxWindow {
 protected:
  static void SetUpTestSuite() {
    if (!test_build::kUnderThreadSanitizer) LinuxWindow::SetUpTestSuite();
  }
  void SetUp() override {
    if (test_build::kUnderThreadSanitizer)
      GTEST_SKIP() << "skipped under ThreadSanitizer: Qt's wayland platform locks in Qt code it "
                      "cannot follow";
    LinuxWindow::SetUp();
  }
};

TEST_F(OnWayland, TheWindowAndAnAlarmBoxMapQuietlyAndTheProgramEndsCleanly) {
  WriteSettingsFile(
      "SayAlarm1: 1\r\nSpeakAlarm1: 0\r\nSFXAlarm1: /sounds/bell.wav\r\nAlarm1time: 12:35\r\n");
  test_machine::SetClock("12:35:05");
  StandardErrorCapture errors;
  bool box_mapped = false;
  WhenTheAlarmBoxOpens([&](QMessageBox* box) {
    box_mapped = QTest::qWaitForWindowExposed(box->windowHandle());
    Dismiss(box);
  });
  EXPECT_TRUE(box_mapped);
  EXPECT_EQ(errors.Text(), "");
  const std::string requests = compositor.Log();
  EXPECT_NE(requests.find(".set_app_id(\"io.github.quorvel.quorvel\")"), std::string::npos)
      << "the window names its desktop file";
  EXPECT_NE(requests.find(".set_title(\"It's time!"), std::string::npos) << "no alarm box";
}

}  // namespace
