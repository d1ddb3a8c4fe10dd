// The main window's controls, menus and window properties, as data tables in twips.

#include "mainwindow/LineWidget.h"
#include "mainwindow/MainForm.h"
#include "mainwindow/ShapeWidget.h"
#include "platform/Fonts.h"
#include "platform/Twips.h"
#include "platform/WindowServices.h"
#include "resources/Pictures.h"

#include <QCoreApplication>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace {

using platform::SetTwipsGeometry;

constexpr int ClientWidth = 13545;  // the client area at design time, in twips
constexpr int ClientHeight = 7095;  // below the menu bar

// ---- The picture layer ----

struct Immagine {
    std::string_view nome;
    const char* figura;  // picture name; a missing picture leaves the control empty, at its size
    QRect twips;
    const char* descrizione;  // accessible name
};

// One line per control, its accessible name marked for translation.
// clang-format off
constexpr auto Immagini = std::to_array<Immagine>({
    {"Img_Corvane", "Img_Corvane", {0, 0, 9000, 7980}, QT_TRANSLATE_NOOP("MainForm", "Corvane")},
    {"Image1", "Image1", {0, 120, 9000, 750}, QT_TRANSLATE_NOOP("MainForm", "Dorso del Corvane")},
    {"Img_Logo", "Img_Logo", {3950, 2540, 1095, 840}, QT_TRANSLATE_NOOP("MainForm", "Logo")},
    {"Img_Tasto(0)", "Img_Tasto_0", {6105, 2970, 675, 660}, QT_TRANSLATE_NOOP("MainForm", "Tasto 1 premuto")},
    {"Img_Tasto(1)", "Img_Tasto_1", {6760, 3650, 720, 690}, QT_TRANSLATE_NOOP("MainForm", "Tasto 2 premuto")},
    {"Img_Tasto(2)", "Img_Tasto_2", {7450, 2960, 720, 705}, QT_TRANSLATE_NOOP("MainForm", "Tasto 3 premuto")},
    {"Img_Tasto(3)", "Img_Tasto_3", {6800, 2270, 690, 690}, QT_TRANSLATE_NOOP("MainForm", "Tasto 4 premuto")},
    {"Img_Tasto(4)", "Img_Tasto_4", {3250, 2520, 630, 720}, QT_TRANSLATE_NOOP("MainForm", "Tasto 9 premuto")},
    {"Img_Tasto(5)", "Img_Tasto_5", {5110, 2520, 645, 705}, QT_TRANSLATE_NOOP("MainForm", "Tasto 10 premuto")},
    {"Img_Tasto(6)", "Img_Tasto_6", {3430, 3250, 645, 630}, QT_TRANSLATE_NOOP("MainForm", "Tasto Mode premuto")},
    {"Img_Tasto(7)", "Img_Tasto_7", {4790, 3300, 1005, 600}, QT_TRANSLATE_NOOP("MainForm", "Tasto Vibr premuto")},
    {"Img_Tasto(8)", "Img_Tasto_8", {1155, 1060, 1140, 285}, QT_TRANSLATE_NOOP("MainForm", "Tasto L1 premuto")},
    {"Img_Tasto(9)", "Img_Tasto_9", {6690, 1060, 1185, 315}, QT_TRANSLATE_NOOP("MainForm", "Tasto R1 premuto")},
    {"Img_Tasto(10)", "Img_Tasto_10", {1160, 180, 1140, 285}, QT_TRANSLATE_NOOP("MainForm", "Tasto L2 premuto")},
    {"Img_Tasto(11)", "Img_Tasto_11", {6690, 180, 1185, 315}, QT_TRANSLATE_NOOP("MainForm", "Tasto R2 premuto")},
    {"Img_Tasto(12)", "Img_Tasto_12", {2520, 4140, 1380, 1350}, QT_TRANSLATE_NOOP("MainForm", "Tasto X/Y premuto")},
    {"Img_Tasto(13)", "Img_Tasto_13", {5130, 4150, 1335, 1320}, QT_TRANSLATE_NOOP("MainForm", "Tasto Z/R premuto")},
    {"Img_Dig(0)", "Img_Dig_0", {1080, 2490, 1590, 1560}, QT_TRANSLATE_NOOP("MainForm", "Croce al centro")},
    {"Img_Dig(1)", "Img_Dig_1", {1080, 2490, 1590, 1560}, QT_TRANSLATE_NOOP("MainForm", "Croce in alto")},
    {"Img_Dig(2)", "Img_Dig_2", {1080, 2490, 1590, 1560}, QT_TRANSLATE_NOOP("MainForm", "Croce in alto a destra")},
    {"Img_Dig(3)", "Img_Dig_3", {1080, 2490, 1590, 1560}, QT_TRANSLATE_NOOP("MainForm", "Croce a destra")},
    {"Img_Dig(4)", "Img_Dig_4", {1080, 2490, 1590, 1560}, QT_TRANSLATE_NOOP("MainForm", "Croce in basso a destra")},
    {"Img_Dig(5)", "Img_Dig_5", {1080, 2490, 1590, 1560}, QT_TRANSLATE_NOOP("MainForm", "Croce in basso")},
    {"Img_Dig(6)", "Img_Dig_6", {1080, 2490, 1590, 1560}, QT_TRANSLATE_NOOP("MainForm", "Croce in basso a sinistra")},
    {"Img_Dig(7)", "Img_Dig_7", {1080, 2490, 1590, 1560}, QT_TRANSLATE_NOOP("MainForm", "Croce a sinistra")},
    {"Img_Dig(8)", "Img_Dig_8", {1080, 2490, 1590, 1560}, QT_TRANSLATE_NOOP("MainForm", "Croce in alto a sinistra")},
});
// clang-format on

