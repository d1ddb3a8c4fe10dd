#include "keymap/Generale.h"
#include "platform/files/ProfileReader.h"
#include "platform/ProgramDirectory.h"
#include "support/TempProgramDirectory.h"

#include <QByteArray>
#include <QFile>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>

using namespace std::string_literals;
using namespace Qt::Literals::StringLiterals;
using namespace Generale;

namespace {

// The tables as they stand when the process starts, before any load (they are constant-initialised).
const std::array<int32_t, NumTasti> CodiciAllAvvio = CodiceTasto;
const std::array<int32_t, NumPosizioni> PosizioniAllAvvio = PosizioneDig;

constexpr std::array<int32_t, NumTasti> CodiciPredefiniti{1,   2,    4,    8,    16,   32,   64,
                                                          128, 256, 512, 1024, 2048, 4096, 8192};
constexpr std::array<int32_t, NumPosizioni> PosizioniPredefinite{0, 1, 2, 3, 4, 5, 6, 7, 8};

// A map in which every entry differs from its default.
const QByteArray MappaDiversa = "[Tasti]\n0=3 [a]\n1=3\n2=3\n3=3\n4=3\n5=3\n6=3\n7=3\n8=3\n9=3\n10=3\n11=3\n"
                                "12=3\n13=3 [b]\n"
                                "[X-Y Digitale]\n0=5\n1=5\n2=5\n3=5\n4=5\n5=5\n6=5\n7=5\n8=5\n"
                                "[X-Y Analogico]\nXY=0\nX=-1\nY=-1\n[Z-R Analogico]\nZR=0\nZ=-1\nR=-1\n";

void ExpectDefaults() {
    EXPECT_EQ(CodiceTasto, CodiciPredefiniti);
    EXPECT_EQ(ComandoTasto, (std::array<QString, NumTasti>{}));
    EXPECT_EQ(PosizioneDig, PosizioniPredefinite);
    EXPECT_TRUE(OrdineXY);
    EXPECT_TRUE(OrdineZR);
    EXPECT_EQ((std::array{SegnoX, SegnoY, SegnoZ, SegnoR}), (std::array<int16_t, 4>{1, 1, 1, 1}));
}

class GeneraleTest : public testing::Test {
protected:
    void SetUp() override { Azzera(); }

    // Loads without a file: every entry takes its default.
    void Azzera() {
        QFile::remove(dir_.path() + u"/Corvane.ini"_s);
        CaricaMappa();
    }

    void Carica(const QByteArray& file) {
        dir_.WriteIni(file);
        CaricaMappa();
    }

