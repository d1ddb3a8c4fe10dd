#include "background/TrayIcon.h"

#include "background/BackgroundMode.h"
#include "background/TrayPicture.h"
#include "mainwindow/MainForm.h"
#include "mainwindow/ProfileMenu.h"
#include "session/Acquisizione.h"

#include <QMenu>
#include <QSystemTrayIcon>

TrayIcon::TrayIcon(BackgroundMode& mode, MainForm& form)
    : QObject(&mode), mode(mode), form(form), menu(std::make_unique<QMenu>()) {
    menu->setObjectName(QStringLiteral("MenuTray"));
    showHide = menu->addAction(QString(), &mode, &BackgroundMode::ToggleWindow);
    menu->addSeparator();
    start = menu->addAction(tr("Start"), &mode, &BackgroundMode::Read);
    stop = menu->addAction(tr("Stop"), &mode, &BackgroundMode::Stop);
    menu->addSeparator();
    QMenu* profili = menu->addMenu(tr("Profilo"));
    profili->setObjectName(QStringLiteral("MenuTrayProfilo"));
    connect(profili, &QMenu::aboutToShow, this, [this, profili] { ElencaProfili(*profili); });
    menu->addSeparator();
    menu->addAction(tr("Fine Programma"), &form, &MainForm::MenuFine_Click);
    connect(menu.get(), &QMenu::aboutToShow, this, &TrayIcon::Update);

    icon = new QSystemTrayIcon(this);
    icon->setContextMenu(menu.get());
    connect(icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger) {
            this->mode.ToggleWindow();
        }
    });
    connect(&mode, &BackgroundMode::StateChanged, this, &TrayIcon::Update);
    connect(&form.Acquisizione(), &session::Acquisizione::Cambiato, this, &TrayIcon::Update);
    Update();
    icon->show();
}

TrayIcon::~TrayIcon() = default;

// One pad: the profiles as the window's menu lists them. Several: each pad, with its profile, and the
// profiles to put on it.
void TrayIcon::ElencaProfili(QMenu& menu) {
    menu.clear();
    const std::vector<session::Pad> pads = form.Acquisizione().Pads();
    if (pads.size() < 2) {
        AggiungiProfili(menu, form.Profili());
        return;
    }
    for (const session::Pad& pad : pads) {
        const bool mostrato = pad.mostrato;
        const QString profilo =
            mostrato ? form.Profili().Describe() : tr("Profilo %1").arg(ProfileStore::Shown(pad.profilo));
        QMenu* suo = menu.addMenu(tr("%1. %2: %3")
                                      .arg(pad.numero)
                                      .arg(pad.device.name, profilo)
                                      .replace(u'&', QStringLiteral("&&")));
        suo->setObjectName(QStringLiteral("MenuTrayPad(%1)").arg(pad.numero));
        if (mostrato) {
            AggiungiProfili(*suo, form.Profili());
        } else {
            session::Acquisizione& acquisizione = form.Acquisizione();
            const uint32_t slot = pad.device.slot;
            AggiungiProfili(*suo, pad.profilo, [&acquisizione, slot](const QString& nome) {
                acquisizione.ScegliProfilo(slot, nome);
            });
        }
    }
}

void TrayIcon::Update() {
    const BackgroundMode::State state = mode.Current();
    QString text;
    switch (state) {
    case BackgroundMode::State::Reading:
        text = tr("Lettura di %1").arg(mode.ControllerName());
        break;
    case BackgroundMode::State::Waiting:
        text = tr("In attesa di un corvane");
        break;
    case BackgroundMode::State::Stopped:
        text = tr("Acquisizione ferma");
        break;
    }
    // With several pads, which reads by which profile.
    if (const std::vector<session::Pad> pads = form.Acquisizione().Pads(); pads.size() > 1) {
        for (const session::Pad& pad : pads) {
            text += QStringLiteral("\n") +
                    tr("%1. %2: profilo %3")
                        .arg(pad.numero)
                        .arg(pad.device.name,
                             ProfileStore::Shown(pad.mostrato ? form.Profili().Active() : pad.profilo));
        }
    }
    icon->setToolTip(QStringLiteral("%1\n%2").arg(form.windowTitle(), text));
    if (state != shown) {
        shown = state;
        icon->setIcon(TrayPicture(state));
    }
    showHide->setText(form.isVisible() ? tr("Nascondi la finestra") : tr("Mostra la finestra"));
    start->setEnabled(state == BackgroundMode::State::Stopped);
    stop->setEnabled(state != BackgroundMode::State::Stopped);
}