// Lab_Fire: large, transparent shoulder captions; Lab_Tasto: bordered number lines on the default font.
enum class Stile { Fire, Tasto };

struct Etichetta {
    std::string_view nome;
    QRect twips;
    const char* testo;
    QRgb colore;
    Stile stile;
    Qt::Alignment allineamento;
};

constexpr QRgb Grigio64 = qRgb(64, 64, 64);
constexpr QRgb Nero = qRgb(0, 0, 0);
constexpr Qt::Alignment Sinistra = Qt::AlignLeft | Qt::AlignTop;
constexpr Qt::Alignment Centro = Qt::AlignHCenter | Qt::AlignTop;

constexpr auto Etichette = std::to_array<Etichetta>({
    {"Lab_Fire(0)", {1440, 360, 615, 495}, "L2", Grigio64, Stile::Fire, Sinistra},
    {"Lab_Fire(1)", {6960, 360, 615, 495}, "R2", Grigio64, Stile::Fire, Sinistra},
    {"Lab_Fire(2)", {1440, 1320, 615, 495}, "L1", Grigio64, Stile::Fire, Sinistra},
    {"Lab_Fire(3)", {6960, 1320, 615, 495}, "R1", Grigio64, Stile::Fire, Sinistra},
    {"Lab_Tasto(0)", {3600, 2040, 1875, 255}, " Codice tasto: 6553666", Nero, Stile::Tasto, Sinistra},
    {"Lab_Tasto(1)", {1320, 2040, 1035, 255}, "Posizione: 8", Nero, Stile::Tasto, Centro},
    {"Lab_Tasto(2)", {1965, 5475, 555, 255}, "-10", Nero, Stile::Tasto, Centro},
    {"Lab_Tasto(3)", {870, 4500, 555, 255}, "-10", Nero, Stile::Tasto, Centro},
    {"Lab_Tasto(4)", {6480, 5475, 555, 255}, "-10", Nero, Stile::Tasto, Centro},
    {"Lab_Tasto(5)", {7590, 4500, 555, 255}, "-10", Nero, Stile::Tasto, Centro},
});

