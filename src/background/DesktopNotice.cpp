#include "background/DesktopNotice.h"

#include "platform/Shell.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QLoggingCategory>
#include <QSystemTrayIcon>
#include <QVariantMap>

Q_LOGGING_CATEGORY(lcNotice, "corvane.notice")

DesktopNotice::DesktopNotice(QSystemTrayIcon* tray) : tray(tray) {}

void DesktopNotice::Show(const QString& title, const QString& text, uint32_t flags, uint32_t replaces,
                         const std::function<void(uint32_t)>& shown) const {
    const bool error = (flags & platform::MB_ICONERROR) != 0;
    // The tray may have gone since its icon was made (a panel restarted): its balloon would show nowhere.
    if (tray != nullptr && tray->isVisible() && QSystemTrayIcon::isSystemTrayAvailable()) {
        tray->showMessage(title, text, error ? QSystemTrayIcon::Critical : QSystemTrayIcon::Information);
        return;
    }
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue<uchar>(error ? 2 : 1));
    // Application, replaced notice, icon, summary, body, actions, hints, expiry (the server's).
    notify << QCoreApplication::applicationName() << replaces << QStringLiteral("corvane") << title << text
           << QStringList() << hints << -1;
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCWarning(lcNotice).noquote() << "no desktop notification service (no session bus):" << text;
        return;
    }
    // Answered later, never waited for: a slow notification service must not hold the reading. A bus
    // with no notification service answers with an error, and the notice goes to standard error.
    auto* call = new QDBusPendingCallWatcher(bus.asyncCall(notify), QCoreApplication::instance());
    QObject::connect(call, &QDBusPendingCallWatcher::finished, call,
                     [text, shown](QDBusPendingCallWatcher* answered) {
                         const QDBusPendingReply<uint32_t> reply = *answered;
                         if (reply.isError()) {
                             qCWarning(lcNotice).noquote()
                                 << "no desktop notification service (" + reply.error().name() + "):" << text;
                         } else if (shown) {
                             shown(reply.value());
                         }
                         answered->deleteLater();
                     });
}
