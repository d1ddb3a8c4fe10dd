#include "background/DesktopNotice.h"

#include "platform/Shell.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QLoggingCategory>
#include <QSystemTrayIcon>
#include <QVariantMap>

Q_LOGGING_CATEGORY(lcNotice, "corvane.notice")

DesktopNotice::DesktopNotice(QSystemTrayIcon* tray) : tray(tray) {}

void DesktopNotice::Show(const QString& title, const QString& text, uint32_t flags) const {
    const bool error = (flags & platform::MB_ICONERROR) != 0;
    if (tray != nullptr && tray->isVisible()) {
        tray->showMessage(title, text, error ? QSystemTrayIcon::Critical : QSystemTrayIcon::Information);
        return;
    }
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue<uchar>(error ? 2 : 1));
    // Application, replaced notice (none), icon, summary, body, actions, hints, expiry (the server's).
    notify << QCoreApplication::applicationName() << 0U << QStringLiteral("corvane") << title << text
           << QStringList() << hints << -1;
    // Not waited for: a slow notification service must not hold the reading.
    if (!QDBusConnection::sessionBus().send(notify)) {
        qCWarning(lcNotice).noquote() << "no desktop notification service:" << text;
    }
}