struct Forma {
    std::string_view nome;
    QRect twips;
    ShapeWidget::Outline contorno;
    QRgb bordo;
    bool pieno;  // filled with the border colour
};

constexpr QRgb Grigio192 = qRgb(192, 192, 192);
constexpr QRgb Grigio128 = qRgb(128, 128, 128);
constexpr QRgb Bordeaux = qRgb(128, 0, 0);
constexpr QRgb Rosso = qRgb(255, 0, 0);
constexpr auto Rettangolo = ShapeWidget::Outline::Rectangle;
constexpr auto Cerchio = ShapeWidget::Outline::Circle;

constexpr auto Forme = std::to_array<Forma>({
    {"Shp_Liv2(0)", {600, 120, 2415, 855}, Rettangolo, Grigio192, false},
    {"Shp_Liv2(1)", {6000, 120, 2415, 855}, Rettangolo, Grigio192, false},
    {"Shp_XYe", {480, 4920, 1335, 1335}, Rettangolo, Bordeaux, false},
    {"Shp_ZRe", {7200, 4920, 1335, 1335}, Rettangolo, Bordeaux, false},
    {"Shp_XP", {1080, 5520, 135, 135}, Cerchio, Rosso, true},
    {"Shp_ZR", {7800, 5520, 135, 135}, Cerchio, Rosso, true},
    {"Shp_Tasti(0)", {9120, 120, 4335, 2295}, Rettangolo, Grigio128, false},
    {"Shp_Tasti(1)", {9120, 2520, 4335, 2415}, Rettangolo, Grigio128, false},
    {"Shp_Tasti(2)", {9120, 5040, 4335, 1935}, Rettangolo, Grigio128, false},
    {"Shp_0(0)", {9600, 3240, 1455, 1455}, Rettangolo, Grigio192, false},
    {"Shp_0(1)", {11760, 3240, 1455, 1455}, Rettangolo, Grigio192, false},
});

struct Linea {
    std::string_view nome;
    QLine twips;  // (X1, Y1) to (X2, Y2)
    QRgb colore;
    bool punteggiata;
};

constexpr QRgb GialloChiaro = qRgb(255, 255, 192);

constexpr auto Linee = std::to_array<Linea>({
    {"Line1", {1840, 2400, 1840, 4320}, GialloChiaro, true},
    {"Lin_AsseXYd", {840, 3270, 2880, 3270}, GialloChiaro, true},
    {"Lin_XYe(0)", {1140, 4800, 1140, 6360}, Bordeaux, true},
    {"Lin_XYe(1)", {360, 5580, 1920, 5580}, Bordeaux, true},
    {"Lin_XYe(2)", {7860, 4800, 7860, 6360}, Bordeaux, true},
    {"Lin_XYe(3)", {7080, 5580, 8640, 5580}, Bordeaux, true},
    {"Lin_0(0)", {11040, 3960, 9600, 3960}, Grigio192, false},
    {"Lin_0(1)", {10320, 3240, 10320, 4680}, Grigio192, false},
    {"Lin_0(2)", {12480, 3240, 12480, 4680}, Grigio192, false},
    {"Lin_0(3)", {13200, 3960, 11760, 3960}, Grigio192, false},
});

