// Each alarm box as a desktop notification, heard at a notification service
// of the tests' own on their private session bus.
#include <QDBusArgument>
#include <QDBusMetaType>

#include <ostream>

#include "backends/linux/notification/recording_notification_server.h"
#include "backends/linux/window/window_session.h"
#include "support/under_thread_sanitizer.h"

namespace {

using Answer = RecordingNotificationServer::Answer;

const char kTwoAlarms[] =
    "SayAlarm1: 1\r\nSpeakAlarm1: 0\r\nSFXAlarm1: /sounds/bell.wav\r\nAlarm1time: 12:35\r\n"
    "SayAlarm2: 1\r\nSpeakAlarm2: 0\r\nSFXAlarm2: /sounds/gong.wav\r\nAlarm2time: 12:36\r\n";

QStringList qt_messages;

std::vector<QMessageBox*> OpenAlarmBoxes() {
  std::vector<QMessageBox*> boxes;
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* box = qobject_cast<QMessageBox*>(widget))
      if (box->isVisible() && box->windowTitle() == "It's time!") boxes.push_back(box);
  return boxes;
}

class AlarmNotification : public LinuxWindow {
 protected:
  void SetUp() override {
    if (test_build::kUnderThreadSanitizer)
      GTEST_SKIP() << "skipped under ThreadSanitizer: Qt's D-Bus thread hands work to the window's "
                      "in Qt and glib code it cannot follow";
    LinuxWindow::SetUp();
    qt_messages.clear();
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) {
      // The offscreen platform's own note, which no real desktop prints.
      if (!text.contains("propagateSizeHints")) qt_messages << text;
    });
    WriteSettingsFile(kTwoAlarms);
    test_machine::SetClock("12:35:05");
  }
  void TearDown() override {
    if (test_build::kUnderThreadSanitizer) return;
    qInstallMessageHandler(nullptr);
    EXPECT_EQ(qt_messages, QStringList()) << "the program said something";
    LinuxWindow::TearDown();
  }
};

// What the desktop is asked to show for an alarm box.
void ExpectAlarmNotification(const ServiceCall& call) {
  ASSERT_EQ(call.member, "Notify");
  ASSERT_EQ(call.arguments.size(), 8);
  EXPECT_EQ(call.arguments[0].toString(), "Quorvel");
  EXPECT_EQ(call.arguments[1].toUInt(), 0u) << "a new notification, replacing none";
  EXPECT_EQ(call.arguments[3].toString(), "It's time!");
  EXPECT_EQ(call.arguments[4].toString(), "Your alarm is going off! Are you ready?");
  const QStringList actions = call.arguments[5].toStringList();
  EXPECT_TRUE(actions.contains("default")) << actions.join(",").toStdString();
  EXPECT_TRUE(actions.contains("ok")) << actions.join(",").toStdString();
  const QVariantMap hints = qdbus_cast<QVariantMap>(call.arguments[6]);
  EXPECT_EQ(hints.value("urgency").metaType(), QMetaType::fromType<uchar>());
  EXPECT_EQ(hints.value("urgency").toInt(), 2) << "critical";
  EXPECT_EQ(hints.value("resident"), QVariant(true));
  EXPECT_EQ(hints.value("desktop-entry").toString(), "io.github.quorvel.quorvel");
  EXPECT_EQ(call.arguments[7].toInt(), 0) << "never expires";
}

struct Dismissal {
  const char* name;
  // What the user (or someone else) does once the notification is shown.
  void (*act)(RecordingNotificationServer& server, QMessageBox* box, uint id);
};

void PrintTo(const Dismissal& dismissal, std::ostream* out) { *out << dismissal.name; }

void ClickOkOnTheBox(RecordingNotificationServer&, QMessageBox* box, uint) {
  LinuxWindow::Dismiss(box);
}
void ChooseOkOnTheNotification(RecordingNotificationServer& server, QMessageBox*, uint id) {
  server.InvokeAction(id, "ok");
}
void ClickTheNotification(RecordingNotificationServer& server, QMessageBox*, uint id) {
  server.InvokeAction(id, "default");
}
void ActionForAnotherIdThenOk(RecordingNotificationServer& server, QMessageBox* box, uint id) {
  server.InvokeAction(id + 1, "ok");
  server.InvokeActionAsStranger(id, "ok");  // only the service speaks for its notifications
  QTest::qWait(300);
  EXPECT_TRUE(box->isVisible()) << "a signal not about this notification ended the alarm";
  LinuxWindow::Dismiss(box);
}

