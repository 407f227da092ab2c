#include "backends/linux/atspi_signals.h"

#include <QAccessible>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>

namespace linux_window {

namespace {

// The bridge's connection and object paths, as Qt names them; without a
// bridge (no screen reader asked for one) the connection is not there and
// nothing is sent.
void SendObjectEvent(QWidget* control, const QString& member, const QString& kind, int detail,
                     const QVariant& data) {
  if (!QAccessible::isActive()) return;
  QDBusConnection bus(QStringLiteral("a11y"));
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
  if (!bus.isConnected() || accessible == nullptr) return;
  const QString path =
      QStringLiteral("/org/a11y/atspi/accessible/%1").arg(QAccessible::uniqueId(accessible));
  QDBusMessage signal =
      QDBusMessage::createSignal(path, QStringLiteral("org.a11y.atspi.Event.Object"), member);
  signal << kind << detail << 0 << QVariant::fromValue(QDBusVariant(data)) << QVariantMap();
  bus.send(signal);
}

}  // namespace

void SendVisibleChange(QWidget* control, bool visible) {
  SendObjectEvent(control, QStringLiteral("StateChanged"), QStringLiteral("visible"),
                  visible ? 1 : 0, 0);
}

void SendDescriptionChange(QWidget* control) {
  SendObjectEvent(control, QStringLiteral("PropertyChange"),
                  QStringLiteral("accessible-description"), 0, control->accessibleDescription());
}

}  // namespace linux_window
