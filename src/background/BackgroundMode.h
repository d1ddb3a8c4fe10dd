#pragma once
// The program with nobody at its window: reading as soon as a controller answers, requests from later
// launches of the same desktop session, and with --background a hidden window, a tray icon and
// notices on the desktop instead of boxes. A layer over the main window: it starts and stops the
// window's acquisition, and ends the program through the window's "Fine Programma".

#include "platform/desktop/SessionRequest.h"
#include "platform/input/JoystickDriver.h"

#include <QObject>
#include <QStringList>
#include <QSystemTrayIcon>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class MainForm;
class TrayIcon;

namespace platform {
class QtShell;
}  // namespace platform

class BackgroundMode final : public QObject {
    Q_OBJECT
public:
    enum class State {
        Reading,  // the window's monitor runs
        Waiting,  // asked to read, no controller answers yet
        Stopped,
    };

    // Whether the desktop has a tray now.
    using TrayCheck = std::function<bool()>;

    // hidden (--background): the window stays hidden and closing it hides it; while it is hidden
    // notices go to the desktop; a tray icon as soon as the desktop has a tray (at login the panel
    // often starts after the program).
    BackgroundMode(MainForm& form, std::shared_ptr<platform::JoystickDriver> driver, platform::QtShell& shell,
                   bool hidden, TrayCheck trayAvailable = &QSystemTrayIcon::isSystemTrayAvailable);
    ~BackgroundMode() override;

    // Reads as Start does: at once when the chosen controller (or any, with the automatic choice)
    // is attached, else as soon as one is plugged in, without a box meanwhile.
    void Read();
    // Stops reading and waiting, as Stop does.
    void Stop();
    // Whether a later launch's request is taken: refused when its map cannot be read here, there is no
    // profile of its name, or the settings cannot remember that profile, which is remembered here.
    bool Accepts(const platform::SessionRequest& request) const;
    // Does what a later launch's accepted request asks: the "Emulazione Corvane" entry shown, the
    // window shown, the map loaded through the reload's own path (its notice included) or the profile
    // switched to, then reading started or stopped, or the program ended. The window is shown only on
    // a plain launch.
    void Handle(const platform::SessionRequest& request);

    State Current() const;
    // The name of the controller being read; empty when none is.
    QString ControllerName() const;

    void ShowWindow();
    void ToggleWindow();

signals:
    void StateChanged();

protected:
    // While hidden mode lasts, a close request on the window hides it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Notify(const QString& title, const QString& text, uint32_t flags) const;
    // Tells windowNotice on the desktop, then lets a second pass before the next.
    void TellWindowNotice();
    // When acquisition changes, and once a second while waiting or while hidden without a tray: starts
    // reading when waiting and a controller answers; tells a change of state; while hidden, builds the
    // tray icon once the desktop has a tray.
    void Look();
    // The GUIDs of the attached controllers Start would read.
    QStringList ControllersToRead() const;
    // The attached device in the slot the monitor reads, if any.
    std::optional<platform::AttachedDevice> ReadDevice() const;

    MainForm& form;
    std::shared_ptr<platform::JoystickDriver> driver;
    platform::QtShell& shell;
    bool wanted = false;  // asked to read (and not stopped since)
    QStringList tried;    // the controllers attached at the last try of Start while waiting
    State told = State::Stopped;
    QTimer lookTimer;
    bool hidden;
    TrayCheck trayAvailable;
    TrayIcon* tray = nullptr;     // a child, built once there is a tray
    QString windowNotice;         // a switch by the window in front not told yet
    QTimer windowNoticePause;     // running for a second after such a notice
    uint32_t windowNoticeId = 0;  // the notification service's number for the last one, replaced by the next
};