class NotificationDismissal : public AlarmNotification,
                              public ::testing::WithParamInterface<Dismissal> {};

TEST_P(NotificationDismissal, EndsTheAlarmAsOkDoesAndWithdrawsTheNotification) {
  RecordingNotificationServer server(Answer::kAtOnce);
  WhenTheAlarmBoxOpens([&](QMessageBox* box) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.ShownIds().size() == 1; }, 3000));
    GetParam().act(server, box, server.ShownIds()[0]);
  });
  ASSERT_EQ(server.ShownIds().size(), 1u);
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return server.ClosedIds() == std::vector<uint>{server.ShownIds()[0]}; }, 3000));
  ASSERT_FALSE(server.Calls().empty());
  ExpectAlarmNotification(server.Calls()[0]);
}

INSTANTIATE_TEST_SUITE_P(
    ByWhoEndsIt, NotificationDismissal,
    ::testing::Values(Dismissal{"OkOnTheBox", ClickOkOnTheBox},
                      Dismissal{"OkOnTheNotification", ChooseOkOnTheNotification},
                      Dismissal{"ClickOnTheNotification", ClickTheNotification},
                      Dismissal{"SignalsForOthersThenOk",
                                ActionForAnotherIdThenOk}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AlarmNotification, AServiceThatAnswersAfterTheBoxWentHasItsNotificationWithdrawn) {
  RecordingNotificationServer server(Answer::kWhenTold);
  WhenTheAlarmBoxOpens([&](QMessageBox* box) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.Calls().size() == 1; }, 3000));
    Dismiss(box);
  });
  // The alarm ended without the answer; it comes now.
  EXPECT_TRUE(server.ShownIds().empty());
  server.AnswerHeldCalls();
  ASSERT_EQ(server.ShownIds().size(), 1u);
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return server.ClosedIds() == std::vector<uint>{server.ShownIds()[0]}; }, 3000));
}

TEST_F(AlarmNotification, WithoutAServiceTheBoxComesAlone) {
  WhenTheAlarmBoxOpens([](QMessageBox* box) { Dismiss(box); });
}

// Two alarms' boxes, the second opened inside the first's loop: each has a
// notification of its own, whose action ends its own box only.
TEST_F(AlarmNotification, NestedBoxesEachEndByTheirOwnNotification) {
  RecordingNotificationServer server(Answer::kAtOnce);
  Run([&] {
    QMessageBox* first = nullptr;
    QMessageBox* second = nullptr;
    int step = 0;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
      const std::vector<QMessageBox*> boxes = OpenAlarmBoxes();
      const std::vector<uint> shown = server.ShownIds();
      if (step == 0 && boxes.size() == 1 && shown.size() == 1) {
        first = boxes[0];
        test_machine::SetClock("12:36:00");
        step = 1;
      } else if (step == 1 && boxes.size() == 2 && shown.size() == 2) {
        second = boxes[0] == first ? boxes[1] : boxes[0];
        server.InvokeAction(shown[0], "ok");  // the first, now beneath the second
        step = 2;
      } else if (step == 2 && server.ClosedIds().size() == 1) {
        EXPECT_FALSE(first->isVisible());
        EXPECT_TRUE(second->isVisible());
        EXPECT_EQ(server.ClosedIds(), std::vector<uint>{shown[0]});
        server.InvokeAction(shown[1], "default");
        step = 3;
      }
    });
    user.start(20);
    EXPECT_TRUE(QTest::qWaitFor([&] { return step == 3 && OpenAlarmBoxes().empty(); }, 10000))
        << "reached step " << step;
    user.stop();
  });
  ASSERT_EQ(server.ShownIds().size(), 2u);
  EXPECT_TRUE(QTest::qWaitFor([&] { return server.ClosedIds() == server.ShownIds(); }, 3000));
}

}  // namespace
