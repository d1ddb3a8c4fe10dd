// Ends a program built like Corvane Demo (a main window over a scripted controller) with acquisition
// running, through one of its end paths, then returns from main as the program does. Exits 0 only if
// the monitor was polled and nothing is left registered for the global destructors that run after
// main: there the timer module would stop a timer of a registry already destroyed.
// Usage: end_of_program menu | close | quit | exit

#include "joystick/timer_module.h"
#include "mainwindow/MainForm.h"
#include "support/FakeJoystickDriver.h"
#include "support/RecordingShell.h"
#include "support/TempProgramDirectory.h"

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <map>
#include <string>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::string path = argc == 2 ? argv[1] : "";
    TempProgramDirectory directory;
    RecordingShell shell;
    auto driver = std::make_shared<FakeJoystickDriver>();
    driver->Answering(0);
    MainForm form(driver, shell);
    form.show();

    const std::map<std::string, std::function<void()>> paths{
        {"menu", [&form] { form.findChild<QAction*>(QStringLiteral("MenuFine"))->trigger(); }},
        {"close", [&form] { form.windowHandle()->close(); }},
        // Qt 6's quit asks every window to close first; exit ends the event loop without a word.
        {"quit", [] { QCoreApplication::quit(); }},
        {"exit", [] { QCoreApplication::exit(0); }},
    };
    const auto end = paths.find(path);
    if (end == paths.end()) {
        std::fprintf(stderr, "usage: end_of_program menu | close | quit | exit\n");
        return 2;
    }

    form.Cmd_Start_Click();
    if (timer_module::CurrentJoyMonitor == nullptr) {
        std::fprintf(stderr, "end_of_program: acquisition did not start\n");
        return 1;
    }
    const int readsAtStart = driver->reads;
    QTimer::singleShot(200, end->second);
    const int status = QApplication::exec();

    if (driver->reads <= readsAtStart) {
        std::fprintf(stderr, "end_of_program: the monitor was never polled\n");
        return 1;
    }
    if (timer_module::CurrentJoyMonitor != nullptr) {
        std::fprintf(stderr, "end_of_program: %s left the monitor running\n", path.c_str());
        return 1;
    }
    return status;
}
