#pragma once
// The main window: the controller picture with its highlights, markers and number labels (left panel),
// the on-screen emulation panel (right panel) and the menus. Controls are laid out in twips; every
// widget carries its design name as objectName ("Img_Tasto(3)", "Sld_X", "MenuEmula").

#include "keymap/Generale.h"
#include "platform/Shell.h"
#include "platform/desktop/Settings.h"
#include "platform/input/JoystickDriver.h"
#include "profiles/ProfileSet.h"
#include "session/Acquisizione.h"

#include <QDeadlineTimer>
#include <QHash>
#include <QMainWindow>
#include <QTimer>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QPushButton;
class QSlider;
class cJoy;
class ShapeWidget;

class MainForm : public QMainWindow {
    Q_OBJECT
public:
    // Builds the layout, then runs Form_Load once. The window starts hidden.
    MainForm(std::shared_ptr<platform::JoystickDriver> driver, platform::Shell& shell,
             QWidget* parent = nullptr);
    ~MainForm() override;

    // Builds the About window of a main window, hidden. The About window's library builds on this
    // one, so the window that pairs them hands this over.
    using CaricaAbout = std::function<std::unique_ptr<QWidget>(MainForm& main)>;

    // How to load the About window; without it MenuAbout_Click does nothing.
    void SetAboutLoader(CaricaAbout loader);
    // The About window, loaded hidden by the first call and kept for the window's life; null
    // without a loader.
    QWidget* AboutWindow();

    // How to load the key-assignment dialog (its library builds on this one too); without it
    // MenuAssegnaTasti_Click does nothing.
    void SetAssegnaLoader(CaricaAbout loader);

    // The window's one monitor, created by Form_Load and released by MenuFine_Click.
    const std::shared_ptr<cJoy>& Monitor() const { return joy; }
    // The controller Start reads (an empty GUID: the first that answers).
    const platform::ChosenController& Scelto() const { return CorvaneScelto; }
    // The slot the monitor was last started on: 0, or 1 when the first that answered was there.
    uint32_t SlotLetto() const { return acquisizione->SlotMostrato(); }
    // The profiles: which map is in force on the pad shown. Every switch goes through it.
    ProfileSet& Profili() { return profili; }
    // The pads being read, the one shown among them, and what they act on.
    session::Acquisizione& Acquisizione() { return *acquisizione; }

public slots:
    // Window life, acquisition and menu commands.
    void Form_Activate();
    void Form_Unload(bool& Cancel);
    void Cmd_Start_Click();
    void Cmd_Stop_Click();
    void MenuEmula_Click();
    void MenuNumeroPad_Click();
    void cJoy_JoyNumbers(int32_t lNumJoys);
    void MenuPGioco_Click();
    void MenuFine_Click();
    void MenuAssegna_Click();
    void MenuAssegnaTasti_Click();
    void MenuAbout_Click();
    void Img_Logo_DblClick();

    // Whether Start waits for a controller to be plugged in, told by whoever waits: a line under the
    // buttons says so and Stop, which ends the wait, is enabled.
    void MostraAttesa(bool attesa);

    // The controller to read: the submenu lists the attached ones each time it opens; a choice is kept
    // in the user's settings and, while acquisition runs, restarts it on the chosen controller.
    void ElencaCorvane();
    void ScegliCorvane(const platform::ChosenController& scelta);

    // The File menu's "Profilo": the profiles, listed each time it opens, and the commands that make,
    // rename and trash them. A line in the menu bar names the profile in force once there are profiles;
    // MostraProfilo also hands its name to the commands started from then on.
    void ElencaProfili();
    void MenuNuovoProfilo_Click();
    void MenuRinominaProfilo_Click();
    void MenuEliminaProfilo_Click();
    void MostraProfilo();

    // Live display of the monitor's events.
    void cJoy_JoyButton(int32_t BtnPressed);
    void cJoy_JoyDpad(int32_t Dpadpos);
    void cJoy_JoyLeftStick(int32_t leftStickX, int32_t leftStickY);
    void cJoy_JoyRightStick(int32_t rightStickX, int32_t rightStickY);
    void cJoy_JoyError(const QString& sErrMessage);

    // On-screen emulation. Mouse handlers use only Index; Button and Shift are the mouse button
    // (1 left, 2 right, 4 middle) and modifier (1 shift, 2 control, 4 alt) masks, X and Y in twips.
    void Cmd_tasto_MouseDown(int16_t Index, int16_t Button, int16_t Shift, float X, float Y);
    void Cmd_tasto_MouseUp(int16_t Index, int16_t Button, int16_t Shift, float X, float Y);
    void Cmd_Dig_MouseDown(int16_t Index, int16_t Button, int16_t Shift, float X, float Y);
    void Cmd_Dig_MouseUp(int16_t Index, int16_t Button, int16_t Shift, float X, float Y);
    void Sld_X_Scroll();
    void Sld_Y_Scroll();
    void Sld_Z_Scroll();
    void Sld_R_Scroll();
    void Cmd_0_XY_Click();
    void Cmd_0_ZR_Click();

