#include "splash_about/frmAbout.h"

#include "platform/Fonts.h"
#include "platform/Shell.h"
#include "platform/Twips.h"
#include "platform/WindowServices.h"
#include "splash_about/TestoVersione.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace {

using platform::TwipsToPixels;

// A label at (Left, Top, Width, Height) twips.
QLabel* NuovaEtichetta(QWidget* parent, const char* name, const QRect& twips) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    platform::SetTwipsGeometry(*label, twips);
    return label;
}

void TestoNero(QLabel* label) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
}

QFont Arial(qreal points, bool bold) {
    QFont font(platform::ArialFamily());
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

}  // namespace

frmAbout::frmAbout(QWidget* mainWindow, platform::Shell& shell)
    : QDialog(nullptr,
              // A tool window: no taskbar entry, a title bar with only the close box. It has no
              // parent, so that disabling the main window does not disable it too.
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      mainWindow(mainWindow), shell(shell) {
    setObjectName(QStringLiteral("frmAbout"));
    CreaControlli();
    Form_Load();
}

void frmAbout::CreaControlli() {
    setFixedSize(TwipsToPixels(5730), TwipsToPixels(3555));
    setFont(Arial(8.25, false));  // the default font of the labels, sized for their heights

    Img_Logo = NuovaEtichetta(this, "Img_Logo", QRect(120, 240, 765, 675));
    Img_Logo->setFrameShape(QFrame::Box);
    Img_Logo->setPixmap(QPixmap(QStringLiteral(":/pictures/Img_Splash.png")));
    Img_Logo->setScaledContents(true);

    lblTitle = NuovaEtichetta(this, "lblTitle", QRect(1050, 240, 4605, 480));
    lblTitle->setFont(Arial(20.25, true));
    TestoNero(lblTitle);

    lblVersion = NuovaEtichetta(this, "lblVersion", QRect(1080, 753, 4605, 225));

    lblDescription = NuovaEtichetta(this, "lblDescription", QRect(1080, 1080, 4605, 330));
    TestoNero(lblDescription);

    cmdOK = new QPushButton(tr("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    platform::SetTwipsGeometry(*cmdOK, QRect(4320, 1579, 1260, 345));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    lblDisclaimer = NuovaEtichetta(this, "lblDisclaimer", QRect(240, 2265, 5295, 1185));
    lblDisclaimer->setWordWrap(true);
    lblDisclaimer->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    TestoNero(lblDisclaimer);
}

void frmAbout::Form_Load() {
    const platform::VersionRecord version = shell.App();
    setWindowTitle(tr("Informazioni su %1").arg(version.ProductName));
    lblTitle->setText(version.ProductName);
    lblVersion->setText(TestoVersione(version));
    lblDescription->setText(version.FileDescription + QStringLiteral(" - ") + version.LegalCopyright);
    lblDisclaimer->setText(tr("Avviso: Lo scopo di questo programma è quello di mostrare come sia "
                              "possibile utilizzare un Corvane per controllare programmi industriali ed "
                              "applicazioni da me create. L'autore non è responsabile per i danni diretti, "
                              "indiretti e consequenziali derivati dall'uso del presente programma e delle "
                              "periferiche ad esso riferite."));
}

void frmAbout::cmdOK_Click() {
    hide();
    mainWindow->setEnabled(true);
    mainWindow->repaint();
}

void frmAbout::reject() {
    cmdOK_Click();
}

// Every close request is refused, whatever its cause, and only hides the window.
void frmAbout::closeEvent(QCloseEvent* event) {
    event->ignore();
    cmdOK_Click();
}

void frmAbout::showEvent(QShowEvent* event) {
    QRect frame = frameGeometry();
    frame.moveCenter(mainWindow->frameGeometry().center());
    move(frame.topLeft());
    QDialog::showEvent(event);
}

// Line1(1), grey, over Line1(0), white and two wide: one etched separator.
void frmAbout::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    const int left = TwipsToPixels(90);
    const int right = TwipsToPixels(5654);
    painter.fillRect(QRect(left, TwipsToPixels(2085), right - left, 1), QColor(128, 128, 128));
    const int whiteLeft = TwipsToPixels(105);
    painter.fillRect(QRect(whiteLeft, TwipsToPixels(2100), right - whiteLeft, 2), QColor(255, 255, 255));
}
