#pragma once
// What a save of the map must keep, for the tests and the fuzz target. The dialog showed prima, the
// user made it dopo, the file is as it is at the save: the saved file loads back as the file's entries
// with the user's changes over them; every line stands as it was, or keeps its text up to "=" and its
// line end where it is the line read for a changed entry (lines may be added between, a last line may
// gain a line break); a save that changes nothing the file gives leaves the file as it was.

#include "keymap/Generale.h"
#include "platform/files/ProfileWriter.h"

#include <QList>
#include <QStringList>
#include <set>
#include <string>
#include <tuple>
#include <utility>

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

using Chiavi = std::set<std::pair<QString, QString>>;  // section and key, lower case

// base with every entry the user changed (prima against dopo) as dopo has it; the keys of those entries.
inline Generale::Mappa Unione(const Generale::Mappa& prima, const Generale::Mappa& dopo, Generale::Mappa base,
                              Chiavi& changed) {
    const auto take = [&changed](auto&& into, const auto& was, const auto& now, const char* section,
                                 QString key) {
        if (was != now) {
            into = now;
            changed.emplace(QString::fromLatin1(section), key);
        }
    };
    for (int i = 0; i < Generale::NumTasti; ++i) {  // a button's code and command: one entry, one line
        take(std::tie(base.codici[i], base.comandi[i]), std::tie(prima.codici[i], prima.comandi[i]),
             std::tie(dopo.codici[i], dopo.comandi[i]), "tasti", QString::number(i));
    }
    for (int d = 0; d < Generale::NumPosizioni; ++d) {
        take(base.posizioni[d], prima.posizioni[d], dopo.posizioni[d], "x-y digitale", QString::number(d));
    }
    take(base.ordineXY, prima.ordineXY, dopo.ordineXY, "x-y analogico", QStringLiteral("xy"));
    take(base.ordineZR, prima.ordineZR, dopo.ordineZR, "z-r analogico", QStringLiteral("zr"));
    for (int s = 0; s < 4; ++s) {
        take(base.segni[s], prima.segni[s], dopo.segni[s], s < 2 ? "x-y analogico" : "z-r analogico",
             QString(QChar(u"xyzr"[s])));
    }
    return base;
}

// Lines compared as text (the writer keeps the encoding and the byte-order marks, which Bytes checks);
// a section or key found as the reader finds it: without regard to case, the first section, the first key.
inline bool LinesKept(QByteArrayView original, QByteArrayView saved, const Chiavi& written) {
    const QStringList before = platform::DecodeProfile(original).text.split(u'\n');
    const QStringList after = platform::DecodeProfile(saved).text.split(u'\n');
    QStringList sections;  // seen so far
    QString section;       // the line's section when it is the first of its name, else null
    QStringList keys;      // seen so far in it
    qsizetype j = 0;
    for (const QString& line : before) {
        const QStringView trimmed = QStringView(line).trimmed();
        const qsizetype equals = line.indexOf(u'=');
        bool mayChange = false;
        if (trimmed.startsWith(u'[')) {
            const qsizetype end = trimmed.lastIndexOf(u']');
            const QString name = trimmed.first(end < 0 ? trimmed.size() : end).sliced(1).trimmed().toString();
            section = sections.contains(name, Qt::CaseInsensitive) ? QString() : name.toCaseFolded();
            sections << name;
            keys.clear();
        } else if (!section.isNull() && !trimmed.startsWith(u';') && equals >= 0) {
            const QString key = QStringView(line).first(equals).trimmed().toString();
            mayChange =
                !keys.contains(key, Qt::CaseInsensitive) && written.contains({section, key.toCaseFolded()});
            keys << key;
        }
        const auto kept = [&](QString s) {
            if (&line == &before.last() && s.endsWith(u'\r') && !line.endsWith(u'\r')) {
                s.chop(1);  // the last line gained a line break
            }
            return s == line || (mayChange && s.startsWith(line.first(equals + 1)) &&
                                 s.endsWith(u'\r') == line.endsWith(u'\r'));
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

// Empty when a save of the user's changes (prima to dopo) into file keeps all that; else what broke
// ("refused: ..." for a refusal).
inline std::string SaveBreaks(const QByteArray& file, const Generale::Mappa& prima,
                              const Generale::Mappa& dopo) {
    platform::ProfileWriter ini(file);
    Generale::SalvaMappa(prima, dopo, file, ini);
    QString error;
    const std::optional<QByteArray> saved = ini.Bytes(error);
    if (!saved) {
        return "refused: " + error.toStdString();
    }
    Chiavi written;
    const Generale::Mappa inFile = Generale::LeggiMappa(file, Diversa(dopo));
    const Generale::Mappa expected = Unione(prima, dopo, inFile, written);
    if (Generale::LeggiMappa(*saved, Diversa(dopo)) != expected) {
        return "loads back otherwise: " + saved->toStdString();
    }
    if (!LinesKept(file, *saved, written)) {
        return "lines lost or changed: " + saved->toStdString();
    }
    if (expected == inFile && *saved != file) {
        return "nothing changed, yet written: " + saved->toStdString();
    }
    return {};
}

}  // namespace map_property
