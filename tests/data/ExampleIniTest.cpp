#include "keymap/Generale.h"
#include "support/TempProgramDirectory.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

struct Mappa {
    std::array<int32_t, Generale::NumTasti> codici;
    std::array<QString, Generale::NumTasti> comandi;
    std::array<int32_t, Generale::NumPosizioni> posizioni;
    std::array<int, 6> assi;
    bool operator==(const Mappa&) const = default;
};

Mappa Carica() {
    Generale::CaricaMappa();
    return {Generale::CodiceTasto,
            Generale::ComandoTasto,
            Generale::PosizioneDig,
            {Generale::OrdineXY, Generale::OrdineZR, Generale::SegnoX, Generale::SegnoY, Generale::SegnoZ,
             Generale::SegnoR}};
}

// Each example (Italian, English) states every default, so it must load exactly like no file at all.
TEST(ExampleIni, LoadsLikeNoFile) {
    for (const QString& path : QStringLiteral(CORVANE_EXAMPLES).split(u':')) {
        SCOPED_TRACE(path.toStdString());
        TempProgramDirectory directory;
        const Mappa senzaFile = Carica();

        QFile example(path);
        ASSERT_TRUE(example.open(QIODevice::ReadOnly));
        const QByteArray bytes = example.readAll();
        directory.WriteIni(bytes);
        EXPECT_EQ(Carica(), senzaFile);

        // The entries are read from the file: a changed one shows through.
        QByteArray changed = bytes;
        changed.replace("13=8192", "13=5 [xterm]").replace("ZR=1", "ZR=0");
        directory.WriteIni(changed);
        const Mappa modificata = Carica();
        EXPECT_EQ(modificata.codici[13], 5);
        EXPECT_EQ(modificata.comandi[13], QStringLiteral("xterm"));
        EXPECT_FALSE(Generale::OrdineZR);
    }
}

} // namespace
