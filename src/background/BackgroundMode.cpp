#include "background/BackgroundMode.h"

#include "background/DesktopNotice.h"
#include "background/TrayIcon.h"
#include "mainwindow/MainForm.h"
#include "platform/QtShell.h"
#include "platform/desktop/MapFile.h"
#include "platform/desktop/Settings.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <algorithm>
#include <utility>

namespace {

// How often a waiting program looks for a controller plugged in.
constexpr int LookMs = 1000;

}  // namespace

BackgroundMode::BackgroundMode(MainForm& form, std::shared_ptr<platform::JoystickDriver> driver,
                               platform::QtShell& shell, bool hidden, TrayCheck trayAvailable)
    : form(form), driver(std::move(driver)), shell(shell), hidden(hidden),
      trayAvailable(std::move(trayAvailable)) {
    lookTimer.setInterval(LookMs);
    connect(&lookTimer, &QTimer::timeout, this, &BackgroundMode::Look);
    // Acquisition tells when a pad comes or goes and when reading starts or stops: nothing is looked at
    // for that.
    // Only while this mode reads or keeps the tray: a pad unplugged from the window's own Start is
    // waited for there, as the window says, not replaced by another.
    connect(&form.Acquisizione(), &session::Acquisizione::Cambiato, this, [this] {
        if (wanted || this->hidden) {
            Look();
        }
    });
    // The window's own Stop button ends the wish to read too, or the next look would start again.
    if (auto* stop = form.findChild<QPushButton*>(QStringLiteral("Cmd_Stop"))) {
        connect(stop, &QPushButton::clicked, this, [this] {
            wanted = false;
            Look();
        });
    }
    if (!hidden) {
        return;
    }
    // The window is only hidden, never closed: the program ends through "Fine Programma" alone.
    QApplication::setQuitOnLastWindowClosed(false);
    form.installEventFilter(this);
    // The notice is made when one comes, for the tray there is then.
    shell.SetBackgroundNotifier(
        [this](const QString& title, const QString& text, uint32_t flags) { Notify(title, text, flags); });
    // A switch is told by the window's own line while it shows, on the desktop while it is hidden.
    connect(&form.Profili(), &ProfileSet::Switched, this, [this](const QString& notice, bool byWindow) {
        if (this->form.isVisible()) {
            return;
        }
        if (!byWindow) {
            Notify(this->form.windowTitle(), notice, platform::MB_ICONINFORMATION);
            return;
        }
        windowNotice = notice;
        if (!windowNoticePause.isActive()) {
            TellWindowNotice();
        }
    });
    // Why the controller cannot type, told once: on the desktop while the window is hidden.
    const auto senzaUscita = [this](const QString& why) {
        if (!this->form.isVisible()) {
            Notify(this->form.windowTitle(), why, platform::MB_ICONINFORMATION);
        }
    };
    connect(&form.Acquisizione(), &session::Acquisizione::Unavailable, this, senzaUscita);
    if (!form.Acquisizione().Reason().isEmpty()) {
        senzaUscita(form.Acquisizione().Reason());  // told when the map was first loaded, before this was
    }
    // Going from window to window switches at every step: one notice a second at most, the last.
    windowNoticePause.setSingleShot(true);
    windowNoticePause.setInterval(1000);
    connect(&windowNoticePause, &QTimer::timeout, this, &BackgroundMode::TellWindowNotice);
    Look();
}

// A notice on the desktop, through the tray there is now, if any.
void BackgroundMode::Notify(const QString& title, const QString& text, uint32_t flags) const {
    DesktopNotice(tray != nullptr ? tray->Icon() : nullptr).Show(title, text, flags);
}

// Each in the place of the one before, on the notification service too: one notice, the profile now.
void BackgroundMode::TellWindowNotice() {
    if (windowNotice.isEmpty() || form.isVisible()) {
        windowNotice.clear();
        return;
    }
    const QPointer<BackgroundMode> self(this);
    DesktopNotice(tray != nullptr ? tray->Icon() : nullptr)
        .Show(form.windowTitle(), std::exchange(windowNotice, QString()), platform::MB_ICONINFORMATION,
              windowNoticeId, [self](uint32_t id) {
                  if (self) {
                      self->windowNoticeId = id;
                  }
              });
    windowNoticePause.start();
}

// The tray icon goes with this object, after the notices that use it.
BackgroundMode::~BackgroundMode() {
    shell.SetBackgroundNotifier({});
}

void BackgroundMode::Read() {
    wanted = true;
    tried.clear();
    Look();
}

void BackgroundMode::Stop() {
    wanted = false;
    form.Acquisizione().Ferma();
    Look();
}

bool BackgroundMode::Accepts(const platform::SessionRequest& request) const {
    const std::vector<session::Pad> pads = form.Acquisizione().Pads();
    if ((!request.map.isEmpty() && !platform::IsReadableMap(request.map)) ||
        std::size_t(request.pad) > pads.size()) {
        return false;
    }
    if (request.profile.isEmpty()) {
        return true;
    }
    // Remembered before the launch hears it is done: a switch the settings cannot keep is refused whole,
    // rather than told done to a user whose next start finds the old profile.
    const std::optional<QString> name = ProfileStore::Lookup(request.profile);
    const session::Pad* pad = request.pad != 0 ? &pads[std::size_t(request.pad) - 1] : nullptr;
    return name && (pad == nullptr || pad->mostrato
                        ? platform::WriteActiveProfile(*name)
                        : platform::WritePadProfile(pad->device.guid, pad->device.port, *name));
}

