#pragma once
// The tray icon of the background mode: its picture and tooltip tell the state (reading, with the
// controller's name; waiting for a controller; stopped), a click shows or hides the window, and its
// menu holds show/hide, Start, Stop, the profile of each pad and "Fine Programma". A child of the mode
// it shows.

#include "background/BackgroundMode.h"

#include <QObject>
#include <memory>
#include <optional>

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
    void ElencaProfili(QMenu& menu);

    BackgroundMode& mode;
    MainForm& form;
    std::unique_ptr<QMenu> menu;
    QSystemTrayIcon* icon = nullptr;
    QAction* showHide = nullptr;
    QAction* start = nullptr;
    QAction* stop = nullptr;
    std::optional<BackgroundMode::State> shown;  // the state the picture shows
};
