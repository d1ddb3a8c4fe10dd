#pragma once
// A notice shown on the desktop instead of in a modal box: the tray icon's message where there is a
// tray, else the freedesktop notification service on the session bus.

#include <QString>
#include <cstdint>
#include <functional>

class QSystemTrayIcon;

class DesktopNotice {
public:
    // tray: the program's tray icon, or null when the desktop has no tray.
    explicit DesktopNotice(QSystemTrayIcon* tray);

    // flags: the box's, for its icon. replaces: the notification service's number of a notice this one
    // takes the place of (0: none); shown, when given, gets this notice's number once the service
    // answers. A tray's balloon takes the place of the one before anyway.
    void Show(const QString& title, const QString& text, uint32_t flags, uint32_t replaces = 0,
              const std::function<void(uint32_t)>& shown = {}) const;

private:
    QSystemTrayIcon* tray;
};
