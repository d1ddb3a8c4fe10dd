#pragma once
// The real shell: Qt message boxes, detached processes, programs on PATH and the version record.

#include "platform/Shell.h"

#include <functional>

namespace platform {

// The profile in force, handed to every program started as CORVANE_PROFILE so that one script can
// serve several profiles; empty (the default map, or a --map file): the variable is not handed on,
// not even as this program got it.
void SetProfileOfCommands(const QString& name);

class QtShell final : public Shell {
public:
    // Shows a notice on the desktop instead of in a box: title, text and the box's flags.
    using Notifier = std::function<void(const QString& title, const QString& text, uint32_t flags)>;

    // Background mode: while the box's window is hidden, nobody is there to answer a modal box, so
    // the notice goes to the notifier instead, with the same text; a question is taken as Cancel.
    void SetBackgroundNotifier(Notifier notifier);

    int MsgBox(QWidget* owner, const QString& text, uint32_t flags, const QString& title) override;
    QString StartProgram(const QString& commandLine, ShowStyle style) override;
    QString FindProgram(const QString& name) override;
    QString DefaultApplication(const QString& mimeType) override;
    VersionRecord App() override;

private:
    Notifier backgroundNotifier;
};

}  // namespace platform
