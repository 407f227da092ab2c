#include "backends/linux/notification/recording_notification_server.h"

#include <cstdlib>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

// A connection of its own: calls from the program's session connection then
// cross the bus as they do from a desktop's service.
QDBusConnection ConnectionOfItsOwn(const char* prefix) {
  static int count = 0;
  const QString name = QStringLiteral("%1-%2").arg(QLatin1String(prefix)).arg(++count);
  return QDBusConnection::connectToBus(QString::fromLocal8Bit(std::getenv("DBUS_SESSION_BUS_ADDRESS")),
                                       name);
}

QDBusMessage ActionSignal(uint id, const QString& key) {
  return QDBusMessage::createSignal(kPath, kService, QStringLiteral("ActionInvoked")) << id << key;
}

}  // namespace

RecordingNotificationServer::RecordingNotificationServer(enum Answer answer)
    : bus_(ConnectionOfItsOwn("notification-server")),
      stranger_(ConnectionOfItsOwn("stranger")),
      answer_(answer) {
  bus_.registerVirtualObject(kPath, this);
  bus_.registerService(kService);
}

RecordingNotificationServer::~RecordingNotificationServer() {
  bus_.unregisterService(kService);
  bus_.unregisterObject(kPath);
  QDBusConnection::disconnectFromBus(bus_.name());
  QDBusConnection::disconnectFromBus(stranger_.name());
}

bool RecordingNotificationServer::handleMessage(const QDBusMessage& message,
                                                const QDBusConnection&) {
  calls_.push_back({message.member(), message.arguments()});
  if (message.member() != QLatin1String("Notify")) {
    bus_.send(message.createReply());
  } else if (answer_ == Answer::kAtOnce) {
    Reply(message);
  } else {
    held_.push_back(message);
  }
  return true;
}

void RecordingNotificationServer::Reply(const QDBusMessage& call) {
  shown_.push_back(next_id_);
  bus_.send(call.createReply(QVariant::fromValue(next_id_++)));
}

void RecordingNotificationServer::AnswerHeldCalls() {
  for (const QDBusMessage& call : held_) Reply(call);
  held_.clear();
}

std::vector<uint> RecordingNotificationServer::ShownIds() const { return shown_; }

std::vector<uint> RecordingNotificationServer::ClosedIds() const {
  std::vector<uint> ids;
  for (const ServiceCall& call : calls_)
    if (call.member == QLatin1String("CloseNotification")) ids.push_back(call.arguments.value(0).toUInt());
  return ids;
}

void RecordingNotificationServer::InvokeAction(uint id, const QString& key) const {
  bus_.send(ActionSignal(id, key));
}

void RecordingNotificationServer::InvokeActionAsStranger(uint id, const QString& key) const {
  stranger_.send(ActionSignal(id, key));
}
