#pragma once
// The splash window, the program's first: its load builds the main and about windows hidden, then it
// shows the product name and version for 1.5 s, or until a character key or a click on the frame,
// and hands over to the main window. Hidden afterwards, never shown again.

#include <QFrame>
#include <memory>

class MainForm;
class QLabel;
class QTimer;

namespace platform {
class JoystickDriver;
class Shell;
}  // namespace platform

class frmSplash final : public QFrame {
    Q_OBJECT
public:
    // Runs Form_Load: the main and about windows exist, hidden, when it returns, and Timer1 runs.
    // The splash itself is placed centred on the screen but not shown.
    frmSplash(const std::shared_ptr<platform::JoystickDriver>& driver, platform::Shell& shell);
    ~frmSplash() override;

    // The main window its load built.
    MainForm& Main() const { return *mainForm; }

public slots:
    void Timer1_Timer();
    void Frame1_Click();

protected:
    // Form_KeyPress: a key that produces a character (Enter and Escape too; not arrows,
    // function keys or modifiers alone).
    void keyPressEvent(QKeyEvent* event) override;
    // Frame1's clicks: a left press and release on the frame's own surface.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A close request (Alt+F4) is refused and hands over at once, as a key does.
    void closeEvent(QCloseEvent* event) override;

private:
    void CreaControlli();
    void Form_Load(const std::shared_ptr<platform::JoystickDriver>& driver, platform::Shell& shell);
    void ChiudiSplash();

    // Loaded by Form_Load and kept for the program's life; the main window owns the about window.
    std::unique_ptr<MainForm> mainForm;

    QFrame* Frame1 = nullptr;
    QTimer* Timer1 = nullptr;
    QLabel* Img_Splash = nullptr;
    QLabel* lblProductName = nullptr;
    QLabel* lblVersion = nullptr;
    bool frame1Pressed = false;
};