// The picture layer, bottom first: each control is drawn over the ones before it.
constexpr auto StratiDalBasso = std::to_array<std::string_view>({
    "Img_Corvane",  "Image1",        "Lab_Tasto(0)",  "Lab_Tasto(1)",  "Lab_Tasto(2)", "Img_Tasto(0)",
    "Img_Tasto(1)", "Img_Tasto(2)",  "Img_Tasto(4)",  "Img_Tasto(5)",  "Img_Tasto(6)", "Img_Tasto(7)",
    "Img_Tasto(8)", "Img_Tasto(9)",  "Img_Tasto(3)",  "Shp_Tasti(0)",  "Img_Dig(8)",   "Img_Dig(7)",
    "Img_Dig(6)",   "Img_Dig(5)",    "Img_Dig(4)",    "Img_Dig(3)",    "Img_Dig(2)",   "Img_Dig(1)",
    "Img_Dig(0)",   "Img_Tasto(11)", "Img_Tasto(10)", "Shp_XYe",       "Lin_XYe(0)",   "Lin_XYe(1)",
    "Shp_XP",       "Lin_0(0)",      "Lin_0(1)",      "Lin_0(2)",      "Lin_0(3)",     "Shp_Tasti(1)",
    "Shp_Tasti(2)", "Lin_XYe(2)",    "Shp_ZRe",       "Lin_XYe(3)",    "Shp_ZR",       "Lab_Tasto(3)",
    "Lab_Tasto(4)", "Lab_Tasto(5)",  "Img_Tasto(12)", "Img_Tasto(13)", "Lab_Fire(0)",  "Lab_Fire(1)",
    "Img_Logo",     "Lab_Fire(2)",   "Lab_Fire(3)",   "Shp_0(0)",      "Shp_0(1)",     "Lin_AsseXYd",
    "Line1",        "Shp_Liv2(0)",   "Shp_Liv2(1)",
});
static_assert(StratiDalBasso.size() == Immagini.size() + Etichette.size() + Forme.size() + Linee.size(),
              "every picture-layer control has its place in the stacking order");

// ---- The window controls ----

struct Pulsante {
    std::string_view nome;
    const char* caption;
    QRect twips;
    int tab;
    const char* descrizione = nullptr;  // accessible name of a button without a caption
};

// clang-format off
constexpr auto Pulsanti = std::to_array<Pulsante>({
    {"Cmd_Start", QT_TRANSLATE_NOOP("MainForm", "&Start"), {3600, 6000, 915, 510}, 0},
    {"Cmd_Stop", QT_TRANSLATE_NOOP("MainForm", "&Stop"), {4560, 6000, 915, 510}, 1},
    {"Cmd_tasto(10)", "L2", {9240, 360, 735, 255}, 2},
    {"Cmd_tasto(8)", "L1", {9240, 720, 735, 255}, 3},
    {"Cmd_tasto(11)", "R2", {12600, 360, 735, 255}, 4},
    {"Cmd_tasto(9)", "R1", {12600, 720, 735, 255}, 5},
    {"Cmd_tasto(4)", "9", {10440, 720, 615, 255}, 6},
    {"Cmd_tasto(5)", "10", {11520, 720, 615, 255}, 7},
    {"Cmd_tasto(6)", "Mode", {10440, 1080, 615, 255}, 8},
    {"Cmd_tasto(7)", "Vibr", {11520, 1080, 615, 255}, 9},
    {"Cmd_tasto(12)", "X/Y", {10080, 1680, 615, 495}, 10},
    {"Cmd_tasto(13)", "Z/R", {11040, 1680, 615, 495}, 11},
    {"Cmd_tasto(0)", "1", {12120, 1560, 375, 255}, 12},
    {"Cmd_tasto(1)", "2", {12480, 1920, 375, 255}, 13},
    {"Cmd_tasto(2)", "3", {12840, 1560, 375, 255}, 14},
    {"Cmd_tasto(3)", "4", {12480, 1200, 375, 255}, 15},
    {"Cmd_0_XY", "0", {10080, 3720, 495, 495}, 18},
    {"Cmd_0_ZR", "0", {12240, 3720, 495, 495}, 21},
    {"Cmd_Dig(0)", "", {11160, 5880, 255, 255}, 22, QT_TRANSLATE_NOOP("MainForm", "Croce al centro")},
    {"Cmd_Dig(1)", "", {11160, 5400, 255, 255}, 23, QT_TRANSLATE_NOOP("MainForm", "Croce in alto")},
    {"Cmd_Dig(2)", "", {11520, 5520, 255, 255}, 24, QT_TRANSLATE_NOOP("MainForm", "Croce in alto a destra")},
    {"Cmd_Dig(3)", "", {11640, 5880, 255, 255}, 25, QT_TRANSLATE_NOOP("MainForm", "Croce a destra")},
    {"Cmd_Dig(4)", "", {11520, 6240, 255, 255}, 26, QT_TRANSLATE_NOOP("MainForm", "Croce in basso a destra")},
    {"Cmd_Dig(5)", "", {11160, 6360, 255, 255}, 27, QT_TRANSLATE_NOOP("MainForm", "Croce in basso")},
    {"Cmd_Dig(6)", "", {10800, 6240, 255, 255}, 28, QT_TRANSLATE_NOOP("MainForm", "Croce in basso a sinistra")},
    {"Cmd_Dig(7)", "", {10680, 5880, 255, 255}, 29, QT_TRANSLATE_NOOP("MainForm", "Croce a sinistra")},
    {"Cmd_Dig(8)", "", {10800, 5520, 255, 255}, 30, QT_TRANSLATE_NOOP("MainForm", "Croce in alto a sinistra")},
});
// clang-format on

