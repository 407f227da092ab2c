#include "backends/linux/alarm_notification.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QVariantMap>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
// A service that is slow to start still gets this long; then the box is alone.
constexpr int kNotifyTimeoutMs = 5000;
constexpr uchar kUrgencyCritical = 2;

// One notification, from its Notify to its CloseNotification. It outlives its
// box when the service has not yet told its id: a notification shown after
// the box went is withdrawn as soon as that id comes.
class AlarmNotification : public QObject {
  Q_OBJECT

 public:
  explicit AlarmNotification(QMessageBox* box);

 private slots:
  void OnActionInvoked(uint id, const QString& key);
  void OnClosed(uint id, uint reason);

 private:
  void OnShown(QDBusPendingCallWatcher* call);
  void Withdraw();
  bool IsOurs(uint id) const { return id != 0 && id == id_; }

  QDBusConnection bus_ = QDBusConnection::sessionBus();
  QPointer<QMessageBox> box_;
  uint id_ = 0;       // while the notification is shown
  bool pending_ = true;
  bool withdrawn_ = false;
};

QDBusMessage NotifyCall(const QMessageBox& box) {
  QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                     QStringLiteral("Notify"));
  const QString app_id = QStringLiteral(QUORVEL_APP_ID);
  // "default" is a click on the notification itself; "ok" is a button beside it.
  const QStringList actions = {QStringLiteral("default"), QStringLiteral("OK"),
                               QStringLiteral("ok"), QStringLiteral("OK")};
  const QVariantMap hints = {{QStringLiteral("urgency"), QVariant::fromValue(kUrgencyCritical)},
                             {QStringLiteral("resident"), true},
                             {QStringLiteral("desktop-entry"), app_id}};
  call << QGuiApplication::applicationDisplayName() << uint{0} << QStringLiteral("quorvel")
       << box.windowTitle() << box.text() << actions << hints << int{0};  // 0: never expires
  return call;
}

AlarmNotification::AlarmNotification(QMessageBox* box)
    : QObject(QCoreApplication::instance()), box_(box) {
  // Subscribed by the service's name: Qt then delivers only what its present
  // owner sends, so no other client can end the alarm.
  bus_.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
               SLOT(OnActionInvoked(uint, QString)));
  bus_.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
               SLOT(OnClosed(uint, uint)));
  connect(box, &QMessageBox::finished, this, &AlarmNotification::Withdraw);
  connect(box, &QObject::destroyed, this, &AlarmNotification::Withdraw);
  auto* call = new QDBusPendingCallWatcher(bus_.asyncCall(NotifyCall(*box), kNotifyTimeoutMs), this);
  connect(call, &QDBusPendingCallWatcher::finished, this, &AlarmNotification::OnShown);
}

void AlarmNotification::OnShown(QDBusPendingCallWatcher* call) {
  call->deleteLater();
  pending_ = false;
  const QDBusPendingReply<uint> reply = *call;
  if (!reply.isError()) id_ = reply.value();
  // Gone meanwhile: what was shown goes now.
  if (withdrawn_) {
    withdrawn_ = false;
    Withdraw();
  }
}

void AlarmNotification::OnActionInvoked(uint id, const QString&) {
  if (!IsOurs(id) || withdrawn_ || box_ == nullptr) return;
  if (QAbstractButton* ok = box_->button(QMessageBox::Ok)) ok->click();
}

// The user closed the notification itself; the alarm goes on in its box.
void AlarmNotification::OnClosed(uint id, uint) {
  if (IsOurs(id)) id_ = 0;
}

void AlarmNotification::Withdraw() {
  if (withdrawn_) return;
  withdrawn_ = true;
  if (pending_) return;  // OnShown comes back here
  if (id_ != 0) {
    // Sent, not awaited: nothing holds the window for the answer.
    bus_.send(QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                             QStringLiteral("CloseNotification"))
              << id_);
    id_ = 0;
  }
  deleteLater();
}

}  // namespace

namespace linux_window {

void NotifyWhileOpen(QMessageBox* box) {
  if (!QDBusConnection::sessionBus().isConnected()) return;
  new AlarmNotification(box);  // owned by the application; deletes itself when withdrawn
}

}  // namespace linux_window

#include "alarm_notification.moc"
