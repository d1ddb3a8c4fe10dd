#include "assign/frmAssegna.h"

#include "joystick/cJoy.h"
#include "mainwindow/MainForm.h"
#include "platform/desktop/DesktopPrograms.h"
#include "platform/desktop/MapFile.h"
#include "platform/files/ProfileReader.h"
#include "platform/files/ProfileWriter.h"
#include "platform/output/KeyNames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <limits>

namespace {

// The on-screen buttons' captions, by button index.
constexpr std::array<const char*, Generale::NumTasti> Didascalie = {
    "1", "2", "3", "4", "9", "10", "Mode", "Vibr", "L1", "R1", "L2", "R2", "X/Y", "Z/R",
};

// The cross's elements, named as the main window names them.
constexpr std::array<const char*, Generale::NumPosizioni> Croce = {
    QT_TRANSLATE_NOOP("MainForm", "Croce al centro"),
    QT_TRANSLATE_NOOP("MainForm", "Croce in alto"),
    QT_TRANSLATE_NOOP("MainForm", "Croce in alto a destra"),
    QT_TRANSLATE_NOOP("MainForm", "Croce a destra"),
    QT_TRANSLATE_NOOP("MainForm", "Croce in basso a destra"),
    QT_TRANSLATE_NOOP("MainForm", "Croce in basso"),
    QT_TRANSLATE_NOOP("MainForm", "Croce in basso a sinistra"),
    QT_TRANSLATE_NOOP("MainForm", "Croce a sinistra"),
    QT_TRANSLATE_NOOP("MainForm", "Croce in alto a sinistra"),
};

QString Nome(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

template<typename T>
T* Nuovo(QWidget* parent, const QString& name) {
    auto* widget = new T(parent);
    widget->setObjectName(name);
    return widget;
}

// Wide enough for seven digits: a longer code still fits, scrolled in the field, and the dialog stays
// narrow enough for a small screen.
QSpinBox* Intero(QWidget* parent, const QString& name) {
    auto* box = Nuovo<QSpinBox>(parent, name);
    box->setRange(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("-0000000")) +
                         box->minimumSizeHint().width() -
                         box->fontMetrics().horizontalAdvance(QStringLiteral("-2147483648")));
    return box;
}

// A list of the output's words beside what may be typed: a value the list lacks stays as written.
QComboBox* Scelta(QWidget* parent, int k, std::initializer_list<const char*> voci) {
    auto* box = Nuovo<QComboBox>(parent, Nome("Txt_Uscita", k));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    // No completion: a W typed would become WHEEL_UP, and a btn_left left as it is would be matched to
    // the list's BTN_LEFT, a change the user never made.
    box->setCompleter(nullptr);
    box->addItem(QString());
    for (const char* voce : voci) {
        box->addItem(QLatin1String(voce));
    }
    return box;
}

// Why output entry k does nothing, or cannot be saved, or sends a key the way to the desktop cannot;
// empty when it acts.
QString MotivoUscita(int k, const QString& testo, platform::OutputRoute via) {
    if (QString motivo = Generale::UscitaNonSalvabile(testo); !motivo.isEmpty()) {
        return motivo;
    }
    if (k >= Generale::NumTasti) {
        return output::ReadStickOutput(testo, k == Generale::NumTasti + 2).reason;
    }
    const output::Read<output::ButtonOutput> letta = output::ReadButtonOutput(testo);
    return letta.value ? output::Unsent(*letta.value, via) : letta.reason;
}

// Message boxes separate lines with a carriage return; a label breaks at a line feed.
QString PerEtichetta(QString text) {
    return text.replace(u'\r', u'\n');
}

}  // namespace

