#include "session/Acquisizione.h"

#include "joystick/cJoy.h"
#include "joystick/timer_module.h"
#include "output/SharedDevice.h"
#include "platform/desktop/Settings.h"
#include "profiles/ProfileSet.h"

#include <algorithm>
#include <utility>

namespace session {
namespace {

bool Stesso(const platform::AttachedDevice& a, const platform::AttachedDevice& b) {
    return a.slot == b.slot && a.guid == b.guid && a.port == b.port;
}

}  // namespace

Acquisizione::Acquisizione(std::shared_ptr<platform::JoystickDriver> driver, platform::OutputOpener open)
    : driver_(std::move(driver)), open_(std::move(open)) {
    if (!driver_) {
        return;  // a window built without controllers
    }
    driver_->SetChangeListener(
        [this](uint32_t slot, uint32_t code, const platform::JOYINFOEX& info) { Listen(slot, code, info); });
}

Acquisizione::~Acquisizione() {
    // Once this returns the driver's thread is done with the sessions.
    if (driver_) {
        driver_->SetChangeListener(nullptr);
    }
    blockSignals(true);  // whoever listens may be on its way out too
    Fine();
}

void Acquisizione::Listen(uint32_t slot, uint32_t code, const platform::JOYINFOEX& info) {
    std::shared_ptr<Sessione> sessione;
    const auto [ultimo, nuovo] = codici_.try_emplace(slot, platform::JOYERR_UNPLUGGED);
    const bool cambiato = std::exchange(ultimo->second, code) != code;
    {
        const std::lock_guard lock(mutex_);
        if (const auto found = sessioni_.find(slot); found != sessioni_.end()) {
            sessione = found->second;
            // A pad that left lets go at once, and the slot reads no one's profile until the windows'
            // thread has seen who is there now.
            if (code != platform::JOYERR_NOERROR) {
                sessioni_.erase(found);
            }
        }
    }
    if (sessione) {
        sessione->Leggi(code, info);
    }
    if (cambiato || (sessione && code != platform::JOYERR_NOERROR)) {
        QMetaObject::invokeMethod(this, &Acquisizione::Aggiorna, Qt::QueuedConnection);
    }
}

void Acquisizione::Monitora(std::shared_ptr<cJoy> joy) {
    joy_ = std::move(joy);
}

// After "Fine Programma" there is no monitor. A box that a validity test shows runs other events,
// "Fine Programma" among them: the local owner keeps the monitor alive until its call returns, and
// nothing more is started.
bool Acquisizione::Avvia(const platform::ChosenController& scelta) {
    const std::shared_ptr<cJoy> monitor = joy_;
    if (!monitor || !driver_) {
        return false;
    }
    const auto valid = [this, &monitor](bool answers) { return answers && joy_ == monitor; };
    // The driver puts a chosen controller in slot 0, or reads slot 0 as unplugged while it is away;
    // no other controller stands in for it (but a pad of its model on another port may be the chosen one
    // moved: see ChosenSlot).
    driver_->PreferDevice(scelta.guid, scelta.port);
    std::optional<uint32_t> slot;
    if (valid(monitor->IsJoystick1_Valid())) {
        slot = 0;
    } else if (joy_ == monitor && scelta.guid.isEmpty() && valid(monitor->IsJoystick2_Valid())) {
        slot = 1;
    }
    if (!slot) {
        return false;
    }
    slotMostrato_ = *slot;
    monitor->Start_JoyMonitor(int32_t(*slot));
    Aggiorna();
    return true;
}

void Acquisizione::Ferma() {
    if (joy_) {
        joy_->End_JoyMonitor();
    }
    Aggiorna();
}

void Acquisizione::Fine() {
    if (joy_) {
        joy_->End_JoyMonitor();
    }
    joy_.reset();
    Aggiorna();
    mostrato_ = {};
    AggiornaUscita();
}

bool Acquisizione::Leggendo() const {
    return joy_ && timer_module::CurrentJoyMonitor == joy_;
}

std::vector<Pad> Acquisizione::Pads() const {
    const std::vector<platform::AttachedDevice> attached = Attaccati();
    std::vector<Pad> pads;
    const std::lock_guard lock(mutex_);
    for (const platform::AttachedDevice& device : attached) {
        Pad pad{int(pads.size()) + 1, device, {}, Leggendo() && device.slot == slotMostrato_};
        if (pad.mostrato) {
            pad.profilo = mostrato_.nome;
        } else if (const auto found = sessioni_.find(device.slot); found != sessioni_.end()) {
            pad.profilo = found->second->NomeProfilo();
        } else {
            pad.profilo = ProfiloRicordato(device).value_or(QString());
        }
        pads.push_back(pad);
    }
    return pads;
}

std::vector<platform::AttachedDevice> Acquisizione::Attaccati() const {
    return driver_ ? driver_->LastSeenDevices() : std::vector<platform::AttachedDevice>();
}

std::optional<QString> Acquisizione::ProfiloRicordato(const platform::AttachedDevice& pad) {
    const std::optional<QString> nome = platform::ReadPadProfile(pad.guid, pad.port);
    // A profile that went since is no profile: the pad is back on the default.
    return nome ? std::optional(ProfileStore::Lookup(*nome).value_or(QString())) : std::nullopt;
}

QString Acquisizione::Elenco(const std::vector<platform::AttachedDevice>& attached) {
    QString lines;
    int numero = 0;
    for (const platform::AttachedDevice& pad : attached) {
        const std::optional<QString> profilo = ProfiloRicordato(pad);
        lines += profilo
                     ? tr("%1. %2: profilo %3\n").arg(++numero).arg(pad.name, ProfileStore::Shown(*profilo))
                     : tr("%1. %2: il profilo scelto se è il corvane mostrato, se no %3\n")
                           .arg(++numero)
                           .arg(pad.name, ProfileStore::DefaultName());
    }
    return lines;
}

std::shared_ptr<Sessione> Acquisizione::Nuova(const platform::AttachedDevice& pad) {
    platform::JOYCAPSA caps;
    driver_->joyGetDevCapsA(pad.slot, caps);  // a pad that left meanwhile reads as one without axes
    const uint32_t slot = pad.slot;
    auto sessione = std::make_shared<Sessione>(
        pad, caps,
        Sessione::Avvisi{
            [this](const QString& riga) {
                QMetaObject::invokeMethod(
                    this, [this, riga] { emit Comando(riga); }, Qt::QueuedConnection);
            },
            [this, slot] {
                QMetaObject::invokeMethod(
                    this, [this, slot] { Successivo(slot); }, Qt::QueuedConnection);
            },
        });
    const bool mostrato = slot == slotMostrato_;
    sessione->SetMostrato(mostrato);
    sessione->SetPaused(paused_);
    sessione->SetProfilo(mostrato ? mostrato_ : CaricaProfilo(ProfiloDi(pad)));
    return sessione;
}

QString Acquisizione::ProfiloDi(const platform::AttachedDevice& pad) const {
    return finestra_ ? *finestra_ : ProfiloRicordato(pad).value_or(QString());
}

void Acquisizione::SeguiFinestra(const QStringList& classes) {
    finestra_ = finestre_.For(classes);
    std::vector<std::shared_ptr<Sessione>> altre;
    {
        const std::lock_guard lock(mutex_);
        for (const auto& [slot, sessione] : sessioni_) {
            if (slot != slotMostrato_) {
                altre.push_back(sessione);
            }
        }
    }
    for (const std::shared_ptr<Sessione>& sessione : altre) {
        if (const QString nome = ProfiloDi(sessione->Pad()); nome != sessione->NomeProfilo()) {
            sessione->SetProfilo(CaricaProfilo(nome));
        }
    }
    AggiornaUscita();
    emit Cambiato();
}

void Acquisizione::Aggiorna() {
    std::map<uint32_t, std::shared_ptr<Sessione>> prima;
    {
        const std::lock_guard lock(mutex_);
        prima = sessioni_;
    }
    std::map<uint32_t, std::shared_ptr<Sessione>> dopo;
    if (Leggendo()) {
        for (const platform::AttachedDevice& pad : Attaccati()) {
            const auto found = prima.find(pad.slot);
            dopo[pad.slot] =
                found != prima.end() && Stesso(found->second->Pad(), pad) ? found->second : Nuova(pad);
        }
    }
    {
        const std::lock_guard lock(mutex_);
        sessioni_ = dopo;
    }
    prima.clear();  // those that left let go here, unless the driver's thread still hands them a change
    AggiornaUscita();
    emit Cambiato();
}

void Acquisizione::AggiornaUscita() {
    std::vector<std::shared_ptr<Sessione>> sessioni;
    {
        const std::lock_guard lock(mutex_);
        for (const auto& [slot, sessione] : sessioni_) {
            sessioni.push_back(sessione);
        }
    }
    const bool agisce = mostrato_.uscita.Acts() || std::any_of(sessioni.begin(), sessioni.end(),
                                                               [](const auto& s) { return s->HaUscita(); });
    if (agisce && !device_) {
        platform::OpenedOutput opened = open_();
        if (opened.device) {
            device_ = std::make_shared<output::SharedDevice>(std::move(opened.device));
            route_ = opened.route;
        } else if (reason_.isEmpty()) {
            reason_ = opened.why;
            emit Unavailable(reason_);
        }
    }
    for (const std::shared_ptr<Sessione>& sessione : sessioni) {
        sessione->SetUscita(agisce ? device_ : nullptr);
    }
    if (!agisce) {
        device_.reset();
    }
    DiAlDriver();
    const QString unsendable = output::Unsent(mostrato_.uscita, Route());
    if (std::exchange(unsendable_, unsendable) != unsendable && !unsendable.isEmpty()) {
        emit Unsendable(unsendable);
    }
}

void Acquisizione::MappaMostrata(const QString& profilo, QByteArrayView file) {
    mostrato_ = {profilo, Generale::MappaCaricata(), Generale::CodiceSuccessivo, output::ReadOutputMap(file)};
    std::shared_ptr<Sessione> sessione;
    {
        const std::lock_guard lock(mutex_);
        if (const auto found = sessioni_.find(slotMostrato_); found != sessioni_.end()) {
            sessione = found->second;
        }
    }
    if (sessione) {
        sessione->SetProfilo(mostrato_);
    }
    AggiornaUscita();
    emit Cambiato();
}

bool Acquisizione::ScegliProfilo(uint32_t slot, const QString& nome) {
    std::shared_ptr<Sessione> sessione;
    {
        const std::lock_guard lock(mutex_);
        if (const auto found = sessioni_.find(slot); found != sessioni_.end()) {
            sessione = found->second;
        }
    }
    const std::vector<platform::AttachedDevice> pads = Attaccati();
    const auto pad = std::find_if(pads.begin(), pads.end(), [slot](const auto& d) { return d.slot == slot; });
    if (pad == pads.end()) {
        return false;
    }
    if (sessione) {
        sessione->SetProfilo(CaricaProfilo(nome));
        AggiornaUscita();
    }
    const bool ricordato = platform::WritePadProfile(pad->guid, pad->port, nome);
    emit Cambiato();
    return ricordato;
}

void Acquisizione::Successivo(uint32_t slot) {
    std::shared_ptr<Sessione> sessione;
    {
        const std::lock_guard lock(mutex_);
        if (const auto found = sessioni_.find(slot); found != sessioni_.end()) {
            sessione = found->second;
        }
    }
    if (sessione) {
        ScegliProfilo(slot, ProfileStore::After(sessione->NomeProfilo()));
    }
}

void Acquisizione::SetPaused(bool paused) {
    paused_ = paused;
    {
        const std::lock_guard lock(mutex_);
        for (const auto& [slot, sessione] : sessioni_) {
            sessione->SetPaused(paused);
        }
    }
    DiAlDriver();
}

// The driver wakes for the stick changes some output needs, and lets the others wait for a look; each
// pad's triggers count as pressed past its profile's threshold, on the picture as in the output.
void Acquisizione::DiAlDriver() {
    if (!driver_) {
        return;
    }
    std::map<uint32_t, std::shared_ptr<Sessione>> sessioni;
    {
        const std::lock_guard lock(mutex_);
        sessioni = sessioni_;
    }
    for (const auto& [slot, sessione] : sessioni) {
        driver_->SetAxisInterest(slot, sessione->AssiVoluti());
        driver_->SetTriggerThreshold(slot, sessione->SogliaGrilletti());
    }
}

}  // namespace session