struct Cursore {
    std::string_view nome;
    QRect twips;
    Qt::Orientation orientamento;
    int tab;
    const char* descrizione;  // accessible name
};

// clang-format off
constexpr auto Cursori = std::to_array<Cursore>({
    {"Sld_X", {9480, 2760, 1695, 315}, Qt::Horizontal, 16, QT_TRANSLATE_NOOP("MainForm", "Levetta sinistra, orizzontale")},
    {"Sld_Y", {9240, 3120, 315, 1695}, Qt::Vertical, 17, QT_TRANSLATE_NOOP("MainForm", "Levetta sinistra, verticale")},
    {"Sld_R", {11640, 2760, 1695, 315}, Qt::Horizontal, 19, QT_TRANSLATE_NOOP("MainForm", "Levetta destra, orizzontale")},
    {"Sld_Z", {11400, 3120, 315, 1695}, Qt::Vertical, 20, QT_TRANSLATE_NOOP("MainForm", "Levetta destra, verticale")},
});
// clang-format on

QString Nome(std::string_view nome) {
    return QString::fromLatin1(nome.data(), qsizetype(nome.size()));
}

template<typename Tabella>
auto Trova(const Tabella& tabella, std::string_view nome) -> decltype(&tabella[0]) {
    const auto riga =
        std::find_if(tabella.begin(), tabella.end(), [&](const auto& r) { return r.nome == nome; });
    return riga == tabella.end() ? nullptr : &*riga;
}

void CreaImmagine(const Immagine& riga, QWidget* client) {
    auto* immagine = new QLabel(client);
    immagine->setObjectName(Nome(riga.nome));
    immagine->setPixmap(resources::Picture(QString::fromLatin1(riga.figura)));
    immagine->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    immagine->setAccessibleName(QCoreApplication::translate("MainForm", riga.descrizione));
    immagine->setAttribute(Qt::WA_TransparentForMouseEvents);
    SetTwipsGeometry(*immagine, riga.twips);
}

void CreaEtichetta(const Etichetta& riga, QWidget* client) {
    auto* etichetta = new QLabel(QString::fromUtf8(riga.testo), client);
    etichetta->setObjectName(Nome(riga.nome));
    etichetta->setTextFormat(Qt::PlainText);
    etichetta->setAlignment(riga.allineamento);
    QPalette colori = etichetta->palette();
    colori.setColor(QPalette::WindowText, QColor(riga.colore));
    etichetta->setPalette(colori);
    if (riga.stile == Stile::Fire) {
        QFont font(platform::ComicFamily());
        font.setPointSizeF(21.75);
        font.setBold(true);
        etichetta->setFont(font);
    } else {
        etichetta->setAutoFillBackground(true);
        etichetta->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        etichetta->setLineWidth(1);
    }
    etichetta->setAttribute(Qt::WA_TransparentForMouseEvents);
    SetTwipsGeometry(*etichetta, riga.twips);
}

