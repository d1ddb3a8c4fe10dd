#include "support/LaunchingShell.h"

int LaunchingShell::MsgBox(QWidget*, const QString& text, uint32_t flags, const QString&) {
    ++boxes[{text, flags}];
    return platform::IDOK;
}

QString LaunchingShell::StartProgram(const QString& commandLine, platform::ShowStyle style) {
    ++starts[commandLine];
    return real.StartProgram(commandLine, style);
}

QString LaunchingShell::FindProgram(const QString& name) {
    return real.FindProgram(name);
}

QString LaunchingShell::DefaultApplication(const QString& mimeType) {
    return real.DefaultApplication(mimeType);
}

platform::VersionRecord LaunchingShell::App() {
    return real.App();
}
