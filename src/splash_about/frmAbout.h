#pragma once
// The about window: product name, version, description and legal notice from the version record,
// and a disclaimer. Loaded once, hidden, and never unloaded: OK, Enter, Escape and every close
// request only hide it and enable the main window again.

#include <QDialog>

class QLabel;
class QPushButton;

namespace platform {
class Shell;
}

class frmAbout final : public QDialog {
    Q_OBJECT
public:
    // mainWindow (not owned, must outlive this window) is enabled again when this window closes.
    // Runs Form_Load; the window starts hidden.
    frmAbout(QWidget* mainWindow, platform::Shell& shell);

public slots:
    void cmdOK_Click();

    // Escape; the close sequence instead of a rejected dialog.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void CreaControlli();
    void Form_Load();

    QWidget* mainWindow;
    platform::Shell& shell;

    QLabel* Img_Logo = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QPushButton* cmdOK = nullptr;
    QLabel* lblDisclaimer = nullptr;
};
