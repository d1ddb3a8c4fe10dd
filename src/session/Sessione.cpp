#include "session/Sessione.h"

#include <algorithm>

namespace session {

Sessione::Sessione(platform::AttachedDevice pad, const platform::JOYCAPSA& caps, Avvisi avvisi)
    : pad_(std::move(pad)), caps_(caps), avvisi_(std::move(avvisi)) {}

Sessione::~Sessione() = default;  // the output thread lets go as it ends

QString Sessione::NomeProfilo() const {
    const std::lock_guard lock(mutex_);
    return profilo_.nome;
}

bool Sessione::HaUscita() const {
    const std::lock_guard lock(mutex_);
    return profilo_.uscita.Acts();
}

std::optional<int> Sessione::AssiVoluti() const {
    const std::lock_guard lock(mutex_);
    const output::OutputMap& uscita = profilo_.uscita;
    if (!uscita_ || paused_ || (!uscita.left && !uscita.right)) {
        return std::nullopt;
    }
    // Arrows come up a margin below their threshold, which may lie inside the dead zone.
    const auto arrows = [](std::optional<output::StickOutput> how) {
        return how == output::StickOutput::Arrows || how == output::StickOutput::Wasd;
    };
    if (arrows(uscita.left) || arrows(uscita.right)) {
        return std::clamp(std::min(uscita.deadZone, std::max(uscita.arrowThreshold, uscita.deadZone) - 10), 0,
                          100);
    }
    return uscita.deadZone;
}

int Sessione::SogliaGrilletti() const {
    const std::lock_guard lock(mutex_);
    return profilo_.uscita.triggerThreshold;
}

void Sessione::SetProfilo(const Profilo& profilo) {
    const std::lock_guard lock(mutex_);
    profilo_ = profilo;
    if (uscita_) {
        uscita_->SetMap(profilo_.uscita);
    }
}

void Sessione::SetUscita(const std::shared_ptr<platform::OutputDevice>& device) {
    const std::lock_guard lock(mutex_);
    if (!device || !profilo_.uscita.Acts()) {
        uscita_.reset();
        return;
    }
    if (uscita_) {
        return;  // the device stays the same while some pad acts on it
    }
    uscita_ = std::make_unique<output::OutputThread>(device);
    uscita_->SetPaused(paused_);
    uscita_->SetMap(profilo_.uscita);
}

void Sessione::SetMostrato(bool mostrato) {
    const std::lock_guard lock(mutex_);
    mostrato_ = mostrato;
}

void Sessione::SetPaused(bool paused) {
    const std::lock_guard lock(mutex_);
    paused_ = paused;
    if (uscita_) {
        uscita_->SetPaused(paused);
    }
}

void Sessione::Leggi(uint32_t code, const platform::JOYINFOEX& info) {
    const std::lock_guard lock(mutex_);
    if (code != platform::JOYERR_NOERROR) {
        if (uscita_) {
            uscita_->ReleaseAll();
        }
        accesi_.reset();
        accordo_ = false;
        return;
    }
    const Generale::Significato lettura = Generale::Interpreta(info, caps_, profilo_.mappa, profilo_.accordo);
    if (uscita_) {
        uscita_->Read(lettura);
    }
    // As the window does for the pad it shows: a command when its button goes down, none while the
    // chord covers it; the chord switches as it forms.
    const std::bitset<Generale::NumTasti> premuti = lettura.accesi & ~accesi_ & ~lettura.coperti;
    const bool accordo = lettura.accordo && !accordo_;
    accesi_ = lettura.accesi;
    accordo_ = lettura.accordo;
    if (mostrato_) {
        return;
    }
    if (accordo) {
        avvisi_.accordo();
    }
    for (int i = 0; i < Generale::NumTasti; ++i) {
        if (premuti[i] && !profilo_.mappa.comandi[i].isEmpty()) {
            avvisi_.comando(profilo_.mappa.comandi[i]);
        }
    }
}

}  // namespace session
