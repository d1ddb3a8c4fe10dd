#pragma once
// Acquisition: the pads being read. It starts and stops the monitor the picture shows, owns one session
// for every attached pad while it reads, each acting through its own profile on the one keyboard and
// mouse, and is the driver's one change listener: it hands each change to its pad's session and tells
// the windows when the pads, their profiles or the reading change. Windows ask it; none asks another.

#include "platform/desktop/Settings.h"
#include "platform/input/JoystickDriver.h"
#include "platform/output/OutputDevice.h"
#include "profiles/WindowProfiles.h"
#include "session/Profilo.h"
#include "session/Sessione.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class cJoy;

namespace session {

// An attached pad as the windows list it.
struct Pad {
    int numero = 0;  // 1 the first listed in the choice of controller
    platform::AttachedDevice device;
    QString profilo;        // the profile in force on it; empty: the default
    bool mostrato = false;  // the pad the picture shows
};

class Acquisizione final : public QObject {
    Q_OBJECT
public:
    explicit Acquisizione(std::shared_ptr<platform::JoystickDriver> driver,
                          platform::OutputOpener open = platform::OpenOutputDevice);
    ~Acquisizione() override;  // every pad lets go, then the keyboard and mouse go

    // The monitor the picture shows; none once the program ends.
    void Monitora(std::shared_ptr<cJoy> joy);
    // Start: the monitor reads the chosen pad (the automatic choice: slot 0, else slot 1), and every
    // attached pad acts through its profile. True when the monitor reads.
    bool Avvia(const platform::ChosenController& scelta);
    // Stop: the monitor ends, every pad lets go.
    void Ferma();
    // The program's end: as Ferma, the monitor released, and the keyboard and mouse go.
    void Fine();

    // The monitor the picture shows is reading.
    bool Leggendo() const;
    // The slot the monitor was last started on: 0, or 1 when the first that answered was there.
    uint32_t SlotMostrato() const { return slotMostrato_; }
    // The pads attached at the driver's last look, by slot, with the profile each reads by.
    std::vector<Pad> Pads() const;

    // The map of the pad shown was loaded, by any route: its tables are Generale's, its file's bytes these.
    void MappaMostrata(const QString& profilo, QByteArrayView file);
    // Puts a profile in force on a pad the picture does not show, and remembers it for that pad.
    // False when it cannot be remembered (it is in force all the same).
    bool ScegliProfilo(uint32_t slot, const QString& nome);
    // The profile remembered for a pad, or none for a pad seen for the first time.
    static std::optional<QString> ProfiloRicordato(const platform::AttachedDevice& pad);
    // For --profiles: a line a pad attached, numbered as listed, with the profile remembered for it.
    static QString Elenco(const std::vector<platform::AttachedDevice>& attached);

    // The window in front changed (its WM_CLASS names): every pad not shown takes the profile that lists
    // one of them, as the pad shown does, without remembering it; when none does, its own is back.
    void SeguiFinestra(const QStringList& classes);

    // While the program's own windows are in front nothing is sent.
    void SetPaused(bool paused);
    bool Paused() const { return paused_; }
    // A keyboard and mouse is there for the pads to act on.
    bool UscitaAttiva() const { return device_ != nullptr; }
    // What Unavailable told, if it did.
    const QString& Reason() const { return reason_; }
    // The way the keyboard and mouse reach the desktop; None while there is none.
    platform::OutputRoute Route() const { return device_ ? route_ : platform::OutputRoute::None; }

signals:
    // The pads attached, their profiles, or the reading changed.
    void Cambiato();
    // A profile has keyboard and mouse entries, and none could be made: why, and what to do. Once a run.
    void Unavailable(const QString& why);
    // An entry of the map in force names a key this way to the desktop cannot send: which, and why.
    // Once for each map that has such an entry.
    void Unsendable(const QString& why);
    // A pad the picture does not show pressed a button of its profile with a command line.
    void Comando(const QString& riga);

private:
    // Makes the sessions the pads attached now: a pad that changed slot or left lets go, a new pad
    // starts with its profile.
    void Aggiorna();
    // The keyboard and mouse exist while some pad's profile has entries that act.
    void AggiornaUscita();
    // Tells the driver which stick changes each pad's output needs at once, and its triggers' threshold.
    void DiAlDriver();
    std::shared_ptr<Sessione> Nuova(const platform::AttachedDevice& pad);
    // The driver's last look: a device read is looked at whenever it changes.
    std::vector<platform::AttachedDevice> Attaccati() const;
    void Successivo(uint32_t slot);
    // The profile a pad not shown reads by now: the window's, else its own.
    QString ProfiloDi(const platform::AttachedDevice& pad) const;
    void Listen(uint32_t slot, uint32_t code, const platform::JOYINFOEX& info);

    std::shared_ptr<platform::JoystickDriver> driver_;
    platform::OutputOpener open_;
    std::shared_ptr<cJoy> joy_;
    uint32_t slotMostrato_ = 0;
    Profilo mostrato_;  // the profile of the pad shown: the map in force
    bool paused_ = false;
    WindowProfiles finestre_;
    std::optional<QString> finestra_;  // the profile the window in front calls for
    std::shared_ptr<platform::OutputDevice> device_;
    platform::OutputRoute route_ = platform::OutputRoute::None;
    QString reason_;
    QString unsendable_;  // what Unsendable told last, for the map in force

    mutable std::mutex mutex_;  // guards sessioni_: the driver's thread reads it
    std::map<uint32_t, std::shared_ptr<Sessione>> sessioni_;  // by slot, while reading
    std::map<uint32_t, uint32_t> codici_;                     // the driver's thread's: each slot's last code
};

}  // namespace session