void CreaForma(const Forma& riga, QWidget* client) {
    const QColor bordo(riga.bordo);
    auto* forma =
        new ShapeWidget(riga.contorno, bordo, riga.pieno ? std::optional(bordo) : std::nullopt, client);
    forma->setObjectName(Nome(riga.nome));
    forma->setAccessibleName(Nome(riga.nome));
    SetTwipsGeometry(*forma, riga.twips);
}

void CreaLinea(const Linea& riga, QWidget* client) {
    auto* linea = new LineWidget(riga.twips, QColor(riga.colore), riga.punteggiata, client);
    linea->setObjectName(Nome(riga.nome));
    linea->setAccessibleName(Nome(riga.nome));
}

void CreaStrato(std::string_view nome, QWidget* client) {
    if (const auto* riga = Trova(Immagini, nome)) {
        CreaImmagine(*riga, client);
    } else if (const auto* riga = Trova(Etichette, nome)) {
        CreaEtichetta(*riga, client);
    } else if (const auto* riga = Trova(Forme, nome)) {
        CreaForma(*riga, client);
    } else {
        const auto* linea = Trova(Linee, nome);
        Q_ASSERT(linea != nullptr);
        CreaLinea(*linea, client);
    }
}

QPushButton* CreaPulsante(const Pulsante& riga, QWidget* client) {
    auto* pulsante = new QPushButton(QCoreApplication::translate("MainForm", riga.caption), client);
    pulsante->setObjectName(Nome(riga.nome));
    if (riga.descrizione != nullptr) {
        pulsante->setAccessibleName(QCoreApplication::translate("MainForm", riga.descrizione));
    }
    SetTwipsGeometry(*pulsante, riga.twips);
    return pulsante;
}

QSlider* CreaCursore(const Cursore& riga, QWidget* client) {
    auto* cursore = new QSlider(riga.orientamento, client);
    cursore->setObjectName(Nome(riga.nome));
    cursore->setAccessibleName(QCoreApplication::translate("MainForm", riga.descrizione));
    cursore->setRange(-10, 10);
    cursore->setPageStep(5);
    cursore->setSingleStep(1);
    cursore->setValue(0);
    cursore->setTickPosition(QSlider::TicksBelow);
    cursore->setTickInterval(5);
    if (riga.orientamento == Qt::Vertical) {
        // Minimum at the top; the Up key and the wheel move towards it.
        cursore->setInvertedAppearance(true);
        cursore->setInvertedControls(true);
    }
    SetTwipsGeometry(*cursore, riga.twips);
    return cursore;
}

QString Elemento(const char* nome, int indice) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(nome)).arg(indice);
}

}  // namespace

