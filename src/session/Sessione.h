#pragma once
// One pad being read and acted on: which device it is, its capabilities, the profile in force on it,
// its keyboard and mouse, and whether the program's own windows pause it. Every way its reading ends
// (an unplug, a stop, a switch of profile, a pause, the program's end) lets go of what it holds.

#include "keymap/Significato.h"
#include "output/OutputThread.h"
#include "platform/input/JoystickDriver.h"
#include "session/Profilo.h"

#include <QString>

#include <bitset>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace session {

class Sessione {
public:
    // What the pad asks of the user interface, told from the driver's thread: the teller must not wait.
    struct Avvisi {
        std::function<void(const QString& comando)> comando;  // a button with a command went down
        std::function<void()> accordo;                        // the profile chord formed
    };

    Sessione(platform::AttachedDevice pad, const platform::JOYCAPSA& caps, Avvisi avvisi);
    ~Sessione();  // lets go of everything
    Sessione(const Sessione&) = delete;
    Sessione& operator=(const Sessione&) = delete;

    const platform::AttachedDevice& Pad() const { return pad_; }
    QString NomeProfilo() const;
    // Its profile has keyboard and mouse entries.
    bool HaUscita() const;
    // Which stick changes its output needs at once: none while no stick output acts (none in the
    // profile, no device, paused), else those past this share of the travel, in percent.
    std::optional<int> AssiVoluti() const;
    // How far its analog triggers go before they count as pressed, in percent: its profile's.
    int SogliaGrilletti() const;

    // From the user interface's thread. A new profile lets go of what the old one held; a button held
    // across it acts when it goes down again.
    void SetProfilo(const Profilo& profilo);
    // The keyboard and mouse shared by every pad; none takes this pad's away.
    void SetUscita(const std::shared_ptr<platform::OutputDevice>& device);
    // The pad the window shows: its commands and its chord are the window's to act on.
    void SetMostrato(bool mostrato);
    void SetPaused(bool paused);

    // From the driver's thread: a change of the pad (see the driver's listener). Anything but a reading
    // lets go of everything held.
    void Leggi(uint32_t code, const platform::JOYINFOEX& info);

private:
    mutable std::mutex mutex_;
    const platform::AttachedDevice pad_;
    const platform::JOYCAPSA caps_;
    const Avvisi avvisi_;
    Profilo profilo_;
    std::unique_ptr<output::OutputThread> uscita_;  // while the profile has keyboard and mouse entries
    bool mostrato_ = false;
    bool paused_ = false;
    std::bitset<Generale::NumTasti> accesi_;  // lit at the last reading
    bool accordo_ = false;                    // the chord held at the last reading
};

}  // namespace session
