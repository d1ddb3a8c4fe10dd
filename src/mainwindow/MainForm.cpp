#include "mainwindow/MainForm.h"

#include "joystick/cJoy.h"
#include "keymap/Generale.h"
#include "platform/Twips.h"
#include "platform/WindowServices.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <algorithm>

namespace {

// The mouse button and modifier masks of the mouse handlers.
int16_t MouseButton(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int16_t ShiftState(Qt::KeyboardModifiers modifiers) {
    return int16_t((modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) |
                   (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) |
                   (modifiers.testFlag(Qt::AltModifier) ? 4 : 0));
}

template<std::size_t N>
int IndexOf(const std::array<QPushButton*, N>& controls, const QObject* control) {
    const auto found = std::find(controls.begin(), controls.end(), control);
    return found == controls.end() ? -1 : int(found - controls.begin());
}

}  // namespace

MainForm::MainForm(std::shared_ptr<platform::JoystickDriver> driver, platform::Shell& shell, QWidget* parent)
    : QMainWindow(parent), shell(shell), driver(std::move(driver)),
      acquisizione(std::make_unique<session::Acquisizione>(this->driver)),
      CorvaneScelto(platform::ReadChosenController()) {
    CreaControlli();
    CreaMenu();
    ImpostaFinestra();
    Collega();
    Form_Load();
    platform::CentreOnScreen(*this);
}

MainForm::~MainForm() {
    Generale::AlCaricamento(nullptr);
    FineAcquisizione();
}

void MainForm::SetAboutLoader(CaricaAbout loader) {
    aboutLoader = std::move(loader);
}

QWidget* MainForm::AboutWindow() {
    if (!about && aboutLoader) {
        about = aboutLoader(*this);
    }
    return about.get();
}

void MainForm::Collega() {
    connect(Cmd_Start, &QPushButton::clicked, this, &MainForm::Cmd_Start_Click);
    connect(Cmd_Stop, &QPushButton::clicked, this, &MainForm::Cmd_Stop_Click);
    connect(Cmd_0_XY, &QPushButton::clicked, this, &MainForm::Cmd_0_XY_Click);
    connect(Cmd_0_ZR, &QPushButton::clicked, this, &MainForm::Cmd_0_ZR_Click);
    connect(MenuEmula, &QAction::triggered, this, &MainForm::MenuEmula_Click);
    connect(MenuNumeroPad, &QAction::triggered, this, &MainForm::MenuNumeroPad_Click);
    connect(MenuPGioco, &QAction::triggered, this, &MainForm::MenuPGioco_Click);
    connect(MenuFine, &QAction::triggered, this, &MainForm::MenuFine_Click);
    connect(MenuAssegna, &QAction::triggered, this, &MainForm::MenuAssegna_Click);
    connect(MenuAssegnaTasti, &QAction::triggered, this, &MainForm::MenuAssegnaTasti_Click);
    connect(MenuAbout, &QAction::triggered, this, &MainForm::MenuAbout_Click);
    // An application quit that did not come through MenuFine_Click ends acquisition too, before any
    // global the running monitor relies on is destroyed.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &MainForm::FineAcquisizione);
    connect(acquisizione.get(), &session::Acquisizione::Cambiato, this, &MainForm::AcquisizioneCambiata);
    connect(acquisizione.get(), &session::Acquisizione::Comando, this, &MainForm::AvviaRiga);

    // A user move (drag, track click, key, wheel) triggers an action before the slider takes the new
    // position as its value; the value is taken here so the handler reads the moved slider. Values set
    // from code trigger no action.
    const auto scroll = [this](QSlider* slider, void (MainForm::*handler)()) {
        connect(slider, &QSlider::actionTriggered, this, [this, slider, handler] {
            slider->setValue(slider->sliderPosition());
            (this->*handler)();
        });
    };
    scroll(Sld_X, &MainForm::Sld_X_Scroll);
    scroll(Sld_Y, &MainForm::Sld_Y_Scroll);
    scroll(Sld_Z, &MainForm::Sld_Z_Scroll);
    scroll(Sld_R, &MainForm::Sld_R_Scroll);

    // Mouse press and release with any button; the push buttons themselves react to the left one only.
    for (QPushButton* button : Cmd_tasto) {
        button->installEventFilter(this);
    }
    for (QPushButton* button : Cmd_Dig) {
        button->installEventFilter(this);
    }
    Img_Logo->installEventFilter(this);
}

void MainForm::Form_Load() {
    joy = std::make_shared<cJoy>(driver);
    acquisizione->Monitora(joy);
    connect(joy.get(), &cJoy::JoyButton, this, &MainForm::cJoy_JoyButton, Qt::DirectConnection);
    connect(joy.get(), &cJoy::JoyLeftStick, this, &MainForm::cJoy_JoyLeftStick, Qt::DirectConnection);
    connect(joy.get(), &cJoy::JoyRightStick, this, &MainForm::cJoy_JoyRightStick, Qt::DirectConnection);
    connect(joy.get(), &cJoy::JoyDpad, this, &MainForm::cJoy_JoyDpad, Qt::DirectConnection);
    connect(joy.get(), &cJoy::JoyError, this, &MainForm::cJoy_JoyError, Qt::DirectConnection);
    connect(joy.get(), &cJoy::JoyNumbers, this, &MainForm::cJoy_JoyNumbers, Qt::DirectConnection);

    AzzeraTasti();
    Generale::EventoDaJoy = false;
    MostraPosizione(0);
    Cmd_0_XY_Click();
    Cmd_0_ZR_Click();
    // Every load, by any route (a profile, the dialog, the logo), puts the map's output in force.
    Generale::AlCaricamento(
        [this](QByteArrayView file) { acquisizione->MappaMostrata(profili.Active(), file); });
    Generale::CaricaMappa();
    MenuEmula->setVisible(Generale::MostraEmulazione);  // hidden unless the command line asks for it
    Cmd_Stop->setEnabled(false);
    platform::RepaintNow(*Cmd_Stop);
    Cmd_Start->setEnabled(true);
    platform::RepaintNow(*Cmd_Start);
    platform::SetOuterWidthTwips(*this, 9090);
    repaint();
}

bool MainForm::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == Img_Logo) {
        if (type == QEvent::MouseButtonDblClick) {
            Img_Logo_DblClick();
        }
        return false;
    }
    // A double click's second press is a press like the first.
    const bool down = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    if (!down && type != QEvent::MouseButtonRelease) {
        return false;
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const int16_t button = MouseButton(mouse->button());
    const int16_t shift = ShiftState(mouse->modifiers());
    const auto x = float(mouse->position().x() * platform::TwipsPerPixel);
    const auto y = float(mouse->position().y() * platform::TwipsPerPixel);
    if (const int i = IndexOf(Cmd_tasto, watched); i >= 0) {
        down ? Cmd_tasto_MouseDown(int16_t(i), button, shift, x, y)
             : Cmd_tasto_MouseUp(int16_t(i), button, shift, x, y);
    } else if (const int p = IndexOf(Cmd_Dig, watched); p >= 0) {
        down ? Cmd_Dig_MouseDown(int16_t(p), button, shift, x, y)
             : Cmd_Dig_MouseUp(int16_t(p), button, shift, x, y);
    }
    // The left button goes on to the button itself, for its pressed look; the others are done with.
    return mouse->button() != Qt::LeftButton;
}

bool MainForm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        Form_Activate();
    }
    return QMainWindow::event(event);
}

void MainForm::closeEvent(QCloseEvent* event) {
    // While the About window or the key dialog is shown this window takes no input, its close box
    // included; that window comes to the front so the user sees why.
    for (QWidget* davanti : {about.get(), assegna.get()}) {
        if (davanti != nullptr && davanti->isVisible()) {
            davanti->raise();
            davanti->activateWindow();
            event->ignore();
            return;
        }
    }
    bool Cancel = false;
    Form_Unload(Cancel);
    event->setAccepted(!Cancel);
}