void MainForm::CreaControlli() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    setCentralWidget(client);

    // Created bottom first: later siblings are drawn over earlier ones.
    for (const std::string_view nome : StratiDalBasso) {
        CreaStrato(nome, client);
    }
    // The window controls lie above the whole picture layer; the keyboard visits them in tab order.
    std::vector<std::pair<int, QWidget*>> ordineTab;
    ordineTab.reserve(Pulsanti.size() + Cursori.size());
    for (const Pulsante& riga : Pulsanti) {
        ordineTab.emplace_back(riga.tab, CreaPulsante(riga, client));
    }
    for (const Cursore& riga : Cursori) {
        ordineTab.emplace_back(riga.tab, CreaCursore(riga, client));
    }
    std::sort(ordineTab.begin(), ordineTab.end());
    for (std::size_t i = 1; i < ordineTab.size(); ++i) {
        setTabOrder(ordineTab[i - 1].second, ordineTab[i].second);
    }

    const auto controllo = [client]<typename T>(T*& membro, const QString& nome) {
        membro = client->findChild<T*>(nome, Qt::FindDirectChildrenOnly);
        Q_ASSERT(membro != nullptr);
    };
    controllo(Img_Logo, QStringLiteral("Img_Logo"));
    controllo(Shp_XP, QStringLiteral("Shp_XP"));
    controllo(Shp_ZR, QStringLiteral("Shp_ZR"));
    controllo(Cmd_Start, QStringLiteral("Cmd_Start"));
    controllo(Cmd_Stop, QStringLiteral("Cmd_Stop"));
    controllo(Cmd_0_XY, QStringLiteral("Cmd_0_XY"));
    controllo(Cmd_0_ZR, QStringLiteral("Cmd_0_ZR"));
    controllo(Sld_X, QStringLiteral("Sld_X"));
    controllo(Sld_Y, QStringLiteral("Sld_Y"));
    controllo(Sld_Z, QStringLiteral("Sld_Z"));
    controllo(Sld_R, QStringLiteral("Sld_R"));
    for (int i = 0; i < Generale::NumTasti; ++i) {
        controllo(Img_Tasto[i], Elemento("Img_Tasto", i));
        controllo(Cmd_tasto[i], Elemento("Cmd_tasto", i));
    }
    for (int p = 0; p < Generale::NumPosizioni; ++p) {
        controllo(Img_Dig[p], Elemento("Img_Dig", p));
        controllo(Cmd_Dig[p], Elemento("Cmd_Dig", p));
    }
    for (int i = 0; i < int(Lab_Tasto.size()); ++i) {
        controllo(Lab_Tasto[i], Elemento("Lab_Tasto", i));
    }

    Img_Logo->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    Img_Logo->setToolTip(tr("Aggiorna la mappa dei tasti/assi"));
    Cmd_Dig[0]->hide();
}

void MainForm::CreaMenu() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("MenuFile"));
    MenuEmula = file->addAction(tr("Emulazione Corvane"));
    MenuNumeroPad = file->addAction(tr("Numero Corvane configurati"));
    CreaMenuCorvane(*file);
    CreaMenuProfili(*file);
    MenuPGioco = file->addAction(tr("Periferiche di gioco (Pannello di controllo)"));
    file->addSeparator()->setObjectName(QStringLiteral("MenuNull1"));
    MenuFine = file->addAction(tr("Fine Programma"));

    QMenu* aiuto = menuBar()->addMenu(tr("&?"));
    aiuto->setObjectName(QStringLiteral("MenuAbout0"));
    MenuAssegna = aiuto->addAction(tr("Come assegnare i tasti"));
    MenuAssegnaTasti = aiuto->addAction(tr("Assegna i tasti…"));
    aiuto->addSeparator()->setObjectName(QStringLiteral("MenuNull0"));
    MenuAbout = aiuto->addAction(tr("Informazioni su..."));

    MenuEmula->setObjectName(QStringLiteral("MenuEmula"));
    MenuEmula->setCheckable(true);
    MenuNumeroPad->setObjectName(QStringLiteral("MenuNumeroPad"));
    MenuPGioco->setObjectName(QStringLiteral("MenuPGioco"));
    MenuFine->setObjectName(QStringLiteral("MenuFine"));
    MenuAssegna->setObjectName(QStringLiteral("MenuAssegna"));
    MenuAssegnaTasti->setObjectName(QStringLiteral("MenuAssegnaTasti"));
    MenuAbout->setObjectName(QStringLiteral("MenuAbout"));
}

void MainForm::ImpostaFinestra() {
    setWindowTitle(QStringLiteral("Corvane (DEMO)"));
    setWindowIcon(QIcon(resources::Picture(QStringLiteral("icon"))));
    // Fixed single border with the system menu and the close box, no minimise or maximise.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    QFont font(platform::ArialFamily());
    font.setPointSizeF(8.25);
    setFont(font);
    platform::SetOuterWidthTwips(*this, ClientWidth + platform::OuterBorderTwips);
    setFixedHeight(menuBar()->sizeHint().height() + platform::TwipsToPixels(ClientHeight));
}
