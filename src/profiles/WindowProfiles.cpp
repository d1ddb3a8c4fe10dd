#include "profiles/WindowProfiles.h"

#include "keymap/Generale.h"
#include "platform/files/ProfileReader.h"
#include "platform/files/RegularFile.h"
#include "profiles/ProfileSet.h"

#include <QFileInfo>
#include <algorithm>

std::optional<QString> WindowProfiles::For(const QStringList& classes) {
    QStringList folded;
    for (const QString& name : classes) {
        folded << name.toCaseFolded();
    }
    const QStringList names = ProfileStore::Names();
    // Profiles gone since the last look are forgotten with their lists.
    for (auto it = liste.begin(); it != liste.end();) {
        it = names.contains(it.key()) ? std::next(it) : liste.erase(it);
    }
    for (const QString& name : names) {
        const QStringList& listed = Classi(name);
        if (std::any_of(folded.cbegin(), folded.cend(),
                        [&listed](const QString& c) { return listed.contains(c); })) {
            return name;
        }
    }
    return std::nullopt;
}

const QStringList& WindowProfiles::Classi(const QString& name) {
    const QFileInfo file(ProfileStore::PathOf(name));
    Lista& lista = liste[name];
    if (lista.modificato != file.lastModified() || lista.dimensione != file.size()) {
        lista.modificato = file.lastModified();
        lista.dimensione = file.size();
        // Read as a map is read: a file that is not a regular one, or too large, lists nothing.
        const platform::RegularFile read =
            platform::ReadRegularFile(file.filePath(), platform::MaxProfileBytes);
        lista.classi = read.status == platform::RegularFile::Status::Read
                           ? Generale::LeggiFinestre(read.bytes)
                           : QStringList();
    }
    return lista.classi;
}
