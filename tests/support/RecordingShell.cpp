#include "support/RecordingShell.h"

int RecordingShell::MsgBox(QWidget*, const QString& text, uint32_t flags, const QString& title) {
    boxes.push_back({text, flags, title});
    if (onBox) {
        onBox();
    }
    if (answers.empty()) {
        return platform::IDOK;
    }
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

QString RecordingShell::StartProgram(const QString& commandLine, platform::ShowStyle style) {
    starts.push_back({commandLine, style});
    return failing.contains(commandLine) ? QStringLiteral("non parte") : QString();
}

QString RecordingShell::FindProgram(const QString& name) {
    return installed.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
}

QString RecordingShell::DefaultApplication(const QString& mimeType) {
    return mimeType == u"text/plain" ? defaultTextEditor : QString();
}

platform::VersionRecord RecordingShell::App() { return version; }