frmAssegna::frmAssegna(MainForm& main, std::shared_ptr<platform::JoystickDriver> driver,
                       platform::Shell& shell, platform::OutputOpener apriUscita)
    // No parent, as for About: the main window is disabled while the dialog is open, and a child
    // window would be disabled with it.
    : main(main), driver(std::move(driver)), shell(shell), apriUscita(std::move(apriUscita)) {
    setObjectName(QStringLiteral("frmAssegna"));
    // Once there are profiles, the one whose file the dialog edits.
    setWindowTitle(ProfileStore::Names().isEmpty()
                       ? tr("Assegna i tasti")
                       : tr("Assegna i tasti: %1").arg(main.Profili().Describe()));
    CreaControlli();
    tastiCorvane = TastiDelCorvane(this->driver.get());
    // What the file holds now, which the main window may not have loaded yet.
    destinazione = platform::MapSaveTarget();
    lettoDa = platform::MapFile();
    sceltaDa = platform::ChosenMapFile();
    esisteva = QFileInfo::exists(destinazione.path);
    letto = LeggiOrigine();
    prima = Generale::LeggiMappa(letto.value_or(QByteArray()), Generale::MappaCaricata());
    Mostra(prima);

    const platform::MapTarget& target = destinazione;
    QStringList avvisi;
    if (prima != Generale::MappaCaricata()) {
        avvisi << tr(
            "La finestra mostra la mappa come è ora nel file, diversa da quella in uso: il doppio click "
            "sul simbolo al centro del corvane la carica.");
    }
    if (!target.blocked.isEmpty()) {
        avvisi << PerEtichetta(platform::MapBlockedText(target.blocked));
        salva->setEnabled(false);  // no save that would not take effect
    }
    mappa->setText(avvisi.join(u'\n'));
    mappa->setVisible(!avvisi.isEmpty());
    MostraCorvane();
    // Acquisition tells when a pad comes or goes.
    connect(&main.Acquisizione(), &session::Acquisizione::Cambiato, this, [this] {
        if (const std::optional<uint32_t> tasti = TastiDelCorvane(this->driver.get());
            tasti != tastiCorvane) {
            tastiCorvane = tasti;
            MostraCorvane();
        }
    });
    if (const std::shared_ptr<cJoy>& joy = main.Monitor()) {
        connect(joy.get(), &cJoy::JoyButton, this, &frmAssegna::cJoy_JoyButton, Qt::DirectConnection);
    }
    provaScade.setSingleShot(true);
    provaScade.setInterval(10000);
    connect(&provaScade, &QTimer::timeout, this, [this] {
        rigaProva = -1;
        stato->setText(tr("Prova annullata: nessun'altra finestra è venuta in primo piano."));
    });
    // The program loses the focus before another window has it: a window switcher holding Alt down, say.
    provaAltrove.setSingleShot(true);
    provaAltrove.setInterval(1000);
    connect(&provaAltrove, &QTimer::timeout, this, &frmAssegna::InviaProva);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive) {
            provaAltrove.stop();
            return;
        }
        provaAltrove.start();
        if (rigaTastiera >= 0) {
            FineTastiera(tr("Nessun tasto imparato."));  // the releases go elsewhere now
        }
    });
}

frmAssegna::~frmAssegna() = default;

