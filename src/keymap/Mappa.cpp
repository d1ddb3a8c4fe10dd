// The map's tables and the file's text: how a load reads them, and how a save writes only the entries
// the user changed, into the file as it is then, so the lines the user wrote by hand stay as they are.

#include "keymap/Generale.h"
#include "keymap/Valori.h"
#include "platform/files/ProfileReader.h"
#include "platform/files/ProfileWriter.h"

#include <QCoreApplication>
#include <QStringList>
#include <array>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace Generale {
namespace {

// LeggiIni's buffer: a value longer than this is cut when read.
constexpr qsizetype ValoreMassimo = 254;

const QString Tasti = QStringLiteral("Tasti");
const QString Digitale = QStringLiteral("X-Y Digitale");
const QString AnalogicoXY = QStringLiteral("X-Y Analogico");
const QString AnalogicoZR = QStringLiteral("Z-R Analogico");
const QString Uscita = QStringLiteral("Uscita");

QString Leggi(const platform::ProfileReader& ini, const QString& section, const QString& key,
              const QString& def) {
    return ini.GetPrivateProfileString(section, key, def, ValoreMassimo + 1).text;
}

// An [Uscita] entry: one character past the longest, so that an entry too long is refused, not read cut.
QString LeggiUscita(const platform::ProfileReader& ini, const QString& key) {
    return ini.GetPrivateProfileString(Uscita, key, {}, ValoreMassimo + 2).text;
}

// The kinds of entry, each read as a load reads it.
enum class Tipo { Tasto, Numero, Ordine, Segno, Testo };

struct Voce {
    QString sezione;
    QString chiave;
    QString predefinito;  // what a load takes when the file has no such key
    Tipo tipo;
};

// Every entry of the map in one order: the buttons, the cross, each stick's order and signs, then what
// the controller sends as keyboard and mouse.
const std::vector<Voce>& Voci() {
    static const std::vector<Voce> voci = [] {
        std::vector<Voce> elenco;
        elenco.reserve(NumTasti + NumPosizioni + 6 + NumUscite);
        for (int i = 0; i < NumTasti; ++i) {
            elenco.push_back({Tasti, QString::number(i), QString::number(CodicePredefinito(i)), Tipo::Tasto});
        }
        for (int d = 0; d < NumPosizioni; ++d) {
            elenco.push_back({Digitale, QString::number(d), QString::number(d), Tipo::Numero});
        }
        const QString uno = QStringLiteral("1");
        for (const auto& [sezione, ordine, primo, secondo] :
             {std::array{AnalogicoXY, u"XY"_s, u"X"_s, u"Y"_s},
              std::array{AnalogicoZR, u"ZR"_s, u"Z"_s, u"R"_s}}) {
            elenco.push_back({sezione, ordine, uno, Tipo::Ordine});
            elenco.push_back({sezione, primo, uno, Tipo::Segno});
            elenco.push_back({sezione, secondo, uno, Tipo::Segno});
        }
        for (int k = 0; k < NumUscite; ++k) {
            elenco.push_back({Uscita, ChiaveUscita(k), QString(), Tipo::Testo});
        }
        return elenco;
    }();
    return voci;
}

QString TestoOrdine(bool ordine) {
    return ordine ? QStringLiteral("1") : QStringLiteral("0");
}

QString TestoSegno(int16_t segno) {
    return segno == 1 ? QStringLiteral("1") : QStringLiteral("-1");
}

// Each entry's value as a save writes it, in Voci's order.
QStringList Testi(const Mappa& mappa) {
    QStringList testi;
    for (int i = 0; i < NumTasti; ++i) {
        testi << TestoTasto(mappa.codici[i], mappa.comandi[i]);
    }
    for (const int32_t posizione : mappa.posizioni) {
        testi << QString::number(posizione);
    }
    testi << TestoOrdine(mappa.ordineXY) << TestoSegno(mappa.segni[0]) << TestoSegno(mappa.segni[1]);
    testi << TestoOrdine(mappa.ordineZR) << TestoSegno(mappa.segni[2]) << TestoSegno(mappa.segni[3]);
    for (const QString& uscita : mappa.uscite) {
        testi << uscita;
    }
    return testi;
}

// Each entry's value as a load of the file gives it, written as a save would write it; empty where
// its number cannot be read (a load keeps the value it had).
QStringList TestiDelFile(QByteArrayView file) {
    const platform::ProfileReader ini = platform::ProfileReader::FromBytes(file);
    QStringList testi;
    for (const Voce& voce : Voci()) {
        const QString value = Leggi(ini, voce.sezione, voce.chiave, voce.predefinito);
        switch (voce.tipo) {
        case Tipo::Tasto: {
            const std::optional<int32_t> codice = Numero(TestoCodice(value));
            testi << (codice ? TestoTasto(*codice, Comando(value)) : QString());
            break;
        }
        case Tipo::Numero: {
            const std::optional<int32_t> numero = Numero(value);
            testi << (numero ? QString::number(*numero) : QString());
            break;
        }
        case Tipo::Ordine:
            testi << TestoOrdine(Ordine(value));
            break;
        case Tipo::Segno:
            testi << TestoSegno(Segno(value));
            break;
        case Tipo::Testo:
            testi << LeggiUscita(ini, voce.chiave);
            break;
        }
    }
    return testi;
}

}  // namespace

