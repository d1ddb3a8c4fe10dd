#pragma once
// A notice shown on the desktop instead of in a modal box: the tray icon's message where there is a
// tray, else the freedesktop notification service on the session bus.

#include <QString>
#include <cstdint>

class QSystemTrayIcon;

class DesktopNotice {
public:
    // tray: the program's tray icon, or null when the desktop has no tray.
    explicit DesktopNotice(QSystemTrayIcon* tray);

    // flags: the box's, for its icon.
    void Show(const QString& title, const QString& text, uint32_t flags) const;

private:
    QSystemTrayIcon* tray;
};
