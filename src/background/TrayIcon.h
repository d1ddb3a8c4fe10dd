#pragma once
// The tray icon of the background mode: its icon and tooltip tell the state (reading, with the
// controller's name; waiting for a controller; stopped), a click shows or hides the window, and its
// menu holds show/hide, Start, Stop and "Fine Programma".

#include <QObject>
#include <memory>

class BackgroundMode;
class MainForm;
class QAction;
class QMenu;
class QSystemTrayIcon;

class TrayIcon final : public QObject {
    Q_OBJECT
public:
    TrayIcon(BackgroundMode& mode, MainForm& form);
    ~TrayIcon() override;

    QSystemTrayIcon* Icon() const { return icon; }

private:
    void Update();

    BackgroundMode& mode;
    MainForm& form;
    std::unique_ptr<QMenu> menu;
    QSystemTrayIcon* icon = nullptr;
    QAction* showHide = nullptr;
    QAction* start = nullptr;
    QAction* stop = nullptr;
};