    // Display routines shared by the live and the emulation paths.
    void AzzeraTasti();
    void MostraPosizione(int16_t Posizione);
    void MostraAnalogico(float ValoreH, float ValoreV, bool Sinistra);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ImpostaFinestra();
    void CreaControlli();
    void CreaMenu();
    void CreaMenuCorvane(QMenu& file);
    void CreaMenuProfili(QMenu& file);
    // Asks for a profile name until one is taken by make (empty: taken, else why not) or the user
    // gives up.
    void ChiediNome(const QString& titolo, const QString& domanda, const QString& attuale,
                    const std::function<QString(const QString&)>& make);
    void Collega();
    void Form_Load();
    // Stops the monitor and releases it: its teardown runs, unless the timer module still held it.
    void FineAcquisizione();

    void MostraTastoPremuto(int Index);
    void MostraTastoRilasciato(int Index);
    void AvviaComando(int Index);
    void AvviaRiga(const QString& comando);
    // Reading started or stopped by whoever asked: the buttons say so, as Start and Stop leave them; a
    // pad shown anew brings its own profile.
    void AcquisizioneCambiata();
    void ComandoNonAvviato(const QString& comando, const QString& motivo);
    // Lab_Profilo's text: whole up to a width, elided in the middle past it; whole in its tooltip.
    void ScriviAngolo(const QString& testo, bool visibile);
    // A notice box titled with the window's caption; returns the answer (IDOK or another).
    int Informa(const QString& text, uint32_t flags);

    platform::Shell& shell;
    std::shared_ptr<platform::JoystickDriver> driver;
    // The pads being read, each with its profile, and the keyboard and mouse they act as.
    std::unique_ptr<session::Acquisizione> acquisizione;
    std::shared_ptr<cJoy> joy;  // the event variable cJoy
    CaricaAbout aboutLoader;
    std::unique_ptr<QWidget> about;
    CaricaAbout assegnaLoader;
    std::unique_ptr<QWidget> assegna;  // the key-assignment dialog last shown, open or closed

    int32_t CodiceLetto = 0;  // button mask of the last live button event
    // The pad shown (GUID and port) when its profile was last looked up: a pad shown anew brings the
    // profile remembered for it.
    QString padMostrato;
    // The controller Start reads; an empty GUID reads the first that answers (slot 0, else slot 1).
    platform::ChosenController CorvaneScelto;
    ProfileSet profili;

    QAction* MenuEmula = nullptr;
    QAction* MenuNumeroPad = nullptr;
    QAction* MenuPGioco = nullptr;
    QAction* MenuFine = nullptr;
    QAction* MenuAssegna = nullptr;
    QAction* MenuAssegnaTasti = nullptr;
    QAction* MenuAbout = nullptr;
    QMenu* MenuScegliPad = nullptr;
    QActionGroup* GruppoCorvane = nullptr;
    QMenu* MenuProfilo = nullptr;
    QLabel* Lab_Profilo = nullptr;  // in the menu bar's corner
    QTimer fineAvviso;              // gives Lab_Profilo back to the profile after a notice there
    QHash<QString, QDeadlineTimer> avvisiComandi;  // by command: when a failure to start may be said again

    QLabel* Img_Logo = nullptr;
    std::array<QLabel*, Generale::NumTasti> Img_Tasto{};
    std::array<QLabel*, Generale::NumPosizioni> Img_Dig{};
    std::array<QLabel*, 6> Lab_Tasto{};
    ShapeWidget* Shp_XP = nullptr;
    ShapeWidget* Shp_ZR = nullptr;

    QLabel* Lab_Attesa = nullptr;  // built at the first wait

    QPushButton* Cmd_Start = nullptr;
    QPushButton* Cmd_Stop = nullptr;
    std::array<QPushButton*, Generale::NumTasti> Cmd_tasto{};
    std::array<QPushButton*, Generale::NumPosizioni> Cmd_Dig{};
    QPushButton* Cmd_0_XY = nullptr;
    QPushButton* Cmd_0_ZR = nullptr;
    QSlider* Sld_X = nullptr;
    QSlider* Sld_Y = nullptr;
    QSlider* Sld_Z = nullptr;
    QSlider* Sld_R = nullptr;
};
