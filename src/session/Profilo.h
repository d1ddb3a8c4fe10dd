#pragma once
// What a profile gives a pad: its key map, its profile chord and its keyboard and mouse entries.

#include "keymap/Generale.h"
#include "output/OutputMap.h"

#include <QByteArrayView>
#include <QString>

namespace session {

struct Profilo {
    QString nome;  // empty: the default
    Generale::Mappa mappa = Generale::MappaPredefinita();
    int32_t accordo = 0;  // [Profili] Successivo
    output::OutputMap uscita;

    // Some entry starts a command or sends keys: only then does the pad need anything done.
    bool Agisce() const;
};

// The tables a map file's bytes give a pad, over the defaults, as a switch of profile loads them.
Profilo ProfiloDaFile(const QString& nome, QByteArrayView file);

// The profile of that name as its file is now (the default: the map the search finds); a file that
// cannot be read gives the defaults, as the map in force does.
Profilo CaricaProfilo(const QString& nome);

}  // namespace session
