#pragma once
// The File menu's checkable "Avvia all'accesso": writes or removes the autostart entry that runs the
// program with --background at login. Ticked while our entry starts the program at login; a file of
// the user's of that name shows unticked and is never changed.

#include <QObject>

class MainForm;
class QAction;

namespace platform {
class Shell;
}

class StartAtLogin final : public QObject {
    Q_OBJECT
public:
    // Adds the entry to the window's File menu, just before "Fine Programma".
    StartAtLogin(MainForm& form, platform::Shell& shell);

    void MenuAvvioAccesso_Click(bool checked);

private:
    void Refresh();

    MainForm& form;
    platform::Shell& shell;
    QAction* entry = nullptr;
};
