// A notification service of the tests' own on their private session bus: it
// writes down each call, answers Notify with a new id (now, later or never),
// and sends the signals a desktop sends when the user acts.
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QVariantList>

#include <vector>

struct ServiceCall {
  QString member;  // "Notify", "CloseNotification", …
  QVariantList arguments;
};

class RecordingNotificationServer : public QDBusVirtualObject {
 public:
  enum class Answer { kAtOnce, kWhenTold };
  explicit RecordingNotificationServer(Answer answer = Answer::kAtOnce);
  ~RecordingNotificationServer() override;

  std::vector<ServiceCall> Calls() const { return calls_; }
  std::vector<uint> ShownIds() const;  // Notify's answers so far
  std::vector<uint> ClosedIds() const;  // CloseNotification's ids so far
  // Answers the Notify calls held back so far (Answer::kWhenTold).
  void AnswerHeldCalls();
  void InvokeAction(uint id, const QString& key) const;
  // As another program on the bus would send it, not the service.
  void InvokeActionAsStranger(uint id, const QString& key) const;

  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;
  QString introspect(const QString&) const override { return {}; }

 private:
  void Reply(const QDBusMessage& call);

  QDBusConnection bus_;
  QDBusConnection stranger_;
  enum Answer answer_;
  std::vector<ServiceCall> calls_;
  std::vector<QDBusMessage> held_;
  std::vector<uint> shown_;
  uint next_id_ = 41;
};
