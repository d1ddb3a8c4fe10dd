#include "background/TrayIcon.h"

#include "background/BackgroundMode.h"
#include "background/TrayPicture.h"
#include "mainwindow/MainForm.h"
#include "mainwindow/ProfileMenu.h"

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
    connect(profili, &QMenu::aboutToShow, this, [this, profili] {
        profili->clear();
        AggiungiProfili(*profili, this->form.Profili());
    });
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
    Update();
    icon->show();
}

TrayIcon::~TrayIcon() = default;

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
    icon->setToolTip(QStringLiteral("%1\n%2").arg(form.windowTitle(), text));
    if (state != shown) {
        shown = state;
        icon->setIcon(TrayPicture(state));
    }
    showHide->setText(form.isVisible() ? tr("Nascondi la finestra") : tr("Mostra la finestra"));
    start->setEnabled(state == BackgroundMode::State::Stopped);
    stop->setEnabled(state != BackgroundMode::State::Stopped);
}
