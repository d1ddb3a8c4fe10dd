#include "splash_about/frmSplash.h"

#include "keymap/Generale.h"
#include "mainwindow/MainForm.h"
#include "platform/Fonts.h"
#include "platform/Shell.h"
#include "platform/Twips.h"
#include "platform/WindowServices.h"
#include "splash_about/FinestraPrincipale.h"
#include "splash_about/TestoVersione.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

namespace {

constexpr QColor BluNotte(0, 0, 128);

// A label of Frame1 at (Left, Top, Width, Height) twips; its clicks stay its own.
QLabel* NuovaEtichetta(QWidget* frame, const char* name, const QRect& twips) {
    auto* label = new QLabel(frame);
    label->setObjectName(QLatin1String(name));
    label->setAttribute(Qt::WA_NoMousePropagation);
    platform::SetTwipsGeometry(*label, twips);
    return label;
}

void Scritta(QLabel* label, qreal points, bool italic) {
    QFont font(platform::ArialFamily());
    font.setPointSizeF(points);
    font.setBold(true);
    font.setItalic(italic);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, BluNotte);
    label->setPalette(palette);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

}  // namespace

frmSplash::frmSplash(const std::shared_ptr<platform::JoystickDriver>& driver, platform::Shell& shell)
    // A splash window: no title bar, no taskbar entry.
    : QFrame(nullptr, Qt::SplashScreen) {
    setObjectName(QStringLiteral("frmSplash"));
    CreaControlli();
    Form_Load(driver, shell);
    platform::CentreOnScreen(*this);
}

frmSplash::~frmSplash() = default;

void frmSplash::CreaControlli() {
    // The fixed dialog border is drawn by the window itself, around the client area.
    setFrameStyle(QFrame::WinPanel | QFrame::Raised);
    const int border = frameWidth();
    setFixedSize(platform::TwipsToPixels(5595) + 2 * border, platform::TwipsToPixels(3990) + 2 * border);

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    platform::SetTwipsGeometry(*Frame1, QRect(120, 0, 5385, 3915));
    Frame1->move(Frame1->pos() + QPoint(border, border));
    Frame1->installEventFilter(this);

    Timer1 = new QTimer(Frame1);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1500);
    connect(Timer1, &QTimer::timeout, this, &frmSplash::Timer1_Timer);

    Img_Splash = NuovaEtichetta(Frame1, "Img_Splash", QRect(1560, 480, 2370, 1740));
    Img_Splash->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Img_Splash->setPixmap(QPixmap(QStringLiteral(":/pictures/Img_Splash.png")));
    Img_Splash->setScaledContents(true);

    lblProductName = NuovaEtichetta(Frame1, "lblProductName", QRect(120, 2640, 5115, 675));
    Scritta(lblProductName, 26.25, true);

    lblVersion = NuovaEtichetta(Frame1, "lblVersion", QRect(135, 3240, 5145, 360));
    Scritta(lblVersion, 15.75, false);
}

// The hidden windows need no repaint: nothing of them is on screen until they are shown.
void frmSplash::Form_Load(const std::shared_ptr<platform::JoystickDriver>& driver, platform::Shell& shell) {
    Generale::MostraIstruzioni = true;
    mainForm = CreaFinestraPrincipale(driver, shell);
    mainForm->AboutWindow();  // loads the about window, hidden
    const platform::VersionRecord version = shell.App();
    lblProductName->setText(version.ProductName);
    lblVersion->setText(TestoVersione(version));
    Timer1->start();
}

void frmSplash::ChiudiSplash() {
    Timer1->stop();
    hide();
    platform::ShowModeless(*mainForm);
    mainForm->repaint();
}

void frmSplash::Timer1_Timer() {
    ChiudiSplash();
}

void frmSplash::Frame1_Click() {
    ChiudiSplash();
}

void frmSplash::keyPressEvent(QKeyEvent* event) {
    if (event->text().isEmpty()) {
        QFrame::keyPressEvent(event);
        return;
    }
    ChiudiSplash();
}

void frmSplash::closeEvent(QCloseEvent* event) {
    event->ignore();
    ChiudiSplash();
}

bool frmSplash::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Frame1) {
        return QFrame::eventFilter(watched, event);
    }
    if (event->type() == QEvent::MouseButtonPress) {
        frame1Pressed = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    } else if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool click = frame1Pressed && mouse->button() == Qt::LeftButton &&
                           Frame1->rect().contains(mouse->position().toPoint());
        frame1Pressed = false;
        if (click) {
            Frame1_Click();
        }
    }
    return false;
}
