// Saving what the user changed in the dialog into the file as it is, then loading the file, gives the
// file's entries with those changes; every line the save did not change stays as the user wrote it.

#include "keymap/Generale.h"
#include "support/MapProperty.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <random>

using namespace Generale;

namespace {

// Commands a user may give, each a way a value can fail to load back.
const QStringList Comandi{
    "",           "xterm",           "a [b] c",          "sh -c \"echo a; echo #b\" \\x", "citt\u00E0 \u20AC",
    "finisce ",   "1 [annidato]",    "; non un commento", QString(240, u'x'),
};

Mappa Modificata(std::mt19937& random, Mappa m) {
    const auto talvolta = [&random] { return random() % 3 == 0; };
    for (int i = 0; i < NumTasti; ++i) {
        if (talvolta()) {
            m.codici[i] = random() % 4 == 0 ? int32_t(random()) : int32_t(random() % 16) - 1;
        }
        if (talvolta()) {
            m.comandi[i] = Comandi[qsizetype(random() % Comandi.size())];
        }
    }
    for (int32_t& position : m.posizioni) {
        position = talvolta() ? int32_t(random() % 12) - 2 : position;
    }
    m.ordineXY ^= talvolta();
    m.ordineZR ^= talvolta();
    for (int16_t& sign : m.segni) {
        sign = talvolta() ? int16_t(-sign) : sign;
    }
    return m;
}

TEST(SalvaMappaTest, SavedTablesLoadBackAndUntouchedLinesStay) {
    const struct {
        const char* what;
        QByteArray file;
    } files[] = {
        {"no file", ""},
        {"comments and blank lines", "; la mia mappa\n\n[Tasti]\n; tasto uno\n0=1 [xterm]\n\n[X-Y Digitale]\n0=0\n"},
        {"CR LF", "[Tasti]\r\n0=1\r\n1 = 2 [a b]\r\n\r\n[X-Y Analogico]\r\nX=1\r\n"},
        {"byte-order mark", "\xEF\xBB\xBF[Tasti]\n0=1\n"},
        {"two byte-order marks, both skipped when read", "\xEF\xBB\xBF\xEF\xBB\xBF[Tasti]\n0=1\n"},
        {"Windows-1252 letters", "[Tasti]\n0=1 [echo citt\xE0 \x80]\n"},
        {"duplicate keys and sections: the first is the one read", "[Tasti]\n0=1\n0=99\n[tasti]\n1=77\n"},
        {"odd case and blanks around =", "[tASTI]\n  0   =   1  \n[x-y analogico]\nxy = 1\n"},
        {"no final line break", "[Z-R Analogico]\nZR=1"},
        {"CR LF, the last line's CR without its LF", "[Tasti]\r\n0=1\r\n; fine\r"},
        {"unknown sections and keys", "[Altro]\n0=5\n[Tasti]\nnome=x\n"},
        {"keys above any section", "0=5\n"},
        {"numbers that do not load", "[Tasti]\n2=due [x]\n[X-Y Digitale]\n3=\n"},
    };
    std::mt19937 random(16);
    for (const auto& f : files) {
        SCOPED_TRACE(f.what);
        const Mappa caricata = LeggiMappa(f.file, MappaCaricata());
        for (int round = 0; round < 200; ++round) {
            // Odd rounds: the dialog showed the file before it was changed (by hand or by another
            // program): the save must not undo those changes.
            const Mappa prima = round % 2 == 0 ? caricata : Modificata(random, caricata);
            ASSERT_EQ(map_property::SaveBreaks(f.file, prima, round == 0 ? prima : Modificata(random, prima)), "");
        }
    }
}

// What the reader would not give back is refused, and nothing else: the length counts "code [command]".
TEST(SalvaMappaTest, ACommandIsRefusedOnlyWhenItWouldNotLoadBack) {
    const struct {
        const char* what;
        QString command;
        bool refused;
    } rows[] = {
        {"254 characters in all: the most a load reads", QString(250, u'x'), false},
        {"255 characters: cut when loaded", QString(251, u'x'), true},
        {"starts with a tab: trimmed when loaded", QStringLiteral("\txterm"), true},
        {"a CR: the line would end there", QStringLiteral("echo\rrm"), true},
        {"ends in half a character", QStringLiteral("echo ") + QChar(0xD83D), true},
        {"a whole character beyond 16 bits", QStringLiteral("echo \U0001F600"), false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(!ComandoNonSalvabile(1, row.command).isEmpty(), row.refused);
        Mappa dopo = MappaCaricata();
        dopo.comandi[0] = row.command;
        EXPECT_TRUE(row.refused || map_property::SaveBreaks("", MappaCaricata(), dopo).empty());
    }
}

TEST(SalvaMappaTest, ACharacterWindows1252CannotHoldIsRefusedByName) {
    const QByteArray file = "[Tasti]\n0=1 [citt\xE0]\n";
    Mappa mappa = LeggiMappa(file, MappaCaricata());
    mappa.comandi[0] = QStringLiteral("echo \u6F22");
    const std::string broken = map_property::SaveBreaks(file, LeggiMappa(file, MappaCaricata()), mappa);
    EXPECT_TRUE(broken.starts_with("refused: ") && broken.find("\u6F22") != std::string::npos) << broken;
}

} // namespace