void BackgroundMode::Handle(const platform::SessionRequest& request) {
    using Action = platform::SessionRequest::Action;
    if (request.emulation) {
        Generale::MostraEmulazione = true;
        if (auto* entry = form.findChild<QAction*>(QStringLiteral("MenuEmula"))) {
            entry->setVisible(true);
        }
    }
    // A hand-over of a map or a profile leaves the window as it is: shown, it would take the focus, which
    // pauses the output. Hidden, their notices go to the desktop as every other does.
    if (request.action == Action::Show && request.map.isEmpty() && request.profile.isEmpty()) {
        ShowWindow();
    }
    if (!request.map.isEmpty()) {
        form.Profili().UseMapFile(request.map);
        form.Img_Logo_DblClick();
    }
    if (!request.profile.isEmpty()) {
        // Gone since it was accepted: nothing to switch to, and nothing else changes.
        const std::optional<QString> name = ProfileStore::Lookup(request.profile);
        const std::vector<session::Pad> pads = form.Acquisizione().Pads();
        const session::Pad* pad = request.pad != 0 && std::size_t(request.pad) <= pads.size()
                                      ? &pads[std::size_t(request.pad) - 1]
                                      : nullptr;
        if (name && (pad == nullptr || pad->mostrato)) {
            form.Profili().Switch(*name);
        } else if (name) {
            form.Acquisizione().ScegliProfilo(pad->device.slot, *name);
        }
    }
    switch (request.action) {
    case Action::Show:
        break;
    case Action::Start:
        Read();
        break;
    case Action::Stop:
        Stop();
        break;
    case Action::Quit:
        form.MenuFine_Click();
        break;
    }
}

// The monitor goes on polling a controller unplugged while it reads, to read it again once it is back:
// meanwhile it waits for it.
BackgroundMode::State BackgroundMode::Current() const {
    if (form.Acquisizione().Leggendo()) {
        return ReadDevice() ? State::Reading : State::Waiting;
    }
    return wanted ? State::Waiting : State::Stopped;
}

QString BackgroundMode::ControllerName() const {
    const std::optional<platform::AttachedDevice> read =
        Current() == State::Reading ? ReadDevice() : std::nullopt;
    return read ? read->name : QString();
}

// The driver's last look: a device read is looked at whenever it changes, so the state costs the reading
// thread no wake-up.
std::optional<platform::AttachedDevice> BackgroundMode::ReadDevice() const {
    const std::vector<platform::AttachedDevice> attached = driver->LastSeenDevices();
    const auto found =
        std::find_if(attached.begin(), attached.end(),
                     [this](const platform::AttachedDevice& d) { return d.slot == form.SlotLetto(); });
    return found != attached.end() ? std::optional(*found) : std::nullopt;
}

QStringList BackgroundMode::ControllersToRead() const {
    const QString& guid = form.Scelto().guid;
    QStringList found;
    for (const platform::AttachedDevice& device : driver->AttachedDevices()) {
        if (guid.isEmpty() || device.guid == guid) {
            found.append(device.guid);
        }
    }
    return found;
}

// While waiting, ControllersToRead() asks the driver for a fresh look: a device without a node to watch
// (SDL's virtual ones) is found by looking.
void BackgroundMode::Look() {
    State now = Current();
    if (now == State::Waiting) {
        // Start is tried once for each new set of controllers: one that is attached but cannot be
        // read reports once, not every second.
        const QStringList controllers = ControllersToRead();
        if (!controllers.isEmpty() && controllers != tried) {
            tried = controllers;
            form.Acquisizione().Avvia(form.Scelto());
            now = Current();
        }
    }
    form.MostraAttesa(now == State::Waiting);
    if (hidden && tray == nullptr && trayAvailable()) {
        tray = new TrayIcon(*this, form);
    }
    if (now != told) {
        told = now;
        emit StateChanged();
    }
    // Looked at once a second only while something may come that nobody tells of: a pad without a node
    // to watch (SDL's virtual ones are found by looking), or the desktop's tray.
    if (now == State::Waiting || (hidden && tray == nullptr)) {
        if (!lookTimer.isActive()) {
            lookTimer.start();  // its pace kept: a look told of by acquisition does not put the next off
        }
    } else {
        lookTimer.stop();
    }
}

void BackgroundMode::ShowWindow() {
    form.showNormal();
    form.raise();
    form.activateWindow();
}

void BackgroundMode::ToggleWindow() {
    if (form.isVisible()) {
        form.hide();
    } else {
        ShowWindow();
    }
}

bool BackgroundMode::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &form || event->type() != QEvent::Close) {
        return QObject::eventFilter(watched, event);
    }
    // While About or the key dialog shows, the window is disabled and its own handler refuses the close.
    if (!form.isEnabled()) {
        return false;
    }
    event->ignore();
    form.hide();
    return true;
}