    TempProgramDirectory dir_;
};

TEST(GeneraleStart, TablesStartAtTheirDefaultsSoAMistypedFirstLoadKeepsThem) {
    EXPECT_EQ(CodiciAllAvvio, CodiciPredefiniti);
    EXPECT_EQ(PosizioniAllAvvio, PosizioniPredefinite);

    CodiceTasto = CodiciAllAvvio;
    PosizioneDig = PosizioniAllAvvio;
    TempProgramDirectory dir;
    dir.WriteIni("[Tasti]\n3=tre\n4=\n[X-Y Digitale]\n6=sei\n");
    CaricaMappa();
    EXPECT_EQ(CodiceTasto[3], 8);
    EXPECT_EQ(CodiceTasto[4], 16);
    EXPECT_EQ(PosizioneDig[6], 6);
}

TEST_F(GeneraleTest, FilesWithNothingUsableGiveEveryDefault) {
    std::mt19937 random(7);
    QByteArray garbage;
    for (int i = 0; i < 64 * 1024; ++i) {
        garbage += char(random());
    }
    const struct {
        const char* what;
        std::optional<QByteArray> file;
    } cases[] = {
        {"no file", std::nullopt},
        {"empty file", QByteArray()},
        {"binary garbage", garbage},
        {"every entry at its default",
         "[Tasti]\n0=1\n1=2\n13=8192\n[X-Y Digitale]\n0=0\n8=8\n[X-Y Analogico]\nXY=1\nX=1\nY=1\n"
         "[Z-R Analogico]\nZR=1\nZ=1\nR=1\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Carica(MappaDiversa);
        ASSERT_EQ(CodiceTasto[0], 3);
        if (c.file) {
            Carica(*c.file);
        } else {
            Azzera();
        }
        ExpectDefaults();
    }
}

TEST_F(GeneraleTest, TastiValueGivesCodeAndCommand) {
    const struct {
        std::string value;
        int32_t code; // 32 is the default of key 5, kept when the code is not a number
        QString command;
    } cases[] = {
        {"12", 12, ""},
        {"4 [xdg-open https://example.org]", 4, "xdg-open https://example.org"},
        {"4 [xdg-open x", 4, "xdg-open "}, // no closing bracket: the last character goes all the same
        {"7 [", 7, ""},
        {"7 []", 7, ""},
        {"7 [ ]", 7, ""},
        {"[cmd]", 32, "cmd"},
        {"tasto [cmd]", 32, "cmd"},
        {"9 ] [cmd]", 32, "cmd"},
        {" 9  [  cmd arg  ]", 9, "cmd arg  "},
        {"3 [a [b] c]", 3, "a [b] c"},
        {"1 [sh -c \"echo a; echo #b\" \\x]", 1, "sh -c \"echo a; echo #b\" \\x"},
        {"", 32, ""},
        {"1\0 2 [a\0b]"s, 32, u"a\0b"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        Carica("[Tasti]\n5=" + QByteArray::fromStdString(c.value) + "\n6=66\n");
        EXPECT_EQ(CodiceTasto[5], c.code);
        EXPECT_EQ(ComandoTasto[5], c.command);
        EXPECT_EQ(CodiceTasto[6], 66);
        Azzera();
    }
}

TEST_F(GeneraleTest, NumberForms) {
    const struct {
        const char* text;
        std::optional<int32_t> number;
    } cases[] = {
        {"+5", 5},          {"-3", -3},          {"007", 7},          {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},               {"2147483648", {}}, {"-2147483649", {}},
        {"0x10", {}},       {"&H10", {}},        {"1e3", {}},         {"1 000", {}},
        {"1,5", {}},        {"1.0", {}},         {"+ 5", {}},         {"--5", {}},
        {"cinque", {}},     {"\xD9\xA3", {}},    {"\xEF\xBC\x95", {}}, // Arabic-Indic 3, full-width 5
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Carica("[Tasti]\n6=" + QByteArray(c.text) + "\n7=" + QByteArray(c.text) + " [x]\n[X-Y Digitale]\n2=" +
               QByteArray(c.text) + "\n");
        EXPECT_EQ(CodiceTasto[6], c.number.value_or(64));
        EXPECT_EQ(CodiceTasto[7], c.number.value_or(128));
        EXPECT_EQ(PosizioneDig[2], c.number.value_or(2));
        Azzera();
    }
}

TEST_F(GeneraleTest, OrderIsExchangedOnlyByExactlyZero) {
    const struct {
        const char* value; // nullptr: key missing
        bool ordine;
    } cases[] = {{"0", false}, {nullptr, true}, {"", true},     {"00", true},
                 {"-0", true}, {"O", true},     {"falso", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value ? c.value : "missing");
        const QByteArray xy = c.value ? "XY=" + QByteArray(c.value) + "\n" : "";
        const QByteArray zr = c.value ? "ZR=" + QByteArray(c.value) + "\n" : "";
        Carica("[X-Y Analogico]\n" + xy + "[Z-R Analogico]\n" + zr);
        EXPECT_EQ(OrdineXY, c.ordine);
        EXPECT_EQ(OrdineZR, c.ordine);
    }
}

TEST_F(GeneraleTest, SignIsPlusOneOnlyForExactlyOne) {
    const struct {
        const char* value; // nullptr: key missing
        int16_t segno;
    } cases[] = {{"1", 1},   {nullptr, 1}, {"-1", -1}, {"0", -1},   {"2", -1},
                 {"uno", -1}, {"", -1},     {"+1", -1}, {"01", -1}, {"1.0", -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value ? c.value : "missing");
        QByteArray xy = "[X-Y Analogico]\n", zr = "[Z-R Analogico]\n";
        if (c.value) {
            for (const char* key : {"X=", "Y="}) {
                xy += key + QByteArray(c.value) + "\n";
            }
            for (const char* key : {"Z=", "R="}) {
                zr += key + QByteArray(c.value) + "\n";
            }
        }
        Carica(xy + zr);
        EXPECT_EQ((std::array{SegnoX, SegnoY, SegnoZ, SegnoR}),
                  (std::array<int16_t, 4>{c.segno, c.segno, c.segno, c.segno}));
    }
}

TEST_F(GeneraleTest, ReloadKeepsThePreviousValidValueAndTheFileCountsOnlyWhenLoaded) {
    Carica("[Tasti]\n3=100 [a]\n[X-Y Digitale]\n4=7\n");
    EXPECT_EQ(CodiceTasto[3], 100);
    EXPECT_EQ(ComandoTasto[3], "a");
    EXPECT_EQ(PosizioneDig[4], 7);

    dir_.WriteIni("[Tasti]\n3=cento\n[X-Y Digitale]\n4=\n");
    EXPECT_EQ(CodiceTasto[3], 100) << "no effect before the next load";
    EXPECT_EQ(ComandoTasto[3], "a");
    CaricaMappa();
    EXPECT_EQ(CodiceTasto[3], 100);
    EXPECT_EQ(ComandoTasto[3], "");
    EXPECT_EQ(PosizioneDig[4], 7);

    Carica("");
    EXPECT_EQ(CodiceTasto[3], 8) << "a missing key takes its default";
    EXPECT_EQ(PosizioneDig[4], 4);
}

TEST_F(GeneraleTest, SectionAndKeyNamesWithoutRegardToCase) {
    Carica("[TASTI]\n0=3\n[x-y digitale]\n1=5\n[x-Y ANALOGICO]\nxy=0\nx=-1\n"
           "[z-r analogico]\nzr=0\nz=-1\nr=-1\n");
    EXPECT_EQ(CodiceTasto[0], 3);
    EXPECT_EQ(PosizioneDig[1], 5);
    EXPECT_FALSE(OrdineXY);
    EXPECT_FALSE(OrdineZR);
    EXPECT_EQ((std::array{SegnoX, SegnoY, SegnoZ, SegnoR}), (std::array<int16_t, 4>{-1, 1, -1, -1}));
}

TEST_F(GeneraleTest, ProgramDirectoryWithOrWithoutTrailingSlash) {
    for (const QString& suffix : {u""_s, u"/"_s}) {
        SCOPED_TRACE(suffix.toStdString());
        Azzera();
        dir_.WriteIni("[Tasti]\n0=77\n");
        platform::SetProgramDirectory(dir_.path() + suffix);
        EXPECT_EQ(LeggiIni(u"Tasti"_s, u"0"_s, u"x"_s), "77");
        CaricaMappa();
        EXPECT_EQ(CodiceTasto[0], 77);
    }
}

TEST_F(GeneraleTest, ValuesAreCutAt254Characters) {
    for (const int length : {253, 254, 255, 300}) {
        SCOPED_TRACE(length);
        dir_.WriteIni("[A]\nk=" + QByteArray(length, 'v') + "\n");
        EXPECT_EQ(LeggiIni(u"A"_s, u"k"_s, QString()), QString(std::min(length, 254), u'v'));
    }
    // 254 characters: the command keeps its last character before "]".
    Carica("[Tasti]\n1=1 [" + QByteArray(249, 'a') + "b]\n");
    EXPECT_EQ(ComandoTasto[1], QString(249, u'a') + u'b');
    // 255 characters: "]" is cut off, so the last character of the command goes.
    Carica("[Tasti]\n1=1 [" + QByteArray(250, 'a') + "b]\n");
    EXPECT_EQ(ComandoTasto[1], QString(250, u'a'));
}

TEST_F(GeneraleTest, FileInUtf8OrWindows1252) {
    for (const QByteArray& citta : {"citt\xC3\xA0"_ba, "citt\xE0"_ba}) {
        Carica("[Tasti]\n0=1 [xdg-open /tmp/" + citta + "]\n");
        EXPECT_EQ(ComandoTasto[0], u"xdg-open /tmp/citt\u00E0"_s);
    }
}

TEST_F(GeneraleTest, LongLinesAndLargeFilesKeepWhatCanBeRead) {
    Carica("[Tasti]\n2=3 [" + QByteArray(100 * 1024, 'x') + "]\n3=9\n");
    EXPECT_EQ(CodiceTasto[2], 3);
    EXPECT_EQ(ComandoTasto[2], QString(250, u'x'));
    EXPECT_EQ(CodiceTasto[3], 9);

    // A file of exactly the limit is read whole; one byte more reads as no file.
    const QByteArray map = "[Tasti]\n0=5\n";
    const QByteArray filler = QByteArray(platform::MaxProfileBytes - map.size() - 1, ';') + "\n";
    Carica(filler + map);
    EXPECT_EQ(CodiceTasto[0], 5);
    Carica(";" + filler + map);
    EXPECT_EQ(CodiceTasto[0], 1);
}

} // namespace
