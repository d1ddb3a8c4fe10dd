#pragma once
// What a save of the map must keep, for the tests and the fuzz target: the saved file loads back as the
// tables shown; every line stands as it was, or keeps its text up to "=" and its line end where a value
// changed (lines may be added between, a last line may gain a line break); a file that already loads
// as shown is not changed at all.

#include "keymap/Generale.h"
#include "platform/ProfileWriter.h"

#include <QList>
#include <string>

namespace map_property {

// Every number differs from m's: an entry the save forgot cannot pass by keeping its value.
inline Generale::Mappa Diversa(Generale::Mappa m) {
    for (int32_t& code : m.codici) {
        code = ~code;
    }
    for (int32_t& position : m.posizioni) {
        position = ~position;
    }
    return m;
}

inline bool LinesKept(QByteArrayView original, QByteArrayView saved) {
    while (original.startsWith("\xEF\xBB\xBF") && saved.startsWith("\xEF\xBB\xBF")) {
        original = original.sliced(3);  // byte-order marks are not part of the first line
        saved = saved.sliced(3);
    }
    const QList<QByteArray> before = original.toByteArray().split('\n');
    const QList<QByteArray> after = saved.toByteArray().split('\n');
    qsizetype j = 0;
    for (const QByteArray& line : before) {
        const qsizetype equals = line.indexOf('=');
        const auto kept = [&](QByteArray s) {
            if (&line == &before.last() && s.endsWith('\r') && !line.endsWith('\r')) {
                s.chop(1);  // the last line gained a line break
            }
            return s == line ||
                   (equals >= 0 && s.startsWith(line.first(equals + 1)) && s.endsWith('\r') == line.endsWith('\r'));
        };
        while (j < after.size() && !kept(after[j])) {
            ++j;
        }
        if (j++ == after.size()) {
            return false;
        }
    }
    return true;
}

// Empty when a save of shown into file keeps all that; else what broke ("refused: ..." for a refusal).
inline std::string SaveBreaks(const QByteArray& file, const Generale::Mappa& shown) {
    platform::ProfileWriter ini(file);
    Generale::SalvaMappa(shown, file, ini);
    QString error;
    const std::optional<QByteArray> saved = ini.Bytes(error);
    if (!saved) {
        return "refused: " + error.toStdString();
    }
    if (Generale::LeggiMappa(*saved, Diversa(shown)) != shown) {
        return "loads back otherwise: " + saved->toStdString();
    }
    if (!LinesKept(file, *saved)) {
        return "lines lost: " + saved->toStdString();
    }
    if (Generale::LeggiMappa(file, Diversa(shown)) == shown && *saved != file) {
        return "nothing changed, yet written: " + saved->toStdString();
    }
    return {};
}

}  // namespace map_property
