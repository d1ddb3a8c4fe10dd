#include "session/Profilo.h"

#include "platform/desktop/MapFile.h"
#include "platform/files/ProfileReader.h"
#include "profiles/ProfileSet.h"

#include <algorithm>

namespace session {

bool Profilo::Agisce() const {
    return uscita.Acts() || std::any_of(mappa.comandi.begin(), mappa.comandi.end(),
                                        [](const QString& c) { return !c.isEmpty(); });
}

Profilo ProfiloDaFile(const QString& nome, QByteArrayView file) {
    return {nome, Generale::LeggiMappa(file, Generale::MappaPredefinita()), Generale::LeggiSuccessivo(file),
            output::ReadOutputMap(file)};
}

Profilo CaricaProfilo(const QString& nome) {
    const QString path = nome.isEmpty() ? platform::SearchedMapFile() : ProfileStore::PathOf(nome);
    const QByteArray bytes =
        path.isEmpty() ? QByteArray() : platform::ProfileReader::ReadBytes(path).value_or(QByteArray());
    return ProfiloDaFile(nome, bytes);
}

}  // namespace session