Mappa LeggiMappa(QByteArrayView file, const Mappa& precedente) {
    const platform::ProfileReader ini = platform::ProfileReader::FromBytes(file);
    Mappa letta = precedente;
    for (int i = 0; i < NumTasti; ++i) {
        // The code is read from the text before the first "[", so that "code [command]" keeps both.
        const QString value = Leggi(ini, Tasti, QString::number(i), QString::number(CodicePredefinito(i)));
        letta.codici[i] = Numero(TestoCodice(value)).value_or(precedente.codici[i]);
        letta.comandi[i] = Comando(value);
    }
    for (int d = 0; d < NumPosizioni; ++d) {
        const QString key = QString::number(d);
        letta.posizioni[d] = Numero(Leggi(ini, Digitale, key, key)).value_or(precedente.posizioni[d]);
    }
    const QString uno = QStringLiteral("1");
    letta.ordineXY = Ordine(Leggi(ini, AnalogicoXY, QStringLiteral("XY"), uno));
    letta.segni[0] = Segno(Leggi(ini, AnalogicoXY, QStringLiteral("X"), uno));
    letta.segni[1] = Segno(Leggi(ini, AnalogicoXY, QStringLiteral("Y"), uno));
    letta.ordineZR = Ordine(Leggi(ini, AnalogicoZR, QStringLiteral("ZR"), uno));
    letta.segni[2] = Segno(Leggi(ini, AnalogicoZR, QStringLiteral("Z"), uno));
    letta.segni[3] = Segno(Leggi(ini, AnalogicoZR, QStringLiteral("R"), uno));
    for (int k = 0; k < NumUscite; ++k) {
        letta.uscite[k] = LeggiUscita(ini, ChiaveUscita(k));
    }
    return letta;
}

int32_t LeggiSuccessivo(QByteArrayView file) {
    const platform::ProfileReader ini = platform::ProfileReader::FromBytes(file);
    return Numero(TestoCodice(Leggi(ini, QStringLiteral("Profili"), QStringLiteral("Successivo"), {})))
        .value_or(0);
}

QStringList LeggiFinestre(QByteArrayView file) {
    // [Profili] is this program's own, not one of the map's first sections: its list is read whole, up
    // to the file's limit, not cut at the map's 254 characters.
    const platform::ProfileReader ini = platform::ProfileReader::FromBytes(file);
    QStringList classi;
    for (const QString& voce :
         ini.GetPrivateProfileString(QStringLiteral("Profili"), QStringLiteral("Finestre"), {},
                                     platform::MaxProfileBytes)
             .text.split(u',')) {
        if (const QString classe = voce.trimmed().toCaseFolded(); !classe.isEmpty()) {
            classi << classe;
        }
    }
    return classi;
}

QString ChiaveUscita(int k) {
    static const std::array<QString, 3> leve = {u"LevaSinistra"_s, u"LevaDestra"_s, u"Croce"_s};
    return k < NumTasti ? QString::number(k) : leve[k - NumTasti];
}

QString UscitaNonSalvabile(const QString& text) {
    if (text.contains(u'\n') || text.contains(u'\r')) {
        return QCoreApplication::translate("Generale", "l'uscita contiene un a capo");
    }
    if (text.size() > ValoreMassimo) {
        return QCoreApplication::translate("Generale", "l'uscita è lunga %1 caratteri, al massimo %2")
            .arg(text.size())
            .arg(ValoreMassimo);
    }
    return {};
}

QString ComandoNonSalvabile(int32_t code, const QString& command) {
    if (command.contains(u'\n') || command.contains(u'\r')) {
        return QCoreApplication::translate("Generale", "il comando contiene un a capo");
    }
    if (!command.isEmpty() && command.front().isSpace()) {
        return QCoreApplication::translate("Generale", "il comando inizia con uno spazio");
    }
    // A command read without its closing "]" loses its last UTF-16 unit, which may be half a character.
    if (!QStringView(command).isValidUtf16()) {
        return QCoreApplication::translate("Generale", "il comando contiene mezzo carattere");
    }
    const qsizetype length = TestoTasto(code, command).size();
    if (length > ValoreMassimo) {
        return QCoreApplication::translate("Generale",
                                           "codice e comando sono lunghi %1 caratteri, al massimo %2")
            .arg(length)
            .arg(ValoreMassimo);
    }
    return {};
}

void SalvaMappa(const Mappa& prima, const Mappa& dopo, QByteArrayView file, platform::ProfileWriter& ini) {
    const QStringList primi = Testi(prima);
    const QStringList voluti = Testi(dopo);
    const QStringList nelFile = TestiDelFile(file);
    for (qsizetype k = 0; k < voluti.size(); ++k) {
        if (primi[k] != voluti[k] && nelFile[k] != voluti[k]) {
            ini.WriteProfileString(Voci()[k].sezione, Voci()[k].chiave, voluti[k]);
        }
    }
}

bool Conflitto(const Mappa& prima, const Mappa& dopo, QByteArrayView letto, QByteArrayView attuale) {
    const QStringList primi = Testi(prima);
    const QStringList voluti = Testi(dopo);
    const QStringList allora = TestiDelFile(letto);
    const QStringList ora = TestiDelFile(attuale);
    for (qsizetype k = 0; k < voluti.size(); ++k) {
        if (primi[k] != voluti[k] && allora[k] != ora[k] && ora[k] != voluti[k]) {
            return true;
        }
    }
    return false;
}

}  // namespace Generale