void frmAssegna::CreaControlli() {
    auto* tasti = Nuovo<QGroupBox>(this, QStringLiteral("Fra_Tasti"));
    tasti->setTitle(tr("Tasti"));
    auto* griglia = new QGridLayout(tasti);
    griglia->addWidget(new QLabel(tr("Codice"), tasti), 0, 1);
    griglia->addWidget(new QLabel(tr("Comando"), tasti), 0, 3);
    griglia->addWidget(new QLabel(tr("Uscita"), tasti), 0, 5);
    for (int i = 0; i < Generale::NumTasti; ++i) {
        Riga& riga = righe[i];
        riga.codice = Intero(tasti, Nome("Txt_Codice", i));
        riga.premi = Nuovo<QPushButton>(tasti, Nome("Cmd_Premi", i));
        riga.premi->setText(tr("Premi…"));
        riga.comando = Nuovo<QLineEdit>(tasti, Nome("Txt_Comando", i));
        riga.comando->setMinimumWidth(200);
        riga.sfoglia = Nuovo<QPushButton>(tasti, Nome("Cmd_Sfoglia", i));
        riga.sfoglia->setText(QStringLiteral("…"));
        riga.sfoglia->setToolTip(tr("Scegli il programma"));
        uscite[i] = Scelta(tasti, i, {"BTN_LEFT", "BTN_RIGHT", "BTN_MIDDLE", "WHEEL_UP", "WHEEL_DOWN"});
        uscite[i]->setToolTip(tr("Tasti della tastiera per nome (SPACE, LEFTCTRL+C, \"H, I\"), pulsanti del "
                                 "mouse, rotella"));
        riga.tastiera = Nuovo<QPushButton>(tasti, Nome("Cmd_Tastiera", i));
        riga.tastiera->setText(tr("Tastiera…"));
        riga.tastiera->setToolTip(tr("L'uscita dai tasti premuti sulla tastiera"));
        riga.tastiera->setCheckable(true);
        riga.prova = Nuovo<QPushButton>(tasti, Nome("Cmd_Prova", i));
        riga.prova->setText(tr("Prova"));
        riga.avviso = Nuovo<QLabel>(tasti, Nome("Lab_Avviso", i));
        riga.avviso->setTextFormat(Qt::PlainText);
        riga.avviso->setWordWrap(true);
        riga.avviso->hide();  // takes room only when it has something to say
        const int r = i + 1;
        griglia->addWidget(new QLabel(QString::fromLatin1(Didascalie[i]), tasti), r, 0);
        griglia->addWidget(riga.codice, r, 1);
        griglia->addWidget(riga.premi, r, 2);
        griglia->addWidget(riga.comando, r, 3);
        griglia->addWidget(riga.sfoglia, r, 4);
        griglia->addWidget(uscite[i], r, 5);
        griglia->addWidget(riga.tastiera, r, 6);
        griglia->addWidget(riga.prova, r, 7);
        griglia->addWidget(riga.avviso, r, 8);
        connect(riga.codice, &QSpinBox::valueChanged, this, &frmAssegna::AggiornaAvvisi);
        connect(riga.comando, &QLineEdit::textChanged, this, &frmAssegna::AggiornaAvvisi);
        connect(riga.tastiera, &QPushButton::clicked, this, [this, i] { ImparaTastiera(i); });
        connect(riga.premi, &QPushButton::clicked, this, [this, i] { Impara(i); });
        connect(riga.sfoglia, &QPushButton::clicked, this, [this, i] { Sfoglia(i); });
        connect(riga.prova, &QPushButton::clicked, this, [this, i] { Prova(i); });
    }

    auto* croce = Nuovo<QGroupBox>(this, QStringLiteral("Fra_Croce"));
    croce->setTitle(tr("Croce direzionale: elemento mostrato per ogni codice"));
    auto* grigliaCroce = new QGridLayout(croce);
    for (int d = 0; d < Generale::NumPosizioni; ++d) {
        posizioni[d] = Intero(croce, Nome("Txt_Posizione", d));
        grigliaCroce->addWidget(new QLabel(QString::number(d), croce), d, 0);
        grigliaCroce->addWidget(posizioni[d], d, 1);
        grigliaCroce->addWidget(new QLabel(QCoreApplication::translate("MainForm", Croce[d]), croce), d, 2);
    }
    // The sticks' and the cross's output, each with why it does nothing when it does not.
    const int croceUscita = Generale::NumTasti + 2;
    uscite[croceUscita] = Scelta(croce, croceUscita, {"frecce"});
    avvisiLeve[2] = Nuovo<QLabel>(croce, Nome("Lab_AvvisoUscita", croceUscita));
    grigliaCroce->addWidget(new QLabel(tr("Uscita"), croce), Generale::NumPosizioni, 0);
    grigliaCroce->addWidget(uscite[croceUscita], Generale::NumPosizioni, 1);
    grigliaCroce->addWidget(avvisiLeve[2], Generale::NumPosizioni, 2);

    auto* levette = Nuovo<QGroupBox>(this, QStringLiteral("Fra_Levette"));
    levette->setTitle(tr("Levette analogiche"));
    auto* colonna = new QVBoxLayout(levette);
    ordineXY = Nuovo<QCheckBox>(levette, QStringLiteral("Chk_OrdineXY"));
    ordineXY->setText(tr("Levetta sinistra: X orizzontale, Y verticale (altrimenti scambiati)"));
    ordineZR = Nuovo<QCheckBox>(levette, QStringLiteral("Chk_OrdineZR"));
    ordineZR->setText(tr("Levetta destra: Z orizzontale, R verticale (altrimenti scambiati)"));
    colonna->addWidget(ordineXY);
    colonna->addWidget(ordineZR);
    const std::array<const char*, 4> assi{"X", "Y", "Z", "R"};
    for (std::size_t a = 0; a < segni.size(); ++a) {
        segni[a] = Nuovo<QCheckBox>(levette, QStringLiteral("Chk_Segno") + QLatin1String(assi[a]));
        segni[a]->setText(tr("Asse %1 nel suo verso (altrimenti invertito)").arg(QLatin1String(assi[a])));
        colonna->addWidget(segni[a]);
    }
    for (int leva = 0; leva < 2; ++leva) {
        const int k = Generale::NumTasti + leva;
        uscite[k] = Scelta(levette, k, {"puntatore", "rotella", "frecce", "wasd"});
        avvisiLeve[leva] = Nuovo<QLabel>(levette, Nome("Lab_AvvisoUscita", k));
        auto* riga = new QHBoxLayout;
        riga->addWidget(new QLabel(
            leva == 0 ? tr("Uscita della levetta sinistra") : tr("Uscita della levetta destra"), levette));
        riga->addWidget(uscite[k]);
        riga->addWidget(avvisiLeve[leva], 1);
        colonna->addLayout(riga);
    }
    for (QComboBox* uscita : uscite) {
        connect(uscita, &QComboBox::editTextChanged, this, &frmAssegna::AggiornaAvvisi);
    }
    for (QLabel* avviso : avvisiLeve) {
        avviso->setTextFormat(Qt::PlainText);
        avviso->setWordWrap(true);
    }

    mappa = Nuovo<QLabel>(this, QStringLiteral("Lab_Mappa"));
    mappa->setWordWrap(true);
    stato = Nuovo<QLabel>(this, QStringLiteral("Lab_Stato"));
    stato->setWordWrap(true);

    auto* pulsanti = new QDialogButtonBox(this);
    salva = pulsanti->addButton(tr("Salva"), QDialogButtonBox::AcceptRole);
    salva->setObjectName(QStringLiteral("Cmd_Salva"));
    QPushButton* annulla = pulsanti->addButton(tr("Annulla"), QDialogButtonBox::RejectRole);
    annulla->setObjectName(QStringLiteral("Cmd_Annulla"));
    // Salva closes the dialog only once the file is written.
    connect(salva, &QPushButton::clicked, this, &frmAssegna::Salva);
    connect(annulla, &QPushButton::clicked, this, &frmAssegna::reject);

    auto* destra = new QVBoxLayout;
    destra->addWidget(croce);
    destra->addWidget(levette);
    destra->addStretch();
    // The two halves side by side where the screen is wide enough, else one above the other; what does
    // not fit still scrolls, so the buttons below stay on the screen.
    auto* contenuto = new QWidget;
    auto* sopra = new QBoxLayout(QBoxLayout::LeftToRight, contenuto);
    sopra->setContentsMargins({});
    sopra->addWidget(tasti);
    sopra->addLayout(destra);
    contenuto->ensurePolished();  // sized as the style will draw it
    const QSize schermo = screen()->availableSize();
    if (contenuto->sizeHint().width() > schermo.width() * 9 / 10) {
        sopra->setDirection(QBoxLayout::TopToBottom);
    }
    auto* area = Nuovo<QScrollArea>(this, QStringLiteral("Scr_Tabelle"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(contenuto);
    auto* tutto = new QVBoxLayout(this);
    tutto->addWidget(area, 1);
    tutto->addWidget(mappa);
    tutto->addWidget(stato);
    tutto->addWidget(pulsanti);

    // A scroll area asks for little room: the dialog opens as large as its tables want, within the
    // screen (its frame and title bar taken off).
    const QMargins margini = tutto->contentsMargins();
    const QSize voluto(
        contenuto->sizeHint().width() + area->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
            margini.left() + margini.right(),
        tutto->sizeHint().height() - area->sizeHint().height() + contenuto->sizeHint().height());
    resize(voluto.expandedTo(tutto->sizeHint()).boundedTo(schermo * 9 / 10));
}

void frmAssegna::Mostra(const Generale::Mappa& tabelle) {
    for (int i = 0; i < Generale::NumTasti; ++i) {
        righe[i].codice->setValue(tabelle.codici[i]);
        righe[i].comando->setText(tabelle.comandi[i]);
    }
    for (int d = 0; d < Generale::NumPosizioni; ++d) {
        posizioni[d]->setValue(tabelle.posizioni[d]);
    }
    ordineXY->setChecked(tabelle.ordineXY);
    ordineZR->setChecked(tabelle.ordineZR);
    for (std::size_t a = 0; a < segni.size(); ++a) {
        segni[a]->setChecked(tabelle.segni[a] == 1);
    }
    for (int k = 0; k < Generale::NumUscite; ++k) {
        uscite[k]->setEditText(tabelle.uscite[k]);
    }
    AggiornaAvvisi();
}

Generale::Mappa frmAssegna::MappaMostrata() const {
    Generale::Mappa tabelle;
    for (int i = 0; i < Generale::NumTasti; ++i) {
        tabelle.codici[i] = righe[i].codice->value();
        tabelle.comandi[i] = righe[i].comando->text();
    }
    for (int d = 0; d < Generale::NumPosizioni; ++d) {
        tabelle.posizioni[d] = posizioni[d]->value();
    }
    tabelle.ordineXY = ordineXY->isChecked();
    tabelle.ordineZR = ordineZR->isChecked();
    for (std::size_t a = 0; a < segni.size(); ++a) {
        tabelle.segni[a] = segni[a]->isChecked() ? 1 : -1;
    }
    for (int k = 0; k < Generale::NumUscite; ++k) {
        tabelle.uscite[k] = uscite[k]->currentText().trimmed();  // as a load reads it back
    }
    return tabelle;
}

// What a row will do, said where it is risky: a button lit on every press, one lit with another, a
// code the controller can never give, a command that would not load back as written.
void frmAssegna::AggiornaAvvisi() {
    const Generale::Mappa tabelle = MappaMostrata();
    for (int i = 0; i < Generale::NumTasti; ++i) {
        const int32_t codice = tabelle.codici[i];
        QStringList avvisi;
        if (codice == 0) {
            avvisi << tr("acceso a ogni pressione di un tasto");
        }
        QStringList uguali;
        for (int j = 0; j < Generale::NumTasti; ++j) {
            if (j != i && tabelle.codici[j] == codice) {
                uguali << QString::fromLatin1(Didascalie[j]);
            }
        }
        if (!uguali.isEmpty()) {
            avvisi << tr("stesso codice del tasto %1").arg(uguali.join(QStringLiteral(", ")));
        }
        const uint32_t bit = static_cast<uint32_t>(codice);
        if (tastiCorvane && *tastiCorvane < 32 && (bit >> *tastiCorvane) != 0) {
            avvisi << tr("mai premuto: il corvane collegato ha %1 tasti").arg(*tastiCorvane);
        }
        const QString motivo = Generale::ComandoNonSalvabile(codice, tabelle.comandi[i]);
        if (!motivo.isEmpty()) {
            avvisi << motivo;
        }
        if (const QString uscita = MotivoUscita(i, tabelle.uscite[i], main.Acquisizione().Route());
            !uscita.isEmpty()) {
            avvisi << tr("l'uscita non fa nulla: %1").arg(uscita);
        }
        righe[i].avviso->setText(avvisi.join(QStringLiteral("; ")));
        righe[i].avviso->setVisible(!avvisi.isEmpty());
        righe[i].prova->setEnabled(!tabelle.comandi[i].isEmpty() ||
                                   output::ReadButtonOutput(tabelle.uscite[i]).value.has_value());
    }
    for (int leva = 0; leva < 3; ++leva) {
        const int k = Generale::NumTasti + leva;
        avvisiLeve[leva]->setText(MotivoUscita(k, tabelle.uscite[k], main.Acquisizione().Route()));
        avvisiLeve[leva]->setVisible(!avvisiLeve[leva]->text().isEmpty());
    }
}

std::optional<uint32_t> frmAssegna::TastiDelCorvane(platform::JoystickDriver* driver) {
    for (const uint32_t slot : {0U, 1U}) {
        platform::JOYCAPSA caps;
        if (driver != nullptr && driver->joyGetDevCapsA(slot, caps) == platform::JOYERR_NOERROR) {
            return caps.wNumButtons;
        }
    }
    return std::nullopt;
}

void frmAssegna::MostraCorvane() {
    const bool collegato = tastiCorvane.has_value();
    if (!collegato) {
        stato->setText(tr("Nessun corvane collegato: i codici si possono scrivere a mano."));
    } else if (rigaInApprendimento < 0) {
        stato->clear();
    }
    for (const Riga& riga : righe) {
        riga.premi->setEnabled(collegato);
    }
    AggiornaAvvisi();
}

// The running monitor is used; with acquisition off the dialog starts it as Start does, and stops it
// again when it closes.
void frmAssegna::Impara(int riga) {
    const std::shared_ptr<cJoy>& joy = main.Monitor();
    if (!joy) {
        return;
    }
    session::Acquisizione& acquisizione = main.Acquisizione();
    if (!acquisizione.Leggendo()) {
        letturaAvviata = acquisizione.Avvia(main.Scelto()) && acquisizione.Leggendo();
        if (!letturaAvviata) {
            stato->setText(tr("Il corvane non risponde: il codice si può scrivere a mano."));
            return;
        }
    }
    if (rigaInApprendimento < 0) {
        // The buttons pressed to learn a code must not start the commands they have now.
        disconnect(joy.get(), &cJoy::JoyButton, &main, &MainForm::cJoy_JoyButton);
    }
    rigaInApprendimento = riga;
    accordo = 0;
    stato->setText(tr("Premere insieme i tasti del corvane per il tasto %1, poi rilasciarli.")
                       .arg(QString::fromLatin1(Didascalie[riga])));
}

// From the first press until every button is up again the masks seen are joined: a chord gives all
// its buttons' bits.
void frmAssegna::cJoy_JoyButton(int32_t BtnPressed) {
    if (rigaInApprendimento < 0) {
        return;
    }
    if (BtnPressed != 0) {
        accordo |= BtnPressed;
        return;
    }
    if (accordo == 0) {
        return;
    }
    righe[rigaInApprendimento].codice->setValue(accordo);
    stato->setText(tr("Il tasto %1 ha ora il codice %2.")
                       .arg(QString::fromLatin1(Didascalie[rigaInApprendimento]))
                       .arg(accordo));
    FineApprendimento();
}

void frmAssegna::FineApprendimento() {
    if (rigaInApprendimento >= 0 && main.Monitor()) {
        connect(main.Monitor().get(), &cJoy::JoyButton, &main, &MainForm::cJoy_JoyButton,
                Qt::DirectConnection);
    }
    rigaInApprendimento = -1;
}

void frmAssegna::Sfoglia(int riga) {
    const QString file = QFileDialog::getOpenFileName(this, tr("Scegli il programma"));
    if (!file.isEmpty()) {
        righe[riga].comando->setText(platform::QuotedArgument(file));
    }
}

void frmAssegna::ImparaTastiera(int riga) {
    if (rigaTastiera >= 0) {
        const bool stessa = rigaTastiera == riga;
        FineTastiera(tr("Nessun tasto imparato."));
        if (stessa) {
            return;  // a second click ends the learning
        }
    }
    rigaTastiera = riga;
    tastiPremuti.clear();
    tastiGiu.clear();
    righe[riga].tastiera->setChecked(true);
    // Not a keyboard grab, which not every platform offers: the program's keys come here first.
    qApp->installEventFilter(this);
    stato->setText(tr("Premere sulla tastiera il tasto, o i tasti insieme, che il tasto %1 invierà; un altro "
                      "click su «Tastiera…» annulla.")
                       .arg(QString::fromLatin1(Didascalie[riga])));
}

void frmAssegna::FineTastiera(const QString& esito) {
    qApp->removeEventFilter(this);
    righe[rigaTastiera].tastiera->setChecked(false);
    rigaTastiera = -1;
    stato->setText(esito);
}

bool frmAssegna::eventFilter(QObject* watched, QEvent* event) {
    if (rigaTastiera < 0 || (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress &&
                             event->type() != QEvent::KeyRelease)) {
        return QDialog::eventFilter(watched, event);
    }
    // Keys come to the dialog's window first, then to its widgets.
    if (const auto* widget = qobject_cast<const QWidget*>(watched);
        watched != static_cast<QObject*>(windowHandle()) && (widget == nullptr || widget->window() != this)) {
        // A box or a file dialog opened over the dialog: its keys are its own.
        FineTastiera(tr("Nessun tasto imparato."));
        return false;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        return true;  // no shortcut: the key comes as a press
    }
    const auto* tasto = static_cast<const QKeyEvent*>(event);
    if (tasto->isAutoRepeat()) {
        return true;
    }
    // Qt's Linux platforms give xkb's key codes: the kernel's, plus 8. The code, not the symbol, is what
    // the output sends, whatever the keyboard's layout.
    const int codice = static_cast<int>(tasto->nativeScanCode()) - 8;
    if (event->type() == QEvent::KeyPress) {
        if (codice <= 0 || codice > std::numeric_limits<uint16_t>::max() ||
            platform::KeyName(static_cast<uint16_t>(codice)).isEmpty()) {
            FineTastiera(tr("Il tasto premuto non ha un nome che l'uscita conosca: l'uscita si può scrivere "
                            "a mano."));
        } else if (std::find(tastiGiu.begin(), tastiGiu.end(), codice) == tastiGiu.end()) {
            tastiGiu.push_back(static_cast<uint16_t>(codice));
            if (std::find(tastiPremuti.begin(), tastiPremuti.end(), codice) == tastiPremuti.end()) {
                tastiPremuti.push_back(static_cast<uint16_t>(codice));
            }
        }
        return true;
    }
    std::erase(tastiGiu, codice);
    if (tastiGiu.empty() && !tastiPremuti.empty()) {
        QStringList nomi;
        for (const uint16_t premuto : tastiPremuti) {
            nomi << platform::KeyName(premuto);
        }
        const QString testo = nomi.join(u'+');
        uscite[rigaTastiera]->setEditText(testo);
        FineTastiera(
            tr("Il tasto %1 invia ora %2.").arg(QString::fromLatin1(Didascalie[rigaTastiera]), testo));
    }
    return true;
}

// As a press of the button would start it: split the same way, no shell, the focus kept. Its output
// waits for another window.
void frmAssegna::Prova(int riga) {
    if (const QString comando = righe[riga].comando->text(); !comando.isEmpty()) {
        if (const QString motivo = shell.StartProgram(comando, platform::ShowStyle::NormalNoFocus);
            !motivo.isEmpty()) {
            Avvisa(tr("Il comando \"%1\" non si è avviato: %2").arg(comando, motivo), platform::MB_ICONERROR);
        }
    }
    if (!output::ReadButtonOutput(MappaMostrata().uscite[riga]).value) {
        return;
    }
    if (!prova) {
        platform::OpenedOutput aperta = apriUscita();
        if (!aperta.device) {
            Avvisa(tr("L'uscita non si può provare: %1").arg(aperta.why), platform::MB_ICONERROR);
            return;
        }
        prova = std::make_unique<output::OutputThread>(std::shared_ptr(std::move(aperta.device)));
    }
    rigaProva = riga;
    provaScade.start();
    stato->setText(tr("L'uscita del tasto %1 parte un secondo dopo che un'altra finestra è venuta in primo "
                      "piano, entro 10 secondi.")
                       .arg(QString::fromLatin1(Didascalie[riga])));
    if (QGuiApplication::applicationState() != Qt::ApplicationActive) {
        provaAltrove.start();
    }
}

void frmAssegna::InviaProva() {
    if (rigaProva < 0) {
        return;
    }
    const QString tasto = QString::fromLatin1(Didascalie[rigaProva]);
    if (const std::optional<output::ButtonOutput> uscita =
            output::ReadButtonOutput(MappaMostrata().uscite[rigaProva]).value) {
        prova->Try(*uscita);
        stato->setText(tr("L'uscita del tasto %1 è stata inviata.").arg(tasto));
    } else {
        stato->setText(tr("Prova annullata: l'uscita del tasto %1 non fa nulla.").arg(tasto));
    }
    rigaProva = -1;
    provaScade.stop();
}

std::optional<QByteArray> frmAssegna::LeggiOrigine() const {
    const platform::MapTarget& target = destinazione;
    const QFileInfo info(target.path);
    QString origine = info.exists() || info.isSymLink() ? target.path : target.copyFrom;
    if (origine.isEmpty() && !target.path.isEmpty()) {
        origine = platform::ExampleMapPath();  // the first map starts as a copy of the commented example
    }
    return origine.isEmpty() ? QByteArray() : platform::ProfileReader::ReadBytes(origine);
}

int frmAssegna::Avvisa(const QString& text, uint32_t flags) {
    return shell.MsgBox(this, text, flags | platform::MB_SETFOREGROUND, main.windowTitle());
}

void frmAssegna::Salva() {
    const Generale::Mappa tabelle = MappaMostrata();
    for (int k = 0; k < Generale::NumUscite; ++k) {
        if (const QString motivo = Generale::UscitaNonSalvabile(tabelle.uscite[k]);
            tabelle.uscite[k] != prima.uscite[k] && !motivo.isEmpty()) {
            Avvisa(tr("L'uscita %1 non si può salvare: %2.").arg(Generale::ChiaveUscita(k), motivo),
                   platform::MB_ICONERROR);
            return;
        }
    }
    for (int i = 0; i < Generale::NumTasti; ++i) {
        if (tabelle.codici[i] == prima.codici[i] && tabelle.comandi[i] == prima.comandi[i]) {
            continue;  // not written
        }
        const QString motivo = Generale::ComandoNonSalvabile(tabelle.codici[i], tabelle.comandi[i]);
        if (!motivo.isEmpty()) {
            Avvisa(tr("Il tasto %1 non si può salvare: %2.").arg(QString::fromLatin1(Didascalie[i]), motivo),
                   platform::MB_ICONERROR);
            return;
        }
    }
    const platform::MapTarget& target = destinazione;
    if (target.path.isEmpty()) {
        Avvisa(platform::MapBlockedText(target.blocked), platform::MB_ICONERROR);
        return;
    }
    const QString nome = QDir::toNativeSeparators(target.path);
    std::optional<QByteArray> attuale = LeggiOrigine();
    const auto illeggibile = [&] {
        Avvisa(tr("Impossibile salvare il file %1:\rnon si può leggere per intero, e quello che contiene "
                  "andrebbe perso.")
                   .arg(nome),
               platform::MB_ICONERROR);
    };
    if (!attuale) {
        illeggibile();
        return;
    }
    // Entries changed in the file since it was read stay as they are now, unless the user changed them
    // too: then the user says which change goes. A file gone meanwhile (renamed, or in the trash) is
    // asked about too.
    const QFileInfo file(target.path);
    const bool sparito = esisteva && !file.exists() && !file.isSymLink();
    if (sparito || Generale::Conflitto(prima, tabelle, letto.value_or(QByteArray()), *attuale)) {
        QMessageBox domanda(QMessageBox::Question, main.windowTitle(),
                            sparito
                                ? tr("Il file %1 non c'è più: dopo che questa finestra lo ha letto è stato "
                                     "rinominato o eliminato.")
                                      .arg(nome)
                                : tr("Il file %1 è cambiato dopo che questa finestra lo ha letto, anche nei "
                                     "tasti modificati qui.")
                                      .arg(nome),
                            QMessageBox::NoButton, this);
        QPushButton* ricarica = domanda.addButton(tr("Ricarica"), QMessageBox::ResetRole);
        QPushButton* sovrascrivi = domanda.addButton(tr("Sovrascrivi"), QMessageBox::AcceptRole);
        QPushButton* annulla = domanda.addButton(tr("Annulla"), QMessageBox::RejectRole);
        domanda.setEscapeButton(annulla);
        domanda.setDefaultButton(annulla);  // Return throws nothing away
        domanda.exec();
        // The file may have changed again while the question was open: what it holds now is merged.
        attuale = LeggiOrigine();
        if (!attuale) {
            illeggibile();
            return;
        }
        if (domanda.clickedButton() == ricarica) {
            Generale::CaricaMappa();
            letto = attuale;
            prima = Generale::LeggiMappa(*attuale, Generale::MappaCaricata());
            Mostra(prima);
            return;
        }
        if (domanda.clickedButton() != sovrascrivi) {
            return;
        }
    }
    platform::ProfileWriter ini(*attuale);
    // Written anew, the file holds what the dialog shows, not what it starts from with only the
    // entries changed here.
    Generale::SalvaMappa(sparito ? Generale::LeggiMappa(*attuale, Generale::MappaPredefinita()) : prima,
                         tabelle, *attuale, ini);
    QString errore;
    if (!QDir().mkpath(QFileInfo(target.path).absolutePath())) {
        errore = tr("la cartella non si può creare");
    }
    if (!errore.isEmpty() || !ini.Save(target.path, errore)) {
        Avvisa(tr("Impossibile salvare il file %1:\r%2").arg(nome, errore), platform::MB_ICONERROR);
        return;
    }
    // Another map chosen meanwhile (a profile, a later launch's --map), not the search finding another
    // file: the first save makes one, and a save writes anew a file gone meanwhile.
    if (platform::ChosenMapFile() != sceltaDa) {
        Avvisa(tr("La mappa è stata salvata nel file %1, che questa finestra mostrava; ora vale: %2.")
                   .arg(nome, main.Profili().Describe()),
               platform::MB_ICONINFORMATION);
        accept();
        return;
    }
    Generale::CaricaMappa();
    if (target.path != lettoDa) {
        Avvisa(tr("La mappa è stata salvata nel file %1, letto d'ora in poi.").arg(nome),
               platform::MB_ICONINFORMATION);
    }
    accept();
}

void frmAssegna::done(int result) {
    FineApprendimento();
    if (rigaTastiera >= 0) {
        FineTastiera({});
    }
    rigaProva = -1;
    prova.reset();  // nothing the trial holds stays down
    if (letturaAvviata) {
        letturaAvviata = false;
        main.Acquisizione().Ferma();
    }
    QDialog::done(result);
    main.setEnabled(true);
}
